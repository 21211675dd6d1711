#include "skin/theme/Kivmgr.h"

#include "framework/controls/Controls.h"
#include "framework/core/Reader.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"
#include "framework/forms/Forms.h"
#include "framework/graphics/Bitmap.h"
#include "platform/Window.h"
#include "skin/theme/Kivpublic.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString FileThemeProp = QStringLiteral("FileTheme");
const QString UIStyleProp = QStringLiteral("UIStyle");

bool ValidItem(int Index)
{
    return Index >= 1 && Index <= KIV_FILETHEME_ITEMCOUNT;
}

QString ItemName(int Index)
{
    return QString::fromLatin1(KIV_FILETHEME_ITEMNAME[Index - 1]);
}

// The frame units sit above this one, so their classes are recognised by registered name.
bool InheritsFromNamed(const TObject *Obj, const char *ClassName)
{
    const TClass C = GetClass(QString::fromLatin1(ClassName));
    return C && Obj->InheritsFrom(C);
}

} // namespace

// ---- TkivFileThemeMgr ---------------------------------------------------------------------------------

KIV_PUBLISHED(TkivFileThemeMgr) {}

bool TkivFileThemeMgr::LoadFromFile(const QString &FileName)
{
    if (!FileExists(FileName))
        return false;
    TAutoFree<TkivThemeFileReader> Reader(TkivThemeFileReader::Create(FileName));
    FReader = std::move(Reader);
    return true;
}

void TkivFileThemeMgr::GetBitmap(int Index, TBitmap *Buf) const
{
    if (!FReader || !Buf || !ValidItem(Index))
        return;
    if (TMemoryStream *Stream = FReader->GetFile(ItemName(Index))) {
        Stream->SetPosition(0);
        Buf->LoadFromStream(Stream);
    }
}

TColor TkivFileThemeMgr::GetColor(int Index) const
{
    return GetInt(Index);
}

int TkivFileThemeMgr::GetInt(int Index) const
{
    if (!FReader)
        return 0;
    return ValidItem(Index) ? FReader->GetInteger(ItemName(Index)) : -1;
}

bool TkivFileThemeMgr::GetBool(int Index) const
{
    return FReader && ValidItem(Index) && FReader->GetBool(ItemName(Index));
}

// ---- TkivFileTheme ------------------------------------------------------------------------------------

KIV_PUBLISHED(TkivFileTheme)
{
    Property("ThemeFile", &TkivFileTheme::ThemeFile, &TkivFileTheme::SetThemeFile);
}

void TkivFileTheme::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FManager.reset(TkivFileThemeMgr::Create());
}

bool TkivFileTheme::CheckThemeFile(const QString &FileName) const
{
    return IsKIVThemeFile(FileName);
}

void TkivFileTheme::SetThemeFile(const QString &Value)
{
    if (Value == FThemeFile)
        return;
    LoadThemeFile(Value);
}

void TkivFileTheme::LoadThemeFile(const QString &Value)
{
    const bool FirstLoad = FThemeFile.isEmpty();

    QString Path = Value;
    if (!FileExists(Path)) {
        const QString Name = ExtractFileName(Value);
        Path.clear();
        for (const QString &Dir : KivThemeSearchDirs()) {
            if (FileExists(Dir + Name)) {
                Path = Dir + Name;
                break;
            }
        }
        if (Path.isEmpty())
            return;
    }

    if (!CheckThemeFile(Path))
        throw Exception(QStringLiteral("Invalid skin file for Kivrona!"));

    // The name changes only with a theme that loaded: a damaged file raises with the old one in place.
    const bool Loaded = FManager->LoadFromFile(Path);
    FThemeFile = Path;
    FCanUse = Loaded;

    if (FCanUse)
        RefreshOwnerComponents(FirstLoad);
}

void TkivFileTheme::RefreshOwnerComponents(bool FirstLoad)
{
    TComponent *Form = Owner();
    if (!Form || !Form->Is<TForm>())
        return;
    bool FrameUsesMe = false;
    for (int I = 0; I < Form->ComponentCount(); ++I) {
        TComponent *C = Form->Components(I);
        if (!IsHasProperty(C, FileThemeProp) || GetObjectProp(C, FileThemeProp) != this)
            continue;
        if (InheritsFromNamed(C, "TkivForm") || InheritsFromNamed(C, "TkivMDIForm"))
            FrameUsesMe = true;
        if (C->ClassName().startsWith(QStringLiteral("Tkiv")))
            SetObjectProp(C, FileThemeProp, this);
    }
    if (FrameUsesMe && !FirstLoad)
        SetWindowPos(static_cast<TForm *>(Form)->Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TkivFileTheme::GetBitmap(int Index, TBitmap *Buf) const
{
    FManager->GetBitmap(Index, Buf);
}

void TkivFileTheme::GetBitmap(int Index, TBitmap *Buf, int SpitCount, int SpitIndex) const
{
    if (!Buf)
        return;
    TAutoFree<TBitmap> Whole(TBitmap::Create());
    FManager->GetBitmap(Index, Whole.get());
    if (SpitCount < 1) {
        Buf->SetSize(0, 0);
        return;
    }
    SpitBitmap(Whole.get(), Buf, SpitCount, SpitIndex);
}

TColor TkivFileTheme::GetColor(int Index) const
{
    return FManager->GetColor(Index);
}

int TkivFileTheme::GetInt(int Index) const
{
    return FManager->GetInt(Index);
}

bool TkivFileTheme::GetBool(int Index) const
{
    return FManager->GetBool(Index);
}

// ---- TkivBuiltInFileTheme -----------------------------------------------------------------------------

KIV_PUBLISHED(TkivBuiltInFileTheme)
{
    Property("ThemeFile", &TkivBuiltInFileTheme::DesignThemeFile, &TkivBuiltInFileTheme::SetThemeFile2);
}

void TkivBuiltInFileTheme::DefineProperties(TFiler *Filer)
{
    inherited::DefineProperties(Filer);
    Filer->DefineBinaryProperty(
        QStringLiteral("SkinData"), [this](TStream *S) { ReadSkinData(S); },
        [this](TStream *S) { WriteSkinData(S); }, FileExists(FDesignThemeFile));
}

void TkivBuiltInFileTheme::ReadSkinData(TStream *Stream)
{
    TAutoFree<TMemoryStream> Data(TMemoryStream::Create());
    Data->LoadFromStream(Stream);
    LoadSkinData(Data->Bytes());
}

void TkivBuiltInFileTheme::LoadSkinData(const QByteArray &Data)
{
    TkivTempThemeFile Temp(Data);
    // Straight to the load: a new theme under a temporary name used before must not count as unchanged.
    LoadThemeFile(Temp.FileName());
}

void TkivBuiltInFileTheme::WriteSkinData(TStream *Stream)
{
    TAutoFree<TMemoryStream> Data(TMemoryStream::Create());
    Data->LoadFromFile(FDesignThemeFile);
    Stream->WriteBuffer(Data->Bytes());
}

// ---- TkivTempThemeFile --------------------------------------------------------------------------------

namespace {

bool WriteAll(int Fd, const QByteArray &Data)
{
    const char *P = Data.constData();
    qsizetype Left = Data.size();
    while (Left > 0) {
        const ssize_t N = ::write(Fd, P, size_t(Left));
        if (N < 0 && errno == EINTR)
            continue;
        if (N <= 0)
            return false;
        P += N;
        Left -= N;
    }
    return true;
}

} // namespace

TkivTempThemeFile::TkivTempThemeFile(const QByteArray &Data)
{
    const QString Dir = TempDir();
    // O_EXCL fails on any existing name, a link included, so nothing is ever written through one.
    constexpr int MaxTries = 10000;
    for (int N = 0; N < MaxTries; ++N) {
        const QString Name = Dir + QStringLiteral("KIVSKIN") + (N ? QString::number(N) : QString()) +
                             QStringLiteral(".kiv");
        const QByteArray Native = QFile::encodeName(Name);
        const int Fd = ::open(Native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (Fd < 0) {
            if (errno == EEXIST)
                continue;
            throw EFCreateError(QStringLiteral("Cannot create file \"%1\": %2")
                                    .arg(Name, QString::fromLocal8Bit(std::strerror(errno))));
        }
        const bool Written = WriteAll(Fd, Data);
        const int WriteErrno = errno;
        const bool Closed = ::close(Fd) == 0;
        if (!Written || !Closed) {
            ::unlink(Native.constData());
            throw EFCreateError(QStringLiteral("Cannot write file \"%1\": %2")
                                    .arg(Name, QString::fromLocal8Bit(std::strerror(Written ? errno : WriteErrno))));
        }
        FFileName = Name;
        return;
    }
    throw EFCreateError(QStringLiteral("Cannot create a temporary theme file in \"%1\"").arg(Dir));
}

TkivTempThemeFile::~TkivTempThemeFile()
{
    ::unlink(QFile::encodeName(FFileName).constData());
}

// ---- the theme search -----------------------------------------------------------------------------------

QStringList KivThemeSearchDirs()
{
    QStringList Data = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    // Qt takes a relative $XDG_DATA_HOME as it stands; the base directory rules ignore it like an unset one.
    if (!Data.isEmpty() && QDir::isRelativePath(Data.front()))
        Data.front() = QDir::homePath() + QStringLiteral("/.local/share");
    QStringList Dirs{QDir::cleanPath(ProgramDir())};
    for (const QString &Dir : Data)
        Dirs.append(QDir::cleanPath(Dir + QStringLiteral("/kivrona/themes")));
    Dirs.append(QDir::cleanPath(QStringLiteral(KIV_INSTALLED_THEMES_DIR)));
    Dirs.removeDuplicates();
    for (QString &Dir : Dirs)
        Dir = IncludeTrailingPathDelimiter(Dir);
    return Dirs;
}

// ---- UsingFileTheme -----------------------------------------------------------------------------------

bool UsingFileTheme(TkivFileTheme *FileTheme, TkivUIStyle UIStyle, TkivUIStyle &SetStyle)
{
    SetStyle = UIStyle;
    if (UIStyle != FromThemeFile)
        return false;
    if (FileTheme && FileTheme->CanUse())
        return true;
    SetStyle = DeepBlue;
    return false;
}

// ---- TkivThemeManager ---------------------------------------------------------------------------------

KIV_PUBLISHED(TkivThemeMgrCompList) {}

KIV_PUBLISHED(TkivThemeManager)
{
    Property("UIStyle", &TkivThemeManager::UIStyle, &TkivThemeManager::SetUIStyle).Default(DeepBlue);
    Property("FileTheme", &TkivThemeManager::FileTheme, &TkivThemeManager::SetFileTheme);
    Property("CompList", &TkivThemeManager::CompList, &TkivThemeManager::SetCompList);
    Property("OnUIStyleChanged", &TkivThemeManager::OnUIStyleChanged);
}

void TkivThemeManager::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    FCompList.reset(TkivThemeMgrCompList::Create());
    SetUIStyle(DeepBlue);
}

void TkivThemeManager::SetUIStyle(TkivUIStyle Value)
{
    const TkivUIStyle Old = FUIStyle;
    FUIStyle = Value;
    UpdateAll();
    if (Value != Old && OnUIStyleChanged)
        OnUIStyleChanged(this);
}

void TkivThemeManager::SetFileTheme(TkivFileTheme *Value)
{
    if (Value != FFileTheme) {
        if (FFileTheme)
            FFileTheme->RemoveFreeNotification(this);
        FFileTheme = Value;
        if (Value)
            Value->FreeNotification(this);
    }
    SetUIStyle(FUIStyle);
}

void TkivThemeManager::SetCompList(TStrings *Value)
{
    FCompList->Assign(Value);
}

void TkivThemeManager::UpdateAll()
{
    TComponent *Root = Owner();
    if (!Root || !(Root->Is<TForm>() || InheritsFromNamed(Root, "TCustomFrame")))
        return;
    for (int I = 0; I < FCompList->Count(); ++I) {
        TComponent *C = Root->FindComponent(FCompList->Strings(I));
        if (!C)
            continue;
        // A listed name may belong to a component without the properties: skipped, not an error.
        if (IsHasProperty(C, UIStyleProp))
            SetOrdProp(C, UIStyleProp, FUIStyle);
        if (IsHasProperty(C, FileThemeProp))
            SetObjectProp(C, FileThemeProp, FFileTheme);
    }
}

void TkivThemeManager::Notification(TComponent *AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove || AComponent == this)
        return;
    const int Index = FCompList ? FCompList->IndexOf(AComponent->Name()) : -1;
    if (Index >= 0 && !AComponent->Name().isEmpty())
        FCompList->Delete(Index);
    if (AComponent == FFileTheme) {
        FFileTheme = nullptr;
        FUIStyle = DeepBlue;
    }
}
