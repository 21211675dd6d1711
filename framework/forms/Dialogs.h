#pragma once
// Message boxes.

#include "framework/core/Sets.h"

#include <QString>

#include <functional>

KIV_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
KIV_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp)
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// Shows Msg modally with the buttons asked for and answers the modal result of the one pressed (mrOk ...;
// mrCancel when the box is closed otherwise). HelpCtx is kept for callers and not used.
int MessageDlg(const QString &Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
void ShowMessage(const QString &Msg);

// Replaces the modal box (tests answer without a modal loop); nullptr restores it.
using TMessageDlgHook = std::function<int(const QString &Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons)>;
void SetMessageDlgHook(TMessageDlgHook Hook);
