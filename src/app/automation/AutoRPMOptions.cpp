#include "app/automation/AutoRPMOptions.h"

#include "app/AnalysisProject.h"
#include "app/automation/ObjectModel.h"
#include "spectral/RPMOptions.h"

#include <cmath>

CAutoRPMOptions::CAutoRPMOptions(CRPMOptions* options, CAnalysisProject* owner)
    : CAutoObject(options, {owner}), m_options(options)
{}

int32_t CAutoRPMOptions::Count(const CRPMOptions& o)
{
    if (o.GetMode() == 1)
        return static_cast<int32_t>(o.GetRpmList()->size());
    if (o.GetMode() != 0)
        return 0;
    const double start = o.GetRpmMin(), end = o.GetRpmMax(), step = o.GetRpmStep();
    if (!(step > 0.0) || end < start)
        return 0;
    const double n = std::trunc((end - start) / step) + 1.0;
    return n > 1e9 ? 0 : static_cast<int32_t>(n);
}

double CAutoRPMOptions::RpmAt(const CRPMOptions& o, int32_t index)
{
    if (index < 0 || index >= Count(o))
        ThrowIndexOutOfRange(1);
    if (o.GetMode() == 1)
        return (*o.GetRpmList())[static_cast<size_t>(index)];
    return static_cast<double>(o.GetRpmMin()) + index * static_cast<double>(o.GetRpmStep());
}

const CDispatchTable& CAutoRPMOptions::GetDispatchTable() const
{
    using W = CAutoRPMOptions;
    static const CDispatchTable table(
        nullptr,
        {
            {"Type",
             DispKind::Property,
             AutoType::Short,
             {},
             AUTO_MEMBER(W, return CAutoValue::Short(static_cast<int16_t>(self.m_options->GetMode()));)},
            {"StartRPM",
             DispKind::Property,
             AutoType::Real,
             {},
             AUTO_MEMBER(W,
                         {
                             const CRPMOptions& o = *self.m_options;
                             if (o.GetMode() == 1)
                                 return CAutoValue::Real(o.GetRpmList()->empty() ? 0.0 : o.GetRpmList()->front());
                             return CAutoValue::Real(o.GetRpmMin());
                         })},
            {"EndRPM",
             DispKind::Property,
             AutoType::Real,
             {},
             AUTO_MEMBER(W,
                         {
                             const CRPMOptions& o = *self.m_options;
                             if (o.GetMode() == 1)
                                 return CAutoValue::Real(o.GetRpmList()->empty() ? 0.0 : o.GetRpmList()->back());
                             return CAutoValue::Real(o.GetRpmMax());
                         })},
            {"RPMWidth",
             DispKind::Property,
             AutoType::Real,
             {},
             AUTO_MEMBER(W, return CAutoValue::Real(self.m_options->GetRpmStep());)},
            {"Count",
             DispKind::Property,
             AutoType::Long,
             {},
             AUTO_MEMBER(W, return CAutoValue::Long(Count(*self.m_options));)},
            {"RPM",
             DispKind::Property,
             AutoType::Real,
             {{AutoType::Long, "index"}},
             AUTO_MEMBER(W, return CAutoValue::Real(RpmAt(*self.m_options, args.Long(0)));)},
        });
    return table;
}
