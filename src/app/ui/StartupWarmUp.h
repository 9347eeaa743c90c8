#pragma once
// Work the first window waits for, begun on other threads while the main thread builds the window:
// the font configuration (its files are read before any text can be measured) and the session bus
// connection (the automation object and the window system's accessibility both ask for it). Each
// is work the start does anyway; whichever thread comes second finds it done or waits for it.
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

    // Begins connecting to the session bus; once the application object exists.
    void ConnectSessionBus();
    // Waits for both; before the application object goes.
    void Wait();

private:
    std::thread m_fonts;
    std::thread m_bus;
};
