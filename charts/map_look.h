#pragma once

#include <QColor>

#include "charts/map_mark.h"

// The colours of the track and its marks, the same on the map and in the report's route.
namespace at::map_look {

inline const QColor kTrack(120, 40, 200);
inline const QColor kStart(30, 150, 50);
inline const QColor kEnd(20, 20, 20);

inline QColor markColour(MapMark::Kind kind) {
    switch (kind) {
        case MapMark::Kind::Stop:
            return QColor(230, 110, 0);
        case MapMark::Kind::Lap:
            return QColor(0, 130, 170);
        case MapMark::Kind::GpsJump:
            return QColor(190, 0, 90);
    }
    return Qt::black;
}

}  // namespace at::map_look
