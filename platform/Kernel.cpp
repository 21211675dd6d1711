#include "platform/Kernel.h"
#include "platform/Window.h"

#include <QString>

#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <string_view>

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

// ---- modules ------------------------------------------------------------------------------------------

namespace {

// The handle of the window layer; any distinct non-null value serves.
HMODULE const WindowModule = reinterpret_cast<HMODULE>(std::uintptr_t(0x7E410000));
int WindowModuleLoads = 0;

TProcAddressHook &ProcAddressHook()
{
    static TProcAddressHook Hook;
    return Hook;
}

template <class F>
FARPROC Export(F *Function)
{
    return reinterpret_cast<FARPROC>(Function);
}

} // namespace

HMODULE LoadLibraryA(const char *FileName)
{
    if (!FileName)
        return nullptr;
    const QString Name = QString::fromUtf8(FileName).trimmed();
    if (Name.compare(QLatin1String("User32.dll"), Qt::CaseInsensitive) != 0 &&
        Name.compare(QLatin1String("User32"), Qt::CaseInsensitive) != 0)
        return nullptr;
    ++WindowModuleLoads;
    return WindowModule;
}

FARPROC GetProcAddress(HMODULE Module, const char *ProcName)
{
    if (ProcAddressHook())
        return ProcAddressHook()(Module, ProcName);
    if (Module != WindowModule || !ProcName)
        return nullptr;
    const std::string_view Name(ProcName);
    if (Name == "GetScrollBarInfo")
        return Export(&GetScrollBarInfo);
    if (Name == "GetComboBoxInfo")
        return Export(&GetComboBoxInfo);
    if (Name == "AnimateWindow")
        return Export(&AnimateWindow);
    return nullptr;
}

BOOL FreeLibrary(HMODULE Module)
{
    if (Module != WindowModule || WindowModuleLoads == 0)
        return FALSE;
    --WindowModuleLoads;
    return TRUE;
}

int ModuleLoadCount(HMODULE Module)
{
    return Module == WindowModule ? WindowModuleLoads : 0;
}

TProcAddressHook SetProcAddressHook(TProcAddressHook Hook)
{
    TProcAddressHook Previous = std::move(ProcAddressHook());
    ProcAddressHook() = std::move(Hook);
    return Previous;
}
