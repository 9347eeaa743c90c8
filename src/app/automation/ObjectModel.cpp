#include "app/automation/ObjectModel.h"

#include "app/AnalysisProject.h"
#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/ProjectHistory.h"
#include "app/TALVODoc.h"
#include "app/automation/AutoAnalysisProject.h"
#include "app/automation/AutoBaseProject.h"
#include "app/automation/AutoDAQExperiment.h"
#include "app/automation/AutoDaqProject.h"
#include "app/automation/AutoElement.h"
#include "app/automation/AutoExcitation.h"
#include "app/automation/AutoExpData.h"
#include "app/automation/AutoExpDataSet.h"
#include "app/automation/AutoExpProject.h"
#include "app/automation/AutoProjectHistory.h"
#include "app/automation/AutoRPMOptions.h"
#include "app/automation/AutoTALVODoc.h"
#include "app/automation/AutoZuRpmFunc.h"
#include "experiments/Excitation.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"
#include "experiments/ExpProject.h"
#include "platform/automation/AutoObjectRegistry.h"
#include "platform/win/StringIds.h"
#include "spectral/ZuRpmFunc.h"

#include <memory>

std::string ExposeDocument(CTALVODoc* doc)
{
    return CAutoObjectRegistry::Instance().Expose(doc, [doc] { return std::make_unique<CAutoTALVODoc>(doc); });
}

std::string ExposeElement(CMElement* element)
{
    auto& registry = CAutoObjectRegistry::Instance();
    auto make = [element]() -> std::unique_ptr<CAutoObject> {
        // The most derived class first.
        if (auto* p = ElementCast<CAnalysisProject>(element))
            return std::make_unique<CAutoAnalysisProject>(p);
        if (auto* p = ElementCast<CDaqProject>(element))
            return std::make_unique<CAutoDaqProject>(p);
        if (auto* p = ElementCast<CBaseProject>(element))
            return std::make_unique<CAutoBaseProject>(p);
        if (auto* p = ElementCast<CDAQExperiment>(element))
            return std::make_unique<CAutoDAQExperiment>(p);
        if (auto* p = ElementCast<CExcitation>(element))
            return std::make_unique<CAutoExcitation>(p);
        if (auto* p = ElementCast<CExpDataSet>(element))
            return std::make_unique<CAutoExpDataSet>(p);
        if (auto* p = ElementCast<CExpData>(element))
            return std::make_unique<CAutoExpData>(p);
        if (auto* p = ElementCast<CExpProject>(element))
            return std::make_unique<CAutoExpProject>(p);
        if (auto* p = ElementCast<CZuRpmFunc>(element))
            return std::make_unique<CAutoZuRpmFunc>(p);
        if (auto* p = ElementCast<CProjectHistory>(element))
            return std::make_unique<CAutoProjectHistory>(p);
        return nullptr;
    };
    return registry.Expose(element, make);
}

std::string ExposeRpmOptions(CRPMOptions* options, CAnalysisProject* owner)
{
    return CAutoObjectRegistry::Instance().Expose(
        options, [options, owner] { return std::make_unique<CAutoRPMOptions>(options, owner); });
}

std::string ExposeOpaque(const void* object, const void* guard)
{
    return CAutoObjectRegistry::Instance().Expose(object, [object, guard] {
        return std::make_unique<CAutoElement>(object,
                                              guard ? std::vector<const void*>{guard} : std::vector<const void*>{});
    });
}

void ThrowNameNotFound(int argument)
{
    ZfxThrowOleDispatchException(kAutoErrNameNotFound, IDS_AUTO_NAME_NOT_FOUND, argument);
}

void ThrowIndexOutOfRange(int argument)
{
    ZfxThrowOleDispatchException(kAutoErrIndexOutOfRange, IDS_AUTO_INDEX_OUT_OF_RANGE, argument);
}

void ThrowWrongType(int argument)
{
    ZfxThrowOleDispatchException(kAutoErrTypeMismatch, IDS_AUTO_TYPE_MISMATCH, argument);
}
