#pragma once
// Kivmgr: file themes and the theme manager. A file theme loads a ".kiv" theme into memory and answers
// bitmap, colour, integer and flag requests by theme item number (1 to 48, KIV_FILETHEME_ITEMNAME);
// UsingFileTheme is the one rule by which a skin control chooses between it and a built-in style.

#include "framework/core/Classes.h"
#include "framework/core/StringList.h"
#include "skin/theme/Kivthemefile.h"
#include "skin/theme/Kivthemes.h"

class TBitmap;
class TWinControl;

// The loader inside a file theme: the current reader, null until a file is loaded.
class TkivFileThemeMgr : public TObject
{
    KIV_OBJECT(TkivFileThemeMgr, TObject)
public:
    // False when no file exists at FileName. The new reader replaces the current one only once it has
    // read the whole file, so a damaged file raises and leaves the loaded theme as it was.
    bool LoadFromFile(const QString &FileName);

    // Without a reader, or for an item number outside 1..48: Buf unchanged, 0, False.
    void GetBitmap(int Index, TBitmap *Buf) const;
    TColor GetColor(int Index) const;
    int GetInt(int Index) const;
    bool GetBool(int Index) const;
    bool Loaded() const { return bool(FReader); }

private:
    TAutoFree<TkivThemeFileReader> FReader;
};

class TkivFileTheme : public TComponent
{
    KIV_OBJECT(TkivFileTheme, TComponent)
public:
    void Construct(TComponent *AOwner) override;

    QString ThemeFile() const { return FThemeFile; }
    // Loads the theme; a name not found as given is looked for by its file name in KivThemeSearchDirs().
    // Not found anywhere: nothing happens. Raises "Invalid skin file for Kivrona!" for an
    // existing file that is not a theme; either way a failure leaves the previous theme in use.
    void SetThemeFile(const QString &Value);

    bool CanUse() const { return FCanUse; }
    bool CheckThemeFile(const QString &FileName) const;

    // Buf is left unchanged when no theme is loaded or the theme lacks the picture.
    void GetBitmap(int Index, TBitmap *Buf) const;
    // Frame SpitIndex (from 1) of SpitCount; Buf ends up 0 x 0 without the picture or with SpitCount < 1.
    void GetBitmap(int Index, TBitmap *Buf, int SpitCount, int SpitIndex) const;
    TColor GetColor(int Index) const;   // -1 when the theme lacks it, 0 with no theme loaded
    int GetInt(int Index) const;        // as GetColor
    bool GetBool(int Index) const;

    TkivFileThemeMgr *Manager() const { return FManager.get(); }

protected:
    // Steps after the same-name test: find, check, load, and refresh the owner form's components.
    void LoadThemeFile(const QString &Value);

private:
    void RefreshOwnerComponents(bool FirstLoad);

    QString FThemeFile;
    TAutoFree<TkivFileThemeMgr> FManager;
    bool FCanUse = false;
};

// A file theme whose bytes travel inside the window layout as the binary property "SkinData", so no
// file is needed at run time. Its published ThemeFile is only the design-time file name, whose bytes
// are stored when the layout is written; reading a layout never loads anything through it.
class TkivBuiltInFileTheme : public TkivFileTheme
{
    KIV_OBJECT(TkivBuiltInFileTheme, TkivFileTheme)
public:
    QString DesignThemeFile() const { return FDesignThemeFile; }
    void SetThemeFile2(const QString &Value) { FDesignThemeFile = Value; }

    void DefineProperties(TFiler *Filer) override;
    // Loads theme bytes through a private temporary file that is gone again when this returns.
    void LoadSkinData(const QByteArray &Data);

private:
    void ReadSkinData(TStream *Stream);
    void WriteSkinData(TStream *Stream);

    QString FDesignThemeFile;
};

// The temporary file of a built-in theme: made in TempDir() as KIVSKIN.kiv, or KIVSKIN1.kiv,
// KIVSKIN2.kiv ... when the name is taken, created exclusively with owner-only permissions (an
// existing file or link is never opened), and deleted when the object goes.
class TkivTempThemeFile
{
public:
    explicit TkivTempThemeFile(const QByteArray &Data);   // raises EFCreateError when it cannot be made
    ~TkivTempThemeFile();
    TkivTempThemeFile(const TkivTempThemeFile &) = delete;
    TkivTempThemeFile &operator=(const TkivTempThemeFile &) = delete;

    QString FileName() const { return FFileName; }

private:
    QString FFileName;
};

// True when the control should ask FileTheme; otherwise SetStyle is the built-in style to use
// (DeepBlue in place of FromThemeFile without a usable theme).
// Where a theme named without a path is looked for, in order, each with a trailing "/": beside the
// program, the user's data folder ($XDG_DATA_HOME, else ~/.local/share), each folder of
// $XDG_DATA_DIRS (else /usr/local/share and /usr/share), each + "kivrona/themes", and last the themes
// folder of the prefix the library was built to be installed under. A folder appears once.
QStringList KivThemeSearchDirs();

bool UsingFileTheme(TkivFileTheme *FileTheme, TkivUIStyle UIStyle, TkivUIStyle &SetStyle);

class TkivThemeMgrCompList : public TStringList
{
    KIV_OBJECT(TkivThemeMgrCompList, TStringList)
};

// Pushes one style and one file theme to the owner's components named in CompList.
class TkivThemeManager : public TComponent
{
    KIV_OBJECT(TkivThemeManager, TComponent)
public:
    void Construct(TComponent *AOwner) override;

    TkivUIStyle UIStyle() const { return FUIStyle; }
    void SetUIStyle(TkivUIStyle Value);
    TkivFileTheme *FileTheme() const { return FFileTheme; }
    void SetFileTheme(TkivFileTheme *Value);
    TkivThemeMgrCompList *CompList() const { return FCompList.get(); }
    void SetCompList(TStrings *Value);

    // Only for an owner that is a form or a frame: UIStyle, then FileTheme, to each listed component.
    void UpdateAll();
    void UpdateTheme() { UpdateAll(); }

    void Notification(TComponent *AComponent, TOperation Operation) override;

    TNotifyEvent OnUIStyleChanged;

private:
    TkivUIStyle FUIStyle = DeepBlue;
    TkivFileTheme *FFileTheme = nullptr;
    TAutoFree<TkivThemeMgrCompList> FCompList;
};

