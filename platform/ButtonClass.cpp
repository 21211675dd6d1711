// The "BUTTON" class: push buttons, check boxes, radio buttons and group boxes on Qt's buttons.
#include "platform/ClassHost.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

using namespace ClassHost;

DWORD StyleOf(HWND W) { return DWORD(GetWindowLong(W, GWL_STYLE)); }
DWORD TypeOf(HWND W) { return StyleOf(W) & BS_TYPEMASK; }

enum class TKind { Push, Check, Radio, Group };

TKind KindOf(DWORD Type)
{
    switch (Type) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE: return TKind::Check;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return TKind::Radio;
    case BS_GROUPBOX: return TKind::Group;
    default: return TKind::Push;
    }
}

void NextCheckState(HWND W, QAbstractButton *B);

// Check and radio buttons change their own state only for the automatic kinds; the others leave it to
// their owner, who answers BN_CLICKED with BM_SETCHECK.
template <class TButton> class ClassButton : public KeepInput<TButton>
{
public:
    explicit ClassButton(HWND W) : FWnd(W) {}

protected:
    void nextCheckState() override { NextCheckState(FWnd, this); }

private:
    HWND FWnd;
};

using ClassPushButton = ClassButton<QPushButton>;
using ClassCheckBox = ClassButton<QCheckBox>;
using ClassRadioButton = ClassButton<QRadioButton>;

// The group of a radio button: from the nearest window with WS_GROUP at or before it, in the order
// GW_HWNDNEXT walks the siblings, up to the next window with WS_GROUP.
void UncheckGroup(HWND W)
{
    HWND First = W;
    while (!(StyleOf(First) & WS_GROUP)) {
        HWND Prev = GetWindow(First, GW_HWNDPREV);
        if (!Prev)
            break;
        First = Prev;
    }
    for (HWND S = First; S; S = GetWindow(S, GW_HWNDNEXT)) {
        if (S != First && (StyleOf(S) & WS_GROUP))
            break;
        if (S != W && TypeOf(S) == BS_AUTORADIOBUTTON && dynamic_cast<ClassRadioButton *>(HostedWidget(S)))
            SendMessage(S, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void NextCheckState(HWND W, QAbstractButton *B)
{
    switch (TypeOf(W)) {
    case BS_AUTOCHECKBOX:
        B->setChecked(!B->isChecked());
        break;
    case BS_AUTO3STATE: {
        // unchecked, checked, indeterminate, unchecked ...
        auto *C = static_cast<QCheckBox *>(B);
        const Qt::CheckState S = C->checkState();
        C->setCheckState(S == Qt::Unchecked ? Qt::Checked : S == Qt::Checked ? Qt::PartiallyChecked : Qt::Unchecked);
        break;
    }
    case BS_AUTORADIOBUTTON:
        B->setChecked(true);
        UncheckGroup(W);
        break;
    default:
        break;
    }
}

void ApplyStyle(HWND W, QWidget *Widget)
{
    const DWORD Style = StyleOf(W), Type = Style & BS_TYPEMASK;
    if (auto *P = qobject_cast<QPushButton *>(Widget)) {
        P->setAutoDefault(false);
        P->setDefault(Type == BS_DEFPUSHBUTTON);
    }
    if (auto *C = qobject_cast<QCheckBox *>(Widget))
        C->setTristate(Type == BS_3STATE || Type == BS_AUTO3STATE);
    if (KindOf(Type) == TKind::Check || KindOf(Type) == TKind::Radio)
        Widget->setLayoutDirection(Style & BS_LEFTTEXT ? Qt::RightToLeft : Qt::LeftToRight);
}

QWidget *CreateButton(HWND W, const QString &Text)
{
    QWidget *Widget = nullptr;
    switch (KindOf(TypeOf(W))) {
    case TKind::Check:
        Widget = new ClassCheckBox(W);
        break;
    case TKind::Radio: {
        // Radio buttons of a group live in separate windows: the group is this class's, not Qt's.
        auto *R = new ClassRadioButton(W);
        R->setAutoExclusive(false);
        Widget = R;
        break;
    }
    case TKind::Group: {
        auto *G = new KeepInput<QGroupBox>(Text);
        // Only a frame: the controls on it are windows of their own, and clicks go to them.
        G->setAttribute(Qt::WA_TransparentForMouseEvents);
        return G;
    }
    case TKind::Push:
        Widget = new ClassPushButton(W);
        break;
    }
    auto *B = static_cast<QAbstractButton *>(Widget);
    B->setText(Text);
    ApplyStyle(W, B);
    QObject::connect(B, &QAbstractButton::clicked, B, [W] {
        if (IsWindow(W))
            NotifyParent(W, BN_CLICKED);
    });
    return B;
}

WPARAM CheckOf(QAbstractButton *B)
{
    if (auto *C = qobject_cast<QCheckBox *>(B))
        return C->checkState() == Qt::PartiallyChecked ? BST_INDETERMINATE : C->isChecked() ? BST_CHECKED : BST_UNCHECKED;
    return B->isCheckable() && B->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void SetCheck(QAbstractButton *B, WPARAM Check)
{
    if (auto *C = qobject_cast<QCheckBox *>(B)) {
        if (Check == BST_INDETERMINATE && C->isTristate())
            C->setCheckState(Qt::PartiallyChecked);
        else if (Check != BST_INDETERMINATE)
            C->setCheckState(Check == BST_CHECKED ? Qt::Checked : Qt::Unchecked);
    } else if (qobject_cast<QRadioButton *>(B) && Check != BST_INDETERMINATE) {
        B->setChecked(Check == BST_CHECKED);
    }
}

void SetStyle(HWND W, QWidget *Widget, WORD NewStyle)
{
    const TKind Before = KindOf(TypeOf(W));
    SetWindowLong(W, GWL_STYLE, LONG_PTR((StyleOf(W) & 0xFFFF0000u) | NewStyle));
    if (KindOf(TypeOf(W)) == Before) {
        ApplyStyle(W, Widget);
        return;
    }
    // Another kind of button: another widget. The old one stays hidden until the window goes, as the window
    // layer knows it as this window's.
    const QString Text = GetWindowText(W);
    HostWidget(W, CreateButton(W, Text));
    Widget->hide();
}

LRESULT GroupMessage(HWND W, QGroupBox *G, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    switch (Msg) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_SETTEXT:
        G->setTitle(TextOf(LParam));
        return TRUE;
    case WM_GETTEXT:
        return ReturnText(LParam, G->title());
    case WM_GETTEXTLENGTH:
        return G->title().size();
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case BM_SETSTYLE:
        SetStyle(W, G, LOWORD(WParam));
        return 0;
    default:
        return DefWindowProc(W, Msg, WParam, LParam);
    }
}

LRESULT ButtonMessage(HWND W, QAbstractButton *B, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    switch (Msg) {
    case WM_SETTEXT:
        B->setText(TextOf(LParam));
        return TRUE;
    case WM_GETTEXT:
        return ReturnText(LParam, B->text());
    case WM_GETTEXTLENGTH:
        return B->text().size();
    case WM_SETFOCUS:
        if (!B->hasFocus())
            B->setFocus(FocusChangeReason());
        return 0;
    case BM_GETCHECK:
        return LRESULT(CheckOf(B));
    case BM_SETCHECK:
        SetCheck(B, WParam);
        return 0;
    case BM_GETSTATE:
        return LRESULT(CheckOf(B) | (B->isDown() ? BST_PUSHED : 0) | (B->hasFocus() ? BST_FOCUS : 0));
    case BM_SETSTATE:
        B->setDown(WParam != 0);
        return 0;
    case BM_SETSTYLE:
        SetStyle(W, B, LOWORD(WParam));
        return 0;
    case BM_CLICK:
        B->click();
        return 0;
    case WM_GETDLGCODE:
        switch (KindOf(TypeOf(W))) {
        case TKind::Radio: return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case TKind::Check: return DLGC_BUTTON;
        default: return DLGC_BUTTON | (TypeOf(W) == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        }
    default:
        return DefWindowProc(W, Msg, WParam, LParam);
    }
}

} // namespace

namespace ClassHost {

LRESULT ButtonProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_CREATE) {
        const auto *CS = reinterpret_cast<const CREATESTRUCT *>(LParam);
        HostWidget(Wnd, CreateButton(Wnd, CS && CS->lpszName ? QString::fromUtf8(CS->lpszName) : QString()));
        return 0;
    }
    QWidget *Hosted = HostedWidget(Wnd);
    if (!Hosted)
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    // Buttons have nothing to wheel through: the parent gets it.
    if (IsInputMessage(Msg) && Msg != WM_MOUSEWHEEL) {
        if (Msg == WM_LBUTTONDBLCLK && KindOf(TypeOf(Wnd)) == TKind::Radio)
            NotifyParent(Wnd, BN_DOUBLECLICKED);
        return PassEventToHostedWidget(Wnd) ? 0 : DefWindowProc(Wnd, Msg, WParam, LParam);
    }
    LRESULT Result = 0;
    if (CommonMessage(Wnd, Hosted, Msg, WParam, LParam, &Result))
        return Result;
    if (auto *G = qobject_cast<QGroupBox *>(Hosted))
        return GroupMessage(Wnd, G, Msg, WParam, LParam);
    if (auto *B = qobject_cast<QAbstractButton *>(Hosted))
        return ButtonMessage(Wnd, B, Msg, WParam, LParam);
    return DefWindowProc(Wnd, Msg, WParam, LParam);
}

} // namespace ClassHost
