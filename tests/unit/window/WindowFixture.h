#pragma once
// Windows of a recording class for the window-layer tests: every message that reaches the class procedure
// is logged per window and then handled by an optional per-test hook or DefWindowProc.

#include "platform/Window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <functional>
#include <optional>
#include <vector>

struct TLogged
{
    HWND Wnd;
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
};

class WindowTest : public ::testing::Test
{
public:
    static inline std::vector<TLogged> Log;
    // Answers a result to stop DefWindowProc.
    static inline std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> Hook;

    static LRESULT RecordingProc(HWND W, UINT Msg, WPARAM WParam, LPARAM LParam)
    {
        Log.push_back({W, Msg, WParam, LParam});
        if (Hook)
            if (std::optional<LRESULT> R = Hook(W, Msg, WParam, LParam))
                return *R;
        return DefWindowProc(W, Msg, WParam, LParam);
    }

protected:
    void SetUp() override
    {
        Log.clear();
        Hook = nullptr;
        WNDCLASS C;
        C.lpszClassName = QStringLiteral("RecordingWindow");
        C.lpfnWndProc = MakeWndProc(RecordingProc);
        C.style = CS_DBLCLKS;
        RegisterClass(&C);
        C.lpszClassName = QStringLiteral("RecordingNoDbl");
        C.style = 0;
        RegisterClass(&C);
    }

    void TearDown() override
    {
        // The hooks and filters of a test capture its locals: they go before the windows do.
        Hook = nullptr;
        SetMessageFilter(nullptr);
        for (HWND W : Created)
            DestroyWindow(W);
        ReleaseCapture();
        ProcessPendingMessages();
        Log.clear();
    }

    HWND Make(DWORD Style, int X, int Y, int W, int H, HWND Parent = nullptr, DWORD ExStyle = 0,
              const QString &Class = QStringLiteral("RecordingWindow"))
    {
        HWND Wnd = CreateWindowEx(ExStyle, Class, QString(), Style, X, Y, W, H, Parent, 0, nullptr, nullptr);
        if (Wnd && !Parent)
            Created.push_back(Wnd);
        return Wnd;
    }

    // The messages W got, in order, among those in Only (all when empty).
    static std::vector<UINT> MessagesOf(HWND W, std::vector<UINT> Only = {})
    {
        std::vector<UINT> R;
        for (const TLogged &L : Log)
            if (L.Wnd == W && (Only.empty() || std::find(Only.begin(), Only.end(), L.Msg) != Only.end()))
                R.push_back(L.Msg);
        return R;
    }

    static std::vector<TLogged> EntriesOf(HWND W, UINT Msg)
    {
        std::vector<TLogged> R;
        for (const TLogged &L : Log)
            if (L.Wnd == W && L.Msg == Msg)
                R.push_back(L);
        return R;
    }

    static RECT Client(HWND W)
    {
        RECT R;
        GetClientRect(W, &R);
        return R;
    }

    std::vector<HWND> Created;
};
