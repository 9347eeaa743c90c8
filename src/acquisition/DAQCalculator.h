#pragma once
// Recalculates the results of measured data sets from their measurement files, writes those files
// again after sensor data changed, and, for DAQ projects made from outside data, averages results
// over the selected local points. Errors are collected as (code, text) records and written as one
// report: codes 1 to 6 are those of the measurement file (CDAQIO), with the file's name as text,
// 7 a calculation that failed, 0 anything else.
#include <string>
#include <vector>

#include "platform/base/Feedback.h"
#include "platform/elements/MElementList.h"

class CMElement;
class IDaqProjectAccess;

class CDAQCalculator
{
public:
    struct ErrorRecord
    {
        int code = 0;
        std::string text;
        // What went wrong, in words, for the user (not written to the report).
        std::string reason;
    };
    static constexpr int errCalc = 7;

    // outsideData: the project was made from outside data (its data sets are averaged over local
    // points instead of being recalculated from files).
    explicit CDAQCalculator(IDaqProjectAccess* project, int outsideData = 0);
    virtual ~CDAQCalculator() = default;

    void AddElement(CMElement* dataSet) { m_list.Add(dataSet); }
    const CMElementList& GetList() const { return m_list; }

    // Recalculates every listed data set; 1 when no error was recorded. Progress ("Calculating
    // %s...", a step per data set) and the warnings of the measurement files go to the feedback;
    // none for an empty list.
    int Calculate(CFeedback* feedback = SilentFeedback());
    // Writes the report: for each code 0 to 7 its banner, then the texts of its errors, one a line.
    // Nothing for an empty path; false when the file cannot be written.
    bool ReportErrors(const std::string& path) const;
    // After sensor changes: takes each channel's sensor record from the sensor of the same name and
    // saves the files whose channels changed. 0 when the user cancelled or a file failed to save
    // (listed in one warning of the feedback), else 1.
    int SaveDaqFiles(CFeedback* progress = SilentFeedback());

    const std::vector<ErrorRecord>& GetErrors() const { return m_errors; }
    // The reasons of the errors of the last run, a line each (the first few, then how many more).
    std::string DescribeErrors() const;
    static std::string GetErrorBanner(int code);

    // Local-point averaging of one data set of outside data, over the local points its calculation
    // options select for each of its two subsystems (a value counts when it is above 0; 0 where none
    // does). CombineLocalPoints rebuilds the spectrum map over RPM named after each subsystem from
    // the subsystem's channel levels (one vector function per RPM, a column per local
    // point). AverageLocalPoints rebuilds the multi-vector function named after each subsystem from
    // the subsystem's order data (one vector function per order, rows per RPM, a column
    // per local point) as RPM rows by "Order#%g" columns. Each returns the number of functions built.
    static int CombineLocalPoints(CMElement* dataSet);
    static int AverageLocalPoints(CMElement* dataSet);

private:
    void AddError(int code, const std::string& text, const std::string& reason = {})
    {
        m_errors.push_back({code, text, reason});
    }
    bool CalculateOne(CMElement* dataSet, CFeedback& feedback);

    IDaqProjectAccess* m_project;
    int m_outsideData;
    CMElementList m_list;
    std::vector<ErrorRecord> m_errors;
};
