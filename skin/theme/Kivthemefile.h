#pragma once
// Kivthemefile: the ".kiv" theme file. A 24-byte header (magic "Kivrona_TB", header size, version,
// first entry) and a chain of 77-byte entry headers, each followed by its data: embedded files,
// integers, flags and strings under names compared without regard to case. Names and strings are
// stored in the Traditional Chinese ANSI code page (Big5).

#include "framework/core/Classes.h"
#include "framework/core/Streams.h"
#include "framework/core/StringList.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The theme items, by item number - 1: the entry names a skin's values are stored under.
constexpr int KIV_FILETHEME_ITEMCOUNT = 48;
inline constexpr const char *KIV_FILETHEME_ITEMNAME[KIV_FILETHEME_ITEMCOUNT] = {
    "ButtonImage",                      // 1
    "ButtonTransparentBool",
    "CheckBoxImage",
    "RadioButtonImage",
    "TitleBarButtonImage",              // 5
    "TitleBarButtonTransparentBool",
    "TitleBarButtonLeftOffsetInt",
    "TitleBarButtonRightOffsetInt",
    "TitleBarButtonTopInt",
    "TitleBarLeftImage",                // 10
    "TitleBarClientImage",
    "TitleBarRightImage",
    "FormMinWidthInt",
    "FormRoundCornerInt",
    "FormBackgroundColor",              // 15
    "FormBorderColor",
    "FormBorderWidthInt",
    "MenuSelectedBorderColor",
    "MenuSelectedBackgroundColor",
    "MenuSelectedFontColor",            // 20
    "MenuBackgroundColor",
    "MenuFontColor",
    "MenuBarColor",
    "ProgressBarImage",
    "ControlBorderColor",               // 25
    "ControlBackgroundColor",
    "ControlFontColor",
    "TrackBarBarImage",
    "TrackBarSliderImage",
    "TrackBarSliderVImage",             // 30
    "ScrollBarBackgroundColor",
    "ScrollBarButtonImage",
    "ScrollBarSliderImage",
    "CheckListBoxImage",
    "ToolBarButtonBorderColor",         // 35
    "ToolBarButtonBackgroundColor",
    "ToolBarButtonDownBackgroundColor",
    "ScrollButtonImage",
    "TabControlTabImage",
    "TabControlBarImage",               // 40
    "SideChannelHandleImage",
    "SideChannelBarImage",
    "TitleBarMinimizedImage",
    "TitleBarFontColor",
    "FormLeftBorderImage",              // 45
    "FormBottomBorderImage",
    "FormBottomRoundCornerInt",
    "MenuMenuBarColor",
};

// Entry types.
enum : quint8 {
    KIV_ENTRY_FILE = 0,
    KIV_ENTRY_INTEGER = 1,
    KIV_ENTRY_FLAG = 2,
    KIV_ENTRY_STRING = 3,
};

constexpr int KIV_THEME_HEADER_SIZE = 24;
constexpr int KIV_THEME_ENTRY_SIZE = 77;
constexpr int KIV_THEME_NAME_SIZE = 64;
inline constexpr char KIV_THEME_MAGIC[] = "Kivrona_TB";

// A named value as the file lays it out: the name in the code page, the entry type and the data.
struct TkivThemeValue
{
    QByteArray Name;
    quint8 Type = KIV_ENTRY_FILE;
    QByteArray Data;
};

// The bytes of a theme holding Values in order, laid out as the writer lays every theme out: the
// header, each entry's header followed by its data, the terminator. Raises EWriteError past 2 GB.
QByteArray KivThemeFileBytes(const QList<TkivThemeValue> &Values, const QString &FileName);

// A 77-byte entry header; NameField fills the name field, zero-padded, and must fit its 64 bytes.
QByteArray KivThemeEntryHeader(const QByteArray &NameField, quint8 Type, qint32 DataOffset, qint32 Length, qint32 Next);

// One header of a theme's chain as the file holds it.
struct TkivThemeEntry
{
    qint64 Position = 0;
    QByteArray NameField;   // all 64 bytes; the name runs to the first zero
    quint8 Type = 0;
    qint64 DataOffset = 0;
    qint64 Length = 0;
    qint64 Next = 0;
};

// Collects named values and writes them as a theme file: files, then strings, integers and flags,
// each group in the order added. Free() saves once more if anything was added since the last Save,
// so a writer made and freed always leaves its file.
class TkivThemeFileWriter : public TObject
{
    KIV_OBJECT(TkivThemeFileWriter, TObject)
public:
    void Construct(const QString &FileName);
    void BeforeDestruction() override;

    void AddFile(const QString &Name, const QString &FilePath);
    void AddStr(const QString &Name, const QString &Value);
    void AddInteger(const QString &Name, qint32 Value);
    void AddBool(const QString &Name, bool Value);
    // The file is made in memory first, so a missing embedded file leaves an existing theme untouched.
    void Save();

    QString FileName() const { return FFileName; }

private:
    QString FFileName;
    TAutoFree<TStringList> FFiles;
    TAutoFree<TStringList> FIntegers;
    TAutoFree<TStringList> FFlags;
    TAutoFree<TStringList> FStrings;
    bool FPending = true;
};

// A whole theme file in memory, answering lookups by name. A damaged file (a header size other than
// 24, offsets or lengths outside the file, an integer entry not 4 bytes or a flag entry not 1 byte,
// a chain that does not move forward, entries sharing data that together outgrow the file) raises
// EReadError saying what is wrong; a file that cannot be opened raises the file stream's error.
// The magic is not checked: callers ask IsKIVThemeFile first.
class TkivThemeFileReader : public TObject
{
    KIV_OBJECT(TkivThemeFileReader, TObject)
public:
    void Construct(const QString &FileName);
    void Construct(TStream *Stream);   // the theme from the stream's start

    void Load(const QString &FileName);
    void LoadFromStream(TStream *Stream);

    // The embedded file's bytes, positioned at 0 and owned by the reader; null when absent.
    TMemoryStream *GetFile(const QString &Name) const;
    qint32 GetInteger(const QString &Name) const;   // -1 when absent
    bool GetBool(const QString &Name) const;        // False when absent
    QString GetStr(const QString &Name) const;

    // The loaded entries in file order: file names with their streams attached, and name=value lines.
    TStrings *Files() const { return FFiles.get(); }
    TStrings *Integers() const { return FIntegers.get(); }
    TStrings *Flags() const { return FFlags.get(); }
    TStrings *Strings() const { return FStrings.get(); }
    int EntryCount() const;
    // Every header of the chain in file order, entries of types the reader skips and the terminator
    // included: what a tool needs to write the same bytes again.
    const QList<TkivThemeEntry> &Chain() const { return FChain; }

private:
    void Clear();
    void LoadFromBytes(const QByteArray &Data, const QString &Source);

    TAutoFree<TStringList> FFiles;
    TAutoFree<TStringList> FIntegers;
    TAutoFree<TStringList> FFlags;
    TAutoFree<TStringList> FStrings;
    QList<TkivThemeEntry> FChain;
};

// True if FileName can be read and its first 12 bytes, as text up to the first zero byte, are
// exactly "Kivrona_TB"; never raises.
bool IsKIVThemeFile(const QString &FileName);
