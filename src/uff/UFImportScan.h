#pragma once
// The file step of the universal-file import for one file: finds the datasets between pairs of
// "    -1" lines, indexes every ASCII dataset 58 and hands the spectra (function types 2 and 12) and
// order functions (27) to the caller, with the reader standing right after the dataset's header.
// Binary datasets ("    58b") are passed over by their declared size and counted; other dataset
// numbers and function types are passed over.
#include <cstdint>
#include <functional>
#include <string>

class CDAQPPUFIndex;
class CUFLineReader;

class CUFImportScan
{
public:
    static constexpr int kFuncAutoSpectrum = 2;
    static constexpr int kFuncSpectrum = 12;
    static constexpr int kFuncOrder = 27;

    // Called at every delimiter with the position in percent of the file; true cancels the scan.
    std::function<bool(int percent)> progress;
    // A spectrum (order false) or an order function (order true). The reader stands after the
    // header; the callee may read on and must leave the reader where it found it.
    std::function<void(CDAQPPUFIndex& index, CUFLineReader& file, bool order)> dataset;

    // 1 at the end of the file, 0 when cancelled. A dataset 58 header that does not read raises
    // CUFImportAbort with "Filed to make a UF index data." and the dataset's identification lines
    // (the caller shows it); so does a file that is not text (a line beyond the reader's limit).
    int Scan(CUFLineReader& file);

    int GetBinaryCount() const { return m_binary; }
    int GetDatasetCount() const { return m_datasets; }

private:
    // Passes over a binary dataset whose first line is line; false when its size does not read
    // (the scan then looks for the closing delimiter line by line).
    bool SkipBinary(CUFLineReader& file, const std::string& line);

    int m_binary = 0;
    int m_datasets = 0;
};
