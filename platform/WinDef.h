#pragma once
// The basic types of the window-system layer: integers, points, rectangles, colour references.
// RECT and POINT carry the field names of the framework's TRect/TPoint so one struct serves both layers.

#include <cstdint>

using BOOL = int;
constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;

// 0x00BBGGRR
using COLORREF = DWORD;
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

constexpr COLORREF RGB(BYTE R, BYTE G, BYTE B) { return COLORREF(R) | (COLORREF(G) << 8) | (COLORREF(B) << 16); }
constexpr BYTE GetRValue(COLORREF C) { return BYTE(C & 0xFF); }
constexpr BYTE GetGValue(COLORREF C) { return BYTE((C >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF C) { return BYTE((C >> 16) & 0xFF); }

struct POINT
{
    int X = 0;
    int Y = 0;
    friend bool operator==(const POINT &, const POINT &) = default;
};

struct SIZE
{
    int cx = 0;
    int cy = 0;
    friend bool operator==(const SIZE &, const SIZE &) = default;
};

// Right and Bottom are exclusive.
struct RECT
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const RECT &, const RECT &) = default;
};

inline BOOL SetRect(RECT *R, int Left, int Top, int Right, int Bottom)
{
    if (!R)
        return FALSE;
    *R = RECT{Left, Top, Right, Bottom};
    return TRUE;
}

inline BOOL OffsetRect(RECT *R, int DX, int DY)
{
    if (!R)
        return FALSE;
    R->Left += DX; R->Right += DX;
    R->Top += DY; R->Bottom += DY;
    return TRUE;
}

inline BOOL InflateRect(RECT *R, int DX, int DY)
{
    if (!R)
        return FALSE;
    R->Left -= DX; R->Right += DX;
    R->Top -= DY; R->Bottom += DY;
    return TRUE;
}

inline BOOL IsRectEmpty(const RECT *R) { return !R || R->Right <= R->Left || R->Bottom <= R->Top; }

inline BOOL PtInRect(const RECT *R, POINT P)
{
    return R && P.X >= R->Left && P.X < R->Right && P.Y >= R->Top && P.Y < R->Bottom;
}

inline BOOL IntersectRect(RECT *Dst, const RECT *A, const RECT *B)
{
    RECT R{A->Left > B->Left ? A->Left : B->Left, A->Top > B->Top ? A->Top : B->Top,
           A->Right < B->Right ? A->Right : B->Right, A->Bottom < B->Bottom ? A->Bottom : B->Bottom};
    if (IsRectEmpty(&R))
        R = RECT{};
    *Dst = R;
    return !IsRectEmpty(&R);
}

inline BOOL EqualRect(const RECT *A, const RECT *B) { return A && B && *A == *B; }

// A module with resources; this system has one, the program itself.
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__ *;

// Show commands of ShowWindow and WinExec.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
