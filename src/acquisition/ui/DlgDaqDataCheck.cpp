#include "acquisition/ui/DlgDaqDataCheck.h"

#include "acquisition/DaqDataCheck.h"
#include "acquisition/ui/DlgExpDataCheckOption.h"
#include "experiments/ExpData.h"
#include "experiments/ExpProject.h"
#include "platform/elements/MElement.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"

#include <QComboBox>
#include <QEvent>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <set>
#include <string>
#include <utility>

namespace {
// Twips to pixels at 96 dpi.
int Pixels(int twips)
{
    return twips * 96 / 1440;
}
} // namespace

CDlgDaqDataCheck* CDlgDaqDataCheck::CreateInstance(CExpProject* project, QWidget* parent)
{
    CDlgDaqDataCheck* dialog =
        Instances().RegisterNew(ProgramKey(), [&] { return new CDlgDaqDataCheck(project, parent); });
    if (dialog)
        dialog->Create();
    return dialog;
}

CDlgDaqDataCheck::CDlgDaqDataCheck(CExpProject* project, QWidget* parent) : CZuDialog(parent, 4010), m_project(project)
{
    setObjectName(QStringLiteral("DlgDaqDataCheck"));
    setWindowTitle(QStringLiteral("Data Check"));
    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("Combo3063"));
    m_combo->setMinimumWidth(200);
    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("Grid3262"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    m_grid->setMinimumSize(Pixels(2700 + 1050 + 400 + 400) + 24, 200);
    auto* options = new QPushButton(QStringLiteral("Options..."), this);
    options->setObjectName(QStringLiteral("Button3021"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Experiment:"), this));
    top->addWidget(m_combo, 1);
    top->addWidget(options);
    auto* legend = new QLabel(QStringLiteral("1: input range reached    2: overload    ?: input range unknown"), this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addWidget(legend);
    m_advice = new QLabel(this);
    m_advice->setObjectName(QStringLiteral("Advice"));
    m_advice->setWordWrap(true);
    m_advice->setStyleSheet(QStringLiteral("QLabel { background: #fff3b0; color: black; padding: 6px; }"));
    m_advice->hide();
    layout->addWidget(m_advice);
    layout->addWidget(buttons);
    connect(options, &QPushButton::clicked, this, &CDlgDaqDataCheck::OnOptions);
    connect(m_combo, &QComboBox::activated, this, [this](int) { Refresh(); });
    connect(m_grid, &QTableWidget::cellClicked, this, [this](int row, int) { OnSelectRow(row); });
}

CDlgDaqDataCheck::~CDlgDaqDataCheck() = default;

bool CDlgDaqDataCheck::OnInitDialog()
{
    m_combo->clear();
    m_combo->addItem(QString::fromStdString(m_project ? m_project->GetName() : std::string()));
    m_combo->setCurrentIndex(0);
    m_check = std::make_unique<CDaqDataCheck>(m_project);
    FillGrid();
    return CZuDialog::OnInitDialog();
}

void CDlgDaqDataCheck::Refresh()
{
    if (m_check)
        m_check->Run();
    else
        m_check = std::make_unique<CDaqDataCheck>(m_project);
    FillGrid();
}

void CDlgDaqDataCheck::OnOptions()
{
    CDlgExpDataCheckOption options(this);
    if (options.DoModal() == IDOK)
        Refresh();
}

void CDlgDaqDataCheck::OnSelectRow(int row)
{
    if (!m_check || row < 1 || row > m_check->GetDataSets().GetSize())
        return;
    if (m_show)
        m_show(m_check->GetDataSets()[row - 1]);
}

void CDlgDaqDataCheck::FillGrid()
{
    const CMElementList empty;
    const CMElementList& sets = m_check ? m_check->GetDataSets() : empty;
    m_grid->clear();
    m_grid->setColumnCount(4);
    m_grid->setRowCount(sets.GetSize() + 1);
    m_grid->horizontalHeader()->hide();
    const int widths[] = {2700, 1050, 400, 400};
    const char* headings[] = {"Src LP#", "Repeat#", "1", "2"};
    for (int c = 0; c < 4; ++c) {
        m_grid->setColumnWidth(c, Pixels(widths[c]));
        auto* heading = new QTableWidgetItem(QString::fromLatin1(headings[c]));
        heading->setBackground(palette().button());
        heading->setTextAlignment(Qt::AlignCenter);
        m_grid->setItem(0, c, heading);
    }
    for (int i = 0; i < sets.GetSize(); ++i) {
        CMElement* set = sets[i];
        const int row = i + 1;
        auto* source = new QTableWidgetItem(
            QString::fromStdString(set->GetParent() ? set->GetParent()->GetName() : std::string()));
        source->setBackground(palette().button());
        m_grid->setItem(row, 0, source);
        auto* repeat = new QTableWidgetItem(QString::fromStdString(set->GetName()));
        repeat->setBackground(palette().button());
        m_grid->setItem(row, 1, repeat);
        for (int c = 2; c < 4; ++c) {
            auto* cell = new QTableWidgetItem;
            cell->setTextAlignment(Qt::AlignCenter);
            m_grid->setItem(row, c, cell);
        }
    }
    auto mark = [&](const CDaqDataError* error, int column, const QString& text, const QColor& colour) {
        if (!error) {
            for (int row = 1; row < m_grid->rowCount(); ++row)
                m_grid->item(row, column)->setBackground(QColor(128, 128, 128));
            return;
        }
        for (CMElement* channel : error->GetList()) {
            const int i = sets.Index(channel->GetParent());
            if (i < 0)
                continue;
            QTableWidgetItem* cell = m_grid->item(i + 1, column);
            if (cell->text() == QStringLiteral("X"))
                continue;
            cell->setText(text);
            cell->setBackground(colour);
        }
    };
    const CDaqDataCheck* check = m_check.get();
    mark(check ? check->GetInputRangeError() : nullptr, 2, QStringLiteral("X"), QColor(255, 255, 0));
    mark(check ? check->GetUnknownRangeError() : nullptr, 2, QStringLiteral("?"), QColor(255, 255, 255));
    mark(check ? check->GetOverloadError() : nullptr, 3, QStringLiteral("X"), QColor(255, 255, 0));

    UpdateAdvice();
}

void CDlgDaqDataCheck::UpdateAdvice()
{
    // Clipped channels are measured again after the gains are set: a channel counts once, however
    // many of its data sets reached the top.
    std::set<std::pair<std::string, int>> clipped;
    if (const CDaqDataError* error = m_check ? m_check->GetInputRangeError() : nullptr)
        for (CMElement* channel : error->GetList()) {
            const CMElement* set = channel->GetParent();
            const CMElement* excitation = set ? set->GetParent() : nullptr;
            auto* record = ElementCast<CExpData>(channel);
            clipped.emplace(excitation ? excitation->GetName() : std::string(),
                            record ? record->GetLocalPointNumber() : -1);
        }
    m_advice->setVisible(!clipped.empty());
    m_advice->setText(clipped.empty() ? QString()
                                      : QString::fromStdString(FormatString(IDS_CLIPPED_RUN_GAIN_SETTING,
                                                                            static_cast<int>(clipped.size()))));
}

void CDlgDaqDataCheck::changeEvent(QEvent* event)
{
    CZuDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        UpdateAdvice();
}
