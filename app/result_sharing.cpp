#include "app/result_sharing.h"

#include <QActionGroup>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>

#include "analysis/point_csv.h"
#include "analysis/summary_band.h"
#include "app/dialogs.h"
#include "charts/profile_chart_widget.h"
#include "charts/report_page.h"
#include "platform/output_file.h"
#include "platform/runtime_error.h"

namespace at {
namespace {

const QString kTitle = QStringLiteral("Análisis Tracks");
const QString kNothingToShare = QStringLiteral("No hay ningún análisis que exportar.");
constexpr double kImageScale = 2.0;

std::string toPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// "Velocidad", "Pulso", … as one choice, where the track has more than the chart's own series.
void addSeriesChoices(QMenu& menu, ProfileChartWidget& chart) {
    const QStringList choices = chart.seriesChoices();
    if (choices.size() < 2)
        return;
    auto* group = new QActionGroup(&menu);
    for (const QString& name : choices) {
        QAction* action = menu.addAction(name, &chart, [&chart, name] { chart.showSeries(name); });
        action->setCheckable(true);
        action->setChecked(name == chart.shownSeries());
        group->addAction(action);
    }
    menu.addSeparator();
}

}  // namespace

ResultSharing::ResultSharing(QWidget* window, const std::optional<AnalysisResult>& result,
                             const std::string& shownTrack, NumberLocale locale,
                             MessageBoxes& messages, const Controls& controls)
    : QObject(window),
      window_(window),
      result_(result),
      shownTrack_(shownTrack),
      locale_(std::move(locale)),
      messages_(messages),
      saveDialog_(std::make_unique<QtSaveFileDialog>(window)),
      altitude_(controls.altitude) {
    for (ProfileChartWidget* chart : {controls.altitude, controls.speed}) {
        connect(chart, &ProfileChartWidget::menuRequested, this, [this, chart](const QPoint& at) {
            std::unique_ptr<QMenu> menu(chartMenu(*chart));
            menu->exec(at);
        });
    }
    QList<QWidget*> resultWidgets = {controls.stops};
    for (QLabel* label : controls.values)
        resultWidgets << label;
    for (QLabel* label : controls.captions)
        resultWidgets << label;
    for (QWidget* widget : resultWidgets) {
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(widget, &QWidget::customContextMenuRequested, this, [this, widget](QPoint at) {
            std::unique_ptr<QMenu> menu(resultsMenu());
            menu->exec(widget->mapToGlobal(at));
        });
    }
}

ResultSharing::~ResultSharing() = default;

QMenu* ResultSharing::chartMenu(ProfileChartWidget& chart) {
    auto* menu = new QMenu(window_);
    // How the chart is shown (its axis, its lines), as the window gave it those choices, then
    // the series it can draw.
    if (!chart.actions().isEmpty()) {
        menu->addActions(chart.actions());
        menu->addSeparator();
    }
    addSeriesChoices(*menu, chart);
    menu->addAction(QStringLiteral("Guardar imagen…"), this,
                    [this, &chart] { saveChartImageAs(chart); });
    menu->addAction(QStringLiteral("Copiar imagen"), this,
                    [this, &chart] { copyChartImage(chart); });
    return menu;
}

QMenu* ResultSharing::resultsMenu() {
    auto* menu = new QMenu(window_);
    const QList<QAction*> actions = {
        menu->addAction(QStringLiteral("Copiar resumen"), this, [this] { copySummary(); }),
        menu->addAction(QStringLiteral("Exportar informe PDF…"), this,
                        [this] { exportReportAs(); }),
        menu->addAction(QStringLiteral("Exportar puntos CSV…"), this,
                        [this] { exportPointsCsvAs(); }),
    };
    for (QAction* action : actions)
        action->setEnabled(hasResult());
    return menu;
}

QImage ResultSharing::chartImage(ProfileChartWidget& chart) const {
    chart.refresh();
    QImage image(chart.size() * kImageScale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(kImageScale);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    // The chart's own size as the target: the painter scales it to the image's pixels.
    chart.render(&painter, QRectF(QPointF(0, 0), chart.size()));
    return image;
}

bool ResultSharing::saveChartImage(ProfileChartWidget& chart, const QString& path,
                                   QString& error) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool drawn = false;
    if (QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0) {
        chart.refresh();
        // Drawn in the chart's own pixels, the view box, at the size it has on screen.
        const QRect box(QPoint(0, 0), chart.size());
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(chart.size());
        svg.setViewBox(box);
        svg.setResolution(chart.logicalDpiX());
        svg.setTitle(chartTitle(chart));
        QPainter painter;
        if (painter.begin(&svg)) {
            chart.render(&painter, QRectF(box));
            drawn = painter.end() && !bytes.isEmpty();
        }
    } else {
        drawn = chartImage(chart).save(&buffer, "PNG");
    }
    if (!drawn) {
        error = QString::fromStdString(
            RuntimeError(ErrorKind::DeviceIo, "No se puede dibujar la imagen.")
                .withFile(toPath(path))
                .message());
        return false;
    }
    return writeWhole(path, bytes, error);
}

void ResultSharing::copyChartImage(ProfileChartWidget& chart) const {
    QApplication::clipboard()->setImage(chartImage(chart));
}

QString ResultSharing::summaryText() const {
    if (!hasResult())
        return {};
    std::string text;
    appendSummaryText(text, *result_, locale_);
    return QString::fromStdString(text);
}

void ResultSharing::copySummary() const {
    QApplication::clipboard()->setText(summaryText());
}

bool ResultSharing::exportReport(const QString& path, QString& error) const {
    if (!hasResult()) {
        error = kNothingToShare;
        return false;
    }
    return refuseShownTrack(path, error) &&
           writeReportPdf(reportContent(*result_, locale_), path, error);
}

bool ResultSharing::exportPointsCsv(const QString& path, QString& error) const {
    if (!hasResult()) {
        error = kNothingToShare;
        return false;
    }
    const std::string csv = pointsCsv(result_->points, result_->sensors, locale_);
    return writeWhole(path, QByteArray::fromRawData(csv.data(), static_cast<qsizetype>(csv.size())),
                      error);
}

bool ResultSharing::refuseShownTrack(const QString& path, QString& error) const {
    if (!sameFile(toPath(path), shownTrack_))
        return true;
    error = QString::fromStdString(
        RuntimeError(ErrorKind::PathFileAccess,
                     "Es el track que se está mostrando: no se sobrescribe. Elija otro nombre.")
            .withFile(toPath(path))
            .message());
    return false;
}

bool ResultSharing::writeWhole(const QString& path, const QByteArray& bytes, QString& error) const {
    if (!refuseShownTrack(path, error))
        return false;
    try {
        writeFileWhole(toPath(path),
                       std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    } catch (const RuntimeError& e) {
        error = QString::fromStdString(e.message());
        return false;
    }
    return true;
}

QString ResultSharing::proposedPath(const QString& ending) const {
    const QFileInfo track(QFile::decodeName(shownTrack_.c_str()));
    if (shownTrack_.empty() || !track.exists())
        return QStringLiteral("analisis") + ending;
    const QString base = track.absolutePath() + '/' + track.completeBaseName();
    // Never the track itself, were it named like an export.
    if (sameFile(toPath(base + ending), toPath(track.absoluteFilePath())))
        return base + QStringLiteral("-analisis") + ending;
    return base + ending;
}

QString ResultSharing::chartTitle(const ProfileChartWidget& chart) const {
    return &chart == altitude_ ? QStringLiteral("Altitud") : QStringLiteral("Velocidad");
}

void ResultSharing::failed(const QString& message) const {
    messages_.warning(kTitle, message);
}

void ResultSharing::saveChartImageAs(ProfileChartWidget& chart) {
    const QString path =
        saveDialog_->ask(QStringLiteral("Guardar imagen"),
                         proposedPath('-' + chartTitle(chart).toLower() + QStringLiteral(".png")),
                         QStringLiteral("Imagen PNG (*.png);;Imagen SVG (*.svg)"));
    QString error;
    if (!path.isEmpty() && !saveChartImage(chart, path, error))
        failed(error);
}

void ResultSharing::exportReportAs() {
    const QString path = saveDialog_->ask(QStringLiteral("Exportar informe PDF"),
                                          proposedPath(QStringLiteral(".pdf")),
                                          QStringLiteral("Documento PDF (*.pdf)"));
    QString error;
    if (!path.isEmpty() && !exportReport(path, error))
        failed(error);
}

void ResultSharing::exportPointsCsvAs() {
    const QString path =
        saveDialog_->ask(QStringLiteral("Exportar puntos CSV"),
                         proposedPath(QStringLiteral(".csv")), QStringLiteral("Tabla CSV (*.csv)"));
    QString error;
    if (!path.isEmpty() && !exportPointsCsv(path, error))
        failed(error);
}

}  // namespace at
