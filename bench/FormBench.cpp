// A full repaint of a shown form with 20 custom-painted controls in a 5 x 4 grid, against a plain Qt widget
// tree of the same geometry doing the same drawing (fill, one-pixel frame, centred caption), in the same run.
// Ours invalidates the form and every child, paints them at once, and has Qt show the result; Qt's reference
// repaints its top widget synchronously, children included. Both end with the pixels in the window's backing
// store.
#include "bench/Compare.h"
#include "framework/controls/Controls.h"
#include "framework/forms/Forms.h"

#include <QCoreApplication>
#include <QPainter>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

constexpr int Columns = 5, Rows = 4;
constexpr int CellWidth = 96, CellHeight = 40, Gap = 8;
constexpr int ClientWidth = Gap + Columns * (CellWidth + Gap);
constexpr int ClientHeight = Gap + Rows * (CellHeight + Gap);
constexpr TColor Face = TColor(0x00E0D0C0);
constexpr TColor Frame = clNavy;

QRect CellRect(int Index)
{
    return QRect(Gap + (Index % Columns) * (CellWidth + Gap), Gap + (Index / Columns) * (CellHeight + Gap),
                 CellWidth, CellHeight);
}

QString CellCaption(int Index) { return QStringLiteral("Item %1").arg(Index + 1); }

QColor ToQColor(TColor C)
{
    const COLORREF Rgb = ColorToRGB(C);
    return QColor(GetRValue(Rgb), GetGValue(Rgb), GetBValue(Rgb));
}

// What a skin control typically does in Paint: its face, a frame, its caption in the middle. It covers its
// whole client area, so it needs no erasing.
class TBenchCell : public TCustomControl
{
    KIV_OBJECT(TBenchCell, TCustomControl)
public:
    void Construct(TComponent *AOwner) override
    {
        inherited::Construct(AOwner);
        FControlStyle.Include(csOpaque);
    }

protected:
    void Paint() override
    {
        TRect R = ClientRect();
        Canvas()->Brush()->SetColor(Face);
        Canvas()->FillRect(R);
        Canvas()->Brush()->SetColor(Frame);
        Canvas()->FrameRect(R);
        const HDC DC = Canvas()->Handle();
        SetBkMode(DC, TRANSPARENT);
        DrawText(DC, Caption(), -1, &R, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
};

KIV_PUBLISHED(TBenchCell) {}

class QtCell : public QWidget
{
public:
    QtCell(QWidget *Parent, const QString &Caption, const QFont &Font)
        : QWidget(Parent), FCaption(Caption), FFont(Font)
    {
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter P(this);
        P.fillRect(rect(), ToQColor(Face));
        P.setPen(ToQColor(Frame));
        P.drawRect(rect().adjusted(0, 0, -1, -1));
        P.setFont(FFont);
        P.setPen(Qt::black);
        P.drawText(rect(), Qt::AlignCenter, FCaption);
    }

private:
    QString FCaption;
    QFont FFont;
};

void BM_FormRepaint(benchmark::State &State)
{
    Application->Initialize();
    TForm *Form = TForm::CreateNew(nullptr);
    Form->SetBounds(40, 40, ClientWidth, ClientHeight);
    Form->SetClientWidth(ClientWidth);
    Form->SetClientHeight(ClientHeight);
    QFont CaptionFont;
    for (int I = 0; I < Columns * Rows; ++I) {
        TBenchCell *Cell = TBenchCell::Create(Form);
        const QRect R = CellRect(I);
        Cell->SetBounds(R.x(), R.y(), R.width(), R.height());
        Cell->SetCaption(CellCaption(I));
        Cell->SetParent(Form);
        CaptionFont = Cell->Canvas()->Font()->Handle()->QtFont();
    }
    Form->Show();
    ProcessPendingMessages();
    QWidget *FormWidget = WindowWidget(Form->Handle());

    QWidget Top;
    Top.setGeometry(40, 40, ClientWidth, ClientHeight);
    for (int I = 0; I < Columns * Rows; ++I)
        (new QtCell(&Top, CellCaption(I), CaptionFont))->setGeometry(CellRect(I));
    Top.show();
    QCoreApplication::processEvents();

    Compare(
        State,
        [&] {
            RedrawWindow(Form->Handle(), nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            FormWidget->repaint();
        },
        [&] { Top.repaint(); });

    FreeAndNil(Form);
    ProcessPendingMessages();
}
BENCHMARK(BM_FormRepaint)->Unit(benchmark::kMicrosecond);

} // namespace
