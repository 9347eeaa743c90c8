#pragma once
// Writes the input powers, input energies or input-power values of one analysis key (an RPM, or
// an order) of an analysis project as a "#@" data text, or as a workbook made from that text. The
// choices are checked before any file is touched; the text goes through a temporary file, so a
// failed export leaves an existing file as it was.
#include <string>
#include <vector>

#include "platform/base/Feedback.h"

class CAnalysisProject;

class CInputPowerExport
{
public:
    enum DataKind
    {
        kindInputPower = 0,
        kindInputEnergy = 1,
        kindInputPowerValue = 2
    };
    enum Result
    {
        resultFailed = 0,
        resultDone = 1,
        resultRefused = -1
    };

    explicit CInputPowerExport(CAnalysisProject* project);

    // The keys offered for the project: by RPM its RPM list, or its range from the minimum by the
    // step while not above the maximum (only when all three are positive); by order its orders.
    // Each formatted "%g".
    static std::vector<std::string> KeyTexts(CAnalysisProject& project);
    // "IP_%s-%sRPM" (by RPM) or "IP_%s-OT%s" (by order) with IE_ and IPV_ for the other kinds;
    // empty for an unknown kind.
    static std::string DefaultFileName(int projectType, int kind, const std::string& name, const std::string& key);
    // Whether the project has the folder the kind is exported from.
    bool HasDataOf(int kind) const;

    // The order band list of an export by order (type and width of the bands around the order).
    void SetBandList(int type, double width)
    {
        m_bandListType = type;
        m_bandWidth = width;
    }

    // To a workbook when the path names one (.xlsx; a binary .xls is refused with a warning), else
    // to a text. resultRefused: the message was reported already (to the feedback).
    int Export(const std::string& path, int kind, const std::string& keyText, CFeedback* feedback = SilentFeedback());
    // The text at the path; resultFailed without the kind's folder, for an unknown kind or key, or
    // when the folder writes nothing.
    int ExportText(const std::string& path, int kind, const std::string& keyText,
                   CFeedback* feedback = SilentFeedback());
    // The text beside the workbook (same name, ".txt"), then the workbook converted from it.
    int ExportExcel(const std::string& path, int kind, const std::string& keyText,
                    CFeedback* feedback = SilentFeedback());

private:
    CAnalysisProject* m_project;
    int m_bandListType = 0;
    double m_bandWidth = 50.0;
};
