#pragma once
// Work the first window waits for, begun on other threads while the main thread builds the window:
// the font configuration (its files are read before any text can be measured), then the font
// database, the first font the window measures with and the tool bar's images, and the session
// bus connection (the automation object and the window system's accessibility both ask for it).
// Each is work the start does anyway; whichever thread comes second finds it done or waits for it.
#include <condition_variable>
#include <mutex>
#include <thread>

class CStartupWarmUp
{
public:
    // Begins loading the font configuration; made before the application object, which it does
    // not need.
    CStartupWarmUp();
    ~CStartupWarmUp();
    CStartupWarmUp(const CStartupWarmUp&) = delete;
    CStartupWarmUp& operator=(const CStartupWarmUp&) = delete;

    // Once the application object exists: begins connecting to the session bus and, when the
    // program has windows, lets the font thread go on to the font database.
    void ApplicationMade();
    // Waits for both; before the application object goes.
    void Wait();

private:
    enum class EApplication
    {
        Pending,
        Windowed,
        Gone // no windows, or the start ended before the application object was made
    };
    void ReadAhead();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    EApplication m_application = EApplication::Pending;
    std::thread m_fonts;
    std::thread m_bus;
};
