#include "app/network/UdevDatabase.h"

#include <QList>

#include <cctype>

bool ReadUdevDatabase(const QByteArray &Text, TUdevDevice &Device, QString *Error)
{
    Device = TUdevDevice();
    const QList<QByteArray> Lines = Text.split('\n');
    for (int I = 0; I < Lines.size(); ++I) {
        const QByteArray &Line = Lines[I];
        if (Line.isEmpty())
            continue;
        if (Line.size() < 2 || !std::isalpha(static_cast<unsigned char>(Line[0])) || Line[1] != ':') {
            *Error = QStringLiteral("line %1: not a \"K:value\" line").arg(I + 1);
            return false;
        }
        if (Line[0] != 'E')
            continue;
        const int Equals = Line.indexOf('=');
        if (Equals < 0) {
            *Error = QStringLiteral("line %1: property without \"=\"").arg(I + 1);
            return false;
        }
        const QByteArray Key = Line.mid(2, Equals - 2);
        const QString Value = QString::fromUtf8(Line.mid(Equals + 1)).trimmed();
        if (Key == "ID_VENDOR_FROM_DATABASE")
            Device.Vendor = Value;
        else if (Key == "ID_MODEL_FROM_DATABASE")
            Device.Model = Value;
    }
    return true;
}
