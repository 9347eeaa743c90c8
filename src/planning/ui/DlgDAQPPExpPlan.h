#pragma once
// The editor of one channel plan of a DAQ project built from universal files: the plan as a
// channel table (one row per channel, the columns of the project's layout), with commands to place
// and clear subsystems, move channels (each subsystem kept in local-number order), copy the table
// as text and paste it back, choose the columns and hand channels to a second editor. It works on
// a copy of the plan; the project's plans change only when the user stores the copy on closing.
// One editor exists at a time.
#include "platform/ui/ZuDialog.h"
#include "platform/ui/SingleInstance.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QPointer>

class CDAQPPChannelTable;
class CDAQPPExpPlan;
class CDAQPPExpPlanList;
class CEmbeddedGridWnd;
class CExtUFDaqProject;
class CZuDataTipCtrl;
class QLineEdit;
class QPushButton;

class CDlgDAQPPExpPlan : public CZuDialog, public CSingleInstance<CDlgDAQPPExpPlan>
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 4207;
    enum Mode
    {
        modeNewOwn = 0, // a new plan, the project's own subsystem placed first
        modeNew = 1,    // a new plan, from a copy of the given plan when there is one
        modeEdit = 2,   // the given plan
        modeView = 3,   // the given plan; only its comment can change
    };
    // What the plan list hears (SetPlanListNotifier).
    enum PlanListNotice
    {
        planListChanged = 0, // a plan was added, renamed or its comment changed: fill again
        editorClosed = 1,    // the editor went: update the command states
    };

    // The one editor: the open one restored and activated, or a new one for the project shown
    // modeless. The opener then calls SetMode and SetPlan, in that order.
    static CDlgDAQPPExpPlan* ShowInstance(CExtUFDaqProject* project, QWidget* parent = nullptr);
    // The opener of the plan list and the wizard: a new editor in the mode on the plan (none for a
    // new plan); an editor already open is only activated, so its unsaved work is never replaced.
    static CDlgDAQPPExpPlan* Open(CExtUFDaqProject* project, int mode, CDAQPPExpPlan* plan, QWidget* parent = nullptr);
    // Closes and deletes the editor without asking.
    static void DestroyInstance();

    // The plan list window, when one is open, is told of changes through this (null: nobody).
    static void SetPlanListNotifier(std::function<void(PlanListNotice)> notifier);
    static bool HasPlanListNotifier();
    // Opens (or finds) the second editor that 3278 hands channels to; without one the command is
    // disabled.
    using DerivedEditorOpener = std::function<CDlgDAQPPExpPlan*(CExtUFDaqProject*, QWidget*)>;
    static void SetDerivedEditorOpener(DerivedEditorOpener opener);
    static bool HasDerivedEditorOpener();

    explicit CDlgDAQPPExpPlan(CExtUFDaqProject* project, QWidget* parent = nullptr, int templateId = kTemplateId);
    ~CDlgDAQPPExpPlan() override;

    void SetMode(int mode);
    int GetMode() const { return m_mode; }
    // Copies the plan (none: the working plan stays) into the working plan and shows it.
    void SetPlan(CDAQPPExpPlan* plan);
    CDAQPPExpPlan& GetWorkingPlan() const { return *m_work; }
    CDAQPPExpPlan* GetSourcePlan() const { return m_source; }
    CExtUFDaqProject* GetProject() const { return m_project; }
    bool IsChanged() const { return m_changed; }
    void SetChanged(bool changed) { m_changed = changed; }

    // Rewrites the header cell and the cells of one channel.
    void DrawRow(int channel);
    void DrawAllRows();

    // The channels of the selected table rows, ascending; selecting table rows as a user would.
    std::vector<int> GetSelectedChannels() const;
    void SelectChannels(int first, int last);

    void OnAddSubsystem();   // 3005
    void OnClearSubsystem(); // 3031
    void OnMove();           // 3034: starts or cancels a move
    bool IsMoving() const { return m_moving; }
    // The move ends with the button released over table row (grid coordinates).
    void OnDrop(int row);
    void OnMoveDown(); // 3032
    void OnMoveUp();   // 3036
    // 3278: hands the selected channels to the second editor (opened when it is not).
    virtual void OnHandOver();
    // Hands the selected channels to the free rows of the same channel in target's plan.
    void HandSelectedRowsTo(CDlgDAQPPExpPlan& target);
    void OnCopy();          // 57634
    void OnPaste();         // 57637
    void OnChooseColumns(); // 3280
    void Apply();           // stores the working plan as the mode says
    void OnClose();         // 3008 and the close box
    // Whether the editor may close (the second editor refuses while it holds channels).
    virtual bool CanClose() { return true; }

    CEmbeddedGridWnd* Grid() const { return m_grid; }
    QLineEdit* NameEdit() const { return m_nameEdit; }
    QLineEdit* CommentEdit() const { return m_commentEdit; }
    QPushButton* Button(int id) const;
    CZuDataTipCtrl* MoveTip() const { return m_tip; }
    CDlgDAQPPExpPlan* GetDerivedEditor() const { return m_derived.data(); }

protected:
    bool OnInitDialog() override;
    bool DoDataExchange(bool saveAndValidate) override;
    void OnOK() override;
    void OnCancel() override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

    // Rebuilds the table's rows, columns, headings and colours for the plan and the layout.
    void BuildTable();
    // Marks this editor and the open one changed (row operations run in the second editor too).
    void MarkChanged();
    void SelectTableRows(const std::vector<int>& channels);
    CDAQPPExpPlanList* GetPlanList() const;

    CExtUFDaqProject* m_project;
    std::unique_ptr<CDAQPPExpPlan> m_work;
    std::unique_ptr<CDAQPPChannelTable> m_table;
    CDAQPPExpPlan* m_source = nullptr;
    int m_mode = modeNewOwn;
    bool m_changed = false;
    bool m_moving = false;
    std::vector<int> m_moveChannels;
    std::string m_name;
    std::string m_comment;
    QPointer<CDlgDAQPPExpPlan> m_derived;

    CEmbeddedGridWnd* m_grid;
    CZuDataTipCtrl* m_tip;
    QLineEdit* m_nameEdit;
    QLineEdit* m_commentEdit;
    QPushButton* m_closeButton;

private:
    QPushButton* AddButton(int id, const QString& text, int icon, uint32_t tipId);
    void OnGridMouse(quint32 msg);
    QString MoveTipText() const;
    void PlaceOwnSubsystem();
};
