// Window surfaces and their device contexts, invalidation and painting, the default non-client frame, and
// window regions.
#include "platform/WindowObject.h"

#include <QPainter>
#include <QSet>

#include <algorithm>

using namespace WindowCore;

namespace {

// A DC over a window's surface: drawing through it shows on the widget at once.
class TWindowDC : public GdiDC
{
public:
    TWindowDC(HWND AWnd, QPoint AOrigin, QRect ABounds);
    ~TWindowDC() override;
    void Changed(const QRect &SurfaceRect) override;
    HWND Wnd;
};

struct TPaintGlobals
{
    QSet<GdiDC *> DCs;
    QSet<HWND> Pending;
    bool RequestPosted = false;
};

TPaintGlobals &PG()
{
    static TPaintGlobals Globals;
    return Globals;
}

TWindowDC::TWindowDC(HWND AWnd, QPoint AOrigin, QRect ABounds)
    : GdiDC(&AWnd->Surface, AOrigin, ABounds), Wnd(AWnd)
{
    PG().DCs.insert(this);
}

TWindowDC::~TWindowDC() { PG().DCs.remove(this); }

void TWindowDC::Changed(const QRect &SurfaceRect)
{
    if (Wnd && IsWindow(Wnd) && Wnd->Widget)
        Wnd->Widget->update(SurfaceRect);
}

// A DC over the screen. On making it the desktop's surface becomes the picture of the visible top-level
// windows; what is drawn goes back into the surface of the window that shows each pixel, so drawing on
// the screen lands in our own windows under it.
class TDesktopDC : public TWindowDC
{
public:
    explicit TDesktopDC(HWND Desktop);
    void Changed(const QRect &SurfaceRect) override;
};

bool ShowsOnScreen(HWND W)
{
    return IsWindowVisible(W) && W->State != TShowState::Minimized && !W->Surface.isNull();
}

// In screen coordinates.
QRegion ScreenShape(HWND W)
{
    const QRect Whole(QPoint(0, 0), W->WindowRect.size());
    const QRegion Shape = W->Region ? W->Region->Region & Whole : QRegion(Whole);
    return Shape.translated(W->WindowRect.topLeft());
}

TDesktopDC::TDesktopDC(HWND Desktop) : TWindowDC(Desktop, QPoint(0, 0), QRect())
{
    const QPoint Origin = Desktop->WindowRect.topLeft();
    Desktop->Surface.fill(Qt::black);
    QPainter P(&Desktop->Surface);
    const std::vector<HWND> &Tops = TopLevelWindows();
    for (auto It = Tops.rbegin(); It != Tops.rend(); ++It) {
        if (!ShowsOnScreen(*It))
            continue;
        P.setClipRegion(ScreenShape(*It).translated(-Origin));
        P.drawImage((*It)->WindowRect.topLeft() - Origin, (*It)->Surface);
    }
}

void TDesktopDC::Changed(const QRect &SurfaceRect)
{
    const QPoint Origin = Wnd->WindowRect.topLeft();
    const QRegion Drawn(SurfaceRect.translated(Origin));
    QRegion Covered;
    for (HWND W : std::vector<HWND>(TopLevelWindows())) {
        if (!ShowsOnScreen(W))
            continue;
        const QRegion Shape = ScreenShape(W);
        const QRegion Part = (Shape & Drawn) - Covered;
        Covered += Shape;
        if (Part.isEmpty())
            continue;
        const QPoint At = W->WindowRect.topLeft();
        QPainter P(&W->Surface);
        P.setCompositionMode(QPainter::CompositionMode_Source);
        P.setClipRegion(Part.translated(-At));
        P.drawImage(Origin - At, Wnd->Surface);
        P.end();
        if (W->Widget)
            W->Widget->update(Part.translated(-At));
    }
}

QRect ClientArea(HWND W) { return QRect(QPoint(0, 0), W->ClientRect.size()); }

QRect FromRECT(const RECT &R) { return QRect(R.Left, R.Top, R.Width(), R.Height()).normalized(); }

TWindowDC *MakeClientDC(HWND W)
{
    return new TWindowDC(W, W->ClientRect.topLeft(), W->ClientRect);
}

int Depth(HWND W)
{
    int D = 0;
    for (; W->Parent; W = W->Parent)
        ++D;
    return D;
}

void FillBand(HDC DC, const QRect &R, int SysColor)
{
    if (R.isEmpty())
        return;
    HBRUSH B = CreateSolidBrush(GetSysColor(SysColor));
    RECT Rc{R.x(), R.y(), R.x() + R.width(), R.y() + R.height()};
    FillRect(DC, &Rc, B);
    DeleteObject(B);
}

// One-pixel edges of Rect: top and left in Light, bottom and right in Dark.
void DrawEdgePair(HDC DC, const QRect &R, int Light, int Dark)
{
    FillBand(DC, QRect(R.left(), R.top(), R.width(), 1), Light);
    FillBand(DC, QRect(R.left(), R.top(), 1, R.height()), Light);
    FillBand(DC, QRect(R.left(), R.bottom(), R.width(), 1), Dark);
    FillBand(DC, QRect(R.right(), R.top(), 1, R.height()), Dark);
}

void PaintDefaultFrame(HWND W, HDC DC, int Band)
{
    QRect Whole(QPoint(0, 0), W->WindowRect.size());
    QRect Client = W->ClientRect;
    SaveDC(DC);
    ExcludeClipRect(DC, Client.x(), Client.y(), Client.x() + Client.width(), Client.y() + Client.height());
    bool ClientEdge = W->ExStyle & WS_EX_CLIENTEDGE;
    int Outer = Band - (ClientEdge ? 2 : 0);
    if (Outer == 1) {
        FillBand(DC, QRect(Whole.topLeft(), QSize(Whole.width(), 1)), COLOR_WINDOWFRAME);
        FillBand(DC, QRect(Whole.topLeft(), QSize(1, Whole.height())), COLOR_WINDOWFRAME);
        FillBand(DC, QRect(Whole.left(), Whole.bottom(), Whole.width(), 1), COLOR_WINDOWFRAME);
        FillBand(DC, QRect(Whole.right(), Whole.top(), 1, Whole.height()), COLOR_WINDOWFRAME);
    } else if (Outer > 1) {
        FillBand(DC, Whole, COLOR_BTNFACE);
        DrawEdgePair(DC, Whole, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
        DrawEdgePair(DC, Whole.adjusted(1, 1, -1, -1), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    }
    if (ClientEdge) {
        QRect Edge = Client.adjusted(-2, -2, 2, 2);
        DrawEdgePair(DC, Edge, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        DrawEdgePair(DC, Edge.adjusted(1, 1, -1, -1), COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    }
    RestoreDC(DC, -1);
}

} // namespace

namespace WindowCore {

void ResizeSurface(HWND W)
{
    QSize Size = W->WindowRect.size();
    if (W->Surface.size() == Size)
        return;
    QImage New(Size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    COLORREF Face = GetSysColor(COLOR_BTNFACE);
    New.fill(QColor(GetRValue(Face), GetGValue(Face), GetBValue(Face)));
    if (!W->Surface.isNull() && !New.isNull()) {
        QRect Keep = W->Surface.rect() & New.rect();
        for (int Y = Keep.top(); Y <= Keep.bottom(); ++Y)
            std::copy_n(reinterpret_cast<const QRgb *>(W->Surface.constScanLine(Y)), Keep.width(),
                        reinterpret_cast<QRgb *>(New.scanLine(Y)));
    }
    W->Surface = New;
}

void SchedulePaint(HWND W, const QRect &Part)
{
    PG().Pending.insert(W);
    if (W->Widget) {
        if (Part.isEmpty())
            W->Widget->update();
        else
            W->Widget->update(Part);
    }
    if (!PG().RequestPosted) {
        PG().RequestPosted = true;
        PostPaintRequest();
    }
}

bool HasPendingPaint(HWND W) { return W->FrameDirty || !W->UpdateRgn.isEmpty(); }

void PaintPending()
{
    PG().RequestPosted = false;
    std::vector<HWND> Windows;
    for (HWND W : PG().Pending)
        if (IsWindow(W))
            Windows.push_back(W);
    // Parents first, as they lie under their children.
    std::stable_sort(Windows.begin(), Windows.end(), [](HWND A, HWND B) { return Depth(A) < Depth(B); });
    for (HWND W : Windows) {
        if (!IsWindow(W) || !IsWindowVisible(W))
            continue;
        PG().Pending.remove(W);
        UpdateWindow(W);
    }
}

void ForgetWindowPaint(HWND W)
{
    PG().Pending.remove(W);
    for (GdiDC *Base : PG().DCs)
        if (auto *DC = static_cast<TWindowDC *>(Base); DC->Wnd == W) {
            DC->Wnd = nullptr;
            DC->SetSurface(nullptr);
        }
}

void DefaultNcPaint(HWND W)
{
    HDC DC = GetWindowDC(W);
    if (int Band = FrameBand(W); Band > 0)
        PaintDefaultFrame(W, DC, Band);
    MenuCore::PaintMenuBar(W, DC);
    ReleaseDC(W, DC);
}

LRESULT DefaultNcHitTest(HWND W, QPoint Screen)
{
    QPoint P = Screen - ScreenOrigin(W);
    QRect Whole(QPoint(0, 0), W->WindowRect.size());
    if (!Whole.contains(P))
        return HTNOWHERE;
    if (W->ClientRect.contains(P))
        return HTCLIENT;
    if (MenuCore::MenuBarRect(W).contains(P))
        return HTMENU;
    if (!(W->Style & WS_THICKFRAME))
        return HTBORDER;
    const int Corner = 16;
    bool Left = P.x() < W->ClientRect.left();
    bool Right = P.x() > W->ClientRect.right();
    bool Top = P.y() < W->ClientRect.top();
    bool Bottom = P.y() > W->ClientRect.bottom();
    bool NearLeft = P.x() < Corner;
    bool NearRight = P.x() >= Whole.width() - Corner;
    bool NearTop = P.y() < Corner;
    bool NearBottom = P.y() >= Whole.height() - Corner;
    if ((Top && NearLeft) || (Left && NearTop))
        return HTTOPLEFT;
    if ((Top && NearRight) || (Right && NearTop))
        return HTTOPRIGHT;
    if ((Bottom && NearLeft) || (Left && NearBottom))
        return HTBOTTOMLEFT;
    if ((Bottom && NearRight) || (Right && NearBottom))
        return HTBOTTOMRIGHT;
    if (Left)
        return HTLEFT;
    if (Right)
        return HTRIGHT;
    if (Top)
        return HTTOP;
    return HTBOTTOM;
}

LRESULT DefaultEraseBackground(HWND W, HDC DC)
{
    if (!W->Class.hbrBackground || !DC)
        return 0;
    RECT R{0, 0, W->ClientRect.width(), W->ClientRect.height()};
    FillRect(DC, &R, W->Class.hbrBackground);
    return 1;
}

void ApplyWindowMask(HWND W)
{
    if (!W->Widget)
        return;
    if (W->Region)
        W->Widget->setMask(W->Region->Region.isEmpty() ? QRegion(-1, -1, 1, 1) : W->Region->Region);
    else
        W->Widget->clearMask();
}

bool HasNonClientPart(HWND W)
{
    return W->Region || W->ClientRect != QRect(QPoint(0, 0), W->WindowRect.size());
}

} // namespace WindowCore

// ---- invalidation --------------------------------------------------------------------------------------

BOOL InvalidateRect(HWND Wnd, const RECT *R, BOOL Erase)
{
    if (!IsWindow(Wnd) || Wnd->Desktop)
        return FALSE;
    QRect Area = R ? FromRECT(*R) & ClientArea(Wnd) : ClientArea(Wnd);
    if (Area.isEmpty())
        return TRUE;
    Wnd->UpdateRgn += Area;
    if (Erase)
        Wnd->EraseNeeded = true;
    SchedulePaint(Wnd, Area.translated(Wnd->ClientRect.topLeft()));
    return TRUE;
}

BOOL InvalidateRgn(HWND Wnd, HRGN Rgn, BOOL Erase)
{
    if (!IsWindow(Wnd) || Wnd->Desktop)
        return FALSE;
    if (!Rgn)
        return InvalidateRect(Wnd, nullptr, Erase);
    QRegion Area = Rgn->Region & ClientArea(Wnd);
    if (Area.isEmpty())
        return TRUE;
    Wnd->UpdateRgn += Area;
    if (Erase)
        Wnd->EraseNeeded = true;
    SchedulePaint(Wnd, Area.boundingRect().translated(Wnd->ClientRect.topLeft()));
    return TRUE;
}

BOOL ValidateRect(HWND Wnd, const RECT *R)
{
    if (!IsWindow(Wnd))
        return FALSE;
    if (R)
        Wnd->UpdateRgn -= FromRECT(*R);
    else
        Wnd->UpdateRgn = QRegion();
    if (Wnd->UpdateRgn.isEmpty())
        Wnd->EraseNeeded = false;
    return TRUE;
}

BOOL GetUpdateRect(HWND Wnd, RECT *R, BOOL)
{
    if (!IsWindow(Wnd))
        return FALSE;
    QRect B = Wnd->UpdateRgn.boundingRect();
    if (R)
        *R = B.isEmpty() ? RECT{} : RECT{B.x(), B.y(), B.x() + B.width(), B.y() + B.height()};
    return !B.isEmpty();
}

BOOL UpdateWindow(HWND Wnd)
{
    if (!IsWindow(Wnd) || Wnd->Desktop)
        return FALSE;
    if (Wnd->InUpdate)
        return TRUE;
    DispatchGuard Guard;
    Wnd->InUpdate = true;
    PG().Pending.remove(Wnd);
    if (Wnd->FrameDirty) {
        Wnd->FrameDirty = false;
        if (HasNonClientPart(Wnd))
            SendMessage(Wnd, WM_NCPAINT, 1, 0);
    }
    if (IsWindow(Wnd) && !Wnd->UpdateRgn.isEmpty()) {
        SendMessage(Wnd, WM_PAINT, 0, 0);
        // A procedure that paints without validating would be asked again and again.
        if (IsWindow(Wnd)) {
            Wnd->UpdateRgn = QRegion();
            Wnd->EraseNeeded = false;
        }
    }
    Wnd->InUpdate = false;
    return TRUE;
}

BOOL RedrawWindow(HWND Wnd, const RECT *R, HRGN Rgn, UINT Flags)
{
    if (!IsWindow(Wnd))
        return FALSE;
    DispatchGuard Guard;
    if (Flags & RDW_INVALIDATE) {
        if (Rgn)
            InvalidateRgn(Wnd, Rgn, Flags & RDW_ERASE);
        else
            InvalidateRect(Wnd, R, Flags & RDW_ERASE);
    }
    if (Flags & RDW_FRAME) {
        Wnd->FrameDirty = true;
        SchedulePaint(Wnd);
    }
    if (Flags & RDW_ALLCHILDREN)
        for (HWND C : std::vector<HWND>(Wnd->Children))
            if (IsWindow(C))
                RedrawWindow(C, nullptr, nullptr, Flags);
    if ((Flags & RDW_UPDATENOW) && IsWindow(Wnd))
        UpdateWindow(Wnd);
    return TRUE;
}

// ---- device contexts -----------------------------------------------------------------------------------

HDC BeginPaint(HWND Wnd, PAINTSTRUCT *Paint)
{
    if (!IsWindow(Wnd) || !Paint || Wnd->Desktop)
        return nullptr;
    QRegion Invalid = Wnd->UpdateRgn & ClientArea(Wnd);
    bool Erase = Wnd->EraseNeeded;
    Wnd->UpdateRgn = QRegion();
    Wnd->EraseNeeded = false;

    TWindowDC *DC = MakeClientDC(Wnd);
    SelectClipRegion(DC, &Invalid);
    QRect Box = Invalid.boundingRect();
    Paint->hdc = DC;
    Paint->rcPaint = Box.isEmpty() ? RECT{} : RECT{Box.x(), Box.y(), Box.x() + Box.width(), Box.y() + Box.height()};
    Paint->fErase = FALSE;
    if (Erase)
        Paint->fErase = SendMessage(Wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0) ? FALSE : TRUE;
    return DC;
}

BOOL EndPaint(HWND, const PAINTSTRUCT *Paint)
{
    if (!Paint || !Paint->hdc)
        return FALSE;
    if (!PG().DCs.contains(Paint->hdc))
        return FALSE;
    delete Paint->hdc;
    return TRUE;
}

HDC GetDC(HWND Wnd)
{
    if (!Wnd)
        Wnd = GetDesktopWindow();
    if (!IsWindow(Wnd))
        return nullptr;
    if (Wnd->Desktop)
        return new TDesktopDC(Wnd);
    return MakeClientDC(Wnd);
}

HDC GetWindowDC(HWND Wnd)
{
    if (!Wnd)
        Wnd = GetDesktopWindow();
    if (!IsWindow(Wnd))
        return nullptr;
    if (Wnd->Desktop)
        return new TDesktopDC(Wnd);
    return new TWindowDC(Wnd, QPoint(0, 0), QRect());
}

int ReleaseDC(HWND, HDC DC)
{
    if (!DC || !PG().DCs.contains(DC))
        return 0;
    delete DC;
    return 1;
}

HWND WindowFromDC(HDC DC)
{
    if (!DC || !PG().DCs.contains(DC))
        return nullptr;
    HWND W = static_cast<TWindowDC *>(DC)->Wnd;
    return IsWindow(W) ? W : nullptr;
}

const QImage *WindowSurface(HWND Wnd) { return IsWindow(Wnd) ? &Wnd->Surface : nullptr; }

// ---- regions -------------------------------------------------------------------------------------------

int SetWindowRgn(HWND Wnd, HRGN Rgn, BOOL Redraw)
{
    if (!IsWindow(Wnd) || Wnd->Desktop)
        return 0;
    if (Wnd->Region && Wnd->Region != Rgn)
        DeleteObject(Wnd->Region);
    Wnd->Region = Rgn;
    ApplyWindowMask(Wnd);
    if (Redraw) {
        Wnd->FrameDirty = true;
        SchedulePaint(Wnd);
        InvalidateRect(Wnd, nullptr, TRUE);
    }
    return 1;
}

int GetWindowRgn(HWND Wnd, HRGN Rgn)
{
    if (!IsWindow(Wnd) || !Rgn || !Wnd->Region)
        return RGN_ERROR;
    Rgn->Region = Wnd->Region->Region;
    if (Rgn->Region.isEmpty())
        return NULLREGION;
    return Rgn->Region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}
