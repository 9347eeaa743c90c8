#include "experiments/CalcOptions.h"

#include "models/HSEARegOptions.h"
#include "platform/base/Format.h"

IMPLEMENT_SERIAL(CCalcOptions, CObject, CCalcOptions::kSchema | VERSIONABLE_SCHEMA)

CCalcOptions::CCalcOptions()
{
    m_windowType = static_cast<int>(CHSEARegOptions::GetDataWindowing());
    for (double o : {1.0, 2.0, 3.0, 4.0})
        m_orders.Add(o);
}

bool CCalcOptions::operator==(const CCalcOptions& o) const
{
    return m_highPass == o.m_highPass && m_windowType == o.m_windowType && m_orderBandWidth == o.m_orderBandWidth &&
           m_resolution == o.m_resolution && m_lineCount == o.m_lineCount && m_lpInfo == o.m_lpInfo &&
           m_orders.Values() == o.m_orders.Values();
}

int CCalcOptions::SaveDataWindowing() const
{
    return CHSEARegOptions::SaveDataWindowing(static_cast<uint32_t>(m_windowType));
}

void CCalcOptions::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_highPass << m_windowType;
        m_orders.Serialize(ar);
        ar << m_orderBandWidth << m_lineCount << m_resolution;
        m_lpInfo.Serialize(ar);
        return;
    }
    const uint32_t stored = ar.GetObjectSchema();
    const uint32_t schema = stored == 0xFFFFFFFFu ? kSchema : stored;
    if (schema > kSchema)
        CArchive::ThrowBadSchema(Format("calculation options of schema %u", schema));
    ar >> m_highPass >> m_windowType;
    if (schema >= 3) {
        m_orders.Serialize(ar);
    } else if (schema >= 1) {
        int32_t n = 0;
        ar >> n;
        if (n < 0 || n > kMaxOldOrderCount)
            CArchive::ThrowBadSchema(Format("calculation options with %d orders", n));
        m_orders.RemoveAll();
        for (int32_t i = 1; i <= n; ++i)
            m_orders.Add(static_cast<double>(i));
    }
    if (schema >= 2)
        ar >> m_orderBandWidth;
    if (schema >= 4) {
        ar >> m_lineCount;
        // Line counts of that release were not trustworthy.
        if (schema == 4)
            m_lineCount = 800.0f;
    }
    if (schema >= 6)
        ar >> m_resolution;
    else if (m_lineCount > 0.0f)
        m_resolution = 5000.0f / m_lineCount;
    if (schema == 7) {
        uint8_t skipped[8];
        ar.Read(skipped, sizeof skipped);
    }
    m_lpInfo.Serialize(ar);
}
