#pragma once
// A network source that answers from a description and can be told to fail any one step of the report's
// queries: either sizing call, either filling call, or the allocation of either buffer.

#include "platform/IpHelper.h"

#include <QByteArray>
#include <QList>

#include <vector>

struct TScriptedAddress
{
    QByteArray Address, Mask;
};

struct TScriptedAdapter
{
    QByteArray Description;
    bool Dhcp = false;
    QList<TScriptedAddress> Addresses = {{"0.0.0.0", "0.0.0.0"}};
    QList<QByteArray> Gateways = {""};
    QByteArray DhcpServer;
    DWORD LeaseObtained = 0, LeaseExpires = 0;
};

struct TScriptedNetwork
{
    QByteArray HostName;
    QList<QByteArray> DnsServers;
    UINT NodeType = 0;
    QList<TScriptedAdapter> Adapters;
};

enum class TScriptedStep { None, SizeParams, FillParams, AllocParams, SizeAdapters, FillAdapters, AllocAdapters };

class TScriptedSource : public NetworkInfoSource
{
public:
    explicit TScriptedSource(TScriptedNetwork Network) : FNetwork(std::move(Network)) {}
    // The step fails with Status (allocation steps just give no memory).
    void FailAt(TScriptedStep Step, DWORD Status = ERROR_GEN_FAILURE)
    {
        FFailing = Step;
        FStatus = Status;
    }

    DWORD GetNetworkParams(FIXED_INFO *Buffer, DWORD *Size) override;
    DWORD GetAdaptersInfo(IP_ADAPTER_INFO *Buffer, DWORD *Size) override;
    void *AllocateBuffer(DWORD Size) override;
    void FreeBuffer(void *Buffer) override;

    int Outstanding() const { return FOutstanding; }
    std::vector<DWORD> AllocatedSizes;

private:
    DWORD Answer(bool Sizing, TScriptedStep SizeStep, TScriptedStep FillStep, DWORD Needed, DWORD *Size);
    TScriptedNetwork FNetwork;
    TScriptedStep FFailing = TScriptedStep::None;
    DWORD FStatus = 0;
    int FAllocations = 0;
    int FOutstanding = 0;
};
