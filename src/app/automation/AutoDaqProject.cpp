#include "app/automation/AutoDaqProject.h"

#include "app/DAQExperiment.h"
#include "app/DaqProject.h"
#include "app/TALVOExp.h"
#include "app/automation/ObjectModel.h"
#include "experiments/AveExpData.h"
#include "experiments/ExpProject.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/base/RecordingFeedback.h"
#include "platform/gfx/OctaveManager.h"
#include "spectral/RPMOptions.h"
#include "spectral/ZuRpmFunc.h"

namespace {
std::string Stripped(const CDispArgs& args, int i)
{
    std::string name = args.String(i);
    CGfxUtil::RemoveWaveSign(name);
    return name;
}

// The experiment of a subsystem: the one named after it, else the first that excites it.
CTALVOExp* ExperimentOf(const CDaqProject& daq, const std::string& name)
{
    if (auto* exp = ElementCast<CTALVOExp>(daq.FindOneChild(name)))
        return exp;
    for (int i = 0; i < daq.GetChildCount(); ++i)
        if (auto* exp = ElementCast<CTALVOExp>(daq.GetChild(i)); exp && exp->GetSecondSubsystem() == name)
            return exp;
    return nullptr;
}

// The data set of an experiment by subsystem and serial; the errors name the argument at fault.
CDAQExperiment* DataSet(CDaqProject& daq, const CDispArgs& args)
{
    CTALVOExp* exp = ExperimentOf(daq, Stripped(args, 0));
    if (!exp)
        ThrowNameNotFound(1);
    CDAQExperiment* set = exp->FindDataSetBySerial(args.Long(1));
    if (!set)
        ThrowNameNotFound(2);
    return set;
}

// The averaged map of a subsystem: the project's own over its experiments for the target, the
// experiment's otherwise.
CAutoValue Averaged(CDaqProject& daq, const std::string& name, int flag, const CRPMOptions* options)
{
    // The caller cannot answer a message box: a subsystem without experiments answers "nothing",
    // which says what the report would.
    CRecordingFeedback reports;
    CMElement* result = nullptr;
    if (name == daq.GetTargetSubsystemName())
        result = daq.AverageRpmFuncs(name, flag, options, &reports);
    else if (CTALVOExp* exp = ExperimentOf(daq, name))
        result = exp->AverageRpmFuncs(name, flag, options, &reports);
    return CAutoValue::Object(ExposeElement(result));
}

// The order-tracking variant: the averaged map over order, which answers no members of its own.
CAutoValue AveragedOT(CDaqProject& daq, const std::string& name)
{
    CMElement* result = nullptr;
    if (name == daq.GetTargetSubsystemName())
        result = daq.AverageRpmVecFuncs(name, 1);
    else if (CTALVOExp* exp = ExperimentOf(daq, name))
        result = exp->AverageRpmVecFuncs(name, 1);
    return CAutoValue::Object(ExposeOpaque(result));
}

// The averaged energy per band of a subsystem at an RPM: all bands, or the one band asked for.
CAutoValue AveragedEnergy(CDaqProject& daq, const CDispArgs& args)
{
    COctaveManagerEx* bands = daq.GetOctaveManager();
    const int count = bands ? bands->GetFreqCount() : 0;
    int32_t band = -1;
    if (!args.IsMissing(2)) {
        if (!args.Value(2).ToLong(band))
            ThrowWrongType(3);
        if (band >= count)
            ThrowIndexOutOfRange(3);
    }
    std::vector<double> energies(static_cast<size_t>(count), 0.0);
    std::vector<double> averaged;
    CAveExpData average(&daq);
    // The averaging may know fewer (or more) bands than the project's band set: the result
    // keeps the band set's length.
    if (average.AverageSubsystemData(Stripped(args, 0), args.Long(1), averaged))
        for (size_t k = 0; k < energies.size() && k < averaged.size(); ++k)
            energies[k] = averaged[k];
    if (band < 0)
        return CAutoValue::RealArray(std::move(energies));
    return CAutoValue::Real(energies[static_cast<size_t>(band)]);
}
} // namespace

CAutoDaqProject::CAutoDaqProject(CDaqProject* project) : CAutoBaseProject(project), m_daq(project) {}

const CDispatchTable& CAutoDaqProject::GetDispatchTable() const
{
    using W = CAutoDaqProject;
    static const CDispatchTable table(
        &BaseTable(),
        {
            {"GetExpData",
             DispKind::Method,
             AutoType::Object,
             {{AutoType::String, "subsystem"}, {AutoType::Long, "serial"}},
             AUTO_MEMBER(W, return CAutoValue::Object(ExposeElement(DataSet(self.Daq(), args)));)},
            {"OpenDAQRawData",
             DispKind::Method,
             AutoType::Object,
             {{AutoType::String, "subsystem"}, {AutoType::Long, "serial"}},
             AUTO_MEMBER(W,
                         {
                             // The raw time data of a data set travel with it in the project file.
                             CDAQExperiment* set = DataSet(self.Daq(), args);
                             return CAutoValue::Object(ExposeElement(set->FindOneChild(RUNTIME_CLASS(CExpProject))));
                         })},
            {"GetAveragedResultData",
             DispKind::Method,
             AutoType::Object,
             {{AutoType::String, "subsystem"}},
             AUTO_MEMBER(W, return Averaged(self.Daq(), args.String(0), 1, nullptr);)},
            {"GetAveragedResultDataOT",
             DispKind::Method,
             AutoType::Object,
             {{AutoType::String, "subsystem"}},
             AUTO_MEMBER(W, return AveragedOT(self.Daq(), args.String(0));)},
            {"GetAveragedEnergy",
             DispKind::Method,
             AutoType::Variant,
             {{AutoType::String, "subsystem"}, {AutoType::Long, "index"}, {AutoType::Variant, "band"}},
             AUTO_MEMBER(W, return AveragedEnergy(self.Daq(), args);)},
            {"StartRpm",
             DispKind::Property,
             AutoType::Long,
             {},
             AUTO_MEMBER(W, return CAutoValue::Long(self.Daq().GetDAQConfig()->GetRpmLow());)},
            {"EndRpm",
             DispKind::Property,
             AutoType::Long,
             {},
             AUTO_MEMBER(W, return CAutoValue::Long(self.Daq().GetDAQConfig()->GetRpmHigh());)},
            {"DeltaRpm",
             DispKind::Property,
             AutoType::Long,
             {},
             AUTO_MEMBER(W, return CAutoValue::Long(self.Daq().GetDAQConfig()->GetRpmMargin());)},
            {"FreqCountEx",
             DispKind::Property,
             AutoType::Long,
             {},
             AUTO_MEMBER(W,
                         {
                             COctaveManagerEx* bands = self.Daq().GetOctaveManager();
                             return CAutoValue::Long(bands ? bands->GetFreqCount() : 0);
                         })},
            {"FreqEx",
             DispKind::Property,
             AutoType::Real,
             {{AutoType::Long, "index"}},
             AUTO_MEMBER(W,
                         {
                             COctaveManagerEx* bands = self.Daq().GetOctaveManager();
                             const int32_t i = args.Long(0);
                             if (!bands || i < 0 || i >= bands->GetFreqCount())
                                 return CAutoValue::Real(0.0);
                             return CAutoValue::Real(bands->GetFreq(i));
                         })},
            {"GetAveragedResultData2",
             DispKind::Method,
             AutoType::Object,
             {{AutoType::String, "subsystem"},
              {AutoType::Real, "start"},
              {AutoType::Real, "end"},
              {AutoType::Real, "step"}},
             AUTO_MEMBER(W,
                         {
                             CRPMOptions options;
                             options.SetMode(0);
                             options.SetRpmMin(static_cast<float>(args.Real(1)));
                             options.SetRpmMax(static_cast<float>(args.Real(2)));
                             options.SetRpmStep(static_cast<float>(args.Real(3)));
                             return Averaged(self.Daq(), args.String(0), 0, &options);
                         })},
        });
    return table;
}
