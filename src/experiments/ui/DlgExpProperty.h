#pragma once
// The properties of the experiments of a measurement: the date, eight descriptive texts and, per
// experiment, its subsystem, value, sensor-group number and sensor group, in an experiment grid
// and a channel grid of pages. Mode 1 prepares a new measurement (and opens the measurement window
// over it), mode 2 edits stored experiments, mode 3 only shows them. While a new measurement is
// prepared the subsystems that no experiment measures blink in the open 3D model windows.
// Modeless: one dialog per key object (CreateInstance/DestroyInstance), so a dialog over
// an element closes when the element goes; CModal is the modal variant.
#include "experiments/ExpInfoList.h"
#include "platform/elements/MElementList.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/ui/ZuDialog.h"
#include "platform/ui/SingleInstance.h"

#include <array>
#include <cstdint>
#include <string>

class CDaqProject;
class CFlexGridEx;
class CSensorGroup;
class IDaqProjectAccess;
class IMessageTarget;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

class CDlgExpProperty : public CZuDialog, public CSingleInstance<CDlgExpProperty>
{
    Q_OBJECT

public:
    enum
    {
        IDD = 4026,
        IDC_DATE = 3085,
        IDC_PAGES = 3057,
        IDC_EXP_GRID = 3170,
        IDC_CHANNEL_GRID = 3169,
        IDC_TAKE_OVER = 3064
    };
    enum Mode
    {
        modeNew = 1,
        modeStored = 2,
        modeReadOnly = 3
    };
    // The control ids of texts 1 to 8.
    static constexpr std::array<int, 8> kTextIds = {3092, 3109, 3120, 3082, 3093, 3088, 3116, 3128};

    // The modeless dialog of a key object, made when there is none (then still to be set up and
    // shown with Create); null when the key has one already (that one is brought forward).
    static CDlgExpProperty* CreateInstance(const void* key, QWidget* parent);

    CDlgExpProperty(QWidget* parent = nullptr, bool modal = false);
    ~CDlgExpProperty() override;

    // The modal variant, registered under its own address while it lives.
    class CModal;

    void SetMode(int mode) { m_mode = mode; }
    int GetMode() const { return m_mode; }
    void SetExperiment(const CMElementList& experiments) { m_experiments = experiments; }
    void SetDAQProject(IDaqProjectAccess* project);
    void SetOpenerWindow(IMessageTarget* window) { m_opener = window; }
    void SetChannelsPerPage(int n) { m_perPage = n > 0 ? n : 16; }
    int GetChannelsPerPage() const { return m_perPage; }

    CExpInfoList& Infos() { return m_infos; }
    CFlexGridEx* ExperimentGrid() const { return m_expGrid; }
    CFlexGridEx* ChannelGrid() const { return m_channelGrid; }
    QComboBox* PageCombo() const { return m_pages; }
    QLineEdit* TextEdit(int n) const { return m_texts[static_cast<size_t>(n - 1)]; }
    QPushButton* TakeOverButton() const { return m_takeOver; }

    // Grid call-backs.
    int CanEditCell(uintptr_t cell) const;
    int CanClearSelection() const;
    // The grid's notifications: a drop-down opens (0x8101) and a cell changed (0x8102).
    void OnGridNotify(uint32_t msg, uintptr_t wParam, intptr_t lParam);
    // The entries of a drop-down of that cell.
    QStringList DropDownEntries(int row, int col) const;
    void OnCellChanged(int row, int col, const std::string& text);

    // 0 and a message when the entries cannot be confirmed.
    int Validate();
    void FillGrids();
    void OnTakeOver();

    // 3D highlight of the unmeasured subsystems.
    const CZuSubsystemTable& HighlightSet(int i) const { return m_highlight[i & 1]; }
    int GetBlinkPhase() const { return m_blink; }
    void OnBlinkTimer();
    bool IsBlinking() const;

    // The channel pages: first and last channel (0-based) of each.
    std::vector<std::pair<int, int>> Pages() const;
    int GetChannelCount() const;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void BuildLayout();
    void FillExperimentGrid();
    void FillChannelGrid();
    void FillPageCombo();
    void StoreControls();
    void LoadControls();
    void StartHighlight();
    double ValueOf(const std::string& subsystem) const;
    CSensorGroup* SensorGroupByIndex(int index) const;
    std::string RowName(int row) const;
    CExpInfo* InfoAt(int index);

    int m_mode = modeStored;
    bool m_modalVariant;
    int m_perPage = 16;
    CExpInfoList m_infos;
    CMElementList m_experiments;
    IDaqProjectAccess* m_daqProjectAccess = nullptr;
    CDaqProject* m_daqProject = nullptr;
    IMessageTarget* m_opener = nullptr;
    CZuSubsystemTable m_highlight[2];
    int m_blink = 0;
    QTimer* m_timer = nullptr;

    QLabel* m_date = nullptr;
    std::array<QLineEdit*, 8> m_texts{};
    QComboBox* m_pages = nullptr;
    CFlexGridEx* m_expGrid = nullptr;
    CFlexGridEx* m_channelGrid = nullptr;
    QPushButton* m_takeOver = nullptr;
};

class CDlgExpProperty::CModal : public CDlgExpProperty
{
public:
    explicit CModal(QWidget* parent = nullptr);
    ~CModal() override;
};
