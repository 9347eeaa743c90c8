#include "planning/ui/DlgExpPlanMap.h"

#include "app/TALVOProject.h"
#include "planning/ExpPlanIO.h"
#include "planning/QMXBlixList.h"
#include "planning/QMXSensorMap.h"
#include "planning/QMXSensorMapList.h"
#include "planning/SensorAssignment.h"
#include "planning/ui/DlgExpPlanAddSubsystem.h"
#include "planning/ui/DlgExpPlanList.h"
#include "planning/ui/DlgRegQMXBlix.h"
#include "planning/ui/PlanDialogServices.h"
#include "platform/base/Format.h"
#include "platform/elements/StdioFile.h"
#include "platform/ui/EmbeddedGridWnd.h"
#include "platform/ui/FlexGridModel.h"
#include "platform/ui/ZuDataTipCtrl.h"
#include "platform/win/Clipboard.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WaitCursor.h"
#include "platform/win/Messages.h"

#include <QCursor>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {
const QColor kHeadColor(204, 255, 204);
const QColor kUnitColor(255, 255, 204);
const QColor kAssignedColor(255, 0, 0);
// Dialog units: the unit serials and subsystem names need the room that gives at any font.
const int kBandWidths[CDlgExpPlanMap::kColsPerBand] = {50, 45, 35, 60, 150};
const char* const kHeadings[CDlgExpPlanMap::kColsPerBand] = {"Slot", "BLIX", "CH#", "Sensor", "Subsystem"};
} // namespace

CDlgExpPlanMap* CDlgExpPlanMap::ShowInstance(CTALVOProject* project, QWidget* parent)
{
    return Instances().ShowFor(ProgramKey(), [&] {
        auto* editor = new CDlgExpPlanMap(project, parent);
        editor->Create();
        return editor;
    });
}

void CDlgExpPlanMap::DestroyInstance()
{
    if (CDlgExpPlanMap* editor = GetInstance())
        editor->CloseWindow(IDCANCEL);
}

CDlgExpPlanMap::CDlgExpPlanMap(CTALVOProject* project, QWidget* parent, int templateId)
    : CZuDialog(parent, templateId), m_project(project), m_work(std::make_unique<CQMXSensorMap>(nullptr))
{
    setObjectName(QStringLiteral("DlgExpPlanMap"));
    setWindowTitle(QStringLiteral("Experiment Plan"));
    m_channelCount = project ? project->GetSystemChannelCount() : 0;
    if (project) {
        if (const CQMXSensorMapList* plans = project->GetSensorMapList())
            m_work->SetName(plans->MakeUniqueName(std::string()));
        if (const CQMXBlixList* first = project->GetBlixLists().GetAt(0))
            m_work->RefreshFromUnitGroup(first);
    }
    m_name = m_work->GetName();
    m_comment = m_work->GetComment();

    m_grid = new CEmbeddedGridWnd(this);
    m_grid->setObjectName(QStringLiteral("Grid3152"));
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->setMinimumSize(560, 360);
    connect(m_grid, &CEmbeddedGridWnd::MouseNotify, this, [this](quint32 msg, quintptr, qintptr) { OnGridMouse(msg); });

    m_tip = new CZuDataTipCtrl(this);
    m_tip->SetOffset(10, -10);
    m_tip->SetHideOnKey(false);
    m_tip->SetTipFont(font());

    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("Name3137"));
    m_commentEdit = new QLineEdit(this);
    m_commentEdit->setObjectName(QStringLiteral("Comment3138"));

    auto* tools = new QHBoxLayout;
    tools->addWidget(AddTool(57634, QStringLiteral("Copy"), QStyle::SP_FileIcon, IDS_TIP_COPY));
    tools->addWidget(AddTool(57637, QStringLiteral("Paste"), QStyle::SP_DialogOpenButton, IDS_TIP_PASTE));
    tools->addWidget(AddTool(3036, QString(), QStyle::SP_ArrowUp, IDS_TIP_UP));
    tools->addWidget(AddTool(3032, QString(), QStyle::SP_ArrowDown, IDS_TIP_DOWN));
    tools->addWidget(AddTool(3034, QStringLiteral("Move"), QStyle::SP_ArrowRight, IDS_TIP_MOVE_BY_DRAG));
    tools->addSpacing(12);
    auto* add = new QPushButton(QStringLiteral("Add Subsystem..."), this);
    add->setObjectName(QStringLiteral("Button3005"));
    connect(add, &QPushButton::clicked, this, &CDlgExpPlanMap::OnAddSubsystem);
    auto* remove = new QPushButton(QStringLiteral("Remove Subsystem"), this);
    remove->setObjectName(QStringLiteral("Button3031"));
    connect(remove, &QPushButton::clicked, this, &CDlgExpPlanMap::OnRemoveSubsystem);
    m_groupButton = new QPushButton(this);
    m_groupButton->setObjectName(QStringLiteral("Button2001"));
    connect(m_groupButton, &QPushButton::clicked, this, &CDlgExpPlanMap::OnUnitGroup);
    tools->addWidget(add);
    tools->addWidget(remove);
    tools->addWidget(m_groupButton);
    tools->addStretch(1);

    m_storeButton = new QPushButton(QString::fromStdString(LoadString(IDS_SET)), this);
    m_storeButton->setObjectName(QStringLiteral("Button3008"));
    connect(m_storeButton, &QPushButton::clicked, this, &CDlgExpPlanMap::OnStore);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("Button2"));
    close->setAutoDefault(false);
    m_storeButton->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QGridLayout;
    auto* nameLabel = new QLabel(QStringLiteral("Name:"), this);
    nameLabel->setObjectName(QStringLiteral("NameLabel"));
    auto* commentLabel = new QLabel(QStringLiteral("Comment:"), this);
    commentLabel->setObjectName(QStringLiteral("CommentLabel"));
    fields->addWidget(nameLabel, 0, 0);
    fields->addWidget(m_nameEdit, 0, 1);
    fields->addWidget(commentLabel, 1, 0);
    fields->addWidget(m_commentEdit, 1, 1);
    fields->setColumnStretch(1, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(m_storeButton);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(tools);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);
    resize(1000, 700);
}

CDlgExpPlanMap::~CDlgExpPlanMap() = default;

QPushButton* CDlgExpPlanMap::CreateToolButton(QWidget* parent, int id, const QString& text, int icon, uint32_t tipId)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QStringLiteral("Button%1").arg(id));
    if (icon >= 0) {
        button->setIcon(parent->style()->standardIcon(static_cast<QStyle::StandardPixmap>(icon)));
        button->setIconSize(QSize(16, 16));
    }
    if (tipId)
        button->setToolTip(QString::fromStdString(LoadString(tipId)));
    button->setAutoDefault(false);
    return button;
}

QPushButton* CDlgExpPlanMap::AddTool(int id, const QString& text, int icon, uint32_t tipId)
{
    auto* button = CreateToolButton(this, id, text, icon, tipId);
    switch (id) {
    case 57634:
        connect(button, &QPushButton::clicked, this, &CDlgExpPlanMap::OnCopy);
        break;
    case 57637:
        connect(button, &QPushButton::clicked, this, &CDlgExpPlanMap::OnPaste);
        break;
    case 3036:
        connect(button, &QPushButton::clicked, this, &CDlgExpPlanMap::OnUp);
        break;
    case 3032:
        connect(button, &QPushButton::clicked, this, &CDlgExpPlanMap::OnDown);
        break;
    default:
        connect(button, &QPushButton::clicked, this, &CDlgExpPlanMap::OnMoveByDrag);
        break;
    }
    return button;
}

QPushButton* CDlgExpPlanMap::Button(int id) const
{
    return findChild<QPushButton*>(QStringLiteral("Button%1").arg(id));
}

int CDlgExpPlanMap::GetBandCount() const
{
    return std::max(1, GetPlanBandCount(m_channelCount));
}

bool CDlgExpPlanMap::OnInitDialog()
{
    UpdateGroupCaption();
    BuildGrid();
    return CZuDialog::OnInitDialog();
}

bool CDlgExpPlanMap::DoDataExchange(bool saveAndValidate)
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

void CDlgExpPlanMap::SetMode(int mode)
{
    EnsureInitialized();
    m_mode = mode;
    if (mode == modeNew) {
        m_storeButton->setText(QString::fromStdString(LoadString(IDS_SET)));
        // A new plan holds the project's own subsystem first.
        const std::string fixed = m_project ? m_project->GetTargetSubsystem() : std::string();
        const CSensorAssignment* assignment = m_project ? m_project->GetSensorAssignment() : nullptr;
        const int row = assignment && !fixed.empty() ? assignment->FindRow(fixed) : -1;
        if (row >= 0 && !m_work->AssignSubsystem(*assignment, row))
            AfxFormatMessageBox(IDS_CANNOT_BE_PLACED, MB_OK | MB_ICONEXCLAMATION, fixed.c_str());
        FillCells();
    } else if (mode == modeEdit) {
        m_storeButton->setText(QString::fromStdString(LoadString(IDS_APPLY)));
    } else if (mode == modeView) {
        m_nameEdit->setEnabled(false);
        for (int id : {3005, 3031, 3036, 3032, 3034, 2001})
            if (QPushButton* b = Button(id))
                b->setEnabled(false);
    }
}

void CDlgExpPlanMap::SetPlan(CQMXSensorMap* plan)
{
    EnsureInitialized();
    if (plan) {
        m_stored = plan;
        m_work->CopyFrom(*plan);
        // The working copy counts the units of the stored plan's group (all positions without one).
        m_work->RefreshFromUnitGroup(m_project ? m_project->GetBlixLists().FindGroup(plan->GetUnitGroupNumber())
                                               : nullptr);
    }
    m_name = m_work->GetName();
    m_comment = m_work->GetComment();
    UpdateGroupCaption();
    m_selection.clear();
    {
        CWaitCursor wait;
        BuildGrid();
    }
    UpdateData(false);
}

void CDlgExpPlanMap::UpdateGroupCaption()
{
    m_groupButton->setText(QString::fromStdString(UnitGroupText(m_work->GetUnitGroupNumber())));
}

void CDlgExpPlanMap::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange && m_groupButton && m_work)
        UpdateGroupCaption();
    CZuDialog::changeEvent(event);
}

void CDlgExpPlanMap::BuildSlotCell(int row, int col, int slot)
{
    CFlexGridModel* model = m_grid->GridModel();
    model->SetText(row, col, QString::fromStdString(Format("Slot %d", slot + 1)));
    model->SetCellBackColor(row, col, kHeadColor);
}

void CDlgExpPlanMap::BuildGrid()
{
    const int bands = GetBandCount();
    CFlexGridModel* model = m_grid->GridModel();
    m_grid->ClearMergedCells();
    model->ClearStyles();
    m_grid->SetRows(kRowsPerBand + 1);
    m_grid->SetCols(1 + bands * kColsPerBand);
    m_grid->SetFixedRows(1);
    m_grid->SetFixedCols(1);
    m_grid->Clear();
    m_grid->SetColWidth(0, 10);
    m_grid->SetRowHeight(std::max(15, m_grid->fontMetrics().height() + 4));
    for (int b = 0; b < bands; ++b)
        for (int k = 0; k < kColsPerBand; ++k) {
            const int col = b * kColsPerBand + 1 + k;
            model->SetText(0, col, QString::fromStdString(k == 0 ? SlotHeading() : kHeadings[k]));
            model->SetCellBackColor(0, col, kHeadColor);
            m_grid->SetColWidth(col, DialogUnitsToPixelsX(k == 0 ? SlotColumnWidth() : kBandWidths[k]));
        }
    for (int c = 0; c < bands * kRowsPerBand; ++c) {
        tagSENSORMAP row;
        if (!m_work->GetRow(c, row))
            continue;
        const int r = ChannelRow(c);
        const int col = ChannelCol(c);
        if (c % 8 == 0) {
            BuildSlotCell(r, col, c / 8);
            m_grid->SetMergedCells(r, col, 8, 1);
        }
        if (c % 2 == 0) {
            model->SetText(r, col + 1, QString::fromStdString(row.unitName));
            m_grid->SetMergedCells(r, col + 1, 2, 1);
        }
        model->SetCellBackColor(r, col + 1, kUnitColor);
        model->SetText(r, col + 2, QString::number(row.channel + 1));
        model->SetCellBackColor(r, col + 2, kUnitColor);
    }
    FillCells();
}

void CDlgExpPlanMap::FillCells()
{
    CFlexGridModel* model = m_grid->GridModel();
    const int shown = GetBandCount() * kRowsPerBand;
    for (int c = 0; c < shown; ++c) {
        const int r = ChannelRow(c);
        const int col = ChannelCol(c);
        tagSENSORMAP row;
        const bool has = m_work->GetRow(c, row);
        const QColor fore = has && row.assigned ? kAssignedColor : QColor(Qt::black);
        model->SetText(r, col + 3, has ? QString::fromStdString(row.sensor) : QString());
        model->SetText(r, col + 4, has ? QString::fromStdString(row.subsystem) : QString());
        model->SetCellForeColor(r, col + 3, fore);
        model->SetCellForeColor(r, col + 4, fore);
    }
}

std::vector<int> CDlgExpPlanMap::GetSelection()
{
    if (!m_selection.empty())
        return m_selection;
    const std::vector<int> rows = m_grid->SelectedRows();
    const std::vector<int> cols = m_grid->SelectedCols();
    if (rows.empty() || cols.empty())
        return {};
    std::vector<int> channels;
    for (int r : rows) {
        const int c = CellChannel(r, cols.front());
        if (c >= 0 && c < m_channelCount && c < m_work->GetRowCount())
            channels.push_back(c);
    }
    if (channels.empty())
        return {};
    // Whole units only: a second channel brings its first, a first channel its second.
    tagSENSORMAP row;
    if (m_work->GetRow(channels.front(), row) && row.channel == 1)
        channels.insert(channels.begin(), channels.front() - 1);
    if (m_work->GetRow(channels.back(), row) && row.channel == 0)
        channels.push_back(channels.back() + 1);
    m_selection = channels;
    return m_selection;
}

void CDlgExpPlanMap::SelectChannels(int first, int last)
{
    m_selection.clear();
    const int col = ChannelCol(first) + 3;
    m_grid->SelectCells(ChannelRow(first), col, ChannelRow(last), col + 1);
}

void CDlgExpPlanMap::SelectStored()
{
    if (m_selection.empty())
        return;
    const int first = m_selection.front();
    const int last = m_selection.back();
    if (first / kRowsPerBand != last / kRowsPerBand)
        return;
    const int col = ChannelCol(first) + 3;
    m_grid->SelectCells(ChannelRow(first), col, ChannelRow(last), col + 1);
}

void CDlgExpPlanMap::MovePair(int from, int to)
{
    m_work->SwapRows(from, to);
    m_work->SwapRows(from + 1, to + 1);
    if (m_project && m_project->GetSensorAssignment())
        m_work->ApplyAssignment(*m_project->GetSensorAssignment());
    FillCells();
}

void CDlgExpPlanMap::OnUp()
{
    std::vector<int> selection = GetSelection();
    if (selection.empty() || selection.front() < 2)
        return;
    for (size_t i = 0; i < selection.size(); i += 2)
        MovePair(selection[i], selection[i] - 2);
    for (int& c : selection)
        c -= 2;
    m_selection = selection;
    SelectStored();
}

void CDlgExpPlanMap::OnDown()
{
    std::vector<int> selection = GetSelection();
    if (selection.empty() || selection.back() >= m_channelCount - 1 || selection.back() + 2 >= m_work->GetRowCount())
        return;
    for (size_t i = selection.size(); i >= 2; i -= 2)
        MovePair(selection[i - 2], selection[i - 2] + 2);
    for (int& c : selection)
        c += 2;
    m_selection = selection;
    SelectStored();
}

void CDlgExpPlanMap::OnMoveByDrag()
{
    if (m_drag) {
        m_tip->Show(0);
        m_drag = false;
        return;
    }
    if (GetSelection().empty())
        return;
    m_tip->SetTip(mapFromGlobal(QCursor::pos()), QString::fromStdString(LoadString(IDS_MOVING)));
    m_tip->Show(1);
    m_drag = true;
}

void CDlgExpPlanMap::OnGridMouse(quint32 msg)
{
    if (msg == WM_MOUSEMOVE && m_drag) {
        m_tip->SetTip(mapFromGlobal(QCursor::pos()), QString::fromStdString(LoadString(IDS_MOVING)));
        m_tip->update();
    } else if (msg == WM_LBUTTONDOWN && !m_drag) {
        m_selection.clear();
    } else if (msg == WM_LBUTTONUP && m_drag) {
        OnDrop(m_grid->GetRow(), m_grid->GetCol());
    }
}

void CDlgExpPlanMap::OnDrop(int row, int col)
{
    m_drag = false;
    m_tip->Show(0);
    if (row < 1 || col < 1)
        return;
    int target = CellChannel(row, col);
    tagSENSORMAP targetRow;
    if (!m_work->GetRow(target, targetRow))
        return;
    if (targetRow.channel == 1)
        --target;
    const std::vector<int> selection = GetSelection();
    const int size = static_cast<int>(selection.size());
    if (size == 0 || target + size > m_channelCount || target + size > m_work->GetRowCount())
        return;
    for (int i = 0; i + 1 < size; i += 2)
        MovePair(selection[static_cast<size_t>(i)], target + i);
}

void CDlgExpPlanMap::OnAddSubsystem()
{
    CDlgExpPlanAddSubsystem dialog(m_project, this);
    dialog.SetPlan(m_work.get());
    dialog.DoModal();
    // A refusal part-way may have placed the subsystems before it: show the copy as it is.
    FillCells();
}

void CDlgExpPlanMap::OnRemoveSubsystem()
{
    const int channel = CellChannel(m_grid->GetRow(), m_grid->GetCol());
    tagSENSORMAP row;
    if (m_grid->GetRow() < 1 || m_grid->GetCol() < 1 || !m_work->GetRow(channel, row) || row.subsystem.empty())
        return;
    if (m_project && row.subsystem == m_project->GetTargetSubsystem()) {
        AfxMessageBox(IDS_OWN_SUBSYSTEM_KEPT, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (AfxFormatMessageBox(IDS_DELETE_ELEMENT, MB_OKCANCEL | MB_ICONQUESTION, row.subsystem.c_str()) != IDOK)
        return;
    m_work->ClearSubsystem(row.subsystem);
    FillCells();
}

void CDlgExpPlanMap::OnUnitGroup()
{
    CDlgRegQMXBlix dialog(m_project, this);
    if (dialog.DoModal() != IDOK || !m_project)
        return;
    m_work->RefreshFromUnitGroup(m_project->GetBlixLists().GetAt(dialog.GetSelectedIndex()));
    UpdateGroupCaption();
    BuildGrid();
}

void CDlgExpPlanMap::OnCopy()
{
    CStdioFile file;
    file.OpenMemory(CStdioFile::modeWrite);
    CExpPlanIO io(m_project);
    io.ExportPlanText(file, *m_work);
    if (!SetClipboardText(file.GetMemoryText())) {
        AfxMessageBox(IDS_CLIPBOARD_CANNOT_OPEN, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    AfxMessageBox(IDS_FINISHED, MB_OK | MB_ICONINFORMATION);
}

void CDlgExpPlanMap::OnPaste()
{
    std::string text;
    if (!GetClipboardText(text) || text.empty()) {
        AfxMessageBox(IDS_CLIPBOARD_NO_TEXT, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CStdioFile file;
    file.OpenMemory(CStdioFile::modeRead, text);
    CExpPlanIO io(m_project);
    io.ImportPlanText(file, *m_work);
    FillCells();
    AfxMessageBox(IDS_FINISHED, MB_OK | MB_ICONINFORMATION);
    if (m_project)
        MarkProjectModified(*m_project);
}

void CDlgExpPlanMap::OnStore()
{
    UpdateData(true);
    CQMXSensorMapList* plans = m_project ? m_project->GetSensorMapList() : nullptr;
    if (!plans)
        return;
    if (m_mode == modeNew) {
        CQMXSensorMap* plan = plans->AddPlan(m_work->GetUnitGroupNumber(), m_name);
        const std::string name = plan->GetName();
        plan->CopyFrom(*m_work);
        plan->SetName(name);
        plan->SetComment(m_comment);
    } else if (m_mode == modeEdit && m_stored) {
        m_stored->CopyFrom(*m_work);
        // A name another plan bears becomes its unique variant (the plan itself bears the old one).
        if (m_name != m_stored->GetName())
            m_stored->SetName(plans->MakeUniqueName(m_name));
        m_stored->SetComment(m_comment);
    } else if (m_mode == modeView && m_stored) {
        if (m_comment != m_stored->GetComment())
            m_stored->SetComment(m_comment);
        if (CDlgExpPlanList* list = CDlgExpPlanList::GetInstance())
            list->Refill();
        CDlgExpPlanList::UsePlan(*m_project, *m_stored);
    }
    if (m_mode != modeView)
        if (CDlgExpPlanList* list = CDlgExpPlanList::GetInstance())
            list->Refill();
    MarkProjectModified(*m_project);
    CloseWindow(IDOK);
}

void CDlgExpPlanMap::CloseWindow(int result)
{
    EndDialog(result);
}

void CDlgExpPlanMap::OnOK()
{
    // Enter does not store: storing is the explicit command.
}

void CDlgExpPlanMap::OnCancel()
{
    CloseWindow(IDCANCEL);
}

void CDlgExpPlanMap::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        CloseWindow(IDCANCEL);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return;
    CZuDialog::keyPressEvent(event);
}
