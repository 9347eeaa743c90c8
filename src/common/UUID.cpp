#include "common/UUID.h"

#include <QUuid>

#include <cctype>
#include <cstring>

CUUID::CUUID() = default;

void CUUID::Create()
{
    QByteArray raw = QUuid::createUuid().toRfc4122();
    std::memcpy(m_bytes.data(), raw.constData(), m_bytes.size());
}

void CUUID::SetNil()
{
    m_bytes.fill(0);
}

bool CUUID::IsNil() const
{
    for (uint8_t b : m_bytes)
        if (b)
            return false;
    return true;
}

bool CUUID::FromString(const std::string& text)
{
    SetNil();
    // Exactly 8-4-4-4-12 hexadecimal digits; QUuid alone would also take braces.
    if (text.size() != 36)
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        char c = text[i];
        if (dash ? c != '-' : !std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    }
    QUuid uuid = QUuid::fromString(QLatin1String(text.data(), qsizetype(text.size())));
    QByteArray raw = uuid.toRfc4122();
    std::memcpy(m_bytes.data(), raw.constData(), m_bytes.size());
    return true;
}

std::string CUUID::ToString() const
{
    QUuid uuid =
        QUuid::fromRfc4122(QByteArrayView(reinterpret_cast<const char*>(m_bytes.data()), qsizetype(m_bytes.size())));
    return uuid.toString(QUuid::WithoutBraces).toStdString();
}

uint32_t CUUID::Word(int index) const
{
    if (index < 0 || index > 3)
        return 0;
    const uint8_t* p = m_bytes.data() + index * 4;
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}
