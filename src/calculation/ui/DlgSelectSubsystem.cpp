#include "calculation/ui/DlgSelectSubsystem.h"

#include "platform/ui/UiTextTranslator.h"

#include "app/ModelProject.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/modeldb/3DModelDoc.h"
#include "platform/modeldb/ModelSubsystemSet.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/ui/DialogButtons.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CZuSubsystemTable SubsystemsOfKind(CModelProject* model, int kind)
{
    CZuSubsystemTable table;
    CModelSubsystemSet* set = model ? model->GetSubsystemSet() : nullptr;
    if (!set)
        return table;
    switch (kind) {
    case CDlgSelectSubsystem::kShells:
        set->GetShellsList(table);
        break;
    case CDlgSelectSubsystem::kCavities:
        set->GetSubsystemsList(table, CModelSubsystem::TYPE_CAVITY, 1);
        break;
    case CDlgSelectSubsystem::kAll:
        set->GetAllSubsystemsList(table);
        break;
    default:
        break;
    }
    return table;
}

CDlgSelectSubsystem::CDlgSelectSubsystem(CModelProject* model, QWidget* parent)
    : CZuDialog(parent, kTemplateId), m_pModelProject(model)
{
    setObjectName(QStringLiteral("DlgSelectSubsystem"));
    setWindowTitle(tr("Select Subsystem"));
    m_combo = new QComboBox(this);
    m_combo->setProperty(CUiTextTranslator::kDataTexts, true); // subsystem names
    m_combo->setObjectName(QStringLiteral("c3239"));
    m_combo->setMinimumWidth(220);
    m_waveBox = new QGroupBox(tr("Wave type"), this);
    m_waveBox->setObjectName(QStringLiteral("c3191"));
    auto* waveLayout = new QVBoxLayout(m_waveBox);
    m_wave = new QButtonGroup(this);
    const char* texts[3] = {"Extensional (-E)", "Shear (-S)", "By subsystem kind"};
    const char* ids[3] = {"c3187", "c3198", "c3187_2"};
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(tr(texts[i]), m_waveBox);
        r->setObjectName(QString::fromLatin1(ids[i]));
        m_wave->addButton(r, i);
        waveLayout->addWidget(r);
    }
    auto* buttons = CDialogButtons::OkCancel(this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    connect(m_combo, &QComboBox::activated, this, [this] { OnNameChosen(); });
    connect(m_combo, &QComboBox::currentTextChanged, this,
            [this] { m_ok->setEnabled(!m_combo->currentText().isEmpty()); });
    auto* form = new QFormLayout;
    form->addRow(tr("Subsystem:"), m_combo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_waveBox);
    layout->addWidget(buttons);
}

void CDlgSelectSubsystem::SetSubsystemKind(int kind)
{
    SetSubsystemTable(SubsystemsOfKind(m_pModelProject, kind), 0);
}

void CDlgSelectSubsystem::SetSubsystemTable(const CZuSubsystemTable& table, int removeWaveSign)
{
    m_table.Clear();
    for (std::string name : table.Names()) {
        if (removeWaveSign)
            CGfxUtil::RemoveWaveSign(name);
        m_table.AddUnique(name);
    }
    if (IsInitialized())
        FillCombo();
}

void CDlgSelectSubsystem::SetCaption(const std::string& caption)
{
    if (!caption.empty())
        setWindowTitle(QString::fromStdString(caption));
}

void CDlgSelectSubsystem::EnableWaveType(bool enable)
{
    m_bWaveType = enable;
    if (IsInitialized())
        UpdateWaveControls();
}

void CDlgSelectSubsystem::SetModeless(bool modeless, IMessageTarget* owner, intptr_t param)
{
    m_bModeless = modeless;
    m_owner = owner;
    m_nParam = param;
}

void CDlgSelectSubsystem::FillCombo()
{
    const QString current =
        m_combo->currentText().isEmpty() ? QString::fromStdString(m_strName) : m_combo->currentText();
    m_combo->clear();
    for (const std::string& name : m_table.Names())
        m_combo->addItem(QString::fromStdString(name));
    m_combo->setCurrentIndex(m_combo->findText(current, Qt::MatchExactly));
    m_ok->setEnabled(!m_combo->currentText().isEmpty());
}

void CDlgSelectSubsystem::UpdateWaveControls()
{
    m_waveBox->setEnabled(m_bWaveType);
    m_nWaveType = m_bWaveType ? 2 : -1;
    if (QAbstractButton* b = m_wave->button(m_nWaveType))
        b->setChecked(true);
    else if (m_wave->checkedButton()) {
        m_wave->setExclusive(false);
        m_wave->checkedButton()->setChecked(false);
        m_wave->setExclusive(true);
    }
}

bool CDlgSelectSubsystem::OnInitDialog()
{
    if (m_bModeless) {
        SetButtonText(m_ok, IDS_ADD);
        SetButtonText(m_cancel, IDS_CLOSE);
    }
    UpdateWaveControls();
    FillCombo();
    return true;
}

void CDlgSelectSubsystem::OnNameChosen()
{
    CZuSubsystemTable chosen;
    chosen.Add(m_combo->currentText().toStdString());
    C3DModelDoc::SelectInOpenDocuments(chosen);
}

std::string CDlgSelectSubsystem::WithWaveSuffix(const std::string& name, int choice, CModelProject* model)
{
    std::string result = name;
    switch (choice) {
    case 0:
        result += "-E";
        break;
    case 1:
        result += "-S";
        break;
    case 2:
        if (model)
            model->GetSubsystemType(result, 1);
        break;
    default:
        break;
    }
    return result;
}

void CDlgSelectSubsystem::OnOK()
{
    const std::string name = m_combo->currentText().toStdString();
    if (name.empty())
        return;
    m_nWaveType = m_wave->checkedId();
    m_strName = name;
    if (m_pModelProject && m_bWaveType)
        m_strName = WithWaveSuffix(name, m_nWaveType, m_pModelProject);
    if (m_bModeless) {
        if (m_owner)
            m_owner->SendMessage(WM_ZU_SUBSYSTEM_PICKED, kPickerOK, m_nParam);
        return;
    }
    EndDialog(IDOK);
}

void CDlgSelectSubsystem::OnCancel()
{
    if (m_bModeless) {
        if (m_owner)
            m_owner->SendMessage(WM_ZU_SUBSYSTEM_PICKED, kPickerCancel, m_nParam);
        return;
    }
    EndDialog(IDCANCEL);
}

int CDlgSelectSubsystem::PickName(QWidget* parent, const std::vector<std::string>& names)
{
    CZuSubsystemTable table;
    for (const auto& name : names)
        table.Add(name);
    CDlgSelectSubsystem picker(nullptr, parent);
    picker.SetSubsystemTable(table, 0);
    picker.EnableWaveType(false);
    if (picker.DoModal() != IDOK)
        return -1;
    return table.GetIndex(picker.m_strName);
}
