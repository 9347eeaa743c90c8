#include "acquisition/ui/DlgCheckExpPics.h"

#include "acquisition/DaqPictureFolder.h"
#include "acquisition/ui/DlgDaqPicture.h"
#include "platform/elements/ZuSubsystemTable.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <vector>

CDlgCheckExpPics::CDlgCheckExpPics(const CZuSubsystemTable* table, const std::string& workFolder, QWidget* parent)
    : CZuDialog(parent, IDD), m_table(table), m_workFolder(workFolder)
{
    setObjectName(QStringLiteral("DlgCheckExpPics"));
    setWindowTitle(QStringLiteral("Measurement Pictures"));
    auto* label = new QLabel(tr("These subsystems have no picture yet:"), this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("Control%1").arg(IDC_LIST));
    m_list->setMinimumSize(260, 180);
    m_picture = new QPushButton(tr("Picture..."), this);
    m_picture->setObjectName(QStringLiteral("Control%1").arg(IDC_PICTURE));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(m_picture);
    row->addStretch(1);
    row->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list, 1);
    layout->addLayout(row);
    connect(m_picture, &QPushButton::clicked, this, &CDlgCheckExpPics::OnPicture);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { OnPicture(); });
}

int CDlgCheckExpPics::DoModal()
{
    if (Refill() == 0)
        return IDOK;
    return CZuDialog::DoModal();
}

bool CDlgCheckExpPics::OnInitDialog()
{
    Refill();
    return CZuDialog::OnInitDialog();
}

int CDlgCheckExpPics::Refill()
{
    m_list->clear();
    const int count = m_table ? m_table->GetCount() : 0;
    for (int i = 0; i < count; ++i) {
        const std::string& name = (*m_table)[i];
        std::vector<std::string> names;
        if (CDaqPictureFolder(m_workFolder, name).List(names) == 0)
            m_list->addItem(QString::fromStdString(name));
    }
    return m_list->count();
}

void CDlgCheckExpPics::OnPicture()
{
    const QListWidgetItem* item = m_list->currentItem();
    if (!item)
        return;
    CDlgDaqPicture dialog(item->text().toStdString(), m_workFolder, this);
    dialog.DoModal();
    AfterChange();
}

void CDlgCheckExpPics::AfterChange()
{
    if (Refill() == 0)
        EndDialog(IDOK);
}
