#include "tools/netsh/NmcliCalls.h"

#include <QRegularExpression>

#include <bit>

namespace {

int PrefixLength(const QString &Mask)
{
    quint32 Value = 0;
    for (const QString &Octet : Mask.split(u'.'))
        Value = (Value << 8) | Octet.toUInt();
    return std::popcount(Value);
}

QStringList Settings(const TNetshCommand &Command)
{
    bool Static = Command.Source == TNetshSource::Static;
    if (Command.Target == TNetshTarget::Dns)
        return {"ipv4.dns", Static ? Command.Address : QString(), "ipv4.ignore-auto-dns", Static ? "yes" : "no"};
    // Automatic configuration keeps nothing of a static one, the old gateway's metric included.
    if (!Static)
        return {"ipv4.method", "auto", "ipv4.addresses", "", "ipv4.gateway", "", "ipv4.route-metric", "-1"};
    QStringList Settings{"ipv4.method", "manual",
                         "ipv4.addresses", Command.Address + u'/' + QString::number(PrefixLength(Command.Mask)),
                         "ipv4.gateway", Command.Gateway};
    if (!Command.GatewayMetric.isEmpty())
        Settings << "ipv4.route-metric" << Command.GatewayMetric;
    return Settings;
}

} // namespace

QList<QStringList> NmcliCalls(const TNetshCommand &Command)
{
    return {QStringList{"connection", "modify", Command.Name} + Settings(Command),
            QStringList{"connection", "up", Command.Name}};
}

QString ShellQuote(const QString &Arg)
{
    static const QRegularExpression Safe(QStringLiteral("^[A-Za-z0-9_@%+=:,./-]+$"));
    if (Safe.match(Arg).hasMatch())
        return Arg;
    return u'\'' + QString(Arg).replace(u'\'', QStringLiteral("'\\''")) + u'\'';
}

QString ShellCommandLine(const QString &Program, const QStringList &Args)
{
    QStringList Words{ShellQuote(Program)};
    for (const QString &Arg : Args)
        Words << ShellQuote(Arg);
    return Words.join(u' ');
}
