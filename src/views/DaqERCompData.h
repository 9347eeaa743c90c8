#pragma once
// The numbers of the target-energy comparison, without a window: the target's measured energy
// ("by Exp") against the energy predicted from every subsystem's measured energy through the
// energy ratios measured by speaker or tapping excitation and through the model's energy ratios,
// per model band at one RPM or per RPM at one model band.
#include <functional>
#include <string>
#include <vector>

class CDaqERCompData
{
public:
    static constexpr double kRhoC2 = 343.0 * 343.0 * 1.21;

    // A measured function: velocity (structure) or pressure (cavity) per [rpm row][DAQ band], and
    // the factor that turns a squared value into an energy (mass, or volume / ρc²).
    struct CMeasured
    {
        std::string name;
        std::vector<std::vector<double>> values;
        double factor = 0.0;
    };
    // The energy ratio from a source to the target per model band; false when there is none.
    using RatioSource = std::function<bool(const std::string& source, const std::string& target, std::vector<double>&)>;

    // The measured values of a subsystem over [rpm row][DAQ band] and their RPMs; false when it has
    // no measured data.
    using MeasuredLookup = std::function<bool(const std::string& name, std::vector<std::vector<double>>& values,
                                              std::vector<double>& rpms)>;
    // The factor of a model subsystem (mass, or volume / ρc²); false when the model lacks it.
    using FactorLookup = std::function<bool(const std::string& name, double& factor)>;
    // The mirrored name of a subsystem; false when it has none.
    using MirrorLookup = std::function<bool(const std::string& name, std::string& mirrored)>;

    // Loads the sources (a source without data stands in by its mirrored subsystem, under that
    // name) and the target. False with missingData naming the subsystem when one has no data at
    // all; a subsystem the model lacks is left out and named in skipped (the target too, which
    // then fails). The RPMs are the target's.
    bool Load(const std::vector<std::string>& sources, const std::string& target, const MeasuredLookup& measured,
              const FactorLookup& factor, const MirrorLookup& mirror, std::string& missingData,
              std::vector<std::string>& skipped);

    // Model bands (centre frequencies), the DAQ band of each model band (-1: none) and the RPMs.
    void SetBands(std::vector<double> modelFreqs, std::vector<int> bandMap);
    void SetRpms(std::vector<double> rpms) { m_rpms = std::move(rpms); }
    void AddSource(CMeasured source) { m_sources.push_back(std::move(source)); }
    void SetTarget(CMeasured target) { m_target = std::move(target); }
    void SetSpeakerRatio(RatioSource ratio) { m_speaker = std::move(ratio); }
    void SetModelRatio(RatioSource ratio) { m_model = std::move(ratio); }

    const std::vector<double>& GetModelFreqs() const { return m_freqs; }
    const std::vector<double>& GetRpms() const { return m_rpms; }
    const std::vector<CMeasured>& GetSources() const { return m_sources; }
    const CMeasured& GetTarget() const { return m_target; }
    // Axis 0: over model bands at an RPM row; 1: over RPMs at a model band.
    int GetPositionCount(int axis) const { return static_cast<int>(axis == 1 ? m_freqs.size() : m_rpms.size()); }
    const std::vector<double>& GetX(int axis) const { return axis == 1 ? m_rpms : m_freqs; }

    // The energies of a measured function along the axis (0 where the band map has no band).
    std::vector<double> Energies(const CMeasured& f, int axis, int position) const;
    // Computes the three curves; false when the position is outside. The pairs without an energy
    // ratio are collected (GetMissing), each pair once per computation.
    bool Compute(int axis, int position);
    const std::vector<double>& ByExp() const { return m_byExp; }
    const std::vector<double>& BySpeaker() const { return m_bySpeaker; }
    const std::vector<double>& ByModel() const { return m_byModel; }
    // The pairs (source, target) without a speaker/tapping and without a model energy ratio.
    const std::vector<std::pair<std::string, std::string>>& GetMissingSpeaker() const { return m_missingSpeaker; }
    const std::vector<std::pair<std::string, std::string>>& GetMissingModel() const { return m_missingModel; }
    // The level difference of a prediction to "by Exp" in dB: 0 where the prediction is 0, NaN (a
    // gap) where "by Exp" has no positive energy.
    std::vector<double> Difference(const std::vector<double>& predicted) const;
    // The clipboard text of the current computation.
    std::string CopyText() const;

    // Model energy ratio of two cavities from the coupling and the target's total damping:
    // E_t / E_s = η_st / η_t,total per band (0 where the damping is not positive).
    static std::vector<double> CouplingRatio(const std::vector<double>& clf, const std::vector<double>& totalDlf);

private:
    std::vector<double> m_freqs;
    std::vector<int> m_bandMap;
    std::vector<double> m_rpms;
    std::vector<CMeasured> m_sources;
    CMeasured m_target;
    RatioSource m_speaker, m_model;
    int m_axis = 0, m_position = 0;
    std::vector<double> m_byExp, m_bySpeaker, m_byModel;
    std::vector<std::pair<std::string, std::string>> m_missingSpeaker, m_missingModel;
};
