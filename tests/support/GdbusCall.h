#pragma once
// Running an independent bus client (gdbus) while this process serves: the wait pumps events.
#include <QString>
#include <QStringList>

struct GdbusResult
{
    int exitCode = -1;
    QString out;
    QString err;
};

// gdbus call --session --dest <dest> --object-path <path> --method <method> <args...>; bounded.
GdbusResult GdbusCall(const QString& dest, const QString& path, const QString& method, const QStringList& args = {},
                      int timeoutMs = 10000);
// gdbus introspect --session --dest <dest> --object-path <path>; bounded.
GdbusResult GdbusIntrospect(const QString& dest, const QString& path, int timeoutMs = 10000);
