#pragma once
// The values of one dataset 58 of a universal file. The object owns the dataset's index record and
// reads the values only when they are asked for, by seeking to the position the index keeps; only
// the index is stored in the project.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/archive/Object.h"
#include "platform/base/Feedback.h"
#include "uff/DAQPPUFIndex.h"
#include "uff/UFReadOptions.h"
#include "uff/UFValues.h"

class CUFLineReader;

class CDAQPPUFData : public CObject
{
    DECLARE_DYNAMIC(CDAQPPUFData)

public:
    static constexpr uint8_t kVersion = 1;
    static constexpr double kGravity = 9.80665;
    static constexpr const char* kUnsupportedForm = "Unsupported data form of universal file.";

    CDAQPPUFData() = default;
    ~CDAQPPUFData() override;

    const CDAQPPUFIndex* GetIndex() const { return m_pIndex.get(); }
    // Owns a copy of index (what the copy of an index record copies); the old record goes.
    void SetIndex(const CDAQPPUFIndex& index);
    // Real for a dataset of real numbers, complex for one of complex numbers.
    const CUFValues& GetValues() const { return m_aValues; }
    // Frees the values (they are read again from the file when next asked for).
    void ReleaseValues()
    {
        m_aValues.Release();
        m_complete = false;
    }
    // Abscissa of value i: i times the increment plus the minimum; 0.0 without an index.
    double GetAbscissa(int i) const;
    // The last path component of the indexed file; empty without an index.
    std::string GetFileTitle() const;

    // Reads the values from the file of the index's title in folder (not the folder the index
    // recorded), unless they are loaded and no reload is asked for. Nonzero on success. A data form
    // this class cannot read is reported as a warning to the feedback ("Unsupported data form of
    // universal file."); with error given, nothing is reported and the reason goes there instead
    // (for readers on other threads).
    int LoadData(const std::string& folder, const UFReadOptions& options, CFeedback* feedback = SilentFeedback());
    int LoadData(const std::string& folder, const UFReadOptions& options, std::string* error);
    // LoadData from open, the indexed file opened already (shared with other readers); null opens
    // it here.
    int LoadData(const std::string& folder, const UFReadOptions& options, std::string* error,
                 const CUFLineReader* open);
    // The indexed file's path in folder.
    std::string PathIn(const std::string& folder) const;
    // Reads the values at the reader's position (after the header). Nonzero on success; on failure
    // the values read so far stay and error (when given) says why.
    virtual int ReadValues(CUFLineReader& file, const UFReadOptions& options, std::string* error) = 0;

    // Loads every object of the list on up to threads threads (0: one per core). Datasets are
    // independent once indexed, so each is read on its own. Returns how many loaded; the failed
    // ones get their reason in errors (same order as items; empty when loaded).
    // Values one dataset may declare: each is kept as a double or a complex number while read, and the import
    // keeps a row of line values per RPM besides. Far above any measured spectrum.
    static constexpr int64_t kMaxValues = int64_t{1} << 24;
    // Why a dataset declaring count values of numbersPerValue numbers each cannot be read from a
    // file with bytesLeft bytes after its header (negative, more numbers than the bytes can hold,
    // beyond kMaxValues); empty when it can. Checked before anything is reserved for the values.
    static std::string CheckCount(int64_t count, int numbersPerValue, uint64_t bytesLeft);
    // The numbers per value of the index's data form: 1 for even real, 2 for even complex or uneven
    // real, 3 for uneven complex.
    static int NumbersPerValue(const CUF58Index& index);

    // open: a file opened already (the one just indexed), read by the items whose file it is.
    // The values of the datasets of open files share one block (see CUFValues), freed when the
    // last of them is released or read again.
    static int LoadAll(const std::vector<CDAQPPUFData*>& items, const std::string& folder, const UFReadOptions& options,
                       int threads, std::vector<std::string>* errors = nullptr, const CUFLineReader* open = nullptr);

    void Serialize(CArchive& ar) override;

protected:
    // Reads count numbers of the dataset's data lines into out: only fields that convert count,
    // and the line that closes the dataset ends the read. False when the numbers run out first.
    static bool ReadNumbers(CUFLineReader& file, size_t count, std::vector<double>& out, std::string* error);
    // The same into out[0 .. count), which the caller has checked with CountFits; got says how many
    // were read.
    static bool ReadNumbers(CUFLineReader& file, size_t count, double* out, size_t& got, std::string* error);
    static void Fail(std::string* error, const std::string& text);
    // False (with the reason) when the rest of the file cannot hold count numbers.
    static bool CountFits(const CUFLineReader& file, size_t count, std::string* error);

    std::unique_ptr<CDAQPPUFIndex> m_pIndex;
    CUFValues m_aValues;
    // The last read stored every value; a failed read keeps its partial values but is read again.
    bool m_complete = false;
};
