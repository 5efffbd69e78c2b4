#include "charts/report_page.h"

#include <QBuffer>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <limits>

#include "analysis/activity_lines.h"
#include "analysis/profiles.h"
#include "analysis/sensor_figures.h"
#include "analysis/summary_band.h"
#include "analysis/summary_panel.h"
#include "charts/map_content.h"
#include "charts/profile_drawing.h"
#include "charts/route_drawing.h"
#include "platform/number_text.h"
#include "platform/output_file.h"
#include "platform/rounding.h"
#include "platform/runtime_error.h"

namespace at {
namespace {

const QDate kFirstDay(1899, 12, 30);
const QColor kGridColour(222, 222, 222);
const QColor kStopColour(230, 140, 0);
const QColor kFigureColour(170, 0, 0);
const QColor kFooterColour(120, 120, 120);

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

QString dateText(std::int32_t dayCount) {
    return kFirstDay.addDays(dayCount).toString(QStringLiteral("dd/MM/yyyy"));
}

// The pages of the report, filled block by block from the top; a block that does not fit on what
// is left of a page goes to the top of the next. Every measure is in "em", a fiftieth of the
// page width, so the report looks the same at any resolution.
class ReportPages {
  public:
    ReportPages(QPainter& painter, const QRectF& page, QString footer,
                const std::function<bool()>& newPage)
        : painter_(painter),
          page_(page),
          footer_(std::move(footer)),
          newPage_(newPage),
          em_(page.width() / 50.0) {
        body_.setFamily(QStringLiteral("Liberation Sans"));
        body_.setPixelSize(std::max(1, static_cast<int>(em_ * 0.8)));
        small_ = body_;
        small_.setPixelSize(std::max(1, static_cast<int>(em_ * 0.62)));
        heading_ = body_;
        heading_.setPixelSize(std::max(1, static_cast<int>(em_ * 1.4)));
        heading_.setBold(true);
        startPage();
    }

    QPainter& painter() { return painter_; }
    double em() const { return em_; }
    double line() const { return em_ * 1.15; }
    double left() const { return page_.left() + em_ * 2; }
    double width() const { return page_.width() - em_ * 4; }
    double room() const { return bottom() - y_; }
    int pages() const { return pages_; }
    const QFont& body() const { return body_; }
    const QFont& small() const { return small_; }
    const QFont& heading() const { return heading_; }

    // Makes room for a block `height` high, on a new page if this one has too little left; false
    // when no further page may be started.
    bool makeRoom(double height) {
        if (height <= room() || y_ == top())
            return true;
        // What the new page starts with (the route) may leave too little room again.
        return breakPage() && makeRoom(height);
    }

    // Goes on at the top of a new page; false when no further page may be started.
    bool breakPage() {
        if (!newPage_())
            return false;
        startPage();
        return true;
    }

    // What is drawn at the top of the second page, whenever the report gets there.
    void atSecondPage(std::function<void()> draw) { atSecondPage_ = std::move(draw); }

    // The top of the next block, `height` high; the following one goes below it.
    double take(double height) {
        const double at = y_;
        y_ += height;
        return at;
    }

  private:
    double top() const { return page_.top() + em_ * 2; }
    double bottom() const { return page_.bottom() - em_ * 2.5; }

    void startPage() {
        ++pages_;
        painter_.fillRect(page_, Qt::white);
        painter_.setFont(small_);
        painter_.setPen(kFooterColour);
        painter_.drawText(QRectF(left(), page_.bottom() - em_ * 1.8, width(), em_),
                          Qt::AlignRight | Qt::AlignVCenter,
                          QStringLiteral("%1 · página %2").arg(footer_, QString::number(pages_)));
        y_ = top();
        if (pages_ == 2 && atSecondPage_)
            atSecondPage_();
    }

    QPainter& painter_;
    QRectF page_;
    QString footer_;
    const std::function<bool()>& newPage_;
    double em_;
    QFont body_;
    QFont small_;
    QFont heading_;
    double y_ = 0;
    int pages_ = 0;
    std::function<void()> atSecondPage_;
};

void paintHeading(ReportPages& pages, const ReportContent& content) {
    QPainter& painter = pages.painter();
    const double line = pages.line();
    QStringList lines = {QStringLiteral("Archivo: ") +
                         QFileInfo(text(content.fileName)).fileName()};
    if (content.activityDay != 0)
        lines << QStringLiteral("Fecha de la actividad: ") + dateText(content.activityDay);
    for (const std::string& entry : content.activity)
        lines << text(entry);
    lines << QStringLiteral("Fecha del informe: ") + dateText(content.exportDay);
    lines << QStringLiteral(
                 "Diferencia entre alturas despreciables: %1 m · Saltos de más de %2 min %3 "
                 "segs, son tomados como descansos.")
                 .arg(text(content.altitudeJump), text(content.stopMinutes),
                      text(content.stopSeconds));
    // The first block: it always fits.
    painter.setPen(Qt::black);
    painter.setFont(pages.heading());
    painter.drawText(
        QRectF(pages.left(), pages.take(pages.em() * 2.2), pages.width(), pages.em() * 2),
        Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Análisis Tracks"));
    painter.setFont(pages.body());
    for (const QString& entry : lines)
        painter.drawText(QRectF(pages.left(), pages.take(line), pages.width(), line), Qt::AlignLeft,
                         entry);
    pages.take(line * 0.6);
}

// The eleven figures in two columns, caption and value, and the notes below them.
void paintFigures(ReportPages& pages, const ReportContent& content) {
    QPainter& painter = pages.painter();
    const double line = pages.line();
    const std::size_t rows = (content.figures.size() + 1) / 2;
    const auto notes = static_cast<double>(content.notes.size());
    if (!pages.makeRoom(line * (static_cast<double>(rows) + notes + 1.2)))
        return;
    const double top = pages.take(line * static_cast<double>(rows));
    const double column = pages.width() / 2;
    painter.setFont(pages.body());
    for (std::size_t i = 0; i < content.figures.size(); ++i) {
        const double x = pages.left() + static_cast<double>(i % 2) * column;
        const double y = top + static_cast<double>(i / 2) * line;
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x, y, column * 0.45, line), Qt::AlignLeft,
                         text(content.figures[i].first));
        painter.setPen(kFigureColour);
        painter.drawText(QRectF(x + column * 0.45, y, column * 0.55, line), Qt::AlignLeft,
                         text(content.figures[i].second));
    }
    painter.setPen(Qt::black);
    for (const std::string& note : content.notes)
        painter.drawText(QRectF(pages.left(), pages.take(line), pages.width(), line), Qt::AlignLeft,
                         text(note));
    pages.take(line * 1.2);
}

struct Profile {
    QString title;
    const std::vector<double>& values;
    double low;
    double high;
    QColor colour;
    bool filled;
    // Shown in the plot instead of the values when not empty.
    const std::string& hint;
    // Of the plot, in em.
    double height = 14;
};

// Round values around `low` to `high`, as the window's chart scales them.
std::pair<double, double> roundRange(double low, double high) {
    if (const double step = niceStep(high - low, 5); std::isfinite(step) && step > 0) {
        low = std::floor(low / step) * step;
        high = std::ceil(high / step) * step;
    }
    return {low, high};
}

// "Pulso (ppm): mínimo 95 · media 131,2 · máximo 172".
std::string sensorProfileTitle(const SensorFigures& figures, Sensor sensor,
                               const NumberLocale& locale) {
    return sensorTitle(sensor) + ": mínimo " + formatSingle(figures.lowest, locale) + " · media " +
           formatDouble(roundHalfEven(figures.mean, 1), locale) + " · máximo " +
           formatSingle(figures.highest, locale);
}

// A profile in a framed plot as the window draws it: light grid lines at round values, point
// numbers along the bottom, the stops marked where they began, and every peak kept however many
// points there are.
void paintProfile(ReportPages& pages, const Profile& profile, const ReportContent& content) {
    const double em = pages.em();
    const double plotHeight = em * profile.height;
    // The title, clear of the label of the top grid line.
    const double titleHeight = em * 1.9;
    if (!pages.makeRoom(titleHeight + plotHeight + em * 2.6))
        return;
    QPainter& painter = pages.painter();
    painter.setPen(Qt::black);
    painter.setFont(pages.body());
    painter.drawText(QRectF(pages.left(), pages.take(titleHeight), pages.width(), em * 1.3),
                     Qt::AlignLeft | Qt::AlignBottom, profile.title);
    const double labels = em * 3.4;
    const QRectF plot(pages.left() + labels, pages.take(plotHeight), pages.width() - labels,
                      plotHeight);
    pages.take(em * 2.6);

    const std::vector<double>& values = profile.values;
    const std::size_t n = values.size();
    double low = profile.low;
    double high = profile.high;
    if (high - low < 1e-9)
        high = low + 1;
    const auto xOf = [&](double row) {
        return n < 2 ? plot.center().x()
                     : plot.left() + plot.width() * (row - 1) / static_cast<double>(n - 1);
    };
    const auto yOf = [&](double v) {
        return plot.bottom() - (v - low) / (high - low) * plot.height();
    };

    painter.setFont(pages.small());
    const QPen grid(kGridColour, em * 0.04);
    // A profile without values has no value axis to mark.
    const std::vector<double> valueTicks = profile.hint.empty()
                                               ? ticksBetween(low, high, niceStep(high - low, 5))
                                               : std::vector<double>();
    for (const double tick : valueTicks) {
        painter.setPen(grid);
        painter.drawLine(QPointF(plot.left(), yOf(tick)), QPointF(plot.right(), yOf(tick)));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(pages.left(), yOf(tick) - em * 0.5, labels - em * 0.3, em),
                         Qt::AlignRight | Qt::AlignVCenter,
                         text(formatDouble(tick, content.locale)));
    }
    if (n >= 2) {
        for (const double tick :
             ticksBetween(1, static_cast<double>(n), std::max(1.0, niceStep(double(n - 1), 8)))) {
            painter.setPen(grid);
            painter.drawLine(QPointF(xOf(tick), plot.top()), QPointF(xOf(tick), plot.bottom()));
            painter.setPen(Qt::black);
            painter.drawText(QRectF(xOf(tick) - em * 2, plot.bottom() + em * 0.2, em * 4, em),
                             Qt::AlignHCenter | Qt::AlignTop,
                             text(formatInteger(static_cast<std::int64_t>(tick))));
        }
    }
    painter.drawText(QRectF(plot.left(), plot.bottom() + em * 1.1, plot.width(), em),
                     Qt::AlignRight | Qt::AlignTop, QStringLiteral("punto"));

    if (!profile.hint.empty()) {
        painter.setPen(kFooterColour);
        painter.setFont(pages.body());
        painter.drawText(plot, Qt::AlignCenter, text(profile.hint));
    } else if (n > 0) {
        painter.save();
        painter.setClipRect(plot);
        const std::vector<std::size_t> rows =
            drawnRows(values, 0, n, static_cast<std::size_t>(std::max(1.0, plot.width())));
        QPainterPath path;
        for (const std::size_t i : rows) {
            const QPointF point(xOf(double(i + 1)), yOf(values[i]));
            if (path.elementCount() == 0) {
                path.moveTo(point);
            } else {
                path.lineTo(point);
            }
        }
        if (profile.filled) {
            QPainterPath area = path;
            area.lineTo(xOf(double(rows.back() + 1)), plot.bottom());
            area.lineTo(xOf(double(rows.front() + 1)), plot.bottom());
            area.closeSubpath();
            painter.fillPath(area, profile.colour.lighter(150));
        }
        painter.setPen(QPen(profile.colour, em * 0.08));
        painter.drawPath(path);
        painter.setPen(QPen(kStopColour, em * 0.1));
        for (const int row : content.stopRows) {
            if (row >= 1 && static_cast<std::size_t>(row) <= n)
                painter.drawLine(QPointF(xOf(row), plot.top()), QPointF(xOf(row), plot.bottom()));
        }
        painter.restore();
    }
    painter.setPen(QPen(Qt::black, em * 0.05));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);
}

// The route, north up, with the stops numbered as on the map.
void paintRouteBlock(ReportPages& pages, const ReportContent& content) {
    QPainter& painter = pages.painter();
    const double line = pages.line();
    painter.setPen(Qt::black);
    painter.setFont(pages.body());
    painter.drawText(QRectF(pages.left(), pages.take(line), pages.width(), line), Qt::AlignLeft,
                     QStringLiteral("Recorrido"));
    // As tall as the route's shape asks, from under half the width to under three quarters of it.
    double shape = 0.72;
    if (const auto bounds = content.route.bounds()) {
        shape = (bounds->bottom - bounds->top) / std::max(bounds->right - bounds->left, 1e-12);
    }
    const double height =
        std::min(pages.width() * std::clamp(shape, 0.45, 0.72), pages.room() - line * 3);
    const QRectF box(pages.left(), pages.take(height), pages.width(), height);
    painter.setFont(pages.small());
    paintRoute(painter, box, content.route, content.routeMarks, pages.em());
    pages.take(line * 1.5);
}

// Every stop, in columns, running on over as many pages as it takes.
void paintStops(ReportPages& pages, const ReportContent& content) {
    QPainter& painter = pages.painter();
    const double line = pages.line();
    const double columnWidth = pages.em() * 7.5;
    const auto columns = static_cast<std::size_t>(std::max(1.0, pages.width() / columnWidth));
    const std::size_t count = content.stops.size();
    std::size_t next = 0;
    do {
        if (!pages.makeRoom(line * 2))
            return;
        painter.setPen(Qt::black);
        painter.setFont(pages.body());
        const QString heading = next == 0 ? QStringLiteral("Paradas (%1)").arg(count)
                                          : QStringLiteral("Paradas (continuación)");
        painter.drawText(QRectF(pages.left(), pages.take(line), pages.width(), line), Qt::AlignLeft,
                         heading);
        const auto roomRows = static_cast<std::size_t>(std::max(1.0, pages.room() / line));
        const std::size_t left = count - next;
        const std::size_t rows = std::min(roomRows, (left + columns - 1) / columns);
        const std::size_t here = std::min(left, rows * columns);
        const double top = pages.take(line * static_cast<double>(rows));
        for (std::size_t k = 0; k < here; ++k) {
            const double x = pages.left() + static_cast<double>(k / rows) * columnWidth;
            const double y = top + static_cast<double>(k % rows) * line;
            painter.drawText(QRectF(x, y, columnWidth, line), Qt::AlignLeft,
                             text(content.stops[next + k]));
        }
        next += here;
    } while (next < count);
}

// The laps the file marks, one a line, running on over as many pages as it takes.
void paintLaps(ReportPages& pages, const ReportContent& content) {
    QPainter& painter = pages.painter();
    const double line = pages.line();
    for (std::size_t i = 0; i < content.laps.size(); ++i) {
        if (!pages.makeRoom(line * (i == 0 ? 2.5 : 1)))
            return;
        painter.setPen(Qt::black);
        painter.setFont(pages.body());
        if (i == 0) {
            pages.take(line * 0.5);
            painter.drawText(QRectF(pages.left(), pages.take(line), pages.width(), line),
                             Qt::AlignLeft,
                             QStringLiteral("%1 (%2)")
                                 .arg(QString::fromUtf8(kLapListHeading))
                                 .arg(content.laps.size()));
        }
        painter.drawText(QRectF(pages.left(), pages.take(line), pages.width(), line), Qt::AlignLeft,
                         text(content.laps[i]));
    }
}

}  // namespace

std::int32_t todayAsDayCount() {
    return static_cast<std::int32_t>(kFirstDay.daysTo(QDate::currentDate()));
}

ReportContent reportContent(const AnalysisResult& result, const NumberLocale& locale) {
    ReportContent content;
    content.fileName = result.inputs.trackPath;
    content.activityDay = result.date();
    content.exportDay = todayAsDayCount();
    content.altitudeJump = result.inputs.thresholds.altitudeJump;
    content.stopMinutes = result.inputs.thresholds.stopMinutes;
    content.stopSeconds = result.inputs.thresholds.stopSeconds;
    for (const SummaryBandEntry& entry : kSummaryBand) {
        content.figures.emplace_back(entry.caption,
                                     summaryFigure(entry.label, result.summary, locale));
    }
    for (const std::string& note :
         {gpsJumpsNote(result.summary), pointsWithoutTimeNote(result.summary)}) {
        if (!note.empty())
            content.notes.push_back(note);
    }
    for (const Stop& stop : result.stops) {
        content.stops.push_back(stopEntryText(stop, locale));
        content.stopRows.push_back(stop.row);
    }
    std::string activity;
    appendActivityLines(activity, result, locale);
    for (std::size_t start = 0; start < activity.size();) {
        const std::size_t end = activity.find('\n', start);
        const std::string entry = activity.substr(start, end - start);
        // The heading dates the activity already.
        if (entry.rfind(kDateCaption, 0) != 0)
            content.activity.push_back(entry);
        start = end + 1;
    }
    for (const Lap& lap : result.laps)
        content.laps.push_back(lapText(lap, locale));
    for (const PointDetail& point : result.points) {
        content.altitude.push_back(point.altitudeMetres);
        content.speed.push_back(point.speedKmh);
    }
    for (const Sensor sensor : kSensors) {
        const auto figures = sensorFigures(result.sensors, sensor, 0, result.points.size());
        if (!figures)
            continue;
        ReportContent::SensorProfile profile{sensorProfileTitle(*figures, sensor, locale), {}};
        profile.values.reserve(result.points.size());
        for (std::size_t i = 0; i < result.points.size(); ++i) {
            const auto v = result.sensors.value(sensor, i);
            profile.values.push_back(v ? *v : std::numeric_limits<double>::quiet_NaN());
        }
        content.sensors.push_back(std::move(profile));
    }
    content.route = mapTrackOf(result.points);
    content.routeMarks = mapMarksOf(result, locale);
    const AltitudeAxis axis =
        altitudeAxis(result.summary.lowestAltitude, result.summary.highestAltitude);
    content.altitudeAxisMinimum = axis.minimum;
    content.altitudeAxisMaximum = axis.maximum;
    if (!result.summary.hasAltitudes)
        content.altitudeHint = kNoAltitudesHint;
    if (!result.summary.hasTimes)
        content.speedHint = kNoTimesHint;
    content.locale = locale;
    return content;
}

int paintReport(QPainter& painter, const QRectF& page, const ReportContent& content,
                const std::function<bool()>& newPage) {
    painter.save();
    ReportPages pages(painter, page, QFileInfo(text(content.fileName)).fileName(), newPage);
    // The sensors' profiles may reach the second page before the stops do.
    pages.atSecondPage([&] { paintRouteBlock(pages, content); });
    paintHeading(pages, content);
    paintFigures(pages, content);
    paintProfile(pages,
                 {QStringLiteral("Altitud (m)"), content.altitude, content.altitudeAxisMinimum,
                  content.altitudeAxisMaximum, QColor(60, 120, 40), true, content.altitudeHint},
                 content);
    // Speeds from 0 (or the lowest, were it below) to the highest, on round values as the
    // window's chart scales them.
    const auto [slowest, fastest] = std::minmax_element(content.speed.begin(), content.speed.end());
    const auto [low, high] = roundRange(content.speed.empty() ? 0.0 : std::min(0.0, *slowest),
                                        content.speed.empty() ? 1.0 : *fastest);
    paintProfile(pages,
                 {QStringLiteral("Velocidad (km/h)"), content.speed, low, high, QColor(20, 60, 180),
                  false, content.speedHint},
                 content);
    static const std::string noHint;
    for (const ReportContent::SensorProfile& sensor : content.sensors) {
        double lowest = std::numeric_limits<double>::infinity();
        double highest = -lowest;
        for (const double v : sensor.values) {
            if (!std::isnan(v)) {
                lowest = std::min(lowest, v);
                highest = std::max(highest, v);
            }
        }
        const auto [from, to] = roundRange(lowest, highest);
        paintProfile(
            pages,
            {text(sensor.title), sensor.values, from, to, QColor(170, 40, 90), false, noHint, 7},
            content);
    }
    paintStops(pages, content);
    paintLaps(pages, content);
    if (pages.pages() == 1)
        pages.breakPage();
    painter.restore();
    return pages.pages();
}

QByteArray reportPdf(const ReportContent& content) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(300);
    pdf.setTitle(QStringLiteral("Análisis Tracks: ") +
                 QFileInfo(text(content.fileName)).fileName());
    pdf.setCreator(QStringLiteral("Análisis Tracks"));
    QPainter painter;
    if (!painter.begin(&pdf))
        return {};
    const QRect page = painter.viewport();
    paintReport(painter, QRectF(page), content, [&pdf] { return pdf.newPage(); });
    painter.end();
    return bytes;
}

bool writeReportPdf(const ReportContent& content, const QString& path, QString& error) {
    const std::string file = QFile::encodeName(path).toStdString();
    try {
        const QByteArray pdf = reportPdf(content);
        if (pdf.isEmpty())
            throw RuntimeError(ErrorKind::DeviceIo, "No se puede dibujar el informe.")
                .withFile(file);
        writeFileWhole(file,
                       std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
    } catch (const RuntimeError& e) {
        error = QString::fromStdString(e.message());
        return false;
    }
    return true;
}

}  // namespace at
