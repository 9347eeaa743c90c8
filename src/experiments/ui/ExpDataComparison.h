#pragma once
// The two comparisons of an experiment's measured data with its calculation (1080, and 1081 over
// its local points): the enable rule over the selection (no window needed) and the action that
// opens the modeless comparison.
#include "app/FrameCommands.h"
#include "platform/win/CommandIds.h"

class CDaqProject;
class CMElement;
class QWidget;

class CExpDataComparison
{
public:
    enum : int
    {
        ID_COMPARE_EXP_DATA = CommandId::ID_COMPARE_EXP_DATA,
        ID_COMPARE_EXP_LP_DATA = CommandId::ID_COMPARE_EXP_LP_DATA,
    };

    // 1080: the first selected element is an experiment; 1081 also needs its option (6172).
    static bool CanCompareExpData(const CFrameSelection& s);
    static bool CanCompareExpLPData(const CFrameSelection& s);
    // The modeless comparison of the selected experiment's measured data (one per key: the frame),
    // with the experiment's DAQ project as its owner; an open one comes to the front.
    static bool CompareExpData(const CFrameSelection& s, const void* key, QWidget* parent);
    static bool CompareExpLPData(const CFrameSelection& s, const void* key, QWidget* parent);
    // The DAQ project an experiment belongs to; null for other elements.
    static CDaqProject* OwnerOfExperiment(CMElement* element);
};
