#include "uff/ui/DlgImportUFDaqData.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

#include "platform/base/Format.h"
#include "platform/ui/ZuPropertySheet.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "platform/ui/DialogButtons.h"
#include "common/SubsystemManager.h"
#include "planning/ui/DlgDAQPPSSList.h"
#include "uff/MkExtDaqProject.h"
#include "uff/UFNodeMap.h"
#include "uff/ui/PPageUfOctave.h"
#include "calculation/ui/PPageOrderTracking.h"

namespace {

std::string FileTitle(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
} // namespace

CDlgImportUFDaqData::CDlgImportUFDaqData(CUFImportSettings& settings, QWidget* parent)
    : CZuDialog(parent, IDD), m_settings(settings)
{
    setObjectName(QStringLiteral("DlgImportUFDaqData"));
    setWindowTitle(tr("Import Universal Files"));

    m_files = new QTreeWidget(this);
    m_files->setObjectName(QStringLiteral("c%1").arg(IDC_FILES));
    m_files->setHeaderLabels({tr("File Name"), tr("File Path")});
    m_files->setColumnWidth(0, 150);
    m_files->setColumnWidth(1, 200);
    m_files->setRootIsDecorated(false);
    m_files->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_files->setMinimumSize(380, 160);
    auto* add = new QPushButton(tr("Add..."), this);
    add->setObjectName(QStringLiteral("c%1").arg(IDC_ADD));
    auto* remove = new QPushButton(tr("Remove"), this);
    remove->setObjectName(QStringLiteral("c%1").arg(IDC_REMOVE));
    auto* options = new QPushButton(tr("Options..."), this);
    options->setObjectName(QStringLiteral("c%1").arg(IDC_OPTIONS));

    auto* rpmBox = new QGroupBox(tr("Engine speed"), this);
    auto* rpmLayout = new QGridLayout(rpmBox);
    m_choices = new QButtonGroup(this);
    const char* texts[3] = {"One fixed RPM:", "RPM of each dataset (run-up)", "Order functions of order:"};
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(tr(texts[i]), rpmBox);
        r->setObjectName(QStringLiteral("c%1").arg(IDC_FIRST_CHOICE + i));
        m_choices->addButton(r, i);
        rpmLayout->addWidget(r, i, 0);
    }
    m_rpm = new QLineEdit(rpmBox);
    m_rpm->setObjectName(QStringLiteral("c%1").arg(IDC_RPM));
    m_rpm->setValidator(new QIntValidator(0, 100000, m_rpm));
    m_order = new QLineEdit(rpmBox);
    m_order->setObjectName(QStringLiteral("c%1").arg(IDC_ORDER));
    // Room for the largest RPM and a typed order without scrolling.
    for (QLineEdit* edit : {m_rpm, m_order})
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
    rpmLayout->addWidget(m_rpm, 0, 1);
    rpmLayout->addWidget(m_order, 2, 1);

    auto* readBox = new QGroupBox(tr("Reading"), this);
    auto* readLayout = new QVBoxLayout(readBox);
    readLayout->addWidget(new QLabel(tr("Structure spectra:"), readBox));
    m_structure = new QListWidget(readBox);
    m_structure->setObjectName(QStringLiteral("c%1").arg(IDC_STRUCTURE));
    m_structure->addItems({QString(), QString()});
    TranslateStructureItems();
    m_structure->setMaximumHeight(48);
    m_names = new QCheckBox(tr("Subsystems from the datasets' point names"), readBox);
    m_names->setObjectName(QStringLiteral("c%1").arg(IDC_NAMES_FROM_DATASET));
    // Checking it shows the short names the datasets' point names are matched against.
    connect(m_names, &QCheckBox::clicked, this, [this](bool checked) {
        if (checked)
            OnShowShortNames();
    });
    m_snap = new QCheckBox(tr("Later files take the RPMs of the first run"), readBox);
    m_snap->setObjectName(QStringLiteral("c%1").arg(IDC_SNAP));
    readLayout->addWidget(m_structure);
    readLayout->addWidget(m_names);
    readLayout->addWidget(m_snap);

    // The node table: which node of the datasets is which local point of which subsystem.
    auto* nodeLabel = new QLabel(tr("Node table:"), this);
    m_nodeTable = new QLineEdit(this);
    m_nodeTable->setObjectName(QStringLiteral("c%1").arg(IDC_NODE_TABLE));
    m_nodeTable->setReadOnly(true);
    nodeLabel->setBuddy(m_nodeTable);
    auto* openTable = new QPushButton(tr("Node Table..."), this);
    openTable->setObjectName(QStringLiteral("c%1").arg(IDC_NODE_TABLE_OPEN));
    auto* nodeRow = new QHBoxLayout;
    nodeRow->addWidget(nodeLabel);
    nodeRow->addWidget(m_nodeTable, 1);
    nodeRow->addWidget(openTable);

    auto* buttons = CDialogButtons::OkCancel(this);
    m_ok = buttons->button(QDialogButtonBox::Ok);

    auto* side = new QVBoxLayout;
    side->addWidget(add);
    side->addWidget(remove);
    side->addStretch(1);
    side->addWidget(options);
    auto* top = new QHBoxLayout;
    top->addWidget(m_files, 1);
    top->addLayout(side);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(rpmBox);
    bottom->addWidget(readBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(nodeRow);
    layout->addLayout(bottom);
    layout->addWidget(buttons);

    connect(add, &QPushButton::clicked, this, [this] { OnAddFiles(); });
    connect(remove, &QPushButton::clicked, this, [this] { OnRemoveFiles(); });
    connect(options, &QPushButton::clicked, this, [this] { OnOptions(); });
    connect(openTable, &QPushButton::clicked, this, [this] { OnOpenNodeTable(); });
}

bool CDlgImportUFDaqData::OnInitDialog()
{
    m_ok->setEnabled(false);
    CZuDialog::OnInitDialog();
    FillList();
    TakeNodeTableBeside();
    ShowNodeTable();
    if (parentWidget())
        move(parentWidget()->geometry().center() - rect().center());
    return true;
}

bool CDlgImportUFDaqData::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_settings.choice = std::max(0, m_choices->checkedId());
        m_settings.fixedRpm = m_rpm->text().toInt();
        m_settings.orderText = m_order->text().toStdString();
        m_settings.structureOption = std::max(0, m_structure->currentRow());
        m_settings.namesFromDataset = m_names->isChecked() ? 1 : 0;
        m_settings.snap = m_snap->isChecked() ? 1 : 0;
        return true;
    }
    if (QAbstractButton* b = m_choices->button(m_settings.choice))
        b->setChecked(true);
    m_rpm->setText(QString::number(m_settings.fixedRpm));
    m_order->setText(QString::fromStdString(m_settings.orderText));
    m_structure->setCurrentRow(m_settings.structureOption);
    m_names->setChecked(m_settings.namesFromDataset != 0);
    m_snap->setChecked(m_settings.snap != 0);
    return true;
}

void CDlgImportUFDaqData::FillList()
{
    m_files->clear();
    if (m_settings.files) {
        for (size_t i = 0; i < m_settings.files->size(); ++i) {
            const std::string& path = (*m_settings.files)[i];
            auto* item = new QTreeWidgetItem(m_files);
            item->setText(0, QString::fromStdString(FileTitle(path)));
            item->setText(1, QString::fromStdString(FolderOf(path)));
            item->setToolTip(1, QString::fromStdString(path));
            item->setData(0, Qt::UserRole, static_cast<int>(i));
        }
    }
    m_ok->setEnabled(m_files->topLevelItemCount() > 0);
}

void CDlgImportUFDaqData::OnAddFiles()
{
    if (!m_settings.files)
        return;
    FileChooserOptions options;
    options.title = "Open Universal File";
    options.filter = LoadString(IDS_UF_FILTER);
    options.allowMultiple = true;
    std::vector<std::string> paths;
    if (!PromptOpenFiles(options, paths))
        return;
    for (const std::string& p : paths)
        if (std::find(m_settings.files->begin(), m_settings.files->end(), p) == m_settings.files->end())
            m_settings.files->push_back(p);
    FillList();
    TakeNodeTableBeside();
    ShowNodeTable();
}

void CDlgImportUFDaqData::TranslateStructureItems()
{
    const char* english[2] = {"In the units of the file", "In g (converted to m/s2)"};
    for (int i = 0; i < 2 && i < m_structure->count(); ++i)
        m_structure->item(i)->setText(QString::fromStdString(TranslateText(english[i])));
}

void CDlgImportUFDaqData::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        TranslateStructureItems();
    CZuDialog::changeEvent(event);
}

void CDlgImportUFDaqData::TakeNodeTableBeside()
{
    if (!m_settings.nodeMap || !m_settings.files || m_settings.nodeMap->GetCount() > 0)
        return;
    const std::string path = CMkExtDaqProject::FindNodeTable(*m_settings.files);
    std::string why;
    if (!path.empty() && CMkExtDaqProject::LoadNodeTable(path, *m_settings.nodeMap, why))
        m_settings.nodeTable = path;
}

void CDlgImportUFDaqData::ShowNodeTable()
{
    m_nodeTable->setText(QString::fromStdString(m_settings.nodeTable));
    m_nodeTable->setToolTip(m_nodeTable->text());
    const bool known = m_settings.nodeMap && m_settings.nodeMap->GetCount() > 0;
    m_nodeTable->setPlaceholderText(known ? tr("The project's node table")
                                          : tr("None: choose the table that names the nodes"));
}

void CDlgImportUFDaqData::OnOpenNodeTable()
{
    if (!m_settings.nodeMap)
        return;
    FileChooserOptions options;
    options.title = "Open Node Table";
    options.filter = "Node Tables (*.txt)|*.txt|All Files (*.*)|*.*||";
    options.initialName = CUFNodeMap::kTableFileName;
    if (!m_settings.nodeTable.empty())
        options.initialFolder = FolderOf(m_settings.nodeTable);
    else if (m_settings.files && !m_settings.files->empty())
        options.initialFolder = FolderOf(m_settings.files->front());
    std::string path;
    if (!PromptOpenFile(options, path))
        return;
    std::string why;
    if (!CMkExtDaqProject::LoadNodeTable(path, *m_settings.nodeMap, why)) {
        AfxFormatMessageBox(IDS_UF_NODE_TABLE_UNREADABLE, MB_OK | MB_ICONEXCLAMATION, path.c_str(), why.c_str());
        return;
    }
    m_settings.nodeTable = path;
    ShowNodeTable();
}

void CDlgImportUFDaqData::OnRemoveFiles()
{
    if (!m_settings.files)
        return;
    std::set<int> rows;
    for (QTreeWidgetItem* item : m_files->selectedItems())
        rows.insert(item->data(0, Qt::UserRole).toInt());
    if (rows.empty() || AfxMessageBox(IDS_DELETE_SELECTED, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        if (*it >= 0 && *it < static_cast<int>(m_settings.files->size()))
            m_settings.files->erase(m_settings.files->begin() + *it);
    FillList();
}

bool CDlgImportUFDaqData::OnOptions()
{
    UpdateData(true);
    CZuPropertySheet sheet(LoadString(IDS_CALC_OPTIONS), this);
    auto* octave = new CPPageUfOctave;
    octave->SetOctaveManagers(m_settings.modelBands, m_settings.bands);
    octave->SetReadOnly(!m_settings.bands || !m_settings.modelBands);
    octave->SetValueChoiceAllowed(m_settings.choice == 0);
    octave->SetBandValue(&m_settings.coefficient);
    octave->SetCheckTarget(&m_settings.doubling);
    octave->SetOptionTarget(&m_settings.coefficientSwitch);
    sheet.AddPage(octave);
    if (m_settings.calcOptions) {
        auto* tracking = new CPPageOrderTracking;
        tracking->SetCalcOptions(m_settings.calcOptions);
        tracking->SetReadOnly(false);
        sheet.AddPage(tracking);
    }
    return sheet.DoModal() == IDOK;
}

void CDlgImportUFDaqData::OnShowShortNames()
{
    if (!m_settings.subsystems || !m_settings.shortNames)
        return;
    CSubsystemManager manager(m_settings.subsystems, m_settings.shortNames);
    CDlgDAQPPSSList dialog(this);
    dialog.SetSubsystems(m_settings.subsystems, &manager);
    dialog.DoModal();
}
