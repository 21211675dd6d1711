// Scroll-bar queries on windows whose hosted widget scrolls (the multi-line edit), answered from the
// widget's own QScrollBars: the edit's vertical bar counts shown lines, its horizontal bar pixels.
#include "platform/Window.h"

#include <QAbstractScrollArea>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTextBlock>

#include <algorithm>
#include <cmath>

namespace {

QAbstractScrollArea *AreaOf(HWND Wnd)
{
    return qobject_cast<QAbstractScrollArea *>(HostedWidget(Wnd));
}

QScrollBar *BarOf(HWND Wnd, int Bar)
{
    QAbstractScrollArea *Area = AreaOf(Wnd);
    if (!Area)
        return nullptr;
    if (Bar == SB_VERT)
        return Area->verticalScrollBar();
    if (Bar == SB_HORZ)
        return Area->horizontalScrollBar();
    return nullptr;
}

// The extent of the content in the bar's units: a text that fits still reports its own lines (or width),
// not the page.
int ContentExtent(QAbstractScrollArea *Area, QScrollBar *Bar)
{
    const int Range = Bar->maximum() - Bar->minimum() + Bar->pageStep();
    if (auto *Text = qobject_cast<QPlainTextEdit *>(Area)) {
        if (Bar->orientation() == Qt::Vertical) {
            const QTextBlock Last = Text->document()->lastBlock();
            return std::max(Range, Last.firstLineNumber() + std::max(1, Last.lineCount()));
        }
        if (Bar->maximum() <= Bar->minimum())
            return int(std::ceil(Text->document()->documentLayout()->documentSize().width()));
    }
    return Range;
}

QStyleOptionSlider SliderOption(const QScrollBar *Bar)
{
    QStyleOptionSlider O;
    O.initFrom(Bar);
    O.subControls = QStyle::SC_All;
    O.activeSubControls = QStyle::SC_None;
    O.orientation = Bar->orientation();
    O.minimum = Bar->minimum();
    O.maximum = Bar->maximum();
    O.sliderPosition = Bar->sliderPosition();
    O.sliderValue = Bar->value();
    O.singleStep = Bar->singleStep();
    O.pageStep = Bar->pageStep();
    O.upsideDown = Bar->invertedAppearance();
    if (Bar->orientation() == Qt::Horizontal) {
        O.state |= QStyle::State_Horizontal;
        O.upsideDown = Bar->invertedAppearance() != (Bar->layoutDirection() == Qt::RightToLeft);
    }
    return O;
}

} // namespace

BOOL GetScrollInfo(HWND Wnd, int Bar, SCROLLINFO *Info)
{
    QScrollBar *B = BarOf(Wnd, Bar);
    if (!B || !Info || Info->cbSize != sizeof(SCROLLINFO))
        return FALSE;
    if (Info->fMask & SIF_RANGE) {
        Info->nMin = B->minimum();
        Info->nMax = B->minimum() + ContentExtent(AreaOf(Wnd), B) - 1;
    }
    if (Info->fMask & SIF_PAGE)
        Info->nPage = UINT(B->pageStep());
    if (Info->fMask & SIF_POS)
        Info->nPos = B->value();
    if (Info->fMask & SIF_TRACKPOS)
        Info->nTrackPos = B->sliderPosition();
    return TRUE;
}

// Only the position can be set: range and page follow the widget's content.
int SetScrollInfo(HWND Wnd, int Bar, const SCROLLINFO *Info, BOOL)
{
    QScrollBar *B = BarOf(Wnd, Bar);
    if (!B || !Info)
        return 0;
    if (Info->fMask & SIF_POS)
        B->setValue(Info->nPos);
    return B->value();
}

int GetScrollPos(HWND Wnd, int Bar)
{
    QScrollBar *B = BarOf(Wnd, Bar);
    return B ? B->value() : 0;
}

BOOL GetScrollBarInfo(HWND Wnd, LONG ObjectId, SCROLLBARINFO *Info)
{
    if (!Info || Info->cbSize != sizeof(SCROLLBARINFO))
        return FALSE;
    const int Which = ObjectId == OBJID_VSCROLL ? SB_VERT : ObjectId == OBJID_HSCROLL ? SB_HORZ : -1;
    QScrollBar *B = BarOf(Wnd, Which);
    if (!B)
        return FALSE;
    QAbstractScrollArea *Area = AreaOf(Wnd);

    // The hosted widget covers the client area, so its coordinates are client coordinates.
    const QPoint InArea = B->mapTo(Area, QPoint(0, 0));
    POINT TopLeft{InArea.x(), InArea.y()};
    ClientToScreen(Wnd, &TopLeft);
    Info->rcScrollBar = RECT{TopLeft.X, TopLeft.Y, TopLeft.X + B->width(), TopLeft.Y + B->height()};

    const QStyleOptionSlider O = SliderOption(B);
    const QRect Thumb = B->style()->subControlRect(QStyle::CC_ScrollBar, &O, QStyle::SC_ScrollBarSlider, B);
    const QRect Arrow = B->style()->subControlRect(QStyle::CC_ScrollBar, &O, QStyle::SC_ScrollBarAddLine, B);
    const bool Vertical = B->orientation() == Qt::Vertical;
    Info->dxyLineButton = Vertical ? Arrow.height() : Arrow.width();
    Info->xyThumbTop = Vertical ? Thumb.top() : Thumb.left();
    Info->xyThumbBottom = Vertical ? Thumb.bottom() + 1 : Thumb.right() + 1;

    std::fill(std::begin(Info->rgstate), std::end(Info->rgstate), 0);
    if (!B->isVisibleTo(Area))
        Info->rgstate[0] |= STATE_SYSTEM_INVISIBLE;
    if (!B->isEnabled() || B->maximum() <= B->minimum())
        Info->rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
    return TRUE;
}

BOOL GetComboBoxInfo(HWND, COMBOBOXINFO *)
{
    return FALSE;
}
