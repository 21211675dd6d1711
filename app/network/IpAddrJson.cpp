#include "app/network/IpAddrJson.h"

#include "app/network/Ipv4Text.h"
#include "platform/IpHelper.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

// Tunnels show an IPv4 address as their link address; only colon-separated hex bytes are hardware addresses.
QByteArray HardwareAddress(const QString &Text)
{
    static const QRegularExpression Pattern(QStringLiteral("^[0-9A-Fa-f]{2}(:[0-9A-Fa-f]{2})*$"));
    if (!Pattern.match(Text).hasMatch())
        return QByteArray();
    return QByteArray::fromHex(Text.toLatin1().replace(':', ""));
}

UINT InterfaceType(const QString &LinkType, bool Loopback)
{
    if (Loopback)
        return MIB_IF_TYPE_LOOPBACK;
    if (LinkType == QLatin1String("ether"))
        return MIB_IF_TYPE_ETHERNET;
    if (LinkType == QLatin1String("ieee802.11"))
        return IF_TYPE_IEEE80211;
    return MIB_IF_TYPE_OTHER;
}

bool ReadAddress(const QJsonObject &Info, TAdapterFacts &Adapter, QString *Why)
{
    // Family filters leave empty objects behind.
    if (Info.value(QLatin1String("family")).toString() != QLatin1String("inet"))
        return true;
    const QJsonValue Local = Info.value(QLatin1String("local"));
    const auto Value = ParseDottedQuad(Local.toString());
    if (!Value) {
        *Why = QStringLiteral("\"local\" is not an IPv4 address");
        return false;
    }
    const QJsonValue Prefix = Info.value(QLatin1String("prefixlen"));
    if (!Prefix.isDouble() || Prefix.toDouble() != Prefix.toInt(-1) || Prefix.toInt() < 0 || Prefix.toInt() > 32) {
        *Why = QStringLiteral("\"prefixlen\" is not a number from 0 to 32");
        return false;
    }
    Adapter.Addresses.append({DottedQuad(*Value), Prefix.toInt(), Info.value(QLatin1String("dynamic")).toBool()});
    return true;
}

bool ReadInterface(const QJsonValue &Entry, TAdapterFacts &Adapter, QString *Why)
{
    if (!Entry.isObject()) {
        *Why = QStringLiteral("not an object");
        return false;
    }
    const QJsonObject Link = Entry.toObject();
    const QJsonValue Index = Link.value(QLatin1String("ifindex"));
    if (!Index.isDouble() || Index.toDouble() != Index.toInt(-1) || Index.toInt() <= 0) {
        *Why = QStringLiteral("\"ifindex\" is not a positive number");
        return false;
    }
    Adapter.Index = Index.toInt();
    Adapter.Name = Link.value(QLatin1String("ifname")).toString();
    if (!IsInterfaceName(Adapter.Name)) {
        *Why = QStringLiteral("\"ifname\" is not an interface name");
        return false;
    }
    const QString LinkType = Link.value(QLatin1String("link_type")).toString();
    Adapter.Loopback = LinkType == QLatin1String("loopback")
                       || Link.value(QLatin1String("flags")).toArray().contains(QLatin1String("LOOPBACK"));
    Adapter.Type = InterfaceType(LinkType, Adapter.Loopback);
    Adapter.HardwareAddress = HardwareAddress(Link.value(QLatin1String("address")).toString());
    // Only `ip -details` prints the link info; without it every interface reads as a physical one.
    Adapter.Kind = Link.value(QLatin1String("linkinfo")).toObject().value(QLatin1String("info_kind")).toString();
    const QJsonValue Infos = Link.value(QLatin1String("addr_info"));
    if (!Infos.isUndefined() && !Infos.isArray()) {
        *Why = QStringLiteral("\"addr_info\" is not a list");
        return false;
    }
    const QJsonArray Addresses = Infos.toArray();
    for (int I = 0; I < Addresses.size(); ++I) {
        QString AddressWhy;
        if (!ReadAddress(Addresses[I].toObject(), Adapter, &AddressWhy)) {
            *Why = QStringLiteral("address %1: %2").arg(I + 1).arg(AddressWhy);
            return false;
        }
    }
    return true;
}

} // namespace

bool ReadIpAddrJson(const QByteArray &Text, QList<TAdapterFacts> &Adapters, QString *Error)
{
    Adapters.clear();
    if (Text.trimmed().isEmpty())
        return true;
    QJsonParseError Parse;
    const QJsonDocument Document = QJsonDocument::fromJson(Text, &Parse);
    if (Parse.error != QJsonParseError::NoError) {
        const int Line = int(Text.left(Parse.offset).count('\n')) + 1;
        *Error = QStringLiteral("line %1: %2").arg(Line).arg(Parse.errorString());
        return false;
    }
    if (!Document.isArray()) {
        *Error = QStringLiteral("not a list of interfaces");
        return false;
    }
    const QJsonArray Entries = Document.array();
    for (int I = 0; I < Entries.size(); ++I) {
        TAdapterFacts Adapter;
        QString Why;
        if (!ReadInterface(Entries[I], Adapter, &Why)) {
            *Error = QStringLiteral("entry %1: %2").arg(I + 1).arg(Why);
            Adapters.clear();
            return false;
        }
        Adapters.append(Adapter);
    }
    return true;
}
