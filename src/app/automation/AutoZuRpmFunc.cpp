#include "app/automation/AutoZuRpmFunc.h"

#include "app/automation/ObjectModel.h"
#include "spectral/ZuRpmFunc.h"

namespace {
void CheckCell(const CZuRpmFunc& map, int32_t row, int32_t point)
{
    if (row < 0 || row >= map.GetRpmCount())
        ThrowIndexOutOfRange(1);
    if (point < 0 || point >= map.GetFreqCount())
        ThrowIndexOutOfRange(2);
}
} // namespace

CAutoZuRpmFunc::CAutoZuRpmFunc(CZuRpmFunc* map) : CAutoObject(map), m_map(map) {}

const CDispatchTable& CAutoZuRpmFunc::GetDispatchTable() const
{
    using W = CAutoZuRpmFunc;
    static const CDispatchTable table(
        nullptr, {
                     // A row belongs to its map: it goes with it.
                     {"RpmFunc",
                      DispKind::Property,
                      AutoType::Object,
                      {{AutoType::Real, "rpm"}},
                      AUTO_MEMBER(W, return CAutoValue::Object(
                                         ExposeOpaque(self.Map().FindRowFunc(args.Real(0)), &self.Map()));)},
                     {"RpmDataCount",
                      DispKind::Property,
                      AutoType::Long,
                      {},
                      AUTO_MEMBER(W, return CAutoValue::Long(self.Map().GetRpmCount());)},
                     {"Rpm",
                      DispKind::Property,
                      AutoType::Real,
                      {{AutoType::Long, "index"}},
                      AUTO_MEMBER(W,
                                  {
                                      const int32_t i = args.Long(0);
                                      if (i < 0 || i >= self.Map().GetRpmCount())
                                          ThrowIndexOutOfRange(1);
                                      return CAutoValue::Real(self.Map().GetRpm(i));
                                  })},
                     {"RpmIndex",
                      DispKind::Property,
                      AutoType::Long,
                      {{AutoType::Real, "rpm"}},
                      AUTO_MEMBER(W, return CAutoValue::Long(self.Map().FindRpmIndex(args.Real(0)));)},
                     {"FreqDataCount",
                      DispKind::Property,
                      AutoType::Long,
                      {},
                      AUTO_MEMBER(W, return CAutoValue::Long(self.Map().GetFreqCount());)},
                     {"Freq",
                      DispKind::Property,
                      AutoType::Real,
                      {{AutoType::Long, "index"}},
                      AUTO_MEMBER(W,
                                  {
                                      const int32_t i = args.Long(0);
                                      if (i < 0 || i >= self.Map().GetFreqCount())
                                          ThrowIndexOutOfRange(1);
                                      return CAutoValue::Real(self.Map().GetFreq(i));
                                  })},
                     {"RpmSMA",
                      DispKind::PropertyRW,
                      AutoType::Long,
                      {},
                      AUTO_MEMBER(W, return CAutoValue::Long(self.Map().GetSmoothingWidth());),
                      [](CAutoObject& o, const CDispArgs&, const CAutoValue& v) {
                          static_cast<W&>(o).Map().SetSmoothingWidth(v.RawLong());
                      }},
                     {"Value",
                      DispKind::Property,
                      AutoType::Real,
                      {{AutoType::Long, "row"}, {AutoType::Long, "point"}},
                      AUTO_MEMBER(W,
                                  {
                                      const int32_t row = args.Long(0), point = args.Long(1);
                                      CheckCell(self.Map(), row, point);
                                      return CAutoValue::Real(self.Map().DataValue(row, point));
                                  })},
                     {"SMAValue",
                      DispKind::Property,
                      AutoType::Real,
                      {{AutoType::Long, "row"}, {AutoType::Long, "point"}},
                      AUTO_MEMBER(W,
                                  {
                                      const int32_t row = args.Long(0), point = args.Long(1);
                                      CheckCell(self.Map(), row, point);
                                      return CAutoValue::Real(self.Map().GetSmoothedAt(row, point));
                                  })},
                 });
    return table;
}
