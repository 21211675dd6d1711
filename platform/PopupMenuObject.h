#pragma once
// Private to the popup menu units: an open menu's popup window and the loop that tracks it.

#include "platform/MenuObject.h"
#include "platform/WindowObject.h"

#include <QRect>
#include <QSize>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace PopupCore {

constexpr int FrameWidth = 2;
constexpr int SeparatorHeight = 8;
// The check-mark column on the left and the room for a sub-menu's arrow on the right.
constexpr int Gutter = 18;
constexpr int RightMargin = 16;
constexpr int ShortcutGap = 16;
constexpr int ColumnBarWidth = 4;   // the gap of an MFT_MENUBARBREAK, its line in the middle
// A menu taller than the work area shows its items between two bands with arrows that scroll it.
constexpr int ScrollBand = 16;

struct TMenuLoop;

// The menu bar whose loop this is: the selected item, and what the loop does next once the input that asked
// for it has been handled (input of a popup must not close that popup under itself).
struct TBar
{
    HWND Wnd = nullptr;
    HMENU Menu = nullptr;
    int Selected = -1;
    bool Pending = false;
    int Next = -1;
    bool OpenNext = false;      // the next item's drop-down opens
    bool SelectFirst = false;   // with its first item selected (the keyboard's way)
    bool ByMouse = false;
};

struct TPopup
{
    TMenuLoop *Loop = nullptr;
    HMENU Menu = nullptr;
    HWND Wnd = nullptr;
    std::vector<QRect> Rects;   // client coordinates, one per item
    std::vector<int> ColumnBars;   // left edges of the lines between columns
    int Selected = -1;
    int OpenedFrom = -1;        // the item of the menu below that opened this one
    bool Scrolls = false;
    int Scroll = 0;             // how far the items are scrolled up
    int ContentHeight = 0;
    int ScrollDir = 0;          // the band the pointer rests on: -1 up, +1 down
};

struct TMenuLoop
{
    HWND Owner = nullptr;
    UINT Flags = 0;
    HFONT Font = nullptr;
    HFONT BoldFont = nullptr;
    std::vector<std::unique_ptr<TPopup>> Popups;
    bool Ended = false;
    UINT Command = 0;
    bool Chosen = false;
    HWND Active = nullptr;      // the active window when the menu opened
    TBar *Bar = nullptr;        // the bar's loop: its drop-downs are the popups

    bool Notify() const { return !(Flags & TPM_NONOTIFY); }
    bool Finished() const;
};

// The items the popup shows; none once its menu is gone (an owner may destroy it while it is open).
inline int Count(const TPopup &P)
{
    return IsMenu(P.Menu) ? int(std::min(P.Rects.size(), P.Menu->Items.size())) : 0;
}
inline bool Has(const TPopup &P, int I) { return I >= 0 && I < Count(P); }
inline const MenuItemData &Item(const TPopup &P, int I) { return P.Menu->Items[size_t(I)]; }

inline bool IsSeparator(const MenuItemData &It) { return It.Type & MFT_SEPARATOR; }
inline bool IsEnabled(const MenuItemData &It) { return !(It.State & MFS_GRAYED); }
inline bool IsOwnerDrawn(const MenuItemData &It) { return It.Type & MFT_OWNERDRAW; }

// PopupMenu.cpp: the parts of the loop a bar's loop runs too.
bool MenuRunning();
void End(TMenuLoop &L);
// Shows Menu, opened from its parent's item Index, where Place puts a popup of the size it is given.
TPopup *Open(TMenuLoop &L, HMENU Menu, int Index, QPoint Anchor, const std::function<QPoint(QSize)> &Place);
QPoint PlaceAt(QSize Size, UINT Flags, int X, int Y, const QRect &Exclude);
void Select(TPopup &P, int I, bool ByMouse);
// WM_MENUSELECT for item I of Menu, selected by the mouse or the keyboard.
void SendMenuSelect(HWND Owner, HMENU Menu, int I, const MenuItemData &It, bool ByMouse);
// The next of Menu's first N items that is not a separator, Step (+1 or -1) from From, wrapping; -1 for none.
int NextSelectable(HMENU Menu, int N, int From, int Step);
void CloseAll(TMenuLoop &L);
// Runs L until it ends, asleep in the event loop: Start shows its first menu, Between runs after each batch
// of events, and its popups are closed at the end.
void Run(TMenuLoop &L, const std::function<void()> &Start, const std::function<void()> &Between);

// MenuBarLoop.cpp: the bar's part in what its drop-downs get.
// Left or Right out of a drop-down: the neighbouring bar item with its drop-down.
void MoveOnBar(TMenuLoop &L, int Step);
// Esc in a drop-down: it closes and the bar stays selected.
void CloseDropDown(TMenuLoop &L);
// The pointer outside every popup; answers false when it is not on the bar either.
bool PointerOnBar(TMenuLoop &L, UINT Msg, QPoint Screen);

// PopupMenuPaint.cpp
int TextWidth(HDC DC, const QString &Text);
UINT OwnerDrawState(const MenuItemData &It, bool Selected);
void FillColor(HDC DC, const RECT &R, int Color);
// Where item I shows in the client area now.
QRect Shown(const TPopup &P, int I);
// The client rows that show items (between the arrow bands of a scrolling menu).
QRect ItemArea(const TPopup &P);
// Lays the items out top to bottom (owner-drawn ones measured by the owner); answers the client size.
QSize Measure(TPopup &P);
// Action: ODA_DRAWENTIRE or ODA_SELECT, for owner-drawn items.
void DrawItem(TPopup &P, int I, HDC DC, UINT Action);
void Paint(TPopup &P);
void PaintFrame(HWND Wnd);

} // namespace PopupCore
