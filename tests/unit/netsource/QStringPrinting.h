#pragma once
// Failure messages show QStrings as text rather than as arrays of UTF-16 units.

#include <QString>

#include <ostream>

inline void PrintTo(const QString &Text, std::ostream *Out) { *Out << '"' << Text.toStdString() << '"'; }
