#include "app/network/NetworkFacts.h"

bool IsInterfaceName(const QString &Name)
{
    const QByteArray Bytes = Name.toUtf8();
    if (Bytes.isEmpty() || Bytes.size() > 15 || Name == QLatin1String(".") || Name == QLatin1String(".."))
        return false;
    for (char C : Bytes)
        if (C == '/' || C == ':' || static_cast<unsigned char>(C) <= ' ' || C == 0x7F)
            return false;
    return true;
}
