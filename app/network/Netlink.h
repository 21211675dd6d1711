#pragma once
// The live interfaces and IPv4 addresses, asked of the kernel over a routing netlink socket.

#include "app/network/NetworkFacts.h"

#include <QList>
#include <QString>

// Every interface in the kernel's order, loopback included and marked. False with the cause in Error when
// the socket cannot be opened or the kernel's answer cannot be read.
bool ReadNetlinkAdapters(QList<TAdapterFacts> &Adapters, QString *Error);
