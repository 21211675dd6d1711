// The "SysIPAddress32" class: the IPv4 address entry widget behind the IPM_* messages.
#include "platform/ClassHost.h"
#include "platform/IpAddressEdit.h"

namespace ClassHost {

LRESULT IpAddressProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    if (Msg == WM_CREATE) {
        auto *E = new KeepInput<IpAddressEdit>;
        QObject::connect(E, &IpAddressEdit::Changed, E, [Wnd] {
            if (IsWindow(Wnd))
                NotifyParent(Wnd, EN_CHANGE);
        });
        HostWidget(Wnd, E);
        return 0;
    }
    auto *E = qobject_cast<IpAddressEdit *>(HostedWidget(Wnd));
    if (!E)
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    if (IsInputMessage(Msg) && Msg != WM_MOUSEWHEEL) {
        if (PassEventToHostedWidget(Wnd))
            return 0;
        if (auto Key = KeyForMessage(Msg, WParam)) {
            E->TypeKey(Key.get());
            return 0;
        }
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
    LRESULT Result = 0;
    if (CommonMessage(Wnd, E, Msg, WParam, LParam, &Result))
        return Result;
    switch (Msg) {
    case IPM_CLEARADDRESS:
        E->Clear();
        return 0;
    case IPM_SETADDRESS:
        E->SetAddress(DWORD(LParam));
        return TRUE;
    case IPM_GETADDRESS:
        if (auto *Out = reinterpret_cast<DWORD *>(LParam))
            *Out = E->Address();
        return E->FilledCount();
    case IPM_SETRANGE:
        return E->SetRange(int(WParam), int(LParam & 0xFF), int((LParam >> 8) & 0xFF)) ? TRUE : FALSE;
    case IPM_SETFOCUS:
        SetFocus(Wnd);
        E->SetFocusField(int(WParam));
        return 0;
    case IPM_ISBLANK:
        return E->IsBlank() ? TRUE : FALSE;
    case WM_SETFOCUS:
        E->SetFocusField(E->CurrentField());
        return 0;
    case WM_SETTEXT:
        return E->SetText(TextOf(LParam)) ? TRUE : FALSE;
    case WM_GETTEXT:
        return ReturnText(LParam, E->Text());
    case WM_GETTEXTLENGTH:
        return E->Text().size();
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_WANTARROWS;
    default:
        return DefWindowProc(Wnd, Msg, WParam, LParam);
    }
}

} // namespace ClassHost
