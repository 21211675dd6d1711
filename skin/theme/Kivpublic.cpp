#include "skin/theme/Kivpublic.h"

#include "framework/controls/Controls.h"
#include "framework/core/TypInfo.h"
#include "framework/forms/Forms.h"
#include "framework/graphics/ImgList.h"
#include "platform/Kernel.h"
#include "platform/Region.h"
#include "skin/theme/Kivmgr.h"

#include <algorithm>

bool g_KivronaConverting = false;

namespace {

// A temporary white bitmap of W x H.
TAutoFree<TBitmap> NewBitmap(int W, int H)
{
    TAutoFree<TBitmap> B(TBitmap::Create());
    B->SetHeight(H);
    B->SetWidth(W);
    return B;
}

} // namespace

// ---- bitmaps ----------------------------------------------------------------------------------------------

void SpitBitmap(TBitmap *Source, TBitmap *Dest, int SpitCount, int SpitIndex)
{
    // A count of zero would divide by zero; there is no frame to cut.
    if (SpitCount < 1)
        return;
    const int W = Source->Width() / SpitCount, H = Source->Height();
    const TRect From = Rect(W * (SpitIndex - 1), 0, W * SpitIndex, H);
    // A frame inside Source goes straight across; the temporary is only needed for the blank pixels of a
    // frame outside it, or when Source is Dest.
    if (SpitIndex >= 1 && SpitIndex <= SpitCount && Source != Dest) {
        Dest->SetHeight(H);
        Dest->SetWidth(W);
        Dest->Canvas()->CopyRect(Rect(0, 0, W, H), Source->Canvas(), From);
        return;
    }
    TAutoFree<TBitmap> Frame = NewBitmap(W, H);
    Frame->Canvas()->CopyRect(Rect(0, 0, W, H), Source->Canvas(), From);
    Dest->SetHeight(H);
    Dest->SetWidth(W);
    Dest->Canvas()->Draw(0, 0, Frame.get());
}

namespace {

// The pieces go straight from the source's DC to the canvas's: a corner copied 1:1 (the key left out when
// transparent), a stretched piece scaled with the key always left out. That is pixel for pixel what cutting
// each piece into a bitmap of its size and drawing it through a masked image list or as a transparent bitmap
// gives, without the temporaries.
constexpr COLORREF Key = 0xFF00FF;

void DrawCorner(HDC Source, HDC Dest, const TRect &From, int X, int Y, bool Transparent)
{
    const int W = From.Width(), H = From.Height();
    if (W <= 0 || H <= 0)
        return;
    if (Transparent)
        TransparentBlt(Dest, X, Y, W, H, Source, From.Left, From.Top, W, H, Key);
    else
        BitBlt(Dest, X, Y, W, H, Source, From.Left, From.Top, SRCCOPY);
}

// An empty strip (the middle row of a source of even height) stands for the one row at its start.
void WidenStrip(int &From, int &To, int Size)
{
    if (To > From)
        return;
    From = std::clamp(From, 0, std::max(0, Size - 1));
    To = From + 1;
}

// Pixels that would come from outside a tiny source are left as they were.
void DrawStretched(TBitmap *Source, HDC Dest, const TRect &To, TRect From)
{
    const int W = To.Width(), H = To.Height();
    if (W <= 0 || H <= 0)
        return;
    WidenStrip(From.Left, From.Right, Source->Width());
    WidenStrip(From.Top, From.Bottom, Source->Height());
    TransparentBlt(Dest, To.Left, To.Top, W, H, Source->Canvas()->Handle(), From.Left, From.Top, From.Width(),
                   From.Height(), Key);
}

} // namespace

void SpitDraw(TBitmap *Source, TCanvas *ACanvas, const TRect &ARect, bool Transparent)
{
    const int SW = Source->Width(), SH = Source->Height();
    const int W = ARect.Right - ARect.Left, H = ARect.Bottom - ARect.Top;
    const int R = ARect.Right, B = ARect.Bottom;

    const int CwL = std::max(0, std::min(SW / 2, W / 2));
    const int CwR = std::max(0, std::min(SW / 2 - 1, W / 2 - 1));
    const int ChT = std::max(0, std::min(SH / 2, H / 2));
    const int ChB = std::max(0, std::min(SH / 2 - 1, H / 2 - 1));

    const TRect TL = Rect(0, 0, CwL, ChT);
    const TRect BL = Rect(0, B - ChB, CwL, B);
    const TRect TR = Rect(R - CwR, 0, R, ChT);
    const TRect BR = Rect(R - CwR, B - ChB, R, B);

    HDC From = Source->Canvas()->Handle(), To = ACanvas->Handle();
    DrawCorner(From, To, Rect(0, 0, CwL, ChT), TL.Left, TL.Top, Transparent);
    DrawCorner(From, To, Rect(0, SH - ChB, CwL, SH), BL.Left, BL.Top, Transparent);

    const TRect Left = Rect(0, TL.Bottom, TL.Right, BL.Top);
    DrawStretched(Source, To, Left, Rect(0, SH / 2, std::min(SW / 2, Left.Width()), SH - SH / 2));

    DrawCorner(From, To, Rect(SW - CwR, 0, SW, ChT), TR.Left, TR.Top, Transparent);
    DrawCorner(From, To, Rect(SW - CwR, SH - ChB, SW, SH), BR.Left, BR.Top, Transparent);

    const TRect Right = Rect(TR.Left, TR.Bottom, TR.Right, BR.Top);
    DrawStretched(Source, To, Right, Rect(SW - std::min(SW / 2 - 1, Right.Width()), SH - SH / 2, SW, SH / 2 + 2));

    const int MidLeft = SW / 2, MidRight = SW - SW / 2 + 1;
    const TRect Top = Rect(TL.Right, 0, TR.Left, TL.Bottom);
    DrawStretched(Source, To, Top, Rect(MidLeft, 0, MidRight, std::min(SH / 2, Top.Height())));

    const TRect Centre = Rect(TL.Right, TL.Bottom, TR.Left, BR.Top - 1);
    DrawStretched(Source, To, Centre, Rect(MidLeft, SH / 2, MidRight, SH - SH / 2));

    const TRect Bottom = Rect(TL.Right - 1, BL.Top - 1, BR.Left, BR.Bottom);
    DrawStretched(Source, To, Bottom, Rect(MidLeft, SH - std::min(SH / 2, Bottom.Height()), MidRight, SH));
}

void SpitDrawHorizontal(TBitmap *Source, TCanvas *ACanvas, const TRect &ARect, bool CornerKey, bool TopCorner)
{
    const int FrameWidth = Source->Width() / 3, FrameHeight = Source->Height();
    if (FrameWidth <= 0 || FrameHeight <= 0)
        return;
    TColor Key = clKivTransparent;
    if (CornerKey)
        Key = Source->Canvas()->Pixels(0, TopCorner ? 0 : FrameHeight - 1);

    TAutoFree<TCustomImageList> List(TCustomImageList::CreateSize(FrameWidth, FrameHeight));
    List->AddMasked(Source, Key);
    List->Draw(ACanvas, ARect.Left, ARect.Top, 0);
    List->Draw(ACanvas, ARect.Right - FrameWidth, ARect.Top, 2);

    TAutoFree<TBitmap> Middle(TBitmap::Create());
    List->GetBitmap(1, Middle.get());
    ACanvas->StretchDraw(Rect(ARect.Left + FrameWidth, ARect.Top, ARect.Right - FrameWidth, ARect.Bottom),
                         Middle.get());
}

void TileDraw(TCanvas *ACanvas, TPicture *APicture, const TRect &ARect)
{
    TGraphic *Graphic = APicture->Graphic();
    const int PW = APicture->Width(), PH = APicture->Height();
    if (!Graphic || PW <= 0 || PH <= 0)
        return;
    const int W = ARect.Right - ARect.Left, H = ARect.Bottom - ARect.Top;
    for (int X = 0; X < PW + W; X += PW)
        for (int Y = 0; Y < PH + H; Y += PH)
            ACanvas->Draw(X, Y, Graphic);
}

namespace {

// Rebuilds Bmp at NewW x NewH, each new pixel taken from the old one that Map(x, y) names.
template <class F>
void Rotate(TBitmap *Bmp, int NewW, int NewH, F Map)
{
    const QImage Old = Bmp->Image();
    QImage New(NewW, NewH, QImage::Format_RGB32);
    for (int Y = 0; Y < NewH; ++Y) {
        QRgb *Line = reinterpret_cast<QRgb *>(New.scanLine(Y));
        for (int X = 0; X < NewW; ++X) {
            const QPoint From = Map(X, Y);
            Line[X] = reinterpret_cast<const QRgb *>(Old.constScanLine(From.y()))[From.x()];
        }
    }
    TAutoFree<TBitmap> Turned(TBitmap::Create());
    Turned->SetImage(New);
    Bmp->SetHeight(NewH);
    Bmp->SetWidth(NewW);
    Bmp->Canvas()->Draw(0, 0, Turned.get());
}

} // namespace

// The mappings below are the inverses of new (y, W - 1 - x) := old (x, y) and its two siblings.
void RoundPicture(TBitmap *Bmp)
{
    const int W = Bmp->Width(), H = Bmp->Height();
    if (Bmp->Empty())
        return;
    Rotate(Bmp, H, W, [W](int X, int Y) { return QPoint(W - 1 - Y, X); });
}

void RoundPicture2(TBitmap *Bmp)
{
    const int W = Bmp->Width(), H = Bmp->Height();
    if (Bmp->Empty())
        return;
    Rotate(Bmp, W, H, [W, H](int X, int Y) { return QPoint(W - 1 - X, H - 1 - Y); });
}

void RoundPicture3(TBitmap *Bmp)
{
    const int W = Bmp->Width(), H = Bmp->Height();
    if (Bmp->Empty())
        return;
    Rotate(Bmp, H, W, [H](int X, int Y) { return QPoint(Y, H - 1 - X); });
}

// ---- windows ----------------------------------------------------------------------------------------------

void SetBitmapWindow(HWND HWnd, TBitmap *Bmp, TColor TransColor)
{
    const COLORREF C = ColorToRGB(TransColor);
    const QRgb Key = qRgb(GetRValue(C), GetGValue(C), GetBValue(C)) & 0xFFFFFFu;
    const QImage &Image = Bmp->Image();
    HRGN Region = CreateRectRgn(0, 0, 0, 0);
    auto AddRun = [Region](int Start, int End, int Y) {
        HRGN Run = CreateRectRgn(Start, Y, End + 1, Y + 1);
        CombineRgn(Region, Region, Run, RGN_OR);
        DeleteObject(Run);
    };
    for (int Y = 0; Y < Bmp->Height(); ++Y) {
        const QRgb *Line = reinterpret_cast<const QRgb *>(Image.constScanLine(Y));
        int Start = -1, End = -1;
        for (int X = 0; X < Bmp->Width(); ++X) {
            if ((Line[X] & 0xFFFFFFu) != Key) {
                if (Start < 0)
                    Start = X;
                End = X;
            } else if (Start >= 0) {
                AddRun(Start, End, Y);
                Start = -1;
            }
        }
        if (Start >= 0)
            AddRun(Start, End, Y);
    }
    // A window that does not take the region leaves it with us.
    if (!SetWindowRgn(HWnd, Region, TRUE))
        DeleteObject(Region);
}

void DoTrans(TCanvas *ACanvas, TWinControl *AControl)
{
    TWinControl *Parent = AControl->Parent();
    if (!Parent)
        return;
    HDC DC = ACanvas->Handle();
    const int Saved = SaveDC(DC);
    POINT Org;
    GetViewportOrgEx(DC, &Org);
    SetViewportOrgEx(DC, Org.X - AControl->Left(), Org.Y - AControl->Top(), nullptr);
    IntersectClipRect(DC, 0, 0, Parent->ClientWidth(), Parent->ClientHeight());
    SendMessage(Parent->Handle(), WM_ERASEBKGND, WPARAM(DC), 0);
    SendMessage(Parent->Handle(), WM_PAINT, WPARAM(DC), 0);
    RestoreDC(DC, Saved);
}

void SetWinControlTransparent(TWinControl *AControl)
{
    AControl->SetControlStyle(AControl->ControlStyle() - TControlStyle{csOpaque});
    HWND Wnd = AControl->Handle();
    SetWindowLong(Wnd, GWL_EXSTYLE, GetWindowLong(Wnd, GWL_EXSTYLE) | WS_EX_TRANSPARENT);
}

void DrawControlBorder(TWinControl *AControl, TColor BorderColor, TColor InnerColor, bool DrawInner)
{
    HWND Wnd = AControl->Handle();
    HDC DC = GetWindowDC(Wnd);
    RECT R;
    GetWindowRect(Wnd, &R);
    OffsetRect(&R, -R.Left, -R.Top);
    HBRUSH Border = CreateSolidBrush(ColorToRGB(BorderColor));
    FrameRect(DC, &R, Border);
    DeleteObject(Border);
    if (DrawInner) {
        InflateRect(&R, -1, -1);
        HBRUSH Inner = CreateSolidBrush(ColorToRGB(InnerColor));
        FrameRect(DC, &R, Inner);
        DeleteObject(Inner);
    }
    ReleaseDC(Wnd, DC);
}

// ---- queries ----------------------------------------------------------------------------------------------

bool InRect(int X, int Y, const TRect &ARect)
{
    return X >= ARect.Left && X <= ARect.Right && Y >= ARect.Top && Y <= ARect.Bottom;
}

bool InRect(const TPoint &APoint, const TRect &ARect)
{
    return InRect(APoint.X, APoint.Y, ARect);
}

TRect GetWorkAreaRect()
{
    TApplication *App = TApplicationRef::Peek();
    if (App && App->MainForm())
        return Screen->MonitorFromWindow(App->MainForm()->Handle(), mdNearest)->WorkareaRect();
    RECT R;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &R, 0);
    return R;
}

void PlaceControl(TControl *AControl, const TPoint &APoint)
{
    AControl->SetLeft(APoint.X);
    AControl->SetTop(APoint.Y);
}

void PlaceControl(TControl *AControl, const TRect &ARect)
{
    AControl->SetLeft(ARect.Left);
    AControl->SetTop(ARect.Top);
    AControl->SetWidth(ARect.Right - ARect.Left);
    AControl->SetHeight(ARect.Bottom - ARect.Top);
}

bool FormHasFocus(TCustomForm *AForm)
{
    TApplication *App = TApplicationRef::Peek();
    TCustomForm *Main = App ? App->MainForm() : nullptr;
    if (!Main)
        return AForm && AForm->Active();
    const bool MDIFrame = Main->FormStyle() == fsMDIForm;
    if (MDIFrame && AForm == Main)
        return true;
    if (!App->Active())
        return false;
    if (!AForm || AForm == Main)
        return true;
    if (MDIFrame && HWND(SendMessage(Main->ClientHandle(), WM_MDIGETACTIVE, 0, 0)) == AForm->Handle())
        return true;
    return AForm->Active();
}

bool IsHasProperty(TComponent *AComponent, const QString &APropName)
{
    return AComponent && GetPropInfo(AComponent, APropName) != nullptr;
}

void ContainerApplyUIStyle(TWinControl *Container, TkivUIStyle UIStyle, TkivFileTheme *FileTheme)
{
    if (!Container)
        return;
    const QString FileThemeProp = QStringLiteral("FileTheme"), UIStyleProp = QStringLiteral("UIStyle");
    for (int I = 0; I < Container->ControlCount(); ++I) {
        TControl *Child = Container->Controls(I);
        if (IsHasProperty(Child, FileThemeProp) && IsHasProperty(Child, UIStyleProp)) {
            SetObjectProp(Child, FileThemeProp, FileTheme);
            SetOrdProp(Child, UIStyleProp, UIStyle);
        }
    }
}

QString PCharToStr(const char *P)
{
    return P ? QString::fromUtf8(P) : QString();
}

// ---- functions bound at run time ----------------------------------------------------------------------

namespace {

using TGetScrollBarInfo = BOOL (*)(HWND, LONG, SCROLLBARINFO *);
using TGetComboBoxInfo = BOOL (*)(HWND, COMBOBOXINFO *);
using TAnimateWindow = BOOL (*)(HWND, DWORD, DWORD);

HMODULE User32 = nullptr;
TGetScrollBarInfo ScrollBarInfoEntry = nullptr;
TGetComboBoxInfo ComboBoxInfoEntry = nullptr;
TAnimateWindow AnimateWindowEntry = nullptr;
bool InfoUnavailable = false;
bool AnimateUnavailable = false;

// Looks Name up in "User32.dll", loading it on first need; sets Unavailable when it is not there.
template <class F>
bool Bind(F &Entry, const char *Name, bool &Unavailable)
{
    if (Unavailable)
        return false;
    if (Entry)
        return true;
    if (!User32)
        User32 = LoadLibraryA("User32.dll");
    Entry = User32 ? reinterpret_cast<F>(GetProcAddress(User32, Name)) : nullptr;
    Unavailable = !Entry;
    return Entry != nullptr;
}

struct TFinalization
{
    ~TFinalization() { ReleaseKivDynamicFunctions(); }
} Finalization;

} // namespace

BOOL KIVGetScrollBarInfo(HWND hwnd, int idObject, SCROLLBARINFO &psbi)
{
    if (!Bind(ScrollBarInfoEntry, "GetScrollBarInfo", InfoUnavailable))
        return FALSE;
    return ScrollBarInfoEntry(hwnd, idObject, &psbi);
}

BOOL KIVGetComboBoxInfo(HWND hwndCombo, COMBOBOXINFO &pcbi)
{
    if (!Bind(ComboBoxInfoEntry, "GetComboBoxInfo", InfoUnavailable))
        return FALSE;
    return ComboBoxInfoEntry(hwndCombo, &pcbi);
}

BOOL KIVAnimateWindow(HWND hwnd, DWORD dwTime, DWORD dwFlags)
{
    if (!Bind(AnimateWindowEntry, "AnimateWindow", AnimateUnavailable))
        return FALSE;
    return AnimateWindowEntry(hwnd, dwTime, dwFlags);
}

void ReleaseKivDynamicFunctions()
{
    if (User32)
        FreeLibrary(User32);
    User32 = nullptr;
    ScrollBarInfoEntry = nullptr;
    ComboBoxInfoEntry = nullptr;
    AnimateWindowEntry = nullptr;
    InfoUnavailable = false;
    AnimateUnavailable = false;
}

// ---- system -------------------------------------------------------------------------------------------

namespace {

// The classic test answers for Windows NT 5.1 and 5.2; this system reports no Windows version.
const bool XPFlag = false;

} // namespace

bool IsWinXP()
{
    return XPFlag;
}
