// The window layer as a module: which names load it, which functions it hands out, and counted frees.
#include "platform/Kernel.h"
#include "platform/Window.h"

#include <gtest/gtest.h>

namespace {

TEST(Module, LoadsUnderItsNameOnly)
{
    struct Case
    {
        const char *Name;
        bool Loads;
    };
    const Case Cases[] = {{"User32.dll", true}, {"USER32.DLL", true}, {"user32", true},
                          {"Kernel32.dll", false}, {"User32.dll.bak", false}, {"", false}, {nullptr, false}};
    for (const Case &C : Cases) {
        HMODULE M = LoadLibraryA(C.Name);
        EXPECT_EQ(M != nullptr, C.Loads) << (C.Name ? C.Name : "(null)");
        if (M)
            FreeLibrary(M);
    }
}

TEST(Module, HandsOutTheFunctionsBoundAtRunTime)
{
    HMODULE M = LoadLibraryA("User32.dll");
    ASSERT_TRUE(M);
    EXPECT_EQ(GetProcAddress(M, "GetScrollBarInfo"), reinterpret_cast<FARPROC>(&GetScrollBarInfo));
    EXPECT_EQ(GetProcAddress(M, "GetComboBoxInfo"), reinterpret_cast<FARPROC>(&GetComboBoxInfo));
    EXPECT_EQ(GetProcAddress(M, "AnimateWindow"), reinterpret_cast<FARPROC>(&AnimateWindow));
    EXPECT_EQ(GetProcAddress(M, "getscrollbarinfo"), nullptr) << "names match exactly";
    EXPECT_EQ(GetProcAddress(M, "SendMessageA"), nullptr);
    EXPECT_EQ(GetProcAddress(M, nullptr), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "AnimateWindow"), nullptr);
    FreeLibrary(M);
}

TEST(Module, FreeDropsOneLoad)
{
    HMODULE M = LoadLibraryA("User32.dll");
    const int Loads = ModuleLoadCount(M);
    HMODULE Again = LoadLibraryA("user32.dll");
    EXPECT_EQ(Again, M);
    EXPECT_EQ(ModuleLoadCount(M), Loads + 1);
    EXPECT_TRUE(FreeLibrary(Again));
    EXPECT_TRUE(FreeLibrary(M));
    EXPECT_EQ(ModuleLoadCount(M), Loads - 1);
    for (int I = ModuleLoadCount(M); I > 0; --I)
        FreeLibrary(M);
    EXPECT_FALSE(FreeLibrary(M)) << "more frees than loads";
    EXPECT_FALSE(FreeLibrary(nullptr));
}

} // namespace
