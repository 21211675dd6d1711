#pragma once
// The network information queries with the classic IP helper records. A source answers both queries by
// the sizing protocol: a call with no buffer or one that is too small answers ERROR_BUFFER_OVERFLOW and
// the size needed; a call with a large enough buffer fills it. The records and every chain they head lie
// inside that one buffer, so the caller frees one block and nothing else.

#include "platform/WinDef.h"

#include <cstddef>

constexpr DWORD NO_ERROR = 0;
constexpr DWORD ERROR_INVALID_DATA = 13;
constexpr DWORD ERROR_GEN_FAILURE = 31;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_BUFFER_OVERFLOW = 111;
constexpr DWORD ERROR_NO_DATA = 232;

constexpr int MAX_HOSTNAME_LEN = 128;
constexpr int MAX_DOMAIN_NAME_LEN = 128;
constexpr int MAX_SCOPE_ID_LEN = 256;
constexpr int MAX_ADAPTER_NAME_LENGTH = 256;
constexpr int MAX_ADAPTER_DESCRIPTION_LENGTH = 128;
constexpr int MAX_ADAPTER_ADDRESS_LENGTH = 8;

constexpr UINT BROADCAST_NODETYPE = 1;
constexpr UINT PEER_TO_PEER_NODETYPE = 2;
constexpr UINT MIXED_NODETYPE = 4;
constexpr UINT HYBRID_NODETYPE = 8;

constexpr UINT MIB_IF_TYPE_OTHER = 1;
constexpr UINT MIB_IF_TYPE_ETHERNET = 6;
constexpr UINT MIB_IF_TYPE_LOOPBACK = 24;
constexpr UINT IF_TYPE_IEEE80211 = 71;

// Dotted text, zero-terminated, at most 15 characters.
struct IP_ADDRESS_STRING
{
    char String[4 * 4];
};
using IP_MASK_STRING = IP_ADDRESS_STRING;

struct IP_ADDR_STRING
{
    IP_ADDR_STRING *Next;
    IP_ADDRESS_STRING IpAddress;
    IP_MASK_STRING IpMask;
    DWORD Context;
};

struct FIXED_INFO
{
    char HostName[MAX_HOSTNAME_LEN + 4];
    char DomainName[MAX_DOMAIN_NAME_LEN + 4];
    IP_ADDR_STRING *CurrentDnsServer;
    IP_ADDR_STRING DnsServerList;
    UINT NodeType;
    char ScopeId[MAX_SCOPE_ID_LEN + 4];
    UINT EnableRouting;
    UINT EnableProxy;
    UINT EnableDns;
};

struct IP_ADAPTER_INFO
{
    IP_ADAPTER_INFO *Next;
    DWORD ComboIndex;
    char AdapterName[MAX_ADAPTER_NAME_LENGTH + 4];
    char Description[MAX_ADAPTER_DESCRIPTION_LENGTH + 4];
    UINT AddressLength;
    BYTE Address[MAX_ADAPTER_ADDRESS_LENGTH];
    DWORD Index;
    UINT Type;
    UINT DhcpEnabled;
    IP_ADDR_STRING *CurrentIpAddress;
    IP_ADDR_STRING IpAddressList;
    IP_ADDR_STRING GatewayList;
    IP_ADDR_STRING DhcpServer;
    BOOL HaveWins;
    IP_ADDR_STRING PrimaryWinsServer;
    IP_ADDR_STRING SecondaryWinsServer;
    // Seconds since 1970-01-01 00:00:00 UTC, unsigned 32 bits (good until 2106).
    DWORD LeaseObtained;
    DWORD LeaseExpires;
};

// Where the report takes its facts from. Text fields hold UTF-8.
class NetworkInfoSource
{
public:
    virtual ~NetworkInfoSource() = default;

    // Size holds the buffer's size in bytes on entry and the size needed on return.
    virtual DWORD GetNetworkParams(FIXED_INFO *Buffer, DWORD *Size) = 0;
    // ERROR_NO_DATA when the machine has no adapter.
    virtual DWORD GetAdaptersInfo(IP_ADAPTER_INFO *Buffer, DWORD *Size) = 0;

    // The query buffers: fixed, zero-filled memory of exactly Size bytes, null when there is none.
    virtual void *AllocateBuffer(DWORD Size);
    virtual void FreeBuffer(void *Buffer);
};

// Writes Text into a fixed field of Capacity bytes, zero-terminated, cut at a character boundary.
void CopyFieldText(char *Field, std::size_t Capacity, const char *Text, std::size_t Length);
