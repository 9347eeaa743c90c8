#pragma once
// The grid pane of a TAL data window: the table of the current subset of the map (two columns:
// the axis and the value). Copy and paste act on every subset while all subsets are plotted.
#include "platform/ui/ZuTableDataDoc.h"
#include "platform/ui/ZuTableGrid.h"

class CTALDataDoc;

class CTALDataTableView : public CZuTableGrid, public IZuTableDataView
{
    Q_OBJECT
public:
    explicit CTALDataTableView(CTALDataDoc* doc, QWidget* parent = nullptr);
    ~CTALDataTableView() override;

    int GetSubset() const { return m_subset; }
    // A choice of subset elsewhere (sender a view, hint 0 or more) shows that subset; an update of
    // the document (no sender) refills the current one; anything else is ignored.
    void OnUpdate(IZuTableDataView* sender, int hint) override;
    // Reads the settings into the map and shows the subset.
    void Fill();

    int CopySubset() const override;
    int PasteSubset() const override;
    bool OnPaste() override;
    bool OnUndo() override;

private:
    CTALDataDoc* m_doc;
    int m_subset = 0;
};
