#pragma once
// Kernel services: global memory blocks, modules bound at run time and starting programs.

#include "platform/WinDef.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <functional>

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// Fixed memory only: the result is the block's address, null when it cannot be had.
void *GlobalAlloc(UINT Flags, std::size_t Bytes);
// Null for success, as the classic call answers.
void *GlobalFree(void *Block);

// ---- modules ------------------------------------------------------------------------------------------

// The window layer is this system's one loadable module: LoadLibraryA("User32.dll") (any case, ".dll"
// optional) answers its handle, and GetProcAddress finds the functions that callers bind at run time because
// older systems lack them: "GetScrollBarInfo", "GetComboBoxInfo" and "AnimateWindow" (names match exactly).
// Anything else answers nullptr. FreeLibrary drops one load; the module itself is never unloaded.
struct HMODULE__;
using HMODULE = HMODULE__ *;
using FARPROC = void (*)();

HMODULE LoadLibraryA(const char *FileName);
FARPROC GetProcAddress(HMODULE Module, const char *ProcName);
BOOL FreeLibrary(HMODULE Module);
// Loads of Module not yet freed.
int ModuleLoadCount(HMODULE Module);

// Replaces GetProcAddress while set, so tests can play a system that lacks a function and see the lookups.
// Returns the hook it replaces; an empty hook restores the real lookup.
using TProcAddressHook = std::function<FARPROC(HMODULE Module, const char *ProcName)>;
TProcAddressHook SetProcAddressHook(TProcAddressHook Hook);

// WinExec results above 31 mean the program was started.
constexpr UINT ERROR_FILE_NOT_FOUND = 2;
constexpr UINT ERROR_PATH_NOT_FOUND = 3;
constexpr UINT ERROR_BAD_FORMAT = 11;

// Splits CmdLine by the classic command-line rules and starts the program without a shell, its output
// discarded; returns at once. The program is looked up beside this executable first, then on PATH.
// 0 for a null or blank line, ERROR_FILE_NOT_FOUND / ERROR_PATH_NOT_FOUND when there is no such program,
// ERROR_BAD_FORMAT when it cannot be executed. CmdShow is accepted and ignored: nothing started here
// gets a console window on this system.
UINT WinExec(const char *CmdLine, UINT CmdShow);

// The argument vector the C runtime builds from a command line. The program name (first entry) runs up
// to its closing quote or the first blank, with no escapes. In the rest: blanks (space, tab) separate;
// "..." groups; 2n backslashes before a quote give n backslashes and the quote toggles grouping, 2n+1
// give n backslashes and a literal quote; other backslashes are literal; "" inside a group is a literal
// quote and the group goes on (the rule of the runtimes since 2008). Leading blanks are skipped.
QStringList CommandLineToArgs(const QString &CmdLine);

// Where WinExec finds Program: a name with a slash as it is (when it is a file), otherwise an executable
// file of that name beside the running executable, otherwise on PATH. Empty when not found.
QString FindExecProgram(const QString &Program);

// Replaces WinExec while set, so tests can see the command lines without starting anything.
using TWinExecHook = std::function<UINT(const char *CmdLine, UINT CmdShow)>;
// Returns the hook it replaces; an empty hook restores the real WinExec.
TWinExecHook SetWinExecHook(TWinExecHook Hook);
