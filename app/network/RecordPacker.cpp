#include "app/network/RecordPacker.h"

#include "app/network/Ipv4Text.h"

#include <cstring>
#include <utility>

namespace {

using TEntry = std::pair<QString, QString>;

constexpr std::size_t AlignedForEntries(std::size_t Offset)
{
    constexpr std::size_t A = alignof(IP_ADDR_STRING);
    return (Offset + A - 1) / A * A;
}

template <std::size_t N>
void CopyText(char (&Field)[N], const QString &Text)
{
    const QByteArray Bytes = Text.toUtf8();
    CopyFieldText(Field, N, Bytes.constData(), std::size_t(Bytes.size()));
}

// Hands out the further chain entries from the space after the records.
class TChainWriter
{
public:
    explicit TChainWriter(IP_ADDR_STRING *Pool) : FFree(Pool) {}

    // Head is the chain's first entry, inside its record; an empty list leaves one empty entry.
    void Write(IP_ADDR_STRING &Head, const QList<TEntry> &Entries)
    {
        IP_ADDR_STRING *Entry = &Head;
        for (int I = 0; I < Entries.size(); ++I) {
            if (I > 0) {
                Entry->Next = FFree++;
                Entry = Entry->Next;
            }
            CopyText(Entry->IpAddress.String, Entries[I].first);
            CopyText(Entry->IpMask.String, Entries[I].second);
        }
    }

private:
    IP_ADDR_STRING *FFree;
};

qsizetype FurtherEntries(qsizetype Count) { return Count > 1 ? Count - 1 : 0; }

// The records hold unsigned 32-bit times: a later date is clamped rather than wrapped.
DWORD RecordTime(qint64 Seconds) { return DWORD(std::clamp<qint64>(Seconds, 0, 0xFFFFFFFFLL)); }

// Every adapter answers at least one address entry and one gateway entry.
QList<TEntry> AddressEntries(const TAdapterFacts &Adapter)
{
    QList<TEntry> Entries;
    for (const TIpv4Address &A : Adapter.Addresses)
        Entries.append({A.Address, PrefixMask(A.PrefixLength)});
    if (Entries.isEmpty())
        Entries.append({QStringLiteral("0.0.0.0"), QStringLiteral("0.0.0.0")});
    return Entries;
}

QList<TEntry> GatewayEntries(const TAdapterFacts &Adapter)
{
    QList<TEntry> Entries;
    for (const QString &G : Adapter.Gateways)
        Entries.append({G, QStringLiteral("255.255.255.255")});
    if (Entries.isEmpty())
        Entries.append({QString(), QString()});
    return Entries;
}

bool DhcpEnabled(const TAdapterFacts &Adapter)
{
    if (Adapter.Lease.Found)
        return true;
    return std::any_of(Adapter.Addresses.cbegin(), Adapter.Addresses.cend(),
                       [](const TIpv4Address &A) { return A.Dynamic; });
}

void FillAdapter(const TAdapterFacts &Adapter, IP_ADAPTER_INFO &Record, TChainWriter &Chains)
{
    Record.ComboIndex = DWORD(Adapter.Index);
    CopyText(Record.AdapterName, Adapter.Name);
    CopyText(Record.Description, AdapterDescription(Adapter));
    Record.AddressLength = UINT(std::min<qsizetype>(Adapter.HardwareAddress.size(), MAX_ADAPTER_ADDRESS_LENGTH));
    std::memcpy(Record.Address, Adapter.HardwareAddress.constData(), Record.AddressLength);
    Record.Index = DWORD(Adapter.Index);
    Record.Type = Adapter.Type;
    Record.DhcpEnabled = DhcpEnabled(Adapter) ? 1 : 0;
    Chains.Write(Record.IpAddressList, AddressEntries(Adapter));
    Record.CurrentIpAddress = &Record.IpAddressList;
    Chains.Write(Record.GatewayList, GatewayEntries(Adapter));
    if (Adapter.Lease.Found) {
        if (!Adapter.Lease.Server.isEmpty())
            Chains.Write(Record.DhcpServer, {{Adapter.Lease.Server, QStringLiteral("255.255.255.255")}});
        Record.LeaseExpires = RecordTime(Adapter.Lease.Expires);
        // A lease time longer than the time to expiry would give a date before 1970.
        Record.LeaseObtained = RecordTime(std::max<qint64>(Adapter.Lease.Expires - Adapter.Lease.LeaseTime, 0));
    }
}

} // namespace

DWORD PackNetworkParams(const THostFacts &Host, FIXED_INFO *Buffer, DWORD *Size)
{
    if (!Size)
        return ERROR_INVALID_PARAMETER;
    const std::size_t Needed = AlignedForEntries(sizeof(FIXED_INFO))
                               + std::size_t(FurtherEntries(Host.DnsServers.size())) * sizeof(IP_ADDR_STRING);
    if (!Buffer || *Size < Needed) {
        *Size = DWORD(Needed);
        return ERROR_BUFFER_OVERFLOW;
    }
    std::memset(static_cast<void *>(Buffer), 0, Needed);
    CopyText(Buffer->HostName, Host.HostName);
    CopyText(Buffer->DomainName, Host.DomainName);
    QList<TEntry> Servers;
    for (const QString &Server : Host.DnsServers)
        Servers.append({Server, QString()});
    TChainWriter Chains(reinterpret_cast<IP_ADDR_STRING *>(reinterpret_cast<char *>(Buffer)
                                                           + AlignedForEntries(sizeof(FIXED_INFO))));
    Chains.Write(Buffer->DnsServerList, Servers);
    Buffer->CurrentDnsServer = Servers.isEmpty() ? nullptr : &Buffer->DnsServerList;
    Buffer->NodeType = Host.NodeType;
    CopyText(Buffer->ScopeId, Host.ScopeId);
    Buffer->EnableRouting = Host.Routing ? 1 : 0;
    Buffer->EnableProxy = 0;
    Buffer->EnableDns = Servers.isEmpty() ? 0 : 1;
    return NO_ERROR;
}

DWORD PackAdaptersInfo(const QList<TAdapterFacts> &Adapters, IP_ADAPTER_INFO *Buffer, DWORD *Size)
{
    if (!Size)
        return ERROR_INVALID_PARAMETER;
    if (Adapters.isEmpty())
        return ERROR_NO_DATA;
    qsizetype Further = 0;
    for (const TAdapterFacts &A : Adapters)
        Further += FurtherEntries(std::max<qsizetype>(A.Addresses.size(), 1))
                   + FurtherEntries(std::max<qsizetype>(A.Gateways.size(), 1));
    static_assert(sizeof(IP_ADAPTER_INFO) % alignof(IP_ADDR_STRING) == 0);
    const std::size_t Records = std::size_t(Adapters.size()) * sizeof(IP_ADAPTER_INFO);
    const std::size_t Needed = Records + std::size_t(Further) * sizeof(IP_ADDR_STRING);
    if (!Buffer || *Size < Needed) {
        *Size = DWORD(Needed);
        return ERROR_BUFFER_OVERFLOW;
    }
    std::memset(static_cast<void *>(Buffer), 0, Needed);
    TChainWriter Chains(reinterpret_cast<IP_ADDR_STRING *>(reinterpret_cast<char *>(Buffer) + Records));
    for (int I = 0; I < Adapters.size(); ++I) {
        FillAdapter(Adapters[I], Buffer[I], Chains);
        Buffer[I].Next = I + 1 < Adapters.size() ? &Buffer[I + 1] : nullptr;
    }
    return NO_ERROR;
}

QString AdapterDescription(const TAdapterFacts &Adapter)
{
    QStringList Names;
    for (const QString &Name : {Adapter.Vendor, Adapter.Model})
        if (!Name.isEmpty())
            Names.append(Name);
    if (Names.isEmpty())
        return Adapter.Name;
    const QByteArray Suffix = QStringLiteral(" (%1)").arg(Adapter.Name).toUtf8();
    const QByteArray Hardware = Names.join(u' ').toUtf8();
    char Cut[MAX_ADAPTER_DESCRIPTION_LENGTH + 4];
    const std::size_t Room = sizeof(Cut) - std::min<std::size_t>(std::size_t(Suffix.size()), sizeof(Cut) - 1);
    CopyFieldText(Cut, Room, Hardware.constData(), std::size_t(Hardware.size()));
    return QString::fromUtf8(Cut) + QString::fromUtf8(Suffix);
}
