#pragma once
// Dotted IPv4 texts as the records hold them.

#include <QString>
#include <QStringView>

#include <optional>

// Four decimal parts of 0 to 255 and nothing else; the value in reading order (first part highest).
std::optional<quint32> ParseDottedQuad(QStringView Text);
QString DottedQuad(quint32 Value);
// 24 -> "255.255.255.0"; lengths outside 0..32 give an empty text.
QString PrefixMask(int PrefixLength);
