#pragma once
// The resolver's configuration file: name servers in order and the local domain.

#include <QByteArray>
#include <QString>
#include <QStringList>

struct TResolvConf
{
    // IPv4 servers only: the report lists dotted texts; IPv6 servers are passed over.
    QStringList NameServers;
    // The last `domain` line or the first name of the last `search` line, whichever comes later.
    QString Domain;
};

// False with "line N: why" in Error when a nameserver line has no usable address.
bool ReadResolvConf(const QByteArray &Text, TResolvConf &Conf, QString *Error);
