#pragma once
// The sensor bundles of one subsystem, ticked in a list. Candidates and the preselection are
// given before DoModal; OK rebuilds the chosen list from the ticked rows, in list order.
#include "platform/ui/ZuDialog.h"

#include <vector>

class CSensorBundle;
class QTableWidget;

class CDlgSelectBundle : public CZuDialog
{
    Q_OBJECT

public:
    enum
    {
        IDD = 4062,
        IDC_LIST = 3075
    };

    explicit CDlgSelectBundle(QWidget* parent = nullptr);

    // Bundles are borrowed.
    void AddCandidate(CSensorBundle* bundle) { m_candidates.push_back(bundle); }
    void AddSelected(CSensorBundle* bundle) { m_selected.push_back(bundle); }
    const std::vector<CSensorBundle*>& GetSelected() const { return m_selected; }

    QTableWidget* List() const { return m_list; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    QTableWidget* m_list;
    std::vector<CSensorBundle*> m_candidates;
    std::vector<CSensorBundle*> m_selected;
};
