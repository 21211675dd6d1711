// The IPv4 address entry widget driven by real Qt key events.
#include "platform/IpAddressEdit.h"
#include "tests/unit/QtPrinters.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct IpEdit : ::testing::Test
{
    IpAddressEdit Edit;
    IpEdit() { Edit.resize(140, 20); }
    QString Octets() const
    {
        QStringList L;
        for (int I = 0; I < 4; ++I)
            L << Edit.Octet(I)->text();
        return L.join('|');
    }
};

TEST_F(IpEdit, PackedAddressAndBlanks)
{
    EXPECT_TRUE(Edit.IsBlank());
    EXPECT_EQ(Edit.Address(), 0u);
    Edit.SetAddress(0xC0A801FB);
    EXPECT_EQ(Octets(), "192|168|1|251");
    EXPECT_EQ(Edit.Address(), 0xC0A801FBu);
    EXPECT_EQ(Edit.FilledCount(), 4);

    Edit.Octet(2)->clear();
    EXPECT_EQ(Edit.Address(), 0xC0A800FBu);     // a blank octet reads 0
    EXPECT_EQ(Edit.FilledCount(), 3);
    EXPECT_EQ(Edit.Text(), "192.168..251");
    Edit.Clear();
    EXPECT_TRUE(Edit.IsBlank());
    EXPECT_EQ(Edit.Address(), 0u);
}

TEST_F(IpEdit, TypingMovesBetweenOctets)
{
    QTest::keyClicks(&Edit, "192.168.1.251");
    EXPECT_EQ(Octets(), "192|168|1|251");
    EXPECT_EQ(Edit.Address(), 0xC0A801FBu);

    // Dots after short octets, and a dot in an empty octet does nothing.
    Edit.Clear();
    Edit.SetFocusField(0);
    QTest::keyClicks(&Edit, "10..0.7.9");
    EXPECT_EQ(Octets(), "10|0|7|9");

    // In a shown window the keys reach the focused octet itself.
    Edit.Clear();
    Edit.show();
    Edit.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Edit));
    Edit.setFocus();
    ASSERT_EQ(QApplication::focusWidget(), Edit.Octet(0));
    QTest::keyClicks(nullptr, "172.16.5.");
    EXPECT_EQ(QApplication::focusWidget(), Edit.Octet(3));
    QTest::keyClicks(nullptr, "4");
    EXPECT_EQ(Edit.Address(), 0xAC100504u);
}

TEST_F(IpEdit, ValuesAbove255AndNonDigitsAreRefused)
{
    const struct { const char *Typed; const char *Octets; } Cases[] = {
        {"300", "30|||"},          // the third digit would make 300: refused, still in the first octet
        {"256", "25|||"},
        {"2557", "255|7||"},
        {"1a2-b", "12|||"},
        {"99999", "99|||"},
    };
    for (const auto &C : Cases) {
        IpAddressEdit E;
        QTest::keyClicks(&E, C.Typed);
        QStringList L;
        for (int I = 0; I < 4; ++I)
            L << E.Octet(I)->text();
        EXPECT_EQ(L.join('|'), C.Octets) << C.Typed;
    }
}

TEST_F(IpEdit, BackspaceAndArrowsCrossOctetEnds)
{
    Edit.SetText("1.22.3.");
    Edit.SetFocusField(3);
    QTest::keyClick(&Edit, Qt::Key_Backspace);          // empty: back to the end of the third octet
    EXPECT_EQ(Edit.CurrentField(), 2);
    QTest::keyClick(&Edit, Qt::Key_Backspace);          // deletes the 3
    EXPECT_EQ(Octets(), "1|22||");
    QTest::keyClick(&Edit, Qt::Key_Backspace);
    EXPECT_EQ(Edit.CurrentField(), 1);
    EXPECT_EQ(Edit.Octet(1)->cursorPosition(), 2);
    QTest::keyClick(&Edit, Qt::Key_Left);               // inside the octet
    EXPECT_EQ(Edit.CurrentField(), 1);
    QTest::keyClick(&Edit, Qt::Key_Left);
    QTest::keyClick(&Edit, Qt::Key_Left);               // at its start: to the end of the first
    EXPECT_EQ(Edit.CurrentField(), 0);
    EXPECT_EQ(Edit.Octet(0)->cursorPosition(), 1);
    QTest::keyClick(&Edit, Qt::Key_Right);
    EXPECT_EQ(Edit.CurrentField(), 1);
    EXPECT_EQ(Edit.Octet(1)->cursorPosition(), 0);
    QTest::keyClick(&Edit, Qt::Key_Left);
    QTest::keyClick(&Edit, Qt::Key_Left);
    QTest::keyClick(&Edit, Qt::Key_Backspace);          // at the start of the first octet: stays
    EXPECT_EQ(Edit.CurrentField(), 0);
    EXPECT_EQ(Octets(), "1|22||");
}

TEST_F(IpEdit, CopyAndPasteTheDottedAddress)
{
    Edit.SetText("10..3.4");
    QTest::keyClick(&Edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "10..3.4");

    IpAddressEdit Other;
    QTest::keyClick(&Other, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Other.Text(), "10..3.4");

    for (const char *Bad : {"1.2.3", "1.2.3.4.5", "1.2.3.256", "a.b.c.d", "1.2.3.-4", "1234.1.1.1", ""}) {
        QApplication::clipboard()->setText(Bad);
        QTest::keyClick(&Other, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(Other.Text(), "10..3.4") << Bad;
    }
    QApplication::clipboard()->setText(" 192.168.001.251\n");
    QTest::keyClick(&Other, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Other.Address(), 0xC0A801FBu);
}

TEST_F(IpEdit, ChangedOnEveryChangeOnce)
{
    QSignalSpy Spy(&Edit, &IpAddressEdit::Changed);
    Edit.SetAddress(0x01020304);
    EXPECT_EQ(Spy.count(), 1);
    Edit.SetAddress(0x01020304);
    EXPECT_EQ(Spy.count(), 1);
    Edit.SetFocusField(0);
    QTest::keyClicks(&Edit, "9");
    EXPECT_EQ(Spy.count(), 2);
    QTest::keyClicks(&Edit, "x");
    EXPECT_EQ(Spy.count(), 2);
    Edit.Clear();
    EXPECT_EQ(Spy.count(), 3);
}

TEST_F(IpEdit, RangeAppliesWhenTheOctetIsLeft)
{
    EXPECT_TRUE(Edit.SetRange(0, 10, 100));
    EXPECT_FALSE(Edit.SetRange(4, 0, 1));
    QTest::keyClicks(&Edit, "5.");
    EXPECT_EQ(Octets(), "10|||");
    Edit.SetFocusField(0);
    QTest::keyClicks(&Edit, "200");
    EXPECT_EQ(Octets(), "100|||");
    EXPECT_EQ(Edit.CurrentField(), 1);
}

TEST_F(IpEdit, FocusFieldBeyondThreeIsTheFirstBlank)
{
    Edit.SetText("1.2..4");
    Edit.SetFocusField(7);
    EXPECT_EQ(Edit.CurrentField(), 2);
    Edit.SetAddress(0x01020304);
    Edit.SetFocusField(-1);
    EXPECT_EQ(Edit.CurrentField(), 0);
}

} // namespace
