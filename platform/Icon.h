#pragma once
// Icons: pictures with an alpha channel, loaded from the program's icon resources or from files, copied at
// another size and drawn on device contexts.

#include "platform/Gdi.h"

#include <QImage>

struct IconObject;
using HICON = IconObject *;

constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;
constexpr UINT IMAGE_CURSOR = 2;

constexpr UINT LR_DEFAULTCOLOR = 0x0000;
constexpr UINT LR_LOADFROMFILE = 0x0010;
constexpr UINT LR_DEFAULTSIZE = 0x0040;
constexpr UINT LR_COPYFROMRESOURCE = 0x4000;

constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;

// An icon of the picture (kept as 32 bits with alpha).
HICON CreateIconFromImage(const QImage &Image);
// IMAGE_ICON only: the icon resource Name (":/kiv/icons/NAME.ico"), or with LR_LOADFROMFILE the file Name.
// Of the file's images the one nearest cx x cy is taken and scaled to that size; a zero size means the
// image's own (32 x 32 with LR_DEFAULTSIZE). nullptr when there is no such icon.
HICON LoadImageA(HINSTANCE Instance, const char *Name, UINT Type, int cx, int cy, UINT Flags);
// IMAGE_ICON only: a new icon of cx x cy (zero: the same size). With LR_COPYFROMRESOURCE an icon loaded
// from a file or resource is taken again from its nearest image there rather than scaled from this one.
HICON CopyImage(HICON Icon, UINT Type, int cx, int cy, UINT Flags);
// The icon at (X, Y), scaled to cx x cy (zero: its own size), blended by its alpha. The step and brush of
// the classic call are ignored; DI_MASK alone draws the shape in black.
BOOL DrawIconEx(HDC DC, int X, int Y, HICON Icon, int cx, int cy, UINT StepIfAniCur, HBRUSH FlickerFreeDraw,
                UINT Flags);
BOOL DrawIcon(HDC DC, int X, int Y, HICON Icon);
BOOL DestroyIcon(HICON Icon);
// The icon's picture (Format_ARGB32), null for a null icon.
QImage IconImage(HICON Icon);
