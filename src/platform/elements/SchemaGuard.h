#pragma once
// Keeps the archive's object schema of the object being read across the objects read inside it
// (internal to platform/elements). A derived class may then ask GetObjectSchema for its own schema
// after its element part has read children, band sets or entries, as well as before.
#include <cstdint>

#include "platform/archive/Archive.h"

class CSchemaGuard
{
public:
    explicit CSchemaGuard(CArchive& ar) : m_ar(ar), m_schema(ar.GetObjectSchema()) {}
    ~CSchemaGuard() { m_ar.SetObjectSchema(m_schema); }
    CSchemaGuard(const CSchemaGuard&) = delete;
    CSchemaGuard& operator=(const CSchemaGuard&) = delete;

private:
    CArchive& m_ar;
    uint32_t m_schema;
};
