#pragma once
// Failure messages show Qt text as text rather than as arrays of UTF-16 units. One header for every test
// program.

#include <QString>

#include <ostream>

inline void PrintTo(const QString &S, std::ostream *Out) { *Out << '"' << S.toStdString() << '"'; }
