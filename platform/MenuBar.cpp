// A top-level window's menu bar in its non-client area: the band, its items' layout, painting and hit
// testing.
#include "platform/PopupMenuObject.h"

#include <algorithm>
#include <numeric>

using namespace PopupCore;

namespace {

// Room left and right of an item's text.
constexpr int ItemPadding = 6;
constexpr int SeparatorWidth = 8;

HMENU BarOf(HWND Wnd)
{
    return IsWindow(Wnd) && WindowCore::IsTopLevel(Wnd) && IsMenu(Wnd->Menu) ? Wnd->Menu : nullptr;
}

HFONT MenuFont()
{
    NONCLIENTMETRICS Metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(Metrics), &Metrics, 0);
    return CreateFontIndirect(&Metrics.lfMenuFont);
}

// By index, on a copy: the window may change the menu while it measures.
std::vector<int> Measure(HWND Wnd, HMENU Bar)
{
    std::vector<int> Widths;
    HDC DC = GetWindowDC(Wnd);
    HFONT Font = MenuFont();
    HFONT Old = SelectObject(DC, Font);
    for (size_t I = 0; IsMenu(Bar) && I < Bar->Items.size(); ++I) {
        const MenuItemData It = Bar->Items[I];
        if (IsOwnerDrawn(It)) {
            MEASUREITEMSTRUCT M;
            M.CtlType = ODT_MENU;
            M.itemID = It.Id;
            M.itemData = It.ItemData;
            SendMessage(Wnd, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&M));
            Widths.push_back(int(std::min<UINT>(M.itemWidth, 0x7FFF)));
        } else if (IsSeparator(It)) {
            Widths.push_back(SeparatorWidth);
        } else {
            Widths.push_back(TextWidth(DC, It.Text) + 2 * ItemPadding);
        }
    }
    SelectObject(DC, Old);
    DeleteObject(Font);
    ReleaseDC(Wnd, DC);
    return Widths;
}

const std::vector<int> &Widths(HWND Wnd, HMENU Bar)
{
    if (Bar->BarWidths.size() != Bar->Items.size()) {
        std::vector<int> W = Measure(Wnd, Bar);
        // The window may have replaced or destroyed the bar while measuring.
        if (BarOf(Wnd) != Bar)
            W.clear();
        Bar->BarWidths = std::move(W);
    }
    return Bar->BarWidths;
}

void DrawBarItem(HWND Wnd, HMENU Bar, int I, const QRect &Q, HDC DC, HFONT Font)
{
    const MenuItemData &It = Bar->Items[size_t(I)];
    const bool Hot = It.State & MFS_HILITE;
    const RECT R{Q.left(), Q.top(), Q.left() + Q.width(), Q.top() + Q.height()};
    if (IsOwnerDrawn(It)) {
        DRAWITEMSTRUCT D;
        D.CtlType = ODT_MENU;
        D.itemID = It.Id;
        D.itemAction = ODA_DRAWENTIRE;
        D.itemState = OwnerDrawState(It, Hot) | (Hot ? ODS_HOTLIGHT : 0);
        D.hwndItem = reinterpret_cast<HWND>(Bar);
        D.hDC = DC;
        D.rcItem = R;
        D.itemData = It.ItemData;
        SaveDC(DC);
        IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
        SendMessage(Wnd, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&D));
        RestoreDC(DC, -1);
        return;
    }
    if (IsSeparator(It))
        return;
    if (Hot)
        FillColor(DC, R, COLOR_HIGHLIGHT);
    SaveDC(DC);
    SelectObject(DC, Font);
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, GetSysColor(!IsEnabled(It) ? COLOR_GRAYTEXT : Hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    RECT Text = R;
    DrawText(DC, It.Text, -1, &Text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    RestoreDC(DC, -1);
}

} // namespace

namespace MenuCore {

int MenuBarHeight(HWND Wnd) { return BarOf(Wnd) ? GetSystemMetrics(SM_CYMENU) : 0; }

QRect MenuBarRect(HWND Wnd)
{
    if (!BarOf(Wnd))
        return QRect();
    const int B = WindowCore::FrameBand(Wnd), H = GetSystemMetrics(SM_CYMENU);
    // A window that computes its own client area without room for the band shows no bar.
    if (Wnd->ClientRect.top() < B + H)
        return QRect();
    return QRect(B, B, Wnd->WindowRect.width() - 2 * B, H);
}

std::vector<QRect> MenuBarLayout(HWND Wnd)
{
    const QRect Band = MenuBarRect(Wnd);
    if (Band.isEmpty())
        return {};
    HMENU Bar = Wnd->Menu;
    const std::vector<int> W = Widths(Wnd, Bar);
    if (!IsMenu(Bar) || W.size() != Bar->Items.size())
        return {};
    const auto Right = std::find_if(Bar->Items.begin(), Bar->Items.end(),
                                    [](const MenuItemData &It) { return It.Type & MFT_RIGHTJUSTIFY; });
    const size_t FirstRight = size_t(Right - Bar->Items.begin());
    std::vector<QRect> Rects;
    int X = Band.left();
    for (size_t I = 0; I < W.size(); ++I) {
        if (I == FirstRight)
            X = std::max(X, Band.left() + Band.width() - std::accumulate(W.begin() + long(I), W.end(), 0));
        Rects.emplace_back(X, Band.top(), W[I], Band.height());
        X += W[I];
    }
    return Rects;
}

int MenuBarItemAt(HWND Wnd, QPoint Screen)
{
    const QPoint P = Screen - WindowCore::ScreenOrigin(Wnd);
    const std::vector<QRect> Rects = MenuBarLayout(Wnd);
    const QRect Band = MenuBarRect(Wnd);
    for (size_t I = 0; I < Rects.size(); ++I)
        if (Rects[I].intersected(Band).contains(P))
            return int(I);
    return -1;
}

void PaintMenuBar(HWND Wnd, HDC DC)
{
    const QRect Band = MenuBarRect(Wnd);
    if (Band.isEmpty())
        return;
    const std::vector<QRect> Rects = MenuBarLayout(Wnd);
    HMENU Bar = BarOf(Wnd);
    SaveDC(DC);
    IntersectClipRect(DC, Band.left(), Band.top(), Band.left() + Band.width(), Band.top() + Band.height());
    FillColor(DC, RECT{Band.left(), Band.top(), Band.left() + Band.width(), Band.top() + Band.height()},
              COLOR_MENUBAR);
    HFONT Font = MenuFont();
    for (size_t I = 0; I < Rects.size() && IsMenu(Bar) && I < Bar->Items.size(); ++I)
        DrawBarItem(Wnd, Bar, int(I), Rects[I], DC, Font);
    DeleteObject(Font);
    RestoreDC(DC, -1);
}

void ForgetMenuBarLayout(HMENU Menu)
{
    if (IsMenu(Menu))
        Menu->BarWidths.clear();
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

} // namespace MenuCore

BOOL GetMenuItemRect(HWND Wnd, HMENU Menu, UINT Item, RECT *Rect)
{
    if (!Rect || !Menu || BarOf(Wnd) != Menu)
        return FALSE;
    const std::vector<QRect> Rects = MenuCore::MenuBarLayout(Wnd);
    if (Item >= Rects.size())
        return FALSE;
    const QRect R = Rects[Item].translated(WindowCore::ScreenOrigin(Wnd));
    *Rect = RECT{R.left(), R.top(), R.left() + R.width(), R.top() + R.height()};
    return TRUE;
}

int MenuItemFromPoint(HWND Wnd, HMENU Menu, POINT Screen)
{
    if (!Menu || BarOf(Wnd) != Menu)
        return -1;
    return MenuCore::MenuBarItemAt(Wnd, QPoint(Screen.X, Screen.Y));
}
