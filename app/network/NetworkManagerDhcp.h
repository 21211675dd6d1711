#pragma once
// The DHCPv4 options the network manager holds for a device, asked over the system bus. A machine without
// the bus or the manager, or a manager that does not answer in time, simply has no options to give.

#include "app/network/NmcliDhcp4.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariant>
#include <QString>

class TNetworkManagerDhcp
{
public:
    explicit TNetworkManagerDhcp(const QDBusConnection &Bus = QDBusConnection::systemBus());

    // Empty when the device has no DHCPv4 lease or the manager cannot be asked; after the first call that
    // times out, the manager is not asked again by this object.
    TDhcp4Options Options(const QString &Interface);

private:
    bool Reachable();

    QDBusMessage Call(const QString &Path, const QString &Interface, const QString &Method, const QVariantList &Arguments);
    QVariant Property(const QString &Path, const QString &Interface, const QString &Name);

    enum class TState { Unknown, Reachable, Unreachable };
    QDBusConnection FBus;
    TState FState = TState::Unknown;
};
