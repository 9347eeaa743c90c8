#pragma once
// The Blix units that the connected systems report, by board and chain: one grid row per (board,
// chain), headed with the board's slot, one cell per unit channel ("serial\n#channel"), yellow
// when the unit reported its status bit at the last verification, green otherwise. A chain of
// more than 8 channels widens the grid. Modeless (one at most, ShowInstance) or modal (CModal).
#include "platform/ui/ColorStaticST.h"
#include "platform/ui/ZuDialog.h"
#include "platform/ui/SingleInstance.h"

#include <memory>
#include <vector>

class CMultiQMXInterface;
class CQmxBoardInfo;
class CQmxBlixChInfo;
class CQmxBlixChMgr;
class QLabel;
class QPushButton;
class QTableWidget;

class CDlgBlixStatus : public CZuDialog, public CSingleInstance<CDlgBlixStatus>
{
    Q_OBJECT

public:
    struct CBlixChData
    {
        const CQmxBlixChInfo* channel = nullptr;
    };
    using CBlixChList = std::vector<CBlixChData>;
    struct CChainData
    {
        const CQmxBoardInfo* board = nullptr;
        int chain = -1; // 0 chain A, 1 chain B
        CBlixChList channels;
    };
    // The entries in the order of the inventory's units.
    class CChainList : public std::vector<CChainData>
    {
    public:
        void Build(const CQmxBlixChMgr& inventory);
    };

    // The modal form that the connection dialog runs.
    class CModal
    {
    public:
        CModal(CMultiQMXInterface* units, QWidget* parent = nullptr);
        ~CModal();
        int DoModal();
        CDlgBlixStatus& Dialog() { return *m_dialog; }

    private:
        std::unique_ptr<CDlgBlixStatus> m_dialog;
    };

    CDlgBlixStatus(CMultiQMXInterface* units, int modal, QWidget* parent = nullptr);
    ~CDlgBlixStatus() override;

    static CDlgBlixStatus* ShowInstance(CMultiQMXInterface* units, QWidget* parent = nullptr);

    // Rebuilds the chain list and the grid; with reinitialise the units are initialised and their
    // inventories merged first (a failure leaves the grid as it was).
    bool Show(bool reinitialise);
    void OnRefresh();

    QTableWidget* Grid() const { return m_grid; }
    const CChainList& Chains() const { return m_chains; }
    int IsUnitFlagged() const { return m_unitFlagged; }

protected:
    bool OnInitDialog() override;
    void OnCancel() override;

private:
    void FillGrid();

    QTableWidget* m_grid; // 3262
    CMultiQMXInterface* m_units;
    CChainList m_chains;
    CColorStaticST* m_normalLegend;  // 3174
    CColorStaticST* m_flaggedLegend; // 3145
    int m_modal;
    int m_unitFlagged = 0;
};
