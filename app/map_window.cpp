#include "app/map_window.h"

#include <QActionGroup>
#include <QMenu>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "app/tile_loader.h"
#include "charts/map_widget.h"

namespace at {

MapWindow::MapWindow(const QString& cacheFolder, QWidget* parent)
    : QWidget(parent, Qt::Window),
      sources_(tileSources(qgetenv("ANALISIS_TRACKS_TESELAS").toStdString())),
      loader_(new TileLoader(cacheFolder, this)),
      map_(new MapWidget(this)) {
    setObjectName(QStringLiteral("frmMapa"));
    map_->setObjectName(QStringLiteral("picMapa"));
    setWindowTitle(titleFor(QString()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(map_);
    resize(760, 560);

    map_->setTiles(loader_);
    connect(loader_, &TileLoader::tileArrived, map_, &MapWidget::tilesArrived);
    connect(loader_, &TileLoader::offlineChanged, map_, &MapWidget::setOfflineNote);
    connect(map_, &MapWidget::menuRequested, this, &MapWindow::showMenu);
    chooseSource(0);
}

MapWindow::~MapWindow() {
    // The map asks the loader for tiles until it goes.
    map_->setTiles(nullptr);
}

QString MapWindow::titleFor(const QString& trackName) {
    return trackName.isEmpty() ? QStringLiteral("Mapa") : QStringLiteral("Mapa — ") + trackName;
}

QString MapWindow::cacheFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/teselas");
}

void MapWindow::showTrack(const QString& trackName, MapTrack track, std::vector<MapMark> marks) {
    setWindowTitle(titleFor(trackName));
    map_->setTrack(std::move(track), std::move(marks));
}

void MapWindow::chooseSource(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= sources_.size())
        return;
    source_ = index;
    const TileSource& source = sources_[static_cast<std::size_t>(index)];
    loader_->setSource(source);
    map_->setAttribution(QString::fromStdString(source.attribution));
    map_->setOfflineNote(false);
    map_->setZoomRange(source.minZoom, source.maxZoom);
}

void MapWindow::showMenu(const QPoint& globalPosition) {
    QMenu menu(this);
    auto* group = new QActionGroup(&menu);
    for (std::size_t i = 0; i < sources_.size(); ++i) {
        QAction* action = menu.addAction(QString::fromStdString(sources_[i].name));
        action->setCheckable(true);
        action->setChecked(static_cast<int>(i) == source_);
        action->setActionGroup(group);
        connect(action, &QAction::triggered, this,
                [this, i] { chooseSource(static_cast<int>(i)); });
    }
    menu.addSeparator();
    menu.addAction(QStringLiteral("Ajustar al recorrido"), map_, &MapWidget::fitTrack);
    menu.exec(globalPosition);
}

}  // namespace at
