#pragma once
// Failure messages show texts as text, not as arrays of code units.

#include <QString>

#include <ostream>

inline void PrintTo(const QString &S, std::ostream *Out) { *Out << '"' << S.toStdString() << '"'; }
