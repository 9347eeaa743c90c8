#pragma once
// The left-hand view of the measurement window: the experiment project's element tree and the
// experiment commands. It is the window the acquisition tells about a run (Target()); it passes
// the run's messages to the document's run manager and the progress messages to the progress
// window. The tree is a view over the program's one element tree model; the rows follow the
// project's tree as the document passes its changes on.
#include "platform/win/CommandIds.h"
#include "platform/win/CommandTable.h"

#include <QTreeView>

#include <cstdint>
#include <memory>
#include <string>

class CExpData;
class CExpDoc;
class CMElement;
class CProjectTreeModel;
class IMessageTarget;

class CExpTreeView : public QTreeView
{
    Q_OBJECT

public:
    enum Command
    {
        ID_ACCEL_RPM = CommandId::ID_ACCEL_RPM,
        ID_EXP_ANALYSIS_OPTIONS = CommandId::ID_EXP_ANALYSIS_OPTIONS,
        ID_DATA_CHECK = CommandId::ID_DATA_CHECK,
        ID_GAIN_SETTING = CommandId::ID_GAIN_SETTING,
        ID_SETUP_CHANNELS = CommandId::ID_SETUP_CHANNELS,
        ID_START_RUN = CommandId::ID_START_RUN,
        ID_DELETE = CommandId::ID_DELETE,
        ID_DUMP = CommandId::ID_DUMP_DATA,
        ID_DUMP_PARAM = CommandId::ID_DUMP_DATA_PARAM,
        ID_REAL_TIME_MONITOR = CommandId::ID_REAL_TIME_MONITOR,
        ID_PROPERTIES = CommandId::ID_PROPERTIES,
        ID_NOTHING = CommandId::ID_NOTHING,
        ID_DAQ_OPTIONS = CommandId::ID_DAQ_OPTIONS,
    };
    // The view's commands: their rules look at the view, their actions run on it. The frame's
    // command bar holds those placed on the toolbar, its developer menu those in menu "System".
    using CommandTable = TCommandTable<CExpTreeView, CExpTreeView>;
    static const CommandTable& Commands();

    explicit CExpTreeView(CExpDoc* doc, QWidget* parent = nullptr);
    ~CExpTreeView() override;

    CExpDoc* GetDocument() const { return m_doc; }
    IMessageTarget* Target() const { return m_target.get(); }

    // The tree's selected element (the project when nothing else is).
    CMElement* GetCurrentElement() const { return m_current; }
    void SelectElement(CMElement* element);
    CProjectTreeModel* Model() const { return m_model; }
    // The row of an element; invalid when the tree does not show it.
    QModelIndex IndexOf(const CMElement* element) const;

    bool OnCommand(int id);
    bool IsCommandEnabled(int id) const;
    // The channel record of the RPM signal data that is selected (a data set's first); null when
    // the selection is something else.
    CExpData* SelectedPulseChannel() const;

    // The acquisition's messages to this window.
    intptr_t OnMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam);

    void OnInitialUpdate();
    void OnUpdate(QObject* sender, int hint, CMElement* element);

signals:
    void CommandStateChanged();
    // A message of the acquisition was handled.
    void MessageHandled(quint32 msg);

private:
    // Shows the document's project afresh when the tree shows another one (or none).
    void Refill();
    void OnElementAdded(CMElement* element);
    void OnElementRemoving(CMElement* element);
    void OnCurrentChanged(const QModelIndex& current);
    void OnDelete();
    void OnProperties();
    void OnDump(bool withParameter);
    void OnDataCheck();
    void OnDaqOptions();
    void OnAnalysisOptions();

    CExpDoc* m_doc;
    CProjectTreeModel* m_model;
    std::unique_ptr<IMessageTarget> m_target;
    CMElement* m_current = nullptr;
    bool m_filling = false;
};
