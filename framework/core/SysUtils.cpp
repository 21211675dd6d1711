#include "framework/core/SysUtils.h"

Exception::Exception(const QString &Msg)
{
    SetMessage(Msg);
}

void Exception::SetMessage(const QString &Value)
{
    FMessage = Value;
    FWhat = Value.toUtf8();
}
