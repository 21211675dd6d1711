#include "app/network/ResolvConf.h"

#include "app/network/Ipv4Text.h"

#include <QRegularExpression>

#include <arpa/inet.h>

bool ReadResolvConf(const QByteArray &Text, TResolvConf &Conf, QString *Error)
{
    static const QRegularExpression Blanks(QStringLiteral("[ \\t]+"));
    Conf = TResolvConf();
    const QList<QByteArray> Lines = Text.split('\n');
    for (int I = 0; I < Lines.size(); ++I) {
        const QString Line = QString::fromUtf8(Lines[I]).trimmed();
        if (Line.isEmpty() || Line.startsWith(u'#') || Line.startsWith(u';'))
            continue;
        const QStringList Words = Line.split(Blanks, Qt::SkipEmptyParts);
        const QString &Keyword = Words.first();
        if (Keyword == QLatin1String("nameserver")) {
            if (Words.size() < 2) {
                *Error = QStringLiteral("line %1: nameserver without an address").arg(I + 1);
                return false;
            }
            if (const auto Value = ParseDottedQuad(Words[1])) {
                Conf.NameServers.append(DottedQuad(*Value));
                continue;
            }
            // An IPv6 server may carry a zone ("fe80::1%eth0").
            const QByteArray Address = Words[1].section(u'%', 0, 0).toLatin1();
            in6_addr Ipv6;
            if (inet_pton(AF_INET6, Address.constData(), &Ipv6) != 1) {
                *Error = QStringLiteral("line %1: \"%2\" is not an address").arg(I + 1).arg(Words[1]);
                return false;
            }
        } else if ((Keyword == QLatin1String("domain") || Keyword == QLatin1String("search")) && Words.size() > 1) {
            Conf.Domain = Words[1];
        }
    }
    return true;
}
