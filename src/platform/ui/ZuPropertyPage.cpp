#include "platform/ui/ZuPropertyPage.h"

#include "platform/ui/ZuPropertySheet.h"

CZuPropertyPage::CZuPropertyPage(int templateId, const std::string& caption)
    : m_templateId(templateId), m_caption(caption)
{}

CZuPropertyPage::~CZuPropertyPage()
{
    if (m_sheet)
        m_sheet->ForgetPage(this);
}

void CZuPropertyPage::EnsureInitialized()
{
    if (m_initialized)
        return;
    m_initialized = true;
    OnInitDialog();
}

bool CZuPropertyPage::UpdateData(bool saveAndValidate)
{
    return DoDataExchange(saveAndValidate) || !saveAndValidate;
}

void CZuPropertyPage::SetModified(bool modified)
{
    m_modified = modified;
    if (m_sheet)
        m_sheet->UpdateApplyButton();
}

bool CZuPropertyPage::OnSetActive()
{
    return true;
}

bool CZuPropertyPage::OnKillActive()
{
    return UpdateData(true);
}

bool CZuPropertyPage::OnApply()
{
    OnOK();
    return true;
}

void CZuPropertyPage::OnOK() {}

void CZuPropertyPage::OnCancel() {}

bool CZuPropertyPage::OnInitDialog()
{
    UpdateData(false);
    return true;
}

bool CZuPropertyPage::DoDataExchange(bool)
{
    return true;
}
