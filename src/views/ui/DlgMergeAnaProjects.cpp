#include "views/ui/DlgMergeAnaProjects.h"

#include "app/AnalysisProject.h"
#include "app/TALVOProject.h"
#include "calculation/InputEnergyFolder.h"
#include "calculation/InputPowerFolder.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/ui/DialogButtons.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/ZuOTFunc.h"
#include "spectral/ZuRpmFunc.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// Row r of the source map into the target map for every ticked row both maps have.
void CopyRows(const CZuRpmFunc& source, CZuRpmFunc& target, const std::vector<int>& rows)
{
    const int rpmCount = std::min(source.GetRpmCount(), target.GetRpmCount());
    const int freqCount = std::min(source.GetFreqCount(), target.GetFreqCount());
    for (int r : rows) {
        if (r < 0 || r >= rpmCount || !source.GetRowFunc(r) || !target.GetRowFunc(r))
            continue;
        for (int f = 0; f < freqCount; ++f)
            target.DataValue(r, f) = source.DataValue(r, f);
    }
}

// Value r of every subsystem vector (matched by name) for every ticked data index.
void CopyRows(const CMultiVectorFunction& source, CMultiVectorFunction& target, const std::vector<int>& rows)
{
    const int count = std::min(source.GetDataCount(), target.GetDataCount());
    for (int k = 0; k < source.GetSubsystemCount(); ++k) {
        const int t = target.GetIndex(source.GetSubsystem(k));
        if (t < 0)
            continue;
        for (int r : rows)
            if (r >= 0 && r < count)
                target.DataValue(r, t) = source.DataValue(r, k);
    }
}

void CopyRows(const CZuOTFunc& source, CZuOTFunc& target, const std::vector<int>& rows)
{
    const int orders = std::min(source.GetOrderCount(), target.GetOrderCount());
    for (int i = 0; i < orders; ++i) {
        const CZuRpmFunc* s = source.GetOrderFunc(i);
        CZuRpmFunc* t = target.GetOrderFunc(i);
        if (s && t)
            CopyRows(*s, *t, rows);
    }
}

// A pair of items of one subsystem; items of different kinds are left alone.
void CopyItem(CMElement* source, CMElement* target, const std::vector<int>& rows)
{
    if (auto* s = DynamicDowncast<CZuRpmFunc>(source)) {
        if (auto* t = DynamicDowncast<CZuRpmFunc>(target))
            CopyRows(*s, *t, rows);
    } else if (auto* s = DynamicDowncast<CMultiVectorFunction>(source)) {
        if (auto* t = DynamicDowncast<CMultiVectorFunction>(target))
            CopyRows(*s, *t, rows);
    } else if (auto* s = DynamicDowncast<CZuOTFunc>(source)) {
        if (auto* t = DynamicDowncast<CZuOTFunc>(target))
            CopyRows(*s, *t, rows);
    }
}

// Walks the source folder's subsystems; a name the target folder lacks is skipped and reported,
// and the walk goes on.
template <class Folder>
void MergeFolder(const Folder* source, const Folder* target, const std::vector<int>& rows,
                 std::vector<std::string>& skipped)
{
    if (!source || !target)
        return;
    CZuSubsystemTable table;
    source->GetSubsystemTable(table);
    for (int i = 0; i < table.GetCount(); ++i) {
        const std::string name = table[i];
        CMElement* s = source->FindRpmItem(name);
        CMElement* t = target->FindRpmItem(name);
        if (!s || !t) {
            if (std::find(skipped.begin(), skipped.end(), name) == skipped.end())
                skipped.push_back(name);
            continue;
        }
        CopyItem(s, t, rows);
    }
}
} // namespace

CDlgMergeAnaProjects::CDlgMergeAnaProjects(CTALVOProject* container, CAnalysisProject* target, QWidget* parent)
    : CZuDialog(parent, IDD), m_container(container), m_target(target)
{
    setWindowTitle(tr("Merge Analysis Projects"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_source = new QComboBox(this);
    m_source->setObjectName("source");
    m_source->setMinimumWidth(220);
    form->addRow(tr("Copy from:"), m_source);
    layout->addLayout(form);
    layout->addWidget(new QLabel(tr("RPM steps to copy:"), this));
    m_rpms = new QListWidget(this);
    m_rpms->setObjectName("rpms");
    m_rpms->setMinimumSize(260, 220);
    layout->addWidget(m_rpms, 1);
    auto* buttons = CDialogButtons::OkCancel(this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    layout->addWidget(buttons);
    connect(m_source, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        if (index >= 0)
            m_ok->setEnabled(true);
    });
}

CDlgMergeAnaProjects::~CDlgMergeAnaProjects() = default;

bool CDlgMergeAnaProjects::IsCompatible(CAnalysisProject& a, CAnalysisProject& b)
{
    if (a.GetProjectType() != b.GetProjectType() || !(a.GetOrderList() == b.GetOrderList()) ||
        !(a.GetRPMOptions() == b.GetRPMOptions()))
        return false;
    const COctaveManagerEx* ba = a.GetOctaveManager();
    const COctaveManagerEx* bb = b.GetOctaveManager();
    if (!ba || !bb)
        return ba == bb;
    return *ba == *bb;
}

std::vector<std::string> CDlgMergeAnaProjects::Merge(CAnalysisProject& source, CAnalysisProject& target,
                                                     const std::vector<int>& rows)
{
    std::vector<std::string> skipped;
    if (rows.empty())
        return skipped;
    MergeFolder(source.GetInputEnergyFolder(), target.GetInputEnergyFolder(), rows, skipped);
    MergeFolder(source.GetInputPowerFolder(), target.GetInputPowerFolder(), rows, skipped);
    return skipped;
}

bool CDlgMergeAnaProjects::OnInitDialog()
{
    m_ok->setEnabled(false);
    m_candidates.clear();
    m_source->clear();
    m_rpms->clear();
    if (!m_container || !m_target)
        return true;
    for (int i = 0; i < m_container->GetProjectCount(); ++i) {
        auto* project = DynamicDowncast<CAnalysisProject>(m_container->GetProject(i));
        if (!project || project == m_target || !IsCompatible(*project, *m_target))
            continue;
        m_candidates.push_back(project);
        m_source->addItem(QString::fromStdString(project->GetName()));
    }
    m_source->setCurrentIndex(-1);
    std::vector<double> rpms;
    m_target->GetRPMOptions().MakeRpmArrayD(rpms);
    for (double rpm : rpms) {
        auto* item = new QListWidgetItem(QString::fromStdString(Format("%g", rpm)), m_rpms);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    return true;
}

void CDlgMergeAnaProjects::OnOK()
{
    const int index = m_source->currentIndex();
    if (index < 0 || index >= static_cast<int>(m_candidates.size()) || !m_target)
        return;
    std::vector<int> rows;
    for (int i = 0; i < m_rpms->count(); ++i)
        if (m_rpms->item(i)->checkState() == Qt::Checked)
            rows.push_back(i);
    const std::vector<std::string> skipped = Merge(*m_candidates[static_cast<size_t>(index)], *m_target, rows);
    if (!skipped.empty()) {
        std::string names;
        for (const std::string& name : skipped)
            names += "\n" + name;
        AfxFormatMessageBox(IDS_MERGE_SKIPPED, MB_OK | MB_ICONWARNING, names.c_str());
    }
    EndDialog(IDOK);
}
