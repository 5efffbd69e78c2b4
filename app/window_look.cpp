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

QRect grown(const QRect& initial, Growth growth, const QSize& extra) {
    // The speed profile is 2175 twips high and the altitude profile 3915: 5 to 9.
    const int speedShare = extra.height() * 5 / 14;
    switch (growth) {
        case Growth::Stays:
            return initial;
        case Growth::KeepsRight:
            return initial.translated(extra.width(), 0);
        case Growth::KeepsRightAndGrows:
            return initial.translated(extra.width(), 0).adjusted(0, 0, 0, extra.height());
        case Growth::SpeedProfile:
            return initial.adjusted(0, 0, extra.width(), speedShare);
        case Growth::AltitudeProfile:
            return initial.adjusted(0, speedShare, extra.width(), extra.height());
        case Growth::OverAltitudeProfile:
            return initial.translated(0, speedShare);
    }
    return initial;
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
