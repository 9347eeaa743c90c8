#pragma once
// Turns the measured run-up data of an experiment project into spectrum maps over engine speed:
// one CCalcProject per RPM of an RPM list, each run through the pipeline, their band and order
// levels gathered into tables indexed by RPM, excitation, channel and band or order, and from
// these the result functions that the experiment project's data sets file. Not stored.
#include <string>
#include <vector>

#include "platform/base/Feedback.h"
#include "platform/elements/DataWriter.h"
#include "platform/elements/MElement.h"

class CCalcProject;
class CExpProject;
class CMElementList;
class CRPMOptions;

class CCalcProjectManager : public CMElement, public IDataWriter
{
    DECLARE_DYNAMIC(CCalcProjectManager)

public:
    using Levels = std::vector<float>;
    // The marker file beside the program that keeps the manager in the project tree.
    static constexpr const char* kTreeItemMarker = "as_tree_item.flg";

    explicit CCalcProjectManager(CExpProject* project);
    ~CCalcProjectManager() override;

    CExpProject* GetExpProject() const { return m_project; }
    CCalcProject* GetCalcProject(int i) const;
    // The progress of the calculation and its warnings; silent until set, and null is silent.
    void SetFeedback(CFeedback* progress) { m_progress = progress ? progress : SilentFeedback(); }

    // Builds one calculation project per RPM and runs the steps: the excitation of that name only
    // (empty: all), the RPMs of options (null: the acquisition's range, or the constant RPM of
    // constant-RPM data), release 1 frees each project's spectra once its levels are gathered.
    // Returns the number of calculation projects; 0 (and a message) for an RPM step that is not
    // positive, 0 with nothing kept when cancelled.
    int CalculateAll(const std::string& excitation, const CRPMOptions* options, int release);
    // Appends the result functions (the caller owns them); returns 1.
    int GetResultElements(CMElementList& list);

    // The acquisition's RPM range.
    int GetRpmLow() const;
    int GetRpmHigh() const;
    int GetRpmStep() const;
    const std::vector<int>& GetRpmList() const { return m_rpms; }
    // Whether the last calculation produced order levels.
    bool HasOrderResults() const { return m_orderFeatures; }

    // [rpm][excitation][band], [rpm][excitation][channel][band], and the same by order.
    const std::vector<std::vector<Levels>>& GetBandTable() const { return m_bandTable; }
    const std::vector<std::vector<std::vector<Levels>>>& GetChannelBandTable() const { return m_channelBandTable; }
    const std::vector<std::vector<Levels>>& GetOrderTable() const { return m_orderTable; }
    const std::vector<std::vector<std::vector<Levels>>>& GetChannelOrderTable() const { return m_channelOrderTable; }
    const std::vector<std::vector<Levels>>& GetOrderFreqTable() const { return m_orderFreqTable; }

    int WriteDump(CStdioFile& file, const std::string& param) override;

    // The experiment project's calculation data: clears list, runs a manager over the project and
    // fills list with its result functions (owned by the caller). The manager stays as a child of
    // the project when the marker file lies beside the program, else it is deleted. 1 when results
    // were made, 0 otherwise. The run shows its progress and its warnings through the feedback.
    static int BuildCalcDataList(CExpProject& project, CMElementList& list, CFeedback* feedback = SilentFeedback());

private:
    bool MakeRpmList(const CRPMOptions* options);
    void ClearTables();
    int ExcitationIndex(const std::string& name) const;

    CExpProject* m_project;
    CFeedback* m_progress = SilentFeedback();
    std::vector<int> m_rpms;
    bool m_orderFeatures = false;
    std::vector<std::vector<Levels>> m_bandTable;
    std::vector<std::vector<std::vector<Levels>>> m_channelBandTable;
    std::vector<std::vector<Levels>> m_orderTable;
    std::vector<std::vector<std::vector<Levels>>> m_channelOrderTable;
    std::vector<std::vector<Levels>> m_orderFreqTable;
};
