#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>
#include <array>

// How the window looks: its measures in twips, its colours and its two fonts.
namespace at::look {

// The window is drawn in twips, 15 to a pixel at 96 dots per inch; Qt's logical pixels then
// follow the screen's scale.
constexpr int kTwipsPerPixel = 15;
constexpr QRect twips(int left, int top, int width, int height) {
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                 height / kTwipsPerPixel);
}

inline const QColor kBackground(3, 0, 67);
inline const QColor kLightYellow(255, 255, 192);
inline const QColor kRed(255, 0, 0);
inline const QColor kOrange(255, 128, 0);
inline const QColor kWhite(255, 255, 255);
// The panels' grey, the classic desktop's window border colour.
inline const QColor kPanelGrey(212, 208, 200);

// The window's size when it opens, and the smallest it can be made.
inline const QSize kInitialSize = twips(0, 0, 11100, 7680).size();

// How a control follows the window when it is made larger than its initial size: the profiles
// take the extra width, and the extra height in the ratio of their heights (the heading of the
// altitude profile moving down with it); the right column keeps to the right edge, its list and
// its panel taking the extra height. Everything else stays where it is.
enum class Growth {
    Stays,
    KeepsRight,
    KeepsRightAndGrows,
    SpeedProfile,
    AltitudeProfile,
    OverAltitudeProfile,
};
QRect grown(const QRect& initial, Growth growth, const QSize& extra);

// A rectangle painted on the window surface behind the labels.
struct Shape {
    const char* name;
    QRect rect;
    bool filled;
    QColor fill;
    Growth growth;
};

inline const std::array<Shape, 4> kShapes = {{
    {"Shape2", twips(30, 0, 9735, 1125), true, kPanelGrey, Growth::Stays},
    {"Shape1", twips(30, 1155, 9735, 735), true, kLightYellow, Growth::Stays},
    {"Shape3", twips(9840, 15, 1215, 7620), true, kPanelGrey, Growth::KeepsRightAndGrows},
    {"Shape4", twips(7650, 795, 2055, 255), false, QColor(), Growth::Stays},
}};

// The window's font: MS Sans Serif 8.25 point, and Arial 8.25 point bold for the figures. Neither
// exists on a free desktop; both are mapped to metric-compatible free faces.
QFont windowFont();
QFont figuresFont();
void installFontSubstitutes();

}  // namespace at::look
