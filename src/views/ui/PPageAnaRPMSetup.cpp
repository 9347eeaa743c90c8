#include "views/ui/PPageAnaRPMSetup.h"

#include "platform/base/Format.h"
#include "platform/ui/DlgInputBox.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

#include <QDoubleValidator>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cstdlib>

namespace {
// Our own messages: a range that gives no RPM at all.
constexpr const char* kBadStep = "The RPM step must be greater than 0.";
constexpr const char* kBadRange = "The minimum RPM must not be above the maximum RPM.";

QString Num(double v)
{
    return QString::fromStdString(Format("%g", v));
}

// What the page mode allows: radios, min/max editable, step editable, list enabled, list step
// editable, Add/Delete enabled.
struct ModeRule
{
    bool radios, minMax, step, list, listStep, buttons;
};
constexpr ModeRule kModes[5] = {
    {true, true, true, true, true, true},      // 0: everything
    {false, true, true, false, false, false},  // 1: the range only
    {false, false, false, true, true, false},  // 2: the list step only
    {false, false, false, true, false, false}, // 3: view only
    {false, false, false, true, true, true},   // 4: the list and its step
};
} // namespace

CPPageAnaRPMSetup::CPPageAnaRPMSetup() : CZuPropertyPage(kTemplateId, "RPM")
{
    setObjectName(QStringLiteral("PPageAnaRPMSetup"));
    m_rangeRadio = new QRadioButton(tr("RPM range"), this);
    m_rangeRadio->setObjectName(QStringLiteral("c3212"));
    m_listRadio = new QRadioButton(tr("RPM list"), this);
    m_listRadio->setObjectName(QStringLiteral("c3211"));
    auto makeEdit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setValidator(new QDoubleValidator(e));
        e->setMinimumWidth(90);
        connect(e, &QLineEdit::textEdited, this, [this, e] { OnEditChanged(e); });
        return e;
    };
    m_minEdit = makeEdit("c3125");
    m_maxEdit = makeEdit("c3090");
    m_stepEdit = makeEdit("c3117");
    m_listStepEdit = makeEdit("c3079");
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("c3160"));
    m_list->setMinimumHeight(120);
    m_add = new QPushButton(tr("Add..."), this);
    m_add->setObjectName(QStringLiteral("c3001"));
    m_delete = new QPushButton(tr("Delete"), this);
    m_delete->setObjectName(QStringLiteral("c3230"));

    auto* range = new QGroupBox(this);
    auto* rangeForm = new QFormLayout(range);
    rangeForm->addRow(m_rangeRadio);
    rangeForm->addRow(tr("Minimum [RPM]:"), m_minEdit);
    rangeForm->addRow(tr("Maximum [RPM]:"), m_maxEdit);
    rangeForm->addRow(tr("Step [RPM]:"), m_stepEdit);
    auto* list = new QGroupBox(this);
    auto* listLayout = new QGridLayout(list);
    listLayout->addWidget(m_listRadio, 0, 0, 1, 2);
    listLayout->addWidget(m_list, 1, 0, 3, 1);
    listLayout->addWidget(m_add, 1, 1);
    listLayout->addWidget(m_delete, 2, 1);
    listLayout->setRowStretch(3, 1);
    auto* stepRow = new QHBoxLayout;
    stepRow->addWidget(new QLabel(tr("Step [RPM]:"), list));
    stepRow->addWidget(m_listStepEdit);
    listLayout->addLayout(stepRow, 4, 0, 1, 2);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(range, 0, Qt::AlignTop);
    layout->addWidget(list, 1);

    connect(m_rangeRadio, &QRadioButton::clicked, this, [this] { OnModeRadio(CRPMOptions::modeRange); });
    connect(m_listRadio, &QRadioButton::clicked, this, [this] { OnModeRadio(CRPMOptions::modeList); });
    connect(m_add, &QPushButton::clicked, this, [this] { OnAdd(); });
    connect(m_delete, &QPushButton::clicked, this, [this] { OnDelete(); });
}

bool CPPageAnaRPMSetup::OnInitDialog()
{
    if (!m_pOptions)
        return true; // unbound: an empty page
    m_options = *m_pOptions;
    ShowCopy();
    return true;
}

void CPPageAnaRPMSetup::ShowCopy()
{
    m_filling = true;
    m_badStep = false;
    const bool listMode = m_options.GetMode() == CRPMOptions::modeList;
    m_rangeRadio->setChecked(!listMode);
    m_listRadio->setChecked(listMode);
    m_minEdit->setText(Num(m_options.GetRpmMin()));
    m_maxEdit->setText(Num(m_options.GetRpmMax()));
    m_stepEdit->setText(Num(m_options.GetRpmStep()));
    m_list->clear();
    for (float v : *m_options.GetRpmList())
        m_list->addItem(Num(v));
    m_listStepEdit->setText(Num(m_options.GetListStep()));
    for (QWidget* w :
         {static_cast<QWidget*>(m_minEdit), static_cast<QWidget*>(m_maxEdit), static_cast<QWidget*>(m_stepEdit)})
        w->setEnabled(!listMode);
    for (QWidget* w : {static_cast<QWidget*>(m_list), static_cast<QWidget*>(m_listStepEdit),
                       static_cast<QWidget*>(m_add), static_cast<QWidget*>(m_delete)})
        w->setEnabled(listMode);
    m_filling = false;
    ApplyPageMode();
}

void CPPageAnaRPMSetup::ApplyPageMode()
{
    const ModeRule& rule = kModes[m_nMode >= 0 && m_nMode < 5 ? m_nMode : 3];
    m_rangeRadio->setEnabled(rule.radios);
    m_listRadio->setEnabled(rule.radios);
    m_minEdit->setReadOnly(!rule.minMax);
    m_maxEdit->setReadOnly(!rule.minMax);
    m_stepEdit->setReadOnly(!rule.step);
    m_listStepEdit->setReadOnly(!rule.listStep);
    // The mode only takes away what the options' own mode allows.
    if (!rule.list)
        m_list->setEnabled(false);
    if (!rule.buttons) {
        m_add->setEnabled(false);
        m_delete->setEnabled(false);
    }
}

void CPPageAnaRPMSetup::OnEditChanged(QLineEdit* edit)
{
    if (m_filling || !m_pOptions)
        return;
    const float v = edit->text().toFloat();
    bool differs = false;
    if (edit == m_minEdit) {
        differs = v != m_pOptions->GetRpmMin();
        m_options.SetRpmMin(v);
    } else if (edit == m_maxEdit) {
        differs = v != m_pOptions->GetRpmMax();
        m_options.SetRpmMax(v);
    } else if (edit == m_stepEdit) {
        differs = v != m_pOptions->GetRpmStep();
        // The options refuse a step that is not above 0; Apply then refuses the range with a message.
        m_badStep = !m_options.SetRpmStep(v);
    } else if (edit == m_listStepEdit) {
        differs = v != m_pOptions->GetRpmStep();
        m_options.SetListStep(v);
    }
    if (differs)
        SetModified(true);
}

void CPPageAnaRPMSetup::OnModeRadio(int rpmMode)
{
    m_options.SetMode(rpmMode);
    ShowCopy();
    SetModified(true);
}

void CPPageAnaRPMSetup::OnAdd()
{
    std::string text;
    if (!InputBox(LoadString(IDS_RPM_ADD_PROMPT), LoadString(IDS_RPM_ADD_CAPTION), text, this))
        return;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value < 1) {
        AfxMessageBox(IDS_RPM_VALUE_TOO_SMALL);
        return;
    }
    std::vector<float>& list = *m_options.GetRpmList();
    list.push_back(float(value));
    // Exchange sort: equal values keep their places, so a value may be listed twice.
    for (size_t i = 0; i < list.size(); ++i)
        for (size_t j = i + 1; j < list.size(); ++j)
            if (list[j] < list[i])
                std::swap(list[i], list[j]);
    ShowCopy();
    SetModified(true);
}

void CPPageAnaRPMSetup::OnDelete()
{
    const int row = m_list->currentRow();
    if (row < 0)
        return;
    if (AfxMessageBox(IDS_RPM_DELETE_QUESTION, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    delete m_list->takeItem(row);
    std::vector<float>& list = *m_options.GetRpmList();
    list.clear();
    for (int i = 0; i < m_list->count(); ++i)
        list.push_back(std::strtof(m_list->item(i)->text().toStdString().c_str(), nullptr));
    ShowCopy();
    SetModified(true);
}

bool CPPageAnaRPMSetup::OnApply()
{
    if (!m_pOptions || !IsInitialized() || m_nMode == 3)
        return true;
    if (m_options.GetMode() == CRPMOptions::modeList && m_options.GetRpmList()->empty()) {
        AfxMessageBox(IDS_RPM_LIST_EMPTY);
        return false;
    }
    if (m_options.GetMode() == CRPMOptions::modeRange) {
        // A range must give at least one RPM and must end: refused here rather than stored.
        if (m_badStep || !(m_options.GetRpmStep() > 0.0f)) {
            AfxMessageBox(kBadStep, MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        if (m_options.GetRpmMin() > m_options.GetRpmMax()) {
            AfxMessageBox(kBadRange, MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
    }
    *m_pOptions = m_options;
    return true;
}
