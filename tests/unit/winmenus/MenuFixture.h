#pragma once
// A small menu tree for the menu tests, and a one-line picture of a menu to compare against.
//
//   Bar: &File > [ &Open 101, -, E&xit 102 ]
//        &Edit > [ &Copy 201, &Format > [ &Bold 301, &Italic 302 checked ], &Paste 202 grayed ]
//        &Help 401

#include "platform/Menu.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <string>
#include <vector>

// Items as "Text#id" with +chk +gray +dis +def +radio +od marks, "-" for a separator and "Text>[...]" for an
// item opening a sub-menu.
inline std::string Picture(HMENU Menu)
{
    QStringList Parts;
    for (int I = 0; I < GetMenuItemCount(Menu); ++I) {
        MENUITEMINFO Info;
        Info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        if (!GetMenuItemInfo(Menu, UINT(I), TRUE, &Info))
            return "unreadable";
        QString S = (Info.fType & MFT_SEPARATOR) ? QStringLiteral("-") : QString(Info.dwTypeData).remove('&');
        if (!Info.hSubMenu && !(Info.fType & MFT_SEPARATOR))
            S += QStringLiteral("#%1").arg(Info.wID);
        if (Info.fState & MFS_CHECKED)
            S += QStringLiteral("+chk");
        if ((Info.fState & MFS_GRAYED) == MF_GRAYED)
            S += QStringLiteral("+gray");
        if ((Info.fState & MFS_GRAYED) == MF_DISABLED)
            S += QStringLiteral("+dis");
        if ((Info.fState & MFS_GRAYED) == MFS_GRAYED)
            S += QStringLiteral("+gray+dis");
        if (Info.fState & MFS_DEFAULT)
            S += QStringLiteral("+def");
        if (Info.fType & MFT_RADIOCHECK)
            S += QStringLiteral("+radio");
        if (Info.fType & MFT_OWNERDRAW)
            S += QStringLiteral("+od");
        if (Info.hSubMenu)
            S += QStringLiteral(">[%1]").arg(QString::fromStdString(Picture(Info.hSubMenu)));
        Parts << S;
    }
    return Parts.join(QStringLiteral(", ")).toStdString();
}

class MenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Bar = Keep(CreateMenu());
        File = Keep(CreatePopupMenu());
        Edit = Keep(CreatePopupMenu());
        Format = Keep(CreatePopupMenu());
        AppendMenu(File, MF_STRING, 101, QStringLiteral("&Open"));
        AppendMenu(File, MF_SEPARATOR, 0, QString());
        AppendMenu(File, MF_STRING, 102, QStringLiteral("E&xit"));
        AppendMenu(Format, MF_STRING, 301, QStringLiteral("&Bold"));
        AppendMenu(Format, MF_STRING | MF_CHECKED, 302, QStringLiteral("&Italic"));
        AppendMenu(Edit, MF_STRING, 201, QStringLiteral("&Copy"));
        AppendMenu(Edit, MF_POPUP, reinterpret_cast<UINT_PTR>(Format), QStringLiteral("&Format"));
        AppendMenu(Edit, MF_STRING | MF_GRAYED, 202, QStringLiteral("&Paste"));
        AppendMenu(Bar, MF_POPUP, reinterpret_cast<UINT_PTR>(File), QStringLiteral("&File"));
        AppendMenu(Bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Edit), QStringLiteral("&Edit"));
        AppendMenu(Bar, MF_STRING, 401, QStringLiteral("&Help"));
    }

    // Menus a test let go of are destroyed here; those already gone are refused harmlessly.
    void TearDown() override
    {
        for (HMENU M : Made)
            DestroyMenu(M);
    }

    HMENU Keep(HMENU M)
    {
        Made.push_back(M);
        return M;
    }

    static constexpr const char *Initial =
        "File>[Open#101, -, Exit#102], Edit>[Copy#201, Format>[Bold#301, Italic#302+chk], Paste#202+gray], "
        "Help#401";

    HMENU Bar = nullptr, File = nullptr, Edit = nullptr, Format = nullptr;
    std::vector<HMENU> Made;
};
