#include "views/ui/DlgSrcTrgDefinition.h"

#include "platform/ui/UiTextTranslator.h"

#include "app/ModelProject.h"
#include "app/TALVOProject.h"
#include "platform/modeldb/3DModelDoc.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/ui/DialogButtons.h"
#include "calculation/ui/DlgSelectSubsystem.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMetaObject>
#include <QPushButton>

#include <algorithm>

CDlgSrcTrgDefinition* CDlgSrcTrgDefinition::CreateInstance(CTALVOProject* definition, QWidget* parent)
{
    CDlgSrcTrgDefinition* dialog =
        Instances().RegisterNew(ProgramKey(), [&] { return new CDlgSrcTrgDefinition(definition, parent); });
    if (dialog)
        dialog->Create();
    return dialog;
}

void CDlgSrcTrgDefinition::DestroyInstance()
{
    if (CDlgSrcTrgDefinition* dialog = GetInstance()) {
        dialog->ClosePicker();
        Instances().Close(ProgramKey());
    }
}

CDlgSrcTrgDefinition::CDlgSrcTrgDefinition(CTALVOProject* definition, QWidget* parent)
    : CZuDialog(parent, kTemplateId), m_pDefinition(definition)
{
    setObjectName(QStringLiteral("DlgSrcTrgDefinition"));
    setWindowTitle(tr("Target and Sources"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("c3244"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setMinimumSize(220, 200);
    m_target = new QComboBox(this);
    m_target->setProperty(CUiTextTranslator::kDataTexts, true); // subsystem names
    m_target->setObjectName(QStringLiteral("c3263"));
    m_target->setMinimumWidth(220);
    m_add = new QPushButton(tr("Add..."), this);
    m_add->setObjectName(QStringLiteral("c3001"));
    m_delete = new QPushButton(tr("Delete"), this);
    m_delete->setObjectName(QStringLiteral("c3230"));
    auto* buttons = CDialogButtons::OkCancel(this);
    connect(m_add, &QPushButton::clicked, this, [this] { OnAdd(); });
    connect(m_delete, &QPushButton::clicked, this, [this] { OnDelete(); });
    connect(m_target, &QComboBox::activated, this, [this] { OnTargetChosen(); });
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] { OnSourceSelectionChanged(); });
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(tr("Target subsystem:"), this), 0, 0);
    grid->addWidget(m_target, 0, 1, 1, 2);
    grid->addWidget(new QLabel(tr("Source subsystems:"), this), 1, 0, 1, 3);
    grid->addWidget(m_list, 2, 0, 3, 2);
    grid->addWidget(m_add, 2, 2);
    grid->addWidget(m_delete, 3, 2);
    grid->setRowStretch(4, 1);
    grid->addWidget(buttons, 5, 0, 1, 3);
}

CDlgSrcTrgDefinition::~CDlgSrcTrgDefinition()
{
    ClosePicker();
}

CZuSubsystemTable CDlgSrcTrgDefinition::ModelSubsystems() const
{
    CZuSubsystemTable* table = m_pDefinition ? m_pDefinition->GetModelSubsystemTable() : nullptr;
    return table ? *table : CZuSubsystemTable();
}

bool CDlgSrcTrgDefinition::OnInitDialog()
{
    if (m_pDefinition) {
        m_strTarget = m_pDefinition->GetTargetSubsystem();
        m_sources = m_pDefinition->GetSourceSubsystems();
    }
    FillSources();
    FillTargets();
    return true;
}

void CDlgSrcTrgDefinition::FillSources()
{
    m_list->clear();
    for (const std::string& name : m_sources.Names())
        m_list->addItem(QString::fromStdString(name));
}

void CDlgSrcTrgDefinition::FillTargets()
{
    m_target->clear();
    const CZuSubsystemTable model = ModelSubsystems();
    for (const std::string& name : model.Names())
        if (m_sources.GetIndex(name) < 0)
            m_target->addItem(QString::fromStdString(name));
    m_target->setCurrentIndex(m_target->findText(QString::fromStdString(m_strTarget), Qt::MatchExactly));
}

CZuSubsystemTable CDlgSrcTrgDefinition::Candidates() const
{
    CZuSubsystemTable result;
    const CZuSubsystemTable model = ModelSubsystems();
    for (const std::string& name : model.Names())
        if (m_sources.GetIndex(name) < 0 && name != m_strTarget)
            result.Add(name);
    return result;
}

void CDlgSrcTrgDefinition::UpdatePicker()
{
    if (m_picker)
        m_picker->SetSubsystemTable(Candidates(), 1);
}

void CDlgSrcTrgDefinition::ClosePicker()
{
    if (m_picker) {
        CDlgSelectSubsystem* picker = m_picker;
        m_picker = nullptr;
        picker->DestroyWindow();
    }
}

void CDlgSrcTrgDefinition::OnAdd()
{
    if (m_picker)
        return;
    auto* picker = new CDlgSelectSubsystem(m_pDefinition ? m_pDefinition->GetModelProject() : nullptr, this);
    picker->SetSubsystemTable(Candidates(), 1);
    picker->EnableWaveType(false);
    picker->SetCaption(LoadString(IDS_ADD_SOURCE_CAPTION));
    picker->SetModeless(true, this, 0);
    m_picker = picker;
    picker->Create();
}

intptr_t CDlgSrcTrgDefinition::SendMessage(uint32_t msg, uintptr_t wParam, intptr_t)
{
    if (msg != WM_ZU_SUBSYSTEM_PICKED || !m_picker)
        return 0;
    if (wParam == kPickerCancel) {
        ClosePicker();
        return 0;
    }
    const std::string name = m_picker->m_strName;
    if (name.empty())
        return 0;
    if (m_sources.GetIndex(name) >= 0) {
        AfxFormatMessageBox(IDS_SOURCE_LISTED, MB_OK | MB_ICONEXCLAMATION, name.c_str());
        return 0;
    }
    m_sources.Add(name);
    FillSources();
    FillTargets();
    UpdatePicker();
    return 0;
}

void CDlgSrcTrgDefinition::PostMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    QMetaObject::invokeMethod(
        this, [this, msg, wParam, lParam] { SendMessage(msg, wParam, lParam); }, Qt::QueuedConnection);
}

void CDlgSrcTrgDefinition::OnDelete()
{
    std::vector<int> rows;
    for (QListWidgetItem* item : m_list->selectedItems())
        rows.push_back(m_list->row(item));
    if (rows.empty())
        return;
    if (AfxMessageBox(IDS_DELETE_SOURCES, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    std::sort(rows.rbegin(), rows.rend());
    for (int row : rows)
        m_sources.RemoveAt(row);
    FillSources();
    FillTargets();
    UpdatePicker();
}

void CDlgSrcTrgDefinition::OnTargetChosen()
{
    m_strTarget = m_target->currentText().toStdString();
    UpdatePicker();
    CZuSubsystemTable chosen;
    chosen.Add(m_strTarget);
    C3DModelDoc::SelectInOpenDocuments(chosen);
}

void CDlgSrcTrgDefinition::OnSourceSelectionChanged()
{
    CZuSubsystemTable chosen;
    for (QListWidgetItem* item : m_list->selectedItems())
        chosen.Add(item->text().toStdString());
    C3DModelDoc::SelectInOpenDocuments(chosen);
}

void CDlgSrcTrgDefinition::OnOK()
{
    m_strTarget = m_target->currentText().toStdString();
    if (m_strTarget.empty()) {
        AfxMessageBox(IDS_NO_TARGET);
        return;
    }
    if (m_sources.IsEmpty()) {
        AfxMessageBox(IDS_NO_SOURCE);
        return;
    }
    if (m_sources.GetIndex(m_strTarget) >= 0) {
        AfxMessageBox(IDS_TARGET_IS_SOURCE);
        return;
    }
    if (m_pDefinition) {
        m_pDefinition->SetTargetSubsystem(m_strTarget);
        m_pDefinition->GetSourceSubsystems() = m_sources;
    }
    DestroyInstance();
}

void CDlgSrcTrgDefinition::OnCancel()
{
    m_strTarget.clear();
    m_sources.Clear();
    DestroyInstance();
}
