#pragma once
// Finds the datasets of a universal file and indexes every dataset 58: one index record per
// dataset with its header and the byte position of record 1. Other datasets are passed over.
#include <memory>
#include <string>
#include <vector>

#include "uff/DAQPPUFIndex.h"

class CUFLineReader;
class CFeedback;

class CUFScanner
{
public:
    // Appends an index record per dataset 58 of the file to out. 0 when the file cannot be read or
    // a dataset 58 header does not read; error then says which and where.
    static int Scan(const std::string& path, std::vector<std::unique_ptr<CDAQPPUFIndex>>& out, std::string* error,
                    CFeedback* progress = nullptr);
    static int Scan(CUFLineReader& file, std::vector<std::unique_ptr<CDAQPPUFIndex>>& out, std::string* error,
                    CFeedback* progress = nullptr);
};
