#include "platform/modeldb/ModelData.h"

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/base/LineReader.h"
#include "platform/base/TabSplitter.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/modeldb/ModelCavity.h"
#include "platform/modeldb/ModelShell.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string_view>

IMPLEMENT_SERIAL(CModelData, CMElement, 1)

namespace {
constexpr int32_t kStoreVersion = 1;
// A vehicle model has some hundreds of subsystems; anything this large is not a model file.
constexpr uintmax_t kMaxFileSize = 16u * 1024u * 1024u;
constexpr const char* kDefaultName = "3D Model";

struct ParseError
{
    std::string text;
};

double ParseNumber(const std::string& field, const char* what)
{
    double v = 0.0;
    const char* begin = field.data();
    const char* end = begin + field.size();
    const auto [ptr, ec] = std::from_chars(begin, end, v);
    if (field.empty() || ec != std::errc() || ptr != end || !std::isfinite(v))
        throw ParseError{Format("%s \"%s\" is not a number", what, field.c_str())};
    return v;
}

double ParseMeasure(const std::string& field, const char* what)
{
    const double v = ParseNumber(field, what);
    if (std::string why = CModelSubsystem::CheckMeasure(v, what); !why.empty())
        throw ParseError{std::move(why)};
    return v;
}

int ParseInt(const std::string& field, const char* what)
{
    int v = 0;
    const char* begin = field.data();
    const char* end = begin + field.size();
    const auto [ptr, ec] = std::from_chars(begin, end, v);
    if (field.empty() || ec != std::errc() || ptr != end)
        throw ParseError{Format("%s \"%s\" is not a whole number", what, field.c_str())};
    return v;
}

void ExpectFields(const std::vector<std::string>& f, size_t n, const char* record)
{
    if (f.size() != n)
        throw ParseError{Format("%s takes %zu fields, found %zu", record, n - 1, f.size() - 1)};
}

// A subsystem name must be usable as a key: not empty, and not ending in what reads as a wave-type
// mark, which every look-up would strip.
std::string CheckName(const std::string& name)
{
    if (name.empty())
        throw ParseError{"a subsystem needs a name"};
    std::string stripped = name;
    if (CGfxUtil::RemoveWaveSign(stripped))
        throw ParseError{Format("subsystem name \"%s\" ends in a wave-type mark (\"-\" or \"-F\")", name.c_str())};
    return name;
}

int FileKindOf(const std::string& path)
{
    std::string ext = std::filesystem::u8path(path).extension().string();
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return ext == ".xml" ? CModelData::FILE_KIND_XML : CModelData::FILE_KIND_TEXT;
}
} // namespace

CModelData::CModelData() : CMElement(kDefaultName, nullptr, ElementType::ModelData) {}

CModelData::CModelData(CMElement* parent) : CMElement(kDefaultName, parent, ElementType::ModelData) {}

CModelData::~CModelData() = default;

void CModelData::GetModelDataParams(int* bandType, double* startFreq, double* endFreq) const
{
    if (bandType)
        *bandType = m_bandType;
    if (startFreq)
        *startFreq = m_startFreq;
    if (endFreq)
        *endFreq = m_endFreq;
}

void CModelData::SetFreqInfo(int bandType, double startFreq, double endFreq)
{
    m_bandType = bandType;
    m_startFreq = startFreq;
    m_endFreq = endFreq;
}

CModelSubsystemSet* CModelData::GetSubsystemSet(int number) const
{
    for (const auto& set : m_sets)
        if (set->GetNumber() == number)
            return set.get();
    return nullptr;
}

CModelSubsystemSet* CModelData::GetSubsystemSetAt(int i) const
{
    return (i >= 0 && i < GetSubsystemSetCount()) ? m_sets[static_cast<size_t>(i)].get() : nullptr;
}

CModelSubsystemSet* CModelData::AddSubsystemSet(std::unique_ptr<CModelSubsystemSet> set)
{
    if (!set)
        return nullptr;
    for (auto& existing : m_sets) {
        if (existing->GetNumber() == set->GetNumber()) {
            existing = std::move(set);
            return existing.get();
        }
    }
    m_sets.push_back(std::move(set));
    return m_sets.back().get();
}

CModelSubsystem* CModelData::GetSubsystem(const std::string& name, int /*warn*/, int exact) const
{
    for (const auto& set : m_sets)
        if (CModelSubsystem* s = set->Find(name, exact))
            return s;
    return nullptr;
}

void CModelData::ResetDisplay()
{
    for (const auto& set : m_sets)
        set->ResetDisplay();
}

int CModelData::ReadModelInfo(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path p = std::filesystem::u8path(path);
    const uintmax_t size = std::filesystem::file_size(p, ec);
    if (ec || !std::filesystem::is_regular_file(p, ec)) {
        m_lastError = Format("%s: the file cannot be opened", path.c_str());
        return 0;
    }
    if (size > kMaxFileSize) {
        m_lastError = Format("%s: the file is too large for a vehicle model", path.c_str());
        return 0;
    }
    std::ifstream in(p, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in && !in.eof()) {
        m_lastError = Format("%s: the file cannot be read", path.c_str());
        return 0;
    }
    return ReadModelText(text.str(), path);
}

int CModelData::ReadModelText(const std::string& text, const std::string& path)
{
    std::string title;
    int bandType = -1;
    double startFreq = 0.0, endFreq = 0.0;
    bool haveHeader = false, haveBands = false;
    std::vector<std::unique_ptr<CModelSubsystemSet>> sets;
    std::set<std::string> names;
    size_t lineNo = 0;
    // Fields lose the blanks around them: a hand-edited file may align its columns with spaces.
    const CTabSplitter splitter = CTabSplitter().TrimBlanks();
    try {
        std::string_view body = text;
        if (body.starts_with("\xEF\xBB\xBF"))
            body.remove_prefix(3);
        CLineReader lines(body);
        for (std::string_view line; lines.Next(line);) {
            lineNo = lines.GetLineNumber();
            // Blank lines and comments, indented or not, are no records.
            const size_t first = line.find_first_not_of(" \t\r");
            if (first == std::string_view::npos || line[first] == '#')
                continue;
            const std::vector<std::string> f = splitter.Split(line);
            const std::string& tag = f[0];
            if (!haveHeader) {
                if (tag != "ORVEX-MODEL")
                    throw ParseError{"the file does not begin with \"ORVEX-MODEL\""};
                ExpectFields(f, 2, "ORVEX-MODEL");
                if (ParseInt(f[1], "format version") != 1)
                    throw ParseError{Format("format version %s is not known", f[1].c_str())};
                haveHeader = true;
            } else if (tag == "TITLE") {
                ExpectFields(f, 2, "TITLE");
                title = f[1];
            } else if (tag == "BANDS") {
                ExpectFields(f, 4, "BANDS");
                if (haveBands)
                    throw ParseError{"BANDS is given twice"};
                bandType = ParseInt(f[1], "band kind");
                if (bandType != OCTAVE_BAND_THIRD && bandType != OCTAVE_BAND_FULL && bandType != OCTAVE_BAND_TWELFTH)
                    throw ParseError{Format("band kind %d is not 0, 1 or 2", bandType)};
                startFreq = ParseNumber(f[2], "start frequency");
                endFreq = ParseNumber(f[3], "end frequency");
                if (!(startFreq > 0.0) || !(endFreq >= startFreq))
                    throw ParseError{"the band range must run upwards from above 0 Hz"};
                if (std::string why = COctaveManager::CheckBuildRange(bandType, startFreq, endFreq); !why.empty())
                    throw ParseError{std::move(why)};
                haveBands = true;
            } else if (tag == "SET") {
                ExpectFields(f, 3, "SET");
                const int number = ParseInt(f[1], "set number");
                if (number < 1)
                    throw ParseError{"set numbers start at 1"};
                for (const auto& s : sets)
                    if (s->GetNumber() == number)
                        throw ParseError{Format("set %d is given twice", number)};
                sets.push_back(std::make_unique<CModelSubsystemSet>(number, f[2]));
            } else if (tag == "SHELL" || tag == "CAVITY") {
                const bool shell = tag == "SHELL";
                ExpectFields(f, shell ? 6 : 5, tag.c_str());
                if (sets.empty())
                    throw ParseError{Format("%s comes before the first SET", tag.c_str())};
                const std::string name = CheckName(f[1]);
                if (!names.insert(name).second)
                    throw ParseError{Format("subsystem \"%s\" is given twice", name.c_str())};
                const int type = ParseInt(f[2], "type");
                if (shell && (type < 1 || type > 4))
                    throw ParseError{Format("shell type %d is not 1 to 4", type)};
                if (!shell && (type < 5 || type > 6))
                    throw ParseError{Format("cavity type %d is not 5 or 6", type)};
                if (shell)
                    sets.back()->Add(std::make_unique<CModelShell>(name, type, ParseMeasure(f[3], "area"),
                                                                   ParseMeasure(f[4], "perimeter"),
                                                                   ParseMeasure(f[5], "mass")));
                else
                    sets.back()->Add(std::make_unique<CModelCavity>(name, type, ParseMeasure(f[3], "surface area"),
                                                                    ParseMeasure(f[4], "volume")));
            } else {
                throw ParseError{Format("unknown record \"%s\"", tag.c_str())};
            }
        }
        // What is missing is missing from the whole file, not from its last line.
        lineNo = 0;
        if (!haveHeader)
            throw ParseError{"the file holds no model"};
        if (!haveBands)
            throw ParseError{"BANDS is missing"};
        if (sets.empty())
            throw ParseError{"the model has no subsystem set"};
    } catch (const ParseError& e) {
        m_lastError = lineNo > 0 ? Format("%s, line %zu: %s", path.c_str(), lineNo, e.text.c_str())
                                 : Format("%s: %s", path.c_str(), e.text.c_str());
        return 0;
    }
    m_fileName = path;
    m_fileKind = FileKindOf(path);
    m_title = title;
    SetName(title.empty() ? std::string(kDefaultName) : title);
    SetFreqInfo(bandType, startFreq, endFreq);
    m_sets = std::move(sets);
    m_lastError.clear();
    return 1;
}

void CModelData::Serialize(CArchive& ar)
{
    CMElement::Serialize(ar);
    if (ar.IsStoring()) {
        ar << kStoreVersion << m_fileName << static_cast<int32_t>(m_fileKind) << m_title
           << static_cast<int32_t>(m_bandType) << m_startFreq << m_endFreq;
        ar.WriteCount(static_cast<uint32_t>(m_sets.size()));
        for (const auto& set : m_sets)
            set->Serialize(ar);
        return;
    }
    int32_t version = 0, fileKind = 0, bandType = 0;
    std::string fileName, title;
    double startFreq = 0.0, endFreq = 0.0;
    ar >> version;
    if (version < 1 || version > kStoreVersion)
        CArchive::ThrowBadSchema(Format("vehicle model version %d", version));
    ar >> fileName >> fileKind >> title >> bandType >> startFreq >> endFreq;
    if (!COctaveManager::CheckRange(startFreq, endFreq).empty())
        CArchive::Throw(CArchiveException::genericException, "vehicle model with an invalid band range");
    // Each set takes at least its number, an empty name and a count.
    const uint32_t count = ar.ReadCount(4 + 1 + 2);
    std::vector<std::unique_ptr<CModelSubsystemSet>> sets;
    for (uint32_t i = 0; i < count; ++i) {
        auto set = std::make_unique<CModelSubsystemSet>();
        set->Serialize(ar);
        sets.push_back(std::move(set));
    }
    m_fileName = std::move(fileName);
    m_fileKind = fileKind;
    m_title = std::move(title);
    SetFreqInfo(bandType, startFreq, endFreq);
    m_sets = std::move(sets);
}
