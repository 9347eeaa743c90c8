#pragma once
// An object of the program exposed to automation clients: a live object of the program (its key)
// seen through a dispatch table. No copies are made: members read and change the live object. When
// the object (or one of the objects it depends on, its guards) is destroyed, the exposed object is
// marked gone and every later call fails with an automation error instead of touching freed memory.
#include "platform/automation/AutoValue.h"
#include "platform/automation/DispatchTable.h"

#include <string>
#include <utility>
#include <vector>

// The error of a call on an object whose program object is gone.
inline constexpr int kAutoErrObjectGone = 424;

class CAutoObject
{
public:
    // guards: further objects whose destruction ends this one (the key always does).
    explicit CAutoObject(const void* key, std::vector<const void*> guards = {});
    virtual ~CAutoObject();
    CAutoObject(const CAutoObject&) = delete;
    CAutoObject& operator=(const CAutoObject&) = delete;

    virtual const CDispatchTable& GetDispatchTable() const = 0;

    // A signal the object sends to its clients: its name and arguments (name, bus type signature).
    struct Signal
    {
        std::string name;
        std::vector<std::pair<std::string, std::string>> args;
    };
    // The signals clients may listen for (introspection lists them); none by default.
    virtual std::vector<Signal> GetSignals() const { return {}; }

    const void* GetKey() const { return m_key; }
    const std::vector<const void*>& GetGuards() const { return m_guards; }
    bool IsAlive() const { return m_alive; }
    void Kill() { m_alive = false; }
    const std::string& GetPath() const { return m_path; }
    void SetPath(std::string path) { m_path = std::move(path); }

    // Calls a member: checks that the object lives, that the flags fit the member's kind and that
    // the arguments fit its parameters (count, then types: a mismatch is the wrong-type error with
    // the argument's position), then runs it. A property put passes the value as its last
    // argument. Failures are raised as CDispatchException (errors of the object model) or
    // COleException (unknown id, wrong count, put on a read-only property).
    CAutoValue Invoke(int32_t dispid, int flags, const std::vector<CAutoValue>& args);

private:
    const void* m_key;
    std::vector<const void*> m_guards;
    bool m_alive = true;
    std::string m_path;
};
