#pragma once
// Checks the measured channels of an experiment project for two faults: a signal that reached the
// top of its input range (peak voltage at or above 10000, 1000 or 100 for the ranges 0.1, 1 and
// 10 V), and a signal that came close to its channel's limit (overload: the largest sample at or
// above limit x the overload ratio). A channel whose input range is none of the three cannot be
// judged by the first check: it is listed as of unknown range, not as a fault. The ratios live in
// the application's options ("EXP_DATA_CHECK_InputRange", "EXP_DATA_CHECK_OverLoad").
#include "platform/elements/MElementList.h"

class CExpProject;

// The channel records (not owned) that failed one check.
class CDaqDataError
{
public:
    virtual ~CDaqDataError() = default;
    CMElementList& GetList() { return m_list; }
    const CMElementList& GetList() const { return m_list; }

private:
    CMElementList m_list;
};

class CDaqDataCheck
{
public:
    // Runs the check at once.
    explicit CDaqDataCheck(CExpProject* project);
    virtual ~CDaqDataCheck();
    CDaqDataCheck(const CDaqDataCheck&) = delete;
    CDaqDataCheck& operator=(const CDaqDataCheck&) = delete;

    // Runs both checks again with the stored ratios.
    void Run();

    CExpProject* GetProject() const { return m_project; }
    // The data sets with a fault or a channel of unknown range, each once, in the order found.
    const CMElementList& GetDataSets() const { return m_dataSets; }
    CDaqDataError* GetInputRangeError() const { return m_inputRange; }
    CDaqDataError* GetOverloadError() const { return m_overload; }
    CDaqDataError* GetUnknownRangeError() const { return m_unknownRange; }

    // The peak voltage at which a channel of that input range is flagged; 0 for an unknown range.
    static double GetInputRangeThreshold(float range);

private:
    void AddDataSet(CMElement* set);

    CMElementList m_unused;
    CMElementList m_dataSets;
    CExpProject* m_project;
    CDaqDataError* m_inputRange;
    CDaqDataError* m_overload;
    CDaqDataError* m_unknownRange;
};
