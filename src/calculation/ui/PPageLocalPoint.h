#pragma once
// Which local points of each data set take part in the calculations, ticked in a tree: the first
// root holds the target local points, which every data set shares, then one root per data set
// with its own selection. The page edits copies and writes back only the data sets whose
// selection changed.
#include "experiments/CalcOptions.h"
#include "platform/ui/ZuPropertyPage.h"

#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

class CPPageLocalPoint : public CZuPropertyPage
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = 4049;
    static constexpr uint32_t kTreeChanged = 0x2700;

    CPPageLocalPoint();

    // One pointer per data set (not owned).
    void SetLocalPointOptions(std::vector<CCalcOptions*>* options) { m_pOptions = options; }
    void SetReadOnly(bool readOnly) { m_bReadOnly = readOnly; }
    bool IsChanged() const { return m_bChanged; }
    const std::vector<CCalcOptions>& GetCopies() const { return m_copies; }

    QTreeWidget* Tree() const { return m_tree; }
    // The handler of 0x2700, which runs after the tree has changed a tick.
    void OnTreeChanged();

    void OnOK() override;

protected:
    bool OnInitDialog() override;

private:
    void BuildTree();
    QTreeWidgetItem* AddRoot(int copy, int entry);

    std::vector<CCalcOptions*>* m_pOptions = nullptr;
    std::vector<CCalcOptions> m_copies;
    bool m_bChanged = false;
    bool m_bReadOnly = false;
    bool m_building = false;
    bool m_pending = false;
    QTreeWidget* m_tree;
};
