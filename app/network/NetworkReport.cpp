#include "app/network/NetworkReport.h"

#include <cstring>
#include <memory>

namespace {

const QString HostLabel = QStringLiteral(u"Host Name：\t\t");
const QString DnsLabel = QStringLiteral(u"DNS Servers：\t\t");
const QString FurtherDnsLabel = QStringLiteral("\t\t\t");
const QString NodeTypeLabel = QStringLiteral(u"Node Type：\t");
const QString DescriptionLabel = QStringLiteral(u"Description：\t\t");
const QString DhcpLabel = QStringLiteral(u"DHCP Enabled：\t");
const QString AddressLabel = QStringLiteral(u"IP Address：\t\t");
const QString MaskLabel = QStringLiteral(u"Subnet Mask：\t\t");
const QString GatewayLabel = QStringLiteral(u"Default Gateway：\t");
const QString DhcpServerLabel = QStringLiteral(u"DHCP Server：\t\t");
const QString LeaseObtainedLabel = QStringLiteral(u"Lease Obtained：\t");
const QString LeaseExpiresLabel = QStringLiteral(u"Lease Expires：\t");
const QString LineFeed = QStringLiteral("\n");

QString NodeTypeText(UINT NodeType)
{
    switch (NodeType) {
    case BROADCAST_NODETYPE: return QStringLiteral("\tBroadcast\n");
    case PEER_TO_PEER_NODETYPE: return QStringLiteral("\tPeer to peer\n");
    case MIXED_NODETYPE: return QStringLiteral("\tMixed\n");
    case HYBRID_NODETYPE: return QStringLiteral("\tHybrid\n");
    default: return QStringLiteral("\tUnknown\n");
    }
}

// A field of a record; a source that forgot the terminator is read no further than the field.
template <std::size_t N>
QString FieldText(const char (&Field)[N])
{
    return QString::fromUtf8(Field, qsizetype(strnlen(Field, N)));
}

void Append(TReportView &View, const QString &Piece) { View.SetText(View.Text() + Piece); }

void Append(TReportView &View, std::initializer_list<QString> Pieces)
{
    for (const QString &Piece : Pieces)
        Append(View, Piece);
}

// One query by the sizing protocol. Null when it failed; the failure is already on the view.
struct TBufferFree
{
    NetworkInfoSource *Source;
    void operator()(void *Buffer) const { Source->FreeBuffer(Buffer); }
};
using TQueryBuffer = std::unique_ptr<void, TBufferFree>;

template <class TRecord, class TQuery>
TQueryBuffer Query(NetworkInfoSource &Source, TReportView &View, const char *Name, TQuery Call)
{
    TQueryBuffer None(nullptr, TBufferFree{&Source});
    DWORD Size = 0;
    DWORD Status = Call(static_cast<TRecord *>(nullptr), &Size);
    if (Status != NO_ERROR && Status != ERROR_BUFFER_OVERFLOW) {
        View.AddLine(QStringLiteral("%1 sizing failed with error %2").arg(QLatin1String(Name)).arg(Status));
        return None;
    }
    TQueryBuffer Buffer(Source.AllocateBuffer(Size), TBufferFree{&Source});
    if (!Buffer) {
        View.AddLine(QStringLiteral("Memory allocation error\n"));
        return None;
    }
    Status = Call(static_cast<TRecord *>(Buffer.get()), &Size);
    if (Status != NO_ERROR) {
        View.AddLine(QStringLiteral("%1 failed with error %2").arg(QLatin1String(Name)).arg(Status));
        return None;
    }
    return Buffer;
}

void AppendNetworkParams(TReportView &View, const FIXED_INFO &Info)
{
    Append(View, {HostLabel, FieldText(Info.HostName), LineFeed});
    Append(View, {DnsLabel, FieldText(Info.DnsServerList.IpAddress.String), LineFeed});
    for (const IP_ADDR_STRING *Dns = Info.DnsServerList.Next; Dns; Dns = Dns->Next)
        Append(View, {FurtherDnsLabel, FieldText(Dns->IpAddress.String), LineFeed});
    Append(View, {NodeTypeLabel, NodeTypeText(Info.NodeType)});
}

void AppendAdapter(TReportView &View, const IP_ADAPTER_INFO &Adapter)
{
    Append(View, {DescriptionLabel, FieldText(Adapter.Description), LineFeed});
    Append(View, {DhcpLabel, Adapter.DhcpEnabled ? QStringLiteral("yes") : QStringLiteral("no"), LineFeed});
    for (const IP_ADDR_STRING *Address = &Adapter.IpAddressList; Address; Address = Address->Next) {
        Append(View, {AddressLabel, FieldText(Address->IpAddress.String), LineFeed});
        Append(View, {MaskLabel, FieldText(Address->IpMask.String), LineFeed});
    }
    Append(View, {GatewayLabel, FieldText(Adapter.GatewayList.IpAddress.String), LineFeed});
    for (const IP_ADDR_STRING *Gateway = Adapter.GatewayList.Next; Gateway; Gateway = Gateway->Next)
        Append(View, {FieldText(Gateway->IpAddress.String), LineFeed});
    Append(View, {DhcpServerLabel, FieldText(Adapter.DhcpServer.IpAddress.String), LineFeed});
    Append(View, {LeaseObtainedLabel, FormatLeaseTime(Adapter.LeaseObtained)});
    Append(View, {LeaseExpiresLabel, FormatLeaseTime(Adapter.LeaseExpires), LineFeed});
}

} // namespace

void RunNetworkReport(NetworkInfoSource &Source, TReportView &View)
{
    View.SetText(QString());
    const TQueryBuffer Params = Query<FIXED_INFO>(Source, View, "GetNetworkParams", [&](FIXED_INFO *B, DWORD *S) {
        return Source.GetNetworkParams(B, S);
    });
    if (!Params)
        return;
    AppendNetworkParams(View, *static_cast<const FIXED_INFO *>(Params.get()));

    const TQueryBuffer Adapters = Query<IP_ADAPTER_INFO>(
        Source, View, "GetAdaptersInfo", [&](IP_ADAPTER_INFO *B, DWORD *S) { return Source.GetAdaptersInfo(B, S); });
    if (!Adapters)
        return;
    for (auto *Adapter = static_cast<const IP_ADAPTER_INFO *>(Adapters.get()); Adapter; Adapter = Adapter->Next)
        AppendAdapter(View, *Adapter);
}

QString FormatLeaseTime(DWORD Seconds)
{
    static const char *const WeekDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char *const Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const quint32 Days = Seconds / 86400;
    const quint32 InDay = Seconds % 86400;
    // 1970-01-01 was a Thursday.
    const int WeekDay = int((Days + 4) % 7);

    // Civil date from a day count, counted in 400-year eras from 0000-03-01 so leap days fall last.
    const qint64 Z = qint64(Days) + 719468;
    const qint64 Era = Z / 146097;
    const qint64 DayOfEra = Z - Era * 146097;
    const qint64 YearOfEra = (DayOfEra - DayOfEra / 1460 + DayOfEra / 36524 - DayOfEra / 146096) / 365;
    const qint64 DayOfYear = DayOfEra - (365 * YearOfEra + YearOfEra / 4 - YearOfEra / 100);
    const qint64 MonthFromMarch = (5 * DayOfYear + 2) / 153;
    const int Day = int(DayOfYear - (153 * MonthFromMarch + 2) / 5 + 1);
    const int Month = int(MonthFromMarch < 10 ? MonthFromMarch + 3 : MonthFromMarch - 9);
    const int Year = int(YearOfEra + Era * 400 + (Month <= 2 ? 1 : 0));

    return QString::asprintf("%s %s %02d %02d:%02d:%02d %4d%s", WeekDays[WeekDay], Months[Month - 1], Day,
                             int(InDay / 3600), int(InDay % 3600 / 60), int(InDay % 60), Year, "\n");
}
