#pragma once
// TApplicationEvents: the application's events for any number of listeners. Each instance (made without
// an owner, or owned by a form) sees every queued message before it is dispatched; setting Handled stops
// the dispatch (the other instances still see the message unless one calls CancelDispatch).

#include "framework/forms/Forms.h"

class TApplicationEvents : public TComponent
{
    KIV_OBJECT(TApplicationEvents, TComponent)
public:
    void Construct(TComponent *AOwner) override;
    void BeforeDestruction() override;

    // The instances after this one do not see the message being delivered.
    void CancelDispatch() { FCancelDispatch = true; }

    TMessageEvent OnMessage;
    TExceptionEvent OnException;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;

private:
    friend class TApplication;
    // Answers true when the dispatch to further instances was cancelled.
    bool DoMessage(MSG &Msg, bool &Handled);
    bool FCancelDispatch = false;
};
