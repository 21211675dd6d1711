#include "framework/controls/Menus.h"

#include "framework/graphics/ImgList.h"

#include <QHash>
#include <algorithm>
#include <set>

namespace {

// Command numbers of the items that exist, lowest free first; 0 stays "no command".
struct TCommandPool
{
    std::set<int> Free;
    int Next = 1;

    int Take()
    {
        if (Free.empty())
            return Next++;
        const int Result = *Free.begin();
        Free.erase(Free.begin());
        return Result;
    }
    void Give(int Command)
    {
        if (Command > 0)
            Free.insert(Command);
    }
};

TCommandPool &CommandPool()
{
    static TCommandPool Pool;
    return Pool;
}

[[noreturn]] void MenuIndexError()
{
    throw EMenuError(QStringLiteral("Menu index out of range"));
}

bool Matches(TMenuItem *Item, quintptr Value, TFindItemKind Kind)
{
    switch (Kind) {
    case fkCommand: return quintptr(Item->Command()) == Value;
    case fkHandle: return Item->HandleAllocated() && reinterpret_cast<quintptr>(Item->Handle()) == Value;
    case fkShortCut: return Item->ShortCut() == Value;
    }
    return false;
}

TMenuItem *FindIn(const TMenuItem *Parent, quintptr Value, TFindItemKind Kind)
{
    for (int I = 0; I < Parent->Count(); ++I) {
        TMenuItem *Item = Parent->Items(I);
        if (Matches(Item, Value, Kind))
            return Item;
        if (TMenuItem *Found = FindIn(Item, Value, Kind))
            return Found;
    }
    return nullptr;
}

} // namespace

// ---- TMenuItem ----------------------------------------------------------------------------------------

KIV_PUBLISHED(TMenuItem)
{
    Property("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck).Default(false);
    Property("Break", &TMenuItem::Break, &TMenuItem::SetBreak).Default(mbNone);
    Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
    Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false);
    Property("Default", &TMenuItem::Default, &TMenuItem::SetDefault).Default(false);
    Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true);
    Property("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0);
    Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
    Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1);
    Property("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(false);
    Property("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut).Default(scNone);
    Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true);
    Property("OnClick", &TMenuItem::OnClick, &TMenuItem::OnClick);
    Property("OnDrawItem", &TMenuItem::OnDrawItem, &TMenuItem::OnDrawItem);
    Property("OnMeasureItem", &TMenuItem::OnMeasureItem, &TMenuItem::OnMeasureItem);
}

void TMenuItem::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FCommand = CommandPool().Take();
}

// The item leaves its parent and takes its sub-items with it before its owner hears that it goes.
void TMenuItem::BeforeDestruction()
{
    Destroying();
    if (FParent)
        FParent->Remove(this);
    while (!FItems.isEmpty()) {
        TMenuItem *Item = FItems.first();
        Item->Free();
        if (!FItems.isEmpty() && FItems.first() == Item) {   // it was already being freed further up the stack
            FItems.removeFirst();
            Item->FParent = nullptr;
        }
    }
    inherited::BeforeDestruction();
}

TMenuItem::~TMenuItem()
{
    *FAlive = false;
    if (FHandle)
        DestroyMenu(FHandle);
    CommandPool().Give(FCommand);
}

TMenuItem *TMenuItem::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        MenuIndexError();
    return FItems[Index];
}

void TMenuItem::Add(TMenuItem *Item)
{
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem *Item)
{
    if (!Item)
        return;
    if (Item->FParent || Item->FMenu)
        throw EMenuError(QStringLiteral("Menu inserted twice"));
    if (Item->ContainsItem(this))
        throw EMenuError(QStringLiteral("A menu item cannot hold itself"));
    if (Index < 0 || Index > Count())
        MenuIndexError();
    FItems.insert(Index, Item);
    Item->FParent = this;
    RebuildHandle();
    MenuChanged(Count() == 1);
}

void TMenuItem::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        MenuIndexError();
    TMenuItem *Item = FItems.takeAt(Index);
    Item->FParent = nullptr;
    RebuildHandle();
    MenuChanged(Count() == 0);
}

void TMenuItem::Remove(TMenuItem *Item)
{
    const int Index = IndexOf(Item);
    if (Index < 0)
        throw EMenuError(QStringLiteral("Sub-menu is not in menu"));
    Delete(Index);
}

void TMenuItem::Clear()
{
    while (!FItems.isEmpty())
        FItems.last()->Free();
}

TMenuItem *TMenuItem::Find(const QString &ACaption) const
{
    const QString Wanted = StripHotkey(ACaption);
    for (TMenuItem *Item : FItems)
        if (SameText(Wanted, StripHotkey(Item->FCaption)))
            return Item;
    return nullptr;
}

bool TMenuItem::ContainsItem(const TMenuItem *Item) const
{
    for (const TMenuItem *P = Item; P; P = P->FParent)
        if (P == this)
            return true;
    return false;
}

void TMenuItem::SetMenuIndex(int Value)
{
    if (!FParent)
        return;
    const int Index = MenuIndex();
    Value = std::clamp(Value, 0, FParent->Count() - 1);
    if (Value == Index)
        return;
    FParent->FItems.move(Index, Value);
    FParent->RebuildHandle();
    FParent->MenuChanged(false);
}

TMenu *TMenuItem::GetParentMenu() const
{
    const TMenuItem *Root = this;
    while (Root->FParent)
        Root = Root->FParent;
    return Root->FMenu;
}

// ---- properties

void TMenuItem::SetCaption(const QString &Value)
{
    if (FCaption == Value)
        return;
    FCaption = Value;
    MenuChanged(true);
}

void TMenuItem::SetEnabled(bool Value)
{
    if (FEnabled == Value)
        return;
    FEnabled = Value;
    MenuChanged(Count() > 0);
}

void TMenuItem::SetVisible(bool Value)
{
    if (FVisible == Value)
        return;
    FVisible = Value;
    MenuChanged(true);
}

void TMenuItem::SetChecked(bool Value)
{
    if (FChecked == Value)
        return;
    FChecked = Value;
    if (Value && FRadioItem)
        TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::SetRadioItem(bool Value)
{
    if (FRadioItem == Value)
        return;
    FRadioItem = Value;
    if (FChecked && FRadioItem)
        TurnSiblingsOff();
    MenuChanged(true);
}

void TMenuItem::SetGroupIndex(int Value)
{
    if (FGroupIndex == Value)
        return;
    FGroupIndex = Value;
    if (FChecked && FRadioItem)
        TurnSiblingsOff();
}

void TMenuItem::TurnSiblingsOff()
{
    if (!FParent)
        return;
    for (TMenuItem *Item : std::as_const(FParent->FItems))
        if (Item != this && Item->FRadioItem && Item->FGroupIndex == FGroupIndex)
            Item->SetChecked(false);
}

void TMenuItem::SetDefault(bool Value)
{
    if (FDefault == Value)
        return;
    if (Value && FParent)
        for (TMenuItem *Item : std::as_const(FParent->FItems))
            Item->FDefault = false;
    FDefault = Value;
    MenuChanged(true);
}

void TMenuItem::SetShortCut(TShortCut Value)
{
    if (FShortCut == Value)
        return;
    FShortCut = Value;
    MenuChanged(true);
}

void TMenuItem::SetImageIndex(int Value)
{
    if (FImageIndex == Value)
        return;
    FImageIndex = Value;
    MenuChanged(true);
}

void TMenuItem::SetBreak(TMenuBreak Value)
{
    if (FBreak == Value)
        return;
    FBreak = Value;
    MenuChanged(true);
}

void TMenuItem::Click()
{
    if (!FEnabled)
        return;
    if (FAutoCheck)
        SetChecked(!FChecked);
    // A copy: the handler may free the item, and the event with it.
    if (const TNotifyEvent Handler = OnClick)
        Handler(this);
}

// ---- the platform menu

HMENU TMenuItem::Handle()
{
    if (!HandleAllocated()) {
        // A handle the platform destroyed under us (with a window's bar) is stale, never reused.
        FHandle = FMenu ? FMenu->CreateMenuHandle() : CreatePopupMenu();
        RebuildHandle();
    }
    return FHandle;
}

bool TMenuItem::IsOwnerDrawn() const
{
    const TMenu *Menu = GetParentMenu();
    if (!Menu || !Menu->IsOwnerDraw())
        return false;
    const bool OnBar = FParent && FParent->FMenu && dynamic_cast<const TMainMenu *>(FParent->FMenu);
    return !OnBar;
}

MENUITEMINFO TMenuItem::ItemInfo()
{
    MENUITEMINFO Info;
    Info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    Info.wID = UINT(FCommand);
    if (IsLine()) {
        Info.fType = MFT_SEPARATOR;
    } else {
        Info.dwTypeData = FCaption;
        if (const QString Keys = ShortCutToText(FShortCut); !Keys.isEmpty())
            Info.dwTypeData += u'\t' + Keys;
    }
    if (FRadioItem)
        Info.fType |= MFT_RADIOCHECK;
    if (FBreak == mbBreak)
        Info.fType |= MFT_MENUBREAK;
    else if (FBreak == mbBarBreak)
        Info.fType |= MFT_MENUBARBREAK;
    if (IsOwnerDrawn())
        Info.fType |= MFT_OWNERDRAW;
    if (!FEnabled)
        Info.fState |= MFS_GRAYED;
    if (FChecked)
        Info.fState |= MFS_CHECKED;
    if (FDefault)
        Info.fState |= MFS_DEFAULT;
    if (Count() > 0)
        Info.hSubMenu = Handle();
    return Info;
}

// The entries are taken out, not deleted: the sub-menus they open stay their items'.
void TMenuItem::RebuildHandle()
{
    if (!HandleAllocated() || ComponentState().Contains(csDestroying))
        return;
    while (GetMenuItemCount(FHandle) > 0)
        RemoveMenu(FHandle, 0, MF_BYPOSITION);
    for (TMenuItem *Item : std::as_const(FItems))
        if (Item->FVisible) {
            const MENUITEMINFO Info = Item->ItemInfo();
            InsertMenuItem(FHandle, UINT(-1), TRUE, &Info);
        }
}

void TMenuItem::RebuildTree()
{
    for (TMenuItem *Item : std::as_const(FItems))
        Item->RebuildTree();
    RebuildHandle();
}

// ---- changes

void TMenuItem::MenuChanged(bool Rebuild)
{
    TMenuItem *Source = !FParent && FMenu ? nullptr : this;
    if (FParent)
        FParent->SubItemChanged(this, Source, Rebuild);
    else if (FMenu)
        FMenu->MenuChanged(this, Source, Rebuild);
}

// Only the direct parent's sub-menu holds the changed entry; the levels above hear of it without rebuilding.
void TMenuItem::SubItemChanged(TObject *Sender, TMenuItem *Source, bool Rebuild)
{
    // The platform entry of a direct sub-item shows its state too (checked, enabled), so it changes either way.
    if (Rebuild || Sender == Source)
        RebuildHandle();
    if (FParent)
        FParent->SubItemChanged(this, Source, false);
    else if (FMenu)
        FMenu->MenuChanged(this, Source, Rebuild);
}

// ---- streaming

TComponent *TMenuItem::GetParentComponent() const
{
    if (FParent && FParent->FMenu)
        return FParent->FMenu;
    return FParent;
}

void TMenuItem::SetParentComponent(TComponent *Value)
{
    if (FParent)
        FParent->Remove(this);
    if (auto *Menu = dynamic_cast<TMenu *>(Value))
        Menu->Items()->Add(this);
    else if (auto *Item = dynamic_cast<TMenuItem *>(Value))
        Item->Add(this);
}

void TMenuItem::GetChildren(TGetChildProc Proc, TComponent *Root)
{
    const QList<TMenuItem *> Items = FItems;
    for (TMenuItem *Item : Items)
        if (Item->Owner() == Root)
            Proc(Item);
}

void TMenuItem::SetChildOrder(TComponent *Child, int Order)
{
    if (auto *Item = dynamic_cast<TMenuItem *>(Child); Item && Item->FParent == this)
        Item->SetMenuIndex(Order);
}

// ---- TMenu ---------------------------------------------------------------------------------------------

KIV_PUBLISHED(TMenu)
{
    Property("AutoHotkeys", &TMenu::AutoHotkeys, &TMenu::SetAutoHotkeys).Default(maAutomatic);
    Property("BiDiMode", &TMenu::BiDiMode, &TMenu::SetBiDiMode).Stored(&TMenu::IsBiDiModeStored);
    Property("Images", &TMenu::Images, &TMenu::SetImages);
    Property("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw).Default(false);
    Property("ParentBiDiMode", &TMenu::ParentBiDiMode, &TMenu::SetParentBiDiMode).Default(true);
    Property("OnChange", &TMenu::OnChange, &TMenu::OnChange);
}

// The root item has no owner: the menu frees it last, so the menu's own removal notification still sees
// the whole tree.
void TMenu::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FItems = TMenuItem::Create(nullptr);
    FItems->FMenu = this;
}

void TMenu::BeforeDestruction()
{
    inherited::BeforeDestruction();
    FreeAndNil(FItems);
}

void TMenu::SetImages(TCustomImageList *Value)
{
    if (FImages == Value)
        return;
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value)
        Value->FreeNotification(this);
    MenuChanged(this, nullptr, false);
}

void TMenu::SetOwnerDraw(bool Value)
{
    if (FOwnerDraw == Value)
        return;
    FOwnerDraw = Value;
    MenuChanged(this, nullptr, true);
}

TBiDiMode TMenu::BiDiMode() const
{
    if (FParentBiDiMode)
        if (auto *Control = dynamic_cast<TControl *>(Owner()))
            return Control->BiDiMode();
    return FBiDiMode;
}

void TMenu::SetBiDiMode(TBiDiMode Value)
{
    const TBiDiMode Old = BiDiMode();
    FBiDiMode = Value;
    FParentBiDiMode = false;
    if (Value != Old)
        MenuChanged(this, nullptr, true);
}

// Leaving the owner's mode keeps the mode the menu had from it.
void TMenu::SetParentBiDiMode(bool Value)
{
    if (FParentBiDiMode == Value)
        return;
    const TBiDiMode Old = BiDiMode();
    if (!Value)
        FBiDiMode = Old;
    FParentBiDiMode = Value;
    if (BiDiMode() != Old)
        MenuChanged(this, nullptr, true);
}

bool TMenu::IsRightToLeft() const
{
    return SysLocale.MiddleEast && BiDiMode() != bdLeftToRight;
}

TMenuItem *TMenu::FindItem(quintptr Value, TFindItemKind Kind) const
{
    if (!FItems || (Kind == fkShortCut && Value == scNone) || (Kind == fkHandle && !Value))
        return nullptr;
    return FindIn(FItems, Value, Kind);
}

HMENU TMenu::CreateMenuHandle()
{
    return CreatePopupMenu();
}

namespace {

enum class TClickResult { Disabled, Clicked, Moved };

// Clicks the item's parents from the top down (their handlers may fill the sub-menu), then the item. A
// disabled item on the way stops it; a parent's handler that freed the item or took its shortcut away
// makes it Moved.
TClickResult ClickPath(TMenuItem *Item, TShortCut ShortCut, bool ClickParents,
                       const std::function<bool(TMenuItem *)> &Alive)
{
    QList<TMenuItem *> Path;
    for (TMenuItem *P = Item->Parent(); P; P = P->Parent())
        Path.prepend(P);
    for (TMenuItem *P : std::as_const(Path)) {
        if (!Alive(P))
            return TClickResult::Moved;
        if (!P->Enabled())
            return TClickResult::Disabled;
        if (ClickParents) {
            P->Click();
            if (!Alive(Item) || Item->ShortCut() != ShortCut)
                return TClickResult::Moved;
        }
    }
    if (!Item->Enabled())
        return TClickResult::Disabled;
    Item->Click();
    return TClickResult::Clicked;
}

} // namespace

bool TMenu::IsShortCut(TWMKey &Message)
{
    const quint16 Key = quint16(Message.CharCode()) & 0xFF;
    const TShortCut Wanted = ::ShortCut(Key, KeyDataToShiftState(Message.KeyData()));
    TMenuItem *Item = FindItem(Wanted, fkShortCut);
    if (!Item)
        return false;
    // Tokens taken now tell later whether a handler freed an item (or the whole menu with its root).
    QHash<TMenuItem *, std::shared_ptr<bool>> Tokens;
    for (TMenuItem *P = Item; P; P = P->FParent)
        Tokens.insert(P, P->FAlive);
    const std::shared_ptr<bool> MenuAlive = FItems->FAlive;
    auto Alive = [&Tokens](TMenuItem *I) {
        const auto It = Tokens.constFind(I);
        return It != Tokens.constEnd() ? **It : true;
    };
    if (ClickPath(Item, Wanted, true, Alive) != TClickResult::Moved)
        return true;
    // The parents' handlers built the sub-menu afresh: the item that has the shortcut now is clicked, its
    // parents having had their turn.
    if (!*MenuAlive)
        return true;
    Item = FindItem(Wanted, fkShortCut);
    if (!Item)
        return false;
    ClickPath(Item, Wanted, false, [](TMenuItem *) { return true; });
    return true;
}

void TMenu::MenuChanged(TObject *Sender, TMenuItem *Source, bool Rebuild)
{
    if (!(ComponentState() * TComponentState{csLoading, csDestroying}).IsEmpty())
        return;
    // A change of the whole menu (owner draw, images, loading) may change every entry.
    if (Sender == this && FItems)
        FItems->RebuildTree();
    if (const TMenuChangeEvent Handler = OnChange)
        Handler(this, Source, Rebuild);
}

void TMenu::GetChildren(TGetChildProc Proc, TComponent *Root)
{
    if (FItems)
        FItems->GetChildren(Proc, Root);
}

void TMenu::SetChildOrder(TComponent *Child, int Order)
{
    if (FItems)
        FItems->SetChildOrder(Child, Order);
}

void TMenu::Loaded()
{
    inherited::Loaded();
    MenuChanged(this, nullptr, false);
}

void TMenu::Notification(TComponent *AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages)
        SetImages(nullptr);
}

// ---- TMainMenu, TPopupMenu -----------------------------------------------------------------------------

KIV_PUBLISHED(TMainMenu) {}

HMENU TMainMenu::CreateMenuHandle()
{
    return CreateMenu();
}

void TMainMenu::MenuChanged(TObject *Sender, TMenuItem *Source, bool Rebuild)
{
    inherited::MenuChanged(Sender, Source, Rebuild);
    if (FWindowHandle && !ComponentState().Contains(csDestroying))
        DrawMenuBar(FWindowHandle);
}

KIV_PUBLISHED(TPopupMenu)
{
    Property("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment).Default(paLeft);
    Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
    Property("OnPopup", &TPopupMenu::OnPopup, &TPopupMenu::OnPopup);
}

void TPopupMenu::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    PopupList().Add(this);
}

void TPopupMenu::BeforeDestruction()
{
    PopupList().Remove(this);
    inherited::BeforeDestruction();
}

void TPopupMenu::Popup(int X, int Y)
{
    static constexpr UINT Flags[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
    FPopupPoint = Point(X, Y);
    // OnPopup may free the menu.
    const std::shared_ptr<bool> Alive = Items()->FAlive;
    DoPopup(this);
    if (!*Alive)
        return;
    TrackPopupMenu(Handle(), Flags[FAlignment] | TPM_RIGHTBUTTON, X, Y, 0, PopupList().Window(), nullptr);
}

void TPopupMenu::DoPopup(TObject *Sender)
{
    if (const TNotifyEvent Handler = OnPopup)
        Handler(Sender);
}

void TPopupMenu::SetPopupComponent(TComponent *Value)
{
    if (FPopupComponent == Value)
        return;
    if (FPopupComponent)
        FPopupComponent->RemoveFreeNotification(this);
    FPopupComponent = Value;
    if (Value)
        Value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent *AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupComponent)
        FPopupComponent = nullptr;
}

// ---- shortcuts and hotkeys ----------------------------------------------------------------------------

namespace {

// The classic key names; the punctuation keys are named as on a US keyboard.
QString KeyName(quint8 Key)
{
    static const QHash<quint8, QString> Names{
        {VK_BACK, QStringLiteral("BkSp")},     {VK_TAB, QStringLiteral("Tab")},
        {VK_RETURN, QStringLiteral("Enter")},  {VK_ESCAPE, QStringLiteral("Esc")},
        {VK_SPACE, QStringLiteral("Space")},   {VK_PRIOR, QStringLiteral("PgUp")},
        {VK_NEXT, QStringLiteral("PgDn")},     {VK_END, QStringLiteral("End")},
        {VK_HOME, QStringLiteral("Home")},     {VK_LEFT, QStringLiteral("Left")},
        {VK_UP, QStringLiteral("Up")},         {VK_RIGHT, QStringLiteral("Right")},
        {VK_DOWN, QStringLiteral("Down")},     {VK_INSERT, QStringLiteral("Ins")},
        {VK_DELETE, QStringLiteral("Del")},    {VK_MULTIPLY, QStringLiteral("Num *")},
        {VK_ADD, QStringLiteral("Num +")},     {VK_SUBTRACT, QStringLiteral("Num -")},
        {VK_DECIMAL, QStringLiteral("Num .")}, {VK_DIVIDE, QStringLiteral("Num /")},
        {VK_OEM_1, QStringLiteral(";")},       {VK_OEM_PLUS, QStringLiteral("=")},
        {VK_OEM_COMMA, QStringLiteral(",")},   {VK_OEM_MINUS, QStringLiteral("-")},
        {VK_OEM_PERIOD, QStringLiteral(".")},  {VK_OEM_2, QStringLiteral("/")},
        {VK_OEM_3, QStringLiteral("`")},       {VK_OEM_4, QStringLiteral("[")},
        {VK_OEM_5, QStringLiteral("\\")},      {VK_OEM_6, QStringLiteral("]")},
        {VK_OEM_7, QStringLiteral("'")},
    };
    if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z'))
        return QString(QChar(char16_t(Key)));
    if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD0 + 9)
        return QString(QChar(char16_t(u'0' + (Key - VK_NUMPAD0))));
    if (Key >= VK_F1 && Key <= VK_F24)
        return QStringLiteral("F%1").arg(Key - VK_F1 + 1);
    return Names.value(Key);
}

constexpr QLatin1String ShiftText("Shift+");
constexpr QLatin1String CtrlText("Ctrl+");
constexpr QLatin1String AltText("Alt+");
constexpr QLatin1String CtrlMark("^");

} // namespace

TShortCut ShortCut(quint16 Key, TShiftState Shift)
{
    if (Key & 0xFF00)
        return scNone;
    TShortCut Result = Key;
    if (Shift.Contains(ssShift))
        Result |= scShift;
    if (Shift.Contains(ssCtrl))
        Result |= scCtrl;
    if (Shift.Contains(ssAlt))
        Result |= scAlt;
    return Result;
}

void ShortCutToKey(TShortCut ShortCut, quint16 &Key, TShiftState &Shift)
{
    Key = ShortCut & ~(scShift | scCtrl | scAlt);
    Shift = TShiftState();
    if (ShortCut & scShift)
        Shift.Include(ssShift);
    if (ShortCut & scCtrl)
        Shift.Include(ssCtrl);
    if (ShortCut & scAlt)
        Shift.Include(ssAlt);
}

QString ShortCutToText(TShortCut ShortCut)
{
    const QString Name = KeyName(quint8(ShortCut & 0xFF));
    if (Name.isEmpty())
        return QString();
    QString Result;
    if (ShortCut & scShift)
        Result += ShiftText;
    if (ShortCut & scCtrl)
        Result += CtrlText;
    if (ShortCut & scAlt)
        Result += AltText;
    return Result + Name;
}

TShortCut TextToShortCut(const QString &Text)
{
    QStringView Rest(Text);
    TShortCut Shift = scNone;
    auto TakeFront = [&Rest](QLatin1String Front) {
        if (!Rest.startsWith(Front, Qt::CaseInsensitive))
            return false;
        Rest = Rest.mid(Front.size());
        return true;
    };
    for (;;) {
        if (TakeFront(ShiftText))
            Shift |= scShift;
        else if (TakeFront(CtrlMark) || TakeFront(CtrlText))
            Shift |= scCtrl;
        else if (TakeFront(AltText))
            Shift |= scAlt;
        else
            break;
    }
    if (Rest.isEmpty())
        return scNone;
    for (int Key = VK_BACK; Key <= 0xFF; ++Key) {
        const QString Name = KeyName(quint8(Key));
        if (!Name.isEmpty() && Rest.compare(Name, Qt::CaseInsensitive) == 0)
            return TShortCut(Key | Shift);
    }
    return scNone;
}

QString StripHotkey(const QString &Text)
{
    QString Result;
    Result.reserve(Text.size());
    for (qsizetype I = 0; I < Text.size(); ++I) {
        if (Text[I] == cHotkeyPrefix && ++I == Text.size())
            break;
        Result += Text[I];
    }
    return Result;
}

QString GetHotkey(const QString &Text)
{
    QString Result;
    for (qsizetype I = 0; I + 1 < Text.size(); ++I)
        if (Text[I] == cHotkeyPrefix && Text[++I] != cHotkeyPrefix)
            Result = Text[I];
    return Result;
}
