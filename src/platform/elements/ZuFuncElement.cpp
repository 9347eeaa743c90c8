#include "platform/elements/ZuFuncElement.h"

#include <cmath>

#include "platform/archive/Archive.h"
#include "platform/archive/Collections.h"
#include "platform/base/Format.h"
#include "platform/elements/ElementText.h"
#include "platform/elements/StdioFile.h"
#include "platform/gfx/GfxUtil.h"

IMPLEMENT_SERIAL(CZuFuncElement, CZuTableData, 1)

namespace {
constexpr uint8_t kFuncElementVersion = 1;
}

CZuFuncElement::CZuFuncElement() = default;

CZuFuncElement::CZuFuncElement(const std::string& name, int dataCount, CMElement* parent, int type)
    : CZuTableData(name, parent, type), m_index(static_cast<size_t>(dataCount > 0 ? dataCount : 0), 0.0)
{}

CZuFuncElement::~CZuFuncElement() = default;

void CZuFuncElement::SetDataIndexArray(const std::vector<double>& index)
{
    int old = GetDataCount();
    m_index = index;
    if (GetDataCount() != old)
        OnDataCountChanged(old);
}

void CZuFuncElement::SetDataCount(int count)
{
    if (count < 0)
        count = 0;
    int old = GetDataCount();
    if (count == old)
        return;
    m_index.resize(static_cast<size_t>(count), 0.0);
    OnDataCountChanged(old);
}

void CZuFuncElement::OnDataCountChanged(int) {}

std::string CZuFuncElement::GetSubsystem(int) const
{
    return {};
}

int CZuFuncElement::GetIndex(const std::string&) const
{
    return -1;
}

std::string CZuFuncElement::FormatCellValue(double value, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    if (decimals > 15)
        decimals = 15;
    if (!std::isfinite(value))
        return "----";
    double magnitude = std::fabs(value);
    if (value != 0.0 && magnitude < 0.5 * std::pow(10.0, -decimals))
        return CGfxUtil::SciFormat(value, decimals > 0 ? decimals : 3);
    return CGfxUtil::GenFormat(value, decimals);
}

void CZuFuncElement::ExportBody(CStdioFile&) {}

bool CZuFuncElement::ImportBody(const std::vector<std::string>& lines, int dataCount)
{
    if (!lines.empty())
        return false;
    m_index.assign(static_cast<size_t>(dataCount), 0.0);
    return true;
}

int CZuFuncElement::Export(CStdioFile& file)
{
    try {
        file.WriteString(
            Format("#%s\t%s\t%d\t%d\n", TextTag(), zu_text::Escape(GetName()).c_str(), GetType(), GetDataCount()));
        file.WriteString(std::string("#Index\t").append(zu_text::JoinNumbers(m_index, 0, m_index.size())).append("\n"));
        ExportBody(file);
        file.WriteString("#End\n");
        return 1;
    } catch (const CFileException&) {
        return 0;
    }
}

int CZuFuncElement::Import(CStdioFile& file)
{
    try {
        std::string line;
        std::vector<std::string> head;
        if (!zu_text::ReadHeadFields(file, head))
            return 0;
        int type = 0, count = 0;
        if (head.size() != 4 || head[0] != std::string("#") + TextTag() || !zu_text::ParseInt(head[2], type) ||
            !zu_text::ParseInt(head[3], count) || count < 0)
            return 0;
        if (!file.ReadString(line) || line.rfind("#Index", 0) != 0)
            return 0;
        std::vector<double> index;
        std::string values = line.size() > 7 ? line.substr(7) : std::string();
        if (line.size() > 6 && line[6] != '\t')
            return 0;
        if (!zu_text::ParseNumbers(values, static_cast<size_t>(count), index))
            return 0;
        std::vector<std::string> body;
        for (;;) {
            if (!file.ReadString(line))
                return 0; // cut short: no end line
            if (line == "#End")
                break;
            body.push_back(line);
        }
        // The body is applied first (it checks everything before it changes anything); the data
        // index follows, set directly so that the values the body just sized stay.
        if (!ImportBody(body, count))
            return 0;
        m_index = std::move(index);
        SetName(zu_text::Unescape(head[1]));
        SetType(type);
        return 1;
    } catch (const CFileException&) {
        return 0;
    }
}

void CZuFuncElement::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kFuncElementVersion;
        CZuTableData::Serialize(ar);
        SerializeValues(ar, m_index);
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version < 1 || version > kFuncElementVersion)
        CArchive::ThrowBadSchema(Format("function version %u", static_cast<unsigned>(version)));
    CZuTableData::Serialize(ar);
    SerializeValues(ar, m_index);
}
