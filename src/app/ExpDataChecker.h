#pragma once
// Checks the measured data of a DAQ project against the limits that the experimental database of
// the sibling application PLOVA keeps for the same subsystems. For every measured data set whose
// subsystem is mapped to a database entry it fills a table "Data Check [<subsystem>]" below the
// data set: per frequency point the measured level at the check RPM ("Current") and the database's
// "Min(Database)" and "Max(Database)". The engineer reads the table; the check gives no verdict.
//
// The settings come from the DAQ project: the database file (its text), the mapping of the model's
// subsystems to database entries (its integer list, by position in the model's subsystem table),
// the check RPM and the RPM width (its two reals).
#include <string>
#include <vector>

#include "platform/base/Feedback.h"

class CDAQExperiment;
class CDaqProject;
class CMultiVectorFunction;
class CPLOVAWrapper;

class CExpDataChecker
{
public:
    CExpDataChecker() = default;
    // Releases the application's connection to PLOVA.
    ~CExpDataChecker();
    CExpDataChecker(const CExpDataChecker&) = delete;
    CExpDataChecker& operator=(const CExpDataChecker&) = delete;

    // The check's progress: the whole range over the project's children, a part per experiment
    // over its data sets (its text the experiment's subsystem), cancel asked between experiments; a
    // database the sibling cannot open is reported to it as an error. Silent until set; null is silent.
    void SetFeedback(CFeedback* progress) { m_progress = progress ? progress : SilentFeedback(); }

    // Checks every measured data set of the project. 1 when every table was filled; 0 when PLOVA
    // could not be started (already shown), the user cancelled, or database limits could not be
    // read (the points not reached are left invalid and GetErrors says why).
    int Run(CDaqProject* project);

    const std::vector<std::string>& GetErrors() const { return m_errors; }

    // The result table of a data set (made and announced under its DAQ project when missing); null
    // when the data set is skipped. Exposed for the tests: one data set against a given PLOVA.
    CMultiVectorFunction* CheckDataSet(CDAQExperiment& set, CPLOVAWrapper& plova);

    // The first RPM row r with rpm - margin <= RPM(r) < rpm + margin; -1 when none.
    static int FindCheckRow(const std::vector<double>& rpms, double rpm, int margin);
    static std::string ResultName(const std::string& subsystem);

private:
    CDaqProject* m_project = nullptr;
    CPLOVAWrapper* m_plova = nullptr;
    CFeedback* m_progress = SilentFeedback();
    std::vector<std::string> m_errors;
};
