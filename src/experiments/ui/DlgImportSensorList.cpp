#include "experiments/ui/DlgImportSensorList.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/win/CommandGuard.h"
#include "platform/win/PromptService.h"
#include "platform/win/WaitCursor.h"

CDlgImportSensorList::CDlgImportSensorList(const std::string& path, QWidget* parent)
    : CZuDialog(parent, 4030), m_path(path)
{
    setObjectName(QStringLiteral("DlgImportSensorList"));
    setWindowTitle(QStringLiteral("Import Sensors from a Workbook"));
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("List3165"));
    m_list->setRootIsDecorated(false);
    m_list->setAlternatingRowColors(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setHeaderLabels({QStringLiteral("Sensor ID"), QStringLiteral("Manufacturer"), QStringLiteral("Model"),
                             QStringLiteral("Serial No."), QStringLiteral("Sensitivity"), QStringLiteral("Unit"),
                             QStringLiteral("Limit"), QStringLiteral("Comment")});
    m_list->setColumnWidth(0, 120);
    for (int c = 1; c < 8; ++c)
        m_list->setColumnWidth(c, 100);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OK3006"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Add Selected"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(900, 420);
}

CDlgImportSensorList::~CDlgImportSensorList() = default;

CDlgImportSensorList* CDlgImportSensorList::CreateInstance(const void* key, const std::string& path, QWidget* parent)
{
    return Instances().RegisterNew(key, [&] { return new CDlgImportSensorList(path, parent); });
}

bool CDlgImportSensorList::OnInitDialog()
{
    CWaitCursor wait;
    CImportSensorListFromExcel import;
    // A workbook too large for this computer leaves the list empty and says so.
    const bool read = RunCommandGuarded([&] { return import.Read(m_path); });
    m_title = import.GetTitle();
    // A workbook that cannot be read is reported; one that lacks a sheet still shows the others.
    if (!read && !import.ErrorText().empty())
        AfxMessageBox(import.ErrorText(), MB_ICONEXCLAMATION);
    const QStyle::StandardPixmap icons[] = {QStyle::SP_DriveHDIcon, QStyle::SP_MediaVolume, QStyle::SP_ArrowDown};
    using I = CImportSensorListFromExcel;
    for (int s = 0; s < I::kSheetCount; ++s)
        for (int r = 0; r < import.GetRowCount(s); ++r) {
            auto* item = new QTreeWidgetItem(m_list);
            const std::string texts[] = {
                import.GetCell(s, I::colID, r),          import.GetCell(s, I::colManufacturer, r),
                import.GetCell(s, I::colModel, r),       import.GetCell(s, I::colSerial, r),
                import.GetCell(s, I::colSensitivity, r), import.GetUnitText(s, r),
                import.GetCell(s, I::colLimit, r),       import.GetCell(s, I::colComment, r)};
            for (int c = 0; c < 8; ++c)
                item->setText(c, QString::fromStdString(texts[c]));
            item->setIcon(0, style()->standardIcon(icons[s]));
            item->setData(0, Qt::UserRole, s + 1); // the sheet's image: 1, 2, 3
        }
    return CZuDialog::OnInitDialog();
}

void CDlgImportSensorList::OnOK()
{
    // All rows go over at once, so that the owner checks them against its catalogue once and
    // reports every refused row in one message.
    std::vector<tagSENSORINFO> records;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_list->topLevelItem(i);
        if (!item->isSelected())
            continue;
        std::vector<std::string> columns;
        for (int c = 0; c < 8; ++c)
            columns.push_back(item->text(c).toStdString());
        records.push_back(CImportSensorListFromExcel::MakeSensorInfo(columns, item->data(0, Qt::UserRole).toInt()));
    }
    if (onRecords && !records.empty())
        RunCommandGuarded([&] {
            onRecords(records);
            return true;
        });
    // The dialog stays open.
}

bool CDlgImportSensorList::event(QEvent* e)
{
    // A double click on the caption rolls the dialog up to its caption and back.
    if (e->type() == QEvent::NonClientAreaMouseButtonDblClick) {
        if (m_restoreHeight > 0) {
            resize(width(), m_restoreHeight);
            m_restoreHeight = 0;
        } else {
            m_restoreHeight = height();
            resize(width(), style()->pixelMetric(QStyle::PM_TitleBarHeight));
        }
        return true;
    }
    return CZuDialog::event(e);
}
