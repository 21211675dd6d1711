#pragma once
// Menus: the item tree (TMenuItem), the menus that hold one (TMenu; TMainMenu, a form's menu bar;
// TPopupMenu, a context menu), and the shortcut and hotkey helpers.
//
// Items are components like any other: a form owns the items of its layout, which nest there under their
// menu and their parent item. Every change to an item travels up its parent chain to its menu's
// MenuChanged. A menu and each item with sub-items show as a platform menu (Handle), made on first use and
// rebuilt whole by RebuildHandle when an entry in it changes: every visible sub-item is one platform item
// whose command is the item's Command(). Freeing an item takes it out of its parent and frees its sub-items;
// Delete and Remove only take an item out.

#include "framework/controls/Controls.h"
#include "framework/core/Classes.h"
#include "framework/core/SysUtils.h"
#include "framework/graphics/Graphics.h"
#include "platform/Menu.h"

#include <QList>
#include <memory>

class TCustomImageList;
class TMenu;
class TMenuItem;

KIV_EXCEPTION(EMenuError, Exception);

KIV_ENUM(TMenuBreak, mbNone, mbBreak, mbBarBreak)
KIV_ENUM(TMenuAutoFlag, maAutomatic, maManual, maParent)
KIV_ENUM(TFindItemKind, fkCommand, fkHandle, fkShortCut)
KIV_ENUM(TPopupAlignment, paLeft, paRight, paCenter)

// A key and its modifiers in one word: the virtual key in the low byte, scShift/scCtrl/scAlt above.
using TShortCut = quint16;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

inline constexpr QChar cHotkeyPrefix = u'&';
inline constexpr QLatin1String cLineCaption("-");

using TMenuDrawItemEvent = TEvent<void(TObject *Sender, TCanvas *ACanvas, const TRect &ARect, bool Selected)>;
using TMenuMeasureItemEvent = TEvent<void(TObject *Sender, TCanvas *ACanvas, int &Width, int &Height)>;
// Source is the item that changed; nullptr when the whole menu did.
using TMenuChangeEvent = TEvent<void(TObject *Sender, TMenuItem *Source, bool Rebuild)>;

// ---- TMenuItem ----------------------------------------------------------------------------------------

class TMenuItem : public TComponent
{
    KIV_OBJECT(TMenuItem, TComponent)
public:
    void Construct(TComponent *AOwner) override;
    void BeforeDestruction() override;
    ~TMenuItem() override;

    // ---- the tree
    int Count() const { return int(FItems.size()); }
    TMenuItem *Items(int Index) const;   // raises EMenuError
    void Add(TMenuItem *Item);
    // Raises EMenuError for an item that has a parent already or that would hold itself.
    void Insert(int Index, TMenuItem *Item);
    // Takes the item out without freeing it: it stays with its owner.
    void Delete(int Index);
    void Remove(TMenuItem *Item);        // raises EMenuError when Item is not a sub-item
    // Frees every sub-item.
    void Clear();
    int IndexOf(TMenuItem *Item) const { return int(FItems.indexOf(Item)); }
    // The first sub-item whose caption matches, ignoring case and hotkeys.
    TMenuItem *Find(const QString &ACaption) const;
    TMenuItem *Parent() const { return FParent; }
    int MenuIndex() const { return FParent ? FParent->IndexOf(const_cast<TMenuItem *>(this)) : -1; }
    void SetMenuIndex(int Value);
    // The menu whose tree holds the item.
    TMenu *GetParentMenu() const;
    bool IsLine() const { return FCaption == cLineCaption; }
    // The number the item is known by in WM_COMMAND; unique among the items that exist.
    int Command() const { return FCommand; }

    // ---- properties
    QString Caption() const { return FCaption; }
    void SetCaption(const QString &Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // A checked radio item unchecks the radio items of its group among its siblings.
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool Value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    // One default item among siblings (drawn bold).
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool Value) { FAutoCheck = Value; }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TMenuBreak Break() const { return FBreak; }
    void SetBreak(TMenuBreak Value);
    QString Hint() const { return FHint; }
    void SetHint(const QString &Value) { FHint = Value; }

    // An enabled item toggles Checked when AutoCheck, then raises OnClick. The handler may free the item.
    virtual void Click();

    // ---- the platform menu
    // The sub-menu the item opens (the menu's own for the root item), made and filled on first use.
    HMENU Handle();
    bool HandleAllocated() const { return FHandle && IsMenu(FHandle); }
    // Drawing an owner-drawn item: OnMeasureItem and OnDrawItem when assigned, else the plain menu look.
    // Width and Height come in with the platform's own size for the item.
    virtual void MeasureItem(TCanvas *ACanvas, int &Width, int &Height);
    virtual void DrawItem(TCanvas *ACanvas, const TRect &ARect, bool Selected);

    // ---- streaming: items nest under their parent item, or under the menu for a top-level item
    bool HasParent() const override { return true; }
    TComponent *GetParentComponent() const override;
    void SetParentComponent(TComponent *Value) override;
    void GetChildren(TGetChildProc Proc, TComponent *Root) override;
    void SetChildOrder(TComponent *Child, int Order) override;

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

protected:
    // This item changed; Rebuild when its entry in its parent's menu must be built again.
    virtual void MenuChanged(bool Rebuild);
    // A sub-item (Sender) changed; Rebuild when this item's own sub-menu must be built again.
    virtual void SubItemChanged(TObject *Sender, TMenuItem *Source, bool Rebuild);
    // Fills the item's platform sub-menu again when it has one.
    virtual void RebuildHandle();
    // The plain menu look, for MeasureItem and DrawItem without handlers.
    void DefaultMeasureItem(TCanvas *ACanvas, int &Width, int &Height);
    void DefaultDrawItem(TCanvas *ACanvas, const TRect &ARect, bool Selected);

private:
    friend class TMenu;
    friend class TPopupMenu;
    void TurnSiblingsOff();
    bool ContainsItem(const TMenuItem *Item) const;
    // The platform item this item is in its parent's menu.
    MENUITEMINFO ItemInfo();
    bool IsOwnerDrawn() const;
    void RebuildTree();

    TMenuItem *FParent = nullptr;
    TMenu *FMenu = nullptr;              // set on a menu's root item only
    HMENU FHandle = nullptr;
    QList<TMenuItem *> FItems;
    int FCommand = 0;
    QString FCaption;
    bool FEnabled = true;
    bool FVisible = true;
    bool FChecked = false;
    bool FRadioItem = false;
    int FGroupIndex = 0;
    bool FDefault = false;
    bool FAutoCheck = false;
    TShortCut FShortCut = scNone;
    int FImageIndex = -1;
    TMenuBreak FBreak = mbNone;
    QString FHint;
    // Cleared when the item goes, for callers that run handlers which may free it.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// ---- TMenu ---------------------------------------------------------------------------------------------

class TMenu : public TComponent
{
    KIV_OBJECT(TMenu, TComponent)
public:
    void Construct(TComponent *AOwner) override;
    void BeforeDestruction() override;

    // The root item, freed by the menu; its sub-items are the menu's top-level items.
    TMenuItem *Items() const { return FItems; }
    TCustomImageList *Images() const { return FImages; }
    void SetImages(TCustomImageList *Value);
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool Value);
    TMenuAutoFlag AutoHotkeys() const { return FAutoHotkeys; }
    void SetAutoHotkeys(TMenuAutoFlag Value) { FAutoHotkeys = Value; }
    // The owning control's while ParentBiDiMode; setting it clears ParentBiDiMode.
    TBiDiMode BiDiMode() const;
    void SetBiDiMode(TBiDiMode Value);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool Value);
    // Right to left when BiDiMode asks for it and the system locale writes that way.
    bool IsRightToLeft() const;

    // The item whose shortcut the key is (Shift and Ctrl as the keyboard has them now, Alt from the key
    // data) is clicked, after its parents from the top down, as a menu opened by hand would be. Answers
    // whether such an item exists, enabled or not.
    bool IsShortCut(TWMKey &Message);
    // Searches the whole tree, depth first; fkHandle finds the item whose platform sub-menu Value is.
    TMenuItem *FindItem(quintptr Value, TFindItemKind Kind) const;

    // The platform menu of the top-level items (the root item's Handle).
    HMENU Handle() { return FItems->Handle(); }
    // Owner-drawn items: OwnerDraw, or Images assigned. A main menu's top-level items stay text on the bar.
    bool IsOwnerDraw() const { return FOwnerDraw || FImages; }
    // Runs the item of a command; false when no item of the menu has it.
    bool DispatchCommand(int ACommand);
    // The item whose sub-menu AHandle opens is clicked (its handler may fill it); false when none has it.
    bool DispatchPopup(HMENU AHandle);
    // The menu messages a window owning the menu answers for its items: WM_COMMAND from a menu,
    // WM_MEASUREITEM and WM_DRAWITEM of ODT_MENU, WM_INITMENUPOPUP and WM_MENUCHAR. Answers whether
    // Message was for one of its items (Message.Result then holds the answer).
    bool DispatchMenuMessage(TMessage &Message);

    // Every change of an item ends here (not while the menu loads or goes); raises OnChange.
    virtual void MenuChanged(TObject *Sender, TMenuItem *Source, bool Rebuild);

    void GetChildren(TGetChildProc Proc, TComponent *Root) override;
    void SetChildOrder(TComponent *Child, int Order) override;
    void Loaded() override;

    TMenuChangeEvent OnChange;

protected:
    void Notification(TComponent *AComponent, TOperation Operation) override;
    // TMainMenu: CreateMenu; any other menu: CreatePopupMenu.
    virtual HMENU CreateMenuHandle();

private:
    friend class TMenuItem;
    bool IsBiDiModeStored() const { return !FParentBiDiMode; }
    LRESULT MenuChar(QChar Key, HMENU Menu);

    TMenuItem *FItems = nullptr;
    TCustomImageList *FImages = nullptr;
    bool FOwnerDraw = false;
    TMenuAutoFlag FAutoHotkeys = maAutomatic;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
};

// A form's menu bar: the form's Menu.
class TMainMenu : public TMenu
{
    KIV_OBJECT(TMainMenu, TMenu)
public:
    // The window whose bar shows the menu (the form sets it); its bar is redrawn when the items change.
    HWND WindowHandle() const { return FWindowHandle; }
    void SetWindowHandle(HWND Value) { FWindowHandle = Value; }
    void MenuChanged(TObject *Sender, TMenuItem *Source, bool Rebuild) override;

protected:
    HMENU CreateMenuHandle() override;

private:
    HWND FWindowHandle = nullptr;
};

class TPopupMenu : public TMenu
{
    KIV_OBJECT(TPopupMenu, TMenu)
public:
    void Construct(TComponent *AOwner) override;
    void BeforeDestruction() override;
    // OnPopup, then the menu at a screen point (placed by Alignment) until it closes. The chosen item's
    // Click runs later, when its command comes back through the message loop.
    virtual void Popup(int X, int Y);
    // The component the menu was last opened for (set by whoever opens it).
    TComponent *PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent *Value);
    TPoint PopupPoint() const { return FPopupPoint; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }
    // Opens by itself on the right button and the menu key of the control that has it.
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }

    TNotifyEvent OnPopup;

protected:
    virtual void DoPopup(TObject *Sender);
    void Notification(TComponent *AComponent, TOperation Operation) override;

private:
    TComponent *FPopupComponent = nullptr;
    TPoint FPopupPoint{-1, -1};
    TPopupAlignment FAlignment = paLeft;
    bool FAutoPopup = true;
};

// ---- the popup list ------------------------------------------------------------------------------------

// The hidden window that owns the platform menus of every TPopupMenu while they show: it hears their
// commands, owner-draw and loop messages and hands each to the popup menu whose item it is for.
class TPopupList
{
public:
    HWND Window();
    void Add(TPopupMenu *Menu);
    void Remove(TPopupMenu *Menu);
    int Count() const { return int(FMenus.size()); }

private:
    void WndProc(TMessage &Message);
    QList<TPopupMenu *> FMenus;
    HWND FWindow = nullptr;
};

TPopupList &PopupList();

// ---- shortcuts and hotkeys ----------------------------------------------------------------------------

// Key must be a virtual key (one byte); anything wider makes no shortcut.
TShortCut ShortCut(quint16 Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, quint16 &Key, TShiftState &Shift);
// The classic names: "Ctrl+S", "Shift+Del", "F5", "Alt+Enter", modifiers in the order Shift, Ctrl, Alt;
// empty for a key without a name.
QString ShortCutToText(TShortCut ShortCut);
// The inverse, ignoring case; modifiers in any order ("^" is Ctrl too). scNone for a text it does not know.
TShortCut TextToShortCut(const QString &Text);
// Text without its "&" prefixes ("&&" stays one "&").
QString StripHotkey(const QString &Text);
// The character after the last single "&", or empty.
QString GetHotkey(const QString &Text);
