// A window's menus: the menu bar (SetMenu, GetMenu, DrawMenuBar), the window menu (GetSystemMenu), and
// their destruction with the window.
#include "platform/MenuObject.h"
#include "tests/unit/window/WindowFixture.h"

#include <ostream>
#include <string>

namespace {

using WindowMenuTest = WindowTest;

constexpr DWORD Framed = WS_POPUP | WS_DLGFRAME;

HMENU BarWithSubMenu(HMENU *Sub)
{
    HMENU Bar = CreateMenu();
    *Sub = CreatePopupMenu();
    AppendMenu(*Sub, MF_STRING, 11, "&Open");
    AppendMenu(Bar, MF_POPUP, reinterpret_cast<UINT_PTR>(*Sub), "&File");
    return Bar;
}

TEST_F(WindowMenuTest, SetMenuRecomputesTheFrameAndDrawMenuBarRepaintsIt)
{
    HWND W = Make(Framed, 10, 10, 200, 100);
    HMENU Sub = nullptr;
    HMENU Bar = BarWithSubMenu(&Sub);
    UpdateWindow(W);
    Log.clear();
    ASSERT_TRUE(SetMenu(W, Bar));
    EXPECT_EQ(GetMenu(W), Bar);
    EXPECT_EQ(MessagesOf(W, {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED}),
              (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED}));
    UpdateWindow(W);
    EXPECT_EQ(MessagesOf(W, {WM_NCPAINT}), std::vector<UINT>{WM_NCPAINT});

    Log.clear();
    UpdateWindow(W);
    EXPECT_TRUE(MessagesOf(W, {WM_NCPAINT}).empty());
    ASSERT_TRUE(DrawMenuBar(W));
    UpdateWindow(W);
    EXPECT_EQ(MessagesOf(W, {WM_NCPAINT}), std::vector<UINT>{WM_NCPAINT});
}

TEST_F(WindowMenuTest, AWindowsMenusAreDestroyedWithIt)
{
    HWND W = Make(Framed | WS_SYSMENU, 10, 10, 200, 100);
    HMENU Sub = nullptr;
    HMENU Bar = BarWithSubMenu(&Sub);
    ASSERT_TRUE(SetMenu(W, Bar));
    HMENU System = GetSystemMenu(W, FALSE);
    ASSERT_TRUE(IsMenu(System));
    HMENU Free = CreatePopupMenu();

    HWND Child = Make(WS_CHILD | WS_SYSMENU, 0, 0, 50, 20, W);
    HMENU ChildSystem = GetSystemMenu(Child, FALSE);
    ASSERT_TRUE(IsMenu(ChildSystem));

    ASSERT_TRUE(DestroyWindow(W));
    EXPECT_FALSE(IsMenu(Bar));
    EXPECT_FALSE(IsMenu(Sub));
    EXPECT_FALSE(IsMenu(System));
    EXPECT_FALSE(IsMenu(ChildSystem));
    EXPECT_TRUE(IsMenu(Free));      // attached nowhere: lives until DestroyMenu
    EXPECT_TRUE(DestroyMenu(Free));
}

TEST_F(WindowMenuTest, AReplacedBarIsTheCallersAgain)
{
    HWND W = Make(Framed, 10, 10, 200, 100);
    HMENU First = CreateMenu();
    HMENU Second = CreateMenu();
    ASSERT_TRUE(SetMenu(W, First));
    ASSERT_TRUE(SetMenu(W, Second));
    ASSERT_TRUE(SetMenu(W, Second));
    EXPECT_EQ(GetMenu(W), Second);
    EXPECT_TRUE(SetMenu(W, nullptr));
    EXPECT_EQ(GetMenu(W), nullptr);
    ASSERT_TRUE(SetMenu(W, Second));

    DestroyWindow(W);
    EXPECT_TRUE(IsMenu(First));
    EXPECT_FALSE(IsMenu(Second));
    DestroyMenu(First);
}

TEST_F(WindowMenuTest, SetMenuRefusesWhatCannotBeABar)
{
    HWND A = Make(Framed | WS_SYSMENU, 10, 10, 200, 100);
    HWND B = Make(Framed, 10, 10, 200, 100);
    HWND Child = Make(WS_CHILD, 0, 0, 50, 20, A);
    HMENU Bar = CreateMenu();
    HMENU Gone = CreateMenu();
    DestroyMenu(Gone);
    HWND Dead = Make(Framed, 0, 0, 10, 10);
    DestroyWindow(Dead);

    EXPECT_FALSE(SetMenu(Child, Bar));
    EXPECT_EQ(GetMenu(Child), nullptr);
    EXPECT_FALSE(SetMenu(A, Gone));
    EXPECT_FALSE(SetMenu(Dead, Bar));
    EXPECT_FALSE(SetMenu(nullptr, Bar));
    EXPECT_FALSE(SetMenu(GetDesktopWindow(), Bar));
    EXPECT_EQ(GetMenu(Dead), nullptr);
    EXPECT_FALSE(DrawMenuBar(Dead));
    EXPECT_FALSE(DrawMenuBar(Child));

    // A menu belongs to one window: another's bar or window menu is refused.
    ASSERT_TRUE(SetMenu(A, Bar));
    EXPECT_FALSE(SetMenu(B, Bar));
    EXPECT_FALSE(SetMenu(B, GetSystemMenu(A, FALSE)));
    EXPECT_FALSE(SetMenu(A, GetSystemMenu(A, FALSE)));
    EXPECT_EQ(GetMenu(B), nullptr);
    EXPECT_EQ(GetMenu(A), Bar);
}

TEST_F(WindowMenuTest, ADestroyedBarIsNoLongerTheWindows)
{
    HWND W = Make(Framed, 10, 10, 200, 100);
    HMENU Bar = CreateMenu();
    ASSERT_TRUE(SetMenu(W, Bar));
    UpdateWindow(W);
    Log.clear();
    ASSERT_TRUE(DestroyMenu(Bar));
    EXPECT_EQ(GetMenu(W), nullptr);
    UpdateWindow(W);
    EXPECT_EQ(MessagesOf(W, {WM_NCPAINT}), std::vector<UINT>{WM_NCPAINT});

    HMENU System = GetSystemMenu(W, FALSE);
    ASSERT_TRUE(DestroyMenu(System));
    HMENU Fresh = GetSystemMenu(W, FALSE);
    EXPECT_TRUE(IsMenu(Fresh));
    EXPECT_EQ(GetMenuItemCount(Fresh), 7);
}

struct TSystemItem
{
    UINT Command;
    std::string Text;
    UINT State;
    friend bool operator==(const TSystemItem &, const TSystemItem &) = default;
    friend void PrintTo(const TSystemItem &I, std::ostream *Out)
    {
        *Out << "{" << I.Command << ", \"" << I.Text << "\", " << I.State << "}";
    }
};

std::vector<TSystemItem> SystemItems(HMENU M)
{
    std::vector<TSystemItem> R;
    for (int I = 0; I < GetMenuItemCount(M); ++I) {
        QString S;
        GetMenuString(M, UINT(I), &S, MF_BYPOSITION);
        R.push_back({GetMenuItemID(M, I), S.toStdString(), GetMenuState(M, UINT(I), MF_BYPOSITION)});
    }
    return R;
}

TEST_F(WindowMenuTest, TheWindowMenuIsAPerWindowCopyOfTheStandardOne)
{
    constexpr DWORD Sizable = WS_POPUP | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    HWND W = Make(Sizable, 10, 10, 200, 100);
    HMENU M = GetSystemMenu(W, FALSE);
    ASSERT_TRUE(IsMenu(M));
    EXPECT_EQ(SystemItems(M), (std::vector<TSystemItem>{
                                  {SC_RESTORE, "&Restore", MF_GRAYED},
                                  {SC_MOVE, "&Move", 0},
                                  {SC_SIZE, "&Size", 0},
                                  {SC_MINIMIZE, "Mi&nimize", 0},
                                  {SC_MAXIMIZE, "Ma&ximize", 0},
                                  {0, "", MF_SEPARATOR},
                                  {SC_CLOSE, "&Close\tAlt+F4", MF_DEFAULT},
                              }));
    EXPECT_EQ(GetMenuDefaultItem(M, FALSE, 0), UINT(SC_CLOSE));
    EXPECT_EQ(GetSystemMenu(W, FALSE), M);

    // The copy is the window's to change, and another window's copy is its own.
    ASSERT_TRUE(DeleteMenu(M, UINT(SC_SIZE), MF_BYCOMMAND));
    HWND Other = Make(WS_POPUP | WS_SYSMENU, 10, 10, 200, 100);
    HMENU OtherMenu = GetSystemMenu(Other, FALSE);
    EXPECT_NE(OtherMenu, M);
    EXPECT_EQ(GetMenuItemCount(OtherMenu), 7);
    EXPECT_EQ(GetMenuState(OtherMenu, UINT(SC_SIZE), MF_BYCOMMAND), MF_GRAYED);       // no sizing frame
    EXPECT_EQ(GetMenuState(OtherMenu, UINT(SC_MAXIMIZE), MF_BYCOMMAND), MF_GRAYED);   // no box

    // Reverting destroys the changed copy; the next one is fresh.
    EXPECT_EQ(GetSystemMenu(W, TRUE), nullptr);
    EXPECT_FALSE(IsMenu(M));
    HMENU Fresh = GetSystemMenu(W, FALSE);
    EXPECT_EQ(GetMenuItemCount(Fresh), 7);

    EXPECT_EQ(GetSystemMenu(nullptr, FALSE), nullptr);
    EXPECT_EQ(GetSystemMenu(GetDesktopWindow(), FALSE), nullptr);
}

TEST_F(WindowMenuTest, TheWindowMenuFollowsTheShowState)
{
    constexpr DWORD Sizable = WS_POPUP | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    HWND W = Make(Sizable, 10, 10, 200, 100);
    ShowWindow(W, SW_SHOWMAXIMIZED);
    ASSERT_TRUE(IsZoomed(W));
    HMENU M = GetSystemMenu(W, FALSE);
    auto State = [&](WPARAM Command) { return GetMenuState(M, UINT(Command), MF_BYCOMMAND) & MF_GRAYED; };
    EXPECT_EQ(State(SC_RESTORE), 0u);
    EXPECT_EQ(State(SC_MOVE), MF_GRAYED);
    EXPECT_EQ(State(SC_SIZE), MF_GRAYED);
    EXPECT_EQ(State(SC_MINIMIZE), 0u);
    EXPECT_EQ(State(SC_MAXIMIZE), MF_GRAYED);

    // A close the program disabled stays disabled when the loop brings the others up to date.
    EnableMenuItem(M, UINT(SC_CLOSE), MF_GRAYED);
    ShowWindow(W, SW_RESTORE);
    MenuCore::UpdateSystemMenu(W);
    EXPECT_EQ(State(SC_RESTORE), MF_GRAYED);
    EXPECT_EQ(State(SC_SIZE), 0u);
    EXPECT_EQ(State(SC_MAXIMIZE), 0u);
    EXPECT_EQ(State(SC_CLOSE), MF_GRAYED);
}

} // namespace
