#pragma once
// Private to the built-in classes: what their window procedures share.

#include "platform/StdClasses.h"

#include <QEvent>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

#include <memory>

namespace ClassHost {

bool IsInputEvent(QEvent::Type Type);

// A hosted widget whose input, used or not, ends with it: the window layer has already made messages of
// it, and letting it travel on to the window's own widget would make them again.
template <class TWidget> class KeepInput : public TWidget
{
public:
    using TWidget::TWidget;

protected:
    bool event(QEvent *E) override
    {
        const bool Handled = TWidget::event(E);
        if (!IsInputEvent(E->type()))
            return Handled;
        E->accept();
        return true;
    }
};

// WM_COMMAND with MAKEWPARAM(id, Code) and the control in lParam, to the control's parent.
void NotifyParent(HWND Wnd, WORD Code);

// Keyboard and mouse messages: the ones a hosted widget handles itself.
bool IsInputMessage(UINT Msg);

// A key for a message sent by code (not translated from Qt input): WM_CHAR gives the character's key,
// WM_KEYDOWN the editing and moving keys. nullptr for anything else.
std::unique_ptr<QKeyEvent> KeyForMessage(UINT Msg, WPARAM WParam);

// Text in messages: lParam is a const QString* (nullptr: empty); WM_GETTEXT-like messages fill a QString*.
QString TextOf(LPARAM LParam);
LRESULT ReturnText(LPARAM LParam, const QString &Text);

// Messages every built-in class answers alike: WM_SETFONT, WM_GETFONT, WM_ENABLE. Answers true when Msg
// was one of them, with its result in Result.
bool CommonMessage(HWND Wnd, QWidget *Widget, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT *Result);

// The class record for a built-in class with Proc and a system-colour background.
WNDCLASS ClassRecord(const QString &Name, WNDPROCFN Proc, int BackgroundColor);

// EditClass.cpp, ButtonClass.cpp, IpAddressClass.cpp
LRESULT EditProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT ButtonProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
LRESULT IpAddressProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

} // namespace ClassHost
