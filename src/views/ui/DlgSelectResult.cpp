#include "views/ui/DlgSelectResult.h"

#include "app/AnalysisProject.h"
#include "app/ProjectTreeWindow.h"
#include "platform/elements/MElementList.h"
#include "platform/ui/DialogButtons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kEnergyResultByRpm = 90;
constexpr int kEnergyResultByOrder = 95;
} // namespace

CDlgSelectResult* CDlgSelectResult::CreateInstance(CAnalysisProject* firstProject, CMElement* firstResult,
                                                   const IProjectTreeWindow* tree, QWidget* parent, Answer answer)
{
    CDlgSelectResult* dialog = Instances().RegisterNew(
        ProgramKey(), [&] { return new CDlgSelectResult(firstProject, firstResult, tree, parent, std::move(answer)); });
    if (dialog)
        dialog->Create();
    return dialog;
}

void CDlgSelectResult::DestroyInstance()
{
    if (CDlgSelectResult* dialog = GetInstance()) {
        dialog->m_timer->stop();
        Instances().Close(ProgramKey());
    }
}

CDlgSelectResult::CDlgSelectResult(CAnalysisProject* firstProject, CMElement* firstResult,
                                   const IProjectTreeWindow* tree, QWidget* parent, Answer answer)
    : CZuDialog(parent, kTemplateId), m_pFirstProject(firstProject), m_pFirstResult(firstResult), m_tree(tree),
      m_answer(std::move(answer))
{
    setObjectName(QStringLiteral("DlgSelectResult"));
    setWindowTitle(tr("Select Result to Compare"));
    m_project = new QLabel(this);
    m_project->setObjectName(QStringLiteral("c2071"));
    m_project->setMinimumWidth(220);
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("c2072"));
    m_result->setMinimumWidth(220);
    auto* info = new QLabel(tr("Select an energy result in the project tree."), this);
    auto* buttons = CDialogButtons::OkCancel(this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setEnabled(false);
    auto* form = new QFormLayout;
    form->addRow(tr("Analysis project:"), m_project);
    form->addRow(tr("Result:"), m_result);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(info);
    layout->addLayout(form);
    layout->addWidget(buttons);
    m_timer = new QTimer(this);
    m_timer->setInterval(kRefreshMs);
    connect(m_timer, &QTimer::timeout, this, [this] { Refresh(); });
    m_timer->start();
}

CDlgSelectResult::~CDlgSelectResult() = default;

bool CDlgSelectResult::IsCompatible(const CAnalysisProject* first, const CMElement* candidate)
{
    auto* other = dynamic_cast<const CAnalysisProject*>(candidate);
    if (!first || !other)
        return false;
    auto* a = const_cast<CAnalysisProject*>(first);
    auto* b = const_cast<CAnalysisProject*>(other);
    return a->GetProjectType() == b->GetProjectType() && a->GetOrderList().GetSize() == b->GetOrderList().GetSize() &&
           a->GetRPMOptions() == b->GetRPMOptions();
}

void CDlgSelectResult::Refresh()
{
    m_pChosen = nullptr;
    CMElement* project = m_tree ? m_tree->GetTreeProject(m_tree->GetActiveIndex()) : nullptr;
    if (!IsCompatible(m_pFirstProject, project)) {
        m_project->setText(QStringLiteral("Not Available"));
        m_result->clear();
        m_ok->setEnabled(false);
        return;
    }
    m_project->setText(QString::fromStdString(project->GetName()));
    CMElementList selection;
    m_tree->GetSelection(selection);
    CMElement* first = selection.GetSize() > 0 ? selection[0] : nullptr;
    if (first && (first->GetType() == kEnergyResultByRpm || first->GetType() == kEnergyResultByOrder)) {
        m_result->setText(QString::fromStdString(first->GetName()));
        m_ok->setEnabled(true);
        m_pChosen = first;
    } else {
        m_result->clear();
        m_ok->setEnabled(false);
    }
}

void CDlgSelectResult::OnOK()
{
    if (!m_pChosen)
        return;
    m_timer->stop();
    if (m_answer)
        m_answer(m_pFirstResult, m_pChosen);
    DestroyInstance();
}

void CDlgSelectResult::OnCancel()
{
    m_timer->stop();
    DestroyInstance();
}
