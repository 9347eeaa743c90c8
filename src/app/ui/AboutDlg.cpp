#include "app/ui/AboutDlg.h"

#include "app/VerRes.h"
#include "platform/base/Format.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : CZuDialog(parent, 100)
{
    setObjectName(QStringLiteral("AboutDlg"));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    m_version = new QLabel(this);
    m_version->setObjectName(QStringLiteral("Version2071"));
    m_copyright = new QLabel(this);
    m_copyright->setObjectName(QStringLiteral("Copyright2072"));
    auto* texts = new QVBoxLayout;
    texts->addWidget(m_version);
    texts->addWidget(m_copyright);
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addLayout(texts, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

bool CAboutDlg::OnInitDialog()
{
    CVerRes ver;
    ver.Read();
    const std::string description = ver.GetFileDescription();
    setWindowTitle(QString::fromStdString(Format("About %s", description.c_str())));
    m_version->setText(
        QString::fromStdString(Format("%s\nVersion. %s", description.c_str(), ver.GetVersionText().c_str())));
    m_copyright->setText(QString::fromStdString(ver.GetLegalCopyright()));
    return CZuDialog::OnInitDialog();
}
