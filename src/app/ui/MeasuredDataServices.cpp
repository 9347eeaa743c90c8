#include "app/ui/MeasuredDataServices.h"

#include "acquisition/DAQCalculator.h"
#include "acquisition/ui/DlgDaqDbCheck.h"
#include "acquisition/ui/DlgDataViewRpmSetting.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/TALVOApp.h"
#include "app/TALVOProject.h"
#include "platform/ui/DlgFeedback.h"
#include "experiments/ui/DlgExpDatabaseMapping.h"
#include "experiments/ui/SensorDoc.h"
#include "platform/automation/PLOVAWrapper.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/elements/MElementList.h"
#include "platform/win/StatusBarFallback.h"

#include <QApplication>

#include <memory>

namespace {

class CRecalculator : public IDAQRecalculator
{
public:
    explicit CRecalculator(CDaqProject& project) : m_calculator(&project, project.IsUFData()) {}
    int Calculate(CMElementList& list, CFeedback* feedback) override
    {
        for (CMElement* set : list)
            m_calculator.AddElement(set);
        return m_calculator.Calculate(feedback);
    }
    int ReportErrors(const std::string& path) override { return m_calculator.ReportErrors(path) ? 1 : 0; }
    std::string DescribeErrors() const override { return m_calculator.DescribeErrors(); }

private:
    CDAQCalculator m_calculator;
};

} // namespace

void InstallMeasuredDataServices()
{
    CDaqProject::SetRecalculatorFactory([](CDaqProject& project) -> std::unique_ptr<IDAQRecalculator> {
        return std::make_unique<CRecalculator>(project);
    });
    // The database check's mapping: the database's common names, read from PLOVA, against the
    // model's subsystems.
    CDlgDaqDbCheck::SetMappingEditor(
        [](QWidget* parent, CDaqProject& project, const std::string& database, std::vector<int32_t>& mapping) {
            const CTALVOProject* container = project.GetOwner();
            const CZuSubsystemTable* model = container ? container->GetModelSubsystemTable() : nullptr;
            if (!model)
                return false;
            std::vector<std::string> names;
            if (CPLOVAWrapper* plova = GetTALVOApp().RunPlovaDataChecker(database, &*CStatusBarFallback(nullptr))) {
                const int32_t count = plova->CommonNameCount();
                for (int32_t i = 0; i < count; ++i)
                    names.push_back(plova->CommonName(i));
                GetTALVOApp().ReleasePlovaDataChecker();
            }
            CDlgExpDatabaseMapping dialog(*model, std::move(names), mapping, parent);
            if (dialog.DoModal() != IDOK)
                return false;
            mapping = dialog.GetMapping();
            return true;
        });
    // The averaging of measured experiments asks for its RPM axis when the data disagree.
    CDaqProject::SetRpmOptionsEditor([](CRPMOptions& options) {
        CDlgDataViewRpmSetting dialog(&options, QApplication::activeWindow());
        return dialog.DoModal() == IDOK;
    });
    // The channel records of measured data live in the data sets' measurement files: every data
    // set of the project has its files brought in line with the sensor catalogue.
    CSensorDoc::SetMeasuredDataSaver([](CDaqProject& project, const std::vector<CMElement*>&, std::string& error) {
        CDAQCalculator calculator(&project, project.IsUFData());
        CMElementList sets;
        project.Find(RUNTIME_CLASS(CDAQExperiment), sets);
        for (CMElement* set : sets)
            calculator.AddElement(set);
        CDlgFeedback progress;
        if (calculator.SaveDaqFiles(&progress))
            return true;
        error = calculator.GetErrors().empty() ? std::string() : calculator.GetErrors().front().text;
        return false;
    });
}
