#include "acquisition/DAQDataSet.h"

#include "experiments/DaqProjectAccess.h"
#include "platform/elements/MElement.h"

IDAQDataSet* AsDAQDataSet(CMElement* element)
{
    return dynamic_cast<IDAQDataSet*>(element);
}

IDaqExperimentData* AsDaqExperimentData(CMElement* element)
{
    return dynamic_cast<IDaqExperimentData*>(element);
}
