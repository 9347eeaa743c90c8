#pragma once
// The order power-contribution report of a cavity: for one order of a power-contribution map by
// order, how much each contributing subsystem adds to the cavity at every RPM row, read in the band
// that holds the order frequency. Three kinds of rows: the share of the cavity's SPL (area, dB),
// the rate itself (area, %), and the level each contribution alone would give (line, dB, with a
// sum row).
//
// The report needs the order result data above the map (where the cavity's SPL map and the solved
// results of every RPM are), the analysis project above that (orders, order factor, band set,
// cavity volume), and the cavity's SPL map by order; a missing SPL map is computed by the SPL
// calculation given with SetSplCalculation.
#include <functional>
#include <string>

#include "calculation/OTDataList.h"
#include "platform/archive/Object.h"
#include "platform/base/Feedback.h"

class CHSEAPowerContribution;
class CZuData;
class CZuOTFunc;
class CZuOTPcFunc;
class CZuOTResultData;
class IAnalysisProjectAccess;

class COTCavPcCreator : public CObject
{
public:
    enum : int
    {
        TYPE_AREA_DB = 1,
        TYPE_AREA_PERCENT = 2,
        TYPE_LINE_DB = 3,
    };
    // Value of an area row where the subsystem does not contribute.
    static constexpr double kNoContribution = 1e-10;

    // The cavity's SPL map by order, computed into the result data and returned (null on failure).
    using SplCalculation = std::function<CZuOTFunc*(CZuOTResultData& data, const std::string& cavity)>;

    // source: the power-contribution map by order (not owned); name: the cavity, the map's
    // subsystem when empty.
    explicit COTCavPcCreator(CZuOTPcFunc* source, const std::string& name = std::string());
    ~COTCavPcCreator() override;

    void SetSplCalculation(SplCalculation calculation) { m_splCalculation = std::move(calculation); }

    // Rebuilds the rows of one type for the order at orderIndex of the map. 1 when rows were
    // built; 0 (no rows) for another type, without the name, the result data, the SPL map or the
    // analysis project, or when no subsystem contributes.
    int Build(int type, int orderIndex, CFeedback* feedback = SilentFeedback());
    // The area (dB), area (%) and line (dB) blocks of every order that builds, as a text report.
    // 0 with the message "Faile to open file." when the file cannot be written. The progress, when
    // given, steps once per order.
    int WriteReport(const char* path, CFeedback* progress = SilentFeedback());

    const COTDataList& GetDataList() const { return m_list; }
    const std::string& GetName() const { return m_name; }
    // Found on demand: the first order result data above the map, the cavity's SPL map in it.
    CZuOTResultData* GetResultData();
    CZuOTFunc* GetSplFunc();

private:
    struct Context;
    bool Prepare(int orderIndex, Context& ctx);
    void BuildArea(int type, Context& ctx);
    void BuildLine(Context& ctx);
    // The solved result of RPM row r of the order (where the cavity's loss factor is read).
    CZuData* SolvedResult(const Context& ctx, int r) const;

    std::string m_name;
    CZuOTPcFunc* m_source = nullptr;
    CZuOTResultData* m_data = nullptr;
    CZuOTFunc* m_spl = nullptr;
    SplCalculation m_splCalculation;
    COTDataList m_list;
};
