#pragma once
// A device's record in the device manager's database (/run/udev/data/nIFINDEX for a network interface):
// lines of a one-letter kind, ":" and a value; "E:" lines are KEY=VALUE properties.

#include <QByteArray>
#include <QString>

struct TUdevDevice
{
    QString Vendor;
    QString Model;
};

// The hardware database's vendor and model names. False with "line N: why" in Error for a line of another
// shape or a property without "=".
bool ReadUdevDatabase(const QByteArray &Text, TUdevDevice &Device, QString *Error);
