#pragma once
// What the Linux source learns about the machine before it lays the facts out as IP helper records.

#include "platform/WinDef.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct TIpv4Address
{
    QString Address;
    int PrefixLength = 0;
    // Given by a DHCP client rather than configured by hand.
    bool Dynamic = false;
};

struct TDhcpLease
{
    bool Found = false;
    QString Server;
    // Seconds since 1970 in UTC, wider than the records so that a far date is clamped, not wrapped.
    qint64 Expires = 0;
    qint64 LeaseTime = 0;
};

struct TAdapterFacts
{
    QString Name;
    int Index = 0;
    QByteArray HardwareAddress;
    UINT Type = 0;
    bool Loopback = false;
    // The kernel's name for the driver of a virtual link ("veth", "bridge" ...); empty for a physical device.
    QString Kind;
    QList<TIpv4Address> Addresses;
    QStringList Gateways;
    TDhcpLease Lease;
    QString Vendor;
    QString Model;
};

struct THostFacts
{
    QString HostName;
    QString DomainName;
    QStringList DnsServers;
    UINT NodeType = 0;
    QString ScopeId;
    bool Routing = false;
};

// Whether the report lists the interface: every one but the loopback, except pseudo-devices (tunnel ends,
// container and traffic-shaping plumbing, CAN buses) that hold no IPv4 address.
bool IsAdapter(const TAdapterFacts &Adapter);

// A name the kernel could have given: 1 to 15 bytes, no slash, no blank, not "." or "..". Interface names
// become parts of file paths, so a name from a file is checked before it is used.
bool IsInterfaceName(const QString &Name);
