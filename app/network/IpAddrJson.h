#pragma once
// The interfaces and addresses as `ip -details -json address show` prints them.

#include "app/network/NetworkFacts.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Every interface in the order given, loopback included and marked. An empty text is a machine without
// interfaces. False with the place and the cause in Error ("line 3: ...", "entry 2: ...") otherwise.
bool ReadIpAddrJson(const QByteArray &Text, QList<TAdapterFacts> &Adapters, QString *Error);
