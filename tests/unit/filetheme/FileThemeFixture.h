#pragma once
// Theme files made with the library's writer, and stand-in skin controls that publish UIStyle and
// FileTheme and log what their setters see.

#include "framework/controls/Controls.h"
#include "skin/theme/Kivmgr.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <initializer_list>
#include <utility>

namespace FileThemeTest {

// A theme with the integer entries given and "ButtonTransparentBool" set; with WithButton also a
// 3-frame "ButtonImage" of 9 x 2 pixels whose frames are red, green, blue.
QString MakeTheme(const QString &FileName, std::initializer_list<std::pair<int, qint32>> Ints,
                  bool WithButton = false);
QByteArray FileBytes(const QString &FileName);
void WriteBytes(const QString &FileName, const QByteArray &Bytes);
QStringList DirEntries(const QString &Dir);

// What each stand-in's setters saw, in order: "Name.FileTheme" and "Name.UIStyle=n".
QStringList &Log();

// A skin control as the later units make them: the FileTheme setter stores and re-applies UIStyle.
class TkivStandIn : public TGraphicControl
{
    KIV_OBJECT(TkivStandIn, TGraphicControl)
public:
    TkivUIStyle UIStyle() const { return FUIStyle; }
    void SetUIStyle(TkivUIStyle Value);
    TkivFileTheme *FileTheme() const { return FFileTheme; }
    void SetFileTheme(TkivFileTheme *Value);

private:
    TkivUIStyle FUIStyle = DeepBlue;
    TkivFileTheme *FFileTheme = nullptr;
};

// The same properties on a class outside the skin's names.
class TOtherStandIn : public TGraphicControl
{
    KIV_OBJECT(TOtherStandIn, TGraphicControl)
public:
    TkivFileTheme *FileTheme() const { return FFileTheme; }
    void SetFileTheme(TkivFileTheme *Value);
    TkivUIStyle UIStyle() const { return FUIStyle; }
    void SetUIStyle(TkivUIStyle Value) { FUIStyle = Value; }

private:
    TkivUIStyle FUIStyle = DeepBlue;
    TkivFileTheme *FFileTheme = nullptr;
};

// Points TMPDIR and XDG_DATA_HOME into fresh folders for one test and restores them after.
class TScopedDirs
{
public:
    TScopedDirs();
    ~TScopedDirs();
    QString Temp() const { return FTemp.path() + QLatin1Char('/'); }
    QString Data() const { return FData.path() + QLatin1Char('/'); }
    QString Themes() const { return Data() + QStringLiteral("kivrona/themes/"); }

private:
    QTemporaryDir FTemp, FData;
    QByteArray FOldTemp, FOldData;
    bool FHadTemp, FHadData;
};

} // namespace FileThemeTest
