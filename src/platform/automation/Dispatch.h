#pragma once
// Calls into another application's automation object by member name. The object is a bus name and
// an object path; names are resolved to dispatch ids by the object (GetIDsOfNames) and calls go
// through its Invoke. A name the object does not know is no error: the call does nothing and the
// value-returning forms give their zero value. Errors the object raises come back as
// CDispatchException (code, description, argument); any other failure (the object is gone, no
// answer in time, a result that does not convert) as COleException. Every call is bounded in time.
#include "platform/automation/AutoValue.h"
#include "platform/automation/DispParams.h"

#include <QtDBus/QDBusConnection>

#include <cstdint>
#include <string>

class CFeedback;

class CDispatch
{
public:
    CDispatch();
    CDispatch(const QDBusConnection& connection, std::string service, std::string path, bool autoRelease = true);
    CDispatch(const CDispatch& other);
    CDispatch& operator=(const CDispatch& other);
    virtual ~CDispatch();

    // Attaches to the application object ("/Application") of the bus name; when nobody holds the
    // name, asks the bus to start the application that provides it. False when it cannot be had.
    bool CreateDispatch(const std::string& progId, const QDBusConnection& connection = QDBusConnection::sessionBus());
    void ReleaseDispatch();
    bool IsNull() const { return m_path.empty(); }
    const std::string& GetService() const { return m_service; }
    const std::string& GetPath() const { return m_path; }
    bool GetAutoRelease() const { return m_autoRelease; }

    // Time allowed for one call (default 10 s; starting an application 20 s). A call that gets no
    // answer in that time fails with COleException, whatever the other application does.
    void SetTimeout(int milliseconds) { m_timeout = milliseconds; }
    int GetTimeout() const { return m_timeout; }
    // While a call waits, its cancel is asked of this feedback (not owned; null: none): a cancelled
    // call fails at once with COleException. Objects got from this one share it.
    void SetFeedback(CFeedback* feedback) { m_feedback = feedback; }

    // The member's dispatch id; -1 when there is no object or the object does not know the name.
    int32_t GetIDOfName(const std::string& name) const;
    // Calls the member: nothing happens without an object or with dispatch id -1. The result is
    // converted to resultType (Variant keeps it as it came); Empty asks for no result.
    void InvokeHelper(int32_t dispid, int flags, CDispParams* params, AutoType resultType, CAutoValue* result) const;

    // ---- by dispatch id ----
    CAutoValue GetProperty(int32_t dispid, AutoType type, CDispParams* params = nullptr) const;
    void SetProperty(int32_t dispid, const CAutoValue& value, CDispParams* params = nullptr) const;
    CAutoValue CallMethod(int32_t dispid, AutoType type, CDispParams* params = nullptr) const;

    // ---- by name ----
    int32_t GetPropertyLong(const std::string& name, CDispParams* params = nullptr) const;
    double GetDate(const std::string& name, CDispParams* params = nullptr) const;
    std::string GetPropertyString(const std::string& name, CDispParams* params = nullptr) const;
    CDispatch GetPropertyDispatch(const std::string& name, CDispParams* params = nullptr) const;
    bool GetBool(const std::string& name, CDispParams* params = nullptr) const;
    void PutProperty(const std::string& name, const CAutoValue& value, CDispParams* params = nullptr) const;
    void Call(const std::string& name, CDispParams* params = nullptr) const;
    int32_t CallLong(const std::string& name, CDispParams* params = nullptr) const;
    double CallDouble(const std::string& name, CDispParams* params = nullptr) const;
    CDispatch InvokeDispatch(const std::string& name, CDispParams* params = nullptr) const;
    CAutoValue InvokeVariant(const std::string& name, CDispParams* params = nullptr) const;

    // The object that a returned object value names (empty for nothing).
    CDispatch ObjectOf(const CAutoValue& value) const;

private:
    CAutoValue ByName(const std::string& name, int flags, AutoType type, CDispParams* params) const;

    QDBusConnection m_connection;
    std::string m_service;
    std::string m_path;
    bool m_autoRelease = false;
    int m_timeout = 10000;
    CFeedback* m_feedback = nullptr;
};
