#include "GdbusCall.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

namespace {
GdbusResult RunGdbus(const QStringList& all, int timeoutMs)
{
    QProcess gdbus;
    QEventLoop loop;
    QObject::connect(&gdbus, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&gdbus, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    gdbus.start(QStringLiteral("gdbus"), all);
    loop.exec();
    GdbusResult r;
    if (gdbus.state() != QProcess::NotRunning) {
        gdbus.kill();
        gdbus.waitForFinished(2000);
        r.err = QStringLiteral("gdbus did not finish in time");
        return r;
    }
    r.exitCode = gdbus.exitStatus() == QProcess::NormalExit ? gdbus.exitCode() : -1;
    r.out = QString::fromUtf8(gdbus.readAllStandardOutput()).trimmed();
    r.err += QString::fromUtf8(gdbus.readAllStandardError()).trimmed();
    return r;
}
} // namespace

GdbusResult GdbusCall(const QString& dest, const QString& path, const QString& method, const QStringList& args,
                      int timeoutMs)
{
    QStringList all{QStringLiteral("call"),          QStringLiteral("--session"),
                    QStringLiteral("--dest"),        dest,
                    QStringLiteral("--object-path"), path,
                    QStringLiteral("--method"),      method};
    // Arguments may begin with a minus sign: they are not options.
    all += QStringLiteral("--");
    all += args;
    return RunGdbus(all, timeoutMs);
}

GdbusResult GdbusIntrospect(const QString& dest, const QString& path, int timeoutMs)
{
    return RunGdbus({QStringLiteral("introspect"), QStringLiteral("--session"), QStringLiteral("--dest"), dest,
                     QStringLiteral("--object-path"), path},
                    timeoutMs);
}
