#include "experiments/ui/ExpDataComparison.h"

#include "app/DaqProject.h"
#include "app/TALVOExp.h"
#include "platform/elements/MElementList.h"
#include "platform/win/StringIds.h"
#include "platform/win/ZuRegOptions.h"
#include "acquisition/ui/DlgExpDataComp.h"

namespace {
CTALVOExp* Experiment(const CFrameSelection& s)
{
    return s.doc ? DynamicDowncast<CTALVOExp>(s.First()) : nullptr;
}

// Brings an open comparison to the front; true when there was one.
bool Raise(QWidget* open)
{
    if (!open)
        return false;
    open->showNormal();
    open->raise();
    open->activateWindow();
    return true;
}

template <class Dialog>
bool OpenComparison(CTALVOExp* experiment, const void* key, QWidget* parent)
{
    if (!experiment)
        return false;
    // One comparison per frame: another experiment takes the place of the one shown.
    if (Dialog* open = Dialog::GetInstance(key)) {
        if (open->Groups().empty() || open->Groups().back().experiment != experiment)
            Dialog::DestroyInstance(key);
        else
            return Raise(open);
    }
    Dialog* dialog = Dialog::CreateInstance(key, parent);
    if (!dialog)
        return false;
    dialog->SetOwnerID(CExpDataComparison::OwnerOfExperiment(experiment));
    CMElementList experiments;
    experiments.Add(experiment);
    dialog->SetDataList(experiments);
    dialog->Create();
    return true;
}
} // namespace

bool CExpDataComparison::CanCompareExpData(const CFrameSelection& s)
{
    return Experiment(s) != nullptr;
}

bool CExpDataComparison::CanCompareExpLPData(const CFrameSelection& s)
{
    return GetRegOptionByStringId(IDS_OPT_EXP_COMMANDS) != 0 && Experiment(s) != nullptr;
}

bool CExpDataComparison::CompareExpData(const CFrameSelection& s, const void* key, QWidget* parent)
{
    return CanCompareExpData(s) && OpenComparison<CDlgExpDataComp>(Experiment(s), key, parent);
}

bool CExpDataComparison::CompareExpLPData(const CFrameSelection& s, const void* key, QWidget* parent)
{
    return CanCompareExpLPData(s) && OpenComparison<CDlgExpLPDataComp>(Experiment(s), key, parent);
}

CDaqProject* CExpDataComparison::OwnerOfExperiment(CMElement* element)
{
    for (CMElement* e = DynamicDowncast<CTALVOExp>(element) ? element->GetParent() : nullptr; e; e = e->GetParent())
        if (auto* daq = DynamicDowncast<CDaqProject>(e))
            return daq;
    return nullptr;
}
