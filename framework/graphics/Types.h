#pragma once
// Points, sizes and rectangles of the framework: the window-system structs under their classic names.

#include "platform/WinDef.h"

using TPoint = POINT;
using TSize = SIZE;
using TRect = RECT;

inline TPoint Point(int X, int Y) { return TPoint{X, Y}; }
inline TRect Rect(int Left, int Top, int Right, int Bottom) { return TRect{Left, Top, Right, Bottom}; }
inline TRect Bounds(int Left, int Top, int Width, int Height) { return TRect{Left, Top, Left + Width, Top + Height}; }

// The program's module, for loading its resources by name.
inline constexpr HINSTANCE HInstance = nullptr;
