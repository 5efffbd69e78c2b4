#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "analysis/analysis_result.h"
#include "analysis/analysis_view.h"
#include "analysis/point_details.h"
#include "app/dialogs.h"
#include "app/window_look.h"
#include "platform/number_locale.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QToolButton;

namespace at {

class MapWindow;
class ProfileChartWidget;
class ProfileViewChoices;
class ResultSharing;
class TrackChooser;

// The program's one window: the inputs of an analysis (track path, thresholds, points per split
// file) are its controls' texts, read when a command runs, and an analysis shows its result in its
// labels, its stop list and its two charts. Every control carries its name as objectName.
class frmPpal final : public QWidget, public AnalysisView {
    Q_OBJECT

  public:
    // The desktop window: the real file dialog and message boxes, the system's decimal separator.
    explicit frmPpal(QWidget* parent = nullptr);
    // The window with other dialogs and another decimal separator, as tests and tools need. The
    // window becomes the dialog's parent and owns it.
    frmPpal(FileDialog* dialog, std::unique_ptr<MessageBoxes> messages, NumberLocale locale,
            QWidget* parent = nullptr);
    ~frmPpal() override;

    // The analysis of the track named in txtArchivo, with the thresholds of Text1 to Text3.
    void Dibujar();
    // The point lines of the track named in txtArchivo.
    std::int64_t lineas();
    // Splits the track named in txtArchivo into files of the size chosen in Combo1.
    void cortarTrack();
    // Loads the file as if it had been chosen with "Cargar": a file named on the command line or
    // dropped on the window.
    void openTrack(const QString& path);

    // What the analysis writes while it runs and when it shows its result.
    void clearStopList() override;
    void addStop(const Stop& stop) override;
    ProfileChart& altitudeChart() override;
    ProfileChart& speedChart() override;
    void beginPoints() override;
    void addPoint(const PointDetail& detail) override;
    void addPointSensors(const SensorReading& sensors) override;
    void setSummaryLabel(SummaryLabel label, const std::string& text) override;
    void keepForReadout(std::int32_t linesRead, float distanceKm) override;
    void setSummaryToolTip(SummaryLabel label, const std::string& text) override;
    void setPathToolTip(const std::string& text) override;

    // Images, summary, report and point table of the result on show.
    ResultSharing& sharing() { return *sharing_; }

    // Opens the "Mapa" window (cmdMapa, Ctrl+M); from then on it follows every analysis.
    void showMap();
    // The "Mapa" window once it has been opened; null before.
    MapWindow* mapWindow() const { return map_; }

    // The tracks of the file loaded last when it holds several (0 otherwise), the one analysed
    // (from 1), and the choice of another, as a click in the list of tracks makes it.
    Q_INVOKABLE int trackCount() const;
    Q_INVOKABLE int chosenTrack() const;
    Q_INVOKABLE void chooseTrack(int track);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private slots:
    void loadCommand();
    void recalculateCommand();
    void splitCommand();
    void showSelectedKm(qint32 series, qint32 dataPoint, qint32 mouseFlags, qint32 cancel);

  private:
    void buildTopBand();
    void buildSummaryBand();
    void buildCharts();
    void buildStopColumn();
    void setStackingAndTabOrder();
    void centreOnScreen();
    // How much larger than its initial size the window is.
    QSize extraSize() const;
    void showResultOnMap();
    // A file just loaded: if it holds several tracks, the list that asks which to analyse.
    void offerTracks();
    // Which track of the file in txtArchivo to analyse or cut.
    int trackToUse() const;
    // The file dialog under `title`; the chosen file's path goes into txtArchivo. False when
    // nothing was chosen.
    bool chooseTrackFile(const QString& title);
    // Runs one command; an error that escapes it is shown, and the window stays usable.
    template <typename Work>
    void runCommand(Work work);
    // The path in txtArchivo, as the file system names it.
    std::string trackPath() const;

    FileDialog* dialog_;
    std::unique_ptr<MessageBoxes> messages_;
    NumberLocale locale_;

    QToolButton* cmdCargar_ = nullptr;
    QLineEdit* txtArchivo_ = nullptr;
    QToolButton* Command1_ = nullptr;
    QToolButton* cmdMapa_ = nullptr;
    QToolButton* cmdCortar_ = nullptr;
    QComboBox* Combo1_ = nullptr;
    QLineEdit* Text1_ = nullptr;
    QLineEdit* Text2_ = nullptr;
    QLineEdit* Text3_ = nullptr;
    QLabel* lblKm_ = nullptr;
    std::array<QLabel*, 11> summaryCaptions_{};
    std::array<QLabel*, 11> summaryValues_{};
    QListWidget* lstParada_ = nullptr;
    ProfileChartWidget* MSChart1_ = nullptr;
    ProfileChartWidget* MSChart2_ = nullptr;
    QWidget* Frame1_ = nullptr;
    QWidget* Frame2_ = nullptr;
    QLabel* Label12_ = nullptr;
    // The controls that follow the window when it grows, with their places at its initial size.
    struct Growing {
        QWidget* widget;
        look::Growth growth;
        QRect initial;
    };
    std::vector<Growing> growing_;
    MapWindow* map_ = nullptr;
    ProfileViewChoices* viewChoices_ = nullptr;
    // Made when a file of several tracks is first loaded.
    TrackChooser* chooser_ = nullptr;

    // 16-bit for a track file, as the analysis keeps them.
    std::int32_t lastLinesRead_ = 0;
    float lastDistanceKm_ = 0.0f;
    // The points the charts show, for their read-outs, as the last analysis handed them over.
    PointTable points_;
    // The track the stop list and the charts show, analysed to the end or not, and the result the
    // labels show: none while an analysis runs or after one failed.
    std::string shownTrack_;
    std::optional<AnalysisResult> result_;
    ResultSharing* sharing_ = nullptr;
};

}  // namespace at
