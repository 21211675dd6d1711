#include "framework/core/Sets.h"

TEnumInfo::TEnumInfo(const char *TypeName, const char *Names) : FName(QString::fromLatin1(TypeName))
{
    for (const QString &Item : QString::fromLatin1(Names).split(QLatin1Char(',')))
        FNames.append(Item.trimmed());
}

QString TEnumInfo::NameOf(int Ordinal) const
{
    return Ordinal >= 0 && Ordinal < FNames.size() ? FNames[Ordinal] : QString();
}

int TEnumInfo::ValueOf(const QString &Ident) const
{
    for (int I = 0; I < FNames.size(); ++I)
        if (FNames[I].compare(Ident, Qt::CaseInsensitive) == 0)
            return I;
    return -1;
}

const TEnumInfo *BooleanEnumInfo()
{
    static const TEnumInfo Info("Boolean", "False, True");
    return &Info;
}
