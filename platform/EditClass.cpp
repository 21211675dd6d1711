// The "EDIT" class: a single-line edit on QLineEdit, a multi-line one (ES_MULTILINE) on QPlainTextEdit.
//
// The multi-line widget holds LF line ends; messages see CR LF, so a message position counts every line end
// as two characters. Lines in EM_* messages are the lines shown (a wrapped paragraph is several), as the
// vertical scroll bar counts them.
#include "platform/ClassHost.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <climits>

namespace {

using namespace ClassHost;

// Keys of messages sent by code reach the widgets through Key, past Qt's delivery (and this layer's input
// translation, which would turn them into messages again).
class EditLine : public KeepInput<QLineEdit>
{
public:
    void Key(QKeyEvent *E) { keyPressEvent(E); }
};

class EditMemo : public KeepInput<QPlainTextEdit>
{
public:
    void Key(QKeyEvent *E) { keyPressEvent(E); }
    int Limit = INT_MAX;
};

DWORD StyleOf(HWND W) { return DWORD(GetWindowLong(W, GWL_STYLE)); }

QString FromWindowsText(QString T)
{
    T.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    T.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return T;
}

QString ToWindowsText(QString T)
{
    T.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return T;
}

Qt::Alignment AlignmentOf(DWORD Style)
{
    switch (Style & (ES_CENTER | ES_RIGHT)) {
    case ES_CENTER: return Qt::AlignHCenter;
    case ES_RIGHT: return Qt::AlignRight;
    default: return Qt::AlignLeft;
    }
}

// ---- positions and lines of the multi-line edit ------------------------------------------------------------

QTextDocument *Doc(EditMemo *M) { return M->document(); }

int TextLength(EditMemo *M) { return Doc(M)->characterCount() - 1; }

// Widget position to message position (CR LF counted as two).
int ToMessagePos(EditMemo *M, int Pos)
{
    return Pos + Doc(M)->findBlock(Pos).blockNumber();
}

int FromMessagePos(EditMemo *M, int Pos)
{
    if (Pos <= 0)
        return 0;
    for (QTextBlock B = Doc(M)->begin(); B.isValid(); B = B.next()) {
        const int Start = B.position() + B.blockNumber(), Length = B.length() - 1;
        // A position between the CR and the LF lands at the end of the line.
        if (Pos <= Start + Length + 1 || !B.next().isValid())
            return B.position() + std::min(Pos - Start, Length);
    }
    return TextLength(M);
}

int LineCount(EditMemo *M)
{
    const QTextBlock Last = Doc(M)->lastBlock();
    return Last.firstLineNumber() + std::max(1, Last.lineCount());
}

// The shown line holding widget position Pos.
int LineOfPos(EditMemo *M, int Pos)
{
    const QTextBlock B = Doc(M)->findBlock(Pos);
    const QTextLayout *L = B.layout();
    const int Within = L && L->lineCount() > 0 ? std::max(0, L->lineForTextPosition(Pos - B.position()).lineNumber()) : 0;
    return B.firstLineNumber() + Within;
}

// Widget position and length of shown line Line; false when there is no such line.
bool LineSpan(EditMemo *M, int Line, int *Start, int *Length)
{
    if (Line < 0 || Line >= LineCount(M))
        return false;
    const QTextBlock B = Doc(M)->findBlockByLineNumber(Line);
    if (!B.isValid())
        return false;
    const QTextLayout *L = B.layout();
    const int Within = Line - B.firstLineNumber();
    if (L && Within < L->lineCount()) {
        const QTextLine TL = L->lineAt(Within);
        *Start = B.position() + TL.textStart();
        *Length = std::min(TL.textLength(), B.length() - 1 - TL.textStart());
    } else {
        *Start = B.position();
        *Length = B.length() - 1;
    }
    return true;
}

int CaretLine(EditMemo *M) { return LineOfPos(M, M->textCursor().selectionStart()); }

// ---- the messages --------------------------------------------------------------------------------------

void ApplyLimit(HWND W, EditMemo *M, int Pos, int Added)
{
    const int Length = ToMessagePos(M, TextLength(M));
    if (Length <= M->Limit || Added <= 0)
        return;
    const int Excess = std::min(Added, Length - M->Limit);
    QTextCursor C(Doc(M));
    C.setPosition(Pos + Added - Excess);
    C.setPosition(Pos + Added, QTextCursor::KeepAnchor);
    C.removeSelectedText();
    NotifyParent(W, EN_MAXTEXT);
}

QWidget *CreateEdit(HWND W, const CREATESTRUCT *CS)
{
    const DWORD Style = StyleOf(W);
    const QString Text = CS && CS->lpszName ? QString::fromUtf8(CS->lpszName) : QString();
    if (!(Style & ES_MULTILINE)) {
        auto *E = new EditLine;
        E->setFrame(false);
        E->setAlignment(AlignmentOf(Style) | Qt::AlignVCenter);
        E->setEchoMode(Style & ES_PASSWORD ? QLineEdit::Password : QLineEdit::Normal);
        E->setReadOnly(Style & ES_READONLY);
        E->setText(Text);
        QObject::connect(E, &QLineEdit::textChanged, E, [W] {
            if (IsWindow(W))
                NotifyParent(W, EN_CHANGE);
        });
        return E;
    }
    auto *M = new EditMemo;
    M->setFrameStyle(QFrame::NoFrame);
    M->setVerticalScrollBarPolicy(Style & WS_VSCROLL ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    M->setHorizontalScrollBarPolicy(Style & WS_HSCROLL ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    const bool Wrap = !(Style & (WS_HSCROLL | ES_AUTOHSCROLL));
    M->setLineWrapMode(Wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    M->setReadOnly(Style & ES_READONLY);
    QTextOption Option = Doc(M)->defaultTextOption();
    Option.setAlignment(AlignmentOf(Style));
    Doc(M)->setDefaultTextOption(Option);
    M->setPlainText(FromWindowsText(Text));
    QObject::connect(M, &QPlainTextEdit::textChanged, M, [W] {
        if (IsWindow(W))
            NotifyParent(W, EN_CHANGE);
    });
    QObject::connect(Doc(M), &QTextDocument::contentsChange, M, [W, M](int Pos, int, int Added) {
        if (IsWindow(W))
            ApplyLimit(W, M, Pos, Added);
    });
    QObject::connect(M->verticalScrollBar(), &QScrollBar::valueChanged, M, [W] {
        if (IsWindow(W))
            NotifyParent(W, EN_VSCROLL);
    });
    QObject::connect(M->horizontalScrollBar(), &QScrollBar::valueChanged, M, [W] {
        if (IsWindow(W))
            NotifyParent(W, EN_HSCROLL);
    });
    return M;
}

// Pages are what the bar reports as its page, so a page step agrees with the page GetScrollInfo answers.
void Scroll(QScrollBar *Bar, WORD Code, int Pos)
{
    switch (Code) {
    case SB_LINEUP: Bar->setValue(Bar->value() - Bar->singleStep()); break;
    case SB_LINEDOWN: Bar->setValue(Bar->value() + Bar->singleStep()); break;
    case SB_PAGEUP: Bar->setValue(Bar->value() - Bar->pageStep()); break;
    case SB_PAGEDOWN: Bar->setValue(Bar->value() + Bar->pageStep()); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: Bar->setValue(Pos); break;
    case SB_TOP: Bar->setValue(Bar->minimum()); break;
    case SB_BOTTOM: Bar->setValue(Bar->maximum()); break;
    default: break;
    }
}

LRESULT Input(HWND W, EditLine *Line, EditMemo *Memo, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    // Without ES_WANTRETURN, Enter belongs to the dialog; Ctrl+Enter still breaks the line.
    const bool Enter = (Msg == WM_KEYDOWN && WParam == VK_RETURN) || (Msg == WM_CHAR && (WParam == '\r' || WParam == '\n'));
    if (Memo && Enter && !(StyleOf(W) & ES_WANTRETURN) && GetKeyState(VK_CONTROL) >= 0)
        return DefWindowProc(W, Msg, WParam, LParam);
    // A single line has nothing to wheel through: the parent gets it.
    if (Line && Msg == WM_MOUSEWHEEL)
        return DefWindowProc(W, Msg, WParam, LParam);
    if (PassEventToHostedWidget(W))
        return 0;
    if (Memo && Msg == WM_MOUSEWHEEL) {
        const int Notches = short(HIWORD(WParam)) / WHEEL_DELTA;
        QScrollBar *Bar = Memo->verticalScrollBar();
        Bar->setValue(Bar->value() - 3 * Notches);
        return 0;
    }
    if (auto Key = KeyForMessage(Msg, WParam)) {
        if (Line)
            Line->Key(Key.get());
        else
            Memo->Key(Key.get());
        return 0;
    }
    return DefWindowProc(W, Msg, WParam, LParam);
}

LRESULT LineMessage(HWND W, EditLine *E, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    switch (Msg) {
    case WM_SETTEXT:
        E->setText(TextOf(LParam));
        E->setModified(false);
        return TRUE;
    case WM_GETTEXT:
        return ReturnText(LParam, E->text());
    case WM_GETTEXTLENGTH:
        return E->text().size();
    case EM_GETSEL: {
        const int Start = E->hasSelectedText() ? E->selectionStart() : E->cursorPosition();
        const int End = E->hasSelectedText() ? E->selectionEnd() : Start;
        if (auto *S = reinterpret_cast<DWORD *>(WParam))
            *S = DWORD(Start);
        if (auto *S = reinterpret_cast<DWORD *>(LParam))
            *S = DWORD(End);
        return LRESULT(MAKELONG(WORD(std::min(Start, 0xFFFF)), WORD(std::min(End, 0xFFFF))));
    }
    case EM_SETSEL: {
        const int Length = E->text().size();
        const int Start = int(WParam) < 0 ? -1 : std::min(int(WParam), Length);
        const int End = int(LParam) < 0 ? Length : std::min(int(LParam), Length);
        if (Start < 0)
            E->deselect();
        else
            E->setSelection(Start, End - Start);
        return 0;
    }
    case EM_REPLACESEL:
        E->insert(TextOf(LParam));
        return 0;
    case EM_GETMODIFY:
        return E->isModified();
    case EM_SETMODIFY:
        E->setModified(WParam != 0);
        return 0;
    case EM_CANUNDO:
        return E->isUndoAvailable();
    case EM_UNDO:
    case WM_UNDO:
        E->undo();
        return TRUE;
    case WM_CUT: E->cut(); return 0;
    case WM_COPY: E->copy(); return 0;
    case WM_PASTE: E->paste(); return 0;
    case WM_CLEAR:
        if (E->hasSelectedText())
            E->del();
        return 0;
    case EM_LIMITTEXT:
        E->setMaxLength(WParam == 0 || WParam > WPARAM(INT_MAX) ? INT_MAX : int(WParam));
        return 0;
    case EM_SETREADONLY:
        E->setReadOnly(WParam != 0);
        SetWindowLong(W, GWL_STYLE, WParam ? (StyleOf(W) | ES_READONLY) : (StyleOf(W) & ~ES_READONLY));
        return TRUE;
    case EM_GETLINECOUNT:
        return 1;
    case EM_LINEINDEX:
        return int(WParam) <= 0 ? 0 : -1;
    case EM_LINELENGTH:
        return E->text().size();
    case EM_LINEFROMCHAR:
        return 0;
    case EM_GETLINE:
        return WParam == 0 ? ReturnText(LParam, E->text()) : 0;
    case EM_GETFIRSTVISIBLELINE:
        return E->cursorPositionAt(QPoint(1, E->height() / 2));
    case EM_SCROLLCARET:
        return TRUE;
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    default:
        return DefWindowProc(W, Msg, WParam, LParam);
    }
}

LRESULT MemoMessage(HWND W, EditMemo *M, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    switch (Msg) {
    case WM_SETTEXT:
        M->setPlainText(FromWindowsText(TextOf(LParam)));
        Doc(M)->setModified(false);
        return TRUE;
    case WM_GETTEXT:
        return ReturnText(LParam, ToWindowsText(M->toPlainText()));
    case WM_GETTEXTLENGTH:
        return ToMessagePos(M, TextLength(M));
    case EM_GETSEL: {
        const QTextCursor C = M->textCursor();
        const int Start = ToMessagePos(M, C.selectionStart()), End = ToMessagePos(M, C.selectionEnd());
        if (auto *S = reinterpret_cast<DWORD *>(WParam))
            *S = DWORD(Start);
        if (auto *S = reinterpret_cast<DWORD *>(LParam))
            *S = DWORD(End);
        return LRESULT(MAKELONG(WORD(std::min(Start, 0xFFFF)), WORD(std::min(End, 0xFFFF))));
    }
    case EM_SETSEL: {
        QTextCursor C = M->textCursor();
        if (int(WParam) < 0) {
            C.clearSelection();
        } else {
            C.setPosition(FromMessagePos(M, int(WParam)));
            C.setPosition(int(LParam) < 0 ? TextLength(M) : FromMessagePos(M, int(LParam)), QTextCursor::KeepAnchor);
        }
        M->setTextCursor(C);
        return 0;
    }
    case EM_REPLACESEL:
        M->textCursor().insertText(FromWindowsText(TextOf(LParam)));
        return 0;
    case EM_GETMODIFY:
        return Doc(M)->isModified();
    case EM_SETMODIFY:
        Doc(M)->setModified(WParam != 0);
        return 0;
    case EM_CANUNDO:
        return Doc(M)->isUndoAvailable();
    case EM_UNDO:
    case WM_UNDO:
        M->undo();
        return TRUE;
    case WM_CUT: M->cut(); return 0;
    case WM_COPY: M->copy(); return 0;
    case WM_PASTE: M->paste(); return 0;
    case WM_CLEAR:
        M->textCursor().removeSelectedText();
        return 0;
    case EM_LIMITTEXT:
        M->Limit = WParam == 0 || WParam > WPARAM(INT_MAX) ? INT_MAX : int(WParam);
        return 0;
    case EM_SETREADONLY:
        M->setReadOnly(WParam != 0);
        SetWindowLong(W, GWL_STYLE, WParam ? (StyleOf(W) | ES_READONLY) : (StyleOf(W) & ~ES_READONLY));
        return TRUE;
    case EM_GETLINECOUNT:
        return LineCount(M);
    case EM_LINEINDEX: {
        int Start = 0, Length = 0;
        const int Line = int(WParam) < 0 ? CaretLine(M) : int(WParam);
        return LineSpan(M, Line, &Start, &Length) ? ToMessagePos(M, Start) : -1;
    }
    case EM_LINELENGTH: {
        int Start = 0, Length = 0;
        const int Line = int(WParam) < 0 ? CaretLine(M) : LineOfPos(M, FromMessagePos(M, int(WParam)));
        return LineSpan(M, Line, &Start, &Length) ? Length : 0;
    }
    case EM_LINEFROMCHAR:
        return int(WParam) < 0 ? CaretLine(M) : LineOfPos(M, FromMessagePos(M, int(WParam)));
    case EM_GETLINE: {
        int Start = 0, Length = 0;
        if (!LineSpan(M, int(WParam), &Start, &Length))
            return 0;
        QTextCursor C(Doc(M));
        C.setPosition(Start);
        C.setPosition(Start + Length, QTextCursor::KeepAnchor);
        return ReturnText(LParam, C.selectedText());
    }
    case EM_GETFIRSTVISIBLELINE:
        return M->verticalScrollBar()->value();
    case EM_SCROLLCARET:
        M->ensureCursorVisible();
        return TRUE;
    case EM_SCROLL: {
        QScrollBar *Bar = M->verticalScrollBar();
        const int Before = Bar->value();
        const WORD Code = LOWORD(WParam);
        if (Code > SB_PAGEDOWN)
            return FALSE;
        Scroll(Bar, Code, 0);
        return LRESULT(MAKELONG(WORD(short(Bar->value() - Before)), TRUE));
    }
    case EM_LINESCROLL: {
        QScrollBar *V = M->verticalScrollBar(), *H = M->horizontalScrollBar();
        V->setValue(V->value() + int(LParam));
        H->setValue(H->value() + int(WParam) * M->fontMetrics().averageCharWidth());
        return TRUE;
    }
    case WM_VSCROLL:
    case WM_HSCROLL:
        Scroll(Msg == WM_VSCROLL ? M->verticalScrollBar() : M->horizontalScrollBar(), LOWORD(WParam), HIWORD(WParam));
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS;
    default:
        return DefWindowProc(W, Msg, WParam, LParam);
    }
}

} // namespace

namespace ClassHost {

LRESULT EditProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_CREATE) {
        HostWidget(Wnd, CreateEdit(Wnd, reinterpret_cast<const CREATESTRUCT *>(LParam)));
        return 0;
    }
    QWidget *Hosted = HostedWidget(Wnd);
    auto *Line = dynamic_cast<EditLine *>(Hosted);
    auto *Memo = dynamic_cast<EditMemo *>(Hosted);
    if (!Line && !Memo)
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    if (IsInputMessage(Msg))
        return Input(Wnd, Line, Memo, Msg, WParam, LParam);
    LRESULT Result = 0;
    if (CommonMessage(Wnd, Hosted, Msg, WParam, LParam, &Result))
        return Result;
    switch (Msg) {
    case WM_SETFOCUS:
        if (!Hosted->hasFocus())
            Hosted->setFocus(FocusChangeReason());
        NotifyParent(Wnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        NotifyParent(Wnd, EN_KILLFOCUS);
        return 0;
    default:
        return Line ? LineMessage(Wnd, Line, Msg, WParam, LParam) : MemoMessage(Wnd, Memo, Msg, WParam, LParam);
    }
}

} // namespace ClassHost
