#pragma once
// The one scanner of universal files: finds the datasets between pairs of "    -1" lines and
// indexes every ASCII dataset 58 (its header and the byte position of record 1). Binary datasets
// ("    58b") are passed over by their declared size and counted, so their bytes are never read as
// lines; other datasets are passed over up to their closing line. The import, the value reader's
// callers, the split and the tools all find datasets through here.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/Feedback.h"
#include "uff/DAQPPUFIndex.h"

class CUFLineReader;

class CUFScanner
{
public:
    // The feedback of the scan (not owned; silent unless set): the caller begins its range over
    // the file's size in bytes, the scan moves it to where it has read (at least every hundredth
    // of the file) and stops when it is cancelled, which it asks at every delimiter.
    CFeedback* feedback = SilentFeedback();
    // Every dataset 58 indexed; the callee may take the record. The reader stands after the header;
    // the callee may read on, the scan goes on from where the header ended.
    std::function<void(std::unique_ptr<CDAQPPUFIndex>& index, CUFLineReader& file)> dataset;
    // Threads the search for the lines between datasets may use (0: one per core); the datasets
    // are handed out in file order whatever the number.
    int threads = 0;

    // 1 at the end of the file; 0 when cancelled (error left empty) or when the file does not read
    // as a universal file or a dataset 58 header does not read (error says which and where).
    int Scan(CUFLineReader& file, std::string* error);

    int GetBinaryCount() const { return m_binary; }
    int GetDatasetCount() const { return m_datasets; }

    // Appends an index record per dataset 58 of the file to out. 0 when the file cannot be read or
    // a dataset 58 header does not read; error then says which and where. threads as the member.
    static int Scan(const std::string& path, std::vector<std::unique_ptr<CDAQPPUFIndex>>& out, std::string* error,
                    CFeedback* progress = SilentFeedback(), int threads = 0);
    static int Scan(CUFLineReader& file, std::vector<std::unique_ptr<CDAQPPUFIndex>>& out, std::string* error,
                    CFeedback* progress = SilentFeedback(), int threads = 0);

private:
    // Passes over a binary dataset whose first line is line; false when its size does not read
    // (the scan then looks for the closing delimiter line by line).
    static bool SkipBinary(CUFLineReader& file, std::string_view line);

    int m_binary = 0;
    int m_datasets = 0;
};
