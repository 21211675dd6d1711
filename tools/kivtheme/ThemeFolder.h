#pragma once
// A theme as a folder: theme.ini with the sections [files] (name=picture file, relative to the
// folder), [strings], [integers] (decimal or 0x hexadecimal) and [flags] (the stored byte, 0 to
// 255), one entry per line in file order, and the pictures beside it. Names and strings may be
// written in double quotes with backslash escapes (\\ \" \n \r \t, and \xNN for a byte of the code
// page text that is no character of its own), so that any stored name or text comes back byte for
// byte; an unquoted name or value is taken as it stands, without its surrounding blanks. Lines
// starting with ';' or '#' are comments.
//
// Without a [layout] section pack lays the entries out as the library's writer does: files,
// strings, integers, flags, each group in the order listed. A theme laid out otherwise (entries in
// another order, shared data, gaps, other header values, entries of unknown types) is unpacked with
// a [layout] section that says where each part lies, and pack puts every part back there.
//
// QSettings would sort the keys and fold repeated names into one, and entry order and repeats are
// part of a theme's bytes, so the file is read and written here.

#include <QByteArray>
#include <QMap>
#include <QString>

#include <functional>
#include <optional>

// A theme folder in memory: theme.ini's text and the files beside it, by file name.
struct TkivThemeFolder
{
    QString Ini;
    QMap<QString, QByteArray> Files;
};

// The folder that packs back into Theme's very bytes. Raises the reader's EReadError for a file
// the library's reader refuses.
TkivThemeFolder UnpackTheme(const QByteArray &Theme);

// The theme that theme.ini's text describes; File gives the bytes of a file named in [files], or
// nothing when there is none. Raises Exception naming the line at fault.
QByteArray PackTheme(const QString &Ini, const std::function<std::optional<QByteArray>(const QString &FileName)> &File);

// The same on disk: Dir/theme.ini and the pictures it names, written to OutFile.
void PackThemeFolder(const QString &Dir, const QString &OutFile);
// Theme's folder written into Dir (made if needed).
void UnpackThemeFolder(const QByteArray &Theme, const QString &Dir);

// Text with backslash escapes for the characters that would break a line apart, and for double
// quotes when it goes between them.
QString EscapeThemeText(const QString &Text, bool InQuotes = false);
