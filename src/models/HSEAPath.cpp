#include "models/HSEAPath.h"

#include "platform/archive/Archive.h"

IMPLEMENT_SERIAL(CHSEAPath, CObject, 1)

CHSEAPath::CHSEAPath() = default;
CHSEAPath::~CHSEAPath() = default;

const double* CHSEAPath::GetValue(int i) const
{
    return i >= 0 && i < GetCount() ? &m_values[static_cast<size_t>(i)] : nullptr;
}

const std::string* CHSEAPath::GetName(int i) const
{
    return i >= 0 && i < GetCount() ? &m_names[static_cast<size_t>(i)] : nullptr;
}

int CHSEAPath::AddStep(const std::string& name, double value)
{
    m_names.push_back(name);
    m_values.push_back(value);
    return GetCount();
}

void CHSEAPath::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<int32_t>(m_names.size());
        for (size_t i = 0; i < m_names.size(); ++i)
            ar << m_names[i] << m_values[i];
        return;
    }
    // A step is at least an empty string's length byte and a double.
    const int32_t count = ar.ReadSignedCount(1 + sizeof(double), "steps of a dominant path");
    m_names.assign(static_cast<size_t>(count), std::string());
    m_values.assign(static_cast<size_t>(count), 0.0);
    for (int32_t i = 0; i < count; ++i)
        ar >> m_names[static_cast<size_t>(i)] >> m_values[static_cast<size_t>(i)];
}
