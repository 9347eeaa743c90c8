#pragma once
// The measurement window: the tree view on the left; the diagnosis view above the data view on
// the right; two toolbars; a bar with the RPM list; three display modes that the right-hand views
// read; and, when the marker file lies beside the program, developer entries in its menu.
#include "platform/win/CommandIds.h"
#include "platform/win/CommandTable.h"

#include <QMainWindow>

#include <map>
#include <string>
#include <vector>

class CExpDataView;
class CExpDiagView;
class CExpDoc;
class CExpTreeView;
class CZuControlBar;
class QAction;
class QComboBox;
class QMdiArea;
class QMenu;
class QSplitter;
class QToolBar;

class CExpFrame : public QMainWindow
{
    Q_OBJECT

public:
    enum Command
    {
        ID_CHANNEL_TIME = CommandId::ID_CHANNEL_TIME,
        ID_CHANNEL_FREQ = CommandId::ID_CHANNEL_FREQ,
        ID_SIGNAL_PULSE = CommandId::ID_SIGNAL_PULSE,
        ID_SIGNAL_RPM = CommandId::ID_SIGNAL_RPM,
        ID_SIGNAL_ALL_RPM = CommandId::ID_SIGNAL_ALL_RPM,
        ID_DIAG_VOLTAGE = CommandId::ID_DIAG_VOLTAGE,
        ID_DIAG_VALUE = CommandId::ID_DIAG_VALUE,
        ID_DIAG_INTEGRAL = CommandId::ID_DIAG_INTEGRAL,
    };
    static constexpr int kRpmCombo = 3063;
    static constexpr const char* kHiddenMenuFlag = "hidden_menu.flg";

    // The frame over a document it owns; programFolder: where the marker file is looked for
    // (empty: the program's own folder).
    explicit CExpFrame(CExpDoc* doc, const std::string& programFolder = {}, QWidget* parent = nullptr);
    ~CExpFrame() override;

    // A new measurement window in the MDI area (sized to 60 % x 80 % of it); its document.
    static CExpFrame* Open(QMdiArea* area, const std::string& programFolder = {});
    // Every open measurement window.
    static std::vector<CExpFrame*> OpenFrames();

    CExpDoc* GetDocument() const { return m_doc; }
    CExpTreeView* TreeView() const { return m_treeView; }
    CExpDiagView* DiagView() const { return m_diagView; }
    CExpDataView* DataView() const { return m_dataView; }
    QComboBox* RpmCombo() const { return m_rpmCombo; }
    QAction* Action(int id) const;
    QMenu* DeveloperMenu() const { return m_developerMenu; }
    QSplitter* OuterSplitter() const { return m_outer; }
    QSplitter* InnerSplitter() const { return m_inner; }

    int GetChannelPlotMode() const { return m_channelMode; }
    int GetSignalPlotMode() const { return m_signalMode; }
    int GetDiagMode() const { return m_diagMode; }

    void FillRpmCombo(const std::vector<double>& rpms);
    void OnRpmSelected(int index);
    // The frame's own commands, the display modes of the right-hand views; the ids it does not
    // hold are the tree view's.
    using CommandTable = TCommandTable<CExpFrame, CExpFrame>;
    static const CommandTable& Commands();
    // Runs a command; one that runs out of memory ends with a message.
    bool OnCommand(int id);
    bool IsCommandEnabled(int id) const;
    bool IsCommandChecked(int id) const;
    void UpdateCommandUI();

    QSize sizeHint() const override { return QSize(1100, 720); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* AddAction(QToolBar* bar, int id, const char* text);
    QAction* AddAction(CZuControlBar* bar, int id, const char* text);
    QAction* MakeAction(int id, const char* text);
    void AddDeveloperMenu(const std::string& programFolder);
    // The selected element is a channel record of an excitation's data set (1) or of the RPM
    // signal data (2); 0 otherwise.
    int SelectedChannelKind() const;

    CExpDoc* m_doc;
    CExpTreeView* m_treeView = nullptr;
    CExpDiagView* m_diagView = nullptr;
    CExpDataView* m_dataView = nullptr;
    CZuControlBar* m_mainBar = nullptr;
    QToolBar* m_modeBar = nullptr;
    QComboBox* m_rpmCombo = nullptr;
    QSplitter* m_outer = nullptr;
    QSplitter* m_inner = nullptr;
    QMenu* m_developerMenu = nullptr;
    std::map<int, QAction*> m_actions;
    std::vector<double> m_rpms;
    int m_channelMode = 1;
    int m_signalMode = 3;
    int m_diagMode = 1;
};
