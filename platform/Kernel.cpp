#include "platform/Kernel.h"

#include <cstdlib>
#include <cstring>

void *GlobalAlloc(UINT Flags, std::size_t Bytes)
{
    // A zero-sized request still gets a distinct block, as the classic call gives one.
    void *Block = std::malloc(Bytes ? Bytes : 1);
    if (Block && (Flags & GMEM_ZEROINIT))
        std::memset(Block, 0, Bytes ? Bytes : 1);
    return Block;
}

void *GlobalFree(void *Block)
{
    std::free(Block);
    return nullptr;
}
