// A component that draws its form's frame itself, as skinned window frames do: it hooks the form's
// WindowProc, clears the caption bits, answers WM_NCCALCSIZE with its own band, paints the band through
// GetWindowDC from WM_NCPAINT and from a property setter, shapes the window with rounded corners, strips
// the caption again when the window is made anew, and gives the old procedure back when freed.
#include "framework/forms/Forms.h"
#include "platform/Region.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

constexpr int Side = 4;
constexpr int Title = 20;

class TFhFrame : public TComponent
{
    KIV_OBJECT(TFhFrame, TComponent)
public:
    void Construct(TComponent *AOwner) override
    {
        inherited::Construct(AOwner);
        Host = static_cast<TCustomForm *>(AOwner);
        OldProc = Host->WindowProc;
        Host->WindowProc = [this](TMessage &M) { HookProc(M); };
        StripCaption();
    }
    void BeforeDestruction() override
    {
        Host->WindowProc = OldProc;
        inherited::BeforeDestruction();
    }

    TColor FrameColor() const { return FFrameColor; }
    void SetFrameColor(TColor Value)
    {
        FFrameColor = Value;
        PaintFrame();
    }

    TCustomForm *Host = nullptr;
    TWndMethod OldProc;
    int NCPaints = 0;

private:
    void StripCaption()
    {
        if (!Host->HandleAllocated())
            return;
        HWND H = Host->Handle();
        SetWindowLong(H, GWL_STYLE, GetWindowLong(H, GWL_STYLE) & ~LONG_PTR(WS_CAPTION));
        SetWindowPos(H, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        RECT R;
        GetWindowRect(H, &R);
        SetWindowRgn(H, CreateRoundRectRgn(0, 0, R.Width() + 1, R.Height() + 1, 9, 9), TRUE);
    }

    void PaintFrame()
    {
        if (!Host->HandleAllocated())
            return;
        HWND H = Host->Handle();
        HDC DC = GetWindowDC(H);
        RECT R;
        GetWindowRect(H, &R);
        OffsetRect(&R, -R.Left, -R.Top);
        const POINT Origin = ClientOrigin(H);
        RECT Client;
        GetClientRect(H, &Client);
        OffsetRect(&Client, Origin.X, Origin.Y);
        SaveDC(DC);
        ExcludeClipRect(DC, Client.Left, Client.Top, Client.Right, Client.Bottom);
        HBRUSH Brush = CreateSolidBrush(ColorToRGB(FFrameColor));
        FillRect(DC, &R, Brush);
        DeleteObject(Brush);
        RestoreDC(DC, -1);
        ReleaseDC(H, DC);
    }

    void HookProc(TMessage &M)
    {
        switch (M.Msg) {
        case WM_NCCALCSIZE:
            if (M.WParam) {
                RECT &R = reinterpret_cast<NCCALCSIZE_PARAMS *>(M.LParam)->rgrc[0];
                R.Left += Side;
                R.Right -= Side;
                R.Top += Title;
                R.Bottom -= Side;
                M.Result = 0;
                return;
            }
            break;
        case WM_NCPAINT:
            ++NCPaints;
            PaintFrame();
            M.Result = 0;
            return;
        case CM_RECREATEWND:
            OldProc(M);
            StripCaption();
            return;
        default:
            break;
        }
        OldProc(M);
    }

    TColor FFrameColor = clNavy;
};
KIV_PUBLISHED(TFhFrame) {}

COLORREF WindowPixel(HWND H, int X, int Y)
{
    const QRgb P = WindowSurface(H)->pixel(X, Y);
    return RGB(BYTE(qRed(P)), BYTE(qGreen(P)), BYTE(qBlue(P)));
}

TEST(FrameHookTest, AComponentDrawsItsFormsFrameAndShapesTheWindow)
{
    Application->Initialize();
    ShowExceptionHook = [](const QString &Message) { ADD_FAILURE() << "exception shown: " << Message.toStdString(); };
    TForm *F = TForm::CreateNew(nullptr);
    F->SetBounds(50, 50, 200, 150);
    F->SetColor(clWhite);
    F->Show();
    ProcessPendingMessages();
    TFhFrame *Frame = TFhFrame::Create(F);
    ProcessPendingMessages();
    HWND H = F->Handle();

    EXPECT_EQ(GetWindowLong(H, GWL_STYLE) & LONG_PTR(WS_CAPTION), 0);
    EXPECT_EQ(ClientOrigin(H), (POINT{Side, Title}));
    EXPECT_EQ(F->ClientWidth(), 200 - 2 * Side);
    EXPECT_EQ(F->ClientHeight(), 150 - Title - Side);
    EXPECT_GE(Frame->NCPaints, 1);
    EXPECT_EQ(WindowPixel(H, 10, 10), ColorToRGB(clNavy));

    // Painted from a setter, outside any paint: on the surface at once.
    Frame->SetFrameColor(clRed);
    EXPECT_EQ(WindowPixel(H, 10, 10), ColorToRGB(clRed));
    EXPECT_EQ(WindowPixel(H, 1, 100), ColorToRGB(clRed));

    HRGN Rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(H, Rgn), RGN_ERROR);
    EXPECT_FALSE(PtInRegion(Rgn, 0, 0)) << "rounded corner";
    EXPECT_TRUE(PtInRegion(Rgn, 100, 1));
    EXPECT_TRUE(PtInRegion(Rgn, 199, 75));
    DeleteObject(Rgn);

    // The window made again for another border style loses its caption again.
    F->SetBorderStyle(bsSingle);
    H = F->Handle();
    EXPECT_EQ(GetWindowLong(H, GWL_STYLE) & LONG_PTR(WS_CAPTION), 0);
    EXPECT_EQ(ClientOrigin(H), (POINT{Side, Title}));

    // Freed: the form's own procedure again; its frame is the one the styles give.
    Frame->Free();
    SetWindowPos(H, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_NE(ClientOrigin(H), (POINT{Side, Title}));
    F->Free();
    ShowExceptionHook = nullptr;
}

} // namespace
