#pragma once
// The results of one energy calculation over engine order: one result set over RPM per order, in
// the order solved. Like the set over RPM it keeps its own copy of the model's subsystem table and
// makes the order result functions.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Feedback.h"
#include "platform/elements/DataWriter.h"
#include "platform/elements/ZuData.h"

class CZuOTDpFunc;
class CZuOTFunc;
class CZuOTPcFunc;
class CZuRpmResultData;

class CZuOTResultData : public CZuData, public IDataWriter
{
    DECLARE_SERIAL(CZuOTResultData)
public:
    static constexpr uint32_t kOldestSchema = 13;

    CZuOTResultData();
    CZuOTResultData(const std::string& name, CMElement* parent, int type, int domainType, double startFreq,
                    double endFreq, const CZuSubsystemTable* table = nullptr);
    ~CZuOTResultData() override;

    int AddResult(double order, std::unique_ptr<CZuRpmResultData> result);
    double GetKey(int i) const;
    CZuRpmResultData* GetResult(int i) const;
    int GetResultCount() const { return static_cast<int>(m_records.size()); }

    // Order maps of kind 53 (vibration level) and 54 (SPL), 55 (dominant paths) and 56 (power
    // contributions) with no orders yet, this set as their parent (not added); null for an empty
    // name. Their order-frequency factor is the owning analysis project's (1.0 without one).
    std::unique_ptr<CZuOTFunc> CreateVibrationFunc(const std::string& subsystem) const;
    std::unique_ptr<CZuOTFunc> CreateSplFunc(const std::string& subsystem) const;
    std::unique_ptr<CZuOTDpFunc> CreateDominantPathFunc(const std::string& subsystem);
    std::unique_ptr<CZuOTPcFunc> CreatePowerContributionFunc(const std::string& subsystem);
    // The factor of order frequencies of the analysis project above the set; 1.0 without one.
    float GetOrderFactor() const;

    // The union, in order, of the per-order sets' collections.
    int CollectInputPowerSubsystems(CZuSubsystemTable& table, int strip, CFeedback* feedback = SilentFeedback()) const;

    // "===== Order# %g =====" and the dump of that order's set, per record.
    int WriteDump(CStdioFile& file, const std::string& param) override;

    void Serialize(CArchive& ar) override;

private:
    struct Record
    {
        double key;
        std::unique_ptr<CZuRpmResultData> result;
    };
    std::vector<Record> m_records;
};
