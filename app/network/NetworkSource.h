#pragma once
// The source the program's report reads: the live system unless another was installed (a fixture root,
// a test's scripted source).

#include "platform/IpHelper.h"

#include <memory>

NetworkInfoSource &NetworkSource();
// Takes ownership; null goes back to the live system.
void SetNetworkSource(std::unique_ptr<NetworkInfoSource> Source);
