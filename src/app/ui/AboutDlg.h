#pragma once
// The about box: the program's description, version and legal notice from its version information.
#include "platform/ui/ZuDialog.h"

class QLabel;

class CAboutDlg : public CZuDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    QLabel* VersionLabel() const { return m_version; }     // static 2071
    QLabel* CopyrightLabel() const { return m_copyright; } // static 2072

protected:
    bool OnInitDialog() override;

private:
    QLabel* m_version;
    QLabel* m_copyright;
};
