// The "SysIPAddress32" window class: created on a parent window, driven by IPM_* messages and real keys.
#include "platform/IpAddressEdit.h"
#include "tests/unit/winclasses/ClassFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

namespace {

class IpClass : public ClassTest
{
protected:
    void SetUp() override
    {
        ClassTest::SetUp();
        const INITCOMMONCONTROLSEX Init{8, ICC_INTERNET_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&Init));
    }

    HWND MakeField(int Y = 25)
    {
        return CreateWindowExA(0, "SysIPAddress32", nullptr, WS_CHILD | WS_VISIBLE, 120, Y, 140, 20, Parent, nullptr,
                               nullptr, nullptr);
    }

    static DWORD Read(HWND W, LRESULT *Filled = nullptr)
    {
        DWORD A = 0;
        const LRESULT N = SendMessageA(W, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&A));
        if (Filled)
            *Filled = N;
        return A;
    }
};

TEST_F(IpClass, RegisteredByCommonControlsOnly)
{
    UnregisterClass(QStringLiteral("SysIPAddress32"), nullptr);
    EXPECT_EQ(MakeField(), nullptr);
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
    const INITCOMMONCONTROLSEX WrongSize{12, ICC_INTERNET_CLASSES}, Other{8, ICC_STANDARD_CLASSES};
    EXPECT_FALSE(InitCommonControlsEx(&WrongSize));
    EXPECT_TRUE(InitCommonControlsEx(&Other));
    EXPECT_EQ(MakeField(), nullptr);
    const INITCOMMONCONTROLSEX Internet{8, ICC_INTERNET_CLASSES};
    EXPECT_TRUE(InitCommonControlsEx(&Internet));
    HWND F = MakeField();
    ASSERT_TRUE(F);
    EXPECT_EQ(GetClassName(F), "SysIPAddress32");
}

TEST_F(IpClass, SetReadClearAndBlank)
{
    HWND F = MakeField();
    ASSERT_TRUE(F);
    QWidget *Hosted = HostedWidget(F);
    ASSERT_TRUE(qobject_cast<IpAddressEdit *>(Hosted));
    EXPECT_EQ(Hosted->size(), QSize(140, 20));
    EXPECT_TRUE(Hosted->isVisibleTo(WindowWidget(Parent)));

    LRESULT Filled = -1;
    EXPECT_EQ(Read(F, &Filled), 0u);
    EXPECT_EQ(Filled, 0);
    EXPECT_TRUE(SendMessageA(F, IPM_ISBLANK, 0, 0));

    SendMessageA(F, IPM_SETADDRESS, 0, LPARAM(0xC0A801FB));
    EXPECT_EQ(Read(F, &Filled), 0xC0A801FBu);
    EXPECT_EQ(Filled, 4);
    EXPECT_FALSE(SendMessageA(F, IPM_ISBLANK, 0, 0));
    EXPECT_EQ(GetWindowText(F), "192.168.1.251");
    EXPECT_EQ(Count(F, EN_CHANGE), 1);

    SendMessageA(F, IPM_CLEARADDRESS, 0, 0);
    EXPECT_EQ(Read(F), 0u);
    EXPECT_TRUE(SendMessageA(F, IPM_ISBLANK, 0, 0));

    // A window that was never made: nothing happens, the variable keeps its 0.
    DWORD A = 0;
    EXPECT_EQ(SendMessageA(nullptr, IPM_SETADDRESS, 0, LPARAM(0x01020304)), 0);
    EXPECT_EQ(SendMessageA(nullptr, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&A)), 0);
    EXPECT_EQ(A, 0u);

    // Destroyed with its parent.
    DestroyWindow(Parent);
    EXPECT_FALSE(IsWindow(F));
}

TEST_F(IpClass, TypedAddressWithRealKeys)
{
    HWND F = MakeField();
    SetFocus(F);
    QTest::keyClicks(HostedWidget(F), "192.168.1.251");
    EXPECT_EQ(Read(F), 0xC0A801FBu);
    EXPECT_GE(Count(F, EN_CHANGE), 4);

    SendMessageA(F, IPM_CLEARADDRESS, 0, 0);
    SendMessageA(F, IPM_SETFOCUS, 0, 0);
    QTest::keyClicks(HostedWidget(F), "300");      // the last 0 would make 300: refused
    EXPECT_EQ(GetWindowText(F), "30...");

    // Characters sent by code are typed like keys.
    SendMessageA(F, IPM_SETFOCUS, 1, 0);
    for (char C : std::string("7.8"))
        SendMessageA(F, WM_CHAR, WPARAM(C), 0);
    EXPECT_EQ(GetWindowText(F), "30.7.8.");
}

TEST_F(IpClass, CopyAndPasteBetweenFields)
{
    HWND A = MakeField(25), B = MakeField(60);
    SendMessageA(A, IPM_SETADDRESS, 0, LPARAM(0x0A000001));
    SetFocus(A);
    QTest::keyClick(HostedWidget(A), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "10.0.0.1");
    SetFocus(B);
    QTest::keyClick(HostedWidget(B), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Read(B), 0x0A000001u);
    EXPECT_EQ(Count(B, EN_CHANGE), 1);
}

TEST_F(IpClass, RangeAndFocusMessages)
{
    HWND F = MakeField();
    EXPECT_TRUE(SendMessageA(F, IPM_SETRANGE, 0, MAKEIPRANGE(10, 20)));
    EXPECT_FALSE(SendMessageA(F, IPM_SETRANGE, 4, MAKEIPRANGE(10, 20)));
    SendMessageA(F, IPM_SETFOCUS, 0, 0);
    QTest::keyClicks(HostedWidget(F), "99.");
    EXPECT_EQ(GetWindowText(F), "20...");
    SendMessageA(F, IPM_SETFOCUS, 9, 0);         // beyond the fourth: the first blank octet
    EXPECT_EQ(qobject_cast<IpAddressEdit *>(HostedWidget(F))->CurrentField(), 1);
}

} // namespace
