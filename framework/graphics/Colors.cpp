#include "framework/graphics/Colors.h"

#include "framework/core/SysUtils.h"

COLORREF ColorToRGB(TColor Color)
{
    if (Color < 0)
        return GetSysColor(Color & 0xFF);
    return COLORREF(Color);
}

const TIdentMap &ColorIdents()
{
    static const TIdentMap Map = {
        {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
        {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
        {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
        {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
        {clMoneyGreen, "clMoneyGreen"}, {clSkyBlue, "clSkyBlue"}, {clCream, "clCream"}, {clMedGray, "clMedGray"},
        {clActiveBorder, "clActiveBorder"}, {clActiveCaption, "clActiveCaption"},
        {clAppWorkSpace, "clAppWorkSpace"}, {clBackground, "clBackground"}, {clBtnFace, "clBtnFace"},
        {clBtnHighlight, "clBtnHighlight"}, {clBtnShadow, "clBtnShadow"}, {clBtnText, "clBtnText"},
        {clCaptionText, "clCaptionText"}, {clDefault, "clDefault"},
        {clGradientActiveCaption, "clGradientActiveCaption"},
        {clGradientInactiveCaption, "clGradientInactiveCaption"}, {clGrayText, "clGrayText"},
        {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"}, {clHotLight, "clHotLight"},
        {clInactiveBorder, "clInactiveBorder"}, {clInactiveCaption, "clInactiveCaption"},
        {clInactiveCaptionText, "clInactiveCaptionText"}, {clInfoBk, "clInfoBk"}, {clInfoText, "clInfoText"},
        {clMenu, "clMenu"}, {clMenuBar, "clMenuBar"}, {clMenuHighlight, "clMenuHighlight"},
        {clMenuText, "clMenuText"}, {clNone, "clNone"}, {clScrollBar, "clScrollBar"},
        {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clWindow, "clWindow"},
        {clWindowFrame, "clWindowFrame"}, {clWindowText, "clWindowText"},
    };
    return Map;
}

bool ColorToIdent(qint64 Color, QString &Ident)
{
    return IntToIdent(qint64(TColor(Color)), Ident, ColorIdents());
}

bool IdentToColor(const QString &Ident, qint64 &Color)
{
    return IdentToInt(Ident, Color, ColorIdents());
}

QString ColorToString(TColor Color)
{
    QString Ident;
    if (ColorToIdent(Color, Ident))
        return Ident;
    return QStringLiteral("$%1").arg(quint32(Color), 8, 16, QLatin1Char('0')).toUpper();
}

TColor StringToColor(const QString &S)
{
    const QString T = S.trimmed();
    qint64 Value = 0;
    if (IdentToColor(T, Value))
        return TColor(Value);
    bool Ok = false;
    if (T.startsWith(u'$'))
        Value = T.mid(1).toLongLong(&Ok, 16);
    else if (T.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        Value = T.mid(2).toLongLong(&Ok, 16);
    else
        Value = T.toLongLong(&Ok, 10);
    if (!Ok || Value < -0x80000000LL || Value > 0xFFFFFFFFLL)
        throw EConvertError(QStringLiteral("'%1' is not a valid colour value").arg(S));
    return TColor(quint32(Value));
}

const TIdentMap &CharsetIdents()
{
    static const TIdentMap Map = {
        {ANSI_CHARSET, "ANSI_CHARSET"}, {DEFAULT_CHARSET, "DEFAULT_CHARSET"}, {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
        {MAC_CHARSET, "MAC_CHARSET"}, {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"}, {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
        {JOHAB_CHARSET, "JOHAB_CHARSET"}, {GB2312_CHARSET, "GB2312_CHARSET"},
        {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"}, {GREEK_CHARSET, "GREEK_CHARSET"},
        {TURKISH_CHARSET, "TURKISH_CHARSET"}, {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
        {HEBREW_CHARSET, "HEBREW_CHARSET"}, {ARABIC_CHARSET, "ARABIC_CHARSET"}, {BALTIC_CHARSET, "BALTIC_CHARSET"},
        {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"}, {THAI_CHARSET, "THAI_CHARSET"},
        {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"}, {OEM_CHARSET, "OEM_CHARSET"},
    };
    return Map;
}

bool CharsetToIdent(qint64 Charset, QString &Ident)
{
    return IntToIdent(Charset, Ident, CharsetIdents());
}

bool IdentToCharset(const QString &Ident, qint64 &Charset)
{
    return IdentToInt(Ident, Charset, CharsetIdents());
}
