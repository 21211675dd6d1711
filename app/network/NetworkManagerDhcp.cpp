#include "app/network/NetworkManagerDhcp.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QVariantMap>

namespace {

const QString Service = QStringLiteral("org.freedesktop.NetworkManager");
// Long enough for a busy manager, short enough that the report never seems to hang.
constexpr int TimeoutMs = 700;

bool TimedOut(const QDBusMessage &Reply)
{
    return Reply.type() == QDBusMessage::ErrorMessage
           && (Reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply")
               || Reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.Timeout"));
}

QVariant FirstArgument(const QDBusMessage &Reply)
{
    if (Reply.type() != QDBusMessage::ReplyMessage || Reply.arguments().isEmpty())
        return QVariant();
    return Reply.arguments().first();
}

QVariant Unwrapped(const QVariant &Value)
{
    return Value.canConvert<QDBusVariant>() ? Value.value<QDBusVariant>().variant() : Value;
}

} // namespace

TNetworkManagerDhcp::TNetworkManagerDhcp(const QDBusConnection &Bus) : FBus(Bus) {}

QDBusMessage TNetworkManagerDhcp::Call(const QString &Path, const QString &Interface, const QString &Method,
                                       const QVariantList &Arguments)
{
    QDBusMessage Message = QDBusMessage::createMethodCall(Service, Path, Interface, Method);
    Message.setArguments(Arguments);
    const QDBusMessage Reply = FBus.call(Message, QDBus::Block, TimeoutMs);
    if (TimedOut(Reply))
        FState = TState::Unreachable;
    return Reply;
}

QVariant TNetworkManagerDhcp::Property(const QString &Path, const QString &Interface, const QString &Name)
{
    return Unwrapped(FirstArgument(
        Call(Path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"), {Interface, Name})));
}

bool TNetworkManagerDhcp::Reachable()
{
    if (FState == TState::Unknown) {
        bool Up = false;
        if (FBus.isConnected()) {
            QDBusMessage Ask = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                              QStringLiteral("/org/freedesktop/DBus"),
                                                              QStringLiteral("org.freedesktop.DBus"),
                                                              QStringLiteral("NameHasOwner"));
            Ask << Service;
            Up = FirstArgument(FBus.call(Ask, QDBus::Block, TimeoutMs)).toBool();
        }
        FState = Up ? TState::Reachable : TState::Unreachable;
    }
    return FState == TState::Reachable;
}

TDhcp4Options TNetworkManagerDhcp::Options(const QString &Interface)
{
    if (!Reachable())
        return {};
    const QString Device = FirstArgument(Call(QStringLiteral("/org/freedesktop/NetworkManager"), Service,
                                              QStringLiteral("GetDeviceByIpIface"), {Interface}))
                               .value<QDBusObjectPath>()
                               .path();
    if (Device.isEmpty())
        return {};
    const QString Config =
        Property(Device, Service + QStringLiteral(".Device"), QStringLiteral("Dhcp4Config")).value<QDBusObjectPath>().path();
    // "/" is the manager's way of saying the device has no DHCPv4 configuration.
    if (Config.isEmpty() || Config == QLatin1String("/"))
        return {};
    const QVariant Value = Property(Config, Service + QStringLiteral(".DHCP4Config"), QStringLiteral("Options"));
    QVariantMap Map;
    if (Value.canConvert<QDBusArgument>())
        Value.value<QDBusArgument>() >> Map;
    else
        Map = Value.toMap();
    TDhcp4Options Options;
    for (auto It = Map.cbegin(); It != Map.cend(); ++It)
        Options.insert(It.key(), Unwrapped(It.value()).toString());
    return Options;
}
