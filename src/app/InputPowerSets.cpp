#include "app/InputPowerSets.h"

#include <memory>

#include "app/ModelProject.h"
#include "models/HSEAGeneralData.h"
#include "models/HSEAModelData.h"
#include "models/HSEAResultData.h"
#include "platform/base/Format.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"

std::string CInputPowerSets::ResultName(const std::string& setName)
{
    return Format("Result [%s]", setName.c_str());
}

CHSEAGeneralData* CInputPowerSets::CreateSet(CModelProject& model)
{
    int domain = -1;
    double start = 0.0, end = 0.0;
    model.GetModelDataParams(&domain, &start, &end);
    auto set = std::make_unique<CHSEAGeneralData>("Input Power Data", nullptr, ElementType::InputPowerData, domain,
                                                  start, end);
    // The solve takes input powers only from sets of the input-power kind.
    set->SetKind(CHSEAGeneralData::KIND_INPUT_POWER);
    // The set and its result take the subsystem table now, as a project read back from its file
    // gives it them: otherwise the reopened project differs from the saved.
    CHSEAGeneralData* added = model.AddChild(std::move(set));
    model.GiveSubsystemTable(added);
    return added;
}

CHSEAResultData* CInputPowerSets::Solve(CModelProject* model, CHSEAGeneralData* set, CFeedback* feedback)
{
    if (!model)
        return nullptr;
    CHSEAModelData* hsea = model->GetHSEAModelData();
    if (!hsea) {
        feedback->Warning(MessageTextOf(IDS_NO_HSEA_MODEL), IDS_NO_HSEA_MODEL);
        return nullptr;
    }
    if (!set) {
        feedback->Warning(MessageTextOf(IDS_NO_SET), IDS_NO_SET);
        return nullptr;
    }
    const std::string name = ResultName(set->GetName());
    auto* existing = DynamicDowncast<CHSEAResultData>(model->FindOneChild(name));

    // The new result is solved on its own, so that a failure cannot spoil the earlier one.
    std::unique_ptr<COctaveManagerEx> bands;
    if (const COctaveManagerEx* modelBands = hsea->GetOctaveManager())
        bands = std::make_unique<COctaveManagerEx>(*modelBands);
    auto result = std::make_unique<CHSEAResultData>(hsea, std::move(bands), name, model, nullptr);
    if (!result->SetInputPowers(set, 0, feedback)) {
        feedback->Warning(MessageWithReason(IDS_CALCULATION_FAILED,
                                            "The set's input powers do not fit the hybrid SEA model: its subsystems or "
                                            "bands differ from the model's."),
                          IDS_CALCULATION_FAILED);
        return nullptr;
    }
    if (!result->SolveBands(hsea, feedback)) {
        feedback->Warning(MessageWithReason(IDS_CALCULATION_FAILED,
                                            "The hybrid SEA model could not be solved: check that every subsystem of "
                                            "the model has its modal density, damping and coupling loss factors."),
                          IDS_CALCULATION_FAILED);
        return nullptr;
    }
    int index = -1;
    if (existing) {
        index = model->GetChildIndex(existing);
        model->DeleteChild(existing, 1);
    }
    CHSEAResultData* added = model->AddChild(std::move(result));
    if (!added)
        return nullptr;
    model->GiveSubsystemTable(added, feedback);
    // The solved result takes the place of the one it replaces.
    if (index >= 0)
        model->MoveChild(model->GetChildIndex(added), index);
    return added;
}
