#include "planning/ui/DlgSelectSensors.h"

#include "app/TALVOProject.h"
#include "experiments/SensorProject.h"
#include "planning/QMXSensorMap.h"
#include "planning/QMXSensorMapList.h"
#include "planning/SensorAssignment.h"
#include "platform/base/Format.h"
#include "platform/win/PromptService.h"
#include "platform/win/StatusBarFallback.h"
#include "platform/win/StringIds.h"
#include "platform/ui/DialogButtons.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>

#include <memory>

CDlgSelectSensors::CDlgSelectSensors(CTALVOProject* project, QWidget* parent)
    : CZuDialog(parent, kTemplateId), m_project(project)
{
    setObjectName(QStringLiteral("DlgSelectSensors"));
    setWindowTitle(QStringLiteral("Sensors of the Subsystem"));
    m_nameText = new QLabel(this);
    m_nameText->setObjectName(QStringLiteral("Text2071"));
    m_nameText->setMinimumWidth(120);
    m_countText = new QLabel(this);
    m_countText->setObjectName(QStringLiteral("Text2072"));
    m_countText->setMinimumWidth(60);
    m_hide = new QCheckBox(QStringLiteral("Hide assigned sensors"), this);
    m_hide->setObjectName(QStringLiteral("Check3049"));
    m_hide->setChecked(true);
    connect(m_hide, &QCheckBox::clicked, this, [this] { FillList(); });
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("List3159"));
    m_list->setMinimumSize(260, 300);
    connect(m_list, &QListWidget::itemChanged, this, [this] {
        if (!m_filling)
            UpdateCount();
    });

    auto* buttons = CDialogButtons::OkCancel(this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Subsystem:"), this), 0, 0);
    layout->addWidget(m_nameText, 0, 1);
    layout->addWidget(m_hide, 1, 0, 1, 2);
    layout->addWidget(m_list, 2, 0, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("Ticked:"), this), 3, 0);
    layout->addWidget(m_countText, 3, 1);
    layout->addWidget(buttons, 4, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);
}

void CDlgSelectSensors::SetSubsystem(const std::string& name)
{
    m_subsystem = name;
    m_structure = m_project && m_project->IsStructure(name) != 0;
    m_nameText->setText(QString::fromStdString(name));
}

bool CDlgSelectSensors::OnInitDialog()
{
    FillList();
    return CZuDialog::OnInitDialog();
}

void CDlgSelectSensors::SetHideAssigned(bool hide)
{
    m_hide->setChecked(hide);
    FillList();
}

void CDlgSelectSensors::FillList()
{
    m_filling = true;
    m_list->clear();
    const CSensorProject* sensors = m_project ? m_project->GetSensorProject() : nullptr;
    const CSensorAssignment* assignment = m_project ? m_project->GetSensorAssignment() : nullptr;
    const CMElement* folder = sensors ? sensors->GetCategory(m_structure ? CSensorProject::categoryAcceleration
                                                                         : CSensorProject::categoryMicrophone)
                                      : nullptr;
    const int row = assignment ? assignment->FindRow(m_subsystem) : -1;
    for (int i = 0; folder && i < folder->GetChildCount(); ++i) {
        const std::string& name = folder->GetChild(i)->GetName();
        if (m_hide->isChecked() && assignment && assignment->IsSensorAssigned(name))
            continue;
        auto* item = new QListWidgetItem(QString::fromStdString(name), m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(assignment && assignment->FindItem(row, name) >= 0 ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
}

void CDlgSelectSensors::SetTicked(int row, bool ticked)
{
    if (QListWidgetItem* item = m_list->item(row))
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

std::vector<std::string> CDlgSelectSensors::GetTickedSensors() const
{
    std::vector<std::string> names;
    for (int i = 0; i < m_list->count(); ++i)
        if (m_list->item(i)->checkState() == Qt::Checked)
            names.push_back(m_list->item(i)->text().toStdString());
    return names;
}

void CDlgSelectSensors::UpdateCount()
{
    m_countText->setText(
        QString::fromStdString(Format("%d/%d", static_cast<int>(GetTickedSensors().size()), kMaxSensors)));
}

QString CDlgSelectSensors::CountText() const
{
    return m_countText->text();
}

void CDlgSelectSensors::OnOK()
{
    CSensorAssignment* assignment = m_project ? m_project->GetSensorAssignment() : nullptr;
    const int row = assignment ? assignment->FindRow(m_subsystem) : -1;
    if (row < 0)
        return;
    std::vector<std::string> names = GetTickedSensors();
    const int held = assignment->GetItemCount(row);
    const char* name = m_subsystem.c_str();
    bool askCount = true;
    if (names.empty() && held > 0) {
        if (AfxFormatMessageBox(IDS_NO_SENSOR_TICKED, MB_OKCANCEL | MB_ICONEXCLAMATION, name, name) != IDOK)
            return;
        askCount = false;
    }
    if (askCount && static_cast<int>(names.size()) != held &&
        AfxFormatMessageBox(IDS_SENSOR_COUNT_CHANGES, MB_OKCANCEL | MB_ICONEXCLAMATION, name, name) != IDOK)
        return;
    // The plans take the same list the assignment keeps.
    if (names.size() > static_cast<size_t>(kMaxSensors))
        names.resize(kMaxSensors);

    // Every plan must take the list before any changes: a refusal leaves all of them as they were.
    if (CQMXSensorMapList* plans = m_project->GetSensorMapList()) {
        std::vector<std::unique_ptr<CQMXSensorMap>> saved;
        for (int p = 0; p < plans->GetPlanCount(); ++p) {
            saved.push_back(std::make_unique<CQMXSensorMap>());
            saved.back()->CopyFrom(*plans->GetPlan(p));
        }
        if (!plans->ReplaceSubsystemSensorsInAll(m_subsystem, names, &*CStatusBarFallback(nullptr))) {
            for (int p = 0; p < plans->GetPlanCount(); ++p)
                plans->GetPlan(p)->CopyFrom(*saved[static_cast<size_t>(p)]);
            return;
        }
    }
    assignment->SetItemCount(row, static_cast<int>(names.size()));
    for (size_t k = 0; k < names.size(); ++k)
        assignment->SetItem(row, static_cast<int>(k), names[k]);
    EndDialog(IDOK);
}
