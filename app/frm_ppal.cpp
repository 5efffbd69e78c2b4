#include "app/frm_ppal.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QToolButton>
#include <algorithm>
#include <new>

#include "analysis/activity_lines.h"
#include "analysis/analyse_track.h"
#include "analysis/analysis_pass.h"
#include "analysis/summary_band.h"
#include "analysis/summary_panel.h"
#include "app/desktop_integration.h"
#include "app/map_window.h"
#include "app/profile_view_choices.h"
#include "app/result_sharing.h"
#include "app/track_chooser.h"
#include "app/window_look.h"
#include "charts/map_content.h"
#include "charts/map_widget.h"
#include "charts/moving_speed.h"
#include "charts/plot_alignment.h"
#include "charts/profile_chart_widget.h"
#include "charts/readout.h"
#include "charts/system_locale.h"
#include "formats/splitter.h"
#include "formats/track_list.h"
#include "formats/track_source.h"
#include "platform/runtime_error.h"

namespace at {

using look::twips;

namespace {

const QString kErrorTitle = QStringLiteral("Análisis Tracks");

// The hourglass while a command reads or writes files; back to normal however the work ends.
class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

std::string toPath(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

void paint(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QRect rect) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(rect);
    // Labels without a colour of their own take the button face, as on the classic desktop.
    label->setAutoFillBackground(true);
    paint(label, QPalette::Window, QApplication::palette().color(QPalette::Button));
    paint(label, QPalette::WindowText, QApplication::palette().color(QPalette::ButtonText));
    return label;
}

QLineEdit* makeTextBox(QWidget* parent, const char* name, const QString& text, QRect rect) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(rect);
    return box;
}

QToolButton* makePictureButton(QWidget* parent, const char* name, const QString& caption,
                               const QString& picture, QSize pictureSize, QRect rect) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(QIcon(picture));
    button->setIconSize(pictureSize);
    button->setText(caption);
    button->setToolButtonStyle(caption.isEmpty() ? Qt::ToolButtonIconOnly
                                                 : Qt::ToolButtonTextUnderIcon);
    button->setFocusPolicy(Qt::StrongFocus);
    button->setGeometry(rect);
    return button;
}

}  // namespace

frmPpal::frmPpal(QWidget* parent)
    : frmPpal(new QtFileDialog(firstFolder()), nullptr, systemNumberLocale(), parent) {}

frmPpal::frmPpal(FileDialog* dialog, std::unique_ptr<MessageBoxes> messages, NumberLocale locale,
                 QWidget* parent)
    : QWidget(parent, Qt::Window),
      dialog_(dialog),
      messages_(std::move(messages)),
      locale_(std::move(locale)) {
    dialog_->setParent(this);
    if (!messages_)
        messages_ = std::make_unique<QtMessageBoxes>(this);

    setObjectName(QStringLiteral("frmPpal"));
    setWindowTitle(QStringLiteral("Análisis Tracks @Senderal v1.3") + QString(109, QChar(' ')) +
                   QStringLiteral("(https://senderal.example)"));
    look::installFontSubstitutes();
    setFont(look::windowFont());
    setWindowIcon(programIcon());
    // It opens at the size every control was placed for, and can only grow from there.
    setMinimumSize(look::kInitialSize);
    resize(look::kInitialSize);

    buildTopBand();
    buildSummaryBand();
    buildCharts();
    buildStopColumn();
    setStackingAndTabOrder();
    const std::pair<QWidget*, look::Growth> growing[] = {
        {MSChart2_, look::Growth::SpeedProfile},
        {MSChart1_, look::Growth::AltitudeProfile},
        {Frame2_, look::Growth::OverAltitudeProfile},
        {Label12_, look::Growth::KeepsRight},
        {lstParada_, look::Growth::KeepsRightAndGrows}};
    for (const auto& [widget, growth] : growing)
        growing_.push_back({widget, growth, widget->geometry()});
    auto* mapShortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_M), this);
    connect(mapShortcut, &QShortcut::activated, this, &frmPpal::showMap);
    centreOnScreen();
    sharing_ =
        new ResultSharing(this, result_, shownTrack_, locale_, *messages_,
                          {summaryCaptions_, summaryValues_, MSChart1_, MSChart2_, lstParada_});
    setAcceptDrops(true);
}

frmPpal::~frmPpal() = default;

void frmPpal::buildTopBand() {
    cmdCargar_ = makePictureButton(this, "cmdCargar", QStringLiteral("Cargar"),
                                   QStringLiteral(":/icons/cargar.svg"), QSize(16, 15),
                                   twips(90, 45, 615, 525));
    cmdCargar_->setToolTip(QStringLiteral("Cargar Track"));
    connect(cmdCargar_, &QToolButton::clicked, this, &frmPpal::loadCommand);

    txtArchivo_ =
        makeTextBox(this, "txtArchivo", QStringLiteral("-vacio-"), twips(795, 90, 8895, 285));

    Command1_ =
        makePictureButton(this, "Command1", QString(), QStringLiteral(":/icons/recalcular.svg"),
                          QSize(13, 16), twips(9420, 405, 285, 330));
    Command1_->setToolTip(QStringLiteral("Vuelve a calcularlo"));
    connect(Command1_, &QToolButton::clicked, this, &frmPpal::recalculateCommand);

    cmdMapa_ = makePictureButton(this, "cmdMapa", QString(), QStringLiteral(":/icons/mapa.svg"),
                                 QSize(16, 16), twips(9090, 405, 285, 330));
    cmdMapa_->setToolTip(QStringLiteral("Ver el recorrido en un mapa"));
    connect(cmdMapa_, &QToolButton::clicked, this, &frmPpal::showMap);

    cmdCortar_ = makePictureButton(this, "cmdCortar", QStringLiteral("Cortar"),
                                   QStringLiteral(":/icons/cortar.svg"), QSize(14, 16),
                                   twips(90, 585, 615, 510));
    cmdCortar_->setToolTip(QStringLiteral("Cortar el archivo cargado en varios de X puntos"));
    connect(cmdCortar_, &QToolButton::clicked, this, &frmPpal::splitCommand);

    Combo1_ = new QComboBox(this);
    Combo1_->setObjectName(QStringLiteral("Combo1"));
    Combo1_->addItems({QStringLiteral("250"), QStringLiteral("500"), QStringLiteral("750"),
                       QStringLiteral("1000")});
    Combo1_->setCurrentIndex(-1);
    Combo1_->setToolTip(QStringLiteral("Cantidad de puntos por archivo"));
    Combo1_->setGeometry(twips(735, 690, 780, 315));

    const auto greyLabel = [this](const char* name, const QString& caption, QRect rect) {
        paint(makeLabel(this, name, caption, rect), QPalette::Window, look::kPanelGrey);
    };
    const ThresholdTexts defaults;
    greyLabel("Label2", QStringLiteral("Diferencia entre alturas despreciables:"),
              twips(1875, 495, 2700, 195));
    Text1_ = makeTextBox(this, "Text1", QString::fromStdString(defaults.altitudeJump),
                         twips(4605, 465, 615, 285));
    Text1_->setToolTip(
        QStringLiteral("Si el desnivel entre 2 muestras consecutivas es > q este valor, se "
                       "desprecia. Son muestras erróneas del GPS."));
    greyLabel("Label5", QStringLiteral("Saltos de más de "), twips(1875, 810, 1260, 195));
    Text2_ = makeTextBox(this, "Text2", QString::fromStdString(defaults.stopMinutes),
                         twips(3165, 750, 375, 285));
    greyLabel("Label7", QStringLiteral("min"), twips(3570, 810, 240, 195));
    Text3_ = makeTextBox(this, "Text3", QString::fromStdString(defaults.stopSeconds),
                         twips(3840, 750, 375, 285));
    greyLabel("Label6", QStringLiteral("segs, son tomados como descansos."),
              twips(4230, 810, 2610, 195));

    lblKm_ =
        makeLabel(this, "lblKm", QStringLiteral("Km seleccionado"), twips(7680, 825, 1410, 210));
    lblKm_->setFont(look::figuresFont());
}

void frmPpal::buildSummaryBand() {
    // Row by row, left to right, as kSummaryBand reads the band: each caption with the value
    // label to its right.
    struct Place {
        const char* captionName;
        int captionLeft, captionWidth;
        const char* valueName;
        int valueLeft, valueWidth;
        int top;
        QColor colour;
    };
    static const Place places[] = {
        {"lbldesnivel", 315, 1695, "lbl1", 2070, 855, 1200, look::kRed},
        {"lbldistancia", 3105, 780, "lbl3", 3945, 1215, 1200, look::kRed},
        {"lblcota1", 5265, 765, "lbl4", 6075, 1215, 1200, look::kRed},
        {"lblvel1", 7455, 1200, "lbl6", 8745, 855, 1200, look::kRed},
        {"lbltomas", 225, 1785, "lbl2", 2085, 615, 1425, look::kRed},
        {"Label9", 2865, 1665, "Label8", 4590, 495, 1425, look::kRed},
        {"lblcota2", 5235, 795, "lbl5", 6075, 1215, 1425, look::kRed},
        {"lblvel2", 7440, 1230, "lbl7", 8760, 855, 1425, look::kRed},
        {"Label1", 210, 675, "lblTiempo", 945, 1215, 1650, look::kOrange},
        {"Label11", 2820, 1065, "Label10", 3945, 1215, 1650, look::kOrange},
        {"Label13", 5295, 735, "Label14", 6075, 1215, 1650, look::kOrange},
    };
    static_assert(std::size(places) == kSummaryBand.size());
    constexpr int kHeight = 210;
    const auto bandLabel = [this](const char* name, const QString& caption, QRect rect,
                                  const QColor& colour) {
        QLabel* label = makeLabel(this, name, caption, rect);
        label->setFont(look::figuresFont());
        paint(label, QPalette::Window, look::kLightYellow);
        paint(label, QPalette::WindowText, colour);
        return label;
    };
    for (std::size_t i = 0; i < kSummaryBand.size(); ++i) {
        const Place& p = places[i];
        summaryCaptions_[i] =
            bandLabel(p.captionName, QString::fromUtf8(kSummaryBand[i].caption),
                      twips(p.captionLeft, p.top, p.captionWidth, kHeight), Qt::black);
    }
    for (std::size_t i = 0; i < kSummaryBand.size(); ++i) {
        const Place& p = places[i];
        summaryValues_[static_cast<std::size_t>(kSummaryBand[i].label)] = bandLabel(
            p.valueName, QString(), twips(p.valueLeft, p.top, p.valueWidth, kHeight), p.colour);
    }
}

void frmPpal::buildCharts() {
    MSChart2_ =
        new ProfileChartWidget(ProfileChartWidget::Style::Line, QStringLiteral("Velocidad"), this);
    MSChart2_->setObjectName(QStringLiteral("MSChart2"));
    MSChart2_->setGeometry(twips(30, 1875, 9735, 2175));
    // Heart rate and the other sensors are drawn, when chosen, where the speed is.
    MSChart2_->setOffersSensors(true);

    MSChart1_ =
        new ProfileChartWidget(ProfileChartWidget::Style::Area, QStringLiteral("Metros"), this);
    MSChart1_->setObjectName(QStringLiteral("MSChart1"));
    MSChart1_->setGeometry(twips(30, 3735, 9735, 3915));
    connect(MSChart1_, &ProfileChartWidget::pointSelected32, this, &frmPpal::showSelectedKm);

    for (ProfileChartWidget* chart : {MSChart1_, MSChart2_}) {
        chart->setNumberLocale(locale_);
        chart->setPointTable(&points_);
    }
    // The two profiles show the same rows: a choice, a zoom or a pan on one is shown on both.
    const auto follow = [this](ProfileChartWidget* from, ProfileChartWidget* to) {
        connect(from, &ProfileChartWidget::pointSelected32, to,
                [to](qint32, qint32 row, qint32, qint32) { to->setMarkedRow(row); });
        connect(from, &ProfileChartWidget::shownRowsChanged, to, &ProfileChartWidget::setShownRows);
    };
    follow(MSChart1_, MSChart2_);
    follow(MSChart2_, MSChart1_);
    new PlotAlignment({MSChart2_, MSChart1_}, this);
    viewChoices_ = new ProfileViewChoices(*MSChart1_, *MSChart2_, locale_, this);

    const auto heading = [this](const char* frameName, QRect frameRect, const QColor& fill,
                                const char* labelName, const QString& caption, QRect labelRect) {
        auto* frame = new QFrame(this);
        frame->setObjectName(QString::fromLatin1(frameName));
        frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        frame->setAutoFillBackground(true);
        paint(frame, QPalette::Window, fill);
        frame->setGeometry(frameRect);
        QLabel* label = makeLabel(frame, labelName, caption, labelRect);
        QFont bold = look::windowFont();
        bold.setBold(true);
        label->setFont(bold);
        paint(label, QPalette::Window, look::kWhite);
        paint(label, QPalette::WindowText, Qt::black);
        return frame;
    };
    Frame1_ = heading("Frame1", twips(4290, 1935, 1215, 375),
                      QApplication::palette().color(QPalette::Light), "Label3",
                      QStringLiteral("Velocidad"), twips(180, 120, 855, 195));
    Frame2_ = heading("Frame2", twips(4290, 3795, 1215, 375), look::kWhite, "Label4",
                      QStringLiteral("Altitud"), twips(330, 135, 555, 195));
}

void frmPpal::buildStopColumn() {
    Label12_ = makeLabel(this, "Label12", QStringLiteral("Paradas"), twips(10200, 120, 615, 255));
    lstParada_ = new QListWidget(this);
    lstParada_->setObjectName(QStringLiteral("lstParada"));
    lstParada_->setToolTip(QStringLiteral("Parada en el Km X y un descanso de X min"));
    lstParada_->setGeometry(twips(9900, 345, 1110, 7080));
    lstParada_->setUniformItemSizes(true);
    connect(lstParada_, &QListWidget::currentRowChanged, this, [this](int index) {
        MSChart1_->showStop(index);
        MSChart2_->showStop(index);
    });
}

void frmPpal::setStackingAndTabOrder() {
    // Labels lie on the window surface, behind every control.
    for (QLabel* label : findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        label->lower();
    }
    const QList<QWidget*> backToFront = {cmdCargar_, txtArchivo_, Command1_,  cmdMapa_, Text1_,
                                         MSChart2_,  MSChart1_,   Frame1_,    Frame2_,  Text2_,
                                         Text3_,     lstParada_,  cmdCortar_, Combo1_};
    for (QWidget* control : backToFront)
        control->raise();

    const QList<QWidget*> tabOrder = {cmdCargar_, txtArchivo_, MSChart1_,  Command1_,
                                      cmdMapa_,   MSChart2_,   Text1_,     Text2_,
                                      Text3_,     lstParada_,  cmdCortar_, Combo1_};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void frmPpal::centreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

QSize frmPpal::extraSize() const {
    return (size() - look::kInitialSize).expandedTo(QSize(0, 0));
}

void frmPpal::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    for (const Growing& control : growing_)
        control.widget->setGeometry(look::grown(control.initial, control.growth, extraSize()));
}

void frmPpal::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), look::kBackground);
    painter.setPen(Qt::black);
    for (const look::Shape& shape : look::kShapes) {
        painter.setBrush(shape.filled ? QBrush(shape.fill) : QBrush(Qt::NoBrush));
        // A one-pixel outline drawn inside the shape's own rectangle.
        painter.drawRect(look::grown(shape.rect, shape.growth, extraSize()).adjusted(0, 0, -1, -1));
    }
}

void frmPpal::showMap() {
    if (map_ == nullptr) {
        map_ = new MapWindow(MapWindow::cacheFolder(), this);
        MapWidget* map = &map_->map();
        // A click on the map chooses the row as a click on the altitude profile does.
        connect(map, &MapWidget::rowChosen, MSChart1_, &ProfileChartWidget::chooseRow);
        for (ProfileChartWidget* chart : {MSChart1_, MSChart2_}) {
            connect(chart, &ProfileChartWidget::pointSelected32, map,
                    [map](qint32, qint32 row, qint32, qint32) { map->setChosenRow(row); });
            connect(chart, &ProfileChartWidget::hoveredRowChanged, map, &MapWidget::setHoverRow);
            connect(chart, &ProfileChartWidget::stretchChanged, map, &MapWidget::setStretch);
        }
        connect(lstParada_, &QListWidget::currentRowChanged, map, [this, map](int index) {
            if (result_ && index >= 0 && static_cast<std::size_t>(index) < result_->stops.size())
                map->centreOnRow(result_->stops[static_cast<std::size_t>(index)].row);
        });
        showResultOnMap();
    }
    map_->show();
    map_->raise();
    map_->activateWindow();
}

void frmPpal::showResultOnMap() {
    if (map_ == nullptr)
        return;
    // A pass that failed leaves no result, and the map no track: as before any analysis.
    if (!result_) {
        map_->showTrack(QString(), MapTrack(), {});
        return;
    }
    const QString name =
        QFileInfo(QFile::decodeName(QByteArray::fromStdString(result_->inputs.trackPath)))
            .fileName();
    map_->showTrack(name, mapTrackOf(result_->points), mapMarksOf(*result_, locale_));
    if (const auto row = MSChart1_->markedRow())
        map_->map().setChosenRow(*row);
}

template <typename Work>
void frmPpal::runCommand(Work work) {
    QString failure;
    try {
        work();
    } catch (const RuntimeError& e) {
        failure = QString::fromStdString(e.message());
    } catch (const std::bad_alloc&) {
        failure = QStringLiteral(
            "Memoria insuficiente: el archivo es demasiado grande para "
            "analizarlo.");
    } catch (const std::exception& e) {
        failure = QStringLiteral("Error inesperado: ") + QString::fromLocal8Bit(e.what());
    }
    // The rows written before a failure stay, as every other result does.
    MSChart1_->refresh();
    MSChart2_->refresh();
    if (!failure.isEmpty())
        messages_->warning(kErrorTitle, failure);
}

bool frmPpal::chooseTrackFile(const QString& title) {
    // A cancelled dialog cancels the command, even when it still holds an earlier file.
    if (!dialog_->show(title))
        return false;
    const QString chosen = dialog_->fileName();
    if (chosen == QStringLiteral("*.plt"))
        return false;
    txtArchivo_->setText(chosen);
    return true;
}

void frmPpal::loadCommand() {
    runCommand([this] {
        if (chooseTrackFile(QStringLiteral("Cargar un track"))) {
            offerTracks();
            Dibujar();
        }
    });
}

void frmPpal::openTrack(const QString& path) {
    runCommand([this, path] {
        const QString opened = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
        dialog_->keepFileName(opened);
        txtArchivo_->setText(opened);
        offerTracks();
        Dibujar();
    });
}

void frmPpal::offerTracks() {
    const std::string path = trackPath();
    std::vector<TrackListing> tracks;
    try {
        tracks = listTracks(path);
    } catch (const std::exception&) {
        // The analysis meets the fault again and says what it is.
    }
    if (tracks.size() <= 1) {
        if (chooser_ != nullptr)
            chooser_->forget();
        return;
    }
    WaitCursor wait;
    const ThresholdTexts thresholds{Text1_->text().toStdString(), Text2_->text().toStdString(),
                                    Text3_->text().toStdString()};
    QStringList rows;
    for (const TrackListing& track : tracks) {
        QStringList parts{QString::number(track.number)};
        parts << (track.name.empty() ? QStringLiteral("Track %1").arg(track.number)
                                     : QString::fromStdString(track.name));
        if (track.day != 0) {
            AnalysisResult dated;
            dated.points.push_back(PointDetail{.localDay = track.day});
            parts << QString::fromStdString(activityDateText(dated));
        }
        parts << QStringLiteral("%1 puntos").arg(track.points);
        try {
            const AnalysisResult result = analyseTrack({path, thresholds, track.number}, locale_);
            parts << QString::fromStdString(
                summaryFigure(SummaryLabel::Distance, result.summary, locale_));
        } catch (const std::exception&) {
            parts << QStringLiteral("? km");
        }
        rows << parts.join(QStringLiteral(" · "));
    }
    if (chooser_ == nullptr) {
        chooser_ = new TrackChooser(this);
        connect(chooser_, &TrackChooser::trackChosen, this,
                [this] { runCommand([this] { Dibujar(); }); });
    }
    chooser_->offer(path, rows);
}

int frmPpal::trackToUse() const {
    return chooser_ == nullptr ? 1 : chooser_->trackFor(trackPath());
}

int frmPpal::trackCount() const {
    return chooser_ == nullptr ? 0 : chooser_->trackCount();
}

int frmPpal::chosenTrack() const {
    return trackToUse();
}

void frmPpal::chooseTrack(int track) {
    if (chooser_ != nullptr)
        chooser_->choose(track);
}

namespace {

// The first local file a drag carries, if any.
QString droppedFile(const QMimeData* data) {
    if (data == nullptr)
        return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

}  // namespace

void frmPpal::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmPpal::dropEvent(QDropEvent* event) {
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    openTrack(path);
}

void frmPpal::recalculateCommand() {
    runCommand([this] { Dibujar(); });
}

void frmPpal::splitCommand() {
    runCommand([this] {
        if (Combo1_->currentText().isEmpty()) {
            messages_->information(QStringLiteral("Seccionar un track"),
                                   QStringLiteral("Por favor, seleccione la cantidad de puntos "
                                                  "por fichero."));
            return;
        }
        if (chooseTrackFile(QStringLiteral("Elegir el track que se va a cortar")))
            cortarTrack();
    });
}

void frmPpal::showSelectedKm(qint32, qint32 dataPoint, qint32, qint32) {
    const auto caption = selectedKmCaption(dataPoint, lastLinesRead_, lastDistanceKm_, locale_);
    if (!caption)
        return;
    lblKm_->setText(QString::fromStdString(*caption));
    // The read-out is longer than the label was drawn for; it may grow inside its box (Shape4)
    // so that the figure is not cut off.
    const QRect box = look::kShapes[3].rect;
    const int wanted = lblKm_->fontMetrics().horizontalAdvance(lblKm_->text()) + 2;
    const int room = box.right() - 1 - lblKm_->x();
    lblKm_->resize(std::clamp(wanted, twips(0, 0, 1410, 0).width(), room), lblKm_->height());
}

void frmPpal::Dibujar() {
    WaitCursor wait;
    // The stop list and the charts now fill with the new track: until its labels are written
    // there is no result on show to share.
    result_.reset();
    // The note on the path belongs to the track analysed last.
    txtArchivo_->setToolTip(QString());
    const AnalysisInputs inputs{
        trackPath(),
        {Text1_->text().toStdString(), Text2_->text().toStdString(), Text3_->text().toStdString()},
        trackToUse()};
    shownTrack_ = inputs.trackPath;
    try {
        AnalysisResult result = runAnalysis(inputs, locale_, *this);
        writeSummary(result, *this, locale_);
        MSChart1_->setLaps(result.laps);
        MSChart2_->setLaps(result.laps);
        result_ = std::move(result);
    } catch (...) {
        viewChoices_->setMeanSpeed(std::nullopt);
        showResultOnMap();
        throw;
    }
    viewChoices_->setMeanSpeed(meanSpeedInMotion(result_->summary));
    // Once open, the map follows every analysis.
    showResultOnMap();
}

std::int64_t frmPpal::lineas() {
    WaitCursor wait;
    // Point lines of a .plt; the points of a GPX, TCX or FIT track.
    return openPointSource(trackPath(), trackToUse())->countPoints();
}

void frmPpal::cortarTrack() {
    {
        WaitCursor wait;
        const std::string path = trackPath();
        // The track chosen for the file loaded; another file of several has had none chosen.
        if (chooser_ == nullptr || chooser_->file() != path) {
            std::size_t tracks = 0;
            try {
                tracks = listTracks(path).size();
            } catch (const std::exception&) {
                // The split meets the fault again and says what it is.
            }
            if (tracks > 1) {
                messages_->information(
                    QStringLiteral("Seccionar un track"),
                    QStringLiteral("El archivo tiene %1 tracks. Cárguelo con «Cargar», elija el "
                                   "track y vuelva a «Cortar».")
                        .arg(tracks));
                return;
            }
        }
        splitTrack(path, Combo1_->currentText().toStdString(), trackToUse());
    }
    messages_->information(QString::fromUtf8(kSplitDoneTitle), QString::fromUtf8(kSplitDoneText));
}

std::string frmPpal::trackPath() const {
    return toPath(txtArchivo_->text());
}

void frmPpal::clearStopList() {
    lstParada_->clear();
    MSChart1_->clearStopRows();
    MSChart2_->clearStopRows();
    MSChart1_->setLaps({});
    MSChart2_->setLaps({});
}

void frmPpal::addStop(const Stop& stop) {
    auto* item =
        new QListWidgetItem(QString::fromStdString(stopEntryText(stop, locale_)), lstParada_);
    // The list is narrow; an entry it cuts off shows whole under the mouse.
    item->setToolTip(item->text());
    MSChart1_->addStopRow(stop.row);
    MSChart2_->addStopRow(stop.row);
}

void frmPpal::setSummaryLabel(SummaryLabel label, const std::string& text) {
    summaryValues_[static_cast<std::size_t>(label)]->setText(QString::fromStdString(text));
}

void frmPpal::setSummaryToolTip(SummaryLabel label, const std::string& text) {
    summaryValues_[static_cast<std::size_t>(label)]->setToolTip(QString::fromStdString(text));
}

void frmPpal::setPathToolTip(const std::string& text) {
    txtArchivo_->setToolTip(QString::fromStdString(text));
}

ProfileChart& frmPpal::altitudeChart() {
    return MSChart1_->port();
}
ProfileChart& frmPpal::speedChart() {
    return MSChart2_->port();
}

void frmPpal::beginPoints() {
    points_.beginTrack();
}

void frmPpal::addPoint(const PointDetail& detail) {
    points_.addPoint(detail);
}

void frmPpal::addPointSensors(const SensorReading& sensors) {
    points_.addSensors(sensors);
}

void frmPpal::keepForReadout(std::int32_t linesRead, float distanceKm) {
    lastLinesRead_ = linesRead;
    lastDistanceKm_ = distanceKm;
}

}  // namespace at
