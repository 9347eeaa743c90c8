#include "models/GClfData.h"

#include <vector>

#include "models/GClfGroup.h"
#include "models/LossFactorFuncs.h"
#include "models/ModelStrings.h"
#include "platform/archive/Archive.h"
#include "platform/elements/StdioFile.h"
#include "platform/elements/ZuData.h"
#include "platform/gfx/GfxUtil.h"
#include "platform/gfx/OctaveManager.h"
#include "platform/win/StringIds.h"

IMPLEMENT_SERIAL(CGClfData, CMElement, 2 | VERSIONABLE_SCHEMA)

CGClfData::CGClfData() : CMElement(kStoreName, nullptr, ElementType::GClfData) {}

CGClfData::CGClfData(CMElement* parent, int bandType, double startFreq, double endFreq)
    : CMElement(kStoreName, parent, ElementType::GClfData), m_bandType(bandType), m_startFreq(startFreq),
      m_endFreq(endFreq)
{}

void CGClfData::Serialize(CArchive& ar)
{
    if (ar.IsLoading())
        ar.GetObjectSchema();
    CMElement::Serialize(ar);
    if (ar.IsStoring())
        ar << m_bandType << m_startFreq << m_endFreq;
    else
        ar >> m_bandType >> m_startFreq >> m_endFreq;
}

std::vector<double> CGClfData::BandCentres() const
{
    if (m_bandType < 0)
        return {};
    COctaveManager bands(m_bandType, m_startFreq, m_endFreq);
    return bands.GetFreqArray();
}

// ---------------------------------------------------------------------------------------------
// Look-ups

CZuClfFunc* CGClfData::FindClf(const std::string& a, const std::string& b) const
{
    return FindClfChild(this, a, b);
}

CGClfGroup* CGClfData::FindGroup(const std::string& name, int tryMirror) const
{
    auto lookUp = [this](const std::string& n) -> CGClfGroup* {
        CMElement* e = FindOneChild(n, 1);
        return e && e->GetType() == ElementType::FunctionGroup ? DynamicDowncast<CGClfGroup>(e) : nullptr;
    };
    std::string plain = name;
    CGfxUtil::RemoveWaveSign(plain);
    if (CGClfGroup* g = lookUp(plain))
        return g;
    std::string mirror;
    if (tryMirror && CGfxUtil::GetSymmetricSubsystem(plain, &mirror))
        return lookUp(mirror);
    return nullptr;
}

CGClfGroup* CGClfData::FindCommonGroup() const
{
    return FindGroup(kCommonGroupName, 0);
}

CGClfGroup* CGClfData::GetOrCreateCommonGroup()
{
    if (CGClfGroup* g = FindCommonGroup())
        return g;
    return CreateGroup(kCommonGroupName);
}

CGClfGroup* CGClfData::CreateGroup(const std::string& name)
{
    return AddChild(std::make_unique<CGClfGroup>(name, this));
}

CZuClfFunc* CGClfData::FindGlobalClf(const std::string& a, const std::string& b, const std::string& groupName,
                                     int retry) const
{
    if (CGClfGroup* group = groupName.empty() ? nullptr : FindGroup(groupName, 1)) {
        CZuClfFunc* f = group->FindClf(a, b);
        if (f || !retry)
            return f;
    }
    if (CGClfGroup* common = FindCommonGroup())
        if (CZuClfFunc* f = common->FindClf(a, b))
            return f;
    return FindClf(a, b);
}

int CGClfData::ExtractGlobalClf(const std::string& a, const std::string& b, double* out, int count,
                                const std::string& groupName)
{
    if (!out)
        return 0;
    for (int i = 0; i < count; ++i)
        out[i] = CZuData::kNoValue;
    CZuClfFunc* f = FindGlobalClf(a, b, groupName, 1);
    if (!f)
        return 0;
    const int k = f->GetIndex(a);
    if (k < 0)
        return 0;
    const int n = count < f->GetDataCount() ? count : f->GetDataCount();
    for (int i = 0; i < n; ++i)
        out[i] = f->DataValue(i, k);
    return 1;
}

CZuClfFunc* CGClfData::AddGlobalClf(const std::string& a, const std::string& b, int kind, CZuData* source)
{
    if (a == b)
        return nullptr;
    CZuClfFunc* f = FindGlobalClf(a, b, "", 1);
    if (!f) {
        const std::vector<double> centres = BandCentres();
        const int bands = static_cast<int>(centres.size());
        CGClfGroup* common = GetOrCreateCommonGroup();
        auto made = std::make_unique<CZuClfFunc>("", a, b, bands, common, ElementType::Clf);
        NameClfFunc(made.get(), kind);
        for (int i = 0; i < bands; ++i)
            made->DataIndex(i) = centres[static_cast<size_t>(i)];
        f = common->AddChild(std::move(made));
        if (!f)
            return nullptr;
    }
    if (source) {
        const int n = source->GetFreqCount();
        std::vector<double> ab(static_cast<size_t>(n > 0 ? n : 0)), ba(ab.size());
        if (n > 0 && source->ExtractClf(a, b, ab.data(), static_cast<unsigned>(n)) &&
            source->ExtractClf(b, a, ba.data(), static_cast<unsigned>(n))) {
            const int ia = f->GetIndex(a), ib = f->GetIndex(b);
            const int m = n < f->GetDataCount() ? n : f->GetDataCount();
            for (int i = 0; i < m && ia >= 0 && ib >= 0; ++i) {
                f->DataValue(i, ia) = ab[static_cast<size_t>(i)];
                f->DataValue(i, ib) = ba[static_cast<size_t>(i)];
            }
        }
    }
    return f;
}

void CGClfData::NameClfFunc(CZuClfFunc* function, int kind)
{
    if (!function)
        return;
    const std::string a = function->GetSubsystem(0), b = function->GetSubsystem(1);
    const bool coupled = kind == 1 || kind == 17;
    function->SetName(
        coupled ? ModelFormat(IDS_GCLF_COUPLED_NAME, "Global CLF(%s, %s)", a.c_str(), b.c_str())
                : ModelFormat(IDS_GCLF_UNCOUPLED_NAME, "Global CLF(%s, %s) (not coupled)", a.c_str(), b.c_str()));
    function->SetType(coupled ? ElementType::CoupledClf : ElementType::UncoupledClf);
}

// ---------------------------------------------------------------------------------------------
// Text

int CGClfData::Export(CStdioFile& file)
{
    try {
        auto writeFunctions = [&file](const CMElement* owner) {
            for (int i = 0; i < owner->GetChildCount(); ++i)
                if (auto* f = DynamicDowncast<CZuClfFunc>(owner->GetChild(i)))
                    if (!f->Export(file))
                        return false;
            return true;
        };
        file.WriteString("[" + GetName() + "]\n");
        if (!writeFunctions(this))
            return 0;
        file.WriteString("\n");
        for (int i = 0; i < GetChildCount(); ++i)
            if (auto* group = DynamicDowncast<CGClfGroup>(GetChild(i))) {
                file.WriteString("[" + group->GetName() + "]\n");
                if (!writeFunctions(group))
                    return 0;
            }
        return 1;
    } catch (const CFileException&) {
        return 0;
    }
}

namespace {

// A section heading: "[name]".
bool IsHeading(const std::string& line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

} // namespace

int CGClfData::Import(CStdioFile& file)
{
    m_importError.clear();
    try {
        const std::vector<double> centres = BandCentres();
        const int bands = static_cast<int>(centres.size());

        std::string first;
        if (!file.ReadString(first) || first.empty()) {
            m_importError = "the global CLF section has no heading";
            return 0;
        }
        SetName(first.size() >= 2 ? first.substr(1, first.size() - 2) : std::string());

        // The rest of the file in sections: the store's own functions, then one section per group
        // heading. A function that cannot be read ends its section only, so one bad block cannot
        // swallow the heading of the next group.
        std::vector<std::string> headings;
        std::vector<std::string> sections(1);
        std::string line;
        while (file.ReadString(line)) {
            if (IsHeading(line)) {
                headings.push_back(line.substr(1, line.size() - 2));
                sections.emplace_back();
                continue;
            }
            sections.back() += line;
            sections.back() += '\n';
        }

        auto readFunctions = [&](CMElement* owner, const std::string& text) {
            CStdioFile part;
            part.OpenMemory(CStdioFile::modeRead, text);
            for (;;) {
                auto f = std::make_unique<CZuClfFunc>("", "", "", bands, owner, ElementType::Clf);
                if (!f->Import(part) || f->GetSubsystemCount() != 2 || f->GetDataCount() != bands)
                    return;
                for (int i = 0; i < bands; ++i)
                    f->DataIndex(i) = centres[static_cast<size_t>(i)];
                owner->AddChild(std::move(f));
            }
        };
        readFunctions(this, sections[0]);
        for (size_t g = 0; g < headings.size(); ++g)
            if (CGClfGroup* group = CreateGroup(headings[g]))
                readFunctions(group, sections[g + 1]);
        return 1;
    } catch (const CFileException&) {
        return 0;
    }
}
