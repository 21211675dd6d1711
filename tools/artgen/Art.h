#pragma once
// artgen: every picture drawn with QPainter. Art is painted with alpha onto a transparent image, then laid on
// the colour it will be shown on; only pixels the art never touched become the magenta key.

#include <QColor>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QString>

#include <functional>

namespace Art {

constexpr QRgb Magenta = 0xFFFF00FFu;

// A TColor (0x00BBGGRR) as a QColor.
QColor Tc(quint32 Value);

enum TState { sNormal, sHover, sDown };
enum TGlyph { gControlBox, gHelp, gMax, gRestore, gMin, gClose };
enum TDir { dUp, dDown, dLeft, dRight };

// The palette and shape of one style; every picture of the style takes its colours from here.
struct TLook
{
    QColor Ground;        // form and control background
    QColor Face, FaceDark;  // control faces, lit from the top
    QColor Border;
    QColor Accent, AccentDark;  // checked, selected, pressed
    QColor Mark;          // check marks
    QColor ArrowInk;      // arrows on scroll buttons; Mark when not set
    QColor TitleTop, TitleBottom, TitleLine;
    QColor ScrollGround;  // behind scroll-bar pieces
    qreal Radius = 3;     // button corner radius
    bool Gloss = false;   // a shine over the upper half of faces
    bool KeyButtons = false;  // button corners keyed out (the style draws buttons transparently)
};

// One picture: its resource name, size, frames side by side and bits per pixel in its file.
struct TPicture
{
    QString Group;   // a style, "Extras", "Netvane theme" or "Netvane window"
    QString Folder;  // under the output folder
    QString Name;    // file name without ".bmp"
    int Width = 0, Height = 0, Frames = 1, Bits = 24;
    QImage Image;    // Format_RGB32, magenta where transparent
};

// --- Paint.cpp: shared helpers ---
QImage NewArt(int W, int H);
// Lays the art on Ground; untouched pixels become magenta.
QImage Keyed(const QImage &Art, const QColor &Ground);
QImage Keyed(const QImage &Art, const QImage &Ground);
// Lays the art on an opaque background picture of the same size.
QImage Over(const QImage &Art, const QImage &Background);
QImage Solid(int W, int H, const QColor &C);
QImage JoinFrames(const QList<QImage> &Frames);
QImage Rotated(const QImage &Image, int Degrees);
void Antialiased(QPainter &P);
QLinearGradient Vertical(const QRectF &R, const QColor &Top, const QColor &Bottom);
QLinearGradient Horizontal(const QRectF &R, const QColor &Left, const QColor &Right);
// Face of a control in a state: rounded rectangle with a vertical gradient, outline and optional shine.
void Face(QPainter &P, const QRectF &R, qreal Radius, const QColor &Top, const QColor &Bottom, const QColor &Line,
          bool Gloss);
// Raised (or sunken) one-pixel bevel on the inside of R.
void Bevel(QPainter &P, const QRect &R, const QColor &Light, const QColor &Dark, bool Sunken);
void TitleGlyph(QPainter &P, const QRectF &Box, TGlyph Kind, const QColor &C, qreal Pen);
void CheckMark(QPainter &P, const QRectF &Box, const QColor &C, qreal Pen);
void Arrow(QPainter &P, const QRectF &Box, TDir Dir, const QColor &C);
// At most MaxColours colours, for an 8-bit file; magenta stays exact.
QImage Quantized(const QImage &Image, int MaxColours);
QColor Mix(const QColor &A, const QColor &B, qreal T);

// --- Generic.cpp: pictures every style has, drawn from its look ---
struct TStateColours { QColor Top, Bottom, Line; };
using TFaceFn = std::function<TStateColours(TState)>;
QImage ButtonStrip(const TLook &L, int W, int H, const TFaceFn &Colours, bool KeyCorners);
QImage CheckStrip(const TLook &L, int W, int H, bool Round, qreal Radius);
QImage ScrollButtons(const TLook &L, int W, int H, const TFaceFn &Colours);
QImage ScrollSlider(const TLook &L, int W, int H, const TFaceFn &Colours);
QImage ScrollButtonPairs(const TLook &L, int W, int H, const TFaceFn &Colours);
QImage TrackBar(const TLook &L, int W, int H);
QImage TrackSlider(const TLook &L, int W, int H, bool Vertical, const TFaceFn &Colours);
QImage ProgressPiece(const TLook &L, int W, int H);
QImage TabPicture(const TLook &L, int W, int H);
QImage TabLine(const TLook &L, int W, int H);
QImage SideHandle(const TLook &L, int W, int H);
QImage SideBar(const TLook &L, int W, int H);
QImage TitleGradient(const TLook &L, int W, int H);
// The pictures every style draws the same way from its look and faces; a null image for any other suffix.
QImage Standard(const TLook &L, const QString &Suffix, int W, int H, const TFaceFn &Faces);
// Title-bar buttons: 18 frames (control box, help, maximise, restore, minimise, close; three states each).
using TTitleButtonFn = std::function<void(QPainter &, const QRectF &, TGlyph, TState)>;
// Ground: the title bar behind one button; with Key the pixels the art leaves untouched become magenta.
QImage TitleButtonStrip(int W, int H, const QImage &Ground, bool Key, const TTitleButtonFn &Draw);

// --- one drawing function per picture group ---
QImage DrawMacOS(const QString &Suffix, int W, int H);
QImage DrawWinXP(const QString &Suffix, int W, int H);
QImage DrawDeepBlue(const QString &Suffix, int W, int H);
QImage DrawProtein(const QString &Suffix, int W, int H);
QImage DrawBlueGlass(const QString &Suffix, int W, int H);
QImage DrawExtra(const QString &Name, int W, int H);
QImage DrawNetvane(const QString &Item, int W, int H);
// theme.ini of the embedded theme, for packing its folder.
QString NetvaneThemeIni();

// --- Catalogue.cpp ---
// Every picture, drawn.
QList<TPicture> AllPictures();
// Every picture's name, size and depth, without drawing.
QList<TPicture> ExpectedPictures();

// --- main tasks ---
bool WriteAll(const QList<TPicture> &Pictures, const QString &Dir, QString &Error);
// A small window made of a group's pictures; null for a group that is not a style.
QImage Preview(const QList<TPicture> &Pictures, const QString &Group);
bool WriteSheet(const QList<TPicture> &Pictures, const QString &File);
// Problems found in DIR, one line each; empty when all is well.
QStringList CheckFolder(const QString &Dir);

} // namespace Art
