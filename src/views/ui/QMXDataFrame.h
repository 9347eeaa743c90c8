#pragma once
// The frame of the data windows of spectra over engine speed (TAL and RMV data): the table frame
// (select pane, grid pane, chart pane) with a dialog bar on top that edits the display settings of
// the document's data core (CQMXDataCore):
//
//   3216 / 3220  frequency across / RPM across               (item 356)
//   3281 / 3282  single bands / band range in dB             (item 357; 3282 turns dB display on)
//   3283, 3284   first and last band of the range            (items 360, 361, stored in order)
//   3285         smoothing over RPM                          (item 358)
//   3286         smoothing length in RPM, applied on Enter or when the edit loses the focus (359)
//   3184 / 3190  A-weighting on / off                        (the project's WeightingFilter)
//   3064         copy the whole table to the clipboard
//
// The band-range controls only mean something with RPM across; in band-range mode the select pane
// is collapsed (every band is summed). The A-weighting choice is offered for sound quantities
// only (see IsAWeightingAllowed). Every command ends with an update of all views. Derived frames
// create the panes and then call CreateDialogBar.
#include "platform/ui/ZuTableDataFrame.h"
#include "platform/win/CommandTable.h"

#include <map>

class CZuControlBar;

class CQMXDataCore;
class CZuEnterNotifyEdit;
class QAbstractButton;
class QCheckBox;
class QComboBox;

class CQMXDataFrame : public CZuTableDataFrame
{
    Q_OBJECT
public:
    static constexpr int IDD_BAR = 4216;
    enum : int
    {
        IDC_AXIS_FREQ = 3216,
        IDC_AXIS_RPM = 3220,
        IDC_SINGLE_BANDS = 3281,
        IDC_BAND_RANGE = 3282,
        IDC_FIRST_BAND = 3283,
        IDC_LAST_BAND = 3284,
        IDC_SMOOTHING = 3285,
        IDC_SMOOTHING_LENGTH = 3286,
        IDC_A_WEIGHTING = 3184,
        IDC_NO_WEIGHTING = 3190,
        IDC_COPY_ALL = 3064,
    };

    // doc must also be a CQMXDataCore.
    explicit CQMXDataFrame(std::unique_ptr<CZuTableDataDoc> doc, QWidget* parent = nullptr);
    ~CQMXDataFrame() override;

    CQMXDataCore* GetDataCore() const { return m_core; }
    // The bar's controls by id (null before CreateDialogBar or for an unknown id).
    QWidget* Control(int id) const;
    CZuControlBar* DialogBar() const { return m_bar; }

    // The bar's commands by control id. The state is the control's notification: the length
    // edit's command runs on Enter or when the edit loses the focus, never while typing.
    struct CommandState
    {
        int code = 0;
    };
    using CommandTable = TCommandTable<CommandState, CQMXDataFrame>;
    static const CommandTable& Commands();
    // A bar command (ids above; code: the edit's notification for 3286). False for an unknown id.
    bool OnCommand(int id, int code = 0);
    // Reads the settings into the controls.
    void InitDialogBar();
    // Enables the controls for the current choice and shows or collapses the select pane.
    void RefreshDialogBar();

    // A-weighting is offered for the A-weighted level types (54, 92, 96, 105) always, for the
    // pressure and velocity types (64, 87, 103) only on an acoustic subsystem.
    static bool IsAWeightingAllowed(int type, bool acousticLabel);

protected:
    // Builds the bar (after the panes) and reads the settings into it.
    void CreateDialogBar();
    intptr_t OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam) override;

private:
    QAbstractButton* Button(int id) const;
    QComboBox* Combo(int id) const;
    void SelectBandCombos();
    void UpdateViews();

    CQMXDataCore* m_core;
    CZuControlBar* m_bar = nullptr;
    std::map<int, QWidget*> m_controls;
    CZuEnterNotifyEdit* m_lengthEdit = nullptr;
};
