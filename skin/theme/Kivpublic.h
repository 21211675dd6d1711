#pragma once
// Kivpublic: the free functions the skin controls share for cutting and stretching skin bitmaps, shaping and
// painting windows, and a few small queries. Nothing here knows about styles or themes, but for
// ContainerApplyUIStyle, which only hands them on.
//
// Colour 0x00FF00FF (magenta) is the transparent colour of the skin bitmaps. Pixel arithmetic divides with
// truncation toward zero, as C++ does.

#include "framework/graphics/Graphics.h"
#include "platform/Window.h"

#include <QString>

class TComponent;
class TControl;
class TWinControl;
class TCustomForm;
class TkivFileTheme;
enum TkivUIStyle : quint8;   // the built-in styles, Kivthemes

// The transparent key of every skin bitmap.
constexpr TColor clKivTransparent = 0x00FF00FF;

// A flag of the unit for its users; nothing in the library reads or sets it.
extern bool g_KivronaConverting;

// ---- bitmaps ----------------------------------------------------------------------------------------------

// Dest becomes frame SpitIndex (from 1) of SpitCount equal frames side by side in Source. The frames are
// Source width div SpitCount wide, so the columns past the last whole frame are never used; an index
// outside 1..SpitCount copies from outside Source (blank white pixels). A SpitCount under 1 leaves Dest.
void SpitBitmap(TBitmap *Source, TBitmap *Dest, int SpitCount, int SpitIndex);

// Nine-slice drawing of Source over ARect, whose Left and Top are taken to be 0 (callers pass a client
// rectangle). Corners keep their size (the right and bottom ones one pixel narrower and lower than the left
// and top ones); edges and centre stretch and always leave out magenta. Transparent leaves magenta out of
// the corners too.
void SpitDraw(TBitmap *Source, TCanvas *ACanvas, const TRect &ARect, bool Transparent);

// Three-slice drawing of a three-frame Source: the first and last frames at their size on the left and
// right of ARect, the middle one stretched between them, opaque. The transparent colour of the end frames
// is magenta, or with CornerKey the colour of Source's top-left pixel (TopCorner) or bottom-left pixel.
void SpitDrawHorizontal(TBitmap *Source, TCanvas *ACanvas, const TRect &ARect, bool CornerKey, bool TopCorner);

// Tiles the picture from the canvas origin (not ARect's corner) until ARect's width and height are covered,
// column by column; it may draw one tile past ARect. A picture of no size draws nothing.
void TileDraw(TCanvas *ACanvas, TPicture *APicture, const TRect &ARect);

// Quarter turn counter-clockwise, half turn, quarter turn clockwise, in place.
void RoundPicture(TBitmap *Bmp);
void RoundPicture2(TBitmap *Bmp);
void RoundPicture3(TBitmap *Bmp);

// ---- windows ----------------------------------------------------------------------------------------------

// Shapes the window to Bmp's pixels that differ from TransColor, one rectangle per run of a row; the window
// owns the region.
void SetBitmapWindow(HWND HWnd, TBitmap *Bmp, TColor TransColor);
// Paints into ACanvas what AControl's parent shows under AControl (the parent's erase and paint, moved by
// the control's position and clipped to the parent's client area). Nothing without a parent.
void DoTrans(TCanvas *ACanvas, TWinControl *AControl);
// The control no longer paints as opaque and its window is marked WS_EX_TRANSPARENT.
void SetWinControlTransparent(TWinControl *AControl);
// A one-pixel frame of BorderColor along the control's whole window (non-client band included) and, with
// DrawInner, one of InnerColor just inside it.
void DrawControlBorder(TWinControl *AControl, TColor BorderColor, TColor InnerColor, bool DrawInner);

// ---- queries ----------------------------------------------------------------------------------------------

// The right and bottom edges count as inside, unlike PtInRect.
bool InRect(int X, int Y, const TRect &ARect);
bool InRect(const TPoint &APoint, const TRect &ARect);
// The work area of the monitor nearest the main form, or the primary work area without a main form.
TRect GetWorkAreaRect();
// Left then Top; the rectangle form also Width and Height, in that order.
void PlaceControl(TControl *AControl, const TPoint &APoint);
void PlaceControl(TControl *AControl, const TRect &ARect);
// Whether AForm is the focused form of the application; an MDI frame counts as focused with any of its
// children, a child only while it is the frame's active one.
bool FormHasFocus(TCustomForm *AForm);
// Whether the component's class publishes a property of that name (any case).
bool IsHasProperty(TComponent *AComponent, const QString &APropName);
// FileTheme, then UIStyle, to each direct child of Container that publishes both, in child order,
// through their own setters.
void ContainerApplyUIStyle(TWinControl *Container, TkivUIStyle UIStyle, TkivFileTheme *FileTheme);
// The UTF-8 text up to its terminating zero; null gives the empty string.
QString PCharToStr(const char *P);

// ---- functions bound at run time ----------------------------------------------------------------------

// Each calls the window layer's function of the same name, looked up in "User32.dll" on first use, or
// answers FALSE when the system lacks it. GetScrollBarInfo and GetComboBoxInfo share one unavailable flag:
// once either is missing, both answer FALSE without looking again.
BOOL KIVGetScrollBarInfo(HWND hwnd, int idObject, SCROLLBARINFO &psbi);
BOOL KIVGetComboBoxInfo(HWND hwndCombo, COMBOBOXINFO &pcbi);
BOOL KIVAnimateWindow(HWND hwnd, DWORD dwTime, DWORD dwFlags);
// Frees "User32.dll" if the functions above loaded it and forgets their entries and flags, as the unit's
// finalisation does; tests call it to start again.
void ReleaseKivDynamicFunctions();

// Whether the system is Windows XP by the classic version test; never on this system.
bool IsWinXP();
