#pragma once
// One page of a property sheet. A page is initialised (OnInitDialog, then its controls filled by
// DoDataExchange) the first time it becomes active; pages never shown are never initialised and
// take no part in OK or Apply. Leaving a page validates it (OnKillActive); OK and Apply run
// OnApply of every initialised page, whose default is OnOK.
#include "platform/win/WinTypes.h"

#include <QWidget>

#include <string>

class CZuPropertySheet;

class CZuPropertyPage : public QWidget
{
    Q_OBJECT

public:
    explicit CZuPropertyPage(int templateId = 0, const std::string& caption = std::string());
    ~CZuPropertyPage() override;

    int TemplateId() const { return m_templateId; }
    const std::string& GetCaption() const { return m_caption; }
    void SetCaption(const std::string& caption) { m_caption = caption; }
    CZuPropertySheet* GetSheet() const { return m_sheet; }

    bool IsInitialized() const { return m_initialized; }
    void EnsureInitialized();

    bool UpdateData(bool saveAndValidate = true);
    // Marks the page changed; the sheet enables its Apply button.
    void SetModified(bool modified = true);
    bool IsModified() const { return m_modified; }

    // Called by the sheet.
    virtual bool OnSetActive();  // false keeps the previous page
    virtual bool OnKillActive(); // default: UpdateData(true)
    virtual bool OnApply();      // default: OnOK(), then true
    virtual void OnOK();
    virtual void OnCancel();

protected:
    virtual bool OnInitDialog();
    virtual bool DoDataExchange(bool saveAndValidate);

private:
    friend class CZuPropertySheet;
    int m_templateId;
    std::string m_caption;
    CZuPropertySheet* m_sheet = nullptr;
    bool m_initialized = false;
    bool m_modified = false;
};
