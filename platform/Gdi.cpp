// Drawing objects, device contexts and their state.
#include "platform/Gdi.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>
#include <utility>

// ---- objects ------------------------------------------------------------------------------------------

namespace {

void AddRef(GdiObject *O)
{
    if (O)
        ++O->RefCount;
}

void Release(GdiObject *O)
{
    if (O && !O->Stock && --O->RefCount == 0)
        delete O;
}

template <class T> T *MakeStock(T *O)
{
    O->Stock = true;
    return O;
}

LOGFONT DefaultGuiLogFont()
{
    LOGFONT L;
    L.lfHeight = -11;
    L.lfFaceName = QStringLiteral("MS Sans Serif");
    return L;
}

} // namespace

const QFont &GdiFont::QtFont()
{
    if (!FResolved) {
        FFont = FontFromLogFont(Log);
        FResolved = true;
    }
    return FFont;
}

HPEN CreatePen(UINT Style, int Width, COLORREF Color)
{
    LOGPEN L;
    L.lopnStyle = Style;
    L.lopnWidth = POINT{Width < 1 ? 1 : Width, 0};
    L.lopnColor = Color & 0xFFFFFF;
    return new GdiPen(L);
}

HPEN CreatePenIndirect(const LOGPEN *Log)
{
    return Log ? CreatePen(Log->lopnStyle, Log->lopnWidth.X, Log->lopnColor) : nullptr;
}

HBRUSH CreateSolidBrush(COLORREF Color)
{
    return new GdiBrush(BS_SOLID, Color & 0xFFFFFF);
}

HBRUSH CreatePatternBrush(const QImage &Pattern)
{
    if (Pattern.isNull())
        return nullptr;
    auto *B = new GdiBrush(BS_PATTERN, 0);
    B->Pattern = Pattern.convertToFormat(QImage::Format_RGB32);
    return B;
}

HFONT CreateFontIndirect(const LOGFONT *Log)
{
    return Log ? new GdiFont(*Log) : nullptr;
}

HGDIOBJ GetStockObject(int Index)
{
    static GdiObject *const Stock[] = {
        MakeStock(new GdiBrush(BS_SOLID, 0xFFFFFF)),  // WHITE_BRUSH
        MakeStock(new GdiBrush(BS_SOLID, 0xC0C0C0)),  // LTGRAY_BRUSH
        MakeStock(new GdiBrush(BS_SOLID, 0x808080)),  // GRAY_BRUSH
        MakeStock(new GdiBrush(BS_SOLID, 0x404040)),  // DKGRAY_BRUSH
        MakeStock(new GdiBrush(BS_SOLID, 0x000000)),  // BLACK_BRUSH
        MakeStock(new GdiBrush(BS_NULL, 0)),          // NULL_BRUSH
        MakeStock(new GdiPen(LOGPEN{PS_SOLID, {1, 0}, 0xFFFFFF})),  // WHITE_PEN
        MakeStock(new GdiPen(LOGPEN{PS_SOLID, {1, 0}, 0x000000})),  // BLACK_PEN
        MakeStock(new GdiPen(LOGPEN{PS_NULL, {1, 0}, 0})),          // NULL_PEN
    };
    static GdiFont *const GuiFont = MakeStock(new GdiFont(DefaultGuiLogFont()));
    if (Index >= WHITE_BRUSH && Index <= NULL_PEN)
        return Stock[Index];
    if (Index == SYSTEM_FONT || Index == DEFAULT_GUI_FONT)
        return GuiFont;
    return nullptr;
}

BOOL DeleteObject(HGDIOBJ Obj)
{
    if (!Obj)
        return FALSE;
    Release(Obj);
    return TRUE;
}

int GetObject(HGDIOBJ Obj, int Size, void *Buffer)
{
    if (!Obj || !Buffer)
        return 0;
    if (Obj->Kind == OBJ_PEN && Size == int(sizeof(LOGPEN))) {
        *static_cast<LOGPEN *>(Buffer) = static_cast<GdiPen *>(Obj)->Log;
        return Size;
    }
    if (Obj->Kind == OBJ_FONT && Size == int(sizeof(LOGFONT))) {
        *static_cast<LOGFONT *>(Buffer) = static_cast<GdiFont *>(Obj)->Log;
        return Size;
    }
    return 0;
}

// ---- fonts --------------------------------------------------------------------------------------------

QString SubstituteFontFace(const QString &FaceName)
{
    // Candidates of similar average width at 8 points, best first.
    static const QHash<QString, QStringList> Candidates = {
        {QStringLiteral("ms sans serif"), {"Liberation Sans", "Arimo", "DejaVu Sans Condensed", "DejaVu Sans"}},
        {QStringLiteral("microsoft sans serif"), {"Liberation Sans", "Arimo", "DejaVu Sans Condensed", "DejaVu Sans"}},
        {QStringLiteral("tahoma"), {"DejaVu Sans Condensed", "Liberation Sans", "DejaVu Sans"}},
        {QStringLiteral("verdana"), {"DejaVu Sans", "Liberation Sans"}},
        {QStringLiteral("arial"), {"Liberation Sans", "Arimo", "DejaVu Sans"}},
        {QStringLiteral("times new roman"), {"Liberation Serif", "DejaVu Serif"}},
        {QStringLiteral("courier new"), {"Liberation Mono", "DejaVu Sans Mono"}},
        {QStringLiteral("courier"), {"Liberation Mono", "DejaVu Sans Mono"}},
        {QStringLiteral("system"), {"Liberation Sans", "DejaVu Sans"}},
    };
    static QHash<QString, QString> Resolved;
    const QString Key = FaceName.trimmed().toLower();
    if (auto It = Resolved.constFind(Key); It != Resolved.constEnd())
        return *It;
    QString Result = FaceName;
    if (auto It = Candidates.constFind(Key); It != Candidates.constEnd()) {
        const QStringList Installed = QFontDatabase::families();
        for (const QString &C : *It)
            if (Installed.contains(C, Qt::CaseInsensitive)) {
                Result = C;
                break;
            }
    }
    Resolved.insert(Key, Result);
    return Result;
}

QFont FontFromLogFont(const LOGFONT &Log)
{
    QFont F(SubstituteFontFace(Log.lfFaceName.isEmpty() ? QStringLiteral("MS Sans Serif") : Log.lfFaceName));
    int Pixels = Log.lfHeight < 0 ? -Log.lfHeight : (Log.lfHeight > 0 ? Log.lfHeight : 11);
    F.setPixelSize(Pixels);
    if (Log.lfHeight > 0) {
        // A positive height is the cell (ascent + descent); scale the character size into it.
        const int Cell = QFontMetrics(F).height();
        if (Cell > 0)
            F.setPixelSize(qMax(1, Pixels * Pixels / Cell));
    }
    int Weight = Log.lfWeight <= 0 ? FW_NORMAL : qBound(1, int(Log.lfWeight), 1000);
    F.setWeight(QFont::Weight(Weight));
    F.setItalic(Log.lfItalic != 0);
    F.setUnderline(Log.lfUnderline != 0);
    F.setStrikeOut(Log.lfStrikeOut != 0);
    if ((Log.lfPitchAndFamily & 3) == FIXED_PITCH)
        F.setFixedPitch(true);
    F.setKerning(false);
    F.setHintingPreference(QFont::PreferFullHinting);
    return F;
}

// ---- device contexts ----------------------------------------------------------------------------------

GdiDC::GdiDC(QImage *ASurface, QPoint AOrigin, QRect ABounds) : FSurface(nullptr), FOrigin(AOrigin), FBounds(ABounds)
{
    SetSurface(ASurface);
    Select(static_cast<HPEN>(GetStockObject(BLACK_PEN)));
    Select(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    Select(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
}

GdiDC::~GdiDC()
{
    auto Drop = [](DCState &S) {
        Release(S.Pen);
        Release(S.Brush);
        Release(S.Font);
    };
    Drop(State);
    for (DCState &S : Saved)
        Drop(S);
}

void GdiDC::SetSurface(QImage *ASurface)
{
    FSurface = ASurface;
    if (FSurface && !FSurface->isNull() && FSurface->depth() != 32)
        *FSurface = FSurface->convertToFormat(QImage::Format_RGB32);
}

QRect GdiDC::Bounds() const
{
    if (!FSurface)
        return QRect();
    return FBounds.isNull() ? FSurface->rect() : FBounds & FSurface->rect();
}

QPoint GdiDC::ToSurface(int X, int Y) const
{
    return QPoint(X + State.ViewportOrg.X + FOrigin.x(), Y + State.ViewportOrg.Y + FOrigin.y());
}

QRegion GdiDC::SurfaceClip() const
{
    // Region & rectangle is Qt's cheap intersection.
    if (State.HasClip)
        return State.Clip.translated(FOrigin) & Bounds();
    return QRegion(Bounds());
}

void GdiDC::Changed(const QRect &) {}

void GdiDC::Select(HPEN P)
{
    AddRef(P);
    Release(State.Pen);
    State.Pen = P;
}

void GdiDC::Select(HBRUSH B)
{
    AddRef(B);
    Release(State.Brush);
    State.Brush = B;
}

void GdiDC::Select(HFONT F)
{
    AddRef(F);
    Release(State.Font);
    State.Font = F;
}

HDC CreateImageDC(QImage *Target)
{
    return Target ? new GdiDC(Target) : nullptr;
}

BOOL DeleteDC(HDC DC)
{
    if (!DC)
        return FALSE;
    delete DC;
    return TRUE;
}

HGDIOBJ SelectObject(HDC DC, HGDIOBJ Obj)
{
    if (!DC || !Obj)
        return nullptr;
    switch (Obj->Kind) {
    case OBJ_PEN: return SelectObject(DC, static_cast<HPEN>(Obj));
    case OBJ_BRUSH: return SelectObject(DC, static_cast<HBRUSH>(Obj));
    case OBJ_FONT: return SelectObject(DC, static_cast<HFONT>(Obj));
    default: return nullptr;
    }
}

// The previous object stays alive through its creator's reference (or as stock), as with the classic API:
// the caller selects it back or deletes it.
HPEN SelectObject(HDC DC, HPEN Obj)
{
    if (!DC || !Obj)
        return nullptr;
    HPEN Old = DC->State.Pen;
    DC->Select(Obj);
    return Old;
}

HBRUSH SelectObject(HDC DC, HBRUSH Obj)
{
    if (!DC || !Obj)
        return nullptr;
    HBRUSH Old = DC->State.Brush;
    DC->Select(Obj);
    return Old;
}

HFONT SelectObject(HDC DC, HFONT Obj)
{
    if (!DC || !Obj)
        return nullptr;
    HFONT Old = DC->State.Font;
    DC->Select(Obj);
    return Old;
}

HGDIOBJ GetCurrentObject(HDC DC, UINT Kind)
{
    if (!DC)
        return nullptr;
    switch (Kind) {
    case OBJ_PEN: return DC->State.Pen;
    case OBJ_BRUSH: return DC->State.Brush;
    case OBJ_FONT: return DC->State.Font;
    default: return nullptr;
    }
}

COLORREF SetTextColor(HDC DC, COLORREF Color)
{
    if (!DC)
        return CLR_INVALID;
    return std::exchange(DC->State.TextColor, Color & 0xFFFFFF);
}

COLORREF GetTextColor(HDC DC) { return DC ? DC->State.TextColor : CLR_INVALID; }

COLORREF SetBkColor(HDC DC, COLORREF Color)
{
    if (!DC)
        return CLR_INVALID;
    return std::exchange(DC->State.BkColor, Color & 0xFFFFFF);
}

COLORREF GetBkColor(HDC DC) { return DC ? DC->State.BkColor : CLR_INVALID; }

int SetBkMode(HDC DC, int Mode)
{
    if (!DC || (Mode != TRANSPARENT && Mode != OPAQUE))
        return 0;
    return std::exchange(DC->State.BkMode, Mode);
}

int GetBkMode(HDC DC) { return DC ? DC->State.BkMode : 0; }

int SaveDC(HDC DC)
{
    if (!DC)
        return 0;
    AddRef(DC->State.Pen);
    AddRef(DC->State.Brush);
    AddRef(DC->State.Font);
    DC->Saved.push_back(DC->State);
    return int(DC->Saved.size());
}

BOOL RestoreDC(HDC DC, int Level)
{
    if (!DC)
        return FALSE;
    const int Count = int(DC->Saved.size());
    const int Target = Level < 0 ? Count + Level + 1 : Level;
    if (Target < 1 || Target > Count)
        return FALSE;
    while (int(DC->Saved.size()) > Target)
    {
        DCState &S = DC->Saved.back();
        Release(S.Pen);
        Release(S.Brush);
        Release(S.Font);
        DC->Saved.pop_back();
    }
    Release(DC->State.Pen);
    Release(DC->State.Brush);
    Release(DC->State.Font);
    DC->State = DC->Saved.back();   // the saved references move into the state
    DC->Saved.pop_back();
    return TRUE;
}

BOOL SetViewportOrgEx(HDC DC, int X, int Y, POINT *Old)
{
    if (!DC)
        return FALSE;
    if (Old)
        *Old = DC->State.ViewportOrg;
    DC->State.ViewportOrg = POINT{X, Y};
    return TRUE;
}

BOOL GetViewportOrgEx(HDC DC, POINT *Org)
{
    if (!DC || !Org)
        return FALSE;
    *Org = DC->State.ViewportOrg;
    return TRUE;
}

BOOL OffsetViewportOrgEx(HDC DC, int DX, int DY, POINT *Old)
{
    if (!DC)
        return FALSE;
    POINT P = DC->State.ViewportOrg;
    return SetViewportOrgEx(DC, P.X + DX, P.Y + DY, Old);
}

namespace {

int RegionKind(HDC DC)
{
    QRegion R = DC->SurfaceClip();
    if (R.isEmpty())
        return NULLREGION;
    return R.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// A logical rectangle in device coordinates (relative to the DC's origin), corners ordered.
QRect DeviceRect(HDC DC, int Left, int Top, int Right, int Bottom)
{
    if (Right < Left)
        std::swap(Left, Right);
    if (Bottom < Top)
        std::swap(Top, Bottom);
    const POINT O = DC->State.ViewportOrg;
    return QRect(QPoint(Left + O.X, Top + O.Y), QPoint(Right + O.X - 1, Bottom + O.Y - 1));
}

QRegion CurrentDeviceClip(HDC DC)
{
    if (DC->State.HasClip)
        return DC->State.Clip;
    return QRegion(DC->Bounds().translated(-DC->Origin()));
}

} // namespace

int IntersectClipRect(HDC DC, int Left, int Top, int Right, int Bottom)
{
    if (!DC)
        return RGN_ERROR;
    DC->State.Clip = CurrentDeviceClip(DC) & DeviceRect(DC, Left, Top, Right, Bottom);
    DC->State.HasClip = true;
    return RegionKind(DC);
}

int ExcludeClipRect(HDC DC, int Left, int Top, int Right, int Bottom)
{
    if (!DC)
        return RGN_ERROR;
    DC->State.Clip = CurrentDeviceClip(DC).subtracted(DeviceRect(DC, Left, Top, Right, Bottom));
    DC->State.HasClip = true;
    return RegionKind(DC);
}

int SelectClipRegion(HDC DC, const QRegion *Region)
{
    if (!DC)
        return RGN_ERROR;
    DC->State.HasClip = Region != nullptr;
    DC->State.Clip = Region ? *Region : QRegion();
    return RegionKind(DC);
}

int GetClipBox(HDC DC, RECT *R)
{
    if (!DC || !R)
        return RGN_ERROR;
    const QRect B = DC->SurfaceClip().boundingRect();
    if (B.isEmpty()) {
        *R = RECT{};
        return NULLREGION;
    }
    const QPoint P = DC->ToSurface(0, 0);
    *R = RECT{B.left() - P.x(), B.top() - P.y(), B.right() + 1 - P.x(), B.bottom() + 1 - P.y()};
    return RegionKind(DC);
}
