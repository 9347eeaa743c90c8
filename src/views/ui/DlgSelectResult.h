#pragma once
// Picks a second result to compare a first one with: while it is open it follows the selection of
// the project tree it is given (twice a second) and offers OK when the selected project is an analysis like
// the first one (same kind, same order count, equal RPM options) and the selected element is an
// energy result set. OK hands the first result and the chosen one to the dialog's answer,
// synchronously, and closes. Only one is open at a time.
#include "platform/ui/ZuDialog.h"
#include "platform/ui/SingleInstance.h"

#include <cstdint>
#include <functional>

class CAnalysisProject;
class CMElement;
class IProjectTreeWindow;
class QLabel;
class QPushButton;
class QTimer;

class CDlgSelectResult : public CZuDialog, public CSingleInstance<CDlgSelectResult>
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4065;
    static constexpr int kRefreshMs = 500;

    // What OK does with the first result and the chosen one: the command that opened the dialog
    // goes on with them.
    using Answer = std::function<void(CMElement* first, CMElement* chosen)>;

    // Null when one is open already. tree: the project tree whose selection offers the second
    // result (null: nothing is ever offered); it must outlive the dialog.
    static CDlgSelectResult* CreateInstance(CAnalysisProject* firstProject, CMElement* firstResult,
                                            const IProjectTreeWindow* tree, QWidget* parent = nullptr,
                                            Answer answer = {});
    static void DestroyInstance();

    // Whether a project can be compared with the first one.
    static bool IsCompatible(const CAnalysisProject* first, const CMElement* candidate);

    // One pass of the timer: reads the project tree's selection.
    void Refresh();
    CMElement* GetChosen() const { return m_pChosen; }
    QLabel* ProjectLabel() const { return m_project; }
    QLabel* ResultLabel() const { return m_result; }
    QPushButton* OkButton() const { return m_ok; }

protected:
    void OnOK() override;
    void OnCancel() override;

private:
    CDlgSelectResult(CAnalysisProject* firstProject, CMElement* firstResult, const IProjectTreeWindow* tree,
                     QWidget* parent, Answer answer);
    ~CDlgSelectResult() override;

    CAnalysisProject* m_pFirstProject;
    CMElement* m_pFirstResult;
    CMElement* m_pChosen = nullptr;
    const IProjectTreeWindow* m_tree;
    Answer m_answer;
    QTimer* m_timer;
    QLabel* m_project;
    QLabel* m_result;
    QPushButton* m_ok;
};
