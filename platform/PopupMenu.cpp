// The modal loop of an open popup menu (TrackPopupMenu): the popup windows of class "#32768", their placement
// inside the work area, sub-menus, scrolling, and the keyboard and mouse of an open menu.
#include "platform/PopupMenuObject.h"
#include "platform/StdClasses.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>
#include <functional>
#include <memory>

using namespace PopupCore;

namespace {

const QString PopupClassName = QStringLiteral("#32768");
constexpr int ScrollStep = 16;
constexpr UINT ScrollInterval = 50;
constexpr int WheelRows = 3;

TMenuLoop *Running = nullptr;

TPopup *PopupOf(HWND Wnd) { return reinterpret_cast<TPopup *>(GetWindowLong(Wnd, GWL_USERDATA)); }

// ---- the loop's actions ---------------------------------------------------------------------------------

constexpr UINT_PTR ShowTimer = 1;
constexpr UINT_PTR ScrollTimer = 2;

bool IsLoopWindow(const TMenuLoop &L, HWND W)
{
    return std::any_of(L.Popups.begin(), L.Popups.end(), [&](const auto &P) { return P->Wnd == W; });
}

int LevelOf(const TPopup &P)
{
    const auto &Ps = P.Loop->Popups;
    return int(std::find_if(Ps.begin(), Ps.end(), [&](const auto &Q) { return Q.get() == &P; }) - Ps.begin());
}

bool IsDeepest(const TPopup &P) { return P.Loop->Popups.back().get() == &P; }

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

} // namespace

void PopupCore::Select(TPopup &P, int I, bool ByMouse)
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
    SendMenuSelect(P.Loop->Owner, P.Menu, I, Item(P, I), ByMouse);
}

void PopupCore::SendMenuSelect(HWND Owner, HMENU Menu, int I, const MenuItemData &It, bool ByMouse)
{
    UINT Flags = (It.Type | It.State | MF_HILITE) & 0xFFFF;
    if (It.SubMenu)
        Flags |= MF_POPUP;
    if (ByMouse)
        Flags |= MF_MOUSESELECT;
    // An item that opens a sub-menu is named by its position, the others by their command.
    const WORD Id = WORD(It.SubMenu ? UINT(I) : It.Id);
    SendMessage(Owner, WM_MENUSELECT, MAKEWPARAM(Id, WORD(Flags)), reinterpret_cast<LPARAM>(Menu));
}

int PopupCore::NextSelectable(HMENU Menu, int N, int From, int Step)
{
    for (int K = 1; K <= N; ++K) {
        const int I = ((From + Step * K) % N + N) % N;
        if (!IsSeparator(Menu->Items[size_t(I)]))
            return I;
    }
    return -1;
}

namespace {

int NextSelectable(const TPopup &P, int From, int Step)
{
    return PopupCore::NextSelectable(P.Menu, Count(P), From, Step);
}

bool OpensSubMenu(const TPopup &P, int I) { return Has(P, I) && Item(P, I).SubMenu && IsEnabled(Item(P, I)); }

// Opens the sub-menu of P's item I beside it (unless it is open already); from the keyboard its first item
// is selected.
void OpenSubMenu(TPopup &P, int I, bool SelectFirst)
{
    if (!OpensSubMenu(P, I))
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

void OnChar(TPopup &P, QChar C)
{
    // Enter and Esc come as characters too, after their keys have acted.
    if (P.Loop->Ended || !C.isPrint())
        return;
    const QChar Key = C.toLower();
    std::vector<int> Matches;
    for (int I = 0; I < Count(P); ++I) {
        const MenuItemData &It = Item(P, I);
        if (!IsOwnerDrawn(It) && !IsSeparator(It) && MenuCore::Mnemonic(It.Text) == Key)
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
        // In a bar's drop-down, Right on an item without a sub-menu goes on to the next drop-down.
        if (L.Bar && !OpensSubMenu(P, P.Selected))
            MoveOnBar(L, +1);
        else
            OpenSubMenu(P, P.Selected, true);
        break;
    case VK_LEFT:
        // Left closes a sub-menu; in the first menu there is nothing to go back to, but the bar's neighbour.
        if (L.Popups.size() > 1)
            CloseDeepest(L);
        else if (L.Bar)
            MoveOnBar(L, -1);
        break;
    case VK_ESCAPE:
        if (L.Popups.size() > 1)
            CloseDeepest(L);
        else if (L.Bar)
            CloseDropDown(L);
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
    const QPoint Screen = ScreenPoint(Own.Wnd, LParam);
    TPopup *P = PopupAt(L, Screen, &I);
    const bool Release = Msg == WM_LBUTTONUP || (Msg == WM_RBUTTONUP && (L.Flags & TPM_RIGHTBUTTON));
    // Outside the drop-downs, the bar they come from.
    if (!P && L.Bar && PointerOnBar(L, Msg, Screen))
        return;
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
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (L.Bar && MenuCore::IsMenuKeyReleased(WParam))
            End(L);
        return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
        OnChar(Deepest, QChar(char16_t(WParam)));
        return 0;
    case WM_MOUSEWHEEL: {
        // The wheel scrolls the tall menu under the pointer (or the deepest) by three of its rows a notch.
        int I = -1;
        TPopup *Under = PopupAt(L, QPoint(GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)), &I);
        TPopup &Target = Under ? *Under : Deepest;
        if (Target.Scrolls && !Target.Rects.empty()) {
            const int Delta = short(HIWORD(WParam));
            ScrollTo(Target, Target.Scroll - Delta * WheelRows * Target.Rects.front().height() / WHEEL_DELTA);
        }
        return 0;
    }
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
        // A press on the bar decides itself whether the menu goes on.
        const bool OnBar = L.Bar && MenuCore::MenuBarItemAt(L.Bar->Wnd, QPoint(At.X, At.Y)) >= 0;
        if ((!Under || Under == P) && !OnBar)
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

} // namespace

// Where the alignment flags put a window of Size at (X, Y); one that would cross the work area's right or
// bottom edge opens to the left of or above its point instead, and it never starts outside the work area.
QPoint PopupCore::PlaceAt(QSize Size, UINT Flags, int X, int Y, const QRect &Exclude)
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

namespace {

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

} // namespace

// Index: the position of the item opening Menu (0 for the first menu).
TPopup *PopupCore::Open(TMenuLoop &L, HMENU Menu, int Index, QPoint Anchor, const std::function<QPoint(QSize)> &Place)
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

// The popups go before the capture they hold, which would otherwise tell them it was lost (ending the menu).
void PopupCore::CloseAll(TMenuLoop &L)
{
    const HWND Held = GetCapture();
    const bool Ours = IsLoopWindow(L, Held);
    while (!L.Popups.empty())
        CloseDeepest(L);
    if (Ours && GetCapture() == Held)
        ReleaseCapture();
}

void PopupCore::Run(TMenuLoop &L, const std::function<void()> &Start, const std::function<void()> &Between)
{
    NONCLIENTMETRICS Metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(Metrics), &Metrics, 0);
    L.Font = CreateFontIndirect(&Metrics.lfMenuFont);
    LOGFONT Bold = Metrics.lfMenuFont;
    Bold.lfWeight = FW_BOLD;
    L.BoldFont = CreateFontIndirect(&Bold);
    TMenuLoop *const Outer = Running;
    Running = &L;

    Start();
    // Asleep in the event loop until input, a timer or EndMenu ends the menu; painting goes on meanwhile.
    ProcessPendingMessages();
    while (!L.Finished()) {
        Between();
        if (L.Finished())
            break;
        if (L.Notify() && (!L.Popups.empty() || L.Bar))
            SendMessage(L.Owner, WM_ENTERIDLE, MSGF_MENU,
                        reinterpret_cast<LPARAM>(L.Popups.empty() ? nullptr : L.Popups.back()->Wnd));
        if (L.Finished())
            break;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ProcessPendingMessages();
    }

    CloseAll(L);
    Running = Outer;
    DeleteObject(L.Font);
    DeleteObject(L.BoldFont);
}

namespace {

BOOL Track(HMENU Menu, UINT Flags, int X, int Y, HWND Owner, const QRect &Exclude)
{
    if (!IsMenu(Menu) || !IsWindow(Owner) || (Running && !(Flags & TPM_RECURSE)))
        return FALSE;
    TMenuLoop L;
    L.Owner = Owner;
    L.Flags = Flags;
    L.Active = GetActiveWindow();
    if (L.Notify())
        SendMessage(Owner, WM_ENTERMENULOOP, TRUE, 0);
    Run(
        L,
        [&] {
            const auto Place = [&](QSize Size) { return PlaceAt(Size, Flags, X, Y, Exclude); };
            if (TPopup *P = Open(L, Menu, 0, QPoint(X, Y), Place))
                SetCapture(P->Wnd);
            else
                End(L);
        },
        [] {});
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

bool PopupCore::MenuRunning() { return Running != nullptr; }

void PopupCore::End(TMenuLoop &L) { L.Ended = true; }

// Another window taking the activation (not one of the menu's own) closes the menu, as do the owner and a
// shown menu going.
bool PopupCore::TMenuLoop::Finished() const
{
    const HWND Now = GetActiveWindow();
    return Ended || !IsWindow(Owner) || (Now != Active && !IsLoopWindow(*this, Now)) ||
           (Bar && Bar->Wnd->Menu != Bar->Menu) ||
           std::any_of(Popups.begin(), Popups.end(), [](const auto &P) { return !IsMenu(P->Menu); });
}

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
