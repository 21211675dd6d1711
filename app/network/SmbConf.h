#pragma once
// The file sharing server's configuration: the NetBIOS node type and scope it sets up for the machine.

#include "platform/WinDef.h"

#include <QByteArray>
#include <QString>

struct TSmbConf
{
    // HYBRID_NODETYPE when [global] names a WINS server or makes this machine one, else BROADCAST_NODETYPE.
    UINT NodeType = 0;
    QString ScopeId;
};

// False with "line N: why" in Error for a line that is neither section, parameter nor comment, or for a
// WINS support value that is not a truth value.
bool ReadSmbConf(const QByteArray &Text, TSmbConf &Conf, QString *Error);
