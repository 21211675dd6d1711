#pragma once
// Private to the window units: the object behind an HWND and what those units share.

#include "platform/MenuObject.h"
#include "platform/Window.h"

#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <vector>

struct WndProcObject
{
    WNDPROCFN Fn = nullptr;
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> Method;
};

enum class TShowState { Normal, Minimized, Maximized };

// The widget of a window: it shows the window's surface and hands its Qt input to WindowEvents.cpp.
class SurfaceWidget : public QWidget
{
public:
    SurfaceWidget(HWND AWnd, QWidget *Parent, Qt::WindowFlags Flags);
    HWND Wnd;

protected:
    bool event(QEvent *E) override;
    void paintEvent(QPaintEvent *E) override;
};

struct HWND__
{
    WNDCLASS Class;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    LONG_PTR Id = 0;
    LONG_PTR UserData = 0;
    HINSTANCE Instance = nullptr;
    QString Text;
    QRect WindowRect;          // parent client coordinates; screen coordinates for top-level windows
    QRect ClientRect;          // window coordinates (0, 0 is the window's top-left)
    HWND Parent = nullptr;     // the parent of a child window
    HWND Owner = nullptr;      // the owner of a top-level window
    std::vector<HWND> Children;  // top of the z-order first
    WNDPROC Proc = nullptr;
    HRGN Region = nullptr;     // window coordinates, owned
    HMENU Menu = nullptr;      // the menu bar, owned
    HMENU SystemMenu = nullptr;  // the window's own copy of the window menu, owned
    TShowState State = TShowState::Normal;
    bool RestoreToMaximized = false;
    QRect NormalRect;          // the window rectangle to restore to
    QImage Surface;            // the whole window, RGB32
    QRegion UpdateRgn;         // client coordinates
    bool EraseNeeded = false;
    bool FrameDirty = false;
    bool Desktop = false;
    bool Decorated = false;    // a top-level window with the desktop's own frame and no band of ours
    bool Destroying = false;
    bool InUpdate = false;
    int ApplyingQt = 0;        // > 0 while this layer changes the widget (its Qt events are ours)
    SurfaceWidget *Widget = nullptr;
    QPointer<QWidget> Hosted;
};

namespace WindowCore {

// Keeps destroyed windows and freed procedures alive until the outermost dispatch returns.
struct DispatchGuard
{
    DispatchGuard();
    ~DispatchGuard();
    DispatchGuard(const DispatchGuard &) = delete;
    DispatchGuard &operator=(const DispatchGuard &) = delete;
};

bool IsTopLevel(HWND W);
// The top-level windows, top of the z-order first.
const std::vector<HWND> &TopLevelWindows();
// Screen position of the window's top-left corner, and of its client area's.
QPoint ScreenOrigin(HWND W);
QPoint ClientScreenOrigin(HWND W);
// The non-client band the styles give (0 for decorated top-level windows).
int FrameBand(HWND W);
// The window has something outside its client area to paint: a band (of its styles or of its own
// WM_NCCALCSIZE) or a shape.
bool HasNonClientPart(HWND W);
int StyleBand(DWORD Style, DWORD ExStyle);
void SetWindowRectFromQt(HWND W, const QRect &R);
void ApplyWidgetGeometry(HWND W);
void SyncShowStateFromQt(HWND W, Qt::WindowStates States);
// Runs Fn, handing any exception to the exception handler (nothing crosses the Qt event loop).
void Guarded(const std::function<void()> &Fn);

// The queue: Msg passes the filter, then reaches its window. Answers false when the filter stopped it.
bool DeliverQueued(MSG Msg);
void SetCursorScreenPos(QPoint P);
QPoint CursorScreenPos();
void SetKeyDown(int VirtualKey, bool Down);
// The virtual key of the latest key press (Alt released alone selects the menu bar).
int LastKeyPressed();
// While a menu bar is selected, its loop sees queued input before the message filter; true takes it (as
// delivered: a key taken still makes its characters).
void SetMenuModeFilter(std::function<bool(MSG &)> Filter);
void SetModifierState(Qt::KeyboardModifiers Mods, Qt::MouseButtons Buttons);
HWND FocusWindow();
HWND CaptureWindow();
HWND ActiveWindowNoCheck();
// Activation and focus driven by Qt (the widget side already matches).
void ActivateFromQt(HWND W);
void DeactivateFromQt(HWND W);

void PostPaintRequest();

// WindowEvents.cpp
// Moving by the caption: the desktop's move where the platform has one, else following the pointer.
void StartMove(HWND Top);
void StartResize(HWND W, int HitCode);
SurfaceWidget *CreateSurfaceWidget(HWND W, QWidget *Parent, Qt::WindowFlags Flags);
// Outermost: no message or Qt event of this layer is being handled, so the widget can go at once.
void DetachSurfaceWidget(HWND W, bool Outermost);
// Deletes the widgets of windows destroyed inside a dispatch; only where none of this layer's is running.
void DeleteDeferredWidgets();
void InstallHostFilter(HWND W, QWidget *Widget);
void UpdateFocusPolicy(HWND W);

// WindowPaint.cpp
void ResizeSurface(HWND W);
// Part: the window-coordinate area to show again (empty: the whole window).
void SchedulePaint(HWND W, const QRect &Part = QRect());
void PaintPending();
bool HasPendingPaint(HWND W);
void ForgetWindowPaint(HWND W);
void DefaultNcPaint(HWND W);
LRESULT DefaultNcHitTest(HWND W, QPoint Screen);
LRESULT DefaultEraseBackground(HWND W, HDC DC);
void ApplyWindowMask(HWND W);

// WindowServices.cpp
void KillWindowTimers(HWND W);

} // namespace WindowCore
