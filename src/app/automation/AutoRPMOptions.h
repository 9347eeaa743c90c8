#pragma once
// The RPM options of an analysis project: a range with a step or an explicit list.
#include "platform/automation/AutoObject.h"

class CAnalysisProject;
class CRPMOptions;

class CAutoRPMOptions : public CAutoObject
{
public:
    // The options live inside their analysis project and go with it.
    CAutoRPMOptions(CRPMOptions* options, CAnalysisProject* owner);
    const CDispatchTable& GetDispatchTable() const override;

    // Number of RPMs: a range gives (end - start) / step + 1 truncated, and none when the step is
    // not positive or the end lies below the start; a list its length; any other type none.
    static int32_t Count(const CRPMOptions& options);
    static double RpmAt(const CRPMOptions& options, int32_t index);

private:
    CRPMOptions* m_options;
};
