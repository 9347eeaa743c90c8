#include "planning/ui/DlgDAQPPExpPlan.h"

#include "app/TALVOProject.h"
#include "planning/DAQPPChannelTable.h"
#include "planning/DAQPPExpPlanList.h"
#include "planning/SensorAssignment.h"
#include "planning/ui/DlgDAQPPChListOptions.h"
#include "planning/ui/DlgExpPlanAddSubsystem.h"
#include "planning/ui/DlgExpPlanMap.h"
#include "planning/ui/PlanDialogServices.h"
#include "platform/base/Format.h"
#include "platform/ui/EmbeddedGridWnd.h"
#include "platform/ui/FlexGridModel.h"
#include "platform/ui/ZuDataTipCtrl.h"
#include "platform/win/Clipboard.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WaitCursor.h"
#include "uff/ExtUFDaqProject.h"
#include "platform/win/Messages.h"

#include <QCursor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {
std::function<void(CDlgDAQPPExpPlan::PlanListNotice)>& ListNotifier()
{
    static std::function<void(CDlgDAQPPExpPlan::PlanListNotice)> notifier;
    return notifier;
}

CDlgDAQPPExpPlan::DerivedEditorOpener& DerivedOpener()
{
    static CDlgDAQPPExpPlan::DerivedEditorOpener opener;
    return opener;
}

void TellPlanList(CDlgDAQPPExpPlan::PlanListNotice notice)
{
    if (ListNotifier())
        ListNotifier()(notice);
}

const QColor kGlobalColor(255, 160, 90);
const QColor kLocalColor(225, 225, 225);
const QColor kHeadColor(204, 255, 204);

int ColumnWidth(int type)
{
    if (type == 11)
        return 100;
    return type == 0 || type == 1 || type == 12 ? 50 : 70;
}
} // namespace

CDlgDAQPPExpPlan* CDlgDAQPPExpPlan::ShowInstance(CExtUFDaqProject* project, QWidget* parent)
{
    bool created = false;
    CDlgDAQPPExpPlan* editor = Instances().ShowFor(
        ProgramKey(),
        [&] {
            auto* made = new CDlgDAQPPExpPlan(project, parent);
            made->Create();
            return made;
        },
        &created);
    // However the editor goes, the plan list updates its commands.
    if (created)
        Instances().OnLeave(ProgramKey(), [] { TellPlanList(editorClosed); });
    return editor;
}

CDlgDAQPPExpPlan* CDlgDAQPPExpPlan::Open(CExtUFDaqProject* project, int mode, CDAQPPExpPlan* plan, QWidget* parent)
{
    const bool open = GetInstance() != nullptr;
    CDlgDAQPPExpPlan* editor = ShowInstance(project, parent);
    if (!open) {
        editor->SetMode(mode);
        editor->SetPlan(plan);
    }
    return editor;
}

void CDlgDAQPPExpPlan::DestroyInstance()
{
    // A modal editor ends its loop first; ending it takes it out of the registry.
    if (CDlgDAQPPExpPlan* editor = GetInstance(); editor && !editor->IsModeless())
        editor->EndDialog(IDCANCEL);
    Instances().Close(ProgramKey());
}

void CDlgDAQPPExpPlan::SetPlanListNotifier(std::function<void(PlanListNotice)> notifier)
{
    ListNotifier() = std::move(notifier);
}

bool CDlgDAQPPExpPlan::HasPlanListNotifier()
{
    return static_cast<bool>(ListNotifier());
}

bool CDlgDAQPPExpPlan::HasDerivedEditorOpener()
{
    return static_cast<bool>(DerivedOpener());
}

void CDlgDAQPPExpPlan::SetDerivedEditorOpener(DerivedEditorOpener opener)
{
    DerivedOpener() = std::move(opener);
    if (CDlgDAQPPExpPlan* open = GetInstance())
        if (QPushButton* b = open->Button(3278))
            b->setEnabled(DerivedOpener() && open->m_mode != modeView);
}

CDlgDAQPPExpPlan::CDlgDAQPPExpPlan(CExtUFDaqProject* project, QWidget* parent, int templateId)
    : CZuDialog(parent, templateId), m_project(project)
{
    setObjectName(QStringLiteral("DlgDAQPPExpPlan"));
    setWindowTitle(QStringLiteral("Channel Plan"));
    // The move tip follows the mouse over the whole dialog, not only over the table.
    setMouseTracking(true);
    const int channels = project ? project->GetPlanMaxChannel() : 0;
    m_work = std::make_unique<CDAQPPExpPlan>(std::max(0, channels));
    CDAQPPExpPlanList* list = GetPlanList();
    if (list)
        m_work->SetName(list->MakeUniqueName(std::string()));
    m_name = m_work->GetName();
    // Without a project the table shows the default layout of a list of its own.
    static const CDAQPPExpPlanList fallback;
    m_table = std::make_unique<CDAQPPChannelTable>(*m_work, list ? *list : fallback,
                                                   project ? project->MakeCellContext() : DAQPPCellContext());

    m_grid = new CEmbeddedGridWnd(this);
    m_grid->setObjectName(QStringLiteral("Grid3279"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_grid->setMinimumSize(480, 240);
    m_grid->horizontalHeader()->setFixedHeight(30);
    connect(m_grid, &CEmbeddedGridWnd::MouseNotify, this, [this](quint32 msg, quintptr, qintptr) { OnGridMouse(msg); });

    m_tip = new CZuDataTipCtrl(this);
    m_tip->SetOffset(10, -10);
    m_tip->SetHideOnKey(false);
    m_tip->SetTipFont(font());

    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("Name3137"));
    QPalette red = m_nameEdit->palette();
    red.setColor(QPalette::Text, QColor(255, 0, 0));
    red.setColor(QPalette::Base, QColor(255, 255, 0));
    m_nameEdit->setPalette(red);
    m_nameEdit->setMinimumWidth(160);
    m_commentEdit = new QLineEdit(this);
    m_commentEdit->setObjectName(QStringLiteral("Comment3138"));

    auto* tools = new QHBoxLayout;
    tools->addWidget(AddButton(3005, QStringLiteral("Add Subsystem..."), -1, 0));
    tools->addWidget(AddButton(3031, QStringLiteral("Clear Subsystem"), -1, 0));
    tools->addSpacing(12);
    tools->addWidget(AddButton(3036, QString(), QStyle::SP_ArrowUp, IDS_TIP_MOVE_UP));
    tools->addWidget(AddButton(3032, QString(), QStyle::SP_ArrowDown, IDS_TIP_MOVE_DOWN));
    tools->addWidget(AddButton(3034, QStringLiteral("Move"), QStyle::SP_ArrowRight, IDS_TIP_MOVE));
    tools->addWidget(AddButton(3278, QStringLiteral("Hand Over"), QStyle::SP_ArrowForward, 0));
    tools->addSpacing(12);
    tools->addWidget(AddButton(57634, QStringLiteral("Copy"), QStyle::SP_FileIcon, IDS_TIP_COPY));
    tools->addWidget(AddButton(57637, QStringLiteral("Paste"), QStyle::SP_DialogOpenButton, IDS_TIP_PASTE));
    tools->addWidget(AddButton(3280, QStringLiteral("Columns..."), -1, 0));
    tools->addStretch(1);

    m_closeButton = AddButton(3008, QStringLiteral("Close"), -1, 0);

    auto* fields = new QGridLayout;
    auto* nameLabel = new QLabel(QStringLiteral("Name:"), this);
    nameLabel->setObjectName(QStringLiteral("NameLabel"));
    auto* commentLabel = new QLabel(QStringLiteral("Comment:"), this);
    commentLabel->setObjectName(QStringLiteral("CommentLabel"));
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(m_nameEdit, 0, 1);
    fields->addWidget(commentLabel, 0, 2);
    fields->addWidget(m_commentEdit, 0, 3);
    fields->setColumnStretch(3, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(m_closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(tools);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    resize(1000, 620);
}

CDlgDAQPPExpPlan::~CDlgDAQPPExpPlan() = default;

CDAQPPExpPlanList* CDlgDAQPPExpPlan::GetPlanList() const
{
    return m_project ? &m_project->GetExpPlans() : nullptr;
}

QPushButton* CDlgDAQPPExpPlan::AddButton(int id, const QString& text, int icon, uint32_t tipId)
{
    auto* button = CDlgExpPlanMap::CreateToolButton(this, id, text, icon, tipId);
    void (CDlgDAQPPExpPlan::*slot)() = nullptr;
    switch (id) {
    case 3005:
        slot = &CDlgDAQPPExpPlan::OnAddSubsystem;
        break;
    case 3031:
        slot = &CDlgDAQPPExpPlan::OnClearSubsystem;
        break;
    case 3036:
        slot = &CDlgDAQPPExpPlan::OnMoveUp;
        break;
    case 3032:
        slot = &CDlgDAQPPExpPlan::OnMoveDown;
        break;
    case 3034:
        slot = &CDlgDAQPPExpPlan::OnMove;
        break;
    case 3278:
        slot = &CDlgDAQPPExpPlan::OnHandOver;
        break;
    case 57634:
        slot = &CDlgDAQPPExpPlan::OnCopy;
        break;
    case 57637:
        slot = &CDlgDAQPPExpPlan::OnPaste;
        break;
    case 3280:
        slot = &CDlgDAQPPExpPlan::OnChooseColumns;
        break;
    default:
        slot = &CDlgDAQPPExpPlan::OnClose;
        break;
    }
    connect(button, &QPushButton::clicked, this, slot);
    return button;
}

QPushButton* CDlgDAQPPExpPlan::Button(int id) const
{
    return findChild<QPushButton*>(QStringLiteral("Button%1").arg(id));
}

bool CDlgDAQPPExpPlan::OnInitDialog()
{
    BuildTable();
    if (QPushButton* b = Button(3278))
        b->setEnabled(static_cast<bool>(DerivedOpener()));
    return CZuDialog::OnInitDialog();
}

bool CDlgDAQPPExpPlan::DoDataExchange(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_name = m_nameEdit->text().toStdString();
        m_comment = m_commentEdit->text().toStdString();
    } else {
        m_nameEdit->setText(QString::fromStdString(m_name));
        m_commentEdit->setText(QString::fromStdString(m_comment));
    }
    return true;
}

void CDlgDAQPPExpPlan::SetMode(int mode)
{
    EnsureInitialized();
    m_mode = mode;
    switch (mode) {
    case modeNewOwn:
        PlaceOwnSubsystem();
        m_changed = true;
        break;
    case modeNew:
        m_closeButton->setText(QString::fromStdString(LoadString(IDS_SET)));
        m_changed = true;
        break;
    case modeEdit:
        m_closeButton->setText(QString::fromStdString(LoadString(IDS_APPLY)));
        m_changed = false;
        break;
    default:
        m_nameEdit->setEnabled(false);
        for (int id : {57637, 3005, 3031, 3036, 3032, 3034, 3278})
            if (QPushButton* b = Button(id))
                b->setEnabled(false);
        m_changed = false;
        break;
    }
    DrawAllRows();
}

void CDlgDAQPPExpPlan::PlaceOwnSubsystem()
{
    CTALVOProject* container = m_project ? m_project->GetOwner() : nullptr;
    const CSensorAssignment* assignment = container ? container->GetSensorAssignment() : nullptr;
    if (!assignment)
        return;
    const std::string own = container->GetTargetSubsystem();
    const int row = own.empty() ? -1 : assignment->FindRow(own);
    if (row < 0)
        return;
    if (!m_work->AssignSubsystem(*assignment, row))
        AfxFormatMessageBox(IDS_CANNOT_BE_PLACED, MB_OK | MB_ICONEXCLAMATION, own.c_str());
}

void CDlgDAQPPExpPlan::SetPlan(CDAQPPExpPlan* plan)
{
    EnsureInitialized();
    if (plan) {
        m_source = plan;
        *m_work = *plan;
    }
    if (m_mode == modeEdit || m_mode == modeView) {
        m_name = m_work->GetName();
        m_comment = m_work->GetComment();
    } else {
        UpdateData(true);
        m_work->SetName(m_name);
    }
    {
        CWaitCursor wait;
        BuildTable();
    }
    UpdateData(false);
}

void CDlgDAQPPExpPlan::BuildTable()
{
    if (m_project)
        m_table->SetContext(m_project->MakeCellContext());
    const std::vector<tagCHTABLECOL>& columns = m_table->GetColumns();
    CFlexGridModel* model = m_grid->GridModel();
    m_grid->setUpdatesEnabled(false);
    model->ClearStyles();
    m_grid->SetRows(m_table->GetRowCount());
    m_grid->SetCols(m_table->GetColCount());
    m_grid->SetFixedRows(1);
    m_grid->SetFixedCols(1);
    m_grid->Clear();
    m_grid->SetRowHeight(std::max(15, m_grid->fontMetrics().height() + 4));
    m_grid->SetColWidth(0, 40);
    const std::vector<std::string> headers = m_table->GetHeaderTexts();
    for (int c = 0; c < m_table->GetColCount(); ++c)
        model->SetText(0, c, QString::fromStdString(headers[static_cast<size_t>(c)]));
    for (size_t k = 0; k < columns.size(); ++k) {
        const int col = static_cast<int>(k) + 1;
        const int type = columns[k].type;
        // The widths are those of a small table font; a heading never shows cut, in the language
        // it is drawn in.
        const int heading = m_grid->horizontalHeader()->fontMetrics().horizontalAdvance(
                                model->headerData(col - 1, Qt::Horizontal).toString()) +
                            16;
        m_grid->SetColWidth(col, std::max(ColumnWidth(type), heading));
        const QColor color = type == 1 ? kGlobalColor : type == 11 || type == 12 ? kLocalColor : QColor();
        model->SetCellBackColor(0, col, color.isValid() ? color : kHeadColor);
        if (color.isValid())
            for (int r = 1; r < m_table->GetRowCount(); ++r)
                model->SetCellBackColor(r, col, color);
    }
    DrawAllRows();
    m_grid->setUpdatesEnabled(true);
}

void CDlgDAQPPExpPlan::DrawRow(int channel)
{
    if (channel < 0 || channel >= m_work->GetChannelCount())
        return;
    const std::vector<std::string> cells = m_table->GetRowTexts(channel);
    CFlexGridModel* model = m_grid->GridModel();
    for (size_t c = 0; c < cells.size(); ++c)
        model->SetText(channel + 1, static_cast<int>(c), QString::fromStdString(cells[c]));
}

void CDlgDAQPPExpPlan::DrawAllRows()
{
    m_grid->setUpdatesEnabled(false);
    for (int c = 0; c < m_work->GetChannelCount(); ++c)
        DrawRow(c);
    m_grid->setUpdatesEnabled(true);
}

void CDlgDAQPPExpPlan::MarkChanged()
{
    m_changed = true;
    if (CDlgDAQPPExpPlan* open = GetInstance())
        open->m_changed = true;
}

std::vector<int> CDlgDAQPPExpPlan::GetSelectedChannels() const
{
    std::vector<int> channels;
    for (int r : m_grid->SelectedRows())
        if (r >= 1 && r <= m_work->GetChannelCount())
            channels.push_back(r - 1);
    return channels;
}

void CDlgDAQPPExpPlan::SelectChannels(int first, int last)
{
    m_grid->SelectCells(first + 1, 1, last + 1, std::max(1, m_grid->GetCols() - 1));
}

void CDlgDAQPPExpPlan::SelectTableRows(const std::vector<int>& channels)
{
    m_grid->clearSelection();
    QItemSelection selection;
    CFlexGridModel* model = m_grid->GridModel();
    for (int c : channels)
        selection.select(model->IndexOf(c + 1, 1), model->IndexOf(c + 1, std::max(1, m_grid->GetCols() - 1)));
    m_grid->selectionModel()->select(selection, QItemSelectionModel::Select);
    if (!channels.empty())
        m_grid->selectionModel()->setCurrentIndex(model->IndexOf(channels.front() + 1, 1),
                                                  QItemSelectionModel::NoUpdate);
}

void CDlgDAQPPExpPlan::OnAddSubsystem()
{
    CDlgExpPlanAddSubsystem dialog(m_project ? m_project->GetOwner() : nullptr, this);
    dialog.SetPlan(m_work.get());
    if (dialog.DoModal() != IDOK)
        return;
    DrawAllRows();
    MarkChanged();
}

void CDlgDAQPPExpPlan::OnClearSubsystem()
{
    const int channel = m_grid->GetRow() - 1;
    tagDAQPP_SENSORMAP row;
    if (m_grid->GetRow() < 1 || !m_work->GetRow(channel, row) || row.subsystem.empty())
        return;
    const CTALVOProject* container = m_project ? m_project->GetOwner() : nullptr;
    if (container && row.subsystem == container->GetTargetSubsystem()) {
        AfxMessageBox(IDS_OWN_SUBSYSTEM_KEPT, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (AfxFormatMessageBox(IDS_DELETE_ELEMENT, MB_OKCANCEL | MB_ICONQUESTION, row.subsystem.c_str()) != IDOK)
        return;
    m_work->ClearSubsystem(row.subsystem);
    DrawAllRows();
    MarkChanged();
}

QString CDlgDAQPPExpPlan::MoveTipText() const
{
    std::string text = LoadString(IDS_MOVING);
    for (int c : m_moveChannels)
        text += Format(", %sch", m_grid->GetTextMatrix(c + 1, 0).c_str());
    return QString::fromStdString(text);
}

void CDlgDAQPPExpPlan::OnMove()
{
    if (m_moving) {
        m_tip->Show(0);
        m_moving = false;
        return;
    }
    m_moveChannels = GetSelectedChannels();
    if (m_moveChannels.empty())
        return;
    // Pressed from the keyboard the mouse may be elsewhere: the tip then starts in the middle.
    QPoint at = mapFromGlobal(QCursor::pos());
    if (!rect().contains(at))
        at = rect().center();
    m_tip->SetTip(at, MoveTipText());
    m_tip->Show(1);
    m_moving = true;
}

void CDlgDAQPPExpPlan::OnGridMouse(quint32 msg)
{
    if (msg == WM_MOUSEMOVE && m_moving) {
        m_tip->SetTip(mapFromGlobal(QCursor::pos()), MoveTipText());
        m_tip->update();
    } else if (msg == WM_LBUTTONUP && m_moving) {
        OnDrop(m_grid->GetRow());
    }
}

void CDlgDAQPPExpPlan::OnDrop(int row)
{
    m_moving = false;
    m_tip->Show(0);
    if (row < 1)
        return;
    const CDAQPPChannelTable::MoveResult result = m_table->MoveTo(m_moveChannels, row - 1);
    if (result == CDAQPPChannelTable::moveDoesNotFit) {
        AfxMessageBox(IDS_ROWS_PAST_LAST_CHANNEL, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (result == CDAQPPChannelTable::moveDone) {
        CWaitCursor wait;
        DrawAllRows();
        MarkChanged();
    }
}

void CDlgDAQPPExpPlan::OnMoveDown()
{
    std::vector<int> channels = GetSelectedChannels();
    if (m_table->MoveDown(channels) != CDAQPPChannelTable::moveDone)
        return;
    DrawAllRows();
    MarkChanged();
    SelectTableRows(channels);
}

void CDlgDAQPPExpPlan::OnMoveUp()
{
    std::vector<int> channels = GetSelectedChannels();
    if (m_table->MoveUp(channels) != CDAQPPChannelTable::moveDone)
        return;
    DrawAllRows();
    MarkChanged();
    SelectTableRows(channels);
}

void CDlgDAQPPExpPlan::OnHandOver()
{
    if (GetSelectedChannels().empty() || !DerivedOpener())
        return;
    if (!m_derived)
        m_derived = DerivedOpener()(m_project, parentWidget());
    if (m_derived)
        HandSelectedRowsTo(*m_derived);
}

void CDlgDAQPPExpPlan::HandSelectedRowsTo(CDlgDAQPPExpPlan& target)
{
    const std::vector<int> handed = CDAQPPChannelTable::HandRows(*m_work, *target.m_work, GetSelectedChannels());
    for (int c : handed) {
        target.DrawRow(c);
        DrawRow(c);
    }
    // Rows that sit in the other editor are lost unless one of the two stores them: both ask on
    // closing.
    if (!handed.empty()) {
        m_changed = true;
        target.m_changed = true;
    }
}

void CDlgDAQPPExpPlan::OnCopy()
{
    if (!SetClipboardText(m_table->CopyText())) {
        AfxMessageBox(IDS_READ_FAILED, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    AfxMessageBox(IDS_COPIED, MB_OK | MB_ICONINFORMATION);
}

void CDlgDAQPPExpPlan::OnPaste()
{
    std::string text;
    if (!GetClipboardText(text))
        text.clear();
    std::vector<int> changed;
    const CDAQPPChannelTable::PasteResult result = m_table->Paste(text, &changed);
    if (result.status != CDAQPPChannelTable::pasteDone) {
        AfxMessageBox(IDS_READ_FAILED, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_grid->setUpdatesEnabled(false);
    for (int c : changed)
        DrawRow(c);
    m_grid->setUpdatesEnabled(true);
    MarkChanged();
    AfxMessageBox(IDS_PASTED, MB_OK | MB_ICONINFORMATION);
}

void CDlgDAQPPExpPlan::OnChooseColumns()
{
    if (!m_project)
        return;
    CDlgDAQPPChListOptions dialog(m_project, this);
    if (dialog.DoModal() != IDOK)
        return;
    CWaitCursor wait;
    BuildTable();
}

void CDlgDAQPPExpPlan::Apply()
{
    CDAQPPExpPlanList* list = GetPlanList();
    if (!list)
        return;
    UpdateData(true);
    if (m_mode == modeNewOwn || m_mode == modeNew) {
        CDAQPPExpPlan* plan = list->AddPlan(m_project->GetPlanMaxChannel(), m_name);
        const std::string name = plan->GetName();
        *plan = *m_work;
        plan->SetName(name);
        plan->SetComment(m_comment);
        TellPlanList(planListChanged);
    } else if (m_mode == modeEdit && m_source) {
        const std::string oldName = m_source->GetName();
        const std::string oldComment = m_source->GetComment();
        *m_source = *m_work;
        m_source->SetName(oldName);
        m_source->SetComment(oldComment);
        bool told = false;
        if (m_name != oldName) {
            m_source->SetName(list->MakeUniqueName(m_name));
            told = true;
        }
        if (m_comment != oldComment) {
            m_source->SetComment(m_comment);
            told = true;
        }
        if (told)
            TellPlanList(planListChanged);
    } else if (m_mode == modeView && m_source) {
        if (m_comment != m_source->GetComment()) {
            m_source->SetComment(m_comment);
            TellPlanList(planListChanged);
        }
    }
    if (CTALVOProject* container = m_project->GetOwner())
        MarkProjectModified(*container);
}

void CDlgDAQPPExpPlan::OnClose()
{
    if (m_derived) {
        if (!m_derived->CanClose())
            return;
        m_derived->DestroyWindow();
        m_derived = nullptr;
    }
    UpdateData(true);
    if (m_source && (m_name != m_source->GetName() || m_comment != m_source->GetComment()))
        m_changed = true;
    if (m_changed) {
        const uint32_t question = m_mode == modeNewOwn || m_mode == modeNew ? IDS_APPLY_CHANGES : IDS_SAVE_CHANGES;
        const int answer = AfxMessageBox(question, MB_YESNOCANCEL | MB_ICONQUESTION);
        if (answer == IDCANCEL)
            return;
        if (answer == IDYES)
            Apply();
    }
    if (GetInstance() == this)
        DestroyInstance();
    else
        DestroyWindow();
}

void CDlgDAQPPExpPlan::OnOK()
{
    // Enter does not close: storing is asked for on closing.
}

void CDlgDAQPPExpPlan::OnCancel()
{
    OnClose();
}

void CDlgDAQPPExpPlan::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_moving) {
        m_moving = false;
        m_tip->Show(0);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    CZuDialog::keyPressEvent(event);
}

void CDlgDAQPPExpPlan::mouseMoveEvent(QMouseEvent* event)
{
    if (m_moving) {
        m_tip->SetTip(event->position().toPoint(), MoveTipText());
        m_tip->update();
    }
    CZuDialog::mouseMoveEvent(event);
}
