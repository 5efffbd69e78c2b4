#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
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

// A rectangle painted on the window surface behind the labels.
struct Shape {
    const char* name;
    QRect rect;
    bool filled;
    QColor fill;
};

inline const std::array<Shape, 4> kShapes = {{
    {"Shape2", twips(30, 0, 9735, 1125), true, kPanelGrey},
    {"Shape1", twips(30, 1155, 9735, 735), true, kLightYellow},
    {"Shape3", twips(9840, 15, 1215, 7620), true, kPanelGrey},
    {"Shape4", twips(7650, 795, 2055, 255), false, QColor()},
}};

// The window's font: MS Sans Serif 8.25 point, and Arial 8.25 point bold for the figures. Neither
// exists on a free desktop; both are mapped to metric-compatible free faces.
QFont windowFont();
QFont figuresFont();
void installFontSubstitutes();

}  // namespace at::look
