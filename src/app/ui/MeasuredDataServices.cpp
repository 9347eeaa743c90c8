#include "app/ui/MeasuredDataServices.h"

#include "acquisition/DAQCalculator.h"
#include "acquisition/DAQProgress.h"
#include "acquisition/ui/DlgDataViewRpmSetting.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/ui/DlgProgress.h"
#include "experiments/ui/SensorDoc.h"
#include "platform/elements/MElementList.h"

#include <QApplication>

#include <memory>

namespace {

class CRecalculator : public IDAQRecalculator
{
public:
    explicit CRecalculator(CDaqProject& project) : m_calculator(&project, project.IsUFData()) {}
    int Calculate(CMElementList& list) override
    {
        for (CMElement* set : list)
            m_calculator.AddElement(set);
        return m_calculator.Calculate();
    }
    int ReportErrors(const std::string& path) override { return m_calculator.ReportErrors(path) ? 1 : 0; }

private:
    CDAQCalculator m_calculator;
};

// The application's progress dialog as the data-set runs see it.
class CDialogProgress : public IDAQProgress
{
public:
    CDialogProgress() : m_dialog(CDlgProgress::ShowInstance()) {}
    ~CDialogProgress() override { CDlgProgress::DestroyInstance(); }
    void SetRange(int count) override
    {
        if (m_dialog)
            m_dialog->SetOuterRange(count, 0);
    }
    void SetMessage(const std::string& text) override
    {
        if (m_dialog)
            m_dialog->SetMessage(QString::fromStdString(text));
    }
    void Step() override
    {
        if (m_dialog)
            m_dialog->StepTotal();
    }
    bool PumpMessages() override { return m_dialog && m_dialog->PumpMessages(); }

private:
    CDlgProgress* m_dialog;
};

} // namespace

void InstallMeasuredDataServices()
{
    CDaqProject::SetRecalculatorFactory([](CDaqProject& project) -> std::unique_ptr<IDAQRecalculator> {
        return std::make_unique<CRecalculator>(project);
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
        CDialogProgress progress;
        if (calculator.SaveDaqFiles(&progress))
            return true;
        error = calculator.GetErrors().empty() ? std::string() : calculator.GetErrors().front().text;
        return false;
    });
}
