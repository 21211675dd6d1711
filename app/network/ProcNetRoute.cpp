#include "app/network/ProcNetRoute.h"

#include "app/network/Ipv4Text.h"

#include <QRegularExpression>
#include <QStringList>
#include <QtEndian>

#include <algorithm>
#include <optional>

namespace {

enum TColumn { Iface, Destination, Gateway, Flags, RefCnt, Use, Metric, Mask, ColumnCount };

std::optional<quint32> HexWord(const QString &Field)
{
    bool Ok = false;
    const uint Value = Field.toUInt(&Ok, 16);
    if (!Ok || Field.size() > 8)
        return std::nullopt;
    return Value;
}

// The kernel prints each network-order address as a host integer, and the machines we run on are
// little-endian: "010200C0" is 192.0.2.1.
QString AddressText(quint32 Word) { return DottedQuad(qbswap(Word)); }

} // namespace

bool ReadProcNetRoute(const QByteArray &Text, QList<TDefaultGateway> &Gateways, QString *Error)
{
    static const QRegularExpression Blanks(QStringLiteral("\\s+"));
    Gateways.clear();
    const QList<QByteArray> Lines = Text.split('\n');
    bool Heading = false;
    for (int I = 0; I < Lines.size(); ++I) {
        const QStringList Fields = QString::fromUtf8(Lines[I]).split(Blanks, Qt::SkipEmptyParts);
        if (Fields.isEmpty())
            continue;
        if (!Heading) {
            if (Fields.first() != QLatin1String("Iface")) {
                *Error = QStringLiteral("line %1: no \"Iface\" heading").arg(I + 1);
                return false;
            }
            Heading = true;
            continue;
        }
        if (Fields.size() < ColumnCount) {
            *Error = QStringLiteral("line %1: %2 columns, %3 needed").arg(I + 1).arg(Fields.size()).arg(int(ColumnCount));
            return false;
        }
        const auto Dest = HexWord(Fields[Destination]);
        const auto Via = HexWord(Fields[Gateway]);
        const auto RouteMask = HexWord(Fields[Mask]);
        if (!Dest || !Via || !RouteMask || !HexWord(Fields[Flags])) {
            *Error = QStringLiteral("line %1: a field is not hexadecimal").arg(I + 1);
            Gateways.clear();
            return false;
        }
        if (*Dest != 0 || *RouteMask != 0 || *Via == 0)
            continue;
        const TDefaultGateway Found{Fields[Iface], AddressText(*Via)};
        const bool Known = std::any_of(Gateways.cbegin(), Gateways.cend(), [&](const TDefaultGateway &G) {
            return G.Interface == Found.Interface && G.Gateway == Found.Gateway;
        });
        if (!Known)
            Gateways.append(Found);
    }
    return true;
}
