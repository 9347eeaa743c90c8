#include "views/DaqERCompData.h"

#include "platform/base/Format.h"

#include <cmath>
#include <limits>

void CDaqERCompData::SetBands(std::vector<double> modelFreqs, std::vector<int> bandMap)
{
    m_freqs = std::move(modelFreqs);
    m_bandMap = std::move(bandMap);
    m_bandMap.resize(m_freqs.size(), -1);
}

bool CDaqERCompData::Load(const std::vector<std::string>& sources, const std::string& target,
                          const MeasuredLookup& measured, const FactorLookup& factor, const MirrorLookup& mirror,
                          std::string& missingData, std::vector<std::string>& skipped)
{
    m_sources.clear();
    m_target = CMeasured();
    m_rpms.clear();
    missingData.clear();
    skipped.clear();
    std::vector<double> rpms;
    for (const std::string& source : sources) {
        CMeasured m;
        m.name = source;
        bool found = measured && measured(m.name, m.values, rpms);
        std::string mirrored;
        if (!found && mirror && mirror(source, mirrored)) {
            m.name = mirrored;
            found = measured && measured(m.name, m.values, rpms);
        }
        if (!found) {
            missingData = m.name;
            return false;
        }
        // Without the model subsystem there is no mass or volume to make an energy of the data.
        if (!factor || !factor(m.name, m.factor)) {
            skipped.push_back(m.name);
            continue;
        }
        m_sources.push_back(std::move(m));
    }
    CMeasured t;
    t.name = target;
    if (!measured || !measured(target, t.values, rpms)) {
        missingData = target;
        return false;
    }
    if (!factor || !factor(target, t.factor)) {
        skipped.push_back(target);
        return false;
    }
    m_target = std::move(t);
    m_rpms = rpms;
    return true;
}

std::vector<double> CDaqERCompData::Energies(const CMeasured& f, int axis, int position) const
{
    auto value = [&](int row, int modelBand) {
        if (row < 0 || row >= static_cast<int>(f.values.size()) || modelBand < 0 ||
            modelBand >= static_cast<int>(m_bandMap.size()))
            return 0.0;
        const int daq = m_bandMap[static_cast<size_t>(modelBand)];
        const auto& v = f.values[static_cast<size_t>(row)];
        if (daq < 0 || daq >= static_cast<int>(v.size()))
            return 0.0;
        const double x = v[static_cast<size_t>(daq)];
        return std::isfinite(x) ? x * x * f.factor : 0.0;
    };
    std::vector<double> e;
    if (axis == 0)
        for (int i = 0; i < static_cast<int>(m_freqs.size()); ++i)
            e.push_back(value(position, i));
    else
        for (int r = 0; r < static_cast<int>(m_rpms.size()); ++r)
            e.push_back(value(r, position));
    return e;
}

bool CDaqERCompData::Compute(int axis, int position)
{
    m_axis = axis == 1 ? 1 : 0;
    m_position = position;
    m_byExp.clear();
    m_bySpeaker.clear();
    m_byModel.clear();
    m_missingSpeaker.clear();
    m_missingModel.clear();
    if (position < 0 || position >= GetPositionCount(m_axis))
        return false;
    m_byExp = Energies(m_target, m_axis, position);
    m_bySpeaker.assign(m_byExp.size(), 0.0);
    m_byModel.assign(m_byExp.size(), 0.0);
    const std::string& t = m_target.name;
    for (const CMeasured& source : m_sources) {
        const std::vector<double> e = Energies(source, m_axis, position);
        auto add = [&](const RatioSource& ratio, std::vector<double>& into,
                       std::vector<std::pair<std::string, std::string>>& missing) {
            std::vector<double> er;
            if (!ratio || !ratio(source.name, t, er)) {
                missing.emplace_back(source.name, t);
                return;
            }
            for (size_t k = 0; k < into.size() && k < e.size(); ++k) {
                // Over frequency each band has its own ratio; over RPM the chosen band's.
                const size_t band = m_axis == 0 ? k : static_cast<size_t>(position);
                if (band < er.size())
                    into[k] += er[band] * e[k];
            }
        };
        add(m_speaker, m_bySpeaker, m_missingSpeaker);
        add(m_model, m_byModel, m_missingModel);
    }
    return true;
}

std::vector<double> CDaqERCompData::Difference(const std::vector<double>& predicted) const
{
    std::vector<double> d(m_byExp.size(), 0.0);
    for (size_t k = 0; k < d.size(); ++k) {
        const double p = k < predicted.size() ? predicted[k] : 0.0;
        if (p == 0.0)
            d[k] = 0.0;
        else if (m_byExp[k] <= 0.0 || p < 0.0)
            d[k] = std::numeric_limits<double>::quiet_NaN();
        else
            d[k] = 10.0 * std::log10(p / m_byExp[k]);
    }
    return d;
}

std::string CDaqERCompData::CopyText() const
{
    std::string text;
    if (m_byExp.empty())
        return text;
    if (m_axis == 0) {
        text += Format("Target Energy [%s]\tRPM: %g\n", m_target.name.c_str(), m_rpms[static_cast<size_t>(m_position)]);
        text += "Freq.[Hz]\tby Exp\tby Speaker/Tapping ER\tby Model ER\n";
    } else {
        text +=
            Format("Target Energy [%s]\tFreq.: %g\n", m_target.name.c_str(), m_freqs[static_cast<size_t>(m_position)]);
        text += "RPM\tby Exp\tby Speaker/Tapping ER\tby Model ER\n";
    }
    const std::vector<double>& x = GetX(m_axis);
    for (size_t k = 0; k < m_byExp.size() && k < x.size(); ++k)
        text += Format("%g\t%g\t%g\t%g\n", x[k], m_byExp[k], m_bySpeaker[k], m_byModel[k]);
    return text;
}

std::vector<double> CDaqERCompData::CouplingRatio(const std::vector<double>& clf, const std::vector<double>& totalDlf)
{
    std::vector<double> er(clf.size(), 0.0);
    for (size_t b = 0; b < clf.size() && b < totalDlf.size(); ++b)
        er[b] = totalDlf[b] > 0.0 ? clf[b] / totalDlf[b] : 0.0;
    return er;
}
