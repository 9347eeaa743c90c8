#pragma once
// A connection to another application of the product family over automation: its application
// object and the project (the open file) it hands out. Both are released with the wrapper, the
// project first.
#include "platform/automation/Dispatch.h"

#include <string>

// Errors of a wrapper used without its objects, raised as CDispatchException.
inline constexpr int kZuComNoApplication = 1;
inline constexpr int kZuComNoProject = 2;

class CZuCOMWrapper
{
public:
    CZuCOMWrapper() = default;
    virtual ~CZuCOMWrapper();
    CZuCOMWrapper(const CZuCOMWrapper&) = delete;
    CZuCOMWrapper& operator=(const CZuCOMWrapper&) = delete;

    virtual bool Create() = 0;
    virtual void SetVisible(bool show) = 0;
    virtual bool IsVisible() = 0;
    virtual bool OpenDatabaseFile(const std::string& path);
    virtual void Reserved1() {}
    virtual void Reserved2() {}
    virtual std::string GetName() { return {}; }
    // Releases the application (and the project with it).
    virtual void Quit();
    virtual void ReleaseProject();
    virtual void ReleaseAll();

    // Time allowed for each call into the application and its project (default 10 s).
    void SetCallTimeout(int milliseconds)
    {
        m_application.SetTimeout(milliseconds);
        m_project.SetTimeout(milliseconds);
    }
    bool HasApplication() const { return !m_application.IsNull(); }
    bool HasProject() const { return !m_project.IsNull(); }

protected:
    // The held objects; raise the wrapper errors when they are missing.
    const CDispatch& Application() const;
    const CDispatch& Project() const;

    CDispatch m_application;
    CDispatch m_project;
};
