#include "platform/elements/ZuStdData.h"

#include "platform/archive/Archive.h"
#include "platform/base/Format.h"

IMPLEMENT_SERIAL(CZuStdData, CObject, 1)
IMPLEMENT_SERIAL(CZuStdStringData, CZuStdData, 1)
IMPLEMENT_SERIAL(CZuStdIntData, CZuStdData, 1)
IMPLEMENT_SERIAL(CZuStdLongData, CZuStdData, 1)

namespace {
constexpr uint8_t kStdDataVersion = 1;
}

void CZuStdData::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << kStdDataVersion << m_id;
        return;
    }
    uint8_t version = 0;
    ar >> version;
    if (version < 1 || version > kStdDataVersion)
        CArchive::ThrowBadSchema(Format("value version %u", static_cast<unsigned>(version)));
    ar >> m_id;
}

std::unique_ptr<CZuStdData> CZuStdStringData::Clone() const
{
    return std::make_unique<CZuStdStringData>(GetID(), m_value);
}

void CZuStdStringData::Serialize(CArchive& ar)
{
    CZuStdData::Serialize(ar);
    if (ar.IsStoring())
        ar << m_value;
    else
        ar >> m_value;
}

std::string CZuStdIntData::GetText() const
{
    return Format("%d", static_cast<int>(m_value));
}

std::unique_ptr<CZuStdData> CZuStdIntData::Clone() const
{
    return std::make_unique<CZuStdIntData>(GetID(), m_value);
}

void CZuStdIntData::Serialize(CArchive& ar)
{
    CZuStdData::Serialize(ar);
    if (ar.IsStoring())
        ar << m_value;
    else
        ar >> m_value;
}

std::string CZuStdLongData::GetText() const
{
    return Format("%lld", static_cast<long long>(m_value));
}

std::unique_ptr<CZuStdData> CZuStdLongData::Clone() const
{
    return std::make_unique<CZuStdLongData>(GetID(), m_value);
}

void CZuStdLongData::Serialize(CArchive& ar)
{
    CZuStdData::Serialize(ar);
    if (ar.IsStoring())
        ar << m_value;
    else
        ar >> m_value;
}
