#include "platform/ui/DlgProgress.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPointer<CDlgProgress>& Instance()
{
    static QPointer<CDlgProgress> instance;
    return instance;
}

void Step(QProgressBar* bar)
{
    bar->setValue(std::min(bar->value() + 1, bar->maximum()));
}
} // namespace

CDlgProgress::CDlgProgress(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DlgProgress"));
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("Message2071"));
    m_outer = new QProgressBar(this);
    m_outer->setObjectName(QStringLiteral("Outer3182"));
    m_sub = new QProgressBar(this);
    m_sub->setObjectName(QStringLiteral("Sub3181"));
    for (QProgressBar* bar : {m_outer, m_sub}) {
        bar->setRange(0, 100);
        bar->setValue(0);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &CDlgProgress::OnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_message);
    layout->addWidget(m_outer);
    layout->addWidget(m_sub);
    layout->addWidget(buttons);
    resize(380, sizeHint().height());
}

CDlgProgress::~CDlgProgress() = default;

CDlgProgress* CDlgProgress::ShowInstance(QWidget* parent)
{
    if (!Instance())
        Instance() = new CDlgProgress(parent);
    Instance()->showNormal();
    Instance()->raise();
    return Instance();
}

CDlgProgress* CDlgProgress::GetInstance()
{
    return Instance();
}

void CDlgProgress::DestroyInstance()
{
    if (Instance())
        delete Instance().data();
    Instance() = nullptr;
}

void CDlgProgress::SetTitle(const QString& text)
{
    setWindowTitle(text);
}

void CDlgProgress::SetMessage(const QString& text)
{
    m_message->setText(text);
}

void CDlgProgress::SetOuterRange(int upper, int position)
{
    m_outer->setRange(position, upper);
    m_outer->setValue(position);
}

void CDlgProgress::SetOuterPos(int position)
{
    m_outer->setValue(position);
}

void CDlgProgress::StepTotal()
{
    Step(m_outer);
}

void CDlgProgress::SetSubRange(int upper, int position)
{
    m_sub->setRange(position, upper);
    m_sub->setValue(position);
}

void CDlgProgress::SetSubPos(int position)
{
    m_sub->setValue(position);
}

void CDlgProgress::StepSub()
{
    Step(m_sub);
}

bool CDlgProgress::PumpMessages()
{
    QCoreApplication::processEvents();
    const bool cancel = m_cancel;
    m_cancel = false;
    return cancel;
}
