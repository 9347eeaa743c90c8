#pragma once
// The editor of one QMX experiment plan: every channel of the plan in a grid laid out like the
// hardware (bands of 32 channels, four slots of four two-channel units each), with commands to
// add and remove subsystems, move channel pairs, copy and paste the plan as text, choose the unit
// group and store the plan. All edits act on a working copy; the project's plans change only on
// Store. One editor exists at a time.
#include "platform/ui/ZuDialog.h"
#include "platform/ui/SingleInstance.h"

#include <memory>
#include <string>
#include <vector>

class CEmbeddedGridWnd;
class CQMXSensorMap;
class CTALVOProject;
class CZuDataTipCtrl;
class QLineEdit;
class QPushButton;

class CDlgExpPlanMap : public CZuDialog, public CSingleInstance<CDlgExpPlanMap>
{
    Q_OBJECT

public:
    // A small tool button with a standard icon (none when negative) and a tool tip from the
    // string table (none when 0); the channel-list dialogs use the same tools.
    static QPushButton* CreateToolButton(QWidget* parent, int id, const QString& text, int icon, uint32_t tipId);

    static constexpr int kTemplateId = 4089;
    static constexpr int kRowsPerBand = 32;
    static constexpr int kColsPerBand = 5;
    enum Mode
    {
        modeNew = 0,
        modeEdit = 1,
        modeView = 2
    };

    // The one editor: the open one, or a new one shown modeless.
    static CDlgExpPlanMap* ShowInstance(CTALVOProject* project, QWidget* parent = nullptr);
    // Closes the editor (if any).
    static void DestroyInstance();

    explicit CDlgExpPlanMap(CTALVOProject* project, QWidget* parent = nullptr, int templateId = kTemplateId);
    ~CDlgExpPlanMap() override;

    // 0 a new plan (the project's own subsystem placed first), 1 edit, 2 view and use.
    void SetMode(int mode);
    int GetMode() const { return m_mode; }
    // Copies the plan into the working copy (none: the new plan stays) and shows it.
    void SetPlan(CQMXSensorMap* plan);
    CQMXSensorMap& GetWorkingCopy() { return *m_work; }
    CQMXSensorMap* GetStoredPlan() const { return m_stored; }
    int GetChannelCount() const { return m_channelCount; }
    int GetBandCount() const;

    // Grid geometry: the row of a channel, the first column of its band, and back.
    static int ChannelRow(int channel) { return channel % kRowsPerBand + 1; }
    static int ChannelCol(int channel) { return (channel / kRowsPerBand) * kColsPerBand + 1; }
    static int CellChannel(int row, int col) { return ((col - 1) / kColsPerBand) * kRowsPerBand + row - 1; }

    // The channels selected, whole units in ascending order (read from the grid when none is
    // stored).
    std::vector<int> GetSelection();
    // Selects the grid cells of the channels first to last (one band) as a user would, forgetting
    // the stored selection.
    void SelectChannels(int first, int last);

    // Exchanges the pairs at from and to and lays the subsystems' sensors again.
    void MovePair(int from, int to);
    void OnUp();
    void OnDown();
    void OnMoveByDrag();
    bool IsDragging() const { return m_drag; }
    // The drag ends with the button released over a cell (grid coordinates).
    void OnDrop(int row, int col);
    void OnAddSubsystem();
    void OnRemoveSubsystem();
    void OnUnitGroup();
    void OnCopy();
    void OnPaste();
    void OnStore();

    CEmbeddedGridWnd* Grid() const { return m_grid; }
    QLineEdit* NameEdit() const { return m_nameEdit; }
    QLineEdit* CommentEdit() const { return m_commentEdit; }
    QPushButton* Button(int id) const;
    CZuDataTipCtrl* DataTip() const { return m_tip; }

protected:
    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;
    void OnCancel() override;
    void keyPressEvent(QKeyEvent* event) override;
    // The unit group's caption is made from a format of the language loaded.
    void changeEvent(QEvent* event) override;

    // The first column of each band: its heading and width (dialog units), and the cell of a slot.
    virtual std::string SlotHeading() const { return "Slot"; }
    virtual int SlotColumnWidth() const { return 50; }
    virtual void BuildSlotCell(int row, int col, int slot);

    // Rebuilds the grid's layout and fixed cells, and refills the sensor and subsystem cells.
    void BuildGrid();
    void FillCells();
    void UpdateGroupCaption();
    // Ends the window (modeless: destroyed later).
    void CloseWindow(int result);

    CTALVOProject* m_project;
    CQMXSensorMap* m_stored = nullptr;
    std::unique_ptr<CQMXSensorMap> m_work;
    int m_mode = modeNew;
    int m_channelCount = 0;
    bool m_drag = false;
    std::vector<int> m_selection;
    std::string m_name;
    std::string m_comment;

    CEmbeddedGridWnd* m_grid;
    CZuDataTipCtrl* m_tip;
    QLineEdit* m_nameEdit;
    QLineEdit* m_commentEdit;
    QPushButton* m_groupButton = nullptr;
    QPushButton* m_storeButton;

private:
    QPushButton* AddTool(int id, const QString& text, int icon, uint32_t tipId);
    void OnGridMouse(quint32 msg);
    void SelectStored();
};
