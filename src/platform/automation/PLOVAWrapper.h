#pragma once
// The experimental-database application PLOVA ("PLOVA.Application"): its version, its database
// files, the common names of a database and the limit values it keeps per common name and axis
// value. Every call goes by member name.
#include "platform/automation/ZuCOMWrapper.h"

#include <QtDBus/QDBusConnection>

#include <cstdint>
#include <string>

inline constexpr const char* kPlovaProgId = "PLOVA.Application";

class CPLOVAWrapper : public CZuCOMWrapper
{
public:
    // connection: the bus to find PLOVA on (the session bus by default).
    explicit CPLOVAWrapper(const QDBusConnection& connection = QDBusConnection::sessionBus());

    // Starts or attaches to PLOVA once; true while the application is held.
    bool Create() override;
    void SetVisible(bool show) override;
    // PLOVA names this member "IsVisisble".
    bool IsVisible() override;
    // Opens a database; the object it returns becomes the project. True when there is one.
    bool OpenDatabaseFile(const std::string& path) override;
    std::string Version();
    int32_t GetProcessID();
    // Closes PLOVA's databases, asks it to quit, ends its process when it lingers, and releases
    // both objects. Nothing happens without an application.
    void Quit() override;

    int32_t CommonNameCount();
    std::string CommonName(int32_t index);
    int32_t SearchCommonNameIndex(const std::string& name);
    double GetMaxPvValue(int32_t entry, double axisValue, bool flag);
    double GetMinPvValue(int32_t entry, double axisValue, bool flag);

private:
    QDBusConnection m_connection;
};
