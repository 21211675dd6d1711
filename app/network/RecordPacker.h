#pragma once
// Lays gathered facts out as IP helper records in the caller's buffer by the sizing protocol: one block,
// the records first, then the further entries of their chains, every pointer inside the block.

#include "app/network/NetworkFacts.h"
#include "platform/IpHelper.h"

#include <QList>

DWORD PackNetworkParams(const THostFacts &Host, FIXED_INFO *Buffer, DWORD *Size);
// Adapters in the order given; ERROR_NO_DATA for none, to the sizing call too.
DWORD PackAdaptersInfo(const QList<TAdapterFacts> &Adapters, IP_ADAPTER_INFO *Buffer, DWORD *Size);

// "VENDOR MODEL (IFNAME)" with whichever names exist, or the interface name alone; the names are cut so
// that the whole fits the record's field with the interface name kept.
QString AdapterDescription(const TAdapterFacts &Adapter);
