#pragma once
// A device's DHCPv4 lease as the network manager keeps it: a map of option names to texts, read from
// `nmcli -t -f DHCP4 device show IFNAME` or from the manager's Dhcp4Config object.

#include "app/network/NetworkFacts.h"

#include <QByteArray>
#include <QMap>
#include <QString>

using TDhcp4Options = QMap<QString, QString>;

// Lines "DHCP4.OPTION[n]:name = value" (the padding of the untersely form is allowed too); other fields are
// passed over. False with "line N: why" in Error for a line that is not a field or an option without " = ".
bool ReadNmcliDhcp4(const QByteArray &Text, TDhcp4Options &Options, QString *Error);

// The lease the options describe: found when the server, the expiry or the lease time is named. False with
// the option's name in Error when one of those three is not what it must be.
bool LeaseFromDhcp4Options(const TDhcp4Options &Options, TDhcpLease &Lease, QString *Error);
