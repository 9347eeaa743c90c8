#include "app/ui/DlgInputPowerData.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/InputPowerSets.h"
#include "app/ui/DlgCalcProgress.h"
#include "app/ModelProject.h"
#include "app/TALVOApp.h"
#include "app/ui/DlgRename.h"
#include "models/HSEAGeneralData.h"
#include "platform/elements/ZuPowerFunc.h"
#include "platform/win/MessageTarget.h"
#include "platform/win/Messages.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/ui/DialogButtons.h"

namespace {
CDlgInputPowerData::SubsystemChooser& Chooser()
{
    static CDlgInputPowerData::SubsystemChooser chooser;
    return chooser;
}

constexpr int kButtonIds[] = {CDlgInputPowerData::IDC_NEW_SET,         CDlgInputPowerData::IDC_RENAME_SET,
                              CDlgInputPowerData::IDC_DELETE_SET,      CDlgInputPowerData::IDC_ADD_FUNCTION,
                              CDlgInputPowerData::IDC_DELETE_FUNCTION, CDlgInputPowerData::IDC_OPEN};
} // namespace

void CDlgInputPowerData::SetSubsystemChooser(SubsystemChooser chooser)
{
    Chooser() = std::move(chooser);
}

bool CDlgInputPowerData::HasSubsystemChooser()
{
    return static_cast<bool>(Chooser());
}

CDlgInputPowerData::CDlgInputPowerData(CModelProject* project, IMessageTarget* owner, QWidget* parent)
    : CZuDialog(parent, IDD), m_project(project), m_owner(owner)
{
    setWindowTitle(tr("Input Power Data"));
    auto* layout = new QVBoxLayout(this);
    auto* setRow = new QHBoxLayout;
    setRow->addWidget(new QLabel(tr("Set:"), this));
    m_sets = new QComboBox(this);
    m_sets->setObjectName("sets");
    m_sets->setMinimumWidth(240);
    setRow->addWidget(m_sets, 1);
    layout->addLayout(setRow);

    auto* grid = new QGridLayout;
    m_functions = new QListWidget(this);
    m_functions->setObjectName("functions");
    m_functions->setMinimumSize(240, 200);
    grid->addWidget(new QLabel(tr("Input subsystems:"), this), 0, 0);
    grid->addWidget(m_functions, 1, 0, 7, 1);
    const QString texts[] = {tr("New Set"),      tr("Rename Set..."), tr("Delete Set"),
                             tr("Add Input..."), tr("Delete Input"),  tr("Open")};
    for (int i = 0; i < 6; ++i) {
        m_buttons[i] = new QPushButton(texts[i], this);
        m_buttons[i]->setObjectName(QString("button%1").arg(kButtonIds[i]));
        grid->addWidget(m_buttons[i], 1 + i, 1);
    }
    grid->setRowStretch(7, 1);
    layout->addLayout(grid, 1);

    auto* box = CDialogButtons::OkCancel(this);
    m_ok = box->button(QDialogButtonBox::Ok);
    m_cancel = box->button(QDialogButtonBox::Cancel);
    layout->addWidget(box);
    connect(m_sets, &QComboBox::currentIndexChanged, this, [this] {
        FillFunctions();
        EnableSetButtons(SelectedSet() != nullptr);
    });
    connect(m_buttons[0], &QPushButton::clicked, this, [this] { OnNewSet(); });
    connect(m_buttons[1], &QPushButton::clicked, this, [this] { OnRenameSet(); });
    connect(m_buttons[2], &QPushButton::clicked, this, [this] { OnDeleteSet(); });
    connect(m_buttons[3], &QPushButton::clicked, this, [this] { OnAddFunction(); });
    connect(m_buttons[4], &QPushButton::clicked, this, [this] { OnDeleteFunction(); });
    connect(m_buttons[5], &QPushButton::clicked, this, [this] { OnOpenFunction(); });
    connect(m_functions, &QListWidget::itemDoubleClicked, this, [this] { OnOpenFunction(); });
}

CDlgInputPowerData::~CDlgInputPowerData() = default;

QPushButton* CDlgInputPowerData::Button(int id) const
{
    if (id == IDOK)
        return m_ok;
    if (id == IDCANCEL)
        return m_cancel;
    for (int i = 0; i < 6; ++i)
        if (kButtonIds[i] == id)
            return m_buttons[i];
    return nullptr;
}

void CDlgInputPowerData::SetMode(int mode)
{
    if (mode == modeClose) {
        m_cancel->hide();
        m_ok->setText(tr("Close"));
    } else if (mode == modeSolve) {
        m_cancel->show();
        m_ok->setText(tr("Solve"));
    } else {
        return;
    }
    m_mode = mode;
}

bool CDlgInputPowerData::OnInitDialog()
{
    FillSets();
    m_sets->setCurrentIndex(-1);
    FillFunctions();
    EnableSetButtons(false);
    return CZuDialog::OnInitDialog();
}

void CDlgInputPowerData::EnableSetButtons(bool enable)
{
    Button(IDC_ADD_FUNCTION)->setEnabled(enable && static_cast<bool>(Chooser()));
    Button(IDC_DELETE_FUNCTION)->setEnabled(enable);
    Button(IDC_DELETE_SET)->setEnabled(enable);
    Button(IDC_RENAME_SET)->setEnabled(enable);
    Button(IDC_OPEN)->setEnabled(enable);
}

CHSEAGeneralData* CDlgInputPowerData::SelectedSet() const
{
    if (!m_project || m_sets->currentIndex() < 0)
        return nullptr;
    auto* element = reinterpret_cast<CMElement*>(m_sets->currentData().value<quintptr>());
    // The set may have gone from the model project since the combo was filled.
    return m_project->GetChildIndex(element) >= 0 ? DynamicDowncast<CHSEAGeneralData>(element) : nullptr;
}

void CDlgInputPowerData::FillSets()
{
    const QSignalBlocker block(m_sets);
    m_sets->clear();
    if (!m_project)
        return;
    for (int i = 0; i < m_project->GetChildCount(); ++i) {
        CMElement* child = m_project->GetChild(i);
        if (child->GetType() == ElementType::InputPowerData && DynamicDowncast<CHSEAGeneralData>(child))
            m_sets->addItem(QString::fromStdString(child->GetName()), QVariant::fromValue(quintptr(child)));
    }
    m_sets->setCurrentIndex(-1);
}

void CDlgInputPowerData::SelectSet(const std::string& name)
{
    m_sets->setCurrentIndex(m_sets->findText(QString::fromStdString(name)));
    FillFunctions();
    EnableSetButtons(SelectedSet() != nullptr);
}

void CDlgInputPowerData::FillFunctions()
{
    m_functions->clear();
    CHSEAGeneralData* set = SelectedSet();
    if (!set)
        return;
    for (int i = 0; i < set->GetChildCount(); ++i)
        if (auto* f = DynamicDowncast<CZuPowerFunc>(set->GetChild(i)))
            m_functions->addItem(QString::fromStdString(f->GetSubsystem()));
}

void CDlgInputPowerData::OnNewSet()
{
    if (!m_project || m_inSolve)
        return;
    CHSEAGeneralData* set = CInputPowerSets::CreateSet(*m_project);
    if (!set)
        return;
    FillSets();
    SelectSet(set->GetName());
}

void CDlgInputPowerData::OnDeleteSet()
{
    CHSEAGeneralData* set = SelectedSet();
    if (!set || m_inSolve)
        return;
    m_project->DeleteChild(set, 1);
    FillSets();
    FillFunctions();
    EnableSetButtons(false);
}

void CDlgInputPowerData::OnRenameSet()
{
    CHSEAGeneralData* set = SelectedSet();
    if (!set || m_inSolve)
        return;
    CDlgRename rename(this);
    rename.m_name = set->GetName();
    if (rename.DoModal() != IDOK || rename.m_name.empty())
        return;
    set->SetName(rename.m_name);
    FillSets();
    SelectSet(rename.m_name);
}

void CDlgInputPowerData::OnAddFunction()
{
    CHSEAGeneralData* set = SelectedSet();
    if (!set || !Chooser() || !m_project || m_inSolve)
        return;
    std::string name;
    if (!Chooser()(*m_project, name))
        return;
    m_project->GetSubsystemType(name, 1);
    // An existing function starts again at 1.0 only when the user agrees.
    if (const CZuPowerFunc* existing = set->FindFuncByKind(name, 0))
        if (AfxFormatMessageBox(IDS_OVERWRITE_POWER, MB_OKCANCEL | MB_ICONEXCLAMATION, existing->GetName().c_str()) ==
            IDCANCEL)
            return;
    set->AddPowerFunc(name, 0);
    FillFunctions();
}

void CDlgInputPowerData::OnDeleteFunction()
{
    CHSEAGeneralData* set = SelectedSet();
    QListWidgetItem* item = m_functions->currentItem();
    if (!set || !item)
        return;
    CZuPowerFunc* f = set->FindFuncByKind(item->text().toStdString(), 0);
    if (!f)
        return;
    set->DeleteChild(f, 1);
    FillFunctions();
}

bool CDlgInputPowerData::OnOpenFunction()
{
    CHSEAGeneralData* set = SelectedSet();
    QListWidgetItem* item = m_functions->currentItem();
    CZuPowerFunc* f = set && item ? set->FindFuncByKind(item->text().toStdString(), 0) : nullptr;
    return f && GetTALVOApp().OpenDataView(f, &*CStatusBarFallback(nullptr));
}

bool CDlgInputPowerData::Solve()
{
    // The band solve shows its bands and can be cancelled between them while the dialog is open.
    // The progress window handles this dialog's events as well: while the solve runs, the set it
    // solves is not changed, a second solve does not start, and the dialog's own close cancels the
    // solve and waits for it to end.
    if (m_inSolve)
        return false;
    m_inSolve = true;
    m_closeAfterSolve = false;
    CDlgCalcProgress* progress = CDlgCalcProgress::ShowInstance(this);
    const bool solved = CInputPowerSets::Solve(m_solving, SelectedSet(), &*CStatusBarFallback(progress)) != nullptr;
    CDlgCalcProgress::DestroyInstance();
    m_inSolve = false;
    return solved;
}

void CDlgInputPowerData::OnOK()
{
    if (m_inSolve)
        return;
    if (m_mode == modeSolve && !Solve() && !m_closeAfterSolve)
        return;
    if (m_owner)
        m_owner->SendMessage(WM_ZU_INPUT_POWER_DATA, 2, 0);
}

void CDlgInputPowerData::OnCancel()
{
    if (m_inSolve) {
        m_closeAfterSolve = true;
        if (CDlgCalcProgress* progress = CDlgCalcProgress::GetInstance())
            progress->Cancel();
        return;
    }
    if (m_owner)
        m_owner->SendMessage(WM_ZU_INPUT_POWER_DATA, 2, 0);
}
