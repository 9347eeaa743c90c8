#pragma once
// The document of a table window: the table element it shows (not owned; it belongs to its
// project), the table index (subset) that is current, and the views that show it.
//
// Views implement IZuTableDataView and are told of every change through UpdateAllViews, with the
// view that caused it (never told itself) and a hint: by convention a subset index (0 or more),
// or -1 for "everything changed". Derived documents add the settings of their window family.
//
// The element may go while its window is open (the user deletes it from the project tree):
// DataGoing forgets it without touching it and tells the views with a null table; the frame
// closes afterwards.
#include <vector>

class CZuTableData;

class IZuTableDataView
{
public:
    virtual ~IZuTableDataView() = default;
    // The document changed. sender: the view that caused the change (null: the document or the
    // frame); hint: a subset index, or negative.
    virtual void OnUpdate(IZuTableDataView* sender, int hint) = 0;
};

class CZuTableDataDoc
{
public:
    CZuTableDataDoc();
    // Clears the element's record of its window when the element is still there.
    virtual ~CZuTableDataDoc();
    CZuTableDataDoc(const CZuTableDataDoc&) = delete;
    CZuTableDataDoc& operator=(const CZuTableDataDoc&) = delete;

    // The table shown; the current subset goes back to 0.
    virtual void SetData(CZuTableData* data);
    CZuTableData* GetData() const { return m_data; }

    int GetCurrentSubset() const { return m_subset; }
    void SetCurrentSubset(int subset) { m_subset = subset; }

    void AddView(IZuTableDataView* view);
    void RemoveView(IZuTableDataView* view);
    const std::vector<IZuTableDataView*>& GetViews() const { return m_views; }
    // Tells every view but the sender.
    void UpdateAllViews(IZuTableDataView* sender = nullptr, int hint = -1);

    // The element is being destroyed: forget it (no call reaches it any more) and update the views.
    void DataGoing();

private:
    CZuTableData* m_data = nullptr;
    int m_subset = 0;
    std::vector<IZuTableDataView*> m_views;
};
