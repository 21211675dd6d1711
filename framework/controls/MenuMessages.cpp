// The messages of platform menus turned back into items: commands, owner draw, sub-menus opening and
// hotkeys, for a form's menu and, through the popup list's window, for every popup menu.
#include "framework/controls/Menus.h"

#include <QImage>

#include "platform/Window.h"

namespace {

LOGFONT MenuFont()
{
    NONCLIENTMETRICS Metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(Metrics), &Metrics, 0);
    return Metrics.lfMenuFont;
}

// The font the platform selected into a drawing DC (the menu font, bold for a default item).
LOGFONT FontOf(HDC DC)
{
    LOGFONT Font;
    auto *Current = static_cast<HFONT>(GetCurrentObject(DC, OBJ_FONT));
    if (!Current || GetObject(Current, sizeof(LOGFONT), &Font) == 0)
        return MenuFont();
    return Font;
}

// A canvas lent a DC for one message, with a copy of Font as its font (the canvas frees its own).
class TMenuCanvas
{
public:
    TMenuCanvas(HDC DC, const LOGFONT &Font) : FCanvas(TCanvas::Create())
    {
        FCanvas->SetHandle(DC);
        FCanvas->Font()->SetHandle(CreateFontIndirect(&Font));
    }
    ~TMenuCanvas()
    {
        FCanvas->SetHandle(nullptr);
        FCanvas->Free();
    }
    TMenuCanvas(const TMenuCanvas &) = delete;
    TMenuCanvas &operator=(const TMenuCanvas &) = delete;
    operator TCanvas *() const { return FCanvas; }

private:
    TCanvas *FCanvas;
};

bool IsMenuCommand(const TMessage &Message)
{
    return Message.LParam == 0 && HIWORD(Message.WParam) == 0;
}

} // namespace

bool TMenu::DispatchCommand(int ACommand)
{
    TMenuItem *Item = FindItem(quintptr(ACommand), fkCommand);
    if (!Item)
        return false;
    Item->Click();
    return true;
}

bool TMenu::DispatchPopup(HMENU AHandle)
{
    TMenuItem *Item = FindItem(reinterpret_cast<quintptr>(AHandle), fkHandle);
    if (!Item)
        return false;
    Item->Click();
    return true;
}

// The platform matches hotkeys of text items itself; owner-drawn ones show their "&" only to us. One
// match runs, several are selected in turn from the one after the highlighted item.
LRESULT TMenu::MenuChar(QChar Key, HMENU Menu)
{
    TMenuItem *Parent = Menu == FItems->FHandle ? FItems : FindItem(reinterpret_cast<quintptr>(Menu), fkHandle);
    if (!Parent)
        return MAKELRESULT(0, MNC_IGNORE);
    QList<int> Matches;
    int Highlighted = -1, Position = 0;
    for (TMenuItem *Item : std::as_const(Parent->FItems)) {
        if (!Item->Visible())
            continue;
        if (GetMenuState(Menu, UINT(Position), MF_BYPOSITION) & MF_HILITE)
            Highlighted = Position;
        if (Item->Enabled() && !Item->IsLine() && IsAccel(Key.unicode(), Item->Caption()))
            Matches << Position;
        ++Position;
    }
    if (Matches.isEmpty())
        return MAKELRESULT(0, MNC_IGNORE);
    if (Matches.size() == 1)
        return MAKELRESULT(WORD(Matches.front()), MNC_EXECUTE);
    for (int M : std::as_const(Matches))
        if (M > Highlighted)
            return MAKELRESULT(WORD(M), MNC_SELECT);
    return MAKELRESULT(WORD(Matches.front()), MNC_SELECT);
}

bool TMenu::DispatchMenuMessage(TMessage &Message)
{
    switch (Message.Msg) {
    case WM_COMMAND:
        if (!IsMenuCommand(Message) || !DispatchCommand(LOWORD(Message.WParam)))
            return false;
        Message.Result = 0;
        return true;
    case WM_MEASUREITEM: {
        auto *M = reinterpret_cast<MEASUREITEMSTRUCT *>(Message.LParam);
        TMenuItem *Item = M && M->CtlType == ODT_MENU ? FindItem(M->itemID, fkCommand) : nullptr;
        if (!Item)
            return false;
        // Measuring needs the font only: a DC on a scratch pixel, not one on the screen, which gathers the
        // windows' pictures first.
        QImage Scratch(1, 1, QImage::Format_RGB32);
        HDC DC = CreateImageDC(&Scratch);
        {
            TMenuCanvas Canvas(DC, MenuFont());
            int Width = int(M->itemWidth), Height = int(M->itemHeight);
            Item->MeasureItem(Canvas, Width, Height);
            M->itemWidth = UINT(std::max(Width, 0));
            M->itemHeight = UINT(std::max(Height, 0));
        }
        DeleteDC(DC);
        Message.Result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        auto *D = reinterpret_cast<DRAWITEMSTRUCT *>(Message.LParam);
        TMenuItem *Item = D && D->CtlType == ODT_MENU ? FindItem(D->itemID, fkCommand) : nullptr;
        if (!Item)
            return false;
        const int Saved = SaveDC(D->hDC);
        {
            TMenuCanvas Canvas(D->hDC, FontOf(D->hDC));
            Item->DrawItem(Canvas, TRect(D->rcItem), D->itemState & ODS_SELECTED);
        }
        RestoreDC(D->hDC, Saved);
        Message.Result = TRUE;
        return true;
    }
    case WM_INITMENUPOPUP:
        if (!DispatchPopup(reinterpret_cast<HMENU>(Message.WParam)))
            return false;
        Message.Result = 0;
        return true;
    case WM_MENUCHAR:
        Message.Result = MenuChar(QChar(LOWORD(Message.WParam)), reinterpret_cast<HMENU>(Message.LParam));
        return HIWORD(Message.Result) != MNC_IGNORE;
    default:
        return false;
    }
}

// ---- TPopupList ----------------------------------------------------------------------------------------

// Its window stays to the end: the window system goes first at exit.
TPopupList &PopupList()
{
    static TPopupList List;
    return List;
}

HWND TPopupList::Window()
{
    if (!FWindow || !IsWindow(FWindow))
        FWindow = AllocateHWnd([this](TMessage &Message) { WndProc(Message); });
    return FWindow;
}

void TPopupList::Add(TPopupMenu *Menu)
{
    FMenus.append(Menu);
}

void TPopupList::Remove(TPopupMenu *Menu)
{
    FMenus.removeAll(Menu);
}

// On a copy: a handler may free popup menus, which then leave the list.
void TPopupList::WndProc(TMessage &Message)
{
    const QList<TPopupMenu *> Menus = FMenus;
    for (TPopupMenu *Menu : Menus)
        if (FMenus.contains(Menu) && Menu->DispatchMenuMessage(Message))
            return;
    Message.Result = DefWindowProc(FWindow, Message.Msg, Message.WParam, Message.LParam);
}
