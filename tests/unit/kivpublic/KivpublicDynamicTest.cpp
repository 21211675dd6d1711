// The functions bound at run time: one lookup each, the shared unavailable flag, and the module's release.
#include "skin/theme/Kivpublic.h"

#include "platform/Kernel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

BOOL FakeScrollBarInfo(HWND, LONG ObjectId, SCROLLBARINFO *Info)
{
    Info->dxyLineButton = 17;
    Info->xyThumbTop = ObjectId;
    return TRUE;
}

BOOL FakeComboBoxInfo(HWND, COMBOBOXINFO *Info)
{
    Info->stateButton = 5;
    return TRUE;
}

BOOL FakeAnimateWindow(HWND, DWORD Time, DWORD Flags)
{
    return Time == 200 && Flags == 0x40008;
}

class DynamicFunctions : public ::testing::Test
{
protected:
    void SetUp() override { ReleaseKivDynamicFunctions(); }
    void TearDown() override
    {
        SetProcAddressHook(nullptr);
        ReleaseKivDynamicFunctions();
    }

    // A system whose "User32.dll" has the functions of Present, recording every lookup.
    void PlaySystem(std::vector<std::string> Present)
    {
        SetProcAddressHook([this, Present](HMODULE, const char *Name) -> FARPROC {
            Lookups.push_back(Name);
            if (std::find(Present.begin(), Present.end(), Name) == Present.end())
                return nullptr;
            const std::string N(Name);
            if (N == "GetScrollBarInfo")
                return reinterpret_cast<FARPROC>(&FakeScrollBarInfo);
            if (N == "GetComboBoxInfo")
                return reinterpret_cast<FARPROC>(&FakeComboBoxInfo);
            return reinterpret_cast<FARPROC>(&FakeAnimateWindow);
        });
    }

    std::vector<std::string> Lookups;
};

TEST_F(DynamicFunctions, LookUpOnceAndCallThrough)
{
    PlaySystem({"GetScrollBarInfo", "GetComboBoxInfo", "AnimateWindow"});
    SCROLLBARINFO Bar;
    EXPECT_TRUE(KIVGetScrollBarInfo(nullptr, OBJID_VSCROLL, Bar));
    EXPECT_EQ(Bar.dxyLineButton, 17);
    EXPECT_EQ(Bar.xyThumbTop, OBJID_VSCROLL);
    EXPECT_TRUE(KIVGetScrollBarInfo(nullptr, OBJID_HSCROLL, Bar));
    COMBOBOXINFO Combo;
    EXPECT_TRUE(KIVGetComboBoxInfo(nullptr, Combo));
    EXPECT_EQ(Combo.stateButton, 5u);
    EXPECT_TRUE(KIVAnimateWindow(nullptr, 200, 0x40008));
    EXPECT_FALSE(KIVAnimateWindow(nullptr, 100, 0x40008));
    EXPECT_EQ(Lookups, (std::vector<std::string>{"GetScrollBarInfo", "GetComboBoxInfo", "AnimateWindow"}));
}

TEST_F(DynamicFunctions, MissingScrollBarInfoAlsoSilencesComboBoxInfo)
{
    PlaySystem({"GetComboBoxInfo", "AnimateWindow"});
    SCROLLBARINFO Bar;
    EXPECT_FALSE(KIVGetScrollBarInfo(nullptr, OBJID_VSCROLL, Bar));
    COMBOBOXINFO Combo;
    EXPECT_FALSE(KIVGetComboBoxInfo(nullptr, Combo));
    EXPECT_FALSE(KIVGetComboBoxInfo(nullptr, Combo));
    EXPECT_EQ(Combo.stateButton, 0u);
    // AnimateWindow has a flag of its own.
    EXPECT_TRUE(KIVAnimateWindow(nullptr, 200, 0x40008));
    EXPECT_EQ(Lookups, (std::vector<std::string>{"GetScrollBarInfo", "AnimateWindow"}));
}

TEST_F(DynamicFunctions, MissingAnimateWindowAnswersFalseWithoutLookingAgain)
{
    PlaySystem({"GetScrollBarInfo"});
    EXPECT_FALSE(KIVAnimateWindow(nullptr, 200, 0x40008));
    EXPECT_FALSE(KIVAnimateWindow(nullptr, 200, 0x40008));
    SCROLLBARINFO Bar;
    EXPECT_TRUE(KIVGetScrollBarInfo(nullptr, OBJID_VSCROLL, Bar));
    EXPECT_EQ(Lookups, (std::vector<std::string>{"AnimateWindow", "GetScrollBarInfo"}));
}

TEST_F(DynamicFunctions, WindowLayerIsLoadedOnceAndFreedOnRelease)
{
    HMODULE User32 = LoadLibraryA("User32.dll");
    const int Before = ModuleLoadCount(User32);
    SCROLLBARINFO Bar;
    EXPECT_FALSE(KIVGetScrollBarInfo(nullptr, OBJID_VSCROLL, Bar)) << "no such window";
    COMBOBOXINFO Combo;
    EXPECT_FALSE(KIVGetComboBoxInfo(nullptr, Combo)) << "this system has no combo boxes";
    EXPECT_EQ(ModuleLoadCount(User32), Before + 1);
    ReleaseKivDynamicFunctions();
    EXPECT_EQ(ModuleLoadCount(User32), Before);
    FreeLibrary(User32);
}

} // namespace
