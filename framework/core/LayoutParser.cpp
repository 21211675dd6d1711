#include "framework/core/LayoutParser.h"

#include <limits>

namespace {

bool IsIdentStart(char C)
{
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_';
}

bool IsIdentChar(char C)
{
    return IsIdentStart(C) || (C >= '0' && C <= '9');
}

bool IsDigit(char C)
{
    return C >= '0' && C <= '9';
}

int HexValue(char C)
{
    if (C >= '0' && C <= '9')
        return C - '0';
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    return -1;
}

} // namespace

TParser::TParser(const QByteArray &Text)
    : FText(Text)
{
    NextToken();
}

QString TParser::TokenString() const
{
    return FToken == toString ? FString : QString::fromUtf8(FTokenText);
}

void TParser::SkipBlanks()
{
    while (FPos < FText.size()) {
        const char C = FText.at(FPos);
        if (C == '\n')
            ++FLine;
        else if (static_cast<unsigned char>(C) > ' ')
            return;
        ++FPos;
    }
}

void TParser::NextToken()
{
    SkipBlanks();
    FTokenLine = FLine;
    FTokenText.clear();
    FString.clear();
    if (FPos >= FText.size()) {
        FToken = toEOF;
        return;
    }
    const char C = FText.at(FPos);
    const char Next = FPos + 1 < FText.size() ? FText.at(FPos + 1) : '\0';
    if (IsIdentStart(C)) {
        const qsizetype Start = FPos;
        while (FPos < FText.size() && IsIdentChar(FText.at(FPos)))
            ++FPos;
        FTokenText = FText.mid(Start, FPos - Start);
        FToken = toSymbol;
    } else if (C == '\'' || C == '#') {
        ScanString();
    } else if (IsDigit(C) || C == '$' || (C == '-' && (IsDigit(Next) || Next == '$'))) {
        ScanNumber();
    } else {
        FTokenText = QByteArray(1, C);
        FToken = toChar;
        ++FPos;
    }
}

// A string is a run of 'quoted' parts and #code parts with nothing between them. Quoted bytes are
// UTF-8; codes are UTF-16 units, so characters beyond the BMP come as two codes.
void TParser::ScanString()
{
    FToken = toString;
    const qsizetype Start = FPos;
    for (;;) {
        if (FPos >= FText.size())
            break;
        const char C = FText.at(FPos);
        if (C == '\'') {
            ++FPos;
            QByteArray Part;
            for (;;) {
                if (FPos >= FText.size() || FText.at(FPos) == '\n' || FText.at(FPos) == '\r')
                    Error(QStringLiteral("unterminated string"));
                const char Q = FText.at(FPos++);
                if (Q == '\'') {
                    if (FPos < FText.size() && FText.at(FPos) == '\'') {
                        ++FPos;
                        Part += '\'';
                        continue;
                    }
                    break;
                }
                Part += Q;
            }
            FString += QString::fromUtf8(Part);
        } else if (C == '#') {
            ++FPos;
            qint64 Code = 0;
            bool Any = false;
            const bool Hex = FPos < FText.size() && FText.at(FPos) == '$';
            if (Hex)
                ++FPos;
            while (FPos < FText.size()) {
                const char D = FText.at(FPos);
                const int V = Hex ? HexValue(D) : (IsDigit(D) ? D - '0' : -1);
                if (V < 0)
                    break;
                Code = Code * (Hex ? 16 : 10) + V;
                if (Code > 0xFFFF)
                    Error(QStringLiteral("invalid character code '%1'")
                              .arg(QString::fromUtf8(FText.mid(Start, FPos + 1 - Start))));
                Any = true;
                ++FPos;
            }
            if (!Any)
                Error(QStringLiteral("invalid character code '%1'")
                          .arg(QString::fromUtf8(FText.mid(Start, FPos - Start))));
            FString += QChar(char16_t(Code));
        } else {
            break;
        }
    }
}

void TParser::ScanNumber()
{
    const qsizetype Start = FPos;
    const bool Negative = FText.at(FPos) == '-';
    if (Negative)
        ++FPos;
    auto Invalid = [&]() {
        FTokenText = FText.mid(Start, FPos - Start);
        FToken = toChar;   // so the message quotes what was written
        Error(QStringLiteral("invalid number '%1'").arg(QString::fromUtf8(FTokenText)));
    };
    FToken = toInteger;
    if (FText.at(FPos) == '$') {
        ++FPos;
        quint64 Value = 0;
        int Digits = 0;
        while (FPos < FText.size() && HexValue(FText.at(FPos)) >= 0) {
            Value = Value * 16 + quint64(HexValue(FText.at(FPos++)));
            if (++Digits > 16)
                Invalid();
        }
        if (Digits == 0)
            Invalid();
        // Up to 16 hex digits, read as the two's-complement bit pattern ($FFFFFFFF stays 4294967295).
        FInt = qint64(Negative ? 0 - Value : Value);
    } else {
        while (FPos < FText.size() && IsDigit(FText.at(FPos)))
            ++FPos;
        bool IsFloat = false;
        if (FPos + 1 < FText.size() && FText.at(FPos) == '.' && IsDigit(FText.at(FPos + 1))) {
            IsFloat = true;
            ++FPos;
            while (FPos < FText.size() && IsDigit(FText.at(FPos)))
                ++FPos;
        }
        if (FPos < FText.size() && (FText.at(FPos) == 'e' || FText.at(FPos) == 'E')) {
            qsizetype P = FPos + 1;
            if (P < FText.size() && (FText.at(P) == '+' || FText.at(P) == '-'))
                ++P;
            if (P < FText.size() && IsDigit(FText.at(P))) {
                IsFloat = true;
                FPos = P;
                while (FPos < FText.size() && IsDigit(FText.at(FPos)))
                    ++FPos;
            }
        }
        const QByteArray Text = FText.mid(Start, FPos - Start);
        bool Ok = false;
        if (IsFloat) {
            FToken = toFloat;
            FFloat = Text.toDouble(&Ok);
        } else {
            FInt = Text.toLongLong(&Ok);
        }
        if (!Ok)
            Invalid();
    }
    if (FPos < FText.size() && IsIdentChar(FText.at(FPos))) {
        ++FPos;
        Invalid();
    }
    FTokenText = FText.mid(Start, FPos - Start);
}

bool TParser::TokenSymbolIs(const char *Symbol) const
{
    return FToken == toSymbol && FTokenText.compare(Symbol, Qt::CaseInsensitive) == 0;
}

void TParser::CheckToken(TToken Kind)
{
    if (FToken == Kind)
        return;
    switch (Kind) {
    case toSymbol: ErrorExpected(QStringLiteral("identifier"));
    case toString: ErrorExpected(QStringLiteral("string"));
    case toInteger: ErrorExpected(QStringLiteral("integer"));
    case toFloat: ErrorExpected(QStringLiteral("number"));
    case toEOF: ErrorExpected(QStringLiteral("end of file"));
    case toChar: ErrorExpected(QStringLiteral("character"));
    }
    ErrorExpected(QStringLiteral("token"));
}

void TParser::CheckChar(char C)
{
    if (!TokenCharIs(C))
        ErrorExpected(QStringLiteral("'%1'").arg(QLatin1Char(C)));
}

void TParser::CheckSymbol(const char *Symbol)
{
    if (!TokenSymbolIs(Symbol))
        ErrorExpected(QStringLiteral("'%1'").arg(QLatin1String(Symbol)));
}

QByteArray TParser::HexToBinary()
{
    CheckChar('{');
    QByteArray Result;
    for (;;) {
        SkipBlanks();
        if (FPos >= FText.size()) {
            FTokenLine = FLine;
            FToken = toEOF;
            ErrorExpected(QStringLiteral("'}'"));
        }
        const char C = FText.at(FPos);
        if (C == '}') {
            ++FPos;
            break;
        }
        const int Hi = HexValue(C);
        const int Lo = FPos + 1 < FText.size() ? HexValue(FText.at(FPos + 1)) : -1;
        if (Hi < 0 || Lo < 0) {
            FTokenLine = FLine;
            Error(QStringLiteral("invalid binary data '%1'")
                      .arg(QString::fromUtf8(FText.mid(FPos, 2))));
        }
        Result += char(Hi * 16 + Lo);
        FPos += 2;
    }
    NextToken();
    return Result;
}

QString TParser::DescribeToken() const
{
    switch (FToken) {
    case toEOF:
        return QStringLiteral("end of file");
    case toString: {
        QString S = FString;
        if (S.size() > 40)
            S = S.left(40) + QStringLiteral("...");
        return QStringLiteral("string '%1'").arg(S);
    }
    default: {
        QString S = QString::fromUtf8(FTokenText);
        if (S.size() > 40)
            S = S.left(40) + QStringLiteral("...");
        return QStringLiteral("'%1'").arg(S);
    }
    }
}

void TParser::Error(const QString &Message) const
{
    throw EReadError(QStringLiteral("Line %1: %2").arg(FTokenLine).arg(Message));
}

void TParser::ErrorExpected(const QString &What) const
{
    Error(QStringLiteral("expected %1 but found %2").arg(What, DescribeToken()));
}
