#pragma once
// A built-in style written as a theme file: every catalogue item under its item name, the pictures
// as the bitmap files the program carries. Items without a picture are left out.

#include <QString>
#include <QStringList>

// The style names export takes: MacOS, WinXP, DeepBlue, Protein, BlueGlass.
QStringList ExportableStyles();

// Raises Exception for a style not in ExportableStyles() (matched without regard to case) or a
// picture missing from the program's resources; OutFile is then left as it was.
void ExportStyle(const QString &StyleName, const QString &OutFile);
