#pragma once
// Named typed values (file properties, options, display items): an id and a string, a 32-bit
// integer or a 64-bit integer. Each value is stored as an object of its class, so a list of mixed
// values reads back with the same kinds.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/archive/Object.h"

class CZuStdData : public CObject
{
    DECLARE_SERIAL(CZuStdData)
public:
    CZuStdData() = default;
    explicit CZuStdData(int id) : m_id(id) {}

    int GetID() const { return m_id; }
    void SetID(int id) { m_id = id; }
    // The value as text (lists and dialogs show it).
    virtual std::string GetText() const { return {}; }
    virtual std::unique_ptr<CZuStdData> Clone() const { return std::make_unique<CZuStdData>(m_id); }

    // Version byte and id; derived classes append their value.
    void Serialize(CArchive& ar) override;

private:
    int32_t m_id = 0;
};

class CZuStdStringData : public CZuStdData
{
    DECLARE_SERIAL(CZuStdStringData)
public:
    CZuStdStringData() = default;
    CZuStdStringData(int id, std::string value) : CZuStdData(id), m_value(std::move(value)) {}

    const std::string& GetValue() const { return m_value; }
    void SetValue(const std::string& value) { m_value = value; }
    std::string GetText() const override { return m_value; }
    std::unique_ptr<CZuStdData> Clone() const override;
    void Serialize(CArchive& ar) override;

private:
    std::string m_value;
};

class CZuStdIntData : public CZuStdData
{
    DECLARE_SERIAL(CZuStdIntData)
public:
    CZuStdIntData() = default;
    CZuStdIntData(int id, int32_t value) : CZuStdData(id), m_value(value) {}

    int32_t GetValue() const { return m_value; }
    void SetValue(int32_t value) { m_value = value; }
    std::string GetText() const override;
    std::unique_ptr<CZuStdData> Clone() const override;
    void Serialize(CArchive& ar) override;

private:
    int32_t m_value = 0;
};

// A long value; kept in 64 bits so that times in seconds since 1970 do not run out in 2038.
class CZuStdLongData : public CZuStdData
{
    DECLARE_SERIAL(CZuStdLongData)
public:
    CZuStdLongData() = default;
    CZuStdLongData(int id, int64_t value) : CZuStdData(id), m_value(value) {}

    int64_t GetValue() const { return m_value; }
    void SetValue(int64_t value) { m_value = value; }
    std::string GetText() const override;
    std::unique_ptr<CZuStdData> Clone() const override;
    void Serialize(CArchive& ar) override;

private:
    int64_t m_value = 0;
};
