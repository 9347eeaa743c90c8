#pragma once
// The calculated levels of one subsystem next to the measured ones: the subsystem's measurements
// are averaged over the DAQ project's experiments, turned into decibels and paired with a
// calculated result, per RPM and band (analysis by RPM) or per order and RPM (analysis by order).
// Each entry of the comparison is a two-column table, "Exp" (measured) and "Calc" (calculated).
// A cell without a measured level holds HUGE_VAL, which the tables show as having no value.
//
// Made on the stack by the caller, which sets the calculated function and the analysis project,
// calls the operation of the project's kind and takes the comparison.
#include <memory>
#include <string>

#include "platform/base/Feedback.h"

class CMElement;
class CZuRpmMultiVecFunc;
class IAnalysisProjectAccess;

class CCompExpData
{
public:
    // Element kinds of the comparisons: vibration level and SPL.

    CCompExpData();
    virtual ~CCompExpData();
    CCompExpData(const CCompExpData&) = delete;
    CCompExpData& operator=(const CCompExpData&) = delete;

    // The calculated result (not owned): an SPL or vibration level over RPM, or an order map of
    // one for an analysis by order.
    void SetResultFunc(CMElement* func) { m_func = func; }
    CMElement* GetResultFunc() const { return m_func; }
    // The analysis project (not owned) whose DAQ project, bands and options apply.
    void SetAnalysisProject(IAnalysisProjectAccess* project) { m_project = project; }

    // Null without a calculated function of the right form or without measurements.
    std::unique_ptr<CZuRpmMultiVecFunc> CreateRpmComparison(CFeedback* feedback = SilentFeedback());
    std::unique_ptr<CZuRpmMultiVecFunc> CreateOrderComparison();

    // Measured level in dB of a linear amplitude against the reference; HUGE_VAL when the amplitude
    // is not positive.
    static double MeasuredLevel(double value, double reference);

private:
    std::unique_ptr<CZuRpmMultiVecFunc> NewComparison(const std::string& subsystem) const;
    double Reference(const std::string& subsystem) const;

    CMElement* m_func = nullptr;
    IAnalysisProjectAccess* m_project = nullptr;
};
