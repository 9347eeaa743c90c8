#pragma once
// The interface through which data classes write their tab-separated text dumps. An element offers
// a dump when it implements this interface (found with dynamic_cast); param is the text the user
// gave for the dump (empty when none). Returns 1 when written.
#include <string>

class CStdioFile;

class IDataWriter
{
public:
    virtual ~IDataWriter() = default;
    virtual int WriteDump(CStdioFile& file, const std::string& param) = 0;
};
