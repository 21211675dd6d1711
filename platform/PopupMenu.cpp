// The popup menu window (class "#32768") and the modal loop that tracks it: measuring and drawing the items
// (owner-drawn ones by the owner window), placing the window inside the work area, and the keyboard and
// mouse of an open menu.
#include "platform/MenuObject.h"
#include "platform/StdClasses.h"
#include "platform/WindowObject.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

const QString PopupClassName = QStringLiteral("#32768");

constexpr int FrameWidth = 2;
constexpr int SeparatorHeight = 8;
// The check-mark column on the left and the room for a sub-menu's arrow on the right.
constexpr int Gutter = 18;
constexpr int RightMargin = 16;
constexpr int ShortcutGap = 16;
// A menu taller than the work area shows its items between two bands with arrows that scroll it.
constexpr int ScrollBand = 16;
constexpr int ScrollStep = 16;
constexpr UINT ScrollInterval = 50;

struct TMenuLoop;

struct TPopup
{
    TMenuLoop *Loop = nullptr;
    HMENU Menu = nullptr;
    HWND Wnd = nullptr;
    std::vector<QRect> Rects;   // client coordinates, one per item
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

    bool Notify() const { return !(Flags & TPM_NONOTIFY); }
    bool Finished() const;
};

TMenuLoop *Running = nullptr;

TPopup *PopupOf(HWND Wnd) { return reinterpret_cast<TPopup *>(GetWindowLong(Wnd, GWL_USERDATA)); }

// The items the popup shows; none once its menu is gone (an owner may destroy it while it is open).
int Count(const TPopup &P) { return IsMenu(P.Menu) ? int(std::min(P.Rects.size(), P.Menu->Items.size())) : 0; }
bool Has(const TPopup &P, int I) { return I >= 0 && I < Count(P); }
const MenuItemData &Item(const TPopup &P, int I) { return P.Menu->Items[size_t(I)]; }

// Where item I shows in the client area now.
QRect Shown(const TPopup &P, int I)
{
    return P.Rects[size_t(I)].translated(0, P.Scrolls ? ScrollBand - P.Scroll : 0);
}

// The client rows that show items (between the arrow bands of a scrolling menu).
QRect ItemArea(const TPopup &P)
{
    RECT C;
    GetClientRect(P.Wnd, &C);
    const int Band = P.Scrolls ? ScrollBand : 0;
    return QRect(0, Band, C.Width(), C.Height() - 2 * Band);
}

bool IsSeparator(const MenuItemData &It) { return It.Type & MFT_SEPARATOR; }
bool IsEnabled(const MenuItemData &It) { return !(It.State & MFS_GRAYED); }
bool IsOwnerDrawn(const MenuItemData &It) { return It.Type & MFT_OWNERDRAW; }

// ---- measuring and drawing -------------------------------------------------------------------------------

QString Label(const QString &Text) { return Text.section(QLatin1Char('\t'), 0, 0); }
QString Shortcut(const QString &Text) { return Text.section(QLatin1Char('\t'), 1); }

int TextWidth(HDC DC, const QString &Text)
{
    RECT R{0, 0, 0, 0};
    DrawText(DC, Text, -1, &R, DT_SINGLELINE | DT_CALCRECT);
    return R.Width();
}

// Lays the items out top to bottom; answers the client size.
QSize Measure(TPopup &P)
{
    TMenuLoop &L = *P.Loop;
    NONCLIENTMETRICS Metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(Metrics), &Metrics, 0);
    HDC DC = GetDC(P.Wnd);
    HFONT Old = SelectObject(DC, L.Font);
    TEXTMETRIC Tm;
    GetTextMetrics(DC, &Tm);
    const int TextItemHeight = std::max<int>(Metrics.iMenuHeight, Tm.tmHeight + 4);

    std::vector<int> Heights;
    int Width = 0, LabelWidth = 0, ShortcutWidth = 0;
    // By index, on a copy: the owner may change the menu while it measures.
    for (size_t I = 0; IsMenu(P.Menu) && I < P.Menu->Items.size(); ++I) {
        const MenuItemData It = P.Menu->Items[I];
        if (IsOwnerDrawn(It)) {
            MEASUREITEMSTRUCT M;
            M.CtlType = ODT_MENU;
            M.itemID = It.Id;
            M.itemData = It.ItemData;
            SendMessage(L.Owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&M));
            Heights.push_back(int(std::min<UINT>(M.itemHeight, 0x7FFF)));
            Width = std::max(Width, int(std::min<UINT>(M.itemWidth, 0x7FFF)));
        } else if (IsSeparator(It)) {
            Heights.push_back(SeparatorHeight);
        } else {
            SelectObject(DC, (It.State & MFS_DEFAULT) ? L.BoldFont : L.Font);
            LabelWidth = std::max(LabelWidth, TextWidth(DC, Label(It.Text)));
            const QString Keys = Shortcut(It.Text);
            if (!Keys.isEmpty())
                ShortcutWidth = std::max(ShortcutWidth, TextWidth(DC, Keys));
            Heights.push_back(TextItemHeight);
        }
    }
    SelectObject(DC, Old);
    ReleaseDC(P.Wnd, DC);

    Width = std::max(Width, Gutter + LabelWidth + (ShortcutWidth ? ShortcutGap + ShortcutWidth : 0) + RightMargin);
    P.Rects.clear();
    int Y = 0;
    for (int H : Heights) {
        P.Rects.emplace_back(0, Y, Width, H);
        Y += H;
    }
    return QSize(Width, Y);
}

UINT OwnerDrawState(const MenuItemData &It, bool Selected)
{
    UINT S = 0;
    if (Selected)
        S |= ODS_SELECTED;
    if (It.State & MF_GRAYED)
        S |= ODS_GRAYED;
    if (It.State & MF_DISABLED)
        S |= ODS_DISABLED;
    if (It.State & MFS_CHECKED)
        S |= ODS_CHECKED;
    if (It.State & MFS_DEFAULT)
        S |= ODS_DEFAULT;
    return S;
}

void FillColor(HDC DC, const RECT &R, int Color)
{
    HBRUSH B = CreateSolidBrush(GetSysColor(Color));
    FillRect(DC, &R, B);
    DeleteObject(B);
}

void DrawCheck(HDC DC, const QRect &Box, bool Radio, COLORREF Color)
{
    const QPoint C = Box.center();
    if (Radio) {
        HBRUSH B = CreateSolidBrush(Color);
        RECT Dot{C.x() - 2, C.y() - 2, C.x() + 3, C.y() + 3};
        FillRect(DC, &Dot, B);
        DeleteObject(B);
        return;
    }
    HPEN Pen = CreatePen(PS_SOLID, 1, Color);
    HPEN Old = SelectObject(DC, Pen);
    // Three strokes make the tick one pixel thicker than a line.
    for (int D = 0; D < 3; ++D) {
        MoveToEx(DC, C.x() - 3, C.y() - 1 + D, nullptr);
        LineTo(DC, C.x() - 1, C.y() + 1 + D);
        LineTo(DC, C.x() + 4, C.y() - 4 + D);
    }
    SelectObject(DC, Old);
    DeleteObject(Pen);
}

void DrawArrow(HDC DC, const QRect &R, COLORREF Color)
{
    const int X = R.right() - 8, Y = R.center().y();
    HBRUSH B = CreateSolidBrush(Color);
    for (int I = 0; I < 4; ++I) {
        RECT Column{X + I, Y - 3 + I, X + I + 1, Y + 4 - I};
        FillRect(DC, &Column, B);
    }
    DeleteObject(B);
}

void DrawPlatformItem(TPopup &P, int I, HDC DC, bool Selected);

void DrawPlatformItemClipped(TPopup &P, int I, HDC DC, bool Selected)
{
    SaveDC(DC);
    const QRect Area = ItemArea(P);
    IntersectClipRect(DC, Area.left(), Area.top(), Area.left() + Area.width(), Area.top() + Area.height());
    DrawPlatformItem(P, I, DC, Selected);
    RestoreDC(DC, -1);
}

void DrawPlatformItem(TPopup &P, int I, HDC DC, bool Selected)
{
    const MenuItemData &It = Item(P, I);
    const QRect Q = Shown(P, I);
    const RECT R{Q.left(), Q.top(), Q.left() + Q.width(), Q.top() + Q.height()};
    if (IsSeparator(It)) {
        FillColor(DC, R, COLOR_MENU);
        const int Y = Q.top() + Q.height() / 2 - 1;
        FillColor(DC, RECT{R.Left + 1, Y, R.Right - 1, Y + 1}, COLOR_BTNSHADOW);
        FillColor(DC, RECT{R.Left + 1, Y + 1, R.Right - 1, Y + 2}, COLOR_BTNHIGHLIGHT);
        return;
    }
    FillColor(DC, R, Selected ? COLOR_HIGHLIGHT : COLOR_MENU);
    const COLORREF Ink = GetSysColor(!IsEnabled(It) ? COLOR_GRAYTEXT : Selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    if (It.State & MFS_CHECKED)
        DrawCheck(DC, QRect(Q.left(), Q.top(), Gutter, Q.height()), It.Type & MFT_RADIOCHECK, Ink);
    if (It.SubMenu)
        DrawArrow(DC, Q, Ink);
    SaveDC(DC);
    SelectObject(DC, (It.State & MFS_DEFAULT) ? P.Loop->BoldFont : P.Loop->Font);
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, Ink);
    RECT Text{R.Left + Gutter, R.Top, R.Right - RightMargin, R.Bottom};
    DrawText(DC, Label(It.Text), -1, &Text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    DrawText(DC, Shortcut(It.Text), -1, &Text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    RestoreDC(DC, -1);
}

void DrawItem(TPopup &P, int I, HDC DC, UINT Action)
{
    if (!Has(P, I))
        return;
    const MenuItemData &It = Item(P, I);
    const bool Selected = P.Selected == I;
    if (!IsOwnerDrawn(It)) {
        DrawPlatformItemClipped(P, I, DC, Selected);
        return;
    }
    const QRect Q = Shown(P, I);
    DRAWITEMSTRUCT D;
    D.CtlType = ODT_MENU;
    D.itemID = It.Id;
    D.itemAction = Action;
    D.itemState = OwnerDrawState(It, Selected);
    D.hwndItem = reinterpret_cast<HWND>(P.Menu);
    D.hDC = DC;
    D.rcItem = RECT{Q.left(), Q.top(), Q.left() + Q.width(), Q.top() + Q.height()};
    D.itemData = It.ItemData;
    // The owner's drawing leaves our DC as it found it.
    SaveDC(DC);
    const QRect Area = ItemArea(P);
    IntersectClipRect(DC, Area.left(), Area.top(), Area.left() + Area.width(), Area.top() + Area.height());
    SendMessage(P.Loop->Owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&D));
    RestoreDC(DC, -1);
}

void DrawScrollArrow(HDC DC, int Width, int Top, bool Up)
{
    HBRUSH B = CreateSolidBrush(GetSysColor(COLOR_MENUTEXT));
    const int X = Width / 2, Y = Top + ScrollBand / 2;
    for (int I = 0; I < 4; ++I) {
        const int Row = Up ? Y - 2 + I : Y + 1 - I;
        RECT R{X - I, Row, X + I + 1, Row + 1};
        FillRect(DC, &R, B);
    }
    DeleteObject(B);
}

void Paint(TPopup &P)
{
    PAINTSTRUCT Ps;
    HDC DC = BeginPaint(P.Wnd, &Ps);
    RECT Client;
    GetClientRect(P.Wnd, &Client);
    FillColor(DC, Client, COLOR_MENU);
    const QRect Area = ItemArea(P);
    for (int I = 0; I < Count(P); ++I)
        if (Shown(P, I).intersects(Area))
            DrawItem(P, I, DC, ODA_DRAWENTIRE);
    if (P.Scrolls) {
        DrawScrollArrow(DC, Client.Width(), 0, true);
        DrawScrollArrow(DC, Client.Width(), Client.Height() - ScrollBand, false);
    }
    EndPaint(P.Wnd, &Ps);
}

// The classic raised frame: light and dark edges, two pixels deep.
void PaintFrame(HWND Wnd)
{
    RECT W;
    GetWindowRect(Wnd, &W);
    const int Cx = W.Width(), Cy = W.Height();
    HDC DC = GetWindowDC(Wnd);
    const auto Edge = [&](int Inset, int TopLeft, int BottomRight) {
        FillColor(DC, RECT{Inset, Inset, Cx - Inset, Inset + 1}, TopLeft);
        FillColor(DC, RECT{Inset, Inset, Inset + 1, Cy - Inset}, TopLeft);
        FillColor(DC, RECT{Inset, Cy - Inset - 1, Cx - Inset, Cy - Inset}, BottomRight);
        FillColor(DC, RECT{Cx - Inset - 1, Inset, Cx - Inset, Cy - Inset}, BottomRight);
    };
    Edge(0, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
    Edge(1, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    ReleaseDC(Wnd, DC);
}

// ---- the loop's actions ---------------------------------------------------------------------------------

constexpr UINT_PTR ShowTimer = 1;
constexpr UINT_PTR ScrollTimer = 2;

bool IsLoopWindow(const TMenuLoop &L, HWND W)
{
    return std::any_of(L.Popups.begin(), L.Popups.end(), [&](const auto &P) { return P->Wnd == W; });
}

// Another window taking the activation (not one of the menu's own) closes the menu, as do the owner and a
// shown menu going.
bool TMenuLoop::Finished() const
{
    const HWND Now = GetActiveWindow();
    return Ended || !IsWindow(Owner) || (Now != Active && !IsLoopWindow(*this, Now)) ||
           std::any_of(Popups.begin(), Popups.end(), [](const auto &P) { return !IsMenu(P->Menu); });
}

void End(TMenuLoop &L) { L.Ended = true; }

int LevelOf(const TPopup &P)
{
    const auto &Ps = P.Loop->Popups;
    return int(std::find_if(Ps.begin(), Ps.end(), [&](const auto &Q) { return Q.get() == &P; }) - Ps.begin());
}

bool IsDeepest(const TPopup &P) { return P.Loop->Popups.back().get() == &P; }

TPopup *Open(TMenuLoop &L, HMENU Menu, int Index, QPoint Anchor, const std::function<QPoint(QSize)> &Place);
QRect WorkAreaAt(QPoint At);
QPoint PlaceBeside(QSize Size, const QRect &Parent, const QRect &ItemRect);

void CloseDeepest(TMenuLoop &L)
{
    std::unique_ptr<TPopup> P = std::move(L.Popups.back());
    L.Popups.pop_back();
    if (L.Notify())
        SendMessage(L.Owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(P->Menu), 0);
    if (IsWindow(P->Wnd)) {
        SetWindowLong(P->Wnd, GWL_USERDATA, 0);
        DestroyWindow(P->Wnd);
    }
}

// The sub-menus opened from P go.
void CloseAbove(TPopup &P)
{
    TMenuLoop &L = *P.Loop;
    while (!L.Popups.empty() && L.Popups.back().get() != &P)
        CloseDeepest(L);
}

QRect ScreenRect(HWND Wnd)
{
    RECT W;
    GetWindowRect(Wnd, &W);
    return QRect(W.Left, W.Top, W.Width(), W.Height());
}

void ScrollTo(TPopup &P, int Scroll)
{
    Scroll = std::clamp(Scroll, 0, std::max(0, P.ContentHeight - ItemArea(P).height()));
    if (Scroll == P.Scroll)
        return;
    P.Scroll = Scroll;
    InvalidateRect(P.Wnd, nullptr, FALSE);
    UpdateWindow(P.Wnd);
}

void ScrollIntoView(TPopup &P, int I)
{
    if (!P.Scrolls || !Has(P, I))
        return;
    const QRect R = P.Rects[size_t(I)];
    const int Rows = ItemArea(P).height();
    if (R.top() < P.Scroll)
        ScrollTo(P, R.top());
    else if (R.top() + R.height() > P.Scroll + Rows)
        ScrollTo(P, R.top() + R.height() - Rows);
}

void Select(TPopup &P, int I, bool ByMouse)
{
    if (!Has(P, I))
        I = -1;
    if (P.Selected == I)
        return;
    KillTimer(P.Wnd, ShowTimer);
    const int Was = P.Selected;
    P.Selected = I;
    if (!ByMouse)
        ScrollIntoView(P, I);
    HDC DC = GetDC(P.Wnd);
    for (int J : {Was, I})
        DrawItem(P, J, DC, ODA_SELECT);
    ReleaseDC(P.Wnd, DC);
    if (!Has(P, I) || !P.Loop->Notify())
        return;
    const MenuItemData &It = Item(P, I);
    UINT Flags = (It.Type | It.State | MF_HILITE) & 0xFFFF;
    if (It.SubMenu)
        Flags |= MF_POPUP;
    if (ByMouse)
        Flags |= MF_MOUSESELECT;
    const WORD Id = WORD(It.SubMenu ? UINT(I) : It.Id);
    SendMessage(P.Loop->Owner, WM_MENUSELECT, MAKEWPARAM(Id, WORD(Flags)), reinterpret_cast<LPARAM>(P.Menu));
}

// The next item that is not a separator, Step (+1 or -1) from From, wrapping; -1 when there is none.
int NextSelectable(const TPopup &P, int From, int Step)
{
    const int N = Count(P);
    for (int K = 1; K <= N; ++K) {
        const int I = ((From + Step * K) % N + N) % N;
        if (!IsSeparator(Item(P, I)))
            return I;
    }
    return -1;
}

// Opens the sub-menu of P's item I beside it (unless it is open already); from the keyboard its first item
// is selected.
void OpenSubMenu(TPopup &P, int I, bool SelectFirst)
{
    if (!Has(P, I) || !Item(P, I).SubMenu || !IsEnabled(Item(P, I)))
        return;
    TMenuLoop &L = *P.Loop;
    const int Level = LevelOf(P);
    TPopup *Sub = nullptr;
    if (!IsDeepest(P) && L.Popups[size_t(Level + 1)]->OpenedFrom == I) {
        Sub = L.Popups[size_t(Level + 1)].get();
    } else {
        CloseAbove(P);
        if (!Has(P, I) || !Item(P, I).SubMenu)
            return;
        const QRect Parent = ScreenRect(P.Wnd);
        POINT Origin = ClientOrigin(P.Wnd);
        const QRect ItemRect = Shown(P, I).translated(Parent.topLeft() + QPoint(Origin.X, Origin.Y));
        Sub = Open(L, Item(P, I).SubMenu, I, ItemRect.topLeft(), [&](QSize Size) { return PlaceBeside(Size, Parent, ItemRect); });
        if (!Sub)
            return;
        Sub->OpenedFrom = I;
    }
    if (SelectFirst)
        Select(*Sub, NextSelectable(*Sub, -1, +1), false);
}

// Separators and disabled items choose no command; an item opening a sub-menu opens it.
void Activate(TPopup &P, int I, bool ByMouse)
{
    if (!Has(P, I))
        return;
    const MenuItemData &It = Item(P, I);
    if (IsSeparator(It) || !IsEnabled(It))
        return;
    if (It.SubMenu) {
        OpenSubMenu(P, I, !ByMouse);
        return;
    }
    P.Loop->Command = It.Id;
    P.Loop->Chosen = true;
    End(*P.Loop);
}

QChar Mnemonic(const QString &Text)
{
    for (int I = 0; I + 1 < Text.size(); ++I) {
        if (Text[I] != QLatin1Char('&'))
            continue;
        if (Text[I + 1] != QLatin1Char('&'))
            return Text[I + 1].toLower();
        ++I;
    }
    return QChar();
}

void OnChar(TPopup &P, QChar C)
{
    // Enter and Esc come as characters too, after their keys have acted.
    if (P.Loop->Ended || !C.isPrint())
        return;
    const QChar Key = C.toLower();
    std::vector<int> Matches;
    for (int I = 0; I < Count(P); ++I) {
        const MenuItemData &It = Item(P, I);
        if (!IsOwnerDrawn(It) && !IsSeparator(It) && Mnemonic(It.Text) == Key)
            Matches.push_back(I);
    }
    if (Matches.size() == 1) {
        Select(P, Matches.front(), false);
        Activate(P, Matches.front(), false);
        return;
    }
    if (!Matches.empty()) {
        // Several items share the letter: each press selects the next of them.
        auto Next = std::find_if(Matches.begin(), Matches.end(), [&](int I) { return I > P.Selected; });
        Select(P, Next != Matches.end() ? *Next : Matches.front(), false);
        return;
    }
    const LRESULT R = SendMessage(P.Loop->Owner, WM_MENUCHAR, MAKEWPARAM(C.unicode(), MF_POPUP),
                                  reinterpret_cast<LPARAM>(P.Menu));
    const int I = LOWORD(std::uintptr_t(R));
    switch (HIWORD(std::uintptr_t(R))) {
    case MNC_EXECUTE:
        Select(P, I, false);
        Activate(P, I, false);
        break;
    case MNC_SELECT:
        Select(P, I, false);
        break;
    case MNC_CLOSE:
        End(*P.Loop);
        break;
    default:
        break;
    }
}

void OnKey(TPopup &P, WPARAM Key)
{
    TMenuLoop &L = *P.Loop;
    const int N = Count(P);
    switch (Key) {
    case VK_DOWN:
        Select(P, NextSelectable(P, P.Selected < 0 ? -1 : P.Selected, +1), false);
        break;
    case VK_UP:
        Select(P, NextSelectable(P, P.Selected < 0 ? N : P.Selected, -1), false);
        break;
    case VK_HOME:
        Select(P, NextSelectable(P, -1, +1), false);
        break;
    case VK_END:
        Select(P, NextSelectable(P, N, -1), false);
        break;
    case VK_RETURN:
        Activate(P, P.Selected, false);
        break;
    case VK_RIGHT:
        OpenSubMenu(P, P.Selected, true);
        break;
    case VK_LEFT:
        // Left closes a sub-menu; in the first menu there is nothing to go back to.
        if (L.Popups.size() > 1)
            CloseDeepest(L);
        break;
    case VK_ESCAPE:
        if (L.Popups.size() > 1)
            CloseDeepest(L);
        else
            End(L);
        break;
    default:
        break;
    }
}

// The popup and item under a screen point; nullptr when the point is outside every popup of the loop.
TPopup *PopupAt(TMenuLoop &L, QPoint Screen, int *Index)
{
    *Index = -1;
    for (auto It = L.Popups.rbegin(); It != L.Popups.rend(); ++It) {
        TPopup &P = **It;
        if (!ScreenRect(P.Wnd).contains(Screen))
            continue;
        POINT C{Screen.x(), Screen.y()};
        ScreenToClient(P.Wnd, &C);
        if (ItemArea(P).contains(C.X, C.Y))
            for (int I = 0; I < Count(P); ++I)
                if (Shown(P, I).contains(C.X, C.Y))
                    *Index = I;
        return &P;
    }
    return nullptr;
}

QPoint ScreenPoint(HWND Wnd, LPARAM LParam)
{
    POINT P{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)};
    ClientToScreen(Wnd, &P);
    return QPoint(P.X, P.Y);
}

UINT MenuShowDelay()
{
    DWORD Delay = 0;
    return SystemParametersInfo(SPI_GETMENUSHOWDELAY, 0, &Delay, 0) ? UINT(Delay) : 400;
}

void Hover(TPopup &P, int I)
{
    if (I < 0 || IsSeparator(Item(P, I)))
        return;
    // Pointing at another item of a menu closes the sub-menus opened from it.
    if (!IsDeepest(P) && P.Loop->Popups[size_t(LevelOf(P) + 1)]->OpenedFrom != I)
        CloseAbove(P);
    Select(P, I, true);
    if (Has(P, I) && Item(P, I).SubMenu && IsDeepest(P))
        SetTimer(P.Wnd, ShowTimer, MenuShowDelay(), nullptr);
}

void OnMouse(TPopup &Own, UINT Msg, LPARAM LParam)
{
    TMenuLoop &L = *Own.Loop;
    int I = -1;
    TPopup *P = PopupAt(L, ScreenPoint(Own.Wnd, LParam), &I);
    const bool Release = Msg == WM_LBUTTONUP || (Msg == WM_RBUTTONUP && (L.Flags & TPM_RIGHTBUTTON));
    switch (Msg) {
    case WM_MOUSEMOVE:
        if (!P)
            break;
        Hover(*P, I);
        if (P->Scrolls) {
            POINT C{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)};
            MapWindowPoints(Own.Wnd, P->Wnd, &C, 1);
            const QRect Area = ItemArea(*P);
            P->ScrollDir = C.Y < Area.top() ? -1 : C.Y >= Area.top() + Area.height() ? +1 : 0;
            if (P->ScrollDir)
                SetTimer(P->Wnd, ScrollTimer, ScrollInterval, nullptr);
            else
                KillTimer(P->Wnd, ScrollTimer);
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        // A press outside closes the menu and goes no further.
        if (!P)
            End(L);
        break;
    default:
        if (Release && P && I >= 0) {
            Select(*P, I, true);
            Activate(*P, I, true);
        }
        break;
    }
}

LRESULT PopupProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TPopup *P = PopupOf(Wnd);
    switch (Msg) {
    case WM_NCCALCSIZE:
        if (WParam) {
            RECT &R = reinterpret_cast<NCCALCSIZE_PARAMS *>(LParam)->rgrc[0];
            R = RECT{R.Left + FrameWidth, R.Top + FrameWidth, R.Right - FrameWidth, R.Bottom - FrameWidth};
        }
        return 0;
    case WM_NCPAINT:
        PaintFrame(Wnd);
        return 0;
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_ERASEBKGND:
        return 1;
    default:
        break;
    }
    if (!P || !P->Loop || P->Loop->Popups.empty())
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    TMenuLoop &L = *P->Loop;
    // The keyboard works the deepest open menu, whichever popup Qt handed it to.
    TPopup &Deepest = *L.Popups.back();
    switch (Msg) {
    case WM_PAINT:
        Paint(*P);
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        OnKey(Deepest, WParam);
        return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
        OnChar(Deepest, QChar(char16_t(WParam)));
        return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
        OnMouse(*P, Msg == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : Msg == WM_RBUTTONDBLCLK ? WM_RBUTTONDOWN : Msg,
                LParam);
        return 0;
    case WM_TIMER:
        if (WParam == ScrollTimer) {
            // Scrolls while the pointer rests on a band, until the end is shown.
            const int Was = P->Scroll;
            ScrollTo(*P, P->Scroll + P->ScrollDir * ScrollStep);
            if (P->Scroll == Was)
                KillTimer(Wnd, ScrollTimer);
            return 0;
        }
        KillTimer(Wnd, ShowTimer);
        OpenSubMenu(*P, P->Selected, false);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(WParam) == WA_INACTIVE && !IsLoopWindow(L, reinterpret_cast<HWND>(LParam)))
            End(L);
        return 0;
    case WM_CAPTURECHANGED:
        if (!IsLoopWindow(L, reinterpret_cast<HWND>(LParam)))
            End(L);
        return 0;
    case WM_CLOSE: {
        // Qt closes its top popup on a press outside it, which may be a press on the menu below.
        POINT At;
        GetCursorPos(&At);
        int I = -1;
        TPopup *Under = PopupAt(L, QPoint(At.X, At.Y), &I);
        if (!Under || Under == P)
            End(L);
        return 0;
    }
    case WM_CANCELMODE:
    case WM_DESTROY:
        End(L);
        return 0;
    default:
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
}

// ---- placement -----------------------------------------------------------------------------------------

QRect WorkAreaAt(QPoint At)
{
    MONITORINFO Info;
    if (GetMonitorInfo(MonitorFromPoint(POINT{At.x(), At.y()}, MONITOR_DEFAULTTONEAREST), &Info))
        return QRect(Info.rcWork.Left, Info.rcWork.Top, Info.rcWork.Width(), Info.rcWork.Height());
    RECT R;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &R, 0);
    return QRect(R.Left, R.Top, R.Width(), R.Height());
}

// Where the alignment flags put a window of Size at (X, Y); one that would cross the work area's right or
// bottom edge opens to the left of or above its point instead, and it never starts outside the work area.
QPoint PlaceAt(QSize Size, UINT Flags, int X, int Y, const QRect &Exclude)
{
    const QRect Work = WorkAreaAt(QPoint(X, Y));
    int Left = (Flags & TPM_RIGHTALIGN) ? X - Size.width() : (Flags & TPM_CENTERALIGN) ? X - Size.width() / 2 : X;
    int Top = (Flags & TPM_BOTTOMALIGN) ? Y - Size.height() : (Flags & TPM_VCENTERALIGN) ? Y - Size.height() / 2 : Y;
    if (Left + Size.width() > Work.x() + Work.width())
        Left = std::min(X, Work.x() + Work.width()) - Size.width();
    if (Top + Size.height() > Work.y() + Work.height())
        Top = std::min(Y, Work.y() + Work.height()) - Size.height();
    Left = std::max(Left, Work.x());
    Top = std::max(Top, Work.y());
    // A menu that would cover the rectangle to keep clear moves beside it (below or above with TPM_VERTICAL),
    // on the side with room.
    if (Exclude.isValid() && QRect(QPoint(Left, Top), Size).intersects(Exclude)) {
        if (Flags & TPM_VERTICAL) {
            const bool Below = Exclude.bottom() + 1 + Size.height() <= Work.y() + Work.height();
            Top = Below ? Exclude.bottom() + 1 : Exclude.top() - Size.height();
        } else {
            const bool Right = Exclude.right() + 1 + Size.width() <= Work.x() + Work.width();
            Left = Right ? Exclude.right() + 1 : Exclude.left() - Size.width();
        }
    }
    return QPoint(Left, Top);
}

// A sub-menu opens to the right of its parent, level with its item; without room there, to the left.
QPoint PlaceBeside(QSize Size, const QRect &Parent, const QRect &ItemRect)
{
    const QRect Work = WorkAreaAt(ItemRect.topLeft());
    int Left = Parent.x() + Parent.width() - FrameWidth;
    if (Left + Size.width() > Work.x() + Work.width())
        Left = Parent.x() + FrameWidth - Size.width();
    int Top = ItemRect.y() - FrameWidth;
    if (Top + Size.height() > Work.y() + Work.height())
        Top = Work.y() + Work.height() - Size.height();
    return QPoint(std::max(Left, Work.x()), std::max(Top, Work.y()));
}

// ---- opening and closing -------------------------------------------------------------------------------

// Index: the position of the item opening Menu (0 for the first menu).
TPopup *Open(TMenuLoop &L, HMENU Menu, int Index, QPoint Anchor, const std::function<QPoint(QSize)> &Place)
{
    if (L.Notify())
        SendMessage(L.Owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Menu), MAKELPARAM(WORD(Index), FALSE));
    if (L.Finished() || !IsMenu(Menu))
        return nullptr;
    auto Owned = std::make_unique<TPopup>();
    TPopup &P = *Owned;
    P.Loop = &L;
    P.Menu = Menu;
    P.Wnd = CreateWindowEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, PopupClassName, QString(), WS_POPUP, 0, 0, 0, 0,
                           L.Owner, 0, nullptr, nullptr);
    if (!P.Wnd)
        return nullptr;
    SetWindowLong(P.Wnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&P));
    if (QWidget *W = WindowWidget(P.Wnd))
        W->setAttribute(Qt::WA_NoMouseReplay);
    L.Popups.push_back(std::move(Owned));
    QSize Size = Measure(P) + QSize(2 * FrameWidth, 2 * FrameWidth);
    const int Room = WorkAreaAt(Anchor).height();
    if (Size.height() > Room) {
        P.Scrolls = true;
        P.ContentHeight = Size.height() - 2 * FrameWidth;
        Size.setHeight(Room);
    }
    const QPoint At = Place(Size);
    SetWindowPos(P.Wnd, HWND_TOPMOST, At.x(), At.y(), Size.width(), Size.height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(P.Wnd);
    return &P;
}

void CloseAll(TMenuLoop &L)
{
    if (IsLoopWindow(L, GetCapture()))
        ReleaseCapture();
    while (!L.Popups.empty())
        CloseDeepest(L);
}

BOOL Track(HMENU Menu, UINT Flags, int X, int Y, HWND Owner, const QRect &Exclude)
{
    if (!IsMenu(Menu) || !IsWindow(Owner) || (Running && !(Flags & TPM_RECURSE)))
        return FALSE;
    TMenuLoop L;
    L.Owner = Owner;
    L.Flags = Flags;
    L.Active = GetActiveWindow();
    NONCLIENTMETRICS Metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(Metrics), &Metrics, 0);
    L.Font = CreateFontIndirect(&Metrics.lfMenuFont);
    LOGFONT Bold = Metrics.lfMenuFont;
    Bold.lfWeight = FW_BOLD;
    L.BoldFont = CreateFontIndirect(&Bold);
    TMenuLoop *const Outer = Running;
    Running = &L;

    if (L.Notify())
        SendMessage(Owner, WM_ENTERMENULOOP, TRUE, 0);
    if (TPopup *P = Open(L, Menu, 0, QPoint(X, Y), [&](QSize Size) { return PlaceAt(Size, Flags, X, Y, Exclude); }))
        SetCapture(P->Wnd);
    else
        End(L);
    // Asleep in the event loop until input, a timer or EndMenu ends the menu; painting goes on meanwhile.
    ProcessPendingMessages();
    while (!L.Finished()) {
        if (L.Notify() && !L.Popups.empty())
            SendMessage(Owner, WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(L.Popups.back()->Wnd));
        if (L.Finished())
            break;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ProcessPendingMessages();
    }

    CloseAll(L);
    Running = Outer;
    DeleteObject(L.Font);
    DeleteObject(L.BoldFont);
    if (L.Notify() && IsWindow(Owner)) {
        SendMessage(Owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        SendMessage(Owner, WM_EXITMENULOOP, TRUE, 0);
    }
    if (Flags & TPM_RETURNCMD)
        return L.Chosen ? BOOL(L.Command) : 0;
    if (L.Chosen && L.Notify())
        PostMessage(Owner, WM_COMMAND, MAKEWPARAM(WORD(L.Command), 0), 0);
    return TRUE;
}

} // namespace

void RegisterPopupMenuClass()
{
    WNDCLASS C;
    C.style = CS_SAVEBITS | CS_DBLCLKS;
    C.lpfnWndProc = MakeWndProc(PopupProc);
    C.lpszClassName = PopupClassName;
    RegisterClass(&C);
}

BOOL TrackPopupMenu(HMENU Menu, UINT Flags, int X, int Y, int, HWND Wnd, const RECT *)
{
    return Track(Menu, Flags, X, Y, Wnd, QRect());
}

BOOL TrackPopupMenuEx(HMENU Menu, UINT Flags, int X, int Y, HWND Wnd, TPMPARAMS *Params)
{
    QRect Exclude;
    if (Params && Params->cbSize == sizeof(TPMPARAMS))
        Exclude = QRect(Params->rcExclude.Left, Params->rcExclude.Top, Params->rcExclude.Width(),
                        Params->rcExclude.Height());
    return Track(Menu, Flags, X, Y, Wnd, Exclude);
}

BOOL EndMenu()
{
    if (Running)
        End(*Running);
    return TRUE;
}
