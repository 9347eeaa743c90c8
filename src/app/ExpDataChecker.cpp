#include "app/ExpDataChecker.h"

#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/TALVOApp.h"
#include "app/TALVOExp.h"
#include "app/TALVOProject.h"
#include "experiments/DAQConfig.h"
#include "platform/automation/PLOVAWrapper.h"
#include "platform/base/Feedback.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/WaitCursor.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/ZuRpmFunc.h"

#include <cmath>
#include <limits>

namespace {
// Columns of the result table.
constexpr int kCurrent = 0;
constexpr int kMin = 1;
constexpr int kMax = 2;
} // namespace

CExpDataChecker::~CExpDataChecker()
{
    GetTALVOApp().ReleasePlovaDataChecker();
}

std::string CExpDataChecker::ResultName(const std::string& subsystem)
{
    return Format("Data Check [%s]", subsystem.c_str());
}

int CExpDataChecker::FindCheckRow(const std::vector<double>& rpms, double rpm, int margin)
{
    for (size_t r = 0; r < rpms.size(); ++r)
        if (rpm - margin <= rpms[r] && rpms[r] < rpm + margin)
            return static_cast<int>(r);
    return -1;
}

int CExpDataChecker::Run(CDaqProject* project)
{
    m_project = project;
    m_errors.clear();
    if (!project)
        return 0;
    CWaitCursor wait;
    m_progress->Begin("Checking Experimental Data...", project->GetChildCount());
    m_plova = GetTALVOApp().RunPlovaDataChecker(project->GetExtraText(), m_progress);
    if (!m_plova) {
        m_progress->End();
        return 0; // already told
    }
    for (int i = 0; i < project->GetChildCount(); ++i) {
        auto* exp = ElementCast<CTALVOExp>(project->GetChild(i));
        if (!exp)
            continue;
        if (m_progress->IsCancelled()) {
            m_progress->End();
            return 0;
        }
        m_progress->BeginPart(1);
        m_progress->Begin(exp->GetSecondSubsystem(), exp->GetChildCount());
        for (int k = 0; k < exp->GetChildCount(); ++k) {
            if (auto* set = ElementCast<CDAQExperiment>(exp->GetChild(k)))
                CheckDataSet(*set, *m_plova);
            m_progress->Step();
        }
        m_progress->EndPart();
    }
    m_progress->End();
    return m_errors.empty() ? 1 : 0;
}

CMultiVectorFunction* CExpDataChecker::CheckDataSet(CDAQExperiment& set, CPLOVAWrapper& plova)
{
    CDaqProject* daq = m_project ? m_project : set.GetDaqProject();
    if (!daq)
        return nullptr;
    // The database entry of the data set's subsystem.
    const std::string subsystem = set.GetFirstInfoName();
    CTALVOProject* container = daq->GetOwner();
    CZuSubsystemTable* model = container ? container->GetModelSubsystemTable() : nullptr;
    const int position = model ? model->GetIndex(subsystem) : -1;
    const std::vector<int32_t>& mapping = daq->GetExtraList();
    if (position < 0 || position >= static_cast<int>(mapping.size()) || mapping[static_cast<size_t>(position)] < 0)
        return nullptr;
    const int entry = mapping[static_cast<size_t>(position)];

    CZuRpmFunc* map = set.FindRpmFuncOfFirstName();
    if (!map)
        return nullptr;
    map->SetAxisFlag(0);
    const int margin = daq->GetDAQConfig()->GetRpmMargin();
    const int row = FindCheckRow(map->GetRpmArray(), daq->GetExtraValue(0), margin);
    if (row < 0)
        return nullptr;
    map->SetSmoothingWidth(margin > 0 ? static_cast<int>(std::trunc(daq->GetExtraValue(1) / margin)) : 0);

    const int count = map->GetAxisCount();
    auto* result = ElementCast<CMultiVectorFunction>(set.FindOneChild(ResultName(subsystem)));
    if (!result) {
        CZuSubsystemTable columns;
        columns.Add("Current");
        columns.Add("Min(Database)");
        columns.Add("Max(Database)");
        auto made = std::make_unique<CMultiVectorFunction>(ResultName(subsystem), &columns, count, &set,
                                                           ElementType::DataCheck);
        made->SetLabel(subsystem);
        result = set.AddChild(std::move(made));
    } else if (result->GetDataCount() != count)
        result->SetDataCount(count);
    for (int j = 0; j < count; ++j)
        result->DataIndex(j) = map->GetAxisValue(j);

    for (int j = 0; j < count; ++j)
        result->DataValue(j, kCurrent) = map->GetSmoothedAt(row, j);
    int j = 0;
    try {
        for (; j < count; ++j) {
            result->DataValue(j, kMin) = plova.GetMinPvValue(entry, result->DataIndex(j), true);
            result->DataValue(j, kMax) = plova.GetMaxPvValue(entry, result->DataIndex(j), true);
        }
    } catch (const std::exception& e) {
        // The limits not read must not pass for the ones of an earlier run.
        for (int k = j; k < count; ++k) {
            result->DataValue(k, kMin) = std::numeric_limits<double>::quiet_NaN();
            result->DataValue(k, kMax) = std::numeric_limits<double>::quiet_NaN();
        }
        m_errors.push_back(Format("%s: the database limits could not be read from point %d on: %s", subsystem.c_str(),
                                  j + 1, e.what()));
    }
    return result;
}
