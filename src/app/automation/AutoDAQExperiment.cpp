#include "app/automation/AutoDAQExperiment.h"

#include "app/DAQExperiment.h"
#include "app/automation/ObjectModel.h"
#include "acquisition/DAQIO.h"

CAutoDAQExperiment::CAutoDAQExperiment(CDAQExperiment* set) : CAutoObject(set), m_set(set) {}

const CDispatchTable& CAutoDAQExperiment::GetDispatchTable() const
{
    static const CDispatchTable table(
        nullptr, {
                     // The measurement file named by the data set in its document's work folder;
                     // empty when it has no name or no document.
                     {"DAQFilePath",
                      DispKind::Property,
                      AutoType::String,
                      {},
                      AUTO_MEMBER(CAutoDAQExperiment, return CAutoValue::String(CDAQIO::GetDaqFilePath(self.Set()));)},
                 });
    return table;
}
