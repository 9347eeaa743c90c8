#include "platform/archive/Archive.h"

#include <atomic>
#include <cerrno>
#include <iconv.h>
#include <sys/stat.h>

#include "platform/base/AtomicFile.h"
#include "platform/base/Feedback.h"
#include "platform/base/Format.h"
#include "platform/base/RegularFile.h"

namespace {

constexpr uint16_t kNullTag = 0x0000;
constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kClassTag = 0x8000;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint32_t kBigClassTag = 0x80000000u;
constexpr uint32_t kMaxMapCount = 0x3FFFFFFEu;
constexpr size_t kIoBlock = 1 << 16;

std::atomic<int> g_defaultCodePage{static_cast<int>(LegacyCodePage::Windows1252)};

bool IsAscii(const std::string& s)
{
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

void AppendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes UTF-8; malformed bytes become U+FFFD one byte at a time.
std::vector<uint32_t> DecodeUtf8(const std::string& s)
{
    std::vector<uint32_t> cps;
    cps.reserve(s.size());
    size_t i = 0;
    const size_t n = s.size();
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        uint32_t cp = 0;
        size_t len = 0;
        if (c < 0x80) {
            cp = c;
            len = 1;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            len = 4;
        }
        bool ok = len > 0 && i + len <= n;
        for (size_t k = 1; ok && k < len; ++k) {
            const unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (cc & 0x3F);
        }
        static const uint32_t minFor[] = {0, 0, 0x80, 0x800, 0x10000};
        if (ok && (cp < minFor[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            ok = false;
        if (!ok) {
            cps.push_back(0xFFFD);
            ++i;
        } else {
            cps.push_back(cp);
            i += len;
        }
    }
    return cps;
}

// Windows-1252's 0x80..0x9F; the five unassigned bytes map to the C1 controls like Windows does.
const uint16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string DecodeCp932(const std::string& bytes)
{
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        // No converter on this machine: keep ASCII, mark the rest.
        std::string out;
        for (unsigned char c : bytes)
            c < 0x80 ? out += static_cast<char>(c) : out += "\xEF\xBF\xBD";
        return out;
    }
    std::string out;
    out.reserve(bytes.size() * 2);
    std::vector<char> in(bytes.begin(), bytes.end());
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char buf[1024];
    while (inLeft > 0) {
        char* outPtr = buf;
        size_t outLeft = sizeof buf;
        const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buf, static_cast<size_t>(outPtr - buf));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            // Invalid or cut-off sequence: one replacement character per bad byte.
            out += "\xEF\xBF\xBD";
            ++inPtr;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

// ---------------------------------------------------------------------------------------------
CArchive::CArchive(const std::string& path, Mode mode) : m_mode(mode), m_path(path), m_codePage(DefaultCodePage())
{
    m_loadArray.push_back(nullptr);
    m_loadIsClass.push_back(0);
    m_loadSchema.push_back(0);
    m_loadOwned.push_back(0);
    if (mode == store) {
        m_outFile = std::make_unique<CAtomicFile>(path);
        if (!m_outFile->Open())
            throw CFileException(m_outFile->ErrorText());
        m_writeBuf.reserve(kIoBlock);
    } else {
        std::string why;
        m_inFile = OpenRegularFile(path, &why);
        if (!m_inFile)
            throw CFileException(Format("Cannot open %s: %s", path.c_str(), why.c_str()));
        struct stat st
        {};
        if (::fstat(::fileno(m_inFile), &st) != 0) {
            std::fclose(m_inFile);
            m_inFile = nullptr;
            throw CFileException(Format("%s is not a readable file", path.c_str()));
        }
        m_size = static_cast<uint64_t>(st.st_size);
    }
}

CArchive::CArchive(std::vector<uint8_t>* buffer, Mode mode) : m_mode(mode), m_codePage(DefaultCodePage())
{
    m_loadArray.push_back(nullptr);
    m_loadIsClass.push_back(0);
    m_loadSchema.push_back(0);
    m_loadOwned.push_back(0);
    if (mode == store) {
        m_outBuffer = buffer;
    } else {
        m_inData = buffer->data();
        m_size = buffer->size();
    }
}

CArchive::CArchive(const uint8_t* data, size_t size)
    : m_mode(load), m_codePage(DefaultCodePage()), m_inData(data), m_size(size)
{
    m_loadArray.push_back(nullptr);
    m_loadIsClass.push_back(0);
    m_loadSchema.push_back(0);
    m_loadOwned.push_back(0);
}

CArchive::~CArchive()
{
    if (m_inFile)
        std::fclose(m_inFile);
    // A storing archive that was not closed leaves the previous file as it was.
    if (m_outFile)
        m_outFile->Discard();
}

void CArchive::Close()
{
    if (m_closed)
        return;
    m_closed = true;
    if (m_outFile) {
        FlushOut();
        const bool ok = m_outFile->Commit();
        const std::string err = m_outFile->ErrorText();
        m_outFile.reset();
        if (!ok)
            throw CFileException(err);
    }
    if (m_inFile) {
        std::fclose(m_inFile);
        m_inFile = nullptr;
    }
}

void CArchive::Abort()
{
    m_closed = true;
    if (m_outFile) {
        m_outFile->Discard();
        m_outFile.reset();
    }
    if (m_inFile) {
        std::fclose(m_inFile);
        m_inFile = nullptr;
    }
}

void CArchive::Throw(CArchiveException::Cause cause, const std::string& what)
{
    throw CArchiveException(cause, what);
}

void CArchive::ThrowBadSchema(const std::string& what)
{
    throw CArchiveException(CArchiveException::badSchema, what);
}

void CArchive::CheckStoring(const char* op) const
{
    if (m_mode != store || m_closed)
        Throw(CArchiveException::readOnly, Format("%s on an archive that is not storing", op));
}

void CArchive::CheckLoading(const char* op) const
{
    if (m_mode != load || m_closed)
        Throw(CArchiveException::writeOnly, Format("%s on an archive that is not loading", op));
}

// ---- raw bytes -------------------------------------------------------------------------------
void CArchive::FlushOut()
{
    if (m_outFile && !m_writeBuf.empty()) {
        if (!m_outFile->Write(m_writeBuf.data(), m_writeBuf.size()))
            throw CFileException(m_outFile->ErrorText());
        m_writeBuf.clear();
    }
}

void CArchive::Write(const void* data, size_t size)
{
    CheckStoring("Write");
    if (size == 0)
        return;
    const auto* p = static_cast<const uint8_t*>(data);
    if (m_outBuffer) {
        m_outBuffer->insert(m_outBuffer->end(), p, p + size);
    } else if (size >= kIoBlock) {
        FlushOut();
        if (!m_outFile->Write(p, size))
            throw CFileException(m_outFile->ErrorText());
    } else {
        if (m_writeBuf.size() + size > kIoBlock)
            FlushOut();
        m_writeBuf.insert(m_writeBuf.end(), p, p + size);
    }
    m_pos += size;
}

uint64_t CArchive::BytesRemaining() const
{
    return m_mode == load && m_size > m_pos ? m_size - m_pos : 0;
}

void CArchive::ExpectEnd(const char* what) const
{
    if (const uint64_t left = BytesRemaining(); left != 0)
        Throw(CArchiveException::genericException,
              Format("%llu bytes follow the %s at byte %llu", static_cast<unsigned long long>(left), what,
                     static_cast<unsigned long long>(m_pos)));
}

void CArchive::EnsureAvailable(uint64_t bytes) const
{
    if (bytes > BytesRemaining())
        Throw(CArchiveException::endOfFile,
              Format("Unexpected end of %s: %llu bytes needed at byte %llu, %llu left",
                     m_path.empty() ? "data" : m_path.c_str(), static_cast<unsigned long long>(bytes),
                     static_cast<unsigned long long>(m_pos), static_cast<unsigned long long>(BytesRemaining())));
}

void CArchive::Read(void* data, size_t size)
{
    CheckLoading("Read");
    if (size == 0)
        return;
    EnsureAvailable(size);
    auto* out = static_cast<uint8_t*>(data);
    if (m_inData) {
        std::memcpy(out, m_inData + m_pos, size);
        m_pos += size;
        return;
    }
    size_t done = 0;
    const size_t buffered = m_readBuf.size() - m_readPos;
    if (buffered > 0) {
        const size_t n = std::min(buffered, size);
        std::memcpy(out, m_readBuf.data() + m_readPos, n);
        m_readPos += n;
        done = n;
    }
    if (done < size) {
        const size_t left = size - done;
        if (left >= kIoBlock) {
            // Bulk data (samples) go straight to their destination.
            if (std::fread(out + done, 1, left, m_inFile) != left)
                Throw(CArchiveException::endOfFile, Format("Read error in %s", m_path.c_str()));
        } else {
            m_readBuf.resize(kIoBlock);
            const size_t got = std::fread(m_readBuf.data(), 1, kIoBlock, m_inFile);
            m_readBuf.resize(got);
            m_readPos = 0;
            if (got < left)
                Throw(CArchiveException::endOfFile, Format("Read error in %s", m_path.c_str()));
            std::memcpy(out + done, m_readBuf.data(), left);
            m_readPos = left;
        }
        m_pos += size;
        if (m_feedback)
            m_feedback->SetPos(static_cast<int64_t>(m_pos));
        return;
    }
    m_pos += size;
}

uint32_t CArchive::ReadCount(uint64_t minBytesPerItem)
{
    uint16_t w = 0;
    *this >> w;
    uint32_t count = w;
    if (w == 0xFFFF)
        *this >> count;
    // Compared by division so that no product of a forged count can wrap round.
    if (minBytesPerItem != 0 && count > BytesRemaining() / minBytesPerItem)
        Throw(CArchiveException::endOfFile,
              Format("Count %u at byte %llu needs more than the %llu bytes left of %s", count,
                     static_cast<unsigned long long>(m_pos), static_cast<unsigned long long>(BytesRemaining()),
                     m_path.empty() ? "the data" : m_path.c_str()));
    return count;
}

int32_t CArchive::ReadSignedCount(uint64_t minBytesPerItem, const char* what, CArchiveException::Cause negativeCause)
{
    const uint64_t at = m_pos;
    int32_t count = 0;
    *this >> count;
    const char* source = m_path.empty() ? "the data" : m_path.c_str();
    if (count < 0)
        Throw(negativeCause, Format("Negative count %d of %s at byte %llu of %s", count, what,
                                    static_cast<unsigned long long>(at), source));
    // Compared by division so that no product of a forged count can wrap round.
    if (minBytesPerItem != 0 && static_cast<uint64_t>(count) > BytesRemaining() / minBytesPerItem)
        Throw(CArchiveException::endOfFile,
              Format("Count %d of %s at byte %llu needs more than the %llu bytes left of %s", count, what,
                     static_cast<unsigned long long>(at), static_cast<unsigned long long>(BytesRemaining()), source));
    return count;
}

void CArchive::WriteCount(uint32_t count)
{
    if (count < 0xFFFF) {
        *this << static_cast<uint16_t>(count);
    } else {
        *this << static_cast<uint16_t>(0xFFFF);
        *this << count;
    }
}

// ---- strings ---------------------------------------------------------------------------------
void CArchive::SetDefaultCodePage(LegacyCodePage cp)
{
    g_defaultCodePage = static_cast<int>(cp);
}

LegacyCodePage CArchive::DefaultCodePage()
{
    return static_cast<LegacyCodePage>(g_defaultCodePage.load());
}

std::string CArchive::DecodeLegacy(const std::string& bytes, LegacyCodePage cp)
{
    if (IsAscii(bytes))
        return bytes;
    if (cp == LegacyCodePage::CP932)
        return DecodeCp932(bytes);
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        if (c < 0x80)
            out += static_cast<char>(c);
        else if (c < 0xA0)
            AppendUtf8(out, kCp1252High[c - 0x80]);
        else
            AppendUtf8(out, c);
    }
    return out;
}

void CArchive::WriteStringLength(uint64_t length, bool unicode)
{
    if (unicode) {
        *this << static_cast<uint8_t>(0xFF);
        *this << static_cast<uint16_t>(0xFFFE);
    }
    if (length < 0xFF) {
        *this << static_cast<uint8_t>(length);
    } else if (length < 0xFFFE) {
        *this << static_cast<uint8_t>(0xFF);
        *this << static_cast<uint16_t>(length);
    } else if (length < 0xFFFFFFFFu) {
        *this << static_cast<uint8_t>(0xFF);
        *this << static_cast<uint16_t>(0xFFFF);
        *this << static_cast<uint32_t>(length);
    } else {
        Throw(CArchiveException::genericException, "String too long for the archive");
    }
}

void CArchive::WriteString(const std::string& utf8)
{
    CheckStoring("WriteString");
    if (IsAscii(utf8)) {
        WriteStringLength(utf8.size(), false);
        Write(utf8.data(), utf8.size());
        return;
    }
    std::vector<uint16_t> units;
    units.reserve(utf8.size());
    for (uint32_t cp : DecodeUtf8(utf8)) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            units.push_back(static_cast<uint16_t>(0xD800 + (cp >> 10)));
            units.push_back(static_cast<uint16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            units.push_back(static_cast<uint16_t>(cp));
        }
    }
    WriteStringLength(units.size(), true);
    for (uint16_t u : units)
        *this << u;
}

uint32_t CArchive::ReadStringLength(bool* unicode)
{
    *unicode = false;
    uint8_t b = 0;
    *this >> b;
    if (b < 0xFF)
        return b;
    uint16_t w = 0;
    *this >> w;
    if (w == 0xFFFE) {
        *unicode = true;
        *this >> b;
        if (b < 0xFF)
            return b;
        *this >> w;
    }
    if (w < 0xFFFF)
        return w;
    uint32_t dw = 0;
    *this >> dw;
    if (dw == 0xFFFFFFFFu)
        Throw(CArchiveException::badIndex,
              Format("String length beyond 4 GB at byte %llu", static_cast<unsigned long long>(m_pos)));
    return dw;
}

std::string CArchive::ReadStringValue()
{
    CheckLoading("ReadString");
    bool unicode = false;
    const uint32_t length = ReadStringLength(&unicode);
    if (!unicode) {
        EnsureAvailable(length);
        std::string bytes(length, '\0');
        Read(bytes.data(), length);
        // Names and labels are nearly always ASCII: handed over as read, without a copy.
        if (IsAscii(bytes))
            return bytes;
        return DecodeLegacy(bytes, m_codePage);
    }
    EnsureAvailable(static_cast<uint64_t>(length) * 2);
    std::vector<uint16_t> units(length);
    Read(units.data(), static_cast<size_t>(length) * 2);
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < units.size(); ++i) {
        uint32_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            u = 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            u = 0xFFFD;
        }
        AppendUtf8(out, u);
    }
    return out;
}

bool CArchive::ReadLine(std::string& line)
{
    CheckLoading("ReadLine");
    line.clear();
    if (BytesRemaining() == 0)
        return false;
    while (BytesRemaining() > 0) {
        uint8_t byte = 0;
        *this >> byte;
        const char c = static_cast<char>(byte);
        if (c == '\n')
            break;
        line += c;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

// ---- objects ---------------------------------------------------------------------------------
void CArchive::WriteClass(const CRuntimeClass* cls)
{
    CheckStoring("WriteClass");
    if (!cls || !cls->IsSerializable())
        Throw(CArchiveException::badClass, Format("Class %s cannot be stored", cls ? cls->m_lpszClassName : "(null)"));
    auto it = m_storeMap.find(cls);
    if (it != m_storeMap.end()) {
        const uint32_t index = it->second;
        if (index < kBigObjectTag) {
            *this << static_cast<uint16_t>(kClassTag | index);
        } else {
            *this << kBigObjectTag;
            *this << static_cast<uint32_t>(kBigClassTag | index);
        }
        return;
    }
    const std::string_view name(cls->m_lpszClassName);
    *this << kNewClassTag;
    *this << cls->SchemaNumber();
    *this << static_cast<uint16_t>(name.size());
    Write(name.data(), name.size());
    if (m_mapCount >= kMaxMapCount)
        Throw(CArchiveException::badIndex, "Too many objects in one archive");
    m_storeMap[cls] = m_mapCount++;
}

void CArchive::WriteObject(const CObject* obj)
{
    CheckStoring("WriteObject");
    if (!obj) {
        *this << kNullTag;
        return;
    }
    auto it = m_storeMap.find(obj);
    if (it != m_storeMap.end()) {
        const uint32_t index = it->second;
        if (index < kBigObjectTag) {
            *this << static_cast<uint16_t>(index);
        } else {
            *this << kBigObjectTag;
            *this << index;
        }
        return;
    }
    WriteClass(obj->GetRuntimeClass());
    if (m_mapCount >= kMaxMapCount)
        Throw(CArchiveException::badIndex, "Too many objects in one archive");
    m_storeMap[obj] = m_mapCount++;
    const_cast<CObject*>(obj)->Serialize(*this);
}

namespace {
struct ClassRead
{
    const CRuntimeClass* cls = nullptr;
    uint32_t tag = 0; // object tag when cls is null
    uint32_t schema = 0;
};
} // namespace

const CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* required, uint32_t* schema)
{
    CheckLoading("ReadClass");
    uint16_t w = 0;
    *this >> w;
    uint32_t tag = 0;
    if (w == kBigObjectTag)
        *this >> tag;
    else
        tag = (static_cast<uint32_t>(w & kClassTag) << 16) | (w & ~kClassTag);
    if (!(tag & kBigClassTag)) {
        // Not a class record: an object reference or null, which only ReadObject (asking with a
        // schema out value) can take. A caller that wants a class alone gets an error, not null.
        if (!schema)
            Throw(CArchiveException::badIndex, Format("Object tag %u where a class record was expected at byte %llu",
                                                      tag, static_cast<unsigned long long>(m_pos)));
        *schema = tag;
        return nullptr;
    }
    const CRuntimeClass* cls = nullptr;
    uint32_t stored = 0;
    if (w == kNewClassTag) {
        uint16_t s = 0, len = 0;
        *this >> s >> len;
        EnsureAvailable(len);
        std::string name(len, '\0');
        Read(name.data(), len);
        cls = CRuntimeClass::FromName(name);
        if (!cls || !cls->IsSerializable())
            Throw(CArchiveException::badClass,
                  Format("Unknown class \"%s\" at byte %llu", name.c_str(), static_cast<unsigned long long>(m_pos)));
        stored = s;
        if (stored != cls->SchemaNumber() && !cls->IsVersionable())
            Throw(CArchiveException::badSchema, Format("Class %s: stored schema %u, this program reads %u",
                                                       cls->m_lpszClassName, stored, cls->SchemaNumber()));
        if (m_mapCount >= kMaxMapCount)
            Throw(CArchiveException::badIndex, "Too many objects in one archive");
        m_loadArray.push_back(cls);
        m_loadIsClass.push_back(1);
        m_loadSchema.push_back(static_cast<uint16_t>(stored));
        m_loadOwned.push_back(0);
        ++m_mapCount;
    } else {
        const uint32_t index = tag & ~kBigClassTag;
        if (index == 0 || index >= m_loadArray.size() || !m_loadIsClass[index])
            Throw(CArchiveException::badIndex,
                  Format("Bad class index %u at byte %llu", index, static_cast<unsigned long long>(m_pos)));
        cls = static_cast<const CRuntimeClass*>(m_loadArray[index]);
        stored = m_loadSchema[index];
    }
    if (required && !cls->IsDerivedFrom(required))
        Throw(CArchiveException::badClass,
              Format("Found class %s where %s was expected", cls->m_lpszClassName, required->m_lpszClassName));
    if (schema)
        *schema = stored;
    else
        m_objectSchema = stored;
    return cls;
}

CObject* CArchive::ReadObjectImpl(const CRuntimeClass* required, bool* wasReference, size_t* mapIndex)
{
    CheckLoading("ReadObject");
    *wasReference = false;
    *mapIndex = 0;
    uint32_t schemaOrTag = 0;
    const CRuntimeClass* cls = ReadClass(required, &schemaOrTag);
    if (!cls) {
        const uint32_t tag = schemaOrTag;
        if (tag == 0)
            return nullptr;
        if (tag >= m_loadArray.size() || m_loadIsClass[tag] || !m_loadArray[tag] || m_loadOwned[tag])
            Throw(CArchiveException::badIndex,
                  Format("Bad object reference %u at byte %llu", tag, static_cast<unsigned long long>(m_pos)));
        auto* obj = static_cast<CObject*>(const_cast<void*>(m_loadArray[tag]));
        if (required && !obj->IsKindOf(required))
            Throw(CArchiveException::badClass,
                  Format("Found class %s where %s was expected", obj->GetRuntimeClass()->m_lpszClassName,
                         required->m_lpszClassName));
        *wasReference = true;
        *mapIndex = tag;
        return obj;
    }
    if (m_mapCount >= kMaxMapCount)
        Throw(CArchiveException::badIndex, "Too many objects in one archive");
    // Refused before the object is made and mapped, so no map entry ever outlives its object.
    if (m_depth >= kMaxObjectDepth)
        Throw(CArchiveException::badIndex, Format("Objects nested more than %u deep at byte %llu", kMaxObjectDepth,
                                                  static_cast<unsigned long long>(m_pos)));
    std::unique_ptr<CObject> obj(cls->CreateObject());
    if (!obj)
        Throw(CArchiveException::badClass, Format("Cannot create %s", cls->m_lpszClassName));
    const size_t index = m_loadArray.size();
    m_loadArray.push_back(obj.get());
    m_loadIsClass.push_back(0);
    m_loadSchema.push_back(0);
    m_loadOwned.push_back(0);
    ++m_mapCount;
    m_objectSchema = schemaOrTag;
    try {
        ++m_depth;
        obj->Serialize(*this);
        --m_depth;
    } catch (...) {
        --m_depth;
        // The half-read object goes, and with it whatever it read inside itself (its children die
        // with it). A caller that catches the error and reads on must find those indexes refused,
        // not pointing at freed objects.
        for (size_t i = index; i < m_loadArray.size(); ++i)
            if (!m_loadIsClass[i]) {
                m_loadArray[i] = nullptr;
                m_loadOwned[i] = 1;
            }
        throw;
    }
    *mapIndex = index;
    return obj.release();
}

CObject* CArchive::ReadObject(const CRuntimeClass* required)
{
    bool wasReference = false;
    size_t mapIndex = 0;
    return ReadObjectImpl(required, &wasReference, &mapIndex);
}

CObject* CArchive::ReadObjectOwned(const CRuntimeClass* required)
{
    bool wasReference = false;
    size_t mapIndex = 0;
    CObject* obj = ReadObjectImpl(required, &wasReference, &mapIndex);
    if (wasReference)
        Throw(CArchiveException::badIndex,
              Format("An object stored once is referenced again at byte %llu where it must be owned",
                     static_cast<unsigned long long>(m_pos)));
    // Its owner may delete it; a later reference must not reach it.
    if (obj)
        m_loadOwned[mapIndex] = 1;
    return obj;
}

uint32_t CArchive::GetObjectSchema()
{
    const uint32_t s = m_objectSchema;
    m_objectSchema = 0xFFFFFFFFu;
    return s;
}
