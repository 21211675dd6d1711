#include "app/network/SmbConf.h"

#include "platform/IpHelper.h"

#include <QStringList>

#include <optional>

namespace {

// Case and inner blanks of section and parameter names do not matter: "WINS Server" is "winsserver".
QString NormalName(const QString &Name)
{
    QString Result;
    for (QChar C : Name)
        if (!C.isSpace())
            Result.append(C.toLower());
    return Result;
}

std::optional<bool> TruthValue(const QString &Value)
{
    const QString V = Value.toLower();
    if (V == QLatin1String("yes") || V == QLatin1String("true") || V == QLatin1String("on") || V == QLatin1String("1"))
        return true;
    if (V == QLatin1String("no") || V == QLatin1String("false") || V == QLatin1String("off") || V == QLatin1String("0"))
        return false;
    return std::nullopt;
}

} // namespace

bool ReadSmbConf(const QByteArray &Text, TSmbConf &Conf, QString *Error)
{
    Conf = TSmbConf();
    // A parameter given twice takes its last value.
    bool WinsServer = false;
    bool WinsSupport = false;
    // Parameters before the first section belong to [global].
    bool InGlobal = true;
    const QList<QByteArray> Lines = Text.split('\n');
    for (int I = 0; I < Lines.size(); ++I) {
        const int LineNumber = I + 1;
        QString Line = QString::fromUtf8(Lines[I]).trimmed();
        while (Line.endsWith(u'\\') && I + 1 < Lines.size()) {
            Line.chop(1);
            Line += QString::fromUtf8(Lines[++I]).trimmed();
        }
        if (Line.isEmpty() || Line.startsWith(u'#') || Line.startsWith(u';'))
            continue;
        if (Line.startsWith(u'[')) {
            const int Close = Line.indexOf(u']');
            if (Close < 0) {
                *Error = QStringLiteral("line %1: section name without \"]\"").arg(LineNumber);
                return false;
            }
            InGlobal = NormalName(Line.mid(1, Close - 1)) == QLatin1String("global");
            continue;
        }
        const int Equals = Line.indexOf(u'=');
        if (Equals < 0) {
            *Error = QStringLiteral("line %1: \"%2\" is not a parameter").arg(LineNumber).arg(Line);
            return false;
        }
        if (!InGlobal)
            continue;
        const QString Name = NormalName(Line.left(Equals));
        const QString Value = Line.mid(Equals + 1).trimmed();
        if (Name == QLatin1String("winsserver")) {
            WinsServer = !Value.isEmpty();
        } else if (Name == QLatin1String("winssupport")) {
            const auto Truth = TruthValue(Value);
            if (!Truth) {
                *Error = QStringLiteral("line %1: wins support = \"%2\" is neither yes nor no").arg(LineNumber).arg(Value);
                return false;
            }
            WinsSupport = *Truth;
        } else if (Name == QLatin1String("netbiosscope")) {
            Conf.ScopeId = Value;
        }
    }
    Conf.NodeType = WinsServer || WinsSupport ? HYBRID_NODETYPE : BROADCAST_NODETYPE;
    return true;
}
