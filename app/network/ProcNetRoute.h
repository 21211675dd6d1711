#pragma once
// The kernel's IPv4 routing table as /proc/net/route shows it.

#include <QByteArray>
#include <QList>
#include <QString>

struct TDefaultGateway
{
    QString Interface;
    QString Gateway;
};

// The gateways of the default routes in table order, each interface's gateway once. Routes without a
// gateway (a default route straight onto a link) name none. False with "line N: why" in Error for a table
// that is not one: no "Iface" heading, too few columns, a field that is not hexadecimal.
bool ReadProcNetRoute(const QByteArray &Text, QList<TDefaultGateway> &Gateways, QString *Error);
