#include "views/ui/DlgCompStAcSplBySingleIP.h"

#include "app/AnalysisProject.h"
#include "app/TALVOProject.h"
#include "platform/base/Format.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/ui/FlexGridEx.h"
#include "platform/ui/ZuChart.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "views/ui/DlgCompSplBySingleIP.h"
#include "views/ui/AxisChoiceBox.h"
#include "calculation/ui/DlgSelectSubsystem.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QVBoxLayout>

#include <cmath>

CDlgCompStAcSplBySingleIP* CDlgCompStAcSplBySingleIP::CreateInstance(CAnalysisProject* project, QWidget* parent)
{
    return Instances().RegisterNew(project, [&] { return new CDlgCompStAcSplBySingleIP(project, parent); });
}

CDlgCompStAcSplBySingleIP* CDlgCompStAcSplBySingleIP::Open(CAnalysisProject* project, const std::string& target,
                                                           const CZuRpmMultiVecFunc* splTable, QWidget* parent)
{
    if (!project)
        return nullptr;
    return Instances().ShowFor(project, [&]() -> CDlgCompStAcSplBySingleIP* {
        if (!splTable)
            return nullptr;
        auto* dialog = new CDlgCompStAcSplBySingleIP(project, parent);
        dialog->SetTargetSubsystem(target);
        dialog->SetSplFolder(splTable);
        dialog->Create();
        return dialog;
    });
}

CDlgCompStAcSplBySingleIP::CDlgCompStAcSplBySingleIP(CAnalysisProject* project, QWidget* parent)
    : CZuDialog(parent, IDD), m_project(project)
{
    setWindowTitle(QString::fromStdString(LoadString(IDS_POWER_CONTRIBUTION)));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    m_line = new CZuChart(splitter);
    m_line->setObjectName("lineChart");
    m_grid = new CFlexGridEx(splitter);
    m_grid->setObjectName("grid");
    splitter->addWidget(m_line);
    splitter->addWidget(m_grid);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    layout->addWidget(splitter, 1);

    auto* row = new QHBoxLayout;
    auto* axisBox = AxisChoiceBox(this, m_axisRadio, [this](int a) { SetAxis(a); });
    m_list = new QComboBox(this);
    m_list->setObjectName("positions");
    m_list->setMinimumWidth(120);
    connect(m_list, &QComboBox::activated, this, [this](int i) { SelectPosition(i); });
    m_pick = new QPushButton(tr("Select..."), this);
    connect(m_pick, &QPushButton::clicked, this, [this] { OnPickRow(); });
    m_clear = new QPushButton(tr("Clear Selection"), this);
    connect(m_clear, &QPushButton::clicked, this, [this] { SelectRow(-1); });
    row->addWidget(axisBox);
    row->addWidget(m_list);
    row->addStretch(1);
    row->addWidget(m_pick);
    row->addWidget(m_clear);
    layout->addLayout(row);

    m_grid->installEventFilter(this);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { SelectRow(section); });
    connect(m_line, &QCustomPlot::plottableClick, this, [this](QCPAbstractPlottable* plottable, int, QMouseEvent*) {
        const QVariant r = plottable->property("row");
        if (r.isValid())
            SelectRow(r.toInt());
    });
    resize(820, 620);
}

CMSFlexGrid* CDlgCompStAcSplBySingleIP::Grid() const
{
    return m_grid;
}

bool CDlgCompStAcSplBySingleIP::OnInitDialog()
{
    CTALVOProject* container = m_project ? m_project->GetOwner() : nullptr;
    auto kind = [container](bool structure) {
        return [container, structure](const std::string& name) {
            std::string plain = name;
            CGfxUtil::RemoveWaveSign(plain);
            if (!container)
                return false;
            return (structure ? container->IsStructure(plain) : container->IsAcoustic(plain)) == 1;
        };
    };
    m_data.SetTable(m_table, kind(true), kind(false));
    if (m_data.GetRpmCount() == 0) {
        for (QWidget* w : std::initializer_list<QWidget*>{m_list, m_line, m_grid, m_axisRadio[0], m_axisRadio[1]})
            w->setEnabled(false);
        return true;
    }
    FillList();
    m_data.Compute(m_axis, 0);
    FillGrid();
    Draw();
    return true;
}

void CDlgCompStAcSplBySingleIP::FillList()
{
    const QSignalBlocker block(m_list);
    m_list->clear();
    const std::vector<double>& values = m_data.GetX(m_axis == 0 ? 1 : 0);
    for (size_t i = 0; i < values.size(); ++i)
        m_list->addItem(QString::fromStdString(Format("%g", values[i])), static_cast<int>(i));
    if (m_list->count() > 0)
        m_list->setCurrentIndex(0);
}

void CDlgCompStAcSplBySingleIP::SetAxis(int axis)
{
    m_axis = axis == 1 ? 1 : 0;
    m_axisRadio[m_axis]->setChecked(true);
    FillList();
    m_data.Compute(m_axis, 0);
    FillGrid();
    Draw();
    SelectGridColumn(m_data.GetSelectedRow());
}

void CDlgCompStAcSplBySingleIP::SelectPosition(int index)
{
    if (index < 0 || index >= m_list->count())
        return;
    m_list->setCurrentIndex(index);
    m_data.Compute(m_axis, m_list->itemData(index).toInt());
    FillGrid();
    Draw();
}

void CDlgCompStAcSplBySingleIP::SelectRow(int row)
{
    m_data.SelectRow(row);
    FillGrid();
    Draw();
    SelectGridColumn(m_data.GetSelectedRow());
}

void CDlgCompStAcSplBySingleIP::OnPickRow()
{
    std::vector<std::string> names;
    for (const auto& r : m_data.Rows())
        names.push_back(r.name);
    const int row = CDlgSelectSubsystem::PickName(this, names);
    if (row >= 0)
        SelectRow(row);
}

void CDlgCompStAcSplBySingleIP::SelectGridColumn(int row)
{
    CDlgCompSplBySingleIP::SelectDataColumn(*m_grid, row);
}

void CDlgCompStAcSplBySingleIP::FillGrid()
{
    const auto& rows = m_data.Rows();
    const std::vector<double>& x = m_data.GetX(m_axis);
    CDlgCompSplBySingleIP::FillAxisColumn(*m_grid, x, m_axis, static_cast<int>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        const int col = static_cast<int>(i) + 1;
        m_grid->SetTextMatrix(0, col, rows[i].name);
        m_grid->SetColWidth(col, 90);
        for (size_t k = 0; k < rows[i].values.size() && k < x.size(); ++k) {
            const double v = rows[i].values[k];
            m_grid->SetTextMatrix(static_cast<int>(k) + 1, col, std::isfinite(v) ? CGfxUtil::GenFormat(v, 2) : "---");
        }
    }
}

void CDlgCompStAcSplBySingleIP::Draw()
{
    std::vector<CDlgCompSplBySingleIP::CLine> lines;
    for (const auto& r : m_data.Rows())
        lines.push_back({r.name, r.values, r.drawnColor, r.style});
    CDlgCompSplBySingleIP::DrawLevelLines(*m_line, m_data.GetX(m_axis), m_axis, lines, m_target);
}

bool CDlgCompStAcSplBySingleIP::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        CopyGrid();
        return true;
    }
    return CZuDialog::eventFilter(watched, event);
}

std::string CDlgCompStAcSplBySingleIP::GridText() const
{
    return CDlgCompSplBySingleIP::TabText(*m_grid);
}

bool CDlgCompStAcSplBySingleIP::CopyGrid()
{
    return CDlgCompSplBySingleIP::CopyText(GridText());
}
