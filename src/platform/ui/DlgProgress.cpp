#include "platform/ui/DlgProgress.h"

#include <QCoreApplication>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {
QPointer<CDlgProgress>& Instance()
{
    static QPointer<CDlgProgress> instance;
    return instance;
}

std::vector<CDlgProgress*>& Open()
{
    static std::vector<CDlgProgress*> open;
    return open;
}

// Refuses the close of a window while an operation runs under a progress window: the window may
// show or own what the operation works on. Boxes the operation asks with (modal), pop-ups and the
// progress windows themselves close as always.
class CCloseRefusal : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Close || Open().empty() || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        if (!widget->isWindow() && !qobject_cast<QMdiSubWindow*>(widget))
            return false;
        const Qt::WindowType type = widget->windowType();
        if (widget->isModal() || type == Qt::Popup || type == Qt::ToolTip || type == Qt::SplashScreen)
            return false;
        for (QWidget* w = widget; w; w = w->parentWidget())
            if (qobject_cast<CDlgProgress*>(w) && w->isWindow())
                return false;
        event->ignore();
        return true;
    }
};

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
    // One filter for the application, going with it.
    static QPointer<CCloseRefusal> refusal;
    if (!refusal && QCoreApplication::instance()) {
        refusal = new CCloseRefusal(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(refusal);
    }
    Open().push_back(this);
}

CDlgProgress::~CDlgProgress()
{
    Open().erase(std::remove(Open().begin(), Open().end(), this), Open().end());
}

CDlgProgress* CDlgProgress::Running()
{
    return Open().empty() ? nullptr : Open().back();
}

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
