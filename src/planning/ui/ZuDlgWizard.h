#pragma once
// Base of the planning wizard's dialogs: step buttons coloured by where the user stands, placement
// beside an anchor control of another dialog, its own background, and no closing by Escape (the
// dialogs close through their buttons only). Modeless wizard dialogs are kept in a registry by
// their template id.
#include "platform/ui/ZuDialog.h"
#include "platform/win/WinTypes.h"

#include <functional>
#include <utility>
#include <vector>

class CColorButton;

class CZuDlgWizard : public CZuDialog
{
    Q_OBJECT

public:
    static constexpr int kMaxSteps = 9;
    static constexpr COLORREF kCurrentColor = RGB(204, 153, 255);
    static constexpr COLORREF kAvailableColor = RGB(158, 160, 238);
    static constexpr COLORREF kUnavailableColor = RGB(200, 200, 200);
    static constexpr COLORREF kBackgroundColor = RGB(153, 204, 255);

    explicit CZuDlgWizard(QWidget* parent = nullptr, int templateId = 0);

    // Places the dialog beside anchor at initialisation: the anchor's corner (0 top-left, 1
    // top-right, 3 bottom-right, else bottom-left) meets the dialog's own corner (1 top-right, 2
    // bottom-left, 3 bottom-right, else top-left).
    void SetAnchor(QWidget* anchor, int anchorCorner = 2, int ownCorner = 0);
    // Moves the dialog to its anchor (size kept); nothing without a live anchor.
    void PlaceAtAnchor();

    virtual int GetCurrentStep() const { return 0; }
    // Button id - first step id: disabled grey below low, available above high, else current.
    virtual void UpdateStepRange(int low, int high, int buttonId);
    // The step's button: current when it is the current step, available when passed, else
    // disabled grey.
    virtual void UpdateStep(int step, int buttonId);

    CColorButton* StepButton(int id) const;
    bool HasBackground() const { return m_background; }

protected:
    bool OnInitDialog() override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // A step button with the id and text, in the face colour.
    CColorButton* AddStepButton(int id, const QString& text, COLORREF face);
    // Fills the dialog with the wizard's background colour.
    void UseBackground();
    void SetFirstStepId(int id) { m_firstStepId = id; }
    // Lays the dialog out as one column of step buttons in the available colour (enabled or
    // not), each handing its id to onStep, then a "Close" button that ends the dialog with IDOK.
    void BuildStepColumn(const std::vector<std::pair<int, const char*>>& steps, const std::function<void(int)>& onStep,
                         bool enabled = true);

private:
    QWidget* m_anchor = nullptr;
    int m_anchorCorner = 2;
    int m_ownCorner = 0;
    bool m_background = false;
    std::vector<CColorButton*> m_steps;
    int m_firstStepId = 0;
};
