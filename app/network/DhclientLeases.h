#pragma once
// The DHCP client's lease database: `lease { ... }` blocks of statements ending in ";".

#include "app/network/NetworkFacts.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct TDhclientLease
{
    QString Interface;
    TDhcpLease Lease;
};

// Every `lease` block that names its interface, in file order; other blocks (`lease6`, ...) and top-level
// statements are passed over. Expiry dates are "expire W YYYY/MM/DD HH:MM:SS" in UTC, "expire epoch N" or
// "expire never". False with "line N: why" in Error for an unclosed block or text, a statement without its
// ";", or an expiry, lease time or server that cannot be read.
bool ReadDhclientLeases(const QByteArray &Text, QList<TDhclientLease> &Leases, QString *Error);

// The lease of Interface that expires last, or a lease not found.
TDhcpLease NewestLease(const QList<TDhclientLease> &Leases, const QString &Interface);
