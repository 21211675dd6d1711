// Shortcut texts both ways, and the "&" hotkeys of captions.
#include "framework/controls/Menus.h"
#include "tests/unit/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

struct TShortCutCase
{
    TShortCut Code;
    const char *Text;
};

TEST(ShortCutText, TheClassicNamesReadBackAsTheSameShortCut)
{
    const TShortCutCase Cases[] = {
        {scCtrl | 'S', "Ctrl+S"},
        {scShift | VK_DELETE, "Shift+Del"},
        {VK_F5, "F5"},
        {scAlt | VK_RETURN, "Alt+Enter"},
        {scShift | scCtrl | 'Z', "Shift+Ctrl+Z"},
        {scShift | scCtrl | scAlt | VK_F12, "Shift+Ctrl+Alt+F12"},
        {VK_F24, "F24"},
        {VK_ESCAPE, "Esc"},
        {scShift | VK_BACK, "Shift+BkSp"},
        {VK_TAB, "Tab"},
        {scCtrl | VK_SPACE, "Ctrl+Space"},
        {VK_PRIOR, "PgUp"},
        {scCtrl | VK_NEXT, "Ctrl+PgDn"},
        {VK_HOME, "Home"},
        {VK_END, "End"},
        {scAlt | VK_LEFT, "Alt+Left"},
        {VK_UP, "Up"},
        {VK_RIGHT, "Right"},
        {VK_DOWN, "Down"},
        {scCtrl | VK_INSERT, "Ctrl+Ins"},
        {scCtrl | '0', "Ctrl+0"},
        {scCtrl | VK_ADD, "Ctrl+Num +"},
        {scCtrl | VK_OEM_PLUS, "Ctrl+="},
        {scCtrl | VK_OEM_2, "Ctrl+/"},
    };
    for (const TShortCutCase &C : Cases) {
        EXPECT_EQ(ShortCutToText(C.Code), QString::fromLatin1(C.Text));
        EXPECT_EQ(TextToShortCut(QString::fromLatin1(C.Text)), C.Code) << C.Text;
    }

    // One way only: keys without a name, numeric-pad digits (named as the digits), and texts written
    // otherwise than the names.
    const TShortCutCase ToText[] = {
        {scNone, ""}, {VK_SHIFT, ""}, {scCtrl | VK_CONTROL, ""}, {scShift | (VK_NUMPAD0 + 5), "Shift+5"},
    };
    for (const TShortCutCase &C : ToText)
        EXPECT_EQ(ShortCutToText(C.Code), QString::fromLatin1(C.Text));
    const TShortCutCase FromText[] = {
        {scCtrl | 'S', "ctrl+s"},
        {scCtrl | 'S', "^S"},
        {scShift | scAlt | 'X', "Alt+Shift+X"},
        {scAlt | VK_RETURN, "ALT+ENTER"},
        {scShift | 'A', "Shift+Shift+A"},
        {'5', "5"},
        {scNone, ""},
        {scNone, "Ctrl+"},
        {scNone, "Ctrl+Banana"},
        {scNone, "Ctrl S"},
        {scNone, " Ctrl+S"},
    };
    for (const TShortCutCase &C : FromText)
        EXPECT_EQ(TextToShortCut(QString::fromLatin1(C.Text)), C.Code) << C.Text;
}

TEST(ShortCutText, KeysAndShiftStatesMakeShortCutsAndComeBackOut)
{
    EXPECT_EQ(ShortCut('S', {ssCtrl, ssShift}), scCtrl | scShift | 'S');
    EXPECT_EQ(ShortCut(0x1234, {ssCtrl}), scNone) << "a key wider than a byte";
    quint16 Key = 0;
    TShiftState Shift{ssLeft};
    ShortCutToKey(scAlt | scCtrl | VK_F4, Key, Shift);
    EXPECT_EQ(Key, VK_F4);
    EXPECT_EQ(Shift, (TShiftState{ssAlt, ssCtrl}));
}

struct THotkeyCase
{
    const char16_t *Caption;
    const char16_t *Stripped;
    const char16_t *Hotkey;
};

TEST(Hotkeys, TheLastSingleAmpersandMarksTheHotkeyAndDoubledOnesAreText)
{
    const THotkeyCase Cases[] = {
        {u"&File", u"File", u"F"},
        {u"E&xit", u"Exit", u"x"},
        {u"Save && Quit", u"Save & Quit", u""},
        {u"&&&Print", u"&Print", u"P"},
        {u"&a&b", u"ab", u"b"},
        {u"&", u"", u""},
        {u"Tail&", u"Tail", u""},
        {u"", u"", u""},
        {u"-", u"-", u""},
        {u"檔案(&F)", u"檔案(F)", u"F"},
        {u"&設定", u"設定", u"設"},
    };
    for (const THotkeyCase &C : Cases) {
        const QString Caption = QString::fromUtf16(C.Caption);
        EXPECT_EQ(StripHotkey(Caption), QString::fromUtf16(C.Stripped)) << Caption.toStdString();
        const QString Hotkey = QString::fromUtf16(C.Hotkey);
        EXPECT_EQ(GetHotkey(Caption), Hotkey) << Caption.toStdString();
        // A virtual key is the upper-case letter; the hotkey's case does not matter.
        if (!Hotkey.isEmpty()) {
            EXPECT_TRUE(IsAccel(Hotkey.toUpper().at(0).unicode(), Caption)) << Caption.toStdString();
        }
        EXPECT_FALSE(IsAccel('Q', Caption)) << Caption.toStdString();
    }
}

} // namespace
