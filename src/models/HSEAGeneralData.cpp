#include "models/HSEAGeneralData.h"

#include <cmath>
#include <vector>

#include "models/EnergyRatioFunction.h"
#include "models/LossFactorFuncs.h"
#include "models/ModelProjectLink.h"
#include "models/ModelStrings.h"
#include "platform/archive/Archive.h"
#include "platform/base/Format.h"
#include "platform/elements/ElementText.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuPowerFunc.h"
#include "platform/elements/ZuMatFunc.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/PromptService.h"
#include "platform/win/StringIds.h"

IMPLEMENT_SERIAL(CHSEAGeneralData, CZuData, 15 | VERSIONABLE_SCHEMA)

namespace {

constexpr double kCouplingThreshold = 1e-15;
// Connection bytes: the model couples the pair, or only this set does.
constexpr uint8_t kConnected = 1;
constexpr uint8_t kNotConnected = 16;

struct PowerKind
{
    uint32_t stringId;
    const char* fallback;
    int code;
};
constexpr PowerKind kPowerKinds[4] = {
    {IDS_POWER_NAME_0, "Input Power(%s)", 3},
    {IDS_POWER_NAME_1, "Input Energy(%s)", 5},
    {IDS_POWER_NAME_2, "Pressure(%s)", 64},
    {IDS_POWER_NAME_3, "Velocity(%s)", 66},
};

} // namespace

CHSEAGeneralData::CHSEAGeneralData() : CZuData("", nullptr, -1, -1, 0.0, 0.0) {}

CHSEAGeneralData::CHSEAGeneralData(const std::string& name, CMElement* parent, int type, int domainType,
                                   double startFreq, double endFreq)
    : CZuData(name, parent, type, domainType, startFreq, endFreq)
{
    SetMergeOrder(0);
    if (parent && parent->GetType() == 0)
        SetName(ModelFormat(IDS_SERIAL_NAME, "%s #%d", name.c_str(), static_cast<int>(GetSerialNumber())));
}

CHSEAGeneralData::~CHSEAGeneralData()
{
    m_properties.DeleteAll();
}

const char* CHSEAGeneralData::SectionName(int kind)
{
    switch (kind) {
    case KIND_CLF_DLF_MATRIX:
        return "[CLFs/Total DLFs]";
    case KIND_CLF:
        return "[CLFs]";
    case KIND_TOTAL_DLF:
        return "[Total DLFs]";
    case KIND_INTRINSIC_DLF:
        return "[Intrindic DLFs]";
    case KIND_INPUT_POWER:
        return "[Input powers]";
    default:
        return "";
    }
}

std::string CHSEAGeneralData::ClfName(const std::string& a, const std::string& b)
{
    return ModelFormat(IDS_CLF_NAME, "CLF(%s, %s)", a.c_str(), b.c_str());
}

std::string CHSEAGeneralData::EnergyRatioName(const std::string& a, const std::string& b)
{
    return ModelFormat(IDS_ENERGY_RATIO_NAME, "ER(%s, %s)", a.c_str(), b.c_str());
}

std::string CHSEAGeneralData::PowerName(const std::string& subsystem, int powerKind)
{
    if (powerKind < 0 || powerKind > 3)
        return {};
    const PowerKind& k = kPowerKinds[powerKind];
    return ModelFormat(k.stringId, k.fallback, subsystem.c_str());
}

// ---------------------------------------------------------------------------------------------
// Functions of the set

CZuPowerFunc* CHSEAGeneralData::AddPowerFunc(const std::string& subsystem, int powerKind)
{
    if (powerKind < 0 || powerKind > 3)
        return nullptr;
    const std::string name = PowerName(subsystem, powerKind);
    GetSubsystemTable()->AddUnique(subsystem);

    const int bands = GetFreqCount();
    std::unique_ptr<CZuPowerFunc> made;
    CZuPowerFunc* f = FindFuncByKind(subsystem, powerKind);
    if (!f) {
        made = std::make_unique<CZuPowerFunc>(name, subsystem, bands, this, kPowerKinds[powerKind].code);
        f = made.get();
    }
    if (f->GetDataCount() != bands)
        f->SetDataCount(bands);
    for (int b = 0; b < bands; ++b) {
        f->DataIndex(b) = GetFreq(b);
        for (int k = 0; k < f->GetSubsystemCount(); ++k)
            f->DataValue(b, k) = 1.0;
    }
    if (made)
        f = AddChild(std::move(made));
    m_nKind = KIND_INPUT_POWER;
    return f;
}

CEnergyRatioFunction* CHSEAGeneralData::AddEnergyRatioFunc(const std::string& a, const std::string& b)
{
    if (a == b)
        return nullptr;
    CEnergyRatioFunction* f = FindEnergyRatioFunc(a, b);
    if (!f) {
        const int bands = GetFreqCount();
        f = AddChild(
            std::make_unique<CEnergyRatioFunction>(EnergyRatioName(a, b), a, b, bands, this, ElementType::EnergyRatio));
        if (!f)
            return nullptr;
        for (int i = 0; i < bands; ++i) {
            f->DataIndex(i) = GetFreq(i);
            f->DataValue(i) = 0.0;
        }
    }
    GetSubsystemTable()->AddUnique(a);
    GetSubsystemTable()->AddUnique(b);
    m_nKind = KIND_ENERGY_RATIO;
    return f;
}

CZuPowerFunc* CHSEAGeneralData::FindFuncByKind(const std::string& subsystem, int powerKind) const
{
    if (powerKind < 0 || powerKind > 3)
        return nullptr;
    return DynamicDowncast<CZuPowerFunc>(FindOneChild(PowerName(subsystem, powerKind), 1));
}

CEnergyRatioFunction* CHSEAGeneralData::FindEnergyRatioFunc(const std::string& a, const std::string& b) const
{
    return DynamicDowncast<CEnergyRatioFunction>(FindOneChild(EnergyRatioName(a, b), 1));
}

CZuFuncElement* CHSEAGeneralData::GetClf(std::string& a, std::string& b, int retried)
{
    if (auto* f = DynamicDowncast<CZuFuncElement>(FindOneChild(ClfName(a, b), 1)))
        return f;
    if (retried)
        return nullptr;
    CZuFuncElement* f = GetClf(b, a, 1);
    if (f)
        std::swap(a, b);
    return f;
}

double CHSEAGeneralData::ExtractClf(const std::string& from, const std::string& to, unsigned band, CFeedback*)
{
    std::string a = from, b = to;
    auto* f = DynamicDowncast<CZuClfFunc>(GetClf(a, b, 0));
    if (!f)
        return kNoValue;
    const int k = f->GetIndex(from);
    if (k < 0 || band >= static_cast<unsigned>(f->GetDataCount()))
        return kNoValue;
    return f->DataValue(static_cast<int>(band), k);
}

int CHSEAGeneralData::ExtractClf(const std::string& from, const std::string& to, double* out, unsigned count,
                                 CFeedback*)
{
    std::string a = from, b = to;
    auto* f = DynamicDowncast<CZuClfFunc>(GetClf(a, b, 0));
    if (!f || !out)
        return 0;
    const int k = f->GetIndex(from);
    if (k < 0 || count > static_cast<unsigned>(f->GetDataCount()))
        return 0;
    for (unsigned u = 0; u < count; ++u)
        out[u] = f->DataValue(static_cast<int>(u), k);
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Connection information

int CHSEAGeneralData::ConnectionIndex(const std::string& name) const
{
    const CZuSubsystemTable* table = GetAllSubsystems();
    if (!table)
        return -1;
    std::string plain = name;
    CGfxUtil::RemoveWaveSign(plain);
    for (int k = 0; k < table->GetCount(); ++k) {
        std::string entry = (*table)[k];
        CGfxUtil::RemoveWaveSign(entry);
        if (entry == plain)
            return k;
    }
    return -1;
}

int CHSEAGeneralData::UpdateConnectionInfo(CFeedback*)
{
    if (m_nKind < KIND_CLF_DLF_MATRIX || m_nKind > KIND_INTRINSIC_DLF)
        return 0;
    if (!GetAllSubsystems())
        CreateConnectionInfo(GetSubsystemTable());
    IModelProjectLink* project = IModelProjectLink::Find(this);
    const int bands = GetFreqCount();

    auto mark = [&](const std::string& p, const std::string& q, int band) {
        const int i = ConnectionIndex(p), j = ConnectionIndex(q);
        if (i < 0 || j < 0 || band < 0 || band >= bands)
            return;
        std::string pp = p, qq = q;
        CGfxUtil::RemoveWaveSign(pp);
        CGfxUtil::RemoveWaveSign(qq);
        const bool connected = project && project->IsSubsystemConnected(pp, qq);
        SetConnection(i, j, band, connected ? kConnected : kNotConnected);
    };

    if (m_nKind == KIND_CLF_DLF_MATRIX) {
        auto* m = DynamicDowncast<CZuMatFunc>(FindOne(ElementType::ClfDlfMatrix, 1));
        if (!m)
            return 1;
        const int n = m->GetRowSubsystemCount() < m->GetColSubsystemCount() ? m->GetRowSubsystemCount()
                                                                            : m->GetColSubsystemCount();
        for (int i = 0; i < n; ++i)
            for (int j = i; j < n; ++j)
                for (int b = 0; b < m->GetDataCount(); ++b) {
                    if (m->DataValue(b, i, j) > 0.0)
                        mark(m->GetRowSubsystem(i), m->GetColSubsystem(j), b);
                    if (m->DataValue(b, j, i) > 0.0)
                        mark(m->GetRowSubsystem(j), m->GetColSubsystem(i), b);
                }
        return 1;
    }
    for (int c = 0; c < GetChildCount(); ++c) {
        if (m_nKind == KIND_CLF) {
            auto* f = DynamicDowncast<CZuClfFunc>(GetChild(c));
            if (!f || f->GetSubsystemCount() < 2)
                continue;
            const std::string p = f->GetSubsystem(0), q = f->GetSubsystem(1);
            for (int b = 0; b < f->GetDataCount(); ++b) {
                if (std::fabs(f->DataValue(b, 0)) >= kCouplingThreshold)
                    mark(p, q, b);
                if (std::fabs(f->DataValue(b, 1)) >= kCouplingThreshold)
                    mark(q, p, b);
            }
        } else {
            auto* f = DynamicDowncast<CZuDlfFunc>(GetChild(c));
            if (!f || f->GetSubsystemCount() < 1)
                continue;
            const int i = ConnectionIndex(f->GetSubsystem(0));
            for (int b = 0; b < f->GetDataCount() && b < bands; ++b)
                if (i >= 0 && f->DataValue(b, 0) > 0.0)
                    SetConnection(i, i, b, kConnected);
        }
    }
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Text

int CHSEAGeneralData::Export(CStdioFile& file)
{
    try {
        if (!CZuData::Export(file))
            return 0;
        file.WriteString(Format("\n%s\n", SectionName(m_nKind)));
        for (int i = 0; i < GetChildCount(); ++i)
            if (auto* f = DynamicDowncast<CZuFuncElement>(GetChild(i)))
                if (!f->Export(file))
                    return 0;
        return 1;
    } catch (const CFileException&) {
        return 0;
    }
}

int CHSEAGeneralData::Import(CStdioFile& file)
{
    m_importError.clear();
    try {
        if (!CZuData::Import(file)) {
            m_importError = "the band set and subsystem table cannot be read";
            return 0;
        }
        std::string line, section;
        if (!file.ReadString(line) || !file.ReadString(section)) {
            m_importError = "the section heading is missing";
            return 0;
        }
        const int bands = GetFreqCount();
        const CZuSubsystemTable* table = GetSubsystemTable();
        for (;;) {
            std::unique_ptr<CZuFuncElement> f;
            if (section == SectionName(KIND_CLF_DLF_MATRIX))
                f = std::make_unique<CZuMatFunc>("", table, table, bands, this, ElementType::ClfDlfMatrix);
            else if (section == SectionName(KIND_CLF))
                f = std::make_unique<CZuClfFunc>("", "", "", bands, this, ElementType::Clf);
            else if (section == SectionName(KIND_TOTAL_DLF))
                f = std::make_unique<CZuDlfFunc>("", "", bands, this, ElementType::TotalDlf);
            else if (section == SectionName(KIND_INTRINSIC_DLF))
                f = std::make_unique<CZuDlfFunc>("", "", bands, this, ElementType::IntrinsicDlf);
            else if (section == SectionName(KIND_INPUT_POWER))
                f = std::make_unique<CZuPowerFunc>("", "", bands, this, 3);
            else {
                m_importError = Format("unknown section \"%s\"", section.c_str());
                return 0;
            }
            // The end of the section: the next block is missing, or is not one of this section.
            if (!f->Import(file))
                return 1;
            if (f->GetDataCount() != bands) {
                m_importError =
                    Format("\"%s\" has %d values for %d bands", f->GetName().c_str(), f->GetDataCount(), bands);
                return 1;
            }
            for (int b = 0; b < bands; ++b)
                f->DataIndex(b) = GetFreq(b);
            AddChild(std::move(f));
        }
    } catch (const CFileException&) {
        return 0;
    }
}

namespace {
// Power codes of the data kinds a section names its functions with, and the power kinds.
int PowerKindOfCode(int code)
{
    switch (code) {
    case ElementType::InputPower:
        return 0;
    case ElementType::Energy:
        return 1;
    case ElementType::Pressure:
        return 2;
    case ElementType::Velocity:
        return 3;
    default:
        return -1;
    }
}

bool ParseNumbersOf(const std::string& line, size_t count, std::vector<double>& out)
{
    const std::vector<std::string> fields = zu_text::Split(line);
    if (fields.size() != count)
        return false;
    out.assign(count, 0.0);
    for (size_t i = 0; i < count; ++i)
        if (!zu_text::ParseDouble(fields[i], out[i]))
            return false;
    return true;
}
} // namespace

int CHSEAGeneralData::ImportSection(CStdioFile& file)
{
    m_importError.clear();
    auto fail = [this](const std::string& why) {
        m_importError = why;
        return 0;
    };
    try {
        std::string line;
        if (!file.ReadString(line) || line.size() < 2 || line.front() != '[' || line.back() != ']')
            return fail("the section title is missing");
        const std::string title = line.substr(1, line.size() - 2);
        if (!file.ReadString(line) || line != "USER_DEFINED_FREQUENCY_DOMAIN")
            return fail("the band list is missing");
        std::vector<double> v;
        for (int i = 0; i < 2; ++i)
            if (!file.ReadString(line) || !ParseNumbersOf(line, 1, v))
                return fail("the band range is missing");
        auto bands = std::make_unique<COctaveManagerEx>(OCTAVE_BAND_USER);
        CZuSubsystemTable table;
        // Band lines (centre, lower, upper), then the subsystems up to an empty line.
        for (;;) {
            if (!file.ReadString(line))
                return fail("the section ends in its band list");
            if (!ParseNumbersOf(line, 3, v))
                break;
            if (!(v[1] <= v[0] && v[0] <= v[2]))
                return fail(Format("the band \"%s\" is not ordered", line.c_str()));
            bands->AddFreqInfo(v[0], v[1], v[2], 3);
        }
        if (bands->GetFreqCount() == 0)
            return fail(Format("no bands before \"%s\"", line.c_str()));
        while (!line.empty()) {
            table.AddUnique(line);
            if (!file.ReadString(line))
                return fail("the section ends in its subsystem list");
        }
        while (line.empty())
            if (!file.ReadString(line))
                return fail("the section heading is missing");
        if (line != SectionName(KIND_INPUT_POWER))
            return fail(Format("unknown section \"%s\"", line.c_str()));

        const int count = bands->GetFreqCount();
        std::vector<std::unique_ptr<CZuPowerFunc>> functions;
        while (file.ReadString(line)) {
            const std::vector<std::string> head = zu_text::Split(line);
            int code = 0;
            if (head.size() != 2 || head[0].size() < 2 || head[0].front() != '[' || head[0].back() != ']' ||
                !zu_text::ParseInt(head[1], code))
                break; // the next section
            const std::string subsystem = head[0].substr(1, head[0].size() - 2);
            const int powerKind = PowerKindOfCode(code);
            if (powerKind < 0)
                return fail(Format("\"%s\" has the unknown kind %d", subsystem.c_str(), code));
            if (!file.ReadString(line))
                return fail(Format("the values of \"%s\" are missing", subsystem.c_str()));
            const std::vector<std::string> fields = zu_text::Split(line);
            if (fields.empty() || fields[0] != subsystem || static_cast<int>(fields.size()) != count + 1)
                return fail(Format("\"%s\" has %d values for %d bands", subsystem.c_str(),
                                   static_cast<int>(fields.size()) - 1, count));
            auto f = std::make_unique<CZuPowerFunc>(PowerName(subsystem, powerKind), subsystem, count, nullptr, code);
            for (int b = 0; b < count; ++b) {
                double value = 0.0;
                const std::string& field = fields[static_cast<size_t>(b) + 1];
                if (!field.empty() && !zu_text::ParseDouble(field, value))
                    return fail(Format("\"%s\" is not a number", field.c_str()));
                f->DataIndex(b) = bands->GetFreq(b);
                f->DataValue(b, 0) = value;
            }
            table.AddUnique(subsystem);
            functions.push_back(std::move(f));
        }
        // Everything was read: the set takes it.
        SetName(title);
        SetOctaveManager(std::move(bands));
        SetSubsystemTable(&table);
        while (CMElement* old = FindOneChild(RUNTIME_CLASS(CZuPowerFunc)))
            DeleteChild(old, 1);
        for (auto& f : functions)
            AddChild(std::move(f));
        m_nKind = KIND_INPUT_POWER;
        return 1;
    } catch (const CFileException& e) {
        return fail(e.what());
    }
}

// ---------------------------------------------------------------------------------------------
// Persistence

void CHSEAGeneralData::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CZuData::Serialize(ar);
        ar << m_nKind;
        m_properties.Serialize(ar);
        return;
    }
    // The schema belongs to this object's record; reading the children replaces it.
    uint32_t schema = ar.GetObjectSchema();
    if (schema == 0xFFFFFFFFu)
        schema = 15;
    if (schema < 13)
        CArchive::ThrowBadSchema(Format("HSEA general data of schema %u", schema));
    CZuData::Serialize(ar);
    ar >> m_nKind;
    if (schema < 15) {
        auto bands = std::make_unique<COctaveManagerEx>(3);
        bands->Serialize(ar);
        SetOctaveManager(std::move(bands));
    }
    if (schema >= 14) {
        m_properties.DeleteAll();
        m_properties.Serialize(ar);
    }
}
