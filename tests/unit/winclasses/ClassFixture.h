#pragma once
// A parent window for the built-in classes that records the notifications (WM_COMMAND) it gets.

#include "platform/StdClasses.h"
#include "tests/unit/QtPrinters.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

struct TNotification
{
    WORD Id;
    WORD Code;
    HWND From;
    friend bool operator==(const TNotification &, const TNotification &) = default;
};

class ClassTest : public ::testing::Test
{
public:
    static inline std::vector<TNotification> Notes;
    static inline int ParentWheels = 0;

    static LRESULT ParentProc(HWND W, UINT Msg, WPARAM WParam, LPARAM LParam)
    {
        if (Msg == WM_COMMAND)
            Notes.push_back({LOWORD(WParam), HIWORD(WParam), reinterpret_cast<HWND>(LParam)});
        if (Msg == WM_MOUSEWHEEL) {
            ++ParentWheels;
            return 0;
        }
        return DefWindowProc(W, Msg, WParam, LParam);
    }

protected:
    void SetUp() override
    {
        Notes.clear();
        ParentWheels = 0;
        WNDCLASS C;
        C.lpszClassName = QStringLiteral("ClassTestParent");
        C.lpfnWndProc = MakeWndProc(ParentProc);
        RegisterClass(&C);
        Parent = CreateWindowEx(0, C.lpszClassName, QString(), WS_POPUP | WS_VISIBLE, 50, 50, 400, 300, nullptr, 0,
                                nullptr, nullptr);
        ASSERT_TRUE(Parent);
    }

    void TearDown() override
    {
        DestroyWindow(Parent);
        ProcessPendingMessages();
    }

    HWND Make(const QString &Class, DWORD Style, int X, int Y, int W, int H, int Id = 0, const QString &Text = {})
    {
        return CreateWindowEx(0, Class, Text, WS_CHILD | WS_VISIBLE | Style, X, Y, W, H, Parent, Id, nullptr, nullptr);
    }

    // The notifications with Code that came from From.
    static int Count(HWND From, WORD Code)
    {
        int N = 0;
        for (const TNotification &T : Notes)
            N += T.From == From && T.Code == Code;
        return N;
    }

    HWND Parent = nullptr;
};
