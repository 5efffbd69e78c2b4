#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <optional>

#include "analysis/analysis_result.h"
#include "app/save_dialog.h"
#include "platform/number_locale.h"

class QLabel;
class QListWidget;
class QMenu;
class QWidget;

namespace at {

class MessageBoxes;
class ProfileChartWidget;

// The ways to keep or pass on the result shown in the window: a chart as a picture, the summary as
// text, a one-page PDF report and the points as CSV. Each is made from the result the window
// holds, never from its controls; the controls only carry the menus.
class ResultSharing final : public QObject {
    Q_OBJECT

  public:
    // The controls that offer the menus: the summary band's captions and values, both charts and
    // the stop list.
    struct Controls {
        std::array<QLabel*, 11> captions;
        std::array<QLabel*, 11> values;
        ProfileChartWidget* altitude;
        ProfileChartWidget* speed;
        QListWidget* stops;
    };

    // `result` is the window's: the result on show, if any. `shownTrack` is the path of the track
    // the window shows, analysed to the end or not, which no export may overwrite.
    ResultSharing(QWidget* window, const std::optional<AnalysisResult>& result,
                  const std::string& shownTrack, NumberLocale locale, MessageBoxes& messages,
                  const Controls& controls);
    ~ResultSharing() override;

    void setSaveDialog(std::unique_ptr<SaveFileDialog> dialog) { saveDialog_ = std::move(dialog); }

    // The menus: for a chart, the series it can draw ("Velocidad", "Pulso", …) when there is a
    // choice, "Guardar imagen…" and "Copiar imagen"; "Copiar resumen",
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
    bool exportReport(const QString& path, QString& error) const;
    bool exportPointsCsv(const QString& path, QString& error) const;

    // The commands behind the menu entries: ask for a file, write it, report a failure.
    void saveChartImageAs(ProfileChartWidget& chart);
    void exportReportAs();
    void exportPointsCsvAs();

  private:
    // A result with points to share.
    bool hasResult() const { return result_ && !result_->points.empty(); }
    // Beside the track, named after it: "ruta" and "-altitud.png" give ".../ruta-altitud.png".
    QString proposedPath(const QString& ending) const;
    // The chart's heading in the window.
    QString chartTitle(const ProfileChartWidget& chart) const;
    // False, with the message, when `path` is the track whose result is shown.
    bool refuseShownTrack(const QString& path, QString& error) const;
    bool writeWhole(const QString& path, const QByteArray& bytes, QString& error) const;
    void failed(const QString& message) const;

    QWidget* window_;
    const std::optional<AnalysisResult>& result_;
    const std::string& shownTrack_;
    NumberLocale locale_;
    MessageBoxes& messages_;
    std::unique_ptr<SaveFileDialog> saveDialog_;
    const ProfileChartWidget* altitude_;
};

}  // namespace at
