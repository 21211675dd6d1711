#include "platform/IpHelper.h"

#include "platform/Kernel.h"

#include <algorithm>
#include <cstring>

void *NetworkInfoSource::AllocateBuffer(DWORD Size) { return GlobalAlloc(GMEM_ZEROINIT, Size); }

void NetworkInfoSource::FreeBuffer(void *Buffer) { GlobalFree(Buffer); }

void CopyFieldText(char *Field, std::size_t Capacity, const char *Text, std::size_t Length)
{
    if (Capacity == 0)
        return;
    std::size_t N = std::min(Length, Capacity - 1);
    // Never leave half of a UTF-8 sequence: back off over continuation bytes.
    if (N < Length)
        while (N > 0 && (static_cast<unsigned char>(Text[N]) & 0xC0) == 0x80)
            --N;
    std::memcpy(Field, Text, N);
    std::memset(Field + N, 0, Capacity - N);
}
