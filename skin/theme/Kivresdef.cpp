#include "skin/theme/Kivresdef.h"

#include <QCoreApplication>

QString LoadResString(const TkivResString &ResString)
{
    return QCoreApplication::translate("Kivresdef", ResString.Text);
}
