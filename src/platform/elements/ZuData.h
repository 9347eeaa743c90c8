#pragma once
// A data element: a band set (the frequency axis), the subsystem table its functions are built
// over, a serial number from the library's creation counter, and the connection information (for
// every ordered pair of a table of subsystems and every band one byte; 1 = coupled). Derived model
// data override the virtual operations that extract and update model quantities (loss factors,
// modal densities, wave numbers) and exchange them as text.
//
// The model quantities are child elements found by type code (ElementType::EtaMatrix, ...). The int
// argument of the getters is the caller's warn flag: the element layer has no messages of its
// own, so here it changes nothing; derived classes that can name what is missing use it.
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Feedback.h"
#include "platform/elements/MElement.h"
#include "platform/elements/ZuStdDataAccessor.h"
#include "platform/elements/ZuSubsystemTable.h"

class COctaveManager;
class COctaveManagerEx;
class CStdioFile;
class CZuFuncElement;
class CZuMatFunc;
class CZuVecFunc;

class CZuData : public CMElement, public IZuStdDataAccessor
{
    DECLARE_SERIAL(CZuData)
public:
    // The failure value of the single-band extractions: the negative of the largest float.
    static constexpr double kNoValue = -3.4028234663852886e+38;

    CZuData(); // empty name, no parent, type -1, no band set (the class factory)
    // domainType < 0 makes no band set; otherwise a band set of that kind over start..end.
    CZuData(const std::string& name, CMElement* parent, int type, int domainType, double startFreq, double endFreq);
    ~CZuData() override;

    // ---- serial number and the library's creation counter ----
    // Every data element takes the next number of the counter when it is made.
    uint32_t GetSerialNumber() const { return m_serial; }
    void SetSerialNumber(uint32_t serial) { m_serial = serial; }
    static uint32_t GetCreationCount();
    // The project file stores the counter and gives it back after reading, so that data made later
    // continue the numbering.
    static void SetCreationCount(uint32_t count);

    // ---- band set ----
    // Builds a new band set of the kind over start..end (the previous one is destroyed).
    void SetFreqInfo(int domainType, double startFreq, double endFreq);
    // The band set; null when the element has none.
    COctaveManagerEx* GetOctaveManager() const { return m_bands.get(); }
    // Replaces the band set by a copy of bands (null: none).
    void SetOctaveManager(const COctaveManager* bands);
    void SetOctaveManager(std::unique_ptr<COctaveManagerEx> bands);
    int GetFreqCount() const;
    double GetFreq(int i) const; // 0.0 for an index outside the set
    double GetStartFreq() const;
    double GetEndFreq() const;
    int GetDomainType() const; // -1 without a band set

    // ---- subsystems ----
    // The table of matrix rows (never null).
    CZuSubsystemTable* GetSubsystemTable() const { return m_table.get(); }
    // Takes a copy of table (null: an empty table). Derived data re-bind their functions.
    virtual void SetSubsystemTable(const CZuSubsystemTable* table);

    // ---- connection information ----
    // The table of all subsystems the connection flags are kept for; null until created.
    CZuSubsystemTable* GetAllSubsystems() const { return m_allSubsystems.get(); }
    // Copies table as the connection table and sizes the flags to its pairs and the bands, all 0.
    // Returns 1, or 0 for a null table.
    virtual int CreateConnectionInfo(const CZuSubsystemTable* table);
    // Recomputes the flags from the model quantities; nothing here (0). A subsystem the model
    // lacks is reported to the feedback.
    virtual int UpdateConnectionInfo(CFeedback* feedback = SilentFeedback());
    // Flag of the ordered pair (i, j) of the connection table at a band; 0 outside.
    uint8_t GetConnection(int i, int j, int band) const;
    void SetConnection(int i, int j, int band, uint8_t flag);
    // 1 when the pair (a, b) is coupled (flag 1) at the band, or at any band for band < 0.
    int IsConnected(const std::string& a, const std::string& b, int band = -1) const;
    // Fills out with the subsystems that a is coupled to (pairs (a, j)) at the band, or at any band
    // for band < 0; returns their number.
    int GetConnections(const std::string& a, CZuSubsystemTable& out, int band = -1) const;

    int GetMergeOrder() const { return m_mergeOrder; }
    void SetMergeOrder(int order) { m_mergeOrder = order; }

    // ---- model quantities (children by type code) ----
    virtual CZuMatFunc* GetEtaMatrix(int warn);
    virtual CZuVecFunc* GetModalDensity(int warn);
    virtual CZuVecFunc* GetWaveNumber(int warn);
    virtual CZuMatFunc* GetClfDlfMatrix(int warn);
    // The CLF function of the pair (a, b): a child of ElementType::Clf whose subsystems 0 and 1 are a and b.
    // When there is none and retried is 0, (b, a) is tried and, when found, a and b are exchanged.
    virtual CZuFuncElement* GetClf(std::string& a, std::string& b, int retried = 0);
    virtual CZuFuncElement* GetTotalDlf(const std::string& subsystem);
    virtual CZuFuncElement* GetIntrinsicDlf(const std::string& subsystem);

    // ---- extraction (model data override these; here they fail) ----
    // Single band: the value, or kNoValue. Band range 0..count-1 into out: 1 or 0. Function form:
    // the function element (created or refreshed as a child), or null. A subsystem the model lacks
    // is reported to the feedback.
    virtual double ExtractClf(const std::string& from, const std::string& to, unsigned band,
                              CFeedback* feedback = SilentFeedback());
    virtual int ExtractClf(const std::string& from, const std::string& to, double* out, unsigned count,
                           CFeedback* feedback = SilentFeedback());
    virtual CMElement* ExtractClf(const std::string& a, const std::string& b, CFeedback* feedback = SilentFeedback());
    virtual double ExtractIntrinsicDlf(const std::string& subsystem, unsigned band,
                                       CFeedback* feedback = SilentFeedback());
    virtual int ExtractIntrinsicDlf(const std::string& subsystem, double* out, unsigned count,
                                    CFeedback* feedback = SilentFeedback());
    virtual CMElement* ExtractIntrinsicDlf(const std::string& subsystem, CFeedback* feedback = SilentFeedback());
    virtual double ExtractTotalDlf(const std::string& subsystem, unsigned band, CFeedback* feedback = SilentFeedback());
    virtual int ExtractTotalDlf(const std::string& subsystem, double* out, unsigned count,
                                CFeedback* feedback = SilentFeedback());
    virtual CMElement* ExtractTotalDlf(const std::string& subsystem, CFeedback* feedback = SilentFeedback());
    virtual double ExtractModalDensity(const std::string& subsystem, unsigned band);
    virtual int ExtractModalDensity(const std::string& subsystem, double* out, unsigned count);
    virtual double ExtractWaveNumber(const std::string& subsystem, unsigned band);
    virtual int ExtractWaveNumber(const std::string& subsystem, double* out, unsigned count);

    // ---- text exchange ----
    // The data part as text: band set and subsystem table (layout in docs/file-formats.md).
    // Export: 1, or 0 when writing fails. Import: reads the part written by Export and replaces
    // band set and subsystem table; 0 (nothing changed) when the text is missing or malformed.
    virtual int Export(CStdioFile& file);
    virtual int Import(CStdioFile& file);

    // Recomputes what the data derive from a source; nothing to do here (1).
    virtual int UpdateAllData(CZuData* source, long showProgress, CObject* extra);

    // A copy made for a new place in the tree is new data: it takes a new serial number.
    std::unique_ptr<CMElement> Duplicate() const override;

    // Version byte, the element (with its children), serial number, merge order, band set,
    // subsystem table, connection table and flags.
    void Serialize(CArchive& ar) override;

private:
    static std::atomic<uint32_t> s_creationCount;
    size_t ConnectionOffset(int i, int j, int band) const;

    uint32_t m_serial = 0;
    int32_t m_mergeOrder = 0;
    std::unique_ptr<COctaveManagerEx> m_bands;
    std::unique_ptr<CZuSubsystemTable> m_table;
    std::unique_ptr<CZuSubsystemTable> m_allSubsystems;
    int m_connectionBands = 0;
    std::vector<uint8_t> m_connections; // [(i * n + j) * bands + band]
};
