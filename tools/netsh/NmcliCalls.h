#pragma once
// What nmcli has to be told to carry out a netsh command.

#include "tools/netsh/NetshCommand.h"

#include <QList>
#include <QStringList>

// The argument lists of the nmcli runs, in order: the connection's settings, then bringing it up.
QList<QStringList> NmcliCalls(const TNetshCommand &Command);

// Arg as a POSIX shell reads it back: bare when it is made only of safe characters, else in single quotes.
QString ShellQuote(const QString &Arg);
QString ShellCommandLine(const QString &Program, const QStringList &Args);
