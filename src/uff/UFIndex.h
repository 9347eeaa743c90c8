#pragma once
// The index record of one dataset of a universal file: which dataset type, in which file, and the
// byte position of its first header line, so its values can be read later without reading the
// file again from its start.
#include <cstdint>
#include <string>

#include "platform/archive/Object.h"

class CArchive;
class CUFLineReader;

class CUFIndex : public CObject
{
    DECLARE_DYNAMIC(CUFIndex)

public:
    static constexpr uint8_t kVersion = 1;

    explicit CUFIndex(int type) : m_nType(type) {}
    ~CUFIndex() override = default;

    int GetType() const { return m_nType; }
    const std::string& GetFile() const { return m_strFile; }
    void SetFile(const std::string& path) { m_strFile = path; }
    // The last path component of the file.
    std::string GetFileTitle() const;
    int32_t GetOffset() const { return m_nOffset; }
    void SetOffset(int32_t offset) { m_nOffset = offset; }

    // Reads the dataset's header; the reader stands at the header's first line. Nonzero on success;
    // on failure the record holds what was read so far.
    virtual int ReadHeader(CUFLineReader& file) = 0;

    void Serialize(CArchive& ar) override;

protected:
    int32_t m_nType;
    std::string m_strFile;
    int32_t m_nOffset = 0;
};
