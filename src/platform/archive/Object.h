#pragma once
// The object base of every persistent class: run-time class information, creation by class name
// (the archive re-creates objects from the class names stored in the file) and IsKindOf checks.
//
//   class CFoo : public CObject { DECLARE_SERIAL(CFoo) ... };          // in the header
//   IMPLEMENT_SERIAL(CFoo, CObject, 3 | VERSIONABLE_SCHEMA)            // in the .cpp
//
// A class that is only ever read from files must be linked into the program: every library's
// classes are registered when its object file is linked, so executables link our libraries whole.
#include <cstdint>
#include <string_view>

class CArchive;
class CObject;

// Marks a schema as versionable: a reader accepts any stored schema and asks for it with
// CArchive::GetObjectSchema; without the flag a different stored schema is a bad-schema error.
constexpr uint32_t VERSIONABLE_SCHEMA = 0x80000000u;

struct CRuntimeClass
{
    const char* m_lpszClassName;
    uint32_t m_wSchema; // schema number, possibly with VERSIONABLE_SCHEMA
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
    bool IsSerializable() const { return m_pfnCreateObject != nullptr; }
    bool IsDerivedFrom(const CRuntimeClass* base) const;
    uint16_t SchemaNumber() const { return static_cast<uint16_t>(m_wSchema & 0xFFFFu); }
    bool IsVersionable() const { return (m_wSchema & VERSIONABLE_SCHEMA) != 0; }

    // The registry of creatable classes, by the name stored in files.
    static const CRuntimeClass* FromName(std::string_view name);
    static void Register(const CRuntimeClass* cls);
};

class CObject
{
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual void Serialize(CArchive& ar);
    bool IsKindOf(const CRuntimeClass* cls) const;
    bool IsSerializable() const { return GetRuntimeClass()->IsSerializable(); }

    static const CRuntimeClass classCObject;
    static const CRuntimeClass* ThisClass() { return &classCObject; }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                                    \
public:                                                                                                                \
    static const CRuntimeClass class##class_name;                                                                      \
    static const CRuntimeClass* ThisClass()                                                                            \
    {                                                                                                                  \
        return &class##class_name;                                                                                     \
    }                                                                                                                  \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                                                  \
    DECLARE_DYNAMIC(class_name)                                                                                        \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define IMPLEMENT_RUNTIMECLASS_(class_name, base_name, schema, pfn)                                                    \
    const CRuntimeClass class_name::class##class_name = {#class_name, (schema), (pfn), RUNTIME_CLASS(base_name)};      \
    const CRuntimeClass* class_name::GetRuntimeClass() const                                                           \
    {                                                                                                                  \
        return RUNTIME_CLASS(class_name);                                                                              \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_name) IMPLEMENT_RUNTIMECLASS_(class_name, base_name, 0xFFFFu, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_name)                                                                     \
    CObject* class_name::CreateObject()                                                                                \
    {                                                                                                                  \
        return new class_name;                                                                                         \
    }                                                                                                                  \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_name, 0xFFFFu, class_name::CreateObject)                                  \
    [[maybe_unused]] static const bool orvex_registered_##class_name =                                                 \
        (CRuntimeClass::Register(RUNTIME_CLASS(class_name)), true);

#define IMPLEMENT_SERIAL(class_name, base_name, schema)                                                                \
    CObject* class_name::CreateObject()                                                                                \
    {                                                                                                                  \
        return new class_name;                                                                                         \
    }                                                                                                                  \
    IMPLEMENT_RUNTIMECLASS_(class_name, base_name, (schema), class_name::CreateObject)                                 \
    [[maybe_unused]] static const bool orvex_registered_##class_name =                                                 \
        (CRuntimeClass::Register(RUNTIME_CLASS(class_name)), true);

// Checked downcast: null when obj is null or not of class T.
template <class T>
T* DynamicDowncast(CObject* obj)
{
    return obj && obj->IsKindOf(T::ThisClass()) ? static_cast<T*>(obj) : nullptr;
}
template <class T>
const T* DynamicDowncast(const CObject* obj)
{
    return obj && obj->IsKindOf(T::ThisClass()) ? static_cast<const T*>(obj) : nullptr;
}
