#include "Cp950Fit.h"

#include "Cp950.h"

QStringList TextsCp950CannotHold(const QStringList& texts)
{
    QStringList lacking;
    // Bytes that were no character come back as they were read; only missing characters differ.
    for (const QString& text : texts)
        if (Cp950::decode(Cp950::encode(text)) != text) lacking << text;
    return lacking;
}
