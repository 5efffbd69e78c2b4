#include "app/window_look.h"

#include <QFontInfo>

namespace at::look {

void installFontSubstitutes() {
    // Liberation Sans has Arial's metrics, so captions keep the widths they were laid out for.
    const QStringList sans = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                              QStringLiteral("DejaVu Sans")};
    for (const QString& family : {QStringLiteral("MS Sans Serif"), QStringLiteral("Arial")}) {
        if (QFont::substitutes(family).isEmpty())
            QFont::insertSubstitutions(family, sans);
    }
}

QFont windowFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(8.25);
    // MS Sans Serif runs about 6% narrower than Arial at the same size; the captions were
    // measured for it, so its stand-in is narrowed to match instead of being cut off.
    if (QFontInfo(font).family() != font.family())
        font.setStretch(94);
    return font;
}

QFont figuresFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    font.setBold(true);
    return font;
}

}  // namespace at::look
