#include "framework/forms/AppEvnts.h"

KIV_PUBLISHED(TApplicationEvents)
{
    Property("OnActivate", &TApplicationEvents::OnActivate, &TApplicationEvents::OnActivate);
    Property("OnDeactivate", &TApplicationEvents::OnDeactivate, &TApplicationEvents::OnDeactivate);
    Property("OnException", &TApplicationEvents::OnException, &TApplicationEvents::OnException);
    Property("OnMessage", &TApplicationEvents::OnMessage, &TApplicationEvents::OnMessage);
    Property("OnMinimize", &TApplicationEvents::OnMinimize, &TApplicationEvents::OnMinimize);
    Property("OnRestore", &TApplicationEvents::OnRestore, &TApplicationEvents::OnRestore);
}

void TApplicationEvents::Construct(TComponent *AOwner)
{
    inherited::Construct(AOwner);
    Application->Initialize();
    Application->FAppEvents.append(this);
}

void TApplicationEvents::BeforeDestruction()
{
    if (TApplication *App = TApplicationRef::Peek())
        App->FAppEvents.removeAll(this);
    inherited::BeforeDestruction();
}

bool TApplicationEvents::DoMessage(MSG &Msg, bool &Handled)
{
    FCancelDispatch = false;
    if (OnMessage)
        OnMessage(Msg, Handled);
    return std::exchange(FCancelDispatch, false);
}
