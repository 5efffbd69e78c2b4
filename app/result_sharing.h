#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <memory>

#include "app/save_dialog.h"
#include "charts/point_details.h"
#include "charts/report_page.h"
#include "platform/number_locale.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QWidget;

namespace at {

class MessageBoxes;
class ProfileChartWidget;

// The ways to keep or pass on a result shown in the window: a chart as a picture, the summary as
// text, a one-page PDF report and the points as CSV. It reads the window's controls by their names
// and never changes them.
class ResultSharing final : public QObject {
    Q_OBJECT

  public:
    // The summary band's labels: every caption, and the values in the order of SummaryLabel.
    struct SummaryBand {
        std::array<QLabel*, 11> captions;
        std::array<QLabel*, 11> values;
    };

    ResultSharing(QWidget* window, const PointTable& points, NumberLocale locale,
                  MessageBoxes& messages, const SummaryBand& band);
    ~ResultSharing() override;

    void setSaveDialog(std::unique_ptr<SaveFileDialog> dialog) { saveDialog_ = std::move(dialog); }

    // The menus: "Guardar imagen…" and "Copiar imagen" for a chart; "Copiar resumen",
    // "Exportar informe PDF…" and "Exportar puntos CSV…" for the summary band and the stop list.
    // The caller owns the menu.
    QMenu* chartMenu(ProfileChartWidget& chart);
    QMenu* resultsMenu();

    // The exports below write their file whole or not at all, never over the track being shown;
    // on failure they return false and the error's message: its kind, the file and the reason.

    // The picture of a chart: PNG at twice its screen resolution, or SVG for a ".svg" path, titled
    // with the chart's heading.
    bool saveChartImage(ProfileChartWidget& chart, const QString& path, QString& error) const;
    QImage chartImage(ProfileChartWidget& chart) const;
    void copyChartImage(ProfileChartWidget& chart) const;

    // The summary band and the stop list as the command-line companion prints them.
    QString summaryText() const;
    void copySummary() const;
    ReportContent reportContent() const;
    bool exportReport(const QString& path, QString& error) const;
    bool exportPointsCsv(const QString& path, QString& error) const;

    // The commands behind the menu entries: ask for a file, write it, report a failure.
    void saveChartImageAs(ProfileChartWidget& chart);
    void exportReportAs();
    void exportPointsCsvAs();

  private:
    bool hasResult() const { return !points_.empty(); }
    // Beside the track, named after it: "ruta" and "-altitud.png" give ".../ruta-altitud.png".
    QString proposedPath(const QString& ending) const;
    // The chart's heading in the window.
    QString chartTitle(const ProfileChartWidget& chart) const;
    // False, with the message, when `path` is the track whose result is shown.
    bool refuseShownTrack(const QString& path, QString& error) const;
    bool writeWhole(const QString& path, const QByteArray& bytes, QString& error) const;
    void failed(const QString& message) const;

    QWidget* window_;
    const PointTable& points_;
    NumberLocale locale_;
    MessageBoxes& messages_;
    std::unique_ptr<SaveFileDialog> saveDialog_;

    QLineEdit* path_;
    QLineEdit* altitudeJump_;
    QLineEdit* stopMinutes_;
    QLineEdit* stopSeconds_;
    QListWidget* stops_;
    ProfileChartWidget* altitude_;
    ProfileChartWidget* speed_;
    std::array<QLabel*, 11> values_;
};

}  // namespace at
