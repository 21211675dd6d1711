#include "tests/unit/filetheme/FileThemeFixture.h"

#include "framework/core/TypInfo.h"
#include "framework/graphics/Bitmap.h"

#include <QDir>
#include <QFile>

namespace FileThemeTest {

QString MakeTheme(const QString &FileName, std::initializer_list<std::pair<int, qint32>> Ints, bool WithButton)
{
    QTemporaryDir Work;
    TAutoFree<TkivThemeFileWriter> Writer(TkivThemeFileWriter::Create(FileName));
    if (WithButton) {
        TAutoFree<TBitmap> Bmp(TBitmap::Create());
        Bmp->SetSize(9, 2);
        const TColor Colors[] = {clRed, clLime, clBlue};
        for (int I = 0; I < 3; ++I) {
            Bmp->Canvas()->Brush()->SetColor(Colors[I]);
            Bmp->Canvas()->FillRect(Rect(I * 3, 0, I * 3 + 3, 2));
        }
        const QString Picture = Work.path() + QStringLiteral("/button.bmp");
        Bmp->SaveToFile(Picture);
        Writer->AddFile(QString::fromLatin1(KIV_FILETHEME_ITEMNAME[0]), Picture);
    }
    for (const auto &[Item, Value] : Ints)
        Writer->AddInteger(QString::fromLatin1(KIV_FILETHEME_ITEMNAME[Item - 1]), Value);
    Writer->AddBool(QString::fromLatin1(KIV_FILETHEME_ITEMNAME[1]), true);
    Writer->Save();
    return FileName;
}

QByteArray FileBytes(const QString &FileName)
{
    QFile F(FileName);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

void WriteBytes(const QString &FileName, const QByteArray &Bytes)
{
    QFile F(FileName);
    if (F.open(QIODevice::WriteOnly | QIODevice::Truncate))
        F.write(Bytes);
}

QStringList DirEntries(const QString &Dir)
{
    return QDir(Dir).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QStringList &Log()
{
    static QStringList L;
    return L;
}

KIV_PUBLISHED(TkivStandIn)
{
    Property("UIStyle", &TkivStandIn::UIStyle, &TkivStandIn::SetUIStyle);
    Property("FileTheme", &TkivStandIn::FileTheme, &TkivStandIn::SetFileTheme);
}

void TkivStandIn::SetUIStyle(TkivUIStyle Value)
{
    FUIStyle = Value;
    Log() << QStringLiteral("%1.UIStyle=%2").arg(Name()).arg(int(Value));
}

void TkivStandIn::SetFileTheme(TkivFileTheme *Value)
{
    FFileTheme = Value;
    Log() << Name() + QStringLiteral(".FileTheme");
    SetUIStyle(FUIStyle);
}

KIV_PUBLISHED(TOtherStandIn)
{
    Property("UIStyle", &TOtherStandIn::UIStyle, &TOtherStandIn::SetUIStyle);
    Property("FileTheme", &TOtherStandIn::FileTheme, &TOtherStandIn::SetFileTheme);
}

void TOtherStandIn::SetFileTheme(TkivFileTheme *Value)
{
    FFileTheme = Value;
    Log() << Name() + QStringLiteral(".FileTheme");
}

TScopedDirs::TScopedDirs()
    : FOldTemp(qgetenv("TMPDIR")), FOldData(qgetenv("XDG_DATA_HOME")), FHadTemp(qEnvironmentVariableIsSet("TMPDIR")),
      FHadData(qEnvironmentVariableIsSet("XDG_DATA_HOME"))
{
    qputenv("TMPDIR", QFile::encodeName(FTemp.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(FData.path()));
    QDir().mkpath(Themes());
}

TScopedDirs::~TScopedDirs()
{
    if (FHadTemp)
        qputenv("TMPDIR", FOldTemp);
    else
        qunsetenv("TMPDIR");
    if (FHadData)
        qputenv("XDG_DATA_HOME", FOldData);
    else
        qunsetenv("XDG_DATA_HOME");
}

} // namespace FileThemeTest
