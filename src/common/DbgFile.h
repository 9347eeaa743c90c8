#pragma once
// A text file for diagnostic output, kept with its path: opened by path, written line by line,
// and finished by Close (which does nothing for a file that is not open).
#include "platform/elements/StdioFile.h"

#include <string>

class CDbgFile : public CStdioFile
{
public:
    CDbgFile() = default;
    explicit CDbgFile(const std::string& path) { SetFilePath(path); }

    // Opens the file at the kept path.
    bool Open(Mode mode = modeWrite, std::string* error = nullptr)
    {
        return CStdioFile::Open(GetFilePath(), mode, error);
    }
    using CStdioFile::Open;
};
