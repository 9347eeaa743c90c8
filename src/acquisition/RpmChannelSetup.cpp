#include "acquisition/RpmChannelSetup.h"

#include "acquisition/BaseDAQInterface.h"

bool CRpmChannelSetup::Prepare(CBaseDAQInterface& daq, int channel)
{
    if (!daq.IsChannelEnabled(channel) && !daq.EnableChannel(channel))
        return false;
    // The interface copies the data type and unit of every record it is given: they come from
    // what the channel already holds. Zero values keep the stored ones.
    CHANNELINFO stored;
    stored.Channel = channel;
    CHANNELINFO record;
    record.Channel = channel;
    if (daq.GetChannelInfo(&stored)) {
        record.DataType = stored.DataType;
        record.Unit = stored.Unit;
    }
    record.Sensitivity = 0.0f;
    record.Range = 0.0f;
    record.AutoRange = 0;
    record.Coupling = 2;
    record.Scale = 0.0f;
    record.Limit = 0.0f;
    return daq.SetChannelInfo(&record);
}
