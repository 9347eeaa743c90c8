#include "platform/automation/BusValue.h"

#include <QtDBus/QDBusArgument>
#include <QtDBus/QDBusMetaType>
#include <QtDBus/QDBusObjectPath>
#include <QtDBus/QDBusVariant>

#include <limits>

void RegisterBusValueTypes()
{
    static const bool done = [] {
        qDBusRegisterMetaType<QList<double>>();
        qDBusRegisterMetaType<QList<QDBusVariant>>();
        return true;
    }();
    (void)done;
}

CAutoValue FromBusValue(const QVariant& value, bool* ok)
{
    if (ok)
        *ok = true;
    const int type = value.metaType().id();
    switch (type) {
    case QMetaType::Short:
        return CAutoValue::Short(value.value<short>());
    case QMetaType::Int:
        return CAutoValue::Long(value.toInt());
    case QMetaType::UChar:
    case QMetaType::UShort:
        return CAutoValue::Long(static_cast<int32_t>(value.toUInt()));
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        bool fits = false;
        const qlonglong v = value.toLongLong(&fits);
        if (fits && v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max())
            return CAutoValue::Long(static_cast<int32_t>(v));
        return CAutoValue::Real(value.toDouble());
    }
    case QMetaType::Double:
        return CAutoValue::Real(value.toDouble());
    case QMetaType::Bool:
        return CAutoValue::Bool(value.toBool());
    case QMetaType::QString:
        return CAutoValue::String(value.toString().toStdString());
    default:
        break;
    }
    if (type == qMetaTypeId<QDBusObjectPath>())
        return CAutoValue::Object(value.value<QDBusObjectPath>().path().toStdString());
    if (type == qMetaTypeId<QDBusVariant>())
        return FromBusValue(value.value<QDBusVariant>().variant(), ok);
    if (type == qMetaTypeId<QList<double>>()) {
        const QList<double> list = value.value<QList<double>>();
        return CAutoValue::RealArray(std::vector<double>(list.begin(), list.end()));
    }
    if (type == qMetaTypeId<QDBusArgument>()) {
        const QDBusArgument arg = value.value<QDBusArgument>();
        if (arg.currentSignature() == QLatin1String("ad")) {
            QList<double> list;
            arg >> list;
            return CAutoValue::RealArray(std::vector<double>(list.begin(), list.end()));
        }
    }
    if (ok)
        *ok = false;
    return {};
}

QVariant ToBusValue(const CAutoValue& value, bool wrapInVariant)
{
    QVariant v;
    switch (value.GetType()) {
    case AutoType::Short:
        v = QVariant::fromValue(static_cast<short>(value.RawLong()));
        break;
    case AutoType::Long:
    case AutoType::Error:
        v = QVariant::fromValue(static_cast<int>(value.RawLong()));
        break;
    case AutoType::Real:
    case AutoType::Date:
        v = QVariant::fromValue(value.RawReal());
        break;
    case AutoType::Bool:
        v = QVariant::fromValue(value.RawLong() != 0);
        break;
    case AutoType::String:
        v = QVariant::fromValue(QString::fromStdString(value.RawText()));
        break;
    case AutoType::Object:
        v = QVariant::fromValue(
            QDBusObjectPath(QString::fromStdString(value.IsNothing() ? std::string(kNoObjectPath) : value.RawText())));
        break;
    case AutoType::RealArray: {
        const auto& a = value.RawArray();
        v = QVariant::fromValue(QList<double>(a.begin(), a.end()));
        break;
    }
    case AutoType::Empty:
    case AutoType::Variant:
        // An empty value still has to travel as something: an empty text.
        v = QVariant::fromValue(QString());
        break;
    }
    return wrapInVariant ? QVariant::fromValue(QDBusVariant(v)) : v;
}

QVariant ToBusVariantList(const std::vector<CAutoValue>& values)
{
    QList<QDBusVariant> list;
    for (const CAutoValue& value : values)
        list.append(QDBusVariant(ToBusValue(value)));
    return QVariant::fromValue(list);
}

bool FromBusVariantList(const QVariant& value, std::vector<CAutoValue>& out)
{
    out.clear();
    QList<QDBusVariant> list;
    if (value.metaType().id() == qMetaTypeId<QDBusArgument>()) {
        const QDBusArgument arg = value.value<QDBusArgument>();
        if (arg.currentSignature() != QLatin1String("av"))
            return false;
        arg >> list;
    } else if (value.metaType().id() == qMetaTypeId<QList<QDBusVariant>>())
        list = value.value<QList<QDBusVariant>>();
    else
        return false;
    for (const QDBusVariant& item : list) {
        bool ok = false;
        out.push_back(FromBusValue(item.variant(), &ok));
        if (!ok)
            return false;
    }
    return true;
}
