#include "app/automation/AutoExpDataSet.h"

#include "app/automation/ObjectModel.h"
#include "experiments/ExpData.h"
#include "experiments/ExpDataSet.h"

CAutoExpDataSet::CAutoExpDataSet(CExpDataSet* set) : CAutoObject(set), m_set(set) {}

const CDispatchTable& CAutoExpDataSet::GetDispatchTable() const
{
    static const CDispatchTable table(nullptr, {
                                                   {"ExpData",
                                                    DispKind::Property,
                                                    AutoType::Object,
                                                    {{AutoType::Long, "point"}},
                                                    AUTO_MEMBER(CAutoExpDataSet,
                                                                {
                                                                    CExpData* record =
                                                                        self.m_set->FindByLocalPoint(args.Long(0));
                                                                    if (!record)
                                                                        ThrowIndexOutOfRange(1);
                                                                    return CAutoValue::Object(ExposeElement(record));
                                                                })},
                                               });
    return table;
}
