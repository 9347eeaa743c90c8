#pragma once
// A tabbed property sheet with OK, Cancel and Apply. Pages are added before the sheet runs; the
// sheet shows them as tabs (the page becomes a child of the sheet, so a page created with new
// is deleted with the sheet; pages that are members of a derived sheet are destroyed first and
// leave the sheet on their own).
//
// OK: the active page must accept leaving (OnKillActive), then OnApply of every initialised page
// (a refusal activates that page and keeps the sheet open), then the sheet ends with IDOK.
// Cancel: OnCancel of every initialised page, then IDCANCEL. Apply: as OK without closing; the
// pages' modified marks are cleared.
#include "platform/ui/ZuDialog.h"

#include <string>
#include <vector>

class CZuPropertyPage;
class QTabWidget;
class QPushButton;

class CZuPropertySheet : public CZuDialog
{
    Q_OBJECT

public:
    explicit CZuPropertySheet(const std::string& caption = std::string(), QWidget* parent = nullptr, int startPage = 0);
    ~CZuPropertySheet() override;

    void AddPage(CZuPropertyPage* page);
    void RemovePage(CZuPropertyPage* page);
    int GetPageCount() const { return int(m_pages.size()); }
    CZuPropertyPage* GetPage(int index) const;
    int GetPageIndex(const CZuPropertyPage* page) const;

    // Before the sheet runs: the page shown first. While it runs: switches pages as a tab click
    // does (false when the current page refuses to be left or the new one to be shown).
    bool SetActivePage(int index);
    bool SetActivePage(CZuPropertyPage* page) { return SetActivePage(GetPageIndex(page)); }
    int GetActiveIndex() const { return m_active; }
    CZuPropertyPage* GetActivePage() const { return GetPage(m_active); }

    void SetTitle(const std::string& title);
    // A sheet whose pages take effect only on OK shows no Apply button.
    void HideApplyButton();
    bool HasApplyButton() const;
    // Runs Apply as the button does; false when a page refused.
    bool PressApply();
    bool IsApplyEnabled() const;

    // Pages report their modified state here.
    void UpdateApplyButton();
    void ForgetPage(CZuPropertyPage* page);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    bool ApplyPages();
    void OnTabChanged(int index);

    std::vector<CZuPropertyPage*> m_pages;
    QTabWidget* m_tabs = nullptr;
    QPushButton* m_apply = nullptr;
    int m_startPage = 0;
    int m_active = -1;
    bool m_applyHidden = false;
};
