#include "app/network/DhclientLeases.h"

#include "app/network/Ipv4Text.h"

#include <QDate>
#include <QTime>

namespace {

struct TToken
{
    QString Text;
    int Line = 0;
    bool Quoted = false;
    bool Is(char C) const { return !Quoted && Text.size() == 1 && Text[0] == QLatin1Char(C); }
};

using TStatement = QList<TToken>;

bool Tokenize(const QString &Text, QList<TToken> &Tokens, QString *Error)
{
    int Line = 1;
    for (int I = 0; I < Text.size();) {
        const QChar C = Text[I];
        if (C == u'\n')
            ++Line;
        if (C.isSpace()) {
            ++I;
        } else if (C == u'#') {
            while (I < Text.size() && Text[I] != u'\n')
                ++I;
        } else if (C == u'{' || C == u'}' || C == u';') {
            Tokens.append({QString(C), Line, false});
            ++I;
        } else if (C == u'"') {
            const int Start = Line;
            QString Value;
            for (++I; I < Text.size() && Text[I] != u'"'; ++I) {
                if (Text[I] == u'\n')
                    ++Line;
                if (Text[I] == u'\\' && I + 1 < Text.size())
                    ++I;
                Value.append(Text[I]);
            }
            if (I >= Text.size()) {
                *Error = QStringLiteral("line %1: text without its closing quote").arg(Start);
                return false;
            }
            ++I;
            Tokens.append({Value, Start, true});
        } else {
            const int Start = I;
            while (I < Text.size() && !Text[I].isSpace() && !QStringLiteral("{};\"#").contains(Text[I]))
                ++I;
            Tokens.append({Text.mid(Start, I - Start), Line, false});
        }
    }
    return true;
}

// "W YYYY/MM/DD HH:MM:SS" in UTC, "epoch N" or "never" (the largest time the records hold).
bool ReadExpiry(const TStatement &S, qint64 &Seconds)
{
    if (S.size() == 2 && S[1].Text == QLatin1String("never")) {
        Seconds = 0xFFFFFFFFLL;
        return true;
    }
    bool Ok = false;
    if (S.size() == 3 && S[1].Text == QLatin1String("epoch")) {
        Seconds = S[2].Text.toLongLong(&Ok);
        return Ok && Seconds >= 0;
    }
    // Some clients add the zone name after the time.
    if (S.size() != 4 && !(S.size() == 5 && S[4].Text == QLatin1String("UTC")))
        return false;
    const QDate Date = QDate::fromString(S[2].Text, QStringLiteral("yyyy/M/d"));
    const QTime Time = QTime::fromString(S[3].Text, QStringLiteral("H:m:s"));
    if (!Date.isValid() || !Time.isValid() || Date.year() < 1970)
        return false;
    Seconds = (Date.toJulianDay() - QDate(1970, 1, 1).toJulianDay()) * 86400 + Time.msecsSinceStartOfDay() / 1000;
    return true;
}

bool ReadLeaseStatement(const TStatement &S, TDhclientLease &Lease, QString *Error)
{
    const QString &Keyword = S[0].Text;
    const auto Fail = [&](const QString &Why) {
        *Error = QStringLiteral("line %1: %2").arg(S[0].Line).arg(Why);
        return false;
    };
    if (Keyword == QLatin1String("interface")) {
        if (S.size() != 2)
            return Fail(QStringLiteral("interface needs one name"));
        Lease.Interface = S[1].Text;
    } else if (Keyword == QLatin1String("expire")) {
        if (!ReadExpiry(S, Lease.Lease.Expires))
            return Fail(QStringLiteral("expire is not a date"));
    } else if (Keyword == QLatin1String("option") && S.size() >= 2) {
        const QString &Name = S[1].Text;
        if (Name == QLatin1String("dhcp-server-identifier")) {
            const auto Server = S.size() == 3 ? ParseDottedQuad(S[2].Text) : std::nullopt;
            if (!Server)
                return Fail(QStringLiteral("dhcp-server-identifier is not an IPv4 address"));
            Lease.Lease.Server = DottedQuad(*Server);
        } else if (Name == QLatin1String("dhcp-lease-time")) {
            bool Ok = false;
            Lease.Lease.LeaseTime = S.size() == 3 ? S[2].Text.toLongLong(&Ok) : 0;
            if (!Ok || Lease.Lease.LeaseTime < 0)
                return Fail(QStringLiteral("dhcp-lease-time is not a number of seconds"));
        }
    }
    return true;
}

class TLeaseParser
{
public:
    explicit TLeaseParser(const QList<TToken> &Tokens) : FTokens(Tokens) {}

    bool Run(QList<TDhclientLease> &Leases, QString *Error)
    {
        while (FAt < FTokens.size()) {
            TStatement S;
            if (!Statement(S, Error))
                return false;
            if (!S.isEmpty() && S.last().Is('{')) {
                const bool IsLease = S.size() == 2 && S[0].Text == QLatin1String("lease");
                TDhclientLease Lease;
                if (!Block(IsLease ? &Lease : nullptr, S.last().Line, Error))
                    return false;
                if (IsLease && !Lease.Interface.isEmpty()) {
                    Lease.Lease.Found = true;
                    Leases.append(Lease);
                }
            }
        }
        return true;
    }

private:
    // The words up to and including ";" or "{"; a stray "}" or the end of the text is an error.
    bool Statement(TStatement &S, QString *Error)
    {
        while (FAt < FTokens.size()) {
            const TToken &T = FTokens[FAt++];
            if (T.Is('}')) {
                *Error = S.isEmpty() ? QStringLiteral("line %1: \"}\" without its block").arg(T.Line)
                                     : QStringLiteral("line %1: statement without its \";\"").arg(S.first().Line);
                return false;
            }
            S.append(T);
            if (T.Is(';') || T.Is('{'))
                return true;
        }
        *Error = QStringLiteral("line %1: statement without its \";\"").arg(S.first().Line);
        return false;
    }

    // Reads up to the block's "}"; statements of a lease go into Lease, nested blocks are passed over.
    bool Block(TDhclientLease *Lease, int OpenLine, QString *Error)
    {
        while (FAt < FTokens.size()) {
            if (FTokens[FAt].Is('}')) {
                ++FAt;
                return true;
            }
            TStatement S;
            if (!Statement(S, Error))
                return false;
            if (S.last().Is('{')) {
                if (!Block(nullptr, S.last().Line, Error))
                    return false;
            } else if (Lease && S.size() > 1 && !ReadLeaseStatement(S.first(S.size() - 1), *Lease, Error)) {
                return false;
            }
        }
        *Error = QStringLiteral("line %1: block without its \"}\"").arg(OpenLine);
        return false;
    }

    const QList<TToken> &FTokens;
    qsizetype FAt = 0;
};

} // namespace

bool ReadDhclientLeases(const QByteArray &Text, QList<TDhclientLease> &Leases, QString *Error)
{
    Leases.clear();
    QList<TToken> Tokens;
    if (!Tokenize(QString::fromUtf8(Text), Tokens, Error) || !TLeaseParser(Tokens).Run(Leases, Error)) {
        Leases.clear();
        return false;
    }
    return true;
}

TDhcpLease NewestLease(const QList<TDhclientLease> &Leases, const QString &Interface)
{
    TDhcpLease Newest;
    for (const TDhclientLease &L : Leases)
        if (L.Interface == Interface && (!Newest.Found || L.Lease.Expires >= Newest.Expires))
            Newest = L.Lease;
    return Newest;
}
