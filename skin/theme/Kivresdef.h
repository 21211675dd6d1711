#pragma once
// Kivresdef: the skin's string resources (the title menu's captions) under their string-table
// identifiers. They go through Qt's translators, so a program can install a translation for them.

#include <QString>

struct TkivResString
{
    int Identifier;
    const char *Text;
};

inline constexpr TkivResString KIV_TITLE_MENUITEM_MINIMIZE{65466, "Mi&nimize"};
inline constexpr TkivResString KIV_TITLE_MENUITEM_MAXIMIZE{65467, "Ma&ximize/Restore"};
inline constexpr TkivResString KIV_TITLE_MENUITEM_CLOSE{65468, "&Close"};

// The text in the current translation ("Kivresdef" context), the text itself without one.
QString LoadResString(const TkivResString &ResString);
