#pragma once
// The binary archive of our project files, in the byte layout of the class library's archives
// (little-endian), so that files written by earlier versions of the system read as they are.
//
// Strings: a length prefix (1 byte; 0xFF + 2 bytes; 0xFF 0xFFFF + 4 bytes), preceded by the
// marker 0xFF 0xFFFE for the UTF-16 form. 8-bit strings are decoded from the legacy code page
// (Windows-1252, or CP932 for Japanese) into UTF-8. Pure ASCII is written 8-bit, anything else in
// the UTF-16 form, so nothing is lost and older readers still read it.
// Counts: 2 bytes, or 0xFFFF + 4 bytes.
// Objects: null 0x0000; new class 0xFFFF + schema word + name length word + name; class reference
// 0x8000|index; object reference index; classes and objects share one index counter from 1; indexes
// from 0x7FFF on are written as 0x7FFF + a 4-byte value (0x80000000|index for classes).
//
// Every read is bounds-checked: a truncated or forged file raises CArchiveException, never a crash,
// a hang or a huge allocation.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/archive/Object.h"

class CAtomicFile;
class CFeedback;

class CArchiveException : public std::runtime_error
{
public:
    enum Cause
    {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema
    };
    CArchiveException(Cause cause, const std::string& what) : std::runtime_error(what), m_cause(cause) {}
    Cause m_cause;
};

// Errors opening, reading or writing the file under an archive.
class CFileException : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Legacy 8-bit code pages of the language modules.
enum class LegacyCodePage
{
    Windows1252 = 1252,
    CP932 = 932
};

class CArchive
{
public:
    enum Mode
    {
        store = 0,
        load = 1
    };

    // Over a file. Storing writes a temporary file beside the target that replaces it on Close();
    // an archive destroyed without Close() leaves the previous file untouched.
    CArchive(const std::string& path, Mode mode);
    // Over memory. Storing appends to *buffer; loading reads buffer from its start.
    CArchive(std::vector<uint8_t>* buffer, Mode mode);
    // Loading from a fixed block of memory that outlives the archive.
    CArchive(const uint8_t* data, size_t size);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_mode == store; }
    bool IsLoading() const { return m_mode == load; }
    const std::string& GetFileName() const { return m_path; }

    // Finishes a storing archive over a file (flush, sync, rename). Throws CFileException.
    void Close();
    // Drops a storing archive's output; the previous file stays.
    void Abort();

    // ---- primitive values (little-endian) ----
    CArchive& operator<<(uint8_t v) { return WriteLE(v); }
    CArchive& operator<<(int8_t v) { return WriteLE(v); }
    CArchive& operator<<(uint16_t v) { return WriteLE(v); }
    CArchive& operator<<(int16_t v) { return WriteLE(v); }
    CArchive& operator<<(uint32_t v) { return WriteLE(v); }
    CArchive& operator<<(int32_t v) { return WriteLE(v); }
    CArchive& operator<<(uint64_t v) { return WriteLE(v); }
    CArchive& operator<<(int64_t v) { return WriteLE(v); }
    CArchive& operator<<(float v) { return WriteLE(v); }
    CArchive& operator<<(double v) { return WriteLE(v); }
    CArchive& operator<<(const std::string& s)
    {
        WriteString(s);
        return *this;
    }
    CArchive& operator<<(const char* s)
    {
        WriteString(std::string(s));
        return *this;
    }
    CArchive& operator<<(const CObject* obj)
    {
        WriteObject(obj);
        return *this;
    }
    CArchive& operator<<(bool) = delete; // pick a width: uint8_t or int32_t

    CArchive& operator>>(uint8_t& v) { return ReadLE(v); }
    CArchive& operator>>(int8_t& v) { return ReadLE(v); }
    CArchive& operator>>(uint16_t& v) { return ReadLE(v); }
    CArchive& operator>>(int16_t& v) { return ReadLE(v); }
    CArchive& operator>>(uint32_t& v) { return ReadLE(v); }
    CArchive& operator>>(int32_t& v) { return ReadLE(v); }
    CArchive& operator>>(uint64_t& v) { return ReadLE(v); }
    CArchive& operator>>(int64_t& v) { return ReadLE(v); }
    CArchive& operator>>(float& v) { return ReadLE(v); }
    CArchive& operator>>(double& v) { return ReadLE(v); }
    CArchive& operator>>(std::string& s)
    {
        s = ReadStringValue();
        return *this;
    }

    // ---- raw bytes ----
    void Write(const void* data, size_t size);
    // Reads exactly size bytes or throws endOfFile.
    void Read(void* data, size_t size);
    // Bytes left to read (loading), so callers can refuse forged counts before allocating.
    uint64_t BytesRemaining() const;
    // A file of one record or body: anything after it means the file is not what it claims to be
    // (two files run together, or garbage appended). Throws a generic archive exception naming
    // what was read when bytes are left.
    void ExpectEnd(const char* what) const;
    // Throws endOfFile unless at least bytes remain to be read.
    void EnsureAvailable(uint64_t bytes) const;
    // Reads a count and checks that count * minBytesPerItem bytes remain.
    uint32_t ReadCount(uint64_t minBytesPerItem = 1);
    // Reads a 4-byte signed count of what (e.g. "rows of a channel plan"), refuses a negative one
    // with negativeCause and checks that count * minBytesPerItem bytes remain (endOfFile).
    int32_t ReadSignedCount(uint64_t minBytesPerItem, const char* what,
                            CArchiveException::Cause negativeCause = CArchiveException::badSchema);
    void WriteCount(uint32_t count);

    // ---- strings ----
    void WriteString(const std::string& utf8); // length-prefixed string
    std::string ReadStringValue();             // length-prefixed string, as UTF-8
    // Text lines without length prefix (clipboard tables): WriteText writes the bytes as they are;
    // ReadLine reads up to "\n" (dropping "\r\n"), false at the end of the data.
    void WriteText(const std::string& text) { Write(text.data(), text.size()); }
    bool ReadLine(std::string& line);

    // ---- objects ----
    void WriteObject(const CObject* obj);
    // Reads an object record; a new object is created by class name and owned by the caller; an
    // object reference returns the object read before. Throws badClass when the object is not of
    // class required (if given).
    CObject* ReadObject(const CRuntimeClass* required);
    // Objects nest at most this deep: a forged file must not exhaust the stack.
    static constexpr uint32_t kMaxObjectDepth = 256;
    // An object record whose object is handed over: a reference to an object read before (which
    // would be owned twice) is a bad-index error. Null records give null.
    template <class T>
    std::unique_ptr<T> ReadOwned()
    {
        return std::unique_ptr<T>(static_cast<T*>(ReadObjectOwned(T::ThisClass())));
    }
    // Class records alone (for collections that store the class once). ReadClass without schema
    // takes a class record only (an object tag is a bad-index error) and keeps the stored schema for
    // GetObjectSchema; with schema it gives the stored schema there, or, for an object tag, the tag
    // and null.
    void WriteClass(const CRuntimeClass* cls);
    const CRuntimeClass* ReadClass(const CRuntimeClass* required = nullptr, uint32_t* schema = nullptr);
    // Serialises obj in place, no record (an embedded object).
    void SerializeEmbedded(CObject& obj) { obj.Serialize(*this); }

    // The stored schema of the object being read (versionable classes); once asked, it is reset to
    // 0xFFFFFFFF like the class library does.
    uint32_t GetObjectSchema();
    void SetObjectSchema(uint32_t schema) { m_objectSchema = schema; }

    // Throws CArchiveException(badSchema) with a text naming what was read.
    [[noreturn]] static void ThrowBadSchema(const std::string& what);
    [[noreturn]] static void Throw(CArchiveException::Cause cause, const std::string& what);

    // Code page for 8-bit strings of this archive (default: the process default below).
    void SetCodePage(LegacyCodePage cp) { m_codePage = cp; }
    static void SetDefaultCodePage(LegacyCodePage cp);
    static LegacyCodePage DefaultCodePage();
    // Conversions used by the string layer, exposed for text files written in the legacy encoding.
    static std::string DecodeLegacy(const std::string& bytes, LegacyCodePage cp);

    // The document (or other owner) the archive works for; callers cast it back.
    void* m_pDocument = nullptr;

    // Position from the start of the data (for error texts and tests).
    uint64_t Position() const { return m_pos; }
    // The feedback of the work the archive does; not owned, null when the caller gave none.
    // - Loading from a file, the archive moves it to the bytes read each time a block comes from
    //   the file, so a large file shows its progress while it is read (the caller begins it
    //   against BytesRemaining() before the first read).
    // - Each element stored steps it once (the progress of a save counts the tree's elements).
    // - The objects read or written report to it what they would otherwise keep from the user (a
    //   file too old to read, say).
    void SetFeedback(CFeedback* feedback) { m_feedback = feedback; }
    CFeedback* GetFeedback() const { return m_feedback; }
    // Gives the archive another feedback (or none) while it lives, for a part of the work whose
    // elements another range counts, or none does; the feedback it had comes back after.
    class CFeedbackScope
    {
    public:
        CFeedbackScope(CArchive& ar, CFeedback* feedback) : m_ar(ar), m_previous(ar.GetFeedback())
        {
            ar.SetFeedback(feedback);
        }
        ~CFeedbackScope() { m_ar.SetFeedback(m_previous); }
        CFeedbackScope(const CFeedbackScope&) = delete;
        CFeedbackScope& operator=(const CFeedbackScope&) = delete;

    private:
        CArchive& m_ar;
        CFeedback* m_previous;
    };

private:
    template <class T>
    CArchive& WriteLE(T v)
    {
        static_assert(sizeof(T) <= 8);
        uint8_t b[sizeof(T)];
        std::memcpy(b, &v, sizeof(T)); // the machines we run on are little-endian
        Write(b, sizeof(T));
        return *this;
    }
    template <class T>
    CArchive& ReadLE(T& v)
    {
        // Most values lie whole in the block at hand: one bounds check against the data's end and
        // the block's, then a copy. Everything else (the block's edge, the end of the data, a
        // closed or storing archive) takes the checked general path.
        if (m_mode == load && !m_closed && m_pos <= m_size && m_size - m_pos >= sizeof(T)) {
            if (m_inData) {
                std::memcpy(&v, m_inData + m_pos, sizeof(T));
                m_pos += sizeof(T);
                return *this;
            }
            if (m_readBuf.size() - m_readPos >= sizeof(T)) {
                std::memcpy(&v, m_readBuf.data() + m_readPos, sizeof(T));
                m_readPos += sizeof(T);
                m_pos += sizeof(T);
                return *this;
            }
        }
        uint8_t b[sizeof(T)];
        Read(b, sizeof(T));
        std::memcpy(&v, b, sizeof(T));
        return *this;
    }
    void CheckStoring(const char* op) const;
    void CheckLoading(const char* op) const;
    uint32_t ReadStringLength(bool* unicode);
    void WriteStringLength(uint64_t length, bool unicode);
    CObject* ReadObjectOwned(const CRuntimeClass* required);
    // Reads an object record; *mapIndex is the record's index in the load map (0 for null).
    CObject* ReadObjectImpl(const CRuntimeClass* required, bool* wasReference, size_t* mapIndex);
    void FillBuffer(size_t atLeast);
    void FlushOut();

    Mode m_mode;
    std::string m_path;
    LegacyCodePage m_codePage;
    // storage
    std::unique_ptr<CAtomicFile> m_outFile;
    std::vector<uint8_t>* m_outBuffer = nullptr;
    std::vector<uint8_t> m_writeBuf; // buffered output for files
    std::FILE* m_inFile = nullptr;
    std::vector<uint8_t> m_readBuf; // buffered input for files
    size_t m_readPos = 0;
    const uint8_t* m_inData = nullptr;
    uint64_t m_size = 0; // loading: total bytes
    uint64_t m_pos = 0;  // bytes read or written so far
    bool m_closed = false;
    CFeedback* m_feedback = nullptr;
    // object maps
    std::unordered_map<const void*, uint32_t> m_storeMap; // object or class -> index
    std::vector<const void*> m_loadArray;                 // index -> object or class (0: null)
    std::vector<uint8_t> m_loadIsClass;
    std::vector<uint16_t> m_loadSchema;
    std::vector<uint8_t> m_loadOwned; // object handed over as owned
    uint32_t m_mapCount = 1;
    uint32_t m_depth = 0; // objects being read inside one another
    uint32_t m_objectSchema = 0xFFFFFFFFu;
};
