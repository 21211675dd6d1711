#include "app/network/Ipv4Text.h"

#include <QList>

std::optional<quint32> ParseDottedQuad(QStringView Text)
{
    const auto Parts = Text.split(u'.');
    if (Parts.size() != 4)
        return std::nullopt;
    quint32 Value = 0;
    for (QStringView Part : Parts) {
        if (Part.isEmpty() || Part.size() > 3)
            return std::nullopt;
        uint Octet = 0;
        for (QChar C : Part) {
            if (C < u'0' || C > u'9')
                return std::nullopt;
            Octet = Octet * 10 + uint(C.unicode() - u'0');
        }
        if (Octet > 255)
            return std::nullopt;
        Value = (Value << 8) | Octet;
    }
    return Value;
}

QString DottedQuad(quint32 Value)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(Value >> 24)
        .arg((Value >> 16) & 0xFF)
        .arg((Value >> 8) & 0xFF)
        .arg(Value & 0xFF);
}

QString PrefixMask(int PrefixLength)
{
    if (PrefixLength < 0 || PrefixLength > 32)
        return QString();
    const quint32 Mask = PrefixLength == 0 ? 0 : ~quint32(0) << (32 - PrefixLength);
    return DottedQuad(Mask);
}
