// Services of the window layer: timers, the tick count, sleeping, system metrics and parameters, monitors,
// the beep and window animation.
#include "platform/WindowObject.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLocale>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QTimerEvent>

#include <chrono>
#include <utility>

using namespace WindowCore;

namespace {

struct TTimerEntry
{
    HWND Wnd = nullptr;
    UINT_PTR Id = 0;
    int QtId = 0;    // 0: a timer that never ticks
};

class TTimerHost : public QObject
{
protected:
    void timerEvent(QTimerEvent *E) override;
};

struct TServiceGlobals
{
    std::vector<TTimerEntry> Timers;
    QPointer<TTimerHost> Host;
    UINT_PTR NextThreadTimerId = 0x7F00;
};

TServiceGlobals &SG()
{
    static TServiceGlobals Globals;
    return Globals;
}

TTimerHost *TimerHost()
{
    if (!SG().Host) {
        SG().Host = new TTimerHost;
        if (QCoreApplication::instance())
            SG().Host->setParent(QCoreApplication::instance());
    }
    return SG().Host;
}

void TTimerHost::timerEvent(QTimerEvent *E)
{
    for (const TTimerEntry &T : SG().Timers)
        if (T.QtId == E->timerId()) {
            // The entry may go while the tick is handled (KillTimer inside the tick).
            MSG M;
            M.hwnd = T.Wnd;
            M.message = WM_TIMER;
            M.wParam = T.Id;
            DeliverQueued(M);
            return;
        }
    killTimer(E->timerId());
}

auto FindTimer(HWND Wnd, UINT_PTR Id)
{
    return std::find_if(SG().Timers.begin(), SG().Timers.end(),
                        [&](const TTimerEntry &T) { return T.Wnd == Wnd && T.Id == Id; });
}

QScreen *PrimaryScreen() { return QGuiApplication::primaryScreen(); }

QRect ScreenRect() { return PrimaryScreen() ? PrimaryScreen()->geometry() : QRect(0, 0, 800, 600); }

QRect WorkArea() { return PrimaryScreen() ? PrimaryScreen()->availableGeometry() : ScreenRect(); }

RECT ToRECT(const QRect &R) { return RECT{R.x(), R.y(), R.x() + R.width(), R.y() + R.height()}; }

bool RightToLeftLocale()
{
    switch (QLocale::system().language()) {
    case QLocale::Arabic:
    case QLocale::Hebrew:
    case QLocale::Persian:
    case QLocale::Urdu:
    case QLocale::Pashto:
    case QLocale::Sindhi:
    case QLocale::Uighur:
        return true;
    default:
        return false;
    }
}

LOGFONT TahomaFont(bool Bold)
{
    LOGFONT L;
    L.lfHeight = -11;
    L.lfWeight = Bold ? FW_BOLD : FW_NORMAL;
    L.lfFaceName = QStringLiteral("Tahoma");
    return L;
}

HMONITOR MonitorOfScreen(QScreen *S)
{
    int I = QGuiApplication::screens().indexOf(S);
    return I < 0 ? nullptr : reinterpret_cast<HMONITOR>(std::intptr_t(I + 1));
}

QScreen *ScreenOfMonitor(HMONITOR M)
{
    auto I = std::intptr_t(M) - 1;
    const auto Screens = QGuiApplication::screens();
    return I >= 0 && I < Screens.size() ? Screens.at(int(I)) : nullptr;
}

HMONITOR Fallback(DWORD Flags) { return Flags == MONITOR_DEFAULTTONULL ? nullptr : MonitorOfScreen(PrimaryScreen()); }

// The part of a W x H window that shows at Fraction of a slide in the direction of Flags.
QRect SlideShape(DWORD Flags, QSize S, double Fraction, bool Hiding)
{
    int W = S.width();
    int H = S.height();
    int CW = int(W * Fraction);
    int CH = int(H * Fraction);
    if (Flags & AW_CENTER)
        return QRect((W - CW) / 2, (H - CH) / 2, CW, CH);
    // Showing grows from the edge the slide starts at; hiding leaves towards the edge it moves to.
    if (Flags & AW_HOR_POSITIVE)
        return Hiding ? QRect(W - CW, 0, CW, H) : QRect(0, 0, CW, H);
    if (Flags & AW_HOR_NEGATIVE)
        return Hiding ? QRect(0, 0, CW, H) : QRect(W - CW, 0, CW, H);
    if (Flags & AW_VER_POSITIVE)
        return Hiding ? QRect(0, H - CH, W, CH) : QRect(0, 0, W, CH);
    if (Flags & AW_VER_NEGATIVE)
        return Hiding ? QRect(0, 0, W, CH) : QRect(0, H - CH, W, CH);
    return QRect(QPoint(0, 0), S);
}

constexpr LPARAM PRF_CLIENT = 0x0004;
constexpr LPARAM PRF_ERASEBKGND = 0x0008;

} // namespace

namespace WindowCore {

void KillWindowTimers(HWND W)
{
    auto &Timers = SG().Timers;
    for (auto It = Timers.begin(); It != Timers.end();) {
        if (It->Wnd == W) {
            if (It->QtId && SG().Host)
                SG().Host->killTimer(It->QtId);
            It = Timers.erase(It);
        } else {
            ++It;
        }
    }
}

} // namespace WindowCore

// ---- timers --------------------------------------------------------------------------------------------

UINT_PTR SetTimer(HWND Wnd, UINT_PTR Id, UINT Elapse, void *)
{
    if (Wnd && !IsWindow(Wnd))
        return 0;
    if (!Wnd && (Id == 0 || FindTimer(nullptr, Id) == SG().Timers.end()))
        Id = SG().NextThreadTimerId++;
    auto It = FindTimer(Wnd, Id);
    if (It != SG().Timers.end()) {
        if (It->QtId)
            TimerHost()->killTimer(It->QtId);
        SG().Timers.erase(It);
    }
    TTimerEntry T{Wnd, Id, 0};
    if (Elapse > 0)
        T.QtId = TimerHost()->startTimer(std::chrono::milliseconds(Elapse));
    SG().Timers.push_back(T);
    return Id ? Id : 1;
}

BOOL KillTimer(HWND Wnd, UINT_PTR Id)
{
    auto It = FindTimer(Wnd, Id);
    if (It == SG().Timers.end())
        return FALSE;
    if (It->QtId && SG().Host)
        SG().Host->killTimer(It->QtId);
    SG().Timers.erase(It);
    return TRUE;
}

// ---- time ----------------------------------------------------------------------------------------------

DWORD GetTickCount()
{
    using namespace std::chrono;
    return DWORD(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

namespace {
TSleepHook &SleepHook()
{
    static TSleepHook Hook;
    return Hook;
}
} // namespace

void Sleep(DWORD Milliseconds)
{
    if (SleepHook())
        SleepHook()(Milliseconds);
    else
        QThread::msleep(Milliseconds);
}

TSleepHook SetSleepHook(TSleepHook Hook) { return std::exchange(SleepHook(), std::move(Hook)); }

int MessageBeep(UINT)
{
    QApplication::beep();
    return TRUE;
}

// ---- metrics and parameters ----------------------------------------------------------------------------

int GetSystemMetrics(int Index)
{
    switch (Index) {
    case SM_CXSCREEN: return ScreenRect().width();
    case SM_CYSCREEN: return ScreenRect().height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL: return 16;
    case SM_CYCAPTION: return 18;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CYMENU: return 19;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_MIDEASTENABLED: return RightToLeftLocale() ? 1 : 0;
    default: return 0;
    }
}

BOOL SystemParametersInfo(UINT Action, UINT UiParam, void *Param, UINT)
{
    static DWORD MenuShowDelay = 400;
    if (Action == SPI_SETMENUSHOWDELAY) {
        MenuShowDelay = UiParam;
        return TRUE;
    }
    if (!Param)
        return FALSE;
    switch (Action) {
    case SPI_GETMENUSHOWDELAY:
        *static_cast<DWORD *>(Param) = MenuShowDelay;
        return TRUE;
    case SPI_GETWORKAREA:
        *static_cast<RECT *>(Param) = ToRECT(WorkArea());
        return TRUE;
    case SPI_GETNONCLIENTMETRICS: {
        auto *M = static_cast<NONCLIENTMETRICS *>(Param);
        UINT Size = M->cbSize;
        *M = NONCLIENTMETRICS();
        M->cbSize = Size;
        M->lfCaptionFont = TahomaFont(true);
        M->lfSmCaptionFont = TahomaFont(true);
        M->lfMenuFont = TahomaFont(false);
        M->lfStatusFont = TahomaFont(false);
        M->lfMessageFont = TahomaFont(false);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

// ---- monitors ------------------------------------------------------------------------------------------

HMONITOR MonitorFromWindow(HWND Wnd, DWORD Flags)
{
    if (!IsWindow(Wnd))
        return Fallback(Flags);
    HWND Top = GetTopLevelWindow(Wnd);
    QScreen *S = Top->Widget ? Top->Widget->screen() : nullptr;
    if (!S)
        S = QGuiApplication::screenAt(ScreenOrigin(Top) + QPoint(Top->WindowRect.width() / 2, Top->WindowRect.height() / 2));
    return S ? MonitorOfScreen(S) : Fallback(Flags);
}

HMONITOR MonitorFromPoint(POINT P, DWORD Flags)
{
    if (QScreen *S = QGuiApplication::screenAt(QPoint(P.X, P.Y)))
        return MonitorOfScreen(S);
    if (Flags != MONITOR_DEFAULTTONEAREST)
        return Fallback(Flags);
    QScreen *Best = PrimaryScreen();
    long long BestDistance = -1;
    for (QScreen *S : QGuiApplication::screens()) {
        QRect G = S->geometry();
        long long DX = std::max({G.left() - P.X, 0, P.X - G.right()});
        long long DY = std::max({G.top() - P.Y, 0, P.Y - G.bottom()});
        long long D = DX * DX + DY * DY;
        if (BestDistance < 0 || D < BestDistance) {
            BestDistance = D;
            Best = S;
        }
    }
    return MonitorOfScreen(Best);
}

BOOL GetMonitorInfo(HMONITOR Monitor, MONITORINFO *Info)
{
    QScreen *S = ScreenOfMonitor(Monitor);
    if (!S || !Info)
        return FALSE;
    Info->rcMonitor = ToRECT(S->geometry());
    Info->rcWork = ToRECT(S->availableGeometry());
    Info->dwFlags = S == PrimaryScreen() ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

int MonitorCount() { return int(QGuiApplication::screens().size()); }

HMONITOR MonitorByIndex(int Index)
{
    return Index >= 0 && Index < MonitorCount() ? reinterpret_cast<HMONITOR>(std::intptr_t(Index + 1)) : nullptr;
}

// ---- animation -----------------------------------------------------------------------------------------

constexpr int AnimationFrameMs = 10;

BOOL AnimateWindow(HWND Wnd, DWORD Time, DWORD Flags)
{
    if (!IsWindow(Wnd) || Wnd->Desktop)
        return FALSE;
    bool Hiding = Flags & AW_HIDE;
    bool Visible = Wnd->Style & WS_VISIBLE;
    if (Hiding != Visible)
        return FALSE;
    DispatchGuard Guard;

    // The picture, taken once: the frame as it stands, the client area from WM_PRINTCLIENT.
    if (Wnd->FrameDirty) {
        Wnd->FrameDirty = false;
        if (HasNonClientPart(Wnd))
            SendMessage(Wnd, WM_NCPAINT, 1, 0);
    }
    if (!IsWindow(Wnd))
        return FALSE;
    QImage Client = Wnd->Surface.copy(Wnd->ClientRect);
    if (!Client.isNull()) {
        HDC DC = CreateImageDC(&Client);
        SendMessage(Wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(DC), PRF_CLIENT | PRF_ERASEBKGND);
        DeleteDC(DC);
        if (!IsWindow(Wnd))
            return FALSE;
        QPoint At = Wnd->ClientRect.topLeft();
        for (int Y = 0; Y < Client.height() && At.y() + Y < Wnd->Surface.height(); ++Y)
            std::copy_n(reinterpret_cast<const QRgb *>(Client.constScanLine(Y)),
                        std::min(Client.width(), Wnd->Surface.width() - At.x()),
                        reinterpret_cast<QRgb *>(Wnd->Surface.scanLine(At.y() + Y)) + At.x());
    }

    QWidget *Widget = Wnd->Widget;
    auto Shape = [&](double Fraction) {
        if (!Widget || !IsWindow(Wnd))
            return;
        QRegion R = SlideShape(Flags, Widget->size(), Fraction, Hiding);
        if (Wnd->Region)
            R &= Wnd->Region->Region;
        // An empty mask is no mask to Qt: a region outside the widget hides it all.
        Widget->setMask(R.isEmpty() ? QRegion(-1, -1, 1, 1) : R);
        Widget->repaint();
    };

    if (!Hiding) {
        Shape(0);
        ShowWindow(Wnd, (Flags & AW_ACTIVATE) ? SW_SHOW : SW_SHOWNA);
        if (!IsWindow(Wnd))
            return FALSE;
        // The picture is the window's content; painting it again would be the same.
        Wnd->UpdateRgn = QRegion();
        Wnd->EraseNeeded = false;
        Wnd->FrameDirty = false;
    }
    if (Time > 0) {
        // One step a frame, the loop asleep in between; user input waits until the window has arrived.
        QElapsedTimer Clock;
        Clock.start();
        QEventLoop Loop;
        QTimer Frame;
        Frame.setTimerType(Qt::PreciseTimer);
        QObject::connect(&Frame, &QTimer::timeout, &Loop, [&] {
            if (!IsWindow(Wnd) || Clock.elapsed() >= qint64(Time))
                return Loop.quit();
            double Fraction = double(Clock.elapsed()) / double(Time);
            Shape(Hiding ? 1.0 - Fraction : Fraction);
        });
        Frame.start(AnimationFrameMs);
        Loop.exec(QEventLoop::ExcludeUserInputEvents);
        if (!IsWindow(Wnd))
            return FALSE;
    }
    if (Hiding)
        ShowWindow(Wnd, SW_HIDE);
    if (IsWindow(Wnd)) {
        ApplyWindowMask(Wnd);
        if (Widget && !Hiding)
            Widget->update();
    }
    return TRUE;
}
