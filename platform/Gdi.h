#pragma once
// Device contexts and drawing objects: the GDI of the window-system layer.
//
// A DC draws into a 32-bit QImage surface that someone else owns (a bitmap's pixels here, a window's retained
// surface later). Everything is integer pixel arithmetic on the surface, so results are exact and testable;
// only text goes through QPainter.
//
// Coordinates: logical point P lands on surface pixel P + viewport origin + the DC's origin on its surface.
// Rectangles exclude their right and bottom edges.
//
// Inverted rectangles (Right < Left or Bottom < Top): FillRect, FrameRect, Rectangle, InvertRect and
// DrawFocusRect order the corners first and then draw, as the block transfer underneath them does
// (FillRect(1, 9, 5, 1) fills rows 1..8). StretchBlt and TransparentBlt mirror when the signs of the
// destination and source extents differ; BitBlt with a negative extent draws nothing.

#include "platform/WinDef.h"

#include <QFont>
#include <QImage>
#include <QRegion>
#include <QString>
#include <vector>

// ---- drawing objects ----------------------------------------------------------------------------------

constexpr UINT OBJ_PEN = 1;
constexpr UINT OBJ_BRUSH = 2;
constexpr UINT OBJ_DC = 3;
constexpr UINT OBJ_FONT = 6;
constexpr UINT OBJ_BITMAP = 7;
constexpr UINT OBJ_REGION = 8;

constexpr UINT PS_SOLID = 0;
constexpr UINT PS_DASH = 1;
constexpr UINT PS_DOT = 2;
constexpr UINT PS_DASHDOT = 3;
constexpr UINT PS_DASHDOTDOT = 4;
constexpr UINT PS_NULL = 5;
constexpr UINT PS_INSIDEFRAME = 6;

constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;
constexpr UINT BS_HOLLOW = BS_NULL;
constexpr UINT BS_PATTERN = 3;

constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_GUI_FONT = 17;

constexpr LONG FW_DONTCARE = 0;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;

constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE SYMBOL_CHARSET = 2;
constexpr BYTE MAC_CHARSET = 77;
constexpr BYTE SHIFTJIS_CHARSET = 128;
constexpr BYTE HANGEUL_CHARSET = 129;
constexpr BYTE JOHAB_CHARSET = 130;
constexpr BYTE GB2312_CHARSET = 134;
constexpr BYTE CHINESEBIG5_CHARSET = 136;
constexpr BYTE GREEK_CHARSET = 161;
constexpr BYTE TURKISH_CHARSET = 162;
constexpr BYTE VIETNAMESE_CHARSET = 163;
constexpr BYTE HEBREW_CHARSET = 177;
constexpr BYTE ARABIC_CHARSET = 178;
constexpr BYTE BALTIC_CHARSET = 186;
constexpr BYTE RUSSIAN_CHARSET = 204;
constexpr BYTE THAI_CHARSET = 222;
constexpr BYTE EASTEUROPE_CHARSET = 238;
constexpr BYTE OEM_CHARSET = 255;

constexpr BYTE DEFAULT_PITCH = 0;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;

struct LOGPEN
{
    UINT lopnStyle = PS_SOLID;
    POINT lopnWidth{1, 0};      // X is the width
    COLORREF lopnColor = 0;
};

struct LOGFONT
{
    LONG lfHeight = 0;           // < 0: character height in pixels; > 0: cell height; 0: default
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = FW_NORMAL;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = DEFAULT_CHARSET;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = DEFAULT_PITCH;
    QString lfFaceName;
};

struct TEXTMETRIC
{
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 0;
};

// Objects are reference counted (other kinds, such as regions, derive from GdiObject too): DeleteObject
// drops the creator's reference and every DC that has the object selected (or saved by SaveDC) holds one,
// so deleting a selected object never leaves a DC dangling. Stock objects are never freed.
class GdiObject
{
public:
    explicit GdiObject(UINT AKind) : Kind(AKind) {}
    virtual ~GdiObject() = default;
    GdiObject(const GdiObject &) = delete;
    GdiObject &operator=(const GdiObject &) = delete;

    const UINT Kind;
    bool Stock = false;
    int RefCount = 1;
};

class GdiPen : public GdiObject
{
public:
    explicit GdiPen(const LOGPEN &L) : GdiObject(OBJ_PEN), Log(L) {}
    LOGPEN Log;
};

class GdiBrush : public GdiObject
{
public:
    GdiBrush(UINT AStyle, COLORREF AColor) : GdiObject(OBJ_BRUSH), Style(AStyle), Color(AColor) {}
    UINT Style;
    COLORREF Color;
    QImage Pattern;     // BS_PATTERN: 32-bit tile, aligned to the DC's device origin
};

class GdiFont : public GdiObject
{
public:
    explicit GdiFont(const LOGFONT &L) : GdiObject(OBJ_FONT), Log(L) {}
    LOGFONT Log;
    // The installed font that stands for Log, made on first use (it needs the font database).
    const QFont &QtFont();

private:
    QFont FFont;
    bool FResolved = false;
};

using HGDIOBJ = GdiObject *;
using HPEN = GdiPen *;
using HBRUSH = GdiBrush *;
using HFONT = GdiFont *;

HPEN CreatePen(UINT Style, int Width, COLORREF Color);
HPEN CreatePenIndirect(const LOGPEN *Log);
HBRUSH CreateSolidBrush(COLORREF Color);
// The tile is copied (converted to 32 bits), as a pattern brush keeps its own copy of the bitmap.
HBRUSH CreatePatternBrush(const QImage &Pattern);
HFONT CreateFontIndirect(const LOGFONT *Log);
HGDIOBJ GetStockObject(int Index);
BOOL DeleteObject(HGDIOBJ Obj);
// Fills a LOGPEN or LOGFONT for a pen or font; answers the bytes written (0 for a wrong kind or size).
int GetObject(HGDIOBJ Obj, int Size, void *Buffer);

// The installed family that stands for a Windows face name ("MS Sans Serif", "Tahoma" ...): the first
// installed candidate of similar width, else the name itself.
QString SubstituteFontFace(const QString &FaceName);
QFont FontFromLogFont(const LOGFONT &Log);

// ---- device contexts ----------------------------------------------------------------------------------

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;
constexpr int RGN_ERROR = 0;

struct DCState
{
    POINT ViewportOrg;
    bool HasClip = false;
    QRegion Clip;               // device coordinates, when HasClip
    HPEN Pen = nullptr;
    HBRUSH Brush = nullptr;
    HFONT Font = nullptr;
    COLORREF TextColor = 0x000000;
    COLORREF BkColor = 0xFFFFFF;
    int BkMode = OPAQUE;
    POINT CurrentPos;
};

// The DC object behind an HDC. The bitmap kind draws into an image owned elsewhere; window DCs derive from
// it, give their surface, origin and bounds, and learn about every change through Changed().
class GdiDC
{
public:
    // Origin: where device (0, 0) lies on the surface. Bounds: the part of the surface this DC may touch,
    // in surface coordinates (empty = the whole surface).
    GdiDC(QImage *ASurface, QPoint AOrigin = QPoint(), QRect ABounds = QRect());
    virtual ~GdiDC();
    GdiDC(const GdiDC &) = delete;
    GdiDC &operator=(const GdiDC &) = delete;

    QImage *Surface() const { return FSurface; }
    void SetSurface(QImage *ASurface);
    QPoint Origin() const { return FOrigin; }
    QRect Bounds() const;

    DCState State;
    std::vector<DCState> Saved;

    // Logical point to surface pixel.
    QPoint ToSurface(int X, int Y) const;
    // Where drawing may land, in surface coordinates.
    QRegion SurfaceClip() const;
    // Called after drawing with the touched surface rectangle.
    virtual void Changed(const QRect &SurfaceRect);

    void Select(HPEN P);
    void Select(HBRUSH B);
    void Select(HFONT F);

protected:
    QImage *FSurface;
    QPoint FOrigin;
    QRect FBounds;
};

using HDC = GdiDC *;

// A DC over an image owned by the caller (a bitmap's pixels). The image becomes 32-bit if it is not.
HDC CreateImageDC(QImage *Target);
BOOL DeleteDC(HDC DC);

HGDIOBJ SelectObject(HDC DC, HGDIOBJ Obj);
HPEN SelectObject(HDC DC, HPEN Obj);
HBRUSH SelectObject(HDC DC, HBRUSH Obj);
HFONT SelectObject(HDC DC, HFONT Obj);
HGDIOBJ GetCurrentObject(HDC DC, UINT Kind);

COLORREF SetTextColor(HDC DC, COLORREF Color);
COLORREF GetTextColor(HDC DC);
COLORREF SetBkColor(HDC DC, COLORREF Color);
COLORREF GetBkColor(HDC DC);
int SetBkMode(HDC DC, int Mode);
int GetBkMode(HDC DC);

int SaveDC(HDC DC);
// Level > 0: back to the state SaveDC answered that level for; level < 0: that many states back.
BOOL RestoreDC(HDC DC, int Level);
BOOL SetViewportOrgEx(HDC DC, int X, int Y, POINT *Old);
BOOL GetViewportOrgEx(HDC DC, POINT *Org);
BOOL OffsetViewportOrgEx(HDC DC, int DX, int DY, POINT *Old);
int IntersectClipRect(HDC DC, int Left, int Top, int Right, int Bottom);
int ExcludeClipRect(HDC DC, int Left, int Top, int Right, int Bottom);
// Region in device coordinates; nullptr removes the clip.
int SelectClipRegion(HDC DC, const QRegion *Region);
int GetClipBox(HDC DC, RECT *R);

// ---- drawing ------------------------------------------------------------------------------------------

int FillRect(HDC DC, const RECT *R, HBRUSH Brush);
int FrameRect(HDC DC, const RECT *R, HBRUSH Brush);
BOOL InvertRect(HDC DC, const RECT *R);
BOOL Rectangle(HDC DC, int Left, int Top, int Right, int Bottom);
BOOL MoveToEx(HDC DC, int X, int Y, POINT *Old);
BOOL LineTo(HDC DC, int X, int Y);
BOOL Polygon(HDC DC, const POINT *Points, int Count);
// The elliptic arc in the box, counter-clockwise from the radial through (XStart, YStart) to the radial
// through (XEnd, YEnd); equal radials draw the whole ellipse.
BOOL Arc(HDC DC, int Left, int Top, int Right, int Bottom, int XStart, int YStart, int XEnd, int YEnd);
COLORREF SetPixel(HDC DC, int X, int Y, COLORREF Color);
// CLR_INVALID outside the surface or the clip.
COLORREF GetPixel(HDC DC, int X, int Y);
// Dotted XOR frame on a checkerboard of device pixels: drawing it twice restores the pixels.
BOOL DrawFocusRect(HDC DC, const RECT *R);

constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// Source pixels outside the source surface leave the destination as it was.
BOOL BitBlt(HDC Dst, int X, int Y, int Width, int Height, HDC Src, int XSrc, int YSrc, DWORD Rop);
// Nearest neighbour: destination pixel i of n takes source pixel i * m / n of m (truncating); a zero source
// extent draws nothing.
BOOL StretchBlt(HDC Dst, int X, int Y, int Width, int Height, HDC Src, int XSrc, int YSrc, int WidthSrc,
                int HeightSrc, DWORD Rop);
// StretchBlt that leaves out the source pixels of colour Transparent.
BOOL TransparentBlt(HDC Dst, int X, int Y, int Width, int Height, HDC Src, int XSrc, int YSrc, int WidthSrc,
                    int HeightSrc, UINT Transparent);

// ---- text ---------------------------------------------------------------------------------------------

// Top-left aligned at (X, Y); in OPAQUE mode the text's cell is filled with the background colour first.
BOOL TextOut(HDC DC, int X, int Y, const QString &Text);
BOOL GetTextExtentPoint32(HDC DC, const QString &Text, SIZE *Size);
BOOL GetTextMetrics(HDC DC, TEXTMETRIC *Metrics);

constexpr UINT DT_TOP = 0x0;
constexpr UINT DT_LEFT = 0x0;
constexpr UINT DT_CENTER = 0x1;
constexpr UINT DT_RIGHT = 0x2;
constexpr UINT DT_VCENTER = 0x4;
constexpr UINT DT_BOTTOM = 0x8;
constexpr UINT DT_WORDBREAK = 0x10;
constexpr UINT DT_SINGLELINE = 0x20;
constexpr UINT DT_EXPANDTABS = 0x40;
constexpr UINT DT_NOCLIP = 0x100;
constexpr UINT DT_CALCRECT = 0x400;
constexpr UINT DT_NOPREFIX = 0x800;

// Length -1: the whole text. "&x" underlines x, "&&" is "&" (unless DT_NOPREFIX); LF, CR and CR LF break
// lines unless DT_SINGLELINE; tabs stop every 8 average character widths with DT_EXPANDTABS (otherwise a tab
// is a space); DT_WORDBREAK breaks lines between words at the rectangle's width (a longer word stays whole);
// DT_VCENTER and DT_BOTTOM apply to single lines only. DT_CALCRECT draws nothing and sets R's right and
// bottom to the text's extent (left and top stay). Drawing is clipped to R unless DT_NOCLIP.
// Answers the text height, or with DT_VCENTER/DT_BOTTOM the offset from R's top to the text's bottom.
int DrawText(HDC DC, const QString &Text, int Length, RECT *R, UINT Format);
// UTF-8 text; Length counts bytes (-1: up to the terminating zero).
inline int DrawTextA(HDC DC, const char *Text, int Length, RECT *R, UINT Format)
{
    return DrawText(DC, Length < 0 ? QString::fromUtf8(Text) : QString::fromUtf8(Text, Length), -1, R, Format);
}

// ---- system colours -----------------------------------------------------------------------------------

constexpr int COLOR_SCROLLBAR = 0;
constexpr int COLOR_BACKGROUND = 1;
constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_INACTIVECAPTION = 3;
constexpr int COLOR_MENU = 4;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_MENUTEXT = 7;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_ACTIVEBORDER = 10;
constexpr int COLOR_INACTIVEBORDER = 11;
constexpr int COLOR_APPWORKSPACE = 12;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_INACTIVECAPTIONTEXT = 19;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;
constexpr int COLOR_HOTLIGHT = 26;
constexpr int COLOR_GRADIENTACTIVECAPTION = 27;
constexpr int COLOR_GRADIENTINACTIVECAPTION = 28;
constexpr int COLOR_MENUHILIGHT = 29;
constexpr int COLOR_MENUBAR = 30;

// The fixed classic desktop scheme, so pictures do not depend on the user's desktop theme; 0 for an
// unknown index.
COLORREF GetSysColor(int Index);

// ---- images -------------------------------------------------------------------------------------------

// Draws Image 1:1 at (X, Y), leaving out its pixels of alpha 0 (masked image lists).
BOOL DrawMaskedImage(HDC DC, int X, int Y, const QImage &Image);
// Draws Image 1:1 at (X, Y), each pixel blended over the surface by its alpha (icons' soft edges).
BOOL DrawAlphaImage(HDC DC, int X, int Y, const QImage &Image);
