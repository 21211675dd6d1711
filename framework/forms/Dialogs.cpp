// Message boxes on QMessageBox.
#include "framework/forms/Dialogs.h"

#include "framework/forms/Forms.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

TMessageDlgHook &Hook()
{
    static TMessageDlgHook H;
    return H;
}

struct TButtonInfo
{
    TMsgDlgBtn Button;
    QMessageBox::StandardButton Qt;
    int Result;
};

const TButtonInfo ButtonTable[] = {
    {mbYes, QMessageBox::Yes, mrYes},          {mbNo, QMessageBox::No, mrNo},
    {mbOK, QMessageBox::Ok, mrOk},             {mbCancel, QMessageBox::Cancel, mrCancel},
    {mbAbort, QMessageBox::Abort, mrAbort},    {mbRetry, QMessageBox::Retry, mrRetry},
    {mbIgnore, QMessageBox::Ignore, mrIgnore}, {mbAll, QMessageBox::YesToAll, mrAll},
    {mbNoToAll, QMessageBox::NoToAll, mrNoToAll}, {mbYesToAll, QMessageBox::YesToAll, mrYesToAll},
    {mbHelp, QMessageBox::Help, mrNone},
};

} // namespace

void SetMessageDlgHook(TMessageDlgHook H)
{
    Hook() = std::move(H);
}

int MessageDlg(const QString &Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int)
{
    if (Hook())
        return Hook()(Msg, DlgType, Buttons);
    static const QMessageBox::Icon Icons[] = {QMessageBox::Warning, QMessageBox::Critical, QMessageBox::Information,
                                              QMessageBox::Question, QMessageBox::NoIcon};
    static const char *const Titles[] = {"Warning", "Error", "Information", "Confirm", ""};
    QMessageBox Box(Icons[DlgType], QString::fromLatin1(Titles[DlgType]), Msg);
    if (DlgType == mtCustom)
        Box.setWindowTitle(QApplication::applicationDisplayName());
    QMessageBox::StandardButtons Standard;
    for (const TButtonInfo &B : ButtonTable)
        if (Buttons.Contains(B.Button))
            Standard |= B.Qt;
    Box.setStandardButtons(Standard ? Standard : QMessageBox::StandardButtons(QMessageBox::Ok));
    const auto Pressed = QMessageBox::StandardButton(Box.exec());
    for (const TButtonInfo &B : ButtonTable)
        if (B.Qt == Pressed && Buttons.Contains(B.Button))
            return B.Result;
    return Pressed == QMessageBox::Ok ? mrOk : mrCancel;
}

void ShowMessage(const QString &Msg)
{
    MessageDlg(Msg, mtCustom, TMsgDlgButtons{mbOK}, 0);
}
