#pragma once

#include <QWidget>
#include <optional>
#include <utility>
#include <vector>

#include "charts/map_mark.h"
#include "charts/map_track.h"
#include "charts/map_view.h"

class QToolButton;

namespace at {

class MapTiles;

// The map: Web Mercator tiles under the track, its start and end, its marks (numbered stop
// pins, laps, GPS jumps), the stretch measured on the profiles, the point under the mouse on a
// profile and the chosen point; a metric scale bar at the lower left and the tiles' credit at the
// lower right, always. Tiles are drawn as they arrive; where one is missing a coarser one at hand
// stands in, or plain grey, and the track is drawn all the same.
//
// Gestures: a click (released within 4 px of where it was pressed) within 10 px of the track
// chooses the point nearest on screen; a longer drag pans; the wheel zooms around the mouse, one
// level a notch; a double click fits the track; "+" and "−" zoom around the centre. A right click
// asks for the window's menu. None of them changes the analysis.
class MapWidget : public QWidget {
    Q_OBJECT

  public:
    explicit MapWidget(QWidget* parent = nullptr);
    ~MapWidget() override;

    // Where tiles come from; null draws none. The provider must outlive the map or be replaced.
    void setTiles(MapTiles* tiles);
    // The zoom levels of the tile source; the view is kept within them.
    void setZoomRange(int minZoom, int maxZoom);
    void setAttribution(const QString& text);
    Q_INVOKABLE QString attribution() const { return attribution_; }

    // A new track and its marks; the chosen point, the mouse's point and the stretch are
    // cleared and the view fits the track (the whole world at zoom 0 for a track without
    // places).
    void setTrack(MapTrack track, std::vector<MapMark> marks);
    const MapTrack& track() const { return track_; }
    const std::vector<MapMark>& marks() const { return marks_; }

    const MapView& view() const { return view_; }
    Q_INVOKABLE int zoomLevel() const { return view_.zoom; }
    Q_INVOKABLE void zoomIn();
    Q_INVOKABLE void zoomOut();
    Q_INVOKABLE void fitTrack();
    // Where `row` lies in the widget; a null point for a row without a place on the map.
    Q_INVOKABLE QPointF rowPosition(int row) const;
    // The row chosen, the row under the mouse on a profile, and the stretch measured there; 0
    // for none.
    Q_INVOKABLE int chosenRow() const { return chosenRow_.value_or(0); }
    Q_INVOKABLE int hoverRow() const { return hoverRow_.value_or(0); }
    Q_INVOKABLE int stretchFirst() const { return stretch_ ? stretch_->first : 0; }
    Q_INVOKABLE int stretchLast() const { return stretch_ ? stretch_->second : 0; }
    Q_INVOKABLE bool offlineNoteShown() const { return offlineNote_; }
    // The pin's text under `position`, as its tooltip shows it; empty where there is no pin.
    Q_INVOKABLE QString markTextAt(const QPointF& position) const;

    static QString offlineNoteText();

  public slots:
    // 0 clears it.
    void setChosenRow(int row);
    void setHoverRow(int row);
    // The stretch from `first` to `last`; 0, 0 clears it.
    void setStretch(int first, int last);
    // Puts `row` in the middle of the window, at the zoom shown.
    void centreOnRow(int row);
    void setOfflineNote(bool shown);
    // More tiles are at hand.
    void tilesArrived();

  signals:
    // A click on the track chose `row`.
    void rowChosen(int row);
    void menuRequested(const QPoint& globalPosition);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;

  private:
    // After every change of the view: the tiles now in view are asked for and the map repainted.
    void viewChanged();
    void zoomTo(int zoom, const ScreenPoint& anchor);
    QPointF screen(const WorldPoint& point) const;

    void paintTiles(QPainter& painter) const;
    void paintTrack(QPainter& painter) const;
    void paintMarks(QPainter& painter) const;
    void paintScaleBar(QPainter& painter) const;
    void paintCredit(QPainter& painter) const;
    void paintNote(QPainter& painter) const;

    MapTiles* tiles_ = nullptr;
    MapView view_;
    int minZoom_ = 0;
    int maxZoom_ = 19;
    QString attribution_;
    bool offlineNote_ = false;
    // A track given before the window had its size is fitted once it has it.
    bool fitPending_ = false;

    MapTrack track_;
    std::vector<MapMark> marks_;
    std::optional<int> chosenRow_;
    std::optional<int> hoverRow_;
    std::optional<std::pair<int, int>> stretch_;

    std::optional<QPointF> pressPosition_;
    QPointF lastDragPosition_;
    bool panning_ = false;
    int wheelRemainder_ = 0;

    QToolButton* zoomInButton_ = nullptr;
    QToolButton* zoomOutButton_ = nullptr;
};

}  // namespace at
