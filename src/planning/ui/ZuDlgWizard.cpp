#include "planning/ui/ZuDlgWizard.h"

#include "platform/ui/ColorButton.h"

#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>

CZuDlgWizard::CZuDlgWizard(QWidget* parent, int templateId) : CZuDialog(parent, templateId) {}

void CZuDlgWizard::SetAnchor(QWidget* anchor, int anchorCorner, int ownCorner)
{
    m_anchor = anchor;
    m_anchorCorner = anchorCorner;
    m_ownCorner = ownCorner;
}

void CZuDlgWizard::PlaceAtAnchor()
{
    if (!m_anchor)
        return;
    const QRect a(m_anchor->mapToGlobal(QPoint(0, 0)), m_anchor->size());
    QPoint point;
    switch (m_anchorCorner) {
    case 0:
        point = a.topLeft();
        break;
    case 1:
        point = QPoint(a.x() + a.width(), a.y());
        break;
    case 3:
        point = QPoint(a.x() + a.width(), a.y() + a.height());
        break;
    default:
        point = QPoint(a.x(), a.y() + a.height());
        break;
    }
    const QSize own = frameGeometry().size();
    switch (m_ownCorner) {
    case 1:
        point.rx() -= own.width();
        break;
    case 2:
        point.ry() -= own.height();
        break;
    case 3:
        point -= QPoint(own.width(), own.height());
        break;
    default:
        break;
    }
    move(point);
}

bool CZuDlgWizard::OnInitDialog()
{
    const bool result = CZuDialog::OnInitDialog();
    PlaceAtAnchor();
    return result;
}

void CZuDlgWizard::keyPressEvent(QKeyEvent* event)
{
    // The wizard's dialogs close through their own buttons only.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    CZuDialog::keyPressEvent(event);
}

CColorButton* CZuDlgWizard::AddStepButton(int id, const QString& text, COLORREF face)
{
    auto* button = new CColorButton(text, this);
    button->setObjectName(QStringLiteral("Button%1").arg(id));
    button->setAutoDefault(false);
    button->SetColors(RGB(0, 0, 0), face);
    button->setMinimumHeight(30);
    if (m_steps.size() < kMaxSteps)
        m_steps.push_back(button);
    return button;
}

void CZuDlgWizard::BuildStepColumn(const std::vector<std::pair<int, const char*>>& steps,
                                   const std::function<void(int)>& onStep, bool enabled)
{
    auto* layout = new QVBoxLayout(this);
    for (const auto& [id, text] : steps) {
        CColorButton* b = AddStepButton(id, QString::fromLatin1(text), kAvailableColor);
        b->setEnabled(enabled);
        connect(b, &QPushButton::clicked, this, [onStep, id = id] { onStep(id); });
        layout->addWidget(b);
    }
    auto* close = new CColorButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Button1"));
    close->SetColors(RGB(0, 0, 0), kAvailableColor);
    connect(close, &QPushButton::clicked, this, [this] { EndDialog(IDOK); });
    layout->addWidget(close);
    resize(300, sizeHint().height());
}

CColorButton* CZuDlgWizard::StepButton(int id) const
{
    const int index = id - m_firstStepId;
    return index >= 0 && index < static_cast<int>(m_steps.size()) ? m_steps[index] : nullptr;
}

void CZuDlgWizard::UseBackground()
{
    m_background = true;
    update();
}

void CZuDlgWizard::paintEvent(QPaintEvent* event)
{
    // The step dialogs stand out from the menu by their own background.
    if (m_background)
        QPainter(this).fillRect(rect(), ToQColor(kBackgroundColor));
    CZuDialog::paintEvent(event);
}

void CZuDlgWizard::UpdateStepRange(int low, int high, int buttonId)
{
    CColorButton* button = StepButton(buttonId);
    if (!button)
        return;
    const int current = GetCurrentStep();
    if (current < low) {
        button->setEnabled(false);
        button->SetColors(RGB(0, 0, 0), kUnavailableColor);
    } else {
        button->setEnabled(true);
        button->SetColors(RGB(0, 0, 0), current > high ? kAvailableColor : kCurrentColor);
    }
}

void CZuDlgWizard::UpdateStep(int step, int buttonId)
{
    CColorButton* button = StepButton(buttonId);
    if (!button)
        return;
    const int current = GetCurrentStep();
    if (current == step) {
        button->setEnabled(true);
        button->SetColors(RGB(0, 0, 0), kCurrentColor);
    } else if (current > step) {
        button->setEnabled(true);
        button->SetColors(RGB(0, 0, 0), kAvailableColor);
    } else {
        button->setEnabled(false);
        button->SetColors(RGB(0, 0, 0), kUnavailableColor);
    }
}
