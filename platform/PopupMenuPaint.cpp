// The popup menu window's painting: its items measured and drawn, owner-drawn ones by the owner window,
// and its frame.
#include "platform/PopupMenuObject.h"

#include <algorithm>

namespace PopupCore {

QRect Shown(const TPopup &P, int I)
{
    return P.Rects[size_t(I)].translated(0, P.Scrolls ? ScrollBand - P.Scroll : 0);
}

QRect ItemArea(const TPopup &P)
{
    RECT C;
    GetClientRect(P.Wnd, &C);
    const int Band = P.Scrolls ? ScrollBand : 0;
    return QRect(0, Band, C.Width(), C.Height() - 2 * Band);
}

int TextWidth(HDC DC, const QString &Text)
{
    RECT R{0, 0, 0, 0};
    DrawText(DC, Text, -1, &R, DT_SINGLELINE | DT_CALCRECT);
    return R.Width();
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

namespace {

QString Label(const QString &Text) { return Text.section(QLatin1Char('\t'), 0, 0); }
QString Shortcut(const QString &Text) { return Text.section(QLatin1Char('\t'), 1); }

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

void DrawPlatformItemClipped(TPopup &P, int I, HDC DC, bool Selected)
{
    SaveDC(DC);
    const QRect Area = ItemArea(P);
    IntersectClipRect(DC, Area.left(), Area.top(), Area.left() + Area.width(), Area.top() + Area.height());
    DrawPlatformItem(P, I, DC, Selected);
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

} // namespace

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

    // Each column is as wide as its widest item; MFT_MENUBREAK and MFT_MENUBARBREAK items start a column.
    struct TColumn
    {
        int OwnerWidth = 0, LabelWidth = 0, ShortcutWidth = 0;
        bool Bar = false;
    };
    std::vector<TColumn> Columns(1);
    std::vector<std::pair<int, int>> Rows;   // column, height
    // By index, on a copy: the owner may change the menu while it measures.
    for (size_t I = 0; IsMenu(P.Menu) && I < P.Menu->Items.size(); ++I) {
        const MenuItemData It = P.Menu->Items[I];
        if (I > 0 && (It.Type & (MFT_MENUBREAK | MFT_MENUBARBREAK))) {
            Columns.emplace_back();
            Columns.back().Bar = It.Type & MFT_MENUBARBREAK;
        }
        TColumn &C = Columns.back();
        int Height = TextItemHeight;
        if (IsOwnerDrawn(It)) {
            MEASUREITEMSTRUCT M;
            M.CtlType = ODT_MENU;
            M.itemID = It.Id;
            M.itemData = It.ItemData;
            SendMessage(L.Owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&M));
            Height = int(std::min<UINT>(M.itemHeight, 0x7FFF));
            C.OwnerWidth = std::max(C.OwnerWidth, int(std::min<UINT>(M.itemWidth, 0x7FFF)));
        } else if (IsSeparator(It)) {
            Height = SeparatorHeight;
        } else {
            SelectObject(DC, (It.State & MFS_DEFAULT) ? L.BoldFont : L.Font);
            C.LabelWidth = std::max(C.LabelWidth, TextWidth(DC, Label(It.Text)));
            const QString Keys = Shortcut(It.Text);
            if (!Keys.isEmpty())
                C.ShortcutWidth = std::max(C.ShortcutWidth, TextWidth(DC, Keys));
        }
        Rows.emplace_back(int(Columns.size()) - 1, Height);
    }
    SelectObject(DC, Old);
    ReleaseDC(P.Wnd, DC);

    std::vector<int> Lefts, Widths;
    int Width = 0;
    for (const TColumn &C : Columns) {
        Width += C.Bar ? ColumnBarWidth : 0;
        Lefts.push_back(Width);
        Widths.push_back(std::max(C.OwnerWidth, Gutter + C.LabelWidth +
                                                    (C.ShortcutWidth ? ShortcutGap + C.ShortcutWidth : 0) + RightMargin));
        Width += Widths.back();
    }
    P.Rects.clear();
    P.ColumnBars.clear();
    int Height = 0, Y = 0, Column = 0;
    for (const auto &[InColumn, H] : Rows) {
        if (InColumn != Column) {
            Column = InColumn;
            Y = 0;
        }
        P.Rects.emplace_back(Lefts[size_t(Column)], Y, Widths[size_t(Column)], H);
        Y += H;
        Height = std::max(Height, Y);
    }
    for (size_t C = 1; C < Columns.size(); ++C)
        if (Columns[C].Bar)
            P.ColumnBars.push_back(Lefts[C] - ColumnBarWidth);
    return QSize(Width, Height);
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
    // The owner's drawing leaves our DC as it found it; it draws with the menu font, as the items we draw do.
    SaveDC(DC);
    SelectObject(DC, (It.State & MFS_DEFAULT) ? P.Loop->BoldFont : P.Loop->Font);
    const QRect Area = ItemArea(P);
    IntersectClipRect(DC, Area.left(), Area.top(), Area.left() + Area.width(), Area.top() + Area.height());
    const bool Opens = It.SubMenu != nullptr;
    SendMessage(P.Loop->Owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&D));
    // The arrow of an item that opens a sub-menu is the menu's, over the owner's drawing, in its text colour.
    if (Opens)
        DrawArrow(DC, Q, GetTextColor(DC));
    RestoreDC(DC, -1);
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
    // The etched line between columns of an MFT_MENUBARBREAK.
    for (int X : P.ColumnBars) {
        FillColor(DC, RECT{X + 1, Client.Top, X + 2, Client.Bottom}, COLOR_BTNSHADOW);
        FillColor(DC, RECT{X + 2, Client.Top, X + 3, Client.Bottom}, COLOR_BTNHIGHLIGHT);
    }
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

} // namespace PopupCore
