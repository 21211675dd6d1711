// A popup menu of 20 items (4 with images, 2 separators, 8 shortcuts) built, shown and painted once under
// DeepBlue, against a QMenu with the same 20 actions and the same font. Each side ends at the first frame
// of its popup on the screen: the popup window's first paint has returned, then the menu is closed and
// freed.
#include "bench/Compare.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/ImgList.h"
#include "platform/Menu.h"
#include "platform/Window.h"
#include "skin/menus/Kivpopupmenu.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

namespace {

constexpr int ItemCount = 20;
constexpr TColor Fills[] = {TColor(0x00F0F0F0), TColor(0x0040C0F0), TColor(0x00C06030), TColor(0x004040C0)};

bool IsSeparator(int I) { return I == 6 || I == 13; }
int ImageOf(int I) { return I < 4 ? I : -1; }
QString ShortCutOf(int I)
{
    static const char *Keys[] = {"Ctrl+N", "Ctrl+O", "Ctrl+S", "Ctrl+P", "Ctrl+Z", "Ctrl+X", "Ctrl+C", "F5"};
    return I % 2 == 0 && I / 2 < 8 ? QString::fromLatin1(Keys[I / 2]) : QString();
}
QString CaptionOf(int I) { return QStringLiteral("Menu item &%1").arg(I + 1); }

QImage Picture(TColor Fill)
{
    QImage Image(16, 16, QImage::Format_RGB32);
    Image.fill(Qt::white);
    QPainter P(&Image);
    const COLORREF Rgb = ColorToRGB(Fill);
    P.fillRect(2, 2, 12, 12, QColor(GetRValue(Rgb), GetGValue(Rgb), GetBValue(Rgb)));
    P.setPen(QColor(0x30, 0x30, 0x30));
    P.drawRect(2, 2, 11, 11);
    return Image;
}

// Calls Done once the first paint of a popup window has returned: queued, so the paint is complete.
class TFirstPopupFrame : public QObject
{
public:
    explicit TFirstPopupFrame(std::function<void()> ADone) : FDone(std::move(ADone)) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *Watched, QEvent *Event) override
    {
        auto *W = qobject_cast<QWidget *>(Watched);
        if (!FSeen && Event->type() == QEvent::Paint && W && W->isWindow() && W->windowType() == Qt::Popup) {
            FSeen = true;
            QMetaObject::invokeMethod(this, FDone, Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> FDone;
    bool FSeen = false;
};

void ShowOurs(TCustomImageList *Images)
{
    TAutoFree<TkivPopupMenu> Menu(TkivPopupMenu::Create(nullptr));
    Menu->SetUIStyle(DeepBlue);
    Menu->SetImages(Images);
    for (int I = 0; I < ItemCount; ++I) {
        TMenuItem *Item = TMenuItem::Create(Menu.get());
        Item->SetCaption(IsSeparator(I) ? QStringLiteral("-") : CaptionOf(I));
        Item->SetImageIndex(ImageOf(I));
        Item->SetShortCut(TextToShortCut(ShortCutOf(I)));
        Menu->Items()->Add(Item);
    }
    Menu->MenuAdded();
    TFirstPopupFrame Frame([] { EndMenu(); });
    Menu->Popup(100, 100);
}

void ShowQt(const std::vector<QIcon> &Icons, const QFont &Font)
{
    auto Menu = std::make_unique<QMenu>();
    Menu->setFont(Font);
    for (int I = 0; I < ItemCount; ++I) {
        if (IsSeparator(I)) {
            Menu->addSeparator();
            continue;
        }
        QAction *Action = Menu->addAction(CaptionOf(I));
        if (ImageOf(I) >= 0)
            Action->setIcon(Icons[ImageOf(I)]);
        Action->setShortcut(QKeySequence(ShortCutOf(I)));
    }
    QEventLoop Loop;
    TFirstPopupFrame Frame([&] { Loop.quit(); });
    Menu->popup(QPoint(100, 100));
    Loop.exec();
    Menu->hide();
}

void BM_PopupMenuShow(benchmark::State &State)
{
    TAutoFree<TCustomImageList> Images(TImageList::Create(nullptr));
    Images->SetSize(16, 16);
    std::vector<QIcon> Icons;
    for (TColor Fill : Fills) {
        TAutoFree<TBitmap> B(TBitmap::Create());
        B->SetImage(Picture(Fill));
        Images->AddMasked(B.get(), clWhite);
        QImage WithAlpha = Picture(Fill).convertToFormat(QImage::Format_ARGB32);
        for (int Y = 0; Y < 16; ++Y)
            for (int X = 0; X < 16; ++X)
                if (WithAlpha.pixel(X, Y) == qRgb(255, 255, 255))
                    WithAlpha.setPixel(X, Y, qRgba(0, 0, 0, 0));
        Icons.emplace_back(QPixmap::fromImage(WithAlpha));
    }
    NONCLIENTMETRICS Metrics;
    SystemParametersInfo(SPI_GETNONCLIENTMETRICS, Metrics.cbSize, &Metrics, 0);
    const QFont Font = FontFromLogFont(Metrics.lfMenuFont);
    Compare(State, [&] { ShowOurs(Images.get()); }, [&] { ShowQt(Icons, Font); });
}

BENCHMARK(BM_PopupMenuShow)->Unit(benchmark::kMicrosecond);

} // namespace
