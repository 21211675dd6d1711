// Menus: the handle table, items and the operations on them.
#include "platform/MenuObject.h"

#include <QSet>

#include <deque>
#include <utility>

namespace {

struct TMenuGlobals
{
    QSet<HMENU> Live;
    std::deque<HMENU> Quarantine;

    // At exit: only memory of this layer's own is left to give back.
    ~TMenuGlobals()
    {
        for (HMENU M : Live)
            delete M;
        for (HMENU M : Quarantine)
            delete M;
    }
};

TMenuGlobals &G()
{
    static TMenuGlobals Globals;
    return Globals;
}

// As with windows: a destroyed menu's memory is not handed out again at once, so a stale handle cannot come
// back to life as a new menu at the same address.
void Quarantine(HMENU M)
{
    constexpr std::size_t Kept = 4096;
    *M = HMENU__();
    auto &Q = G().Quarantine;
    Q.push_back(M);
    if (Q.size() > Kept) {
        delete Q.front();
        Q.pop_front();
    }
}

HMENU NewMenu(bool Popup)
{
    HMENU M = new HMENU__;
    M->Popup = Popup;
    G().Live.insert(M);
    return M;
}

constexpr UINT KnownTypes = MFT_BITMAP | MFT_MENUBARBREAK | MFT_MENUBREAK | MFT_OWNERDRAW | MFT_RADIOCHECK |
                            MFT_SEPARATOR | MFT_RIGHTORDER | MFT_RIGHTJUSTIFY;
constexpr UINT KnownStates = MFS_GRAYED | MFS_CHECKED | MFS_HILITE | MFS_DEFAULT;
constexpr UINT FlagTypes = MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_MENUBARBREAK | MF_MENUBREAK | MF_RIGHTJUSTIFY;
constexpr UINT NoItem = UINT(-1);

// A bitmap item is neither a separator nor drawn by its owner.
bool ValidType(UINT Type) { return !(Type & MFT_BITMAP) || !(Type & (MFT_SEPARATOR | MFT_OWNERDRAW)); }
bool HasText(UINT Type) { return !(Type & (MFT_BITMAP | MFT_SEPARATOR)); }
bool Disabled(const MenuItemData &It) { return It.State & MFS_GRAYED; }

bool Reaches(HMENU From, HMENU Target)
{
    if (From == Target)
        return true;
    for (const MenuItemData &It : From->Items)
        if (It.SubMenu && Reaches(It.SubMenu, Target))
            return true;
    return false;
}

// Sub may open from an item of Holder: a live menu that does not lead back to Holder.
bool FitsAsSubMenu(HMENU Holder, HMENU Sub) { return MenuCore::IsLive(Sub) && !Reaches(Sub, Holder); }

MenuItemData *FindByCommand(HMENU &Menu, UINT Id, int *Pos)
{
    for (std::size_t I = 0; I < Menu->Items.size(); ++I) {
        MenuItemData &It = Menu->Items[I];
        if (It.SubMenu) {
            HMENU Sub = It.SubMenu;
            if (MenuItemData *Found = FindByCommand(Sub, Id, Pos)) {
                Menu = Sub;
                return Found;
            }
        }
        if (It.Id == Id) {
            if (Pos)
                *Pos = int(I);
            return &It;
        }
    }
    return nullptr;
}

// Where a new item goes: Holder and the index to insert before.
bool InsertionPoint(HMENU &Holder, UINT Item, bool ByPosition, int *Pos)
{
    if (!MenuCore::IsLive(Holder))
        return false;
    if (ByPosition) {
        *Pos = Item >= Holder->Items.size() ? int(Holder->Items.size()) : int(Item);
        return true;
    }
    return MenuCore::FindItem(Holder, Item, MF_BYCOMMAND, Pos) != nullptr;
}

bool ValidInfo(const MENUITEMINFO *Info) { return Info && Info->cbSize == sizeof(MENUITEMINFO); }

// The members Info names, onto It (an item of Holder); nothing changes when they are not valid.
bool ApplyInfo(HMENU Holder, MenuItemData &It, const MENUITEMINFO &Info)
{
    const UINT M = Info.fMask;
    if ((M & (MIIM_TYPE | MIIM_FTYPE)) && !ValidType(Info.fType))
        return false;
    if ((M & MIIM_SUBMENU) && Info.hSubMenu && !FitsAsSubMenu(Holder, Info.hSubMenu))
        return false;
    if (M & MIIM_TYPE) {
        It.Type = Info.fType & KnownTypes;
        It.Text = HasText(It.Type) ? Info.dwTypeData : QString();
        if (It.Type & MFT_BITMAP)
            It.Bitmap = Info.hbmpItem;
    }
    if (M & MIIM_FTYPE)
        It.Type = Info.fType & KnownTypes;
    if (M & MIIM_STRING)
        It.Text = Info.dwTypeData;
    if (M & MIIM_BITMAP)
        It.Bitmap = Info.hbmpItem;
    if (M & MIIM_STATE)
        It.State = Info.fState & KnownStates;
    if (M & MIIM_ID)
        It.Id = Info.wID;
    if (M & MIIM_SUBMENU)
        It.SubMenu = Info.hSubMenu;
    if (M & MIIM_CHECKMARKS) {
        It.CheckedBitmap = Info.hbmpChecked;
        It.UncheckedBitmap = Info.hbmpUnchecked;
    }
    if (M & MIIM_DATA)
        It.ItemData = Info.dwItemData;
    return true;
}

// The item the classic flag forms describe, for Holder.
bool ItemFromFlags(HMENU Holder, UINT Flags, UINT_PTR IdNewItem, const QString &Text, HBITMAP Bitmap,
                   MenuItemData &It)
{
    const UINT Type = Flags & FlagTypes;
    if (!ValidType(Type))
        return false;
    HMENU Sub = (Flags & MF_POPUP) ? reinterpret_cast<HMENU>(IdNewItem) : nullptr;
    if ((Flags & MF_POPUP) && !FitsAsSubMenu(Holder, Sub))
        return false;
    It.Type = Type;
    It.State = Flags & KnownStates;
    It.Id = Sub ? 0 : UINT(IdNewItem);
    It.SubMenu = Sub;
    It.Text = HasText(Type) ? Text : QString();
    It.Bitmap = (Type & MFT_BITMAP) ? Bitmap : nullptr;
    return true;
}

BOOL InsertFromFlags(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, const QString &Text,
                     HBITMAP Bitmap)
{
    HMENU Holder = Menu;
    int Pos = 0;
    MenuItemData New;
    if (!InsertionPoint(Holder, Position, Flags & MF_BYPOSITION, &Pos) ||
        !ItemFromFlags(Holder, Flags, IdNewItem, Text, Bitmap, New))
        return FALSE;
    Holder->Items.insert(Holder->Items.begin() + Pos, std::move(New));
    return TRUE;
}

BOOL ModifyFromFlags(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, const QString &Text,
                     HBITMAP Bitmap)
{
    HMENU Holder = Menu;
    MenuItemData *It = MenuCore::FindItem(Holder, Position, Flags);
    MenuItemData New;
    if (!It || !ItemFromFlags(Holder, Flags, IdNewItem, Text, Bitmap, New))
        return FALSE;
    New.ItemData = It->ItemData;
    New.CheckedBitmap = It->CheckedBitmap;
    New.UncheckedBitmap = It->UncheckedBitmap;
    HMENU Old = It->SubMenu;
    *It = std::move(New);
    if (Old && Old != It->SubMenu)
        DestroyMenu(Old);
    return TRUE;
}

BOOL TakeItem(HMENU Menu, UINT Position, UINT Flags, bool DestroySubMenu)
{
    HMENU Holder = Menu;
    int Pos = 0;
    MenuItemData *It = MenuCore::FindItem(Holder, Position, Flags, &Pos);
    if (!It)
        return FALSE;
    HMENU Sub = It->SubMenu;
    Holder->Items.erase(Holder->Items.begin() + Pos);
    if (DestroySubMenu && Sub)
        DestroyMenu(Sub);
    return TRUE;
}

// Items that open Menu open nothing from now on.
void ForgetReferences(HMENU Menu)
{
    for (HMENU M : std::as_const(G().Live))
        for (MenuItemData &It : M->Items)
            if (It.SubMenu == Menu)
                It.SubMenu = nullptr;
}

int IndexOfCommand(HMENU Menu, UINT Id, int From)
{
    for (int I = From; I < int(Menu->Items.size()); ++I)
        if (Menu->Items[I].Id == Id)
            return I;
    return -1;
}

void ApplyMenuInfo(HMENU Menu, const MENUINFO &Info)
{
    if (Info.fMask & MIM_STYLE)
        Menu->Style = Info.dwStyle;
    if (Info.fMask & MIM_MAXHEIGHT)
        Menu->MaxHeight = Info.cyMax;
    if (Info.fMask & MIM_BACKGROUND)
        Menu->Background = Info.hbrBack;
    if (Info.fMask & MIM_HELPID)
        Menu->ContextHelpId = Info.dwContextHelpID;
    if (Info.fMask & MIM_MENUDATA)
        Menu->MenuData = Info.dwMenuData;
    if (Info.fMask & MIM_APPLYTOSUBMENUS)
        for (const MenuItemData &It : Menu->Items)
            if (It.SubMenu)
                ApplyMenuInfo(It.SubMenu, Info);
}

} // namespace

namespace MenuCore {

bool IsLive(HMENU Menu) { return Menu && G().Live.contains(Menu); }

MenuItemData *FindItem(HMENU &Menu, UINT Item, UINT Flags, int *Pos)
{
    if (!IsLive(Menu))
        return nullptr;
    if (!(Flags & MF_BYPOSITION))
        return FindByCommand(Menu, Item, Pos);
    if (Item >= Menu->Items.size())
        return nullptr;
    if (Pos)
        *Pos = int(Item);
    return &Menu->Items[Item];
}

} // namespace MenuCore

using MenuCore::FindItem;
using MenuCore::IsLive;

// ---- menus --------------------------------------------------------------------------------------------

HMENU CreateMenu() { return NewMenu(false); }

HMENU CreatePopupMenu() { return NewMenu(true); }

BOOL DestroyMenu(HMENU Menu)
{
    if (!IsLive(Menu))
        return FALSE;
    G().Live.remove(Menu);
    if (Menu->Window)
        MenuCore::DetachFromWindow(Menu);
    std::vector<MenuItemData> Items;
    Items.swap(Menu->Items);
    for (const MenuItemData &It : Items)
        if (It.SubMenu)
            DestroyMenu(It.SubMenu);
    ForgetReferences(Menu);
    Quarantine(Menu);
    return TRUE;
}

BOOL IsMenu(HMENU Menu) { return IsLive(Menu); }

int GetMenuItemCount(HMENU Menu) { return IsLive(Menu) ? int(Menu->Items.size()) : -1; }

UINT GetMenuItemID(HMENU Menu, int Pos)
{
    const MenuItemData *It = Pos < 0 ? nullptr : FindItem(Menu, UINT(Pos), MF_BYPOSITION);
    return It && !It->SubMenu ? It->Id : NoItem;
}

HMENU GetSubMenu(HMENU Menu, int Pos)
{
    const MenuItemData *It = Pos < 0 ? nullptr : FindItem(Menu, UINT(Pos), MF_BYPOSITION);
    return It ? It->SubMenu : nullptr;
}

UINT GetMenuState(HMENU Menu, UINT Item, UINT Flags)
{
    const MenuItemData *It = FindItem(Menu, Item, Flags);
    if (!It)
        return NoItem;
    const UINT State = It->Type | It->State;
    if (!It->SubMenu)
        return State;
    return (UINT(It->SubMenu->Items.size()) << 8) | ((State | MF_POPUP) & 0xFF);
}

int GetMenuString(HMENU Menu, UINT Item, QString *String, UINT Flags)
{
    const MenuItemData *It = FindItem(Menu, Item, Flags);
    if (!It)
        return 0;
    if (String)
        *String = It->Text;
    return int(It->Text.size());
}

BOOL InsertMenuItem(HMENU Menu, UINT Item, BOOL ByPosition, const MENUITEMINFO *Info)
{
    HMENU Holder = Menu;
    int Pos = 0;
    MenuItemData New;
    if (!ValidInfo(Info) || !InsertionPoint(Holder, Item, ByPosition, &Pos) || !ApplyInfo(Holder, New, *Info))
        return FALSE;
    Holder->Items.insert(Holder->Items.begin() + Pos, std::move(New));
    return TRUE;
}

BOOL GetMenuItemInfo(HMENU Menu, UINT Item, BOOL ByPosition, MENUITEMINFO *Info)
{
    const MenuItemData *It = FindItem(Menu, Item, ByPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!It || !ValidInfo(Info))
        return FALSE;
    const UINT M = Info->fMask;
    if (M & (MIIM_TYPE | MIIM_FTYPE))
        Info->fType = It->Type;
    if (M & MIIM_TYPE) {
        Info->dwTypeData = HasText(It->Type) ? It->Text : QString();
        Info->cch = UINT(Info->dwTypeData.size());
        if (It->Type & MFT_BITMAP)
            Info->hbmpItem = It->Bitmap;
    }
    if (M & MIIM_STRING) {
        Info->dwTypeData = It->Text;
        Info->cch = UINT(It->Text.size());
    }
    if (M & MIIM_BITMAP)
        Info->hbmpItem = It->Bitmap;
    if (M & MIIM_STATE)
        Info->fState = It->State;
    if (M & MIIM_ID)
        Info->wID = It->Id;
    if (M & MIIM_SUBMENU)
        Info->hSubMenu = It->SubMenu;
    if (M & MIIM_CHECKMARKS) {
        Info->hbmpChecked = It->CheckedBitmap;
        Info->hbmpUnchecked = It->UncheckedBitmap;
    }
    if (M & MIIM_DATA)
        Info->dwItemData = It->ItemData;
    return TRUE;
}

BOOL SetMenuItemInfo(HMENU Menu, UINT Item, BOOL ByPosition, const MENUITEMINFO *Info)
{
    HMENU Holder = Menu;
    MenuItemData *It = FindItem(Holder, Item, ByPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    return It && ValidInfo(Info) && ApplyInfo(Holder, *It, *Info);
}

BOOL AppendMenu(HMENU Menu, UINT Flags, UINT_PTR IdNewItem, const QString &NewItem)
{
    return InsertFromFlags(Menu, NoItem, Flags | MF_BYPOSITION, IdNewItem, NewItem, nullptr);
}

BOOL AppendMenu(HMENU Menu, UINT Flags, UINT_PTR IdNewItem, HBITMAP NewItem)
{
    return InsertFromFlags(Menu, NoItem, Flags | MF_BYPOSITION, IdNewItem, QString(), NewItem);
}

BOOL InsertMenu(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, const QString &NewItem)
{
    return InsertFromFlags(Menu, Position, Flags, IdNewItem, NewItem, nullptr);
}

BOOL InsertMenu(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, HBITMAP NewItem)
{
    return InsertFromFlags(Menu, Position, Flags, IdNewItem, QString(), NewItem);
}

BOOL ModifyMenu(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, const QString &NewItem)
{
    return ModifyFromFlags(Menu, Position, Flags, IdNewItem, NewItem, nullptr);
}

BOOL ModifyMenu(HMENU Menu, UINT Position, UINT Flags, UINT_PTR IdNewItem, HBITMAP NewItem)
{
    return ModifyFromFlags(Menu, Position, Flags, IdNewItem, QString(), NewItem);
}

BOOL RemoveMenu(HMENU Menu, UINT Position, UINT Flags) { return TakeItem(Menu, Position, Flags, false); }

BOOL DeleteMenu(HMENU Menu, UINT Position, UINT Flags) { return TakeItem(Menu, Position, Flags, true); }

DWORD CheckMenuItem(HMENU Menu, UINT Item, UINT Check)
{
    MenuItemData *It = FindItem(Menu, Item, Check);
    if (!It)
        return DWORD(NoItem);
    const DWORD Old = It->State & MF_CHECKED;
    It->State = (It->State & ~MF_CHECKED) | (Check & MF_CHECKED);
    return Old;
}

BOOL EnableMenuItem(HMENU Menu, UINT Item, UINT Enable)
{
    constexpr UINT Bits = MF_GRAYED | MF_DISABLED;
    MenuItemData *It = FindItem(Menu, Item, Enable);
    if (!It)
        return -1;
    const BOOL Old = BOOL(It->State & Bits);
    It->State = (It->State & ~Bits) | (Enable & Bits);
    return Old;
}

BOOL CheckMenuRadioItem(HMENU Menu, UINT First, UINT Last, UINT Check, UINT Flags)
{
    HMENU Holder = Menu;
    int From = 0, To = 0, Checked = 0;
    if (Flags & MF_BYPOSITION) {
        if (!IsLive(Holder) || First > Last || Last >= Holder->Items.size())
            return FALSE;
        From = int(First);
        To = int(Last);
        Checked = int(Check);
    } else {
        if (!FindItem(Holder, First, MF_BYCOMMAND, &From))
            return FALSE;
        To = IndexOfCommand(Holder, Last, From);
        Checked = IndexOfCommand(Holder, Check, From);
    }
    if (From > To || Checked < From || Checked > To)
        return FALSE;
    for (int I = From; I <= To; ++I) {
        MenuItemData &It = Holder->Items[I];
        const bool On = I == Checked;
        It.Type = On ? It.Type | MFT_RADIOCHECK : It.Type & ~MFT_RADIOCHECK;
        It.State = On ? It.State | MFS_CHECKED : It.State & ~MFS_CHECKED;
    }
    return TRUE;
}

BOOL SetMenuDefaultItem(HMENU Menu, UINT Item, UINT ByPos)
{
    if (!IsLive(Menu))
        return FALSE;
    int Index = -1;
    if (Item != NoItem) {
        Index = ByPos ? (Item < Menu->Items.size() ? int(Item) : -1) : IndexOfCommand(Menu, Item, 0);
        if (Index < 0)
            return FALSE;
    }
    for (int I = 0; I < int(Menu->Items.size()); ++I) {
        UINT &State = Menu->Items[I].State;
        State = I == Index ? State | MFS_DEFAULT : State & ~MFS_DEFAULT;
    }
    return TRUE;
}

UINT GetMenuDefaultItem(HMENU Menu, UINT ByPos, UINT Flags)
{
    if (!IsLive(Menu))
        return NoItem;
    for (std::size_t I = 0; I < Menu->Items.size(); ++I) {
        const MenuItemData &It = Menu->Items[I];
        if (!(It.State & MFS_DEFAULT))
            continue;
        if (Disabled(It) && !(Flags & GMDI_USEDISABLED))
            return NoItem;
        if (It.SubMenu && (Flags & GMDI_GOINTOPOPUPS)) {
            const UINT Inner = GetMenuDefaultItem(It.SubMenu, ByPos, Flags);
            if (Inner != NoItem)
                return Inner;
        }
        return ByPos ? UINT(I) : It.Id;
    }
    return NoItem;
}

BOOL SetMenuItemBitmaps(HMENU Menu, UINT Position, UINT Flags, HBITMAP Unchecked, HBITMAP Checked)
{
    MenuItemData *It = FindItem(Menu, Position, Flags);
    if (!It)
        return FALSE;
    It->UncheckedBitmap = Unchecked;
    It->CheckedBitmap = Checked;
    return TRUE;
}

BOOL GetMenuInfo(HMENU Menu, MENUINFO *Info)
{
    if (!IsLive(Menu) || !Info || Info->cbSize != sizeof(MENUINFO))
        return FALSE;
    if (Info->fMask & MIM_STYLE)
        Info->dwStyle = Menu->Style;
    if (Info->fMask & MIM_MAXHEIGHT)
        Info->cyMax = Menu->MaxHeight;
    if (Info->fMask & MIM_BACKGROUND)
        Info->hbrBack = Menu->Background;
    if (Info->fMask & MIM_HELPID)
        Info->dwContextHelpID = Menu->ContextHelpId;
    if (Info->fMask & MIM_MENUDATA)
        Info->dwMenuData = Menu->MenuData;
    return TRUE;
}

BOOL SetMenuInfo(HMENU Menu, const MENUINFO *Info)
{
    if (!IsLive(Menu) || !Info || Info->cbSize != sizeof(MENUINFO))
        return FALSE;
    ApplyMenuInfo(Menu, *Info);
    return TRUE;
}
