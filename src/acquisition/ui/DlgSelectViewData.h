#pragma once
// A tree of experiments and their measured data sets with check boxes: the user ticks the data
// sets that a comparison shows. Buttons tick by rule (all, none, used, a measurement date), write
// the ticks back as the data sets' use flags and open a data set's properties. A comparison dialog
// opens one picker beside itself (one per comparison dialog); the picker tells it of selections
// and of a changed ticked list, and the comparison dialog asks it to select or tick an element.
#include "platform/elements/MElementList.h"
#include "platform/ui/CustomTreeCtrl.h"
#include "platform/ui/ZuDialog.h"
#include "platform/ui/SingleInstance.h"

#include <functional>

class CMElement;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

class CDlgSelectViewData : public CZuDialog, public CSingleInstance<CDlgSelectViewData>
{
    Q_OBJECT

public:
    enum
    {
        IDD = 4071,
        IDC_TREE = 3264,
        IDC_TICK_ALL = 3046,
        IDC_UNTICK_ALL = 3266,
        IDC_TICK_USED = 3234,
        IDC_TICK_DATE = 3071,
        IDC_PROPERTIES = 3183,
        IDC_WRITE_BACK = 3002,
        IDD_CALENDAR = 4004,
    };
    // Mode: kept in the registry (modeless) or run modally.
    enum
    {
        modeModeless = 0,
        modeModal = 1
    };

    explicit CDlgSelectViewData(QWidget* parent = nullptr, int mode = modeModal);
    ~CDlgSelectViewData() override;

    // ---- the registry of modeless pickers, one per key (the comparison dialog) ----
    // Null when the key already has one; else a new modeless picker, recorded.
    static CDlgSelectViewData* CreateInstance(const void* key, QWidget* parent);

    // Before the dialog is created: the experiments and the ticked data sets.
    void SetRoots(const CMElementList& roots) { m_roots = roots; }
    void SetTickedList(const CMElementList& ticked) { m_ticked = ticked; }
    const CMElementList& GetTickedList() const { return m_ticked; }

    // What the picker tells its comparison dialog: an experiment or data set was selected; the
    // ticked list changed.
    std::function<void(CMElement*)> onSelected;
    std::function<void(const CMElementList&)> onTickedChanged;

    // ---- what the comparison dialog asks ----
    // Selects the element's item and expands its parent.
    void SelectElement(CMElement* element);
    // Sets the element's tick (expanding its parent when asked).
    void SetElementTick(CMElement* element, bool tick, bool expand);
    // Replaces both lists and rebuilds the tree.
    void Reset(const CMElementList& roots, const CMElementList& ticked);

    // Opens the experiment property dialog over a data set, modally; the window library that has
    // that dialog installs it. Without one, button 3183 stays disabled.
    using PropertiesOpener = std::function<void(CMElement* dataSet, QWidget* parent)>;
    static void SetPropertiesOpener(PropertiesOpener opener);

    // ---- the buttons ----
    void TickAll(bool tick);
    // The properties of the selected data set (3183).
    void ShowProperties();
    void TickUsed();
    // Ticks the data sets measured on the day (local time) of the given date.
    void TickDate(int year, int month, int day);
    // After confirmation, writes the ticks as use flags into every data set of the same
    // measurement time (each data set once); rebuilds the tree.
    void WriteBack();

    CCustomTreeCtrl* Tree() const { return m_tree; }
    QToolButton* Button(int id) const;
    QTreeWidgetItem* FindItem(const CMElement* element) const;

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void BuildTree();
    // Copies a root's tick to its children or recomputes a root from its children, then rebuilds
    // the ticked list and tells the comparison dialog.
    void OnItemTicked(QTreeWidgetItem* item);
    void UpdateRoots();
    void RebuildTickedList(bool notify);
    QToolButton* AddButton(int id, const QString& icon, const QString& tip);

    CMElementList m_roots;
    CMElementList m_ticked;
    int m_mode;
    bool m_building = false;
    CCustomTreeCtrl* m_tree = nullptr; // reports clicks by hit region
    std::vector<std::pair<int, QToolButton*>> m_buttons;
};
