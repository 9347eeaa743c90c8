#include "platform/ui/ZuPropertySheet.h"

#include "platform/ui/ZuPropertyPage.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

CZuPropertySheet::CZuPropertySheet(const std::string& caption, QWidget* parent, int startPage)
    : CZuDialog(parent), m_startPage(startPage)
{
    setWindowTitle(QString::fromStdString(caption));
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    layout->addWidget(m_tabs);
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    layout->addWidget(buttons);
    m_apply = buttons->button(QDialogButtonBox::Apply);
    m_apply->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { OnCancel(); });
    connect(m_apply, &QPushButton::clicked, this, [this] { PressApply(); });
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) { OnTabChanged(index); });
}

CZuPropertySheet::~CZuPropertySheet()
{
    // Pages that are still children are deleted after us by QObject; they must not call back.
    for (CZuPropertyPage* page : m_pages)
        page->m_sheet = nullptr;
}

void CZuPropertySheet::AddPage(CZuPropertyPage* page)
{
    if (!page || GetPageIndex(page) >= 0)
        return;
    page->m_sheet = this;
    m_pages.push_back(page);
    QSignalBlocker block(m_tabs);
    m_tabs->addTab(page, QString::fromStdString(page->GetCaption()));
    if (IsInitialized() && m_active >= 0)
        m_tabs->setCurrentIndex(m_active);
}

void CZuPropertySheet::RemovePage(CZuPropertyPage* page)
{
    int index = GetPageIndex(page);
    if (index < 0)
        return;
    ForgetPage(page);
    page->setParent(nullptr);
}

void CZuPropertySheet::ForgetPage(CZuPropertyPage* page)
{
    int index = GetPageIndex(page);
    if (index < 0)
        return;
    m_pages.erase(m_pages.begin() + index);
    {
        QSignalBlocker block(m_tabs);
        m_tabs->removeTab(index);
    }
    page->m_sheet = nullptr;
    if (m_active == index)
        m_active = -1;
    else if (m_active > index)
        --m_active;
    UpdateApplyButton();
}

CZuPropertyPage* CZuPropertySheet::GetPage(int index) const
{
    return index >= 0 && index < int(m_pages.size()) ? m_pages[size_t(index)] : nullptr;
}

int CZuPropertySheet::GetPageIndex(const CZuPropertyPage* page) const
{
    auto it = std::find(m_pages.begin(), m_pages.end(), page);
    return it == m_pages.end() ? -1 : int(it - m_pages.begin());
}

bool CZuPropertySheet::SetActivePage(int index)
{
    if (index < 0 || index >= int(m_pages.size()))
        return false;
    if (!IsInitialized()) {
        m_startPage = index;
        return true;
    }
    if (index == m_active)
        return true;
    if (CZuPropertyPage* old = GetActivePage(); old && !old->OnKillActive())
        return false;
    CZuPropertyPage* page = m_pages[size_t(index)];
    page->EnsureInitialized();
    if (!page->OnSetActive())
        return false;
    m_active = index;
    QSignalBlocker block(m_tabs);
    m_tabs->setCurrentIndex(index);
    return true;
}

void CZuPropertySheet::OnTabChanged(int index)
{
    int previous = m_active;
    // The tab has already moved; put it back, then switch through the pages' consent.
    {
        QSignalBlocker block(m_tabs);
        if (previous >= 0)
            m_tabs->setCurrentIndex(previous);
    }
    SetActivePage(index);
}

void CZuPropertySheet::SetTitle(const std::string& title)
{
    setWindowTitle(QString::fromStdString(title));
}

void CZuPropertySheet::HideApplyButton()
{
    m_apply->hide();
    m_applyHidden = true;
}

bool CZuPropertySheet::HasApplyButton() const
{
    return !m_applyHidden;
}

bool CZuPropertySheet::OnInitDialog()
{
    CZuDialog::OnInitDialog();
    if (m_pages.empty())
        return true;
    int start = std::clamp(m_startPage, 0, int(m_pages.size()) - 1);
    CZuPropertyPage* page = m_pages[size_t(start)];
    page->EnsureInitialized();
    page->OnSetActive();
    m_active = start;
    QSignalBlocker block(m_tabs);
    m_tabs->setCurrentIndex(start);
    return true;
}

bool CZuPropertySheet::ApplyPages()
{
    if (CZuPropertyPage* active = GetActivePage(); active && !active->OnKillActive())
        return false;
    for (size_t i = 0; i < m_pages.size(); ++i) {
        CZuPropertyPage* page = m_pages[i];
        if (!page->IsInitialized())
            continue;
        if (!page->OnApply()) {
            SetActivePage(int(i));
            return false;
        }
    }
    for (CZuPropertyPage* page : m_pages)
        page->m_modified = false;
    UpdateApplyButton();
    return true;
}

bool CZuPropertySheet::PressApply()
{
    EnsureInitialized();
    return ApplyPages();
}

bool CZuPropertySheet::IsApplyEnabled() const
{
    return m_apply->isEnabled();
}

void CZuPropertySheet::UpdateApplyButton()
{
    bool any = std::any_of(m_pages.begin(), m_pages.end(), [](const CZuPropertyPage* p) { return p->IsModified(); });
    m_apply->setEnabled(any);
}

void CZuPropertySheet::OnOK()
{
    if (!ApplyPages())
        return;
    EndDialog(IDOK);
}

void CZuPropertySheet::OnCancel()
{
    for (CZuPropertyPage* page : m_pages)
        if (page->IsInitialized())
            page->OnCancel();
    EndDialog(IDCANCEL);
}
