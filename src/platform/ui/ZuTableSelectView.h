#pragma once
// The select pane of a table window: one titled column listing the subsets of the table (its
// table indices: bands, frequencies or RPMs), read from the element as the list scrolls. Choosing
// a subset makes it the document's current subset and tells the other views with the subset as
// hint. Derived views set the column title and, where the subsets are labelled otherwise, the
// label source.
#include "platform/ui/ZuTableDataDoc.h"

#include <QAbstractListModel>
#include <QTreeView>

#include <functional>
#include <string>

class CZuSubsetListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    using CountFn = std::function<int()>;
    using LabelFn = std::function<std::string(int)>;
    explicit CZuSubsetListModel(QObject* parent = nullptr);
    // Where the subsets come from; Refresh re-reads the count.
    void SetSource(CountFn count, LabelFn label);
    void SetTitle(const QString& title);
    void Refresh();
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    CountFn m_count;
    LabelFn m_label;
    QString m_title;
    int m_rows = 0;
};

class CZuTableSelectView : public QTreeView, public IZuTableDataView
{
    Q_OBJECT
public:
    explicit CZuTableSelectView(CZuTableDataDoc* doc, QWidget* parent = nullptr);
    ~CZuTableSelectView() override;

    CZuTableDataDoc* GetDocument() const { return m_doc; }
    CZuSubsetListModel* ListModel() const { return m_model; }
    // Selects a subset as a click does (the document and the other views are told).
    void SelectSubset(int subset);
    int SelectedSubset() const;

    // Re-reads the list from the document's table (subset count and labels) and selects the
    // document's current subset without telling anyone. Derived views override OnUpdate to set
    // the title and the element's view state first.
    void OnUpdate(IZuTableDataView* sender, int hint) override;
    void RefillList();

private:
    CZuTableDataDoc* m_doc;
    CZuSubsetListModel* m_model;
    bool m_filling = false;
};
