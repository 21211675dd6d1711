#include "app/network/NmcliDhcp4.h"

#include "app/network/Ipv4Text.h"

#include <QList>

namespace {

const QLatin1String ServerOption("dhcp_server_identifier");
const QLatin1String ExpiryOption("expiry");
const QLatin1String LeaseTimeOption("dhcp_lease_time");

// The terse form escapes the separator and the escape itself inside values.
QString Unescaped(const QString &Text)
{
    QString Result;
    for (int I = 0; I < Text.size(); ++I) {
        if (Text[I] == u'\\' && I + 1 < Text.size())
            ++I;
        Result.append(Text[I]);
    }
    return Result;
}

// The first colon that the terse form did not escape.
int FieldEnd(const QString &Line)
{
    for (int I = 0; I < Line.size(); ++I) {
        if (Line[I] == u'\\')
            ++I;
        else if (Line[I] == u':')
            return I;
    }
    return -1;
}

} // namespace

bool ReadNmcliDhcp4(const QByteArray &Text, TDhcp4Options &Options, QString *Error)
{
    Options.clear();
    const QList<QByteArray> Lines = Text.split('\n');
    for (int I = 0; I < Lines.size(); ++I) {
        const QString Line = QString::fromUtf8(Lines[I]).trimmed();
        if (Line.isEmpty())
            continue;
        const int Colon = FieldEnd(Line);
        if (Colon <= 0) {
            *Error = QStringLiteral("line %1: not a \"FIELD:value\" line").arg(I + 1);
            Options.clear();
            return false;
        }
        if (!Line.startsWith(QLatin1String("DHCP4.OPTION[")))
            continue;
        const QString Option = Unescaped(Line.mid(Colon + 1).trimmed());
        const int Equals = Option.indexOf(QLatin1String(" = "));
        if (Equals <= 0) {
            *Error = QStringLiteral("line %1: option without \"name = value\"").arg(I + 1);
            Options.clear();
            return false;
        }
        Options.insert(Option.left(Equals).trimmed(), Option.mid(Equals + 3).trimmed());
    }
    return true;
}

bool LeaseFromDhcp4Options(const TDhcp4Options &Options, TDhcpLease &Lease, QString *Error)
{
    Lease = TDhcpLease();
    Lease.Found = Options.contains(ServerOption) || Options.contains(ExpiryOption) || Options.contains(LeaseTimeOption);
    if (!Lease.Found)
        return true;
    if (Options.contains(ServerOption)) {
        const auto Server = ParseDottedQuad(Options.value(ServerOption));
        if (!Server) {
            *Error = QStringLiteral("%1 is not an IPv4 address").arg(ServerOption);
            return false;
        }
        Lease.Server = DottedQuad(*Server);
    }
    for (const auto &[Name, Field] : {std::pair{ExpiryOption, &TDhcpLease::Expires},
                                      std::pair{LeaseTimeOption, &TDhcpLease::LeaseTime}}) {
        if (!Options.contains(Name))
            continue;
        bool Ok = false;
        Lease.*Field = Options.value(Name).toLongLong(&Ok);
        if (!Ok || Lease.*Field < 0) {
            *Error = QStringLiteral("%1 is not a number of seconds").arg(Name);
            return false;
        }
    }
    return true;
}
