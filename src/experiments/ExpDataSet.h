#pragma once
// One measured block of an excitation (or of the RPM signal data): one channel record per
// measured channel. Its name is the data-set label of its position under its parent.
#include <string>

#include "platform/base/Feedback.h"
#include "platform/elements/MElement.h"

class CExpData;

class CExpDataSet : public CMElement
{
    DECLARE_SERIAL(CExpDataSet)

public:
    CExpDataSet() = default;
    CExpDataSet(const std::string& name, CMElement* parent, int type);
    ~CExpDataSet() override;

    // The first channel record of that local point; null when none.
    CExpData* FindByLocalPoint(int localPoint) const;
    // Creates the channel records of a new data set that already hangs under its parent: the pulse
    // channel under the RPM signal data, one record per sensor-group item under an excitation.
    // Returns the first record. When a record cannot be made (no sensor for its item) null is
    // returned and the records made so far are removed again: a data set is whole or empty; the
    // missing sensor is reported as a warning through the feedback.
    CExpData* CreateChannels(CFeedback* feedback = SilentFeedback());

    // The label of a 1-based position (string 7016).
    static std::string MakeLabel(int position);

    void Serialize(CArchive& ar) override;
};
