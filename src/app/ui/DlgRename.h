#pragma once
// The rename dialog: one name, filled and read by the caller.
#include "platform/ui/ZuDialog.h"

#include <string>

class QLineEdit;

class CDlgRename : public CZuDialog
{
    Q_OBJECT
public:
    explicit CDlgRename(QWidget* parent = nullptr);
    std::string m_name; // text item 3137
    QLineEdit* NameEdit() const { return m_edit; }

protected:
    bool DoDataExchange(bool saveAndValidate) override;

private:
    QLineEdit* m_edit;
};
