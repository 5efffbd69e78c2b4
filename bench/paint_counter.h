#pragma once

#include <QEvent>
#include <QObject>

namespace at::bench {

// Counts the paints that reach a widget, to be sure each round of a timing really draws it.
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace at::bench
