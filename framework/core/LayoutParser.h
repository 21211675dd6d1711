#pragma once
// The tokenizer of the text window layout: symbols, numbers, strings (quoted parts, '' escapes and
// #nnnn character codes run together), single characters, and raw { hex } blocks on request.

#include "framework/core/SysUtils.h"

#include <QByteArray>
#include <QString>

class TParser
{
public:
    enum TToken { toEOF, toSymbol, toString, toInteger, toFloat, toChar };

    explicit TParser(const QByteArray &Text);

    TToken Token() const { return FToken; }
    char TokenChar() const { return FToken == toChar ? FTokenText.at(0) : '\0'; }
    QString TokenString() const;                 // symbol or number as written, the value of a string
    qint64 TokenInt() const { return FInt; }
    double TokenFloat() const { return FFloat; }
    int SourceLine() const { return FTokenLine; }

    void NextToken();
    bool TokenSymbolIs(const char *Symbol) const;
    bool TokenCharIs(char C) const { return FToken == toChar && FTokenText.at(0) == C; }
    void CheckToken(TToken Kind);
    void CheckChar(char C);
    void CheckSymbol(const char *Symbol);
    // The bytes of a { hex } block; the current token is its '{'. Leaves the token after '}'.
    QByteArray HexToBinary();

    // EReadError naming the line of the current token.
    [[noreturn]] void Error(const QString &Message) const;
    [[noreturn]] void ErrorExpected(const QString &What) const;
    QString DescribeToken() const;

private:
    void SkipBlanks();
    void ScanString();
    void ScanNumber();

    QByteArray FText;
    qsizetype FPos = 0;
    int FLine = 1;
    TToken FToken = toEOF;
    int FTokenLine = 1;
    QByteArray FTokenText;   // raw text of a symbol, number or character
    QString FString;
    qint64 FInt = 0;
    double FFloat = 0;
};
