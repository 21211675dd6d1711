#pragma once
// Readable failure messages for Qt text in this test program.

#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString &S, std::ostream *Out)
{
    *Out << '"' << S.toStdString() << '"';
}
