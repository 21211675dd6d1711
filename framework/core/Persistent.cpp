#include "framework/core/Persistent.h"

#include "framework/core/SysUtils.h"
#include "framework/core/TypInfo.h"

KIV_PUBLISHED(TPersistent) {}

void TPersistent::Assign(TPersistent *Source)
{
    if (Source)
        Source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent *Dest)
{
    Dest->AssignError(this);
}

void TPersistent::AssignError(TPersistent *Source)
{
    QString SourceName = Source ? Source->ClassName() : QStringLiteral("nil");
    throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2").arg(SourceName, ClassName()));
}

void TPersistent::DefineProperties(TFiler *) {}

TPersistent *TPersistent::GetOwner()
{
    return nullptr;
}

QString TPersistent::GetNamePath()
{
    return ClassName();
}

KIV_PUBLISHED(TFiler) {}

void TFiler::Construct(TStream *AStream)
{
    inherited::Construct();
    FStream = AStream;
}
