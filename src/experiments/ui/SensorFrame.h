#pragma once
// The sensor window: a toolbar over three views of one sensor document (sensor list, bundles,
// groups) on tabs. At most one is open; opening it again brings it forward.
#include "platform/win/CommandTable.h"
#include "platform/ui/SingleInstance.h"

#include <QWidget>

#include <map>

class CSensorBundleView;
class CSensorDoc;
class CSensorGroupView;
class CSensorListView;
class CSensorProject;
class CTALVODoc;
class QAction;
class QMdiArea;
class QTabWidget;
class QToolBar;

class CSensorFrame : public QWidget, public CSingleInstance<CSensorFrame>
{
    Q_OBJECT
public:
    CSensorFrame(CSensorProject* project, CTALVODoc* projectDoc, QWidget* parent = nullptr);
    ~CSensorFrame() override;

    // Opens the window over a sensor project in an MDI area, or activates the open one (which then
    // refreshes its views). Null without a project.
    static CSensorFrame* ShowInstance(QMdiArea* area, CSensorProject* project, CTALVODoc* projectDoc);

    // The toolbar's commands: the document's own go to the document, the others to the view in
    // front (as do ids the table does not hold).
    using CommandTable = TCommandTable<CSensorFrame, CSensorFrame>;
    static const CommandTable& Commands();
    // Runs a command of the toolbar.
    bool OnCommand(int id);
    bool IsCommandEnabled(int id) const;
    void UpdateCommandUI();

    CSensorDoc* GetDocument() const { return m_doc; }
    CSensorListView* ListView() const { return m_listView; }
    CSensorBundleView* BundleView() const { return m_bundleView; }
    CSensorGroupView* GroupView() const { return m_groupView; }
    QTabWidget* Views() const { return m_views; }
    QToolBar* ToolBar() const { return m_toolBar; }
    QAction* Action(int id) const;

protected:
    void changeEvent(QEvent* event) override;

private:
    // The title, the buttons' texts and the tabs' names in the language loaded.
    void SetTexts();
    bool IsFrontViewCommandEnabled(int id) const;
    bool RunFrontViewCommand(int id);

    CSensorDoc* m_doc;
    QToolBar* m_toolBar;
    QTabWidget* m_views;
    CSensorListView* m_listView;
    CSensorBundleView* m_bundleView;
    CSensorGroupView* m_groupView;
    std::map<int, QAction*> m_actions;
};
