#pragma once
// Kernel services: global memory blocks and starting programs.

#include "platform/WinDef.h"

#include <cstddef>

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// Fixed memory only: the result is the block's address, null when it cannot be had.
void *GlobalAlloc(UINT Flags, std::size_t Bytes);
// Null for success, as the classic call answers.
void *GlobalFree(void *Block);

// WinExec results above 31 mean the program was started.
constexpr UINT ERROR_FILE_NOT_FOUND = 2;
constexpr UINT ERROR_PATH_NOT_FOUND = 3;
constexpr UINT ERROR_BAD_FORMAT = 11;

// Splits CmdLine by the classic command-line rules and starts the program without a shell, its output
// discarded; returns at once. The program is looked up beside this executable first, then on PATH.
UINT WinExec(const char *CmdLine, UINT CmdShow);
