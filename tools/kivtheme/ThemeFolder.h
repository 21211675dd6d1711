#pragma once
// A theme as a folder: theme.ini with the sections [files] (name=picture file, relative to the
// folder), [strings], [integers] (decimal or 0x hexadecimal) and [flags] (0 or 1), one entry per
// line in file order, and the pictures beside it. Strings are written in double quotes with
// backslash escapes (\\ \" \n \r \t) so that any text comes back as it was; an unquoted value is
// taken as it stands, without its surrounding blanks. Lines starting with ';' or '#' are comments.
//
// QSettings would sort the keys and fold repeated names into one, and entry order and repeats are
// part of a theme's bytes, so the file is read and written here.

#include <QString>

class TkivThemeFileReader;

// Writes the theme described by Dir/theme.ini to OutFile. Raises Exception naming the line at fault.
void PackThemeFolder(const QString &Dir, const QString &OutFile);

// Writes the reader's entries into Dir (made if needed) as theme.ini and one file per embedded file,
// named after its entry (".bmp" for a bitmap, ".bin" otherwise). Raises Exception for a name
// that theme.ini cannot hold.
void UnpackThemeFolder(const TkivThemeFileReader *Reader, const QString &Dir);

// Text with backslash escapes for the characters that would break a line apart, and for double
// quotes when it goes between them.
QString EscapeThemeText(const QString &Text, bool InQuotes = false);
