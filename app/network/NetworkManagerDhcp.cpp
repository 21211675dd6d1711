#include "app/network/NetworkManagerDhcp.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QVariantMap>

namespace {

const QString Service = QStringLiteral("org.freedesktop.NetworkManager");
// Long enough for a busy manager, short enough that the report never seems to hang.
constexpr int TimeoutMs = 700;

QDBusConnection Bus() { return QDBusConnection::systemBus(); }

QDBusMessage Property(const QString &Path, const QString &Interface, const QString &Name)
{
    QDBusMessage Call = QDBusMessage::createMethodCall(Service, Path, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                       QStringLiteral("Get"));
    Call << Interface << Name;
    return Bus().call(Call, QDBus::Block, TimeoutMs);
}

QVariant Unwrapped(const QDBusMessage &Reply)
{
    if (Reply.type() != QDBusMessage::ReplyMessage || Reply.arguments().isEmpty())
        return QVariant();
    return Reply.arguments().first().value<QDBusVariant>().variant();
}

bool TimedOut(const QDBusMessage &Reply)
{
    return Reply.type() == QDBusMessage::ErrorMessage
           && (Reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply")
               || Reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.Timeout"));
}

} // namespace

bool TNetworkManagerDhcp::Reachable()
{
    if (FState == TState::Unknown) {
        bool Up = false;
        if (Bus().isConnected()) {
            QDBusMessage Call = QDBusMessage::createMethodCall(
                QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
            Call << Service;
            const QDBusMessage Reply = Bus().call(Call, QDBus::Block, TimeoutMs);
            Up = Reply.type() == QDBusMessage::ReplyMessage && !Reply.arguments().isEmpty()
                 && Reply.arguments().first().toBool();
        }
        FState = Up ? TState::Reachable : TState::Unreachable;
    }
    return FState == TState::Reachable;
}

TDhcp4Options TNetworkManagerDhcp::Options(const QString &Interface)
{
    if (!Reachable())
        return {};
    QDBusMessage Call = QDBusMessage::createMethodCall(Service, QStringLiteral("/org/freedesktop/NetworkManager"),
                                                       Service, QStringLiteral("GetDeviceByIpIface"));
    Call << Interface;
    const QDBusMessage Device = Bus().call(Call, QDBus::Block, TimeoutMs);
    if (TimedOut(Device))
        FState = TState::Unreachable;
    if (Device.type() != QDBusMessage::ReplyMessage || Device.arguments().isEmpty())
        return {};
    const QString DevicePath = Device.arguments().first().value<QDBusObjectPath>().path();

    const QDBusMessage Config = Property(DevicePath, Service + QStringLiteral(".Device"), QStringLiteral("Dhcp4Config"));
    if (TimedOut(Config))
        FState = TState::Unreachable;
    const QString ConfigPath = Unwrapped(Config).value<QDBusObjectPath>().path();
    // "/" is the manager's way of saying the device has no DHCPv4 configuration.
    if (ConfigPath.isEmpty() || ConfigPath == QLatin1String("/"))
        return {};

    const QDBusMessage Reply = Property(ConfigPath, Service + QStringLiteral(".DHCP4Config"), QStringLiteral("Options"));
    if (TimedOut(Reply))
        FState = TState::Unreachable;
    const QVariant Value = Unwrapped(Reply);
    QVariantMap Map;
    if (Value.canConvert<QDBusArgument>())
        Value.value<QDBusArgument>() >> Map;
    else
        Map = Value.toMap();
    TDhcp4Options Options;
    for (auto It = Map.cbegin(); It != Map.cend(); ++It) {
        const QVariant V = It.value().canConvert<QDBusVariant>() ? It.value().value<QDBusVariant>().variant() : It.value();
        Options.insert(It.key(), V.toString());
    }
    return Options;
}
