#include "views/ui/DlgSelectSubsystemPair.h"

#include "platform/ui/UiTextTranslator.h"

#include "app/ModelProject.h"
#include "models/HSEAResultData.h"
#include "platform/elements/ZuData.h"
#include "platform/modeldb/3DModelDoc.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/ui/DialogButtons.h"
#include "calculation/ui/DlgSelectSubsystem.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
QGroupBox* MakeWaveBox(QWidget* parent, QButtonGroup*& group, const char* frameId, const char* id0, const char* id1)
{
    auto* box = new QGroupBox(QObject::tr("Wave type"), parent);
    box->setObjectName(QString::fromLatin1(frameId));
    auto* layout = new QVBoxLayout(box);
    group = new QButtonGroup(parent);
    const char* texts[3] = {"Extensional (-E)", "Shear (-S)", "By subsystem kind"};
    const QString ids[3] = {QString::fromLatin1(id0), QString::fromLatin1(id1), QString::fromLatin1(id0) + "_2"};
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(QObject::tr(texts[i]), box);
        r->setObjectName(ids[i]);
        group->addButton(r, i);
        layout->addWidget(r);
    }
    return box;
}
} // namespace

CDlgSelectSubsystemPair::CDlgSelectSubsystemPair(CModelProject* model, QWidget* parent)
    : CZuDialog(parent, kTemplateId), m_pModelProject(model)
{
    setObjectName(QStringLiteral("DlgSelectSubsystemPair"));
    setWindowTitle(tr("Select Subsystems"));
    m_first = new QComboBox(this);
    m_first->setProperty(CUiTextTranslator::kDataTexts, true); // subsystem names
    m_first->setObjectName(QStringLiteral("c3260"));
    m_first->setMinimumWidth(200);
    m_second = new QComboBox(this);
    m_second->setProperty(CUiTextTranslator::kDataTexts, true);
    m_second->setObjectName(QStringLiteral("c3261"));
    m_second->setMinimumWidth(200);
    m_waveBox1 = MakeWaveBox(this, m_wave1, "c3191", "c3187", "c3198");
    m_waveBox2 = MakeWaveBox(this, m_wave2, "c3192", "c3188", "c3199");
    auto* buttons = CDialogButtons::OkCancel(this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    connect(m_first, &QComboBox::activated, this, [this] { ChooseFirst(m_first->currentText()); });
    connect(m_second, &QComboBox::activated, this, [this] { ChooseSecond(m_second->currentText()); });
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("First subsystem:"), this), 0, 0);
    grid->addWidget(new QLabel(tr("Second subsystem:"), this), 0, 1);
    grid->addWidget(m_first, 1, 0);
    grid->addWidget(m_second, 1, 1);
    grid->addWidget(m_waveBox1, 2, 0);
    grid->addWidget(m_waveBox2, 2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

void CDlgSelectSubsystemPair::SetSubsystemKind(int kind)
{
    m_table = SubsystemsOfKind(m_pModelProject, kind);
}

void CDlgSelectSubsystemPair::SetCaption(const std::string& caption)
{
    if (!caption.empty())
        setWindowTitle(QString::fromStdString(caption));
}

void CDlgSelectSubsystemPair::EnableWaveType(bool enable)
{
    m_bWaveType = enable;
    if (IsInitialized())
        UpdateWaveControls();
}

void CDlgSelectSubsystemPair::SetModeless(bool modeless, IMessageTarget* owner, intptr_t param)
{
    m_bModeless = modeless;
    m_owner = owner;
    m_nParam = param;
}

void CDlgSelectSubsystemPair::UpdateWaveControls()
{
    m_waveBox1->setEnabled(m_bWaveType);
    m_waveBox2->setEnabled(m_bWaveType);
    m_nWaveType1 = m_nWaveType2 = m_bWaveType ? 2 : -1;
    for (QButtonGroup* g : {m_wave1, m_wave2}) {
        if (QAbstractButton* b = g->button(m_bWaveType ? 2 : -1))
            b->setChecked(true);
        else if (g->checkedButton()) {
            g->setExclusive(false);
            g->checkedButton()->setChecked(false);
            g->setExclusive(true);
        }
    }
}

bool CDlgSelectSubsystemPair::OnInitDialog()
{
    if (m_bModeless) {
        SetButtonText(m_ok, IDS_ADD);
        SetButtonText(m_cancel, IDS_CLOSE);
    }
    UpdateWaveControls();
    m_first->clear();
    m_second->clear();
    if (!m_strName1.empty() && !m_strName2.empty()) {
        m_first->addItem(QString::fromStdString(m_strName1));
        m_second->addItem(QString::fromStdString(m_strName2));
        m_ok->setEnabled(true);
        return true;
    }
    for (const std::string& name : m_table.Names())
        m_first->addItem(QString::fromStdString(name));
    m_first->setCurrentIndex(-1);
    m_second->setEnabled(false);
    m_ok->setEnabled(false);
    return true;
}

bool CDlgSelectSubsystemPair::IsConnected(const std::string& a, const std::string& b) const
{
    // A result of the hybrid model keeps no couplings of its own: the model it was solved with
    // tells which subsystems are coupled.
    if (const auto* result = dynamic_cast<const CHSEAResultData*>(m_pElement))
        return result->IsModelConnected(a, b, -1) != 0;
    CZuData* shell = m_pModelProject ? m_pModelProject->GetModelShell(0) : nullptr;
    return shell && shell->IsConnected(a, b);
}

void CDlgSelectSubsystemPair::ChooseFirst(const QString& name)
{
    m_first->setCurrentIndex(m_first->findText(name, Qt::MatchExactly));
    const std::string first = name.toStdString();
    m_second->clear();
    for (const std::string& candidate : m_table.Names()) {
        if (m_bConnectionCheck) {
            if (candidate == first && !m_bSameName)
                continue;
            if (!IsConnected(first, candidate))
                continue;
        } else if (candidate == first) {
            continue;
        }
        m_second->addItem(QString::fromStdString(candidate));
    }
    m_second->setCurrentIndex(-1);
    m_second->setEnabled(true);
    m_ok->setEnabled(false);
    CZuSubsystemTable chosen;
    chosen.Add(first);
    C3DModelDoc::SelectInOpenDocuments(chosen);
}

void CDlgSelectSubsystemPair::ChooseSecond(const QString& name)
{
    const int i = m_second->findText(name, Qt::MatchExactly);
    if (i < 0)
        return;
    m_second->setCurrentIndex(i);
    m_ok->setEnabled(true);
}

void CDlgSelectSubsystemPair::OnOK()
{
    if (!m_ok->isEnabled() || m_first->currentText().isEmpty() || m_second->currentText().isEmpty())
        return;
    m_nWaveType1 = m_wave1->checkedId();
    m_nWaveType2 = m_wave2->checkedId();
    m_strName1 = m_first->currentText().toStdString();
    m_strName2 = m_second->currentText().toStdString();
    if (m_pModelProject && m_bWaveType) {
        m_strName1 = CDlgSelectSubsystem::WithWaveSuffix(m_strName1, m_nWaveType1, m_pModelProject);
        m_strName2 = CDlgSelectSubsystem::WithWaveSuffix(m_strName2, m_nWaveType2, m_pModelProject);
    }
    if (m_bModeless) {
        if (m_owner)
            m_owner->SendMessage(WM_ZU_SUBSYSTEM_PAIR_PICKED, kPickerOK, m_nParam);
        return;
    }
    EndDialog(IDOK);
}

void CDlgSelectSubsystemPair::OnCancel()
{
    if (m_bModeless) {
        if (m_owner)
            m_owner->SendMessage(WM_ZU_SUBSYSTEM_PAIR_PICKED, kPickerCancel, m_nParam);
        return;
    }
    EndDialog(IDCANCEL);
}
