#include "tests/unit/report/ScriptedSource.h"

#include <cstring>

namespace {

void Put(IP_ADDR_STRING &Entry, const QByteArray &Address, const QByteArray &Mask = {})
{
    CopyFieldText(Entry.IpAddress.String, sizeof Entry.IpAddress.String, Address.constData(), Address.size());
    CopyFieldText(Entry.IpMask.String, sizeof Entry.IpMask.String, Mask.constData(), Mask.size());
}

// The first entry of a chain lives in the record, the others in Spare, which advances.
template <class T, class F>
void Chain(IP_ADDR_STRING &Head, const QList<T> &Items, IP_ADDR_STRING *&Spare, F Fill)
{
    IP_ADDR_STRING *Last = nullptr;
    for (const T &Item : Items) {
        IP_ADDR_STRING *Entry = Last ? Spare++ : &Head;
        Fill(*Entry, Item);
        if (Last)
            Last->Next = Entry;
        Last = Entry;
    }
}

int ExtraEntries(const TScriptedAdapter &A) { return int(A.Addresses.size() - 1 + A.Gateways.size() - 1); }

} // namespace

DWORD TScriptedSource::Answer(bool Sizing, TScriptedStep SizeStep, TScriptedStep FillStep, DWORD Needed, DWORD *Size)
{
    if ((Sizing && FFailing == SizeStep) || (!Sizing && FFailing == FillStep))
        return FStatus;
    if (Sizing || *Size < Needed) {
        *Size = Needed;
        return ERROR_BUFFER_OVERFLOW;
    }
    return NO_ERROR;
}

DWORD TScriptedSource::GetNetworkParams(FIXED_INFO *Buffer, DWORD *Size)
{
    const int Extra = std::max<int>(0, int(FNetwork.DnsServers.size()) - 1);
    const DWORD Needed = DWORD(sizeof(FIXED_INFO) + Extra * sizeof(IP_ADDR_STRING));
    if (const DWORD Status = Answer(!Buffer, TScriptedStep::SizeParams, TScriptedStep::FillParams, Needed, Size))
        return Status;
    auto *Spare = reinterpret_cast<IP_ADDR_STRING *>(Buffer + 1);
    CopyFieldText(Buffer->HostName, sizeof Buffer->HostName, FNetwork.HostName.constData(), FNetwork.HostName.size());
    Chain(Buffer->DnsServerList, FNetwork.DnsServers, Spare, [](IP_ADDR_STRING &E, const QByteArray &A) { Put(E, A); });
    Buffer->NodeType = FNetwork.NodeType;
    return NO_ERROR;
}

DWORD TScriptedSource::GetAdaptersInfo(IP_ADAPTER_INFO *Buffer, DWORD *Size)
{
    if (FNetwork.Adapters.isEmpty() && FFailing != TScriptedStep::SizeAdapters)
        return ERROR_NO_DATA;
    int Extra = 0;
    for (const TScriptedAdapter &A : FNetwork.Adapters)
        Extra += ExtraEntries(A);
    const DWORD Needed = DWORD(FNetwork.Adapters.size() * sizeof(IP_ADAPTER_INFO) + Extra * sizeof(IP_ADDR_STRING));
    if (const DWORD Status = Answer(!Buffer, TScriptedStep::SizeAdapters, TScriptedStep::FillAdapters, Needed, Size))
        return Status;
    auto *Spare = reinterpret_cast<IP_ADDR_STRING *>(Buffer + FNetwork.Adapters.size());
    for (int I = 0; I < FNetwork.Adapters.size(); ++I) {
        const TScriptedAdapter &A = FNetwork.Adapters[I];
        IP_ADAPTER_INFO &R = Buffer[I];
        R.Next = I + 1 < FNetwork.Adapters.size() ? &Buffer[I + 1] : nullptr;
        CopyFieldText(R.Description, sizeof R.Description, A.Description.constData(), A.Description.size());
        R.DhcpEnabled = A.Dhcp;
        Chain(R.IpAddressList, A.Addresses, Spare,
              [](IP_ADDR_STRING &E, const TScriptedAddress &X) { Put(E, X.Address, X.Mask); });
        Chain(R.GatewayList, A.Gateways, Spare, [](IP_ADDR_STRING &E, const QByteArray &G) { Put(E, G); });
        Put(R.DhcpServer, A.DhcpServer);
        R.LeaseObtained = A.LeaseObtained;
        R.LeaseExpires = A.LeaseExpires;
    }
    return NO_ERROR;
}

void *TScriptedSource::AllocateBuffer(DWORD Size)
{
    ++FAllocations;
    if ((FFailing == TScriptedStep::AllocParams && FAllocations == 1) ||
        (FFailing == TScriptedStep::AllocAdapters && FAllocations == 2))
        return nullptr;
    AllocatedSizes.push_back(Size);
    ++FOutstanding;
    return NetworkInfoSource::AllocateBuffer(Size);
}

void TScriptedSource::FreeBuffer(void *Buffer)
{
    if (Buffer)
        --FOutstanding;
    NetworkInfoSource::FreeBuffer(Buffer);
}
