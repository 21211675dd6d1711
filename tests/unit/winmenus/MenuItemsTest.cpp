// Menu items: the operations on the tree of MenuFixture.h as one table, the queries, MENUITEMINFO, and the
// handles of destroyed menus.
#include "tests/unit/winmenus/MenuFixture.h"

#include <cstdint>
#include <functional>

namespace {

struct TMenus
{
    HMENU Bar, File, Edit, Format;
};

struct TItemCase
{
    const char *Name;
    std::function<std::int64_t(const TMenus &)> Operation;
    std::int64_t Answer;
    const char *After;                   // nullptr: the tree stays as it was
    std::vector<HMENU TMenus::*> Gone;   // menus the operation destroyed
};

UINT_PTR H(HMENU M) { return reinterpret_cast<UINT_PTR>(M); }

MENUITEMINFO Info(UINT Mask, UINT Id, const char *Text)
{
    MENUITEMINFO I;
    I.fMask = Mask;
    I.wID = Id;
    I.dwTypeData = QString::fromUtf8(Text);
    return I;
}

constexpr std::int64_t NoItem = std::int64_t(DWORD(-1));

const std::vector<TItemCase> &ItemCases()
{
    static const std::vector<TItemCase> Cases = {
        {"append", [](const TMenus &M) { return AppendMenu(M.Bar, MF_STRING, 501, "&About"); }, TRUE,
         "File>[Open#101, -, Exit#102], Edit>[Copy#201, Format>[Bold#301, Italic#302+chk], Paste#202+gray], "
         "Help#401, About#501", {}},
        {"append a separator and an owner-drawn item",
         [](const TMenus &M) {
             return AppendMenu(M.File, MF_SEPARATOR, 0, QString()) &&
                    AppendMenu(M.File, MF_OWNERDRAW | MF_CHECKED, 103, "Drawn");
         },
         TRUE,
         "File>[Open#101, -, Exit#102, -, Drawn#103+chk+od], Edit>[Copy#201, Format>[Bold#301, "
         "Italic#302+chk], Paste#202+gray], Help#401", {}},
        {"insert by position before an item",
         [](const TMenus &M) { return InsertMenu(M.File, 1, MF_BYPOSITION | MF_STRING, 103, "&Save"); }, TRUE,
         "File>[Open#101, Save#103, -, Exit#102], Edit>[Copy#201, Format>[Bold#301, Italic#302+chk], "
         "Paste#202+gray], Help#401", {}},
        {"insert by position past the end appends",
         [](const TMenus &M) { return InsertMenu(M.File, 99, MF_BYPOSITION | MF_STRING, 103, "&Save"); }, TRUE,
         "File>[Open#101, -, Exit#102, Save#103], Edit>[Copy#201, Format>[Bold#301, Italic#302+chk], "
         "Paste#202+gray], Help#401", {}},
        {"insert by command goes into the sub-menu holding the item",
         [](const TMenus &M) { return InsertMenu(M.Bar, 302, MF_BYCOMMAND | MF_STRING, 303, "&Under"); }, TRUE,
         "File>[Open#101, -, Exit#102], Edit>[Copy#201, Format>[Bold#301, Under#303, Italic#302+chk], "
         "Paste#202+gray], Help#401", {}},
        {"insert before an unknown command fails",
         [](const TMenus &M) { return InsertMenu(M.Bar, 999, MF_BYCOMMAND | MF_STRING, 1, "X"); }, FALSE,
         nullptr, {}},
        {"insert an item by MENUITEMINFO by command",
         [](const TMenus &M) {
             MENUITEMINFO I = Info(MIIM_ID | MIIM_STRING | MIIM_STATE, 104, "&Print");
             I.fState = MFS_DEFAULT;
             return InsertMenuItem(M.Bar, 102, FALSE, &I);
         },
         TRUE,
         "File>[Open#101, -, Print#104+def, Exit#102], Edit>[Copy#201, Format>[Bold#301, Italic#302+chk], "
         "Paste#202+gray], Help#401", {}},
        {"modify by command keeps the place",
         [](const TMenus &M) {
             return ModifyMenu(M.Bar, 201, MF_BYCOMMAND | MF_STRING | MF_CHECKED, 205, "Cu&t");
         },
         TRUE,
         "File>[Open#101, -, Exit#102], Edit>[Cut#205+chk, Format>[Bold#301, Italic#302+chk], Paste#202+gray], "
         "Help#401", {}},
        {"modify a sub-menu's item into a command destroys the sub-menu",
         [](const TMenus &M) { return ModifyMenu(M.Bar, 1, MF_BYPOSITION | MF_STRING, 600, "&Edit"); }, TRUE,
         "File>[Open#101, -, Exit#102], Edit#600, Help#401", {&TMenus::Edit, &TMenus::Format}},
        {"modify a command into a sub-menu's item",
         [](const TMenus &M) {
             return RemoveMenu(M.Edit, 1, MF_BYPOSITION) &&
                    ModifyMenu(M.Bar, 401, MF_BYCOMMAND | MF_POPUP, H(M.Format), "&Help");
         },
         TRUE,
         "File>[Open#101, -, Exit#102], Edit>[Copy#201, Paste#202+gray], Help>[Bold#301, Italic#302+chk]", {}},
        {"remove keeps the sub-menu",
         [](const TMenus &M) {
             return RemoveMenu(M.Bar, 1, MF_BYPOSITION) && IsMenu(M.Edit) && GetMenuItemCount(M.Format) == 2;
         },
         TRUE, "File>[Open#101, -, Exit#102], Help#401", {}},
        {"delete destroys the sub-menu and its own",
         [](const TMenus &M) { return DeleteMenu(M.Bar, 1, MF_BYPOSITION); }, TRUE,
         "File>[Open#101, -, Exit#102], Help#401", {&TMenus::Edit, &TMenus::Format}},
        {"remove by command finds the item in depth",
         [](const TMenus &M) { return RemoveMenu(M.Bar, 301, MF_BYCOMMAND); }, TRUE,
         "File>[Open#101, -, Exit#102], Edit>[Copy#201, Format>[Italic#302+chk], Paste#202+gray], Help#401", {}},
        {"remove past the end fails", [](const TMenus &M) { return RemoveMenu(M.Bar, 3, MF_BYPOSITION); }, FALSE,
         nullptr, {}},
        {"by command, a sub-menu's items come before the later items",
         [](const TMenus &M) {
             AppendMenu(M.Format, MF_STRING, 401, "&Deep");
             return CheckMenuItem(M.Bar, 401, MF_BYCOMMAND | MF_CHECKED);
         },
         MF_UNCHECKED,
         "File>[Open#101, -, Exit#102], Edit>[Copy#201, Format>[Bold#301, Italic#302+chk, Deep#401+chk], "
         "Paste#202+gray], Help#401", {}},
        {"check answers the previous state: unchecked",
         [](const TMenus &M) { return CheckMenuItem(M.Bar, 301, MF_CHECKED); }, MF_UNCHECKED,
         "File>[Open#101, -, Exit#102], Edit>[Copy#201, Format>[Bold#301+chk, Italic#302+chk], Paste#202+gray], "
         "Help#401", {}},
        {"check answers the previous state: checked",
         [](const TMenus &M) { return CheckMenuItem(M.Format, 1, MF_BYPOSITION | MF_UNCHECKED); }, MF_CHECKED,
         "File>[Open#101, -, Exit#102], Edit>[Copy#201, Format>[Bold#301, Italic#302], Paste#202+gray], Help#401",
         {}},
        {"check an unknown item", [](const TMenus &M) { return CheckMenuItem(M.Bar, 999, MF_CHECKED); }, NoItem,
         nullptr, {}},
        {"enable answers the previous state",
         [](const TMenus &M) { return EnableMenuItem(M.Bar, 202, MF_ENABLED); }, MF_GRAYED,
         "File>[Open#101, -, Exit#102], Edit>[Copy#201, Format>[Bold#301, Italic#302+chk], Paste#202], Help#401",
         {}},
        {"disable a sub-menu's item by position",
         [](const TMenus &M) { return EnableMenuItem(M.Bar, 0, MF_BYPOSITION | MF_DISABLED); }, MF_ENABLED,
         "File+dis>[Open#101, -, Exit#102], Edit>[Copy#201, Format>[Bold#301, Italic#302+chk], Paste#202+gray], "
         "Help#401", {}},
        {"enable an unknown item", [](const TMenus &M) { return EnableMenuItem(M.Bar, 999, MF_ENABLED); }, -1,
         nullptr, {}},
        {"radio check by command",
         [](const TMenus &M) { return CheckMenuRadioItem(M.Bar, 301, 302, 301, MF_BYCOMMAND); }, TRUE,
         "File>[Open#101, -, Exit#102], Edit>[Copy#201, Format>[Bold#301+chk+radio, Italic#302], "
         "Paste#202+gray], Help#401", {}},
        {"radio check by position clears the others' marks",
         [](const TMenus &M) {
             return CheckMenuRadioItem(M.Format, 0, 1, 0, MF_BYPOSITION) &&
                    CheckMenuRadioItem(M.Format, 0, 1, 1, MF_BYPOSITION);
         },
         TRUE,
         "File>[Open#101, -, Exit#102], Edit>[Copy#201, Format>[Bold#301, Italic#302+chk+radio], "
         "Paste#202+gray], Help#401", {}},
        {"radio check of an item outside the range fails",
         [](const TMenus &M) { return CheckMenuRadioItem(M.Bar, 301, 302, 201, MF_BYCOMMAND); }, FALSE, nullptr,
         {}},
        {"radio check past the end fails",
         [](const TMenus &M) { return CheckMenuRadioItem(M.Format, 0, 2, 0, MF_BYPOSITION); }, FALSE, nullptr, {}},
        {"the default item is one of a menu",
         [](const TMenus &M) {
             return SetMenuDefaultItem(M.File, 0, TRUE) && SetMenuDefaultItem(M.File, 102, FALSE);
         },
         TRUE,
         "File>[Open#101, -, Exit#102+def], Edit>[Copy#201, Format>[Bold#301, Italic#302+chk], Paste#202+gray], "
         "Help#401", {}},
        {"no default item",
         [](const TMenus &M) {
             return SetMenuDefaultItem(M.File, 0, TRUE) && SetMenuDefaultItem(M.File, UINT(-1), TRUE);
         },
         TRUE, nullptr, {}},
        {"a default item by an unknown command fails",
         [](const TMenus &M) { return SetMenuDefaultItem(M.File, 999, FALSE); }, FALSE, nullptr, {}},
        {"a sub-menu that leads back to its holder is refused",
         [](const TMenus &M) {
             MENUITEMINFO I = Info(MIIM_SUBMENU | MIIM_STRING, 0, "Loop");
             I.hSubMenu = M.Edit;
             return InsertMenuItem(M.Format, 0, TRUE, &I) ||
                    AppendMenu(M.Edit, MF_POPUP, H(M.Edit), "Self") ||
                    ModifyMenu(M.Format, 0, MF_BYPOSITION | MF_POPUP, H(M.Bar), "Up");
         },
         FALSE, nullptr, {}},
        {"a sub-menu must be a live menu",
         [](const TMenus &M) {
             HMENU Gone = CreatePopupMenu();
             DestroyMenu(Gone);
             return AppendMenu(M.Bar, MF_POPUP, H(Gone), "Gone") || AppendMenu(M.Bar, MF_POPUP, 0, "Null");
         },
         FALSE, nullptr, {}},
        {"a bitmap item is neither separator nor owner-drawn",
         [](const TMenus &M) {
             return AppendMenu(M.Bar, MF_BITMAP | MF_SEPARATOR, 1, HBITMAP(nullptr)) ||
                    AppendMenu(M.Bar, MF_BITMAP | MF_OWNERDRAW, 1, HBITMAP(nullptr));
         },
         FALSE, nullptr, {}},
    };
    return Cases;
}

TEST_F(MenuTest, ItemOperations)
{
    for (const TItemCase &C : ItemCases()) {
        SCOPED_TRACE(C.Name);
        TearDown();
        Made.clear();
        SetUp();
        ASSERT_EQ(Picture(Bar), Initial);
        const TMenus Menus{Bar, File, Edit, Format};
        EXPECT_EQ(C.Operation(Menus), C.Answer);
        EXPECT_EQ(Picture(Bar), C.After ? C.After : Initial);
        for (HMENU TMenus::*Member : {&TMenus::File, &TMenus::Edit, &TMenus::Format}) {
            const bool Gone = std::find(C.Gone.begin(), C.Gone.end(), Member) != C.Gone.end();
            EXPECT_EQ(IsMenu(Menus.*Member), !Gone);
        }
    }
}

TEST_F(MenuTest, Queries)
{
    EXPECT_EQ(GetMenuItemCount(Bar), 3);
    EXPECT_EQ(GetMenuItemCount(Format), 2);
    EXPECT_EQ(GetMenuItemID(Bar, 0), UINT(-1));       // opens a sub-menu
    EXPECT_EQ(GetMenuItemID(File, 2), 102u);
    EXPECT_EQ(GetMenuItemID(File, 3), UINT(-1));
    EXPECT_EQ(GetMenuItemID(File, -1), UINT(-1));
    EXPECT_EQ(GetSubMenu(Bar, 1), Edit);
    EXPECT_EQ(GetSubMenu(Edit, 1), Format);
    EXPECT_EQ(GetSubMenu(Bar, 2), nullptr);
    EXPECT_EQ(GetSubMenu(Bar, 7), nullptr);

    EXPECT_EQ(GetMenuState(Bar, 1, MF_BYPOSITION), (3u << 8) | MF_POPUP);
    EXPECT_EQ(GetMenuState(Bar, 202, MF_BYCOMMAND), MF_GRAYED);
    EXPECT_EQ(GetMenuState(Bar, 302, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_EQ(GetMenuState(File, 1, MF_BYPOSITION), MF_SEPARATOR);
    EXPECT_EQ(GetMenuState(Bar, 999, MF_BYCOMMAND), UINT(-1));

    QString S;
    EXPECT_EQ(GetMenuString(Bar, 102, &S, MF_BYCOMMAND), 5);
    EXPECT_EQ(S, QStringLiteral("E&xit"));
    EXPECT_EQ(GetMenuString(Bar, 0, &S, MF_BYPOSITION), 5);
    EXPECT_EQ(S, QStringLiteral("&File"));
    EXPECT_EQ(GetMenuString(File, 1, &S, MF_BYPOSITION), 0);
    EXPECT_EQ(S, QString());
    EXPECT_EQ(GetMenuString(Bar, 999, nullptr, MF_BYCOMMAND), 0);
}

TEST_F(MenuTest, DefaultItemLookup)
{
    EXPECT_EQ(GetMenuDefaultItem(Bar, FALSE, 0), UINT(-1));
    SetMenuDefaultItem(Edit, 2, TRUE);                     // Paste, grayed
    EXPECT_EQ(GetMenuDefaultItem(Edit, FALSE, 0), UINT(-1));
    EXPECT_EQ(GetMenuDefaultItem(Edit, FALSE, GMDI_USEDISABLED), 202u);
    EXPECT_EQ(GetMenuDefaultItem(Edit, TRUE, GMDI_USEDISABLED), 2u);

    SetMenuDefaultItem(Edit, 1, TRUE);                     // Format, which has no default of its own
    SetMenuDefaultItem(Bar, 1, TRUE);
    EXPECT_EQ(GetMenuDefaultItem(Bar, TRUE, 0), 1u);
    EXPECT_EQ(GetMenuDefaultItem(Bar, TRUE, GMDI_GOINTOPOPUPS), 1u);
    SetMenuDefaultItem(Format, 302, FALSE);
    EXPECT_EQ(GetMenuDefaultItem(Bar, FALSE, GMDI_GOINTOPOPUPS), 302u);
}

TEST_F(MenuTest, ItemInfoReadsAndWritesWhatTheMaskNames)
{
    auto *Picture1 = reinterpret_cast<HBITMAP>(std::uintptr_t(0x10));
    auto *Picture2 = reinterpret_cast<HBITMAP>(std::uintptr_t(0x20));
    MENUITEMINFO Set;
    Set.fMask = MIIM_STRING | MIIM_BITMAP | MIIM_DATA | MIIM_CHECKMARKS | MIIM_FTYPE | MIIM_STATE;
    Set.dwTypeData = QStringLiteral("&Open…");
    Set.hbmpItem = Picture1;
    Set.hbmpChecked = Picture2;
    Set.dwItemData = 0xABCD;
    Set.fType = MFT_OWNERDRAW | MFT_RADIOCHECK;
    Set.fState = MFS_CHECKED | MFS_DEFAULT;
    ASSERT_TRUE(SetMenuItemInfo(Bar, 101, FALSE, &Set));

    MENUITEMINFO Get;
    Get.fMask = MIIM_STRING | MIIM_BITMAP | MIIM_DATA | MIIM_CHECKMARKS | MIIM_FTYPE | MIIM_STATE | MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfo(File, 0, TRUE, &Get));
    EXPECT_EQ(Get.dwTypeData, QStringLiteral("&Open…"));
    EXPECT_EQ(Get.cch, 6u);
    EXPECT_EQ(Get.hbmpItem, Picture1);
    EXPECT_EQ(Get.hbmpChecked, Picture2);
    EXPECT_EQ(Get.hbmpUnchecked, nullptr);
    EXPECT_EQ(Get.dwItemData, 0xABCDu);
    EXPECT_EQ(Get.fType, MFT_OWNERDRAW | MFT_RADIOCHECK);
    EXPECT_EQ(Get.fState, MFS_CHECKED | MFS_DEFAULT);
    EXPECT_EQ(Get.wID, 101u);

    // Members outside the mask stay as they were, on both sides.
    MENUITEMINFO OnlyId;
    OnlyId.fMask = MIIM_ID;
    OnlyId.wID = 111;
    OnlyId.dwTypeData = QStringLiteral("ignored");
    ASSERT_TRUE(SetMenuItemInfo(File, 0, TRUE, &OnlyId));
    MENUITEMINFO Partial;
    Partial.fMask = MIIM_ID;
    Partial.dwTypeData = QStringLiteral("untouched");
    ASSERT_TRUE(GetMenuItemInfo(File, 0, TRUE, &Partial));
    EXPECT_EQ(Partial.wID, 111u);
    EXPECT_EQ(Partial.dwTypeData, QStringLiteral("untouched"));
    EXPECT_EQ(GetMenuString(File, 0, nullptr, MF_BYPOSITION), 6);

    // MIIM_TYPE: a separator drops its text; a bitmap item's bitmap comes back in hbmpItem.
    MENUITEMINFO Type;
    Type.fMask = MIIM_TYPE;
    Type.fType = MFT_SEPARATOR;
    Type.dwTypeData = QStringLiteral("dropped");
    ASSERT_TRUE(SetMenuItemInfo(File, 0, TRUE, &Type));
    EXPECT_EQ(GetMenuState(File, 0, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
    EXPECT_EQ(GetMenuString(File, 0, nullptr, MF_BYPOSITION), 0);
    ASSERT_TRUE(ModifyMenu(File, 2, MF_BYPOSITION | MF_BITMAP, 102, Picture2));
    MENUITEMINFO Bitmap;
    Bitmap.fMask = MIIM_TYPE;
    Bitmap.dwTypeData = QStringLiteral("x");
    ASSERT_TRUE(GetMenuItemInfo(File, 2, TRUE, &Bitmap));
    EXPECT_EQ(Bitmap.fType, MFT_BITMAP);
    EXPECT_EQ(Bitmap.hbmpItem, Picture2);
    EXPECT_EQ(Bitmap.dwTypeData, QString());

    // A record of another size and a bitmap separator are refused without a change.
    MENUITEMINFO Wrong = Set;
    Wrong.cbSize = 48;
    EXPECT_FALSE(SetMenuItemInfo(File, 1, TRUE, &Wrong));
    EXPECT_FALSE(GetMenuItemInfo(File, 1, TRUE, &Wrong));
    EXPECT_FALSE(InsertMenuItem(File, 0, TRUE, &Wrong));
    MENUITEMINFO Bad;
    Bad.fMask = MIIM_FTYPE | MIIM_STRING;
    Bad.fType = MFT_BITMAP | MFT_SEPARATOR;
    Bad.dwTypeData = QStringLiteral("bad");
    EXPECT_FALSE(SetMenuItemInfo(File, 1, TRUE, &Bad));
    EXPECT_FALSE(SetMenuItemInfo(File, 1, TRUE, nullptr));
    EXPECT_EQ(GetMenuState(File, 1, MF_BYPOSITION), MF_SEPARATOR);
}

TEST_F(MenuTest, SetMenuItemInfoReplacesASubMenuWithoutDestroyingIt)
{
    HMENU Other = Keep(CreatePopupMenu());
    MENUITEMINFO I;
    I.fMask = MIIM_SUBMENU;
    I.hSubMenu = Other;
    ASSERT_TRUE(SetMenuItemInfo(Bar, 1, TRUE, &I));
    EXPECT_EQ(GetSubMenu(Bar, 1), Other);
    EXPECT_TRUE(IsMenu(Edit));
    EXPECT_TRUE(IsMenu(Format));

    I.hSubMenu = nullptr;
    ASSERT_TRUE(SetMenuItemInfo(Bar, 1, TRUE, &I));
    EXPECT_EQ(GetSubMenu(Bar, 1), nullptr);
    EXPECT_TRUE(IsMenu(Other));
}

TEST_F(MenuTest, MenuInfoAppliesToSubMenusWhenAsked)
{
    MENUINFO Set;
    Set.fMask = MIM_STYLE | MIM_MENUDATA | MIM_MAXHEIGHT | MIM_APPLYTOSUBMENUS;
    Set.dwStyle = MNS_NOTIFYBYPOS;
    Set.dwMenuData = 7;
    Set.cyMax = 300;
    ASSERT_TRUE(SetMenuInfo(Edit, &Set));
    Set.fMask = MIM_MENUDATA;
    Set.dwMenuData = 9;
    ASSERT_TRUE(SetMenuInfo(Edit, &Set));

    MENUINFO Get;
    Get.fMask = MIM_STYLE | MIM_MENUDATA | MIM_MAXHEIGHT;
    ASSERT_TRUE(GetMenuInfo(Format, &Get));
    EXPECT_EQ(Get.dwStyle, MNS_NOTIFYBYPOS);
    EXPECT_EQ(Get.dwMenuData, 7u);
    EXPECT_EQ(Get.cyMax, 300u);
    ASSERT_TRUE(GetMenuInfo(Edit, &Get));
    EXPECT_EQ(Get.dwMenuData, 9u);
    ASSERT_TRUE(GetMenuInfo(File, &Get));
    EXPECT_EQ(Get.dwStyle, 0u);
    Get.cbSize = 0;
    EXPECT_FALSE(GetMenuInfo(File, &Get));
}

TEST_F(MenuTest, DestroyingAMenuTakesItsSubMenusAndIsForgottenWhereItWasUsed)
{
    // Format opens from a second item too; destroying Edit must leave that item without a sub-menu.
    ASSERT_TRUE(AppendMenu(File, MF_POPUP, H(Format), "&Shared"));
    ASSERT_TRUE(DestroyMenu(Edit));
    EXPECT_FALSE(IsMenu(Edit));
    EXPECT_FALSE(IsMenu(Format));
    EXPECT_EQ(Picture(Bar), "File>[Open#101, -, Exit#102, Shared#0], Edit#0, Help#401");
    EXPECT_EQ(GetMenuState(Bar, 1, MF_BYPOSITION) & MF_POPUP, 0u);

    EXPECT_TRUE(DestroyMenu(Bar));
    EXPECT_FALSE(IsMenu(File));
}

TEST_F(MenuTest, NullAndDestroyedHandlesAreRefused)
{
    HMENU Gone = CreatePopupMenu();
    AppendMenu(Gone, MF_STRING, 1, "One");
    ASSERT_TRUE(DestroyMenu(Gone));
    for (HMENU M : {HMENU(nullptr), Gone}) {
        MENUITEMINFO I;
        I.fMask = MIIM_ID;
        MENUINFO MI;
        QString S;
        EXPECT_FALSE(IsMenu(M));
        EXPECT_FALSE(DestroyMenu(M));
        EXPECT_EQ(GetMenuItemCount(M), -1);
        EXPECT_EQ(GetMenuItemID(M, 0), UINT(-1));
        EXPECT_EQ(GetSubMenu(M, 0), nullptr);
        EXPECT_EQ(GetMenuState(M, 0, MF_BYPOSITION), UINT(-1));
        EXPECT_EQ(GetMenuString(M, 1, &S, MF_BYCOMMAND), 0);
        EXPECT_FALSE(AppendMenu(M, MF_STRING, 2, "Two"));
        EXPECT_FALSE(InsertMenu(M, 0, MF_BYPOSITION, 2, "Two"));
        EXPECT_FALSE(InsertMenuItem(M, 0, TRUE, &I));
        EXPECT_FALSE(ModifyMenu(M, 0, MF_BYPOSITION, 2, "Two"));
        EXPECT_FALSE(GetMenuItemInfo(M, 0, TRUE, &I));
        EXPECT_FALSE(SetMenuItemInfo(M, 0, TRUE, &I));
        EXPECT_FALSE(RemoveMenu(M, 0, MF_BYPOSITION));
        EXPECT_FALSE(DeleteMenu(M, 0, MF_BYPOSITION));
        EXPECT_EQ(CheckMenuItem(M, 0, MF_BYPOSITION | MF_CHECKED), DWORD(-1));
        EXPECT_EQ(EnableMenuItem(M, 0, MF_BYPOSITION), -1);
        EXPECT_FALSE(CheckMenuRadioItem(M, 0, 0, 0, MF_BYPOSITION));
        EXPECT_FALSE(SetMenuDefaultItem(M, 0, TRUE));
        EXPECT_EQ(GetMenuDefaultItem(M, TRUE, 0), UINT(-1));
        EXPECT_FALSE(SetMenuItemBitmaps(M, 0, MF_BYPOSITION, nullptr, nullptr));
        EXPECT_FALSE(GetMenuInfo(M, &MI));
        EXPECT_FALSE(SetMenuInfo(M, &MI));
    }
    // A menu made afterwards is never the stale one.
    HMENU Fresh = Keep(CreatePopupMenu());
    EXPECT_NE(Fresh, Gone);
    EXPECT_FALSE(IsMenu(Gone));
}

} // namespace
