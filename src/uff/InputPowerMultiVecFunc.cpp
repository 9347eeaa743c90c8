#include "uff/InputPowerMultiVecFunc.h"

#include <vector>

#include "app/AnalysisProject.h"
#include "app/TALVOProject.h"
#include "models/HSEAResultData.h"
#include "platform/base/Format.h"
#include "platform/elements/ZuFunc.h"
#include "platform/elements/ZuSubsystemTable.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"
#include "platform/win/StringTable.h"
#include "platform/win/WinTypes.h"
#include "spectral/MultiVectorFunction.h"
#include "spectral/ZuRpmFunc.h"
#include "spectral/ZuRpmMultiVecFunc.h"
#include "spectral/ZuRpmResultData.h"

CZuRpmFunc* MakeSubsystemRpmFunc(CAnalysisProject& project, CZuRpmResultData& result, const std::string& target,
                                 CFeedback* feedback)
{
    std::string typed = target;
    if (CTALVOProject* owner = project.GetOwner())
        owner->GetSubsystemType(typed, 1);
    const std::string name = FormatString(IDS_ENERGY_NAME, typed.c_str());
    if (CMElement* old = result.FindOneChild(name)) {
        result.DeleteChild(old, 1);
    }
    std::unique_ptr<CZuRpmFunc> made = result.CreateRpmFunc(typed, name, ElementType::Energy);
    if (!made)
        return nullptr;
    made->SetName(name);
    made->SetParent(&result);
    auto* func = static_cast<CZuRpmFunc*>(result.AddChild(std::move(made)));
    for (int i = 0; i < result.GetResultCount(); ++i) {
        const auto* hsea = DynamicDowncast<CHSEAResultData>(result.GetResult(i));
        std::unique_ptr<CZuFunc> row = hsea ? hsea->CreateSubsystemFunc(typed, feedback) : nullptr;
        if (!row) {
            result.DeleteChild(func, 1);
            return nullptr;
        }
        func->AddRow(result.GetKey(i), std::move(row));
    }
    return func;
}

std::unique_ptr<CZuRpmMultiVecFunc> MakeInputPowerMultiVecFunc(CAnalysisProject& project, const std::string& target,
                                                               const CZuSubsystemTable& sources, CFeedback* feedback,
                                                               const std::function<bool(const std::string&)>& goOn)
{
    std::vector<CZuRpmResultData*> results;
    for (int k = 0; k < sources.GetCount(); ++k) {
        CZuSubsystemTable one;
        one.Add(sources[k]);
        CZuData* found = project.FindInputPower(one);
        if (!found)
            found = project.CalcInputPowerByName(one, 1, feedback);
        auto* result = DynamicDowncast<CZuRpmResultData>(found);
        if (!result) {
            feedback->Warning(FormatString(IDS_INPUT_POWER_NOT_CALCULATED, sources[k].c_str()),
                              IDS_INPUT_POWER_NOT_CALCULATED);
            return nullptr;
        }
        results.push_back(result);
    }
    // What was built here goes again when the function is abandoned.
    std::vector<std::pair<CZuRpmResultData*, CZuRpmFunc*>> made;
    auto discard = [&] {
        for (auto& [result, func] : made) {
            result->DeleteChild(func, 1);
        }
    };
    for (size_t k = 0; k < results.size(); ++k) {
        CZuRpmFunc* func = MakeSubsystemRpmFunc(project, *results[k], target, feedback);
        if (!func) {
            discard();
            return nullptr;
        }
        made.emplace_back(results[k], func);
        CZuSubsystemTable powered;
        if (results[k]->CollectInputPowerSubsystems(powered, 1, feedback) == 0 && goOn &&
            !goOn(sources[static_cast<int>(k)])) {
            discard();
            return nullptr;
        }
    }
    auto multi = std::make_unique<CZuRpmMultiVecFunc>(std::string(), nullptr, ElementType::Energy);
    if (made.empty())
        return multi;
    const CZuRpmFunc* first = made.front().second;
    for (int r = 0; r < first->GetRpmCount(); ++r) {
        const double rpm = first->GetRpm(r);
        auto vec = std::make_unique<CMultiVectorFunction>(Format("%g", rpm), &sources, first->GetFreqCount(), nullptr,
                                                          ElementType::Energy);
        vec->SetDataIndexArray(first->GetFreqArray());
        for (size_t k = 0; k < made.size(); ++k) {
            const CZuRpmFunc* f = made[k].second;
            const CZuFunc* row = r < f->GetRpmCount() ? f->GetRowFunc(r) : nullptr;
            for (int b = 0; row && b < row->GetDataCount() && b < first->GetFreqCount(); ++b)
                vec->DataValue(b, static_cast<int>(k)) = row->DataValue(b);
        }
        multi->AddRpmData(rpm, std::move(vec));
    }
    return multi;
}
