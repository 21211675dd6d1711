#pragma once
// The "interface ip set address|dns" commands of netsh, read from an argument vector with netsh's
// flexible syntax: keywords in any case, "tag=value" with or without blanks around "=", and values
// without tags taken by the tags in their order, counted on from the last tag written.

#include <QString>
#include <QStringList>

#include <optional>

enum class TNetshTarget { Address, Dns };
enum class TNetshSource { Static, Dhcp };

struct TNetshCommand
{
    TNetshTarget Target = TNetshTarget::Address;
    TNetshSource Source = TNetshSource::Static;
    QString Name;
    // Dotted quads, checked; only with source static.
    QString Address;       // for dns: empty for none
    QString Mask;
    QString Gateway;       // empty for none (also given as 0.0.0.0)
    QString GatewayMetric; // empty when not given
    friend bool operator==(const TNetshCommand &, const TNetshCommand &) = default;
};

// Either the command or why it was refused: one line that names the offending token.
struct TNetshParse
{
    std::optional<TNetshCommand> Command;
    QString Error;
};

// Args: the arguments after the program name.
TNetshParse ParseNetshCommand(const QStringList &Args);

bool IsNetshHelpRequest(const QStringList &Args);
QString NetshUsage();
