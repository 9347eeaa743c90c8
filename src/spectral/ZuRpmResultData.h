#pragma once
// The results of one energy calculation over engine speed: one solved result (an HSEA result of
// the model subsystem) per RPM, in the order solved; keys are not sorted and may repeat. The set
// keeps its own copy of the model's subsystem table and makes the result functions that the
// calculation drivers fill (vibration level, SPL, dominant paths, power contributions).
//
// The results are owned by the set's records (their parent is the set, but they are not in its
// list of children); the result functions become its children when the caller adds them.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Feedback.h"
#include "platform/elements/DataWriter.h"
#include "platform/elements/ZuData.h"

class CZuRpmDpFunc;
class CZuRpmFunc;
class CZuRpmMultiVecFunc;
class CZuRpmPcFunc;
class CZuVecFunc;

class CZuRpmResultData : public CZuData, public IDataWriter
{
    DECLARE_SERIAL(CZuRpmResultData)
public:
    static constexpr uint32_t kOldestSchema = 13;

    CZuRpmResultData(); // the class factory
    // As CZuData; with a table the set keeps a copy of it. Named "Result #<serial>".
    CZuRpmResultData(const std::string& name, CMElement* parent, int type, int domainType, double startFreq,
                     double endFreq, const CZuSubsystemTable* table = nullptr);
    ~CZuRpmResultData() override;

    // Appends (rpm, result); the set owns the result and becomes its parent. -1 for null.
    int AddResult(double rpm, std::unique_ptr<CZuData> result);
    double GetKey(int i) const;      // 0.0 outside
    CZuData* GetResult(int i) const; // null outside
    int GetResultCount() const { return static_cast<int>(m_records.size()); }

    // Result functions (not added; null for an empty name).
    std::unique_ptr<CZuRpmFunc> CreateVibrationFunc(const std::string& subsystem) const;
    std::unique_ptr<CZuRpmMultiVecFunc> CreateSplFunc(const std::string& label, const std::string& name, int kind);
    std::unique_ptr<CZuRpmDpFunc> CreateDominantPathFunc(const std::string& subsystem);
    std::unique_ptr<CZuRpmPcFunc> CreatePowerContributionFunc(const std::string& subsystem);
    std::unique_ptr<CZuRpmFunc> CreateRpmFunc(const std::string& subsystem, const std::string& name, int kind) const;
    // The first comparison with measured data (FindMultiVecFunc2: with another result) labelled
    // exactly so.
    CMElement* FindMultiVecFunc(const std::string& label) const;
    CMElement* FindMultiVecFunc2(const std::string& label) const;

    // Every subsystem with a positive input power in some result (each once; strip removes the
    // wave sign). A result without its input-power vector is reported as a warning (message 6015)
    // through the feedback. Returns the table's count.
    int CollectInputPowerSubsystems(CZuSubsystemTable& table, int strip, CFeedback* feedback = SilentFeedback()) const;

    // Input powers and modal energies of every record as tab-separated text.
    int WriteDump(CStdioFile& file, const std::string& param) override;

    // The CZuData part, record count, per record the key and the result (an object). Schemas 13
    // and 14 carry a band set after the records.
    void Serialize(CArchive& ar) override;

    // The input-power (type 3) or modal-energy (type 52) vector of a result; null when absent.
    static CZuVecFunc* ResultVector(const CZuData* result, int type);

private:
    struct Record
    {
        double key;
        std::unique_ptr<CZuData> result;
    };
    std::vector<Record> m_records;
};
