// Window objects: the handle table, classes, procedures, creation and destruction, messages and the queue,
// geometry, hierarchy, the show state machine, focus, activation, capture and key state.
#include "platform/WindowObject.h"

#include "platform/MenuObject.h"
#include "platform/StdClasses.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHash>
#include <QPointer>
#include <QScreen>
#include <QSet>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <array>
#include <deque>
#include <map>

using namespace WindowCore;

namespace {

constexpr QEvent::Type PostedMessageEvent = QEvent::Type(QEvent::User + 0x4D1);
constexpr QEvent::Type PendingPaintEvent = QEvent::Type(QEvent::User + 0x4D2);

class TPostedMessage : public QEvent
{
public:
    explicit TPostedMessage(const MSG &M) : QEvent(PostedMessageEvent), Msg(M) {}
    MSG Msg;
};

// Receives posted messages and the idle paint request, in the order Qt delivers its events.
class TMessageDispatcher : public QObject
{
protected:
    bool event(QEvent *E) override;
};

struct TGlobals
{
    QSet<HWND> Live;
    std::vector<HWND> TopLevels;          // top of the z-order first
    std::vector<HWND> DeadWindows;
    std::deque<HWND> Quarantine;
    std::vector<WNDPROC> DeadProcs;
    int Depth = 0;
    QHash<QString, WNDCLASS> Classes;     // by lower-case name
    bool StandardClassesRegistered = false;
    std::map<WNDPROCFN, WNDPROC> PlainProcs;
    std::function<bool(MSG &)> Filter;
    std::function<bool(MSG &)> MenuFilter;
    int LastPressed = 0;
    std::function<void()> ExceptionHandler;
    std::vector<MSG> Delivering;
    int PostedPending = 0;
    HWND Focus = nullptr;
    HWND Active = nullptr;
    HWND Capture = nullptr;
    HWND DesktopWnd = nullptr;
    QPoint Cursor;
    std::array<bool, 256> KeyDown{};
    int DefaultPlacement = 0;
    QPointer<TMessageDispatcher> Dispatcher;

    // At exit, after the application object: only memory of this layer's own is left to give back.
    ~TGlobals()
    {
        for (HWND W : Quarantine)
            delete W;
        for (HWND W : DeadWindows)
            delete W;
        for (WNDPROC P : DeadProcs)
            delete P;
        for (auto &[Fn, P] : PlainProcs)
            delete P;
        delete DesktopWnd;
    }
};

TGlobals &G()
{
    static TGlobals Globals;
    return Globals;
}

TMessageDispatcher *Dispatcher()
{
    if (!G().Dispatcher) {
        G().Dispatcher = new TMessageDispatcher;
        if (QCoreApplication::instance())
            G().Dispatcher->setParent(QCoreApplication::instance());
    }
    return G().Dispatcher;
}

// A destroyed window's memory is not handed out again at once: a stale handle kept by someone must not come
// back to life as a new window at the same address. The shells wait in a bounded quarantine.
void Quarantine(HWND W)
{
    constexpr std::size_t Kept = 4096;
    auto &Q = G().Quarantine;
    W->Surface = QImage();
    W->Children.clear();
    W->UpdateRgn = QRegion();
    W->Text.clear();
    W->Class = WNDCLASS();
    Q.push_back(W);
    if (Q.size() > Kept) {
        delete Q.front();
        Q.pop_front();
    }
}

void FreeDead()
{
    std::vector<HWND> Windows;
    Windows.swap(G().DeadWindows);
    for (HWND W : Windows)
        Quarantine(W);
    std::vector<WNDPROC> Procs;
    Procs.swap(G().DeadProcs);
    for (WNDPROC P : Procs)
        delete P;
}

QString ClassKey(const QString &Name) { return Name.toLower(); }

void EnsureStandardClasses()
{
    if (G().StandardClassesRegistered)
        return;
    G().StandardClassesRegistered = true;
    RegisterStandardClasses();
}

RECT ToRECT(const QRect &R) { return RECT{R.x(), R.y(), R.x() + R.width(), R.y() + R.height()}; }

QRect FromRECT(const RECT &R) { return QRect(R.Left, R.Top, std::max(0, R.Width()), std::max(0, R.Height())); }

bool IsLive(HWND W) { return W && G().Live.contains(W); }

// A caption takes both bits; a border or a dialog frame alone is a band of ours (a bordered popup has no title).
bool HasCaption(DWORD Style) { return (Style & WS_CAPTION) == WS_CAPTION; }

WPARAM SizeKind(HWND W)
{
    switch (W->State) {
    case TShowState::Minimized: return SIZE_MINIMIZED;
    case TShowState::Maximized: return SIZE_MAXIMIZED;
    default: return SIZE_RESTORED;
    }
}

// The client origin in the parent's client coordinates (screen for top-level windows), as WM_MOVE gives it.
QPoint ClientPosInParent(HWND W) { return W->WindowRect.topLeft() + W->ClientRect.topLeft(); }

void SendSize(HWND W)
{
    SendMessage(W, WM_SIZE, SizeKind(W),
                W->State == TShowState::Minimized
                    ? 0
                    : MAKELPARAM(WORD(W->ClientRect.width()), WORD(W->ClientRect.height())));
}

void SendMove(HWND W)
{
    QPoint P = ClientPosInParent(W);
    SendMessage(W, WM_MOVE, 0, PointToLParam(P.x(), P.y()));
}

// Asks the window for its client rectangle (WM_NCCALCSIZE with a WINDOWPOS of the window).
void RecalcClient(HWND W, WINDOWPOS *Pos)
{
    NCCALCSIZE_PARAMS P;
    P.rgrc[0] = ToRECT(W->WindowRect);
    P.rgrc[1] = P.rgrc[0];
    P.rgrc[2] = ToRECT(W->ClientRect.translated(W->WindowRect.topLeft()));
    WINDOWPOS Own{W, nullptr, W->WindowRect.x(), W->WindowRect.y(), W->WindowRect.width(),
                  W->WindowRect.height(), 0};
    P.lppos = Pos ? Pos : &Own;
    SendMessage(W, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&P));
    if (!IsLive(W))
        return;
    W->ClientRect = FromRECT(P.rgrc[0]).translated(-W->WindowRect.topLeft());
}

Qt::WindowFlags TopLevelFlags(HWND W)
{
    Qt::WindowFlags F = (W->ExStyle & WS_EX_TOOLWINDOW) ? Qt::Tool : Qt::Window;
    // An open menu grabs the keyboard and pointer as the desktop's popups do.
    if (W->Class.lpszClassName.compare(QStringLiteral("#32768"), Qt::CaseInsensitive) == 0)
        F = Qt::Popup;
    if (!W->Decorated) {
        F |= Qt::FramelessWindowHint;
    } else {
        F |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (W->Style & WS_SYSMENU) {
            F |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
            if (W->Style & WS_MINIMIZEBOX)
                F |= Qt::WindowMinimizeButtonHint;
            if (W->Style & WS_MAXIMIZEBOX)
                F |= Qt::WindowMaximizeButtonHint;
        }
    }
    if (W->ExStyle & WS_EX_TOPMOST)
        F |= Qt::WindowStaysOnTopHint;
    return F;
}

struct TApplyingQt
{
    explicit TApplyingQt(HWND AW) : W(AW) { ++W->ApplyingQt; }
    ~TApplyingQt() { --W->ApplyingQt; }
    HWND W;
};

// Re-applies the Qt window flags after a style change; setWindowFlags hides the widget, so geometry and
// visibility are put back.
void UpdateTopLevelFlags(HWND W)
{
    if (!W->Widget || !IsTopLevel(W))
        return;
    Qt::WindowFlags F = TopLevelFlags(W);
    if (W->Widget->windowFlags() == F)
        return;
    TApplyingQt Applying(W);
    bool WasVisible = W->Widget->isVisible();
    W->Widget->setWindowFlags(F);
    ApplyWidgetGeometry(W);
    if (WasVisible)
        W->Widget->show();
}

QWidget *OwnerWidget(HWND W)
{
    return W->Owner && IsLive(W->Owner) ? W->Owner->Widget : nullptr;
}

void RemoveFromSiblings(HWND W)
{
    std::vector<HWND> &List = W->Parent ? W->Parent->Children : G().TopLevels;
    List.erase(std::remove(List.begin(), List.end(), W), List.end());
}

std::vector<HWND> &Siblings(HWND W) { return W->Parent ? W->Parent->Children : G().TopLevels; }

void PlaceInZOrder(HWND W, HWND After)
{
    std::vector<HWND> &List = Siblings(W);
    List.erase(std::remove(List.begin(), List.end(), W), List.end());
    if (After == HWND_BOTTOM) {
        List.push_back(W);
        if (W->Widget)
            W->Widget->lower();
        return;
    }
    auto It = std::find(List.begin(), List.end(), After);
    if (After == HWND_TOP || After == HWND_TOPMOST || After == HWND_NOTOPMOST || It == List.end()) {
        List.insert(List.begin(), W);
        if (W->Widget)
            W->Widget->raise();
        return;
    }
    List.insert(It + 1, W);
    if (W->Widget && After->Widget)
        W->Widget->stackUnder(After->Widget);
}

void ShowNow(HWND W, bool Activate);
void HideNow(HWND W);

bool ApplyWindowPos(HWND W, WINDOWPOS &Pos, bool FromQt)
{
    QRect New(Pos.x, Pos.y, std::max(0, Pos.cx), std::max(0, Pos.cy));
    QRect Old = W->WindowRect;
    QRect OldClient = W->ClientRect;
    bool Moved = New.topLeft() != Old.topLeft();
    bool Sized = New.size() != Old.size();
    bool FrameChanged = Pos.flags & SWP_FRAMECHANGED;

    if (FrameChanged && IsTopLevel(W)) {
        bool Decorated = HasCaption(W->Style);
        if (Decorated != W->Decorated) {
            W->Decorated = Decorated;
            UpdateTopLevelFlags(W);
        }
    }
    W->WindowRect = New;
    if (Sized || FrameChanged) {
        RecalcClient(W, &Pos);
        if (!IsLive(W))
            return false;
    }
    if (Sized)
        ResizeSurface(W);
    if (!FromQt || W->ClientRect != OldClient)
        ApplyWidgetGeometry(W);
    if (W->ClientRect.topLeft() != OldClient.topLeft())
        for (HWND C : W->Children)
            ApplyWidgetGeometry(C);

    if (!(Pos.flags & SWP_NOZORDER)) {
        if (Pos.hwndInsertAfter == HWND_TOPMOST || Pos.hwndInsertAfter == HWND_NOTOPMOST) {
            DWORD Ex = Pos.hwndInsertAfter == HWND_TOPMOST ? (W->ExStyle | WS_EX_TOPMOST) : (W->ExStyle & ~WS_EX_TOPMOST);
            if (Ex != W->ExStyle) {
                W->ExStyle = Ex;
                UpdateTopLevelFlags(W);
            }
        }
        PlaceInZOrder(W, Pos.hwndInsertAfter);
    }
    if (Sized || FrameChanged || W->ClientRect != OldClient) {
        W->FrameDirty = true;
        if (!(Pos.flags & SWP_NOREDRAW)) {
            SchedulePaint(W);
            InvalidateRect(W, nullptr, TRUE);
        }
    }
    if (Pos.flags & SWP_SHOWWINDOW)
        ShowNow(W, !(Pos.flags & SWP_NOACTIVATE));
    else if (Pos.flags & SWP_HIDEWINDOW)
        HideNow(W);

    if (!Moved && W->ClientRect.topLeft() == OldClient.topLeft())
        Pos.flags |= SWP_NOMOVE;
    if (!Sized)
        Pos.flags |= SWP_NOSIZE;
    SendMessage(W, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&Pos));
    if (!IsLive(W))
        return false;
    if (Moved || W->ClientRect.topLeft() != OldClient.topLeft())
        SendMove(W);
    if (IsLive(W) && (Sized || W->ClientRect.size() != OldClient.size()))
        SendSize(W);
    return IsLive(W);
}

bool Activates(int Cmd)
{
    return Cmd != SW_SHOWNA && Cmd != SW_SHOWNOACTIVATE && Cmd != SW_SHOWMINNOACTIVE && Cmd != SW_HIDE;
}

void ShowNow(HWND W, bool Activate)
{
    if (!(W->Style & WS_VISIBLE)) {
        SendMessage(W, WM_SHOWWINDOW, TRUE, 0);
        if (!IsLive(W))
            return;
        W->Style |= WS_VISIBLE;
        W->FrameDirty = true;
        SchedulePaint(W);
        InvalidateRect(W, nullptr, TRUE);
        if (W->Widget) {
            TApplyingQt Applying(W);
            W->Widget->setVisible(true);
        }
    }
    if (Activate && IsTopLevel(W))
        SetActiveWindow(W);
}

void HideNow(HWND W)
{
    if (!(W->Style & WS_VISIBLE))
        return;
    SendMessage(W, WM_SHOWWINDOW, FALSE, 0);
    if (!IsLive(W))
        return;
    W->Style &= ~WS_VISIBLE;
    if (W->Widget) {
        TApplyingQt Applying(W);
        W->Widget->setVisible(false);
    }
    if (W == G().Capture)
        ReleaseCapture();
    if (IsTopLevel(W) && W == G().Active)
        SetActiveWindow(W->Owner && IsWindowVisible(W->Owner) ? W->Owner : nullptr);
}

int FrameWidthForMaximize(HWND W) { return StyleBand(W->Style, W->ExStyle); }

void Maximize(HWND W, bool Activate)
{
    if (W->State == TShowState::Normal)
        W->NormalRect = W->WindowRect;
    QRect Work = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                   : QRect(0, 0, 800, 600);
    if (W->Widget && W->Widget->screen())
        Work = W->Widget->screen()->availableGeometry();
    int F = FrameWidthForMaximize(W);
    MINMAXINFO Info;
    Info.ptMaxPosition = POINT{Work.x() - F, Work.y() - F};
    Info.ptMaxSize = POINT{Work.width() + 2 * F, Work.height() + 2 * F};
    Info.ptMinTrackSize = POINT{0, 0};
    Info.ptMaxTrackSize = Info.ptMaxSize;
    SendMessage(W, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&Info));
    if (!IsLive(W))
        return;
    // The maximised size stays within the tracking limits the window gave.
    const auto Within = [](auto Value, auto Min, auto Max) { return std::clamp(Value, Min, std::max(Min, Max)); };
    Info.ptMaxSize.X = Within(Info.ptMaxSize.X, Info.ptMinTrackSize.X, Info.ptMaxTrackSize.X);
    Info.ptMaxSize.Y = Within(Info.ptMaxSize.Y, Info.ptMinTrackSize.Y, Info.ptMaxTrackSize.Y);
    W->State = TShowState::Maximized;
    W->Style = (W->Style | WS_MAXIMIZE) & ~WS_MINIMIZE;
    if (!IsTopLevel(W) || !W->Decorated) {
        if (W->Widget && W->Widget->isMinimized()) {
            TApplyingQt Applying(W);
            W->Widget->showNormal();
        }
        QRect Target(Info.ptMaxPosition.X, Info.ptMaxPosition.Y, Info.ptMaxSize.X, Info.ptMaxSize.Y);
        WINDOWPOS Pos{W, nullptr, Target.x(), Target.y(), Target.width(), Target.height(), SWP_NOZORDER};
        bool Changed = Target != W->WindowRect;
        if (Changed && !ApplyWindowPos(W, Pos, false))
            return;
        if (!Changed)
            SendSize(W);
    } else if (W->Widget) {
        {
            TApplyingQt Applying(W);
            W->Widget->showMaximized();
        }
        QRect Now = W->Widget->geometry();
        if (Now != W->WindowRect)
            SetWindowRectFromQt(W, Now);
        else
            SendSize(W);
    }
    if (IsLive(W))
        ShowNow(W, Activate);
}

void Minimize(HWND W, bool Activate)
{
    if (W->State == TShowState::Minimized)
        return;
    W->RestoreToMaximized = W->State == TShowState::Maximized;
    if (W->State == TShowState::Normal)
        W->NormalRect = W->WindowRect;
    W->State = TShowState::Minimized;
    W->Style = (W->Style | WS_MINIMIZE) & ~WS_MAXIMIZE;
    if (W->Widget && IsTopLevel(W)) {
        TApplyingQt Applying(W);
        W->Style |= WS_VISIBLE;
        W->Widget->showMinimized();
    } else {
        ShowNow(W, false);
    }
    SendSize(W);
    if (IsLive(W) && Activate && IsTopLevel(W) && G().Active == W)
        SetActiveWindow(nullptr);
}

void Restore(HWND W, bool Activate)
{
    if (W->State == TShowState::Minimized && W->RestoreToMaximized) {
        W->State = TShowState::Normal;
        Maximize(W, Activate);
        return;
    }
    if (W->State == TShowState::Normal) {
        ShowNow(W, Activate);
        return;
    }
    W->State = TShowState::Normal;
    W->Style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    if (W->Widget && IsTopLevel(W) && (W->Widget->isMinimized() || W->Widget->isMaximized())) {
        TApplyingQt Applying(W);
        W->Widget->showNormal();
    }
    QRect Target = W->NormalRect.isNull() ? W->WindowRect : W->NormalRect;
    WINDOWPOS Pos{W, nullptr, Target.x(), Target.y(), Target.width(), Target.height(), SWP_NOZORDER};
    if (Target != W->WindowRect) {
        if (!ApplyWindowPos(W, Pos, false))
            return;
    } else {
        SendSize(W);
    }
    if (IsLive(W))
        ShowNow(W, Activate);
}

void SendDestroyMessages(HWND W)
{
    std::vector<HWND> Children = W->Children;
    for (HWND C : Children)
        if (IsLive(C))
            SendDestroyMessages(C);
    if (!IsLive(W))
        return;
    SendMessage(W, WM_DESTROY, 0, 0);
    if (IsLive(W))
        SendMessage(W, WM_NCDESTROY, 0, 0);
}

void Bury(HWND W)
{
    for (HWND C : std::vector<HWND>(W->Children))
        Bury(C);
    KillWindowTimers(W);
    ForgetWindowPaint(W);
    MenuCore::DestroyWindowMenus(W);
    if (W->Region) {
        DeleteObject(W->Region);
        W->Region = nullptr;
    }
    if (W == G().Focus)
        G().Focus = nullptr;
    if (W == G().Active)
        G().Active = nullptr;
    if (W == G().Capture)
        G().Capture = nullptr;
    G().Live.remove(W);
    G().DeadWindows.push_back(W);
}

bool InSubtree(HWND Root, HWND W)
{
    for (; W; W = W->Parent)
        if (W == Root)
            return true;
    return false;
}

QPoint DefaultPlacement()
{
    int N = G().DefaultPlacement++ % 8;
    return QPoint(40 + 24 * N, 40 + 24 * N);
}

} // namespace

bool TMessageDispatcher::event(QEvent *E)
{
    if (E->type() == PostedMessageEvent) {
        --G().PostedPending;
        MSG M = static_cast<TPostedMessage *>(E)->Msg;
        if (M.hwnd && !IsLive(M.hwnd))
            return true;
        DeliverQueued(M);
        if (M.message == WM_QUIT && M.hwnd == nullptr)
            QCoreApplication::exit(int(M.wParam));
        return true;
    }
    if (E->type() == PendingPaintEvent) {
        Guarded([] { PaintPending(); });
        return true;
    }
    return QObject::event(E);
}

// ---- shared helpers ------------------------------------------------------------------------------------

namespace WindowCore {

DispatchGuard::DispatchGuard() { ++G().Depth; }

DispatchGuard::~DispatchGuard()
{
    if (--G().Depth == 0)
        FreeDead();
}

bool IsTopLevel(HWND W) { return !W->Parent; }

const std::vector<HWND> &TopLevelWindows() { return G().TopLevels; }

QPoint ScreenOrigin(HWND W)
{
    if (!W->Parent)
        return W->WindowRect.topLeft();
    return ClientScreenOrigin(W->Parent) + W->WindowRect.topLeft();
}

QPoint ClientScreenOrigin(HWND W) { return ScreenOrigin(W) + W->ClientRect.topLeft(); }

int StyleBand(DWORD Style, DWORD ExStyle)
{
    int Band = 0;
    if (Style & WS_THICKFRAME)
        Band = 4;
    else if ((Style & WS_DLGFRAME) || (ExStyle & WS_EX_DLGMODALFRAME))
        Band = 3;
    else if (Style & WS_BORDER)
        Band = 1;
    if (ExStyle & WS_EX_CLIENTEDGE)
        Band += 2;
    return Band;
}

int FrameBand(HWND W)
{
    if (W->Desktop || (IsTopLevel(W) && W->Decorated))
        return 0;
    return StyleBand(W->Style, W->ExStyle);
}

void ApplyWidgetGeometry(HWND W)
{
    if (!W->Widget)
        return;
    TApplyingQt Applying(W);
    QRect R = W->WindowRect;
    if (W->Parent)
        R.translate(W->Parent->ClientRect.topLeft());
    if (W->Widget->geometry() != R)
        W->Widget->setGeometry(R);
    if (W->Hosted && W->Hosted->geometry() != W->ClientRect)
        W->Hosted->setGeometry(W->ClientRect);
}

void SetWindowRectFromQt(HWND W, const QRect &R)
{
    if (R == W->WindowRect)
        return;
    DispatchGuard Guard;
    WINDOWPOS Pos{W, nullptr, R.x(), R.y(), R.width(), R.height(), SWP_NOZORDER | SWP_NOACTIVATE};
    ApplyWindowPos(W, Pos, true);
}

void SyncShowStateFromQt(HWND W, Qt::WindowStates States)
{
    DispatchGuard Guard;
    if (States & Qt::WindowMinimized) {
        if (W->State != TShowState::Minimized) {
            W->RestoreToMaximized = W->State == TShowState::Maximized;
            if (W->State == TShowState::Normal)
                W->NormalRect = W->WindowRect;
            W->State = TShowState::Minimized;
            W->Style = (W->Style | WS_MINIMIZE) & ~WS_MAXIMIZE;
            SendSize(W);
        }
        return;
    }
    TShowState New = (States & Qt::WindowMaximized) ? TShowState::Maximized : TShowState::Normal;
    if (New == W->State)
        return;
    if (New == TShowState::Maximized && W->State == TShowState::Normal)
        W->NormalRect = W->WindowRect;
    W->State = New;
    W->Style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    if (New == TShowState::Maximized)
        W->Style |= WS_MAXIMIZE;
    QRect Now = W->Widget ? W->Widget->geometry() : W->WindowRect;
    if (Now != W->WindowRect)
        SetWindowRectFromQt(W, Now);
    else
        SendSize(W);
}

void Guarded(const std::function<void()> &Fn)
{
    try {
        Fn();
    } catch (...) {
        if (G().ExceptionHandler) {
            try {
                G().ExceptionHandler();
            } catch (...) {
                qWarning("window layer: the exception handler raised");
            }
        } else {
            qWarning("window layer: an exception reached the event loop");
        }
    }
}

bool DeliverQueued(MSG Msg)
{
    DispatchGuard Guard;
    Msg.time = GetTickCount();
    Msg.pt = POINT{G().Cursor.x(), G().Cursor.y()};
    G().Delivering.push_back(Msg);
    bool Handled = false;
    Guarded([&] {
        MSG &M = G().Delivering.back();
        // The menu loop takes input as delivered to it: its keys still make their characters.
        if (G().MenuFilter && G().MenuFilter(M))
            return;
        if (G().Filter)
            Handled = G().Filter(M);
        if (!Handled && M.hwnd && IsLive(M.hwnd))
            SendMessage(M.hwnd, M.message, M.wParam, M.lParam);
    });
    G().Delivering.pop_back();
    return !Handled;
}

// Paints wait until the queue holds nothing else.
void PostPaintRequest()
{
    QCoreApplication::postEvent(Dispatcher(), new QEvent(PendingPaintEvent), Qt::LowEventPriority);
}

int LastKeyPressed() { return G().LastPressed; }

void SetMenuModeFilter(std::function<bool(MSG &)> Filter) { G().MenuFilter = std::move(Filter); }

void SetCursorScreenPos(QPoint P) { G().Cursor = P; }
QPoint CursorScreenPos() { return G().Cursor; }

void SetKeyDown(int VirtualKey, bool Down)
{
    if (Down)
        G().LastPressed = VirtualKey;
    if (VirtualKey > 0 && VirtualKey < 256)
        G().KeyDown[std::size_t(VirtualKey)] = Down;
}

void SetModifierState(Qt::KeyboardModifiers Mods, Qt::MouseButtons Buttons)
{
    auto &K = G().KeyDown;
    K[VK_SHIFT] = Mods & Qt::ShiftModifier;
    K[VK_CONTROL] = Mods & Qt::ControlModifier;
    K[VK_MENU] = Mods & Qt::AltModifier;
    K[VK_LBUTTON] = Buttons & Qt::LeftButton;
    K[VK_RBUTTON] = Buttons & Qt::RightButton;
    K[VK_MBUTTON] = Buttons & Qt::MiddleButton;
}

HWND FocusWindow() { return G().Focus; }
HWND CaptureWindow() { return G().Capture; }
HWND ActiveWindowNoCheck() { return G().Active; }

void ActivateFromQt(HWND W)
{
    if (IsLive(W) && IsTopLevel(W) && G().Active != W)
        SetActiveWindow(W);
}

void DeactivateFromQt(HWND W)
{
    if (G().Active != W)
        return;
    QWidget *Now = QApplication::activeWindow();
    if (!Now || !WindowFromWidget(Now))
        SetActiveWindow(nullptr);
}

} // namespace WindowCore

// ---- procedures ----------------------------------------------------------------------------------------

WNDPROC MakeWndProc(WNDPROCFN Fn)
{
    if (!Fn)
        return nullptr;
    WNDPROC &P = G().PlainProcs[Fn];
    if (!P)
        P = new WndProcObject{Fn, {}};
    return P;
}

WNDPROC MakeObjectInstance(std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> Method)
{
    return new WndProcObject{nullptr, std::move(Method)};
}

void FreeObjectInstance(WNDPROC Proc)
{
    if (!Proc || Proc->Fn)
        return;
    // The procedure may be running right now (a hook that frees itself while handling a message).
    DispatchGuard Guard;
    G().DeadProcs.push_back(Proc);
}

LRESULT CallWindowProc(WNDPROC Proc, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Wnd && !IsLive(Wnd))
        return 0;
    DispatchGuard Guard;
    if (!Proc)
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    if (Proc->Fn)
        return Proc->Fn(Wnd, Msg, WParam, LParam);
    return Proc->Method ? Proc->Method(Wnd, Msg, WParam, LParam) : 0;
}

LRESULT DefWindowProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (!IsLive(Wnd))
        return 0;
    DispatchGuard Guard;
    switch (Msg) {
    case WM_NCCREATE:
        return TRUE;
    case WM_NCCALCSIZE: {
        // rgrc[0] comes first in both forms of the message, so a RECT* reads the same.
        RECT *R = reinterpret_cast<RECT *>(LParam);
        if (R) {
            int B = FrameBand(Wnd);
            InflateRect(R, -B, -B);
            R->Top += MenuCore::MenuBarHeight(Wnd);
            if (R->Right < R->Left)
                R->Right = R->Left;
            if (R->Bottom < R->Top)
                R->Bottom = R->Top;
        }
        return 0;
    }
    case WM_NCHITTEST:
        return DefaultNcHitTest(Wnd, QPoint(GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)));
    case WM_NCPAINT:
        DefaultNcPaint(Wnd);
        return 0;
    case WM_NCACTIVATE:
        if (FrameBand(Wnd) > 0) {
            Wnd->FrameDirty = true;
            SchedulePaint(Wnd);
        }
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT PS;
        BeginPaint(Wnd, &PS);
        EndPaint(Wnd, &PS);
        return 0;
    }
    case WM_ERASEBKGND:
        return DefaultEraseBackground(Wnd, reinterpret_cast<HDC>(WParam));
    case WM_CLOSE:
        DestroyWindow(Wnd);
        return 0;
    case WM_SYSCOMMAND:
        switch (WParam & 0xFFF0) {
        case SC_MINIMIZE: ShowWindow(Wnd, SW_MINIMIZE); break;
        case SC_MAXIMIZE: ShowWindow(Wnd, SW_MAXIMIZE); break;
        case SC_RESTORE: ShowWindow(Wnd, SW_RESTORE); break;
        case SC_CLOSE: SendMessage(Wnd, WM_CLOSE, 0, 0); break;
        case SC_KEYMENU: MenuCore::TrackMenuBarFromKey(Wnd, QChar(char16_t(LParam))); break;
        default: break;
        }
        return 0;
    case WM_NCLBUTTONDOWN:
        if (LRESULT(WParam) == HTCAPTION) {
            HWND Top = GetTopLevelWindow(Wnd);
            if (Top->State != TShowState::Maximized)
                StartMove(Top);
        } else if (LRESULT(WParam) >= HTLEFT && LRESULT(WParam) <= HTBOTTOMRIGHT) {
            StartResize(Wnd, int(WParam));
        } else if (LRESULT(WParam) == HTMENU) {
            MenuCore::TrackMenuBarFromMouse(
                Wnd, MenuCore::MenuBarItemAt(Wnd, QPoint(GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam))));
        }
        return 0;
    // The menu keys reach the bar of the top-level window through WM_SYSCOMMAND, which a window may handle.
    case WM_SYSKEYUP:
        if (MenuCore::IsMenuKeyReleased(WParam) && !(WParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000)))
            SendMessage(GetTopLevelWindow(Wnd), WM_SYSCOMMAND, SC_KEYMENU, 0);
        return 0;
    case WM_SYSCHAR:
        if (QChar(char16_t(WParam)).isPrint() && !(GetKeyState(VK_CONTROL) & 0x8000))
            SendMessage(GetTopLevelWindow(Wnd), WM_SYSCOMMAND, SC_KEYMENU, LPARAM(WParam));
        return 0;
    case WM_NCLBUTTONDBLCLK:
        if (LRESULT(WParam) == HTCAPTION && (Wnd->Style & WS_MAXIMIZEBOX))
            ShowWindow(Wnd, IsZoomed(Wnd) ? SW_RESTORE : SW_MAXIMIZE);
        return 0;
    case WM_SETTEXT: {
        const QString *Text = reinterpret_cast<const QString *>(LParam);
        Wnd->Text = Text ? *Text : QString();
        if (IsTopLevel(Wnd) && Wnd->Widget)
            Wnd->Widget->setWindowTitle(Wnd->Text);
        return TRUE;
    }
    case WM_GETTEXT: {
        QString *Text = reinterpret_cast<QString *>(LParam);
        if (Text)
            *Text = Wnd->Text;
        return Wnd->Text.size();
    }
    case WM_GETTEXTLENGTH:
        return Wnd->Text.size();
    case WM_ACTIVATE:
        if (LOWORD(WParam) != WA_INACTIVE && !IsIconic(Wnd) && !InSubtree(Wnd, G().Focus))
            SetFocus(Wnd);
        return 0;
    // The right button's release and the menu keys ask for the window's context menu; (-1, -1) says the
    // keyboard asked.
    case WM_RBUTTONUP: {
        POINT P{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)};
        ClientToScreen(Wnd, &P);
        SendMessage(Wnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Wnd), PointToLParam(P.X, P.Y));
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (WParam == VK_APPS || (WParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000)))
            SendMessage(Wnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Wnd), PointToLParam(-1, -1));
        return 0;
    case WM_MOUSEWHEEL:
    case WM_CONTEXTMENU:
        if (Wnd->Parent)
            return SendMessage(Wnd->Parent, Msg, WParam, LParam);
        return 0;
    case WM_CANCELMODE:
        if (G().Capture == Wnd)
            ReleaseCapture();
        return 0;
    case WM_MOUSEACTIVATE:
        return 1;    // MA_ACTIVATE
    default:
        return 0;
    }
}

// ---- classes -------------------------------------------------------------------------------------------

BOOL RegisterClass(const WNDCLASS *Class)
{
    EnsureStandardClasses();
    if (!Class || Class->lpszClassName.isEmpty())
        return FALSE;
    G().Classes.insert(ClassKey(Class->lpszClassName), *Class);
    return TRUE;
}

BOOL UnregisterClass(const QString &Name, HINSTANCE)
{
    EnsureStandardClasses();
    return G().Classes.remove(ClassKey(Name)) > 0;
}

BOOL GetClassInfo(HINSTANCE, const QString &Name, WNDCLASS *Class)
{
    EnsureStandardClasses();
    auto It = G().Classes.constFind(ClassKey(Name));
    if (It == G().Classes.constEnd())
        return FALSE;
    if (Class)
        *Class = *It;
    return TRUE;
}

QString GetClassName(HWND Wnd) { return IsLive(Wnd) ? Wnd->Class.lpszClassName : QString(); }

int GetClassNameA(HWND Wnd, char *Buffer, int MaxCount)
{
    if (!Buffer || MaxCount <= 0)
        return 0;
    QByteArray Name = GetClassName(Wnd).toUtf8().left(MaxCount - 1);
    std::copy(Name.begin(), Name.end(), Buffer);
    Buffer[Name.size()] = '\0';
    return int(Name.size());
}

// ---- window longs --------------------------------------------------------------------------------------

LONG_PTR GetWindowLong(HWND Wnd, int Index)
{
    if (!IsLive(Wnd))
        return 0;
    switch (Index) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(Wnd->Proc);
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(Wnd->Instance);
    case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>(Wnd->Parent ? Wnd->Parent : Wnd->Owner);
    case GWL_STYLE: return LONG_PTR(LONG(Wnd->Style));
    case GWL_EXSTYLE: return LONG_PTR(Wnd->ExStyle);
    case GWL_USERDATA: return Wnd->UserData;
    case GWL_ID: return Wnd->Id;
    default: return 0;
    }
}

LONG_PTR SetWindowLong(HWND Wnd, int Index, LONG_PTR Value)
{
    if (!IsLive(Wnd) || Wnd->Desktop)
        return 0;
    DispatchGuard Guard;
    LONG_PTR Old = GetWindowLong(Wnd, Index);
    switch (Index) {
    case GWL_WNDPROC:
        Wnd->Proc = reinterpret_cast<WNDPROC>(Value);
        break;
    case GWL_HINSTANCE:
        Wnd->Instance = reinterpret_cast<HINSTANCE>(Value);
        break;
    case GWL_HWNDPARENT:
        if (IsTopLevel(Wnd)) {
            HWND Owner = reinterpret_cast<HWND>(Value);
            Owner = IsLive(Owner) && !Owner->Desktop ? GetTopLevelWindow(Owner) : nullptr;
            if (Owner != Wnd && Owner != Wnd->Owner) {
                // The widget rides on its owner's: it must not go down with the old one.
                Wnd->Owner = Owner;
                if (Wnd->Widget) {
                    TApplyingQt Applying(Wnd);
                    bool Visible = Wnd->Widget->isVisible();
                    Wnd->Widget->setParent(OwnerWidget(Wnd), TopLevelFlags(Wnd));
                    ApplyWidgetGeometry(Wnd);
                    Wnd->Widget->setVisible(Visible);
                }
            }
        }
        break;
    case GWL_STYLE: {
        DWORD New = DWORD(Value);
        DWORD Was = Wnd->Style;
        Wnd->Style = (New & ~(WS_VISIBLE | WS_DISABLED)) | (Was & (WS_VISIBLE | WS_DISABLED));
        if ((New ^ Was) & WS_DISABLED)
            EnableWindow(Wnd, !(New & WS_DISABLED));
        if (IsLive(Wnd) && ((New ^ Was) & WS_VISIBLE))
            ShowWindow(Wnd, (New & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
        if (IsLive(Wnd))
            UpdateFocusPolicy(Wnd);
        break;
    }
    case GWL_EXSTYLE:
        Wnd->ExStyle = DWORD(Value);
        break;
    case GWL_USERDATA:
        Wnd->UserData = Value;
        break;
    case GWL_ID:
        Wnd->Id = Value;
        break;
    default:
        return 0;
    }
    return Old;
}

// ---- creation and destruction --------------------------------------------------------------------------

HWND CreateWindowEx(DWORD ExStyle, const QString &ClassName, const QString &WindowName, DWORD Style, int X, int Y,
                    int Width, int Height, HWND Parent, LONG_PTR Id, HINSTANCE Instance, void *Param)
{
    EnsureStandardClasses();
    auto It = G().Classes.constFind(ClassKey(ClassName));
    if (It == G().Classes.constEnd())
        return nullptr;
    if (Parent && (!IsLive(Parent) || Parent->Destroying))
        return nullptr;
    if (Parent && Parent->Desktop) {
        // Windows of the desktop are top-level windows without an owner.
        Parent = nullptr;
        Style &= ~WS_CHILD;
    }
    if ((Style & WS_CHILD) && !Parent)
        return nullptr;

    DispatchGuard Guard;
    HWND W = new HWND__;
    W->Class = *It;
    W->Style = Style & ~WS_VISIBLE;
    W->ExStyle = ExStyle;
    W->Id = Id;
    W->Instance = Instance;
    W->Text = WindowName;
    W->Proc = W->Class.lpfnWndProc ? W->Class.lpfnWndProc : MakeWndProc(DefWindowProc);
    if (Style & WS_CHILD) {
        W->Parent = Parent;
        Parent->Children.insert(Parent->Children.begin(), W);
    } else {
        W->Owner = Parent ? GetTopLevelWindow(Parent) : nullptr;
        W->Decorated = HasCaption(Style);
        // A top-level window's hMenu is its menu bar (when no other window has that menu already).
        if (HMENU Bar = reinterpret_cast<HMENU>(Id); Id && IsMenu(Bar) && !Bar->Window) {
            W->Menu = Bar;
            Bar->Window = W;
        }
        G().TopLevels.insert(G().TopLevels.begin(), W);
        if (X == CW_USEDEFAULT) {
            QPoint P = DefaultPlacement();
            X = P.x();
            Y = P.y();
        }
        if (Width == CW_USEDEFAULT) {
            Width = 400;
            Height = 300;
        }
    }
    if (X == CW_USEDEFAULT)
        X = Y = 0;
    if (Width == CW_USEDEFAULT)
        Width = Height = 0;
    W->WindowRect = QRect(X, Y, std::max(0, Width), std::max(0, Height));
    W->ClientRect = QRect(QPoint(0, 0), W->WindowRect.size());
    G().Live.insert(W);

    QWidget *ParentWidget = W->Parent ? W->Parent->Widget
                                      : OwnerWidget(W);
    W->Widget = CreateSurfaceWidget(W, ParentWidget, W->Parent ? Qt::Widget : TopLevelFlags(W));
    if (!W->Text.isEmpty() && IsTopLevel(W))
        W->Widget->setWindowTitle(W->Text);

    QByteArray NameBytes = WindowName.toUtf8();
    QByteArray ClassBytes = ClassName.toUtf8();
    CREATESTRUCT CS;
    CS.lpCreateParams = Param;
    CS.hInstance = Instance;
    CS.hMenu = reinterpret_cast<void *>(Id);
    CS.hwndParent = Parent;
    CS.cx = W->WindowRect.width();
    CS.cy = W->WindowRect.height();
    CS.x = W->WindowRect.x();
    CS.y = W->WindowRect.y();
    CS.style = LONG(Style);
    CS.lpszName = NameBytes.constData();
    CS.lpszClass = ClassBytes.constData();
    CS.dwExStyle = ExStyle;

    if (!SendMessage(W, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&CS))) {
        DestroyWindow(W);
        return nullptr;
    }
    if (!IsLive(W))
        return nullptr;
    RecalcClient(W, nullptr);
    if (!IsLive(W))
        return nullptr;
    ResizeSurface(W);
    ApplyWidgetGeometry(W);
    if (SendMessage(W, WM_CREATE, 0, reinterpret_cast<LPARAM>(&CS)) == -1) {
        DestroyWindow(W);
        return nullptr;
    }
    if (!IsLive(W))
        return nullptr;
    SendSize(W);
    if (IsLive(W))
        SendMove(W);
    if (!IsLive(W))
        return nullptr;
    W->FrameDirty = true;
    W->UpdateRgn = QRegion(QRect(QPoint(0, 0), W->ClientRect.size()));
    W->EraseNeeded = true;
    if (Style & WS_VISIBLE) {
        int Cmd = (Style & WS_MAXIMIZE) ? SW_SHOWMAXIMIZED : (Style & WS_MINIMIZE) ? SW_SHOWMINIMIZED : SW_SHOW;
        ShowWindow(W, Cmd);
    }
    return IsLive(W) ? W : nullptr;
}

HWND CreateWindowExA(DWORD ExStyle, const char *ClassName, const char *WindowName, DWORD Style, int X, int Y,
                     int Width, int Height, HWND Parent, void *Menu, HINSTANCE Instance, void *Param)
{
    return CreateWindowEx(ExStyle, QString::fromUtf8(ClassName ? ClassName : ""),
                          QString::fromUtf8(WindowName ? WindowName : ""), Style, X, Y, Width, Height, Parent,
                          reinterpret_cast<LONG_PTR>(Menu), Instance, Param);
}

BOOL DestroyWindow(HWND Wnd)
{
    if (!IsLive(Wnd) || Wnd->Desktop || Wnd->Destroying)
        return FALSE;
    bool Outermost = G().Depth == 0;
    DispatchGuard Guard;
    Wnd->Destroying = true;

    for (HWND Owned : std::vector<HWND>(G().TopLevels))
        if (IsLive(Owned) && Owned->Owner == Wnd)
            DestroyWindow(Owned);

    if (Wnd->Widget) {
        TApplyingQt Applying(Wnd);
        Wnd->Widget->hide();
    }
    if (InSubtree(Wnd, G().Capture))
        ReleaseCapture();
    if (InSubtree(Wnd, G().Focus)) {
        HWND Old = G().Focus;
        G().Focus = nullptr;
        SendMessage(Old, WM_KILLFOCUS, 0, 0);
    }
    if (G().Active == Wnd) {
        G().Active = nullptr;
        if (Wnd->Owner && IsLive(Wnd->Owner) && IsWindowVisible(Wnd->Owner))
            SetActiveWindow(Wnd->Owner);
    }

    SendDestroyMessages(Wnd);
    if (!G().Live.contains(Wnd))
        return TRUE;
    RemoveFromSiblings(Wnd);
    DetachSurfaceWidget(Wnd, Outermost);
    Bury(Wnd);
    return TRUE;
}

BOOL IsWindow(HWND Wnd) { return IsLive(Wnd); }

// ---- messages ------------------------------------------------------------------------------------------

LRESULT SendMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (!IsLive(Wnd))
        return 0;
    DispatchGuard Guard;
    return CallWindowProc(Wnd->Proc, Wnd, Msg, WParam, LParam);
}

BOOL PostMessage(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Wnd && !IsLive(Wnd))
        return FALSE;
    MSG M;
    M.hwnd = Wnd;
    M.message = Msg;
    M.wParam = WParam;
    M.lParam = LParam;
    ++G().PostedPending;
    QCoreApplication::postEvent(Dispatcher(), new TPostedMessage(M));
    return TRUE;
}

void SetMessageFilter(std::function<bool(MSG &)> Filter) { G().Filter = std::move(Filter); }

void SetExceptionHandler(std::function<void()> Handler) { G().ExceptionHandler = std::move(Handler); }

const MSG &CurrentMessage()
{
    static const MSG None;
    return G().Delivering.empty() ? None : G().Delivering.back();
}

void ProcessPendingMessages()
{
    // Messages posted while handling posted messages are part of the same empty-the-queue round.
    for (int Round = 0; Round < 64; ++Round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (G().PostedPending <= 0)
            break;
    }
    Guarded([] { PaintPending(); });
    if (G().Depth == 0)
        DeleteDeferredWidgets();
}

bool ProcessPendingMessagesUntil(const std::function<bool()> &Done, int Ms)
{
    // The timer is the deadline: it wakes the wait below when nothing else comes first, and a precise one
    // never fires early, where a coarse one could leave the loop asleep past it.
    bool TimedOut = false;
    QTimer Deadline;
    Deadline.setSingleShot(true);
    Deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&Deadline, &QTimer::timeout, [&] { TimedOut = true; });
    Deadline.start(std::max(Ms, 0));
    ProcessPendingMessages();
    while (!Done()) {
        if (TimedOut)
            return Done();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ProcessPendingMessages();
    }
    return true;
}

void PostQuitMessage(int ExitCode) { PostMessage(nullptr, WM_QUIT, WPARAM(ExitCode), 0); }

// ---- geometry ------------------------------------------------------------------------------------------

BOOL GetWindowRect(HWND Wnd, RECT *R)
{
    if (!IsLive(Wnd) || !R)
        return FALSE;
    *R = ToRECT(QRect(ScreenOrigin(Wnd), Wnd->WindowRect.size()));
    return TRUE;
}

BOOL GetClientRect(HWND Wnd, RECT *R)
{
    if (!IsLive(Wnd) || !R)
        return FALSE;
    *R = RECT{0, 0, Wnd->ClientRect.width(), Wnd->ClientRect.height()};
    return TRUE;
}

BOOL ClientToScreen(HWND Wnd, POINT *P)
{
    if (!IsLive(Wnd) || !P)
        return FALSE;
    QPoint O = ClientScreenOrigin(Wnd);
    P->X += O.x();
    P->Y += O.y();
    return TRUE;
}

BOOL ScreenToClient(HWND Wnd, POINT *P)
{
    if (!IsLive(Wnd) || !P)
        return FALSE;
    QPoint O = ClientScreenOrigin(Wnd);
    P->X -= O.x();
    P->Y -= O.y();
    return TRUE;
}

int MapWindowPoints(HWND From, HWND To, POINT *Points, UINT Count)
{
    if ((From && !IsLive(From)) || (To && !IsLive(To)))
        return 0;
    QPoint A = From && !From->Desktop ? ClientScreenOrigin(From) : QPoint();
    QPoint B = To && !To->Desktop ? ClientScreenOrigin(To) : QPoint();
    QPoint D = A - B;
    for (UINT I = 0; Points && I < Count; ++I) {
        Points[I].X += D.x();
        Points[I].Y += D.y();
    }
    return MAKELONG(WORD(short(D.x())), WORD(short(D.y())));
}

POINT ClientOrigin(HWND Wnd)
{
    if (!IsLive(Wnd))
        return POINT{};
    return POINT{Wnd->ClientRect.x(), Wnd->ClientRect.y()};
}

BOOL SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int Width, int Height, UINT Flags)
{
    if (!IsLive(Wnd) || Wnd->Desktop)
        return FALSE;
    DispatchGuard Guard;
    WINDOWPOS Pos{Wnd, InsertAfter, X, Y, Width, Height, Flags};
    if (Flags & SWP_NOMOVE) {
        Pos.x = Wnd->WindowRect.x();
        Pos.y = Wnd->WindowRect.y();
    }
    if (Flags & SWP_NOSIZE) {
        Pos.cx = Wnd->WindowRect.width();
        Pos.cy = Wnd->WindowRect.height();
    }
    if (InsertAfter && InsertAfter != HWND_BOTTOM && InsertAfter != HWND_TOPMOST && InsertAfter != HWND_NOTOPMOST &&
        !IsLive(InsertAfter))
        Pos.flags |= SWP_NOZORDER;
    SendMessage(Wnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&Pos));
    if (!IsLive(Wnd))
        return FALSE;
    if (Pos.flags & SWP_NOMOVE) {
        Pos.x = Wnd->WindowRect.x();
        Pos.y = Wnd->WindowRect.y();
    }
    if (Pos.flags & SWP_NOSIZE) {
        Pos.cx = Wnd->WindowRect.width();
        Pos.cy = Wnd->WindowRect.height();
    }
    return ApplyWindowPos(Wnd, Pos, false);
}

BOOL MoveWindow(HWND Wnd, int X, int Y, int Width, int Height, BOOL Repaint)
{
    return SetWindowPos(Wnd, nullptr, X, Y, Width, Height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (Repaint ? 0 : SWP_NOREDRAW));
}

// ---- hierarchy -----------------------------------------------------------------------------------------

HWND GetParent(HWND Wnd)
{
    if (!IsLive(Wnd))
        return nullptr;
    if (Wnd->Parent)
        return Wnd->Parent;
    return (Wnd->Style & WS_POPUP) ? Wnd->Owner : nullptr;
}

HWND SetParent(HWND Wnd, HWND NewParent)
{
    if (!IsLive(Wnd) || Wnd->Desktop || (NewParent && !IsLive(NewParent)))
        return nullptr;
    if (NewParent && NewParent->Desktop)
        NewParent = nullptr;
    if (NewParent && InSubtree(Wnd, NewParent))
        return nullptr;
    DispatchGuard Guard;
    HWND Old = Wnd->Parent ? Wnd->Parent : GetDesktopWindow();
    bool Visible = Wnd->Style & WS_VISIBLE;
    RemoveFromSiblings(Wnd);
    Wnd->Parent = NewParent;
    Wnd->Owner = nullptr;
    Siblings(Wnd).insert(Siblings(Wnd).begin(), Wnd);
    if (Wnd->Widget) {
        TApplyingQt Applying(Wnd);
        QWidget *W = Wnd->Widget;
        if (NewParent) {
            W->setParent(NewParent->Widget, Qt::Widget);
        } else {
            Wnd->Decorated = HasCaption(Wnd->Style);
            W->setParent(nullptr, TopLevelFlags(Wnd));
        }
        ApplyWidgetGeometry(Wnd);
        W->setVisible(Visible);
    }
    UpdateFocusPolicy(Wnd);
    return Old;
}

BOOL IsChild(HWND Parent, HWND Wnd)
{
    if (!IsLive(Parent) || !IsLive(Wnd))
        return FALSE;
    for (HWND P = Wnd->Parent; P; P = P->Parent)
        if (P == Parent)
            return TRUE;
    return FALSE;
}

HWND GetWindow(HWND Wnd, UINT Cmd)
{
    if (!IsLive(Wnd))
        return nullptr;
    if (Cmd == GW_CHILD)
        return Wnd->Children.empty() ? nullptr : Wnd->Children.front();
    if (Cmd == GW_OWNER)
        return Wnd->Parent ? nullptr : Wnd->Owner;
    const std::vector<HWND> &List = Siblings(Wnd);
    auto It = std::find(List.begin(), List.end(), Wnd);
    switch (Cmd) {
    case GW_HWNDFIRST: return List.front();
    case GW_HWNDLAST: return List.back();
    case GW_HWNDNEXT: return It + 1 < List.end() ? *(It + 1) : nullptr;
    case GW_HWNDPREV: return It != List.begin() ? *(It - 1) : nullptr;
    default: return nullptr;
    }
}

HWND GetDesktopWindow()
{
    if (!G().DesktopWnd) {
        HWND W = new HWND__;
        W->Desktop = true;
        W->Class.lpszClassName = QStringLiteral("#32769");
        W->Style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
        QScreen *S = QGuiApplication::primaryScreen();
        W->WindowRect = S ? S->geometry() : QRect(0, 0, 800, 600);
        W->ClientRect = QRect(QPoint(0, 0), W->WindowRect.size());
        W->Proc = MakeWndProc(DefWindowProc);
        W->Surface = QImage(W->WindowRect.size(), QImage::Format_RGB32);
        W->Surface.fill(Qt::black);
        G().Live.insert(W);
        G().DesktopWnd = W;
    }
    return G().DesktopWnd;
}

HWND GetTopLevelWindow(HWND Wnd)
{
    if (!IsLive(Wnd))
        return nullptr;
    while (Wnd->Parent)
        Wnd = Wnd->Parent;
    return Wnd;
}

HWND ChildWindowFromPoint(HWND Parent, POINT Point)
{
    if (!IsLive(Parent))
        return nullptr;
    QPoint P(Point.X, Point.Y);
    if (Parent->Desktop) {
        HWND Top = WindowFromPoint(Point);
        return Top ? GetTopLevelWindow(Top) : Parent;
    }
    for (HWND C : Parent->Children) {
        if (!(C->Style & WS_VISIBLE) || (C->Style & WS_DISABLED) || !C->WindowRect.contains(P))
            continue;
        QPoint InWindow = P - C->WindowRect.topLeft();
        if (C->Region && !C->Region->Region.contains(InWindow))
            continue;
        if (!C->ClientRect.contains(InWindow))
            return C;
        QPoint InClient = InWindow - C->ClientRect.topLeft();
        return ChildWindowFromPoint(C, POINT{InClient.x(), InClient.y()});
    }
    return Parent;
}

HWND WindowFromPoint(POINT ScreenPoint)
{
    QPoint P(ScreenPoint.X, ScreenPoint.Y);
    for (HWND T : G().TopLevels) {
        if (!(T->Style & WS_VISIBLE) || T->State == TShowState::Minimized || !T->WindowRect.contains(P))
            continue;
        QPoint InWindow = P - T->WindowRect.topLeft();
        if (T->Region && !T->Region->Region.contains(InWindow))
            continue;
        if (!T->ClientRect.contains(InWindow))
            return T;
        QPoint InClient = InWindow - T->ClientRect.topLeft();
        return ChildWindowFromPoint(T, POINT{InClient.x(), InClient.y()});
    }
    return nullptr;
}

// ---- visibility, state ---------------------------------------------------------------------------------

BOOL ShowWindow(HWND Wnd, int Cmd)
{
    if (!IsLive(Wnd) || Wnd->Desktop)
        return FALSE;
    DispatchGuard Guard;
    BOOL WasVisible = (Wnd->Style & WS_VISIBLE) != 0;
    bool Activate = Activates(Cmd);
    switch (Cmd) {
    case SW_HIDE:
        HideNow(Wnd);
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
        Restore(Wnd, Activate);
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        Minimize(Wnd, Cmd == SW_MINIMIZE);
        break;
    case SW_SHOWMAXIMIZED:
        Maximize(Wnd, Activate);
        break;
    default:
        ShowNow(Wnd, Activate);
        break;
    }
    return WasVisible;
}

BOOL IsWindowVisible(HWND Wnd)
{
    if (!IsLive(Wnd))
        return FALSE;
    for (HWND W = Wnd; W; W = W->Parent)
        if (!(W->Style & WS_VISIBLE))
            return FALSE;
    return TRUE;
}

BOOL IsIconic(HWND Wnd) { return IsLive(Wnd) && Wnd->State == TShowState::Minimized; }

BOOL IsZoomed(HWND Wnd) { return IsLive(Wnd) && Wnd->State == TShowState::Maximized; }

BOOL EnableWindow(HWND Wnd, BOOL Enable)
{
    if (!IsLive(Wnd))
        return FALSE;
    BOOL WasDisabled = (Wnd->Style & WS_DISABLED) != 0;
    if (bool(Enable) == !WasDisabled)
        return WasDisabled;
    DispatchGuard Guard;
    if (Enable)
        Wnd->Style &= ~WS_DISABLED;
    else
        Wnd->Style |= WS_DISABLED;
    if (!Enable && G().Capture == Wnd)
        ReleaseCapture();
    SendMessage(Wnd, WM_ENABLE, Enable ? TRUE : FALSE, 0);
    return WasDisabled;
}

BOOL IsWindowEnabled(HWND Wnd) { return IsLive(Wnd) && !(Wnd->Style & WS_DISABLED); }

BOOL SetWindowText(HWND Wnd, const QString &Text)
{
    if (!IsLive(Wnd))
        return FALSE;
    return SendMessage(Wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(&Text)) ? TRUE : FALSE;
}

QString GetWindowText(HWND Wnd)
{
    if (!IsLive(Wnd))
        return QString();
    QString Text;
    SendMessage(Wnd, WM_GETTEXT, WPARAM(-1), reinterpret_cast<LPARAM>(&Text));
    return Text;
}

// ---- focus, activation, capture, keys ------------------------------------------------------------------

namespace {

void GiveQtFocus(HWND W)
{
    if (!W || !W->Widget)
        return;
    QWidget *Target = W->Hosted ? W->Hosted.data() : W->Widget;
    // A hosted widget may keep the focus on one of its parts (the field the user clicked).
    QWidget *Now = QApplication::focusWidget();
    if (Now && (Now == Target || Target->isAncestorOf(Now)))
        return;
    if (!Target->hasFocus())
        Target->setFocus(FocusChangeReason());
}

} // namespace

Qt::FocusReason FocusChangeReason()
{
    switch (CurrentMessage().message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_SYSCHAR:
        return (GetKeyState(VK_SHIFT) & 0x8000) ? Qt::BacktabFocusReason : Qt::TabFocusReason;
    default:
        return Qt::OtherFocusReason;
    }
}

HWND SetFocus(HWND Wnd)
{
    if (Wnd && (!IsLive(Wnd) || Wnd->Desktop))
        return nullptr;
    DispatchGuard Guard;
    HWND Old = G().Focus;
    if (Wnd == Old) {
        GiveQtFocus(Wnd);
        return Old;
    }
    HWND Answer = IsLive(Old) ? Old : nullptr;
    if (Wnd) {
        // Activating the top-level window may move the focus on the way (its default WM_ACTIVATE does).
        HWND Top = GetTopLevelWindow(Wnd);
        if (G().Active != Top) {
            SetActiveWindow(Top);
            if (!IsLive(Wnd))
                return Answer;
            Old = G().Focus;
            if (Old == Wnd)
                return Answer;
        }
    }
    if (Old && IsLive(Old))
        SendMessage(Old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(Wnd), 0);
    if (G().Focus != Old)
        return Answer;    // the losing window moved the focus itself
    if (Wnd && !IsLive(Wnd))
        return Answer;
    G().Focus = Wnd;
    GiveQtFocus(Wnd);
    if (Wnd)
        SendMessage(Wnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(IsLive(Old) ? Old : nullptr), 0);
    return Answer;
}

HWND GetFocus() { return IsLive(G().Focus) ? G().Focus : nullptr; }

HWND SetActiveWindow(HWND Wnd)
{
    if (Wnd && (!IsLive(Wnd) || Wnd->Desktop))
        return nullptr;
    Wnd = Wnd ? GetTopLevelWindow(Wnd) : nullptr;
    HWND Old = G().Active;
    if (Old == Wnd)
        return Old;
    DispatchGuard Guard;
    G().Active = Wnd;
    if (Old && IsLive(Old)) {
        SendMessage(Old, WM_NCACTIVATE, FALSE, 0);
        SendMessage(Old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(Wnd));
    }
    bool WasActive = Old != nullptr;
    bool IsActive = Wnd != nullptr;
    if (WasActive != IsActive)
        for (HWND T : std::vector<HWND>(G().TopLevels))
            SendMessage(T, WM_ACTIVATEAPP, IsActive ? TRUE : FALSE, 0);
    if (Wnd && IsLive(Wnd) && G().Active == Wnd) {
        SendMessage(Wnd, WM_NCACTIVATE, TRUE, 0);
        SendMessage(Wnd, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(IsLive(Old) ? Old : nullptr));
        if (IsLive(Wnd) && Wnd->Widget && Wnd->Widget->isVisible() && !Wnd->Widget->isActiveWindow()) {
            TApplyingQt Applying(Wnd);
            Wnd->Widget->activateWindow();
        }
    }
    return IsLive(Old) ? Old : nullptr;
}

HWND GetActiveWindow() { return IsLive(G().Active) ? G().Active : nullptr; }

BOOL SetForegroundWindow(HWND Wnd)
{
    if (!IsLive(Wnd))
        return FALSE;
    HWND Top = GetTopLevelWindow(Wnd);
    if (Top->Widget)
        Top->Widget->raise();
    SetActiveWindow(Top);
    return TRUE;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

HWND SetCapture(HWND Wnd)
{
    if (Wnd && (!IsLive(Wnd) || Wnd->Desktop))
        return nullptr;
    DispatchGuard Guard;
    HWND Old = G().Capture;
    if (Old == Wnd)
        return Old;
    G().Capture = Wnd;
    if (Old && IsLive(Old))
        SendMessage(Old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(Wnd));
    return IsLive(Old) ? Old : nullptr;
}

HWND GetCapture() { return IsLive(G().Capture) ? G().Capture : nullptr; }

BOOL ReleaseCapture()
{
    HWND Old = G().Capture;
    if (!Old)
        return TRUE;
    DispatchGuard Guard;
    G().Capture = nullptr;
    if (IsLive(Old))
        SendMessage(Old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

BOOL GetCursorPos(POINT *P)
{
    if (!P)
        return FALSE;
    *P = POINT{G().Cursor.x(), G().Cursor.y()};
    return TRUE;
}

BOOL SetCursorPos(int X, int Y)
{
    G().Cursor = QPoint(X, Y);
    return TRUE;
}

short GetKeyState(int VirtualKey)
{
    if (VirtualKey <= 0 || VirtualKey >= 256)
        return 0;
    return G().KeyDown[std::size_t(VirtualKey)] ? short(0x8000) : short(0);
}

short GetAsyncKeyState(int VirtualKey) { return GetKeyState(VirtualKey); }

// ---- the Qt side -----------------------------------------------------------------------------------------

QWidget *WindowWidget(HWND Wnd) { return IsLive(Wnd) ? Wnd->Widget : nullptr; }

QWidget *HostedWidget(HWND Wnd) { return IsLive(Wnd) ? Wnd->Hosted.data() : nullptr; }

void HostWidget(HWND Wnd, QWidget *Widget)
{
    if (!IsLive(Wnd) || !Wnd->Widget || !Widget)
        return;
    Wnd->Hosted = Widget;
    {
        TApplyingQt Applying(Wnd);
        Widget->setParent(Wnd->Widget);
        Widget->setGeometry(Wnd->ClientRect);
        Widget->show();
    }
    InstallHostFilter(Wnd, Widget);
    if (G().Focus == Wnd)
        GiveQtFocus(Wnd);
}
