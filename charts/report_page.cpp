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

#include "analysis/profiles.h"
#include "analysis/summary_band.h"
#include "analysis/summary_panel.h"
#include "platform/number_text.h"
#include "platform/output_file.h"
#include "platform/rounding.h"
#include "platform/runtime_error.h"

namespace at {
namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// A profile over a framed box, from `low` to `high`, with its range written at the left: the
// altitude filled, the speed as a plain line.
void paintProfile(QPainter& painter, const QRectF& box, const std::vector<double>& values,
                  double low, double high, const QString& title, const QColor& colour, bool filled,
                  double em, const NumberLocale& locale) {
    painter.setPen(QPen(Qt::black, em * 0.05));
    painter.setBrush(Qt::NoBrush);
    painter.drawText(QRectF(box.left(), box.top() - em * 1.4, box.width(), em * 1.3),
                     Qt::AlignLeft | Qt::AlignBottom, title);
    painter.drawRect(box);
    if (values.empty())
        return;
    if (high - low < 1e-9)
        high = low + 1;
    const QRectF inner = box.adjusted(em * 3.2, em * 0.3, -em * 0.3, -em * 0.3);
    const std::size_t n = values.size();
    const auto xOf = [&](std::size_t i) {
        return n < 2 ? inner.center().x()
                     : inner.left() + inner.width() * double(i) / double(n - 1);
    };
    const auto yOf = [&](double v) {
        return inner.bottom() - (v - low) / (high - low) * inner.height();
    };
    // At most a few thousand points: more than a printed line can show.
    const std::size_t step = std::max<std::size_t>(1, n / 4000);
    QPainterPath path;
    path.moveTo(xOf(0), yOf(values[0]));
    for (std::size_t i = step; i < n; i += step)
        path.lineTo(xOf(i), yOf(values[i]));
    path.lineTo(xOf(n - 1), yOf(values[n - 1]));
    if (filled) {
        QPainterPath area = path;
        area.lineTo(xOf(n - 1), inner.bottom());
        area.lineTo(xOf(0), inner.bottom());
        area.closeSubpath();
        painter.fillPath(area, colour.lighter(150));
    }
    painter.setPen(QPen(colour, em * 0.08));
    painter.drawPath(path);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(box.left() + em * 0.2, inner.top(), em * 2.9, em),
                     Qt::AlignLeft | Qt::AlignTop,
                     text(formatDouble(roundHalfEven(high, 1), locale)));
    painter.drawText(QRectF(box.left() + em * 0.2, inner.bottom() - em, em * 2.9, em),
                     Qt::AlignLeft | Qt::AlignBottom,
                     text(formatDouble(roundHalfEven(low, 1), locale)));
}

}  // namespace

ReportContent reportContent(const AnalysisResult& result, const NumberLocale& locale) {
    ReportContent content;
    content.fileName = result.inputs.trackPath;
    content.date = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")).toStdString();
    content.altitudeJump = result.inputs.thresholds.altitudeJump;
    content.stopMinutes = result.inputs.thresholds.stopMinutes;
    content.stopSeconds = result.inputs.thresholds.stopSeconds;
    for (const SummaryBandEntry& entry : kSummaryBand) {
        content.figures.emplace_back(entry.caption,
                                     summaryFigure(entry.label, result.summary, locale));
    }
    for (const Stop& stop : result.stops)
        content.stops.push_back(stopEntryText(stop, locale));
    for (const PointDetail& point : result.points) {
        content.altitude.push_back(point.altitudeMetres);
        content.speed.push_back(point.speedKmh);
    }
    const AltitudeAxis axis =
        altitudeAxis(result.summary.lowestAltitude, result.summary.highestAltitude);
    content.altitudeAxisMinimum = axis.minimum;
    content.altitudeAxisMaximum = axis.maximum;
    content.locale = locale;
    return content;
}

void paintReport(QPainter& painter, const QRectF& page, const ReportContent& content) {
    painter.save();
    painter.fillRect(page, Qt::white);
    // Everything is measured in "em", one fiftieth of the page width.
    const double em = page.width() / 50.0;
    QFont body(QStringLiteral("Liberation Sans"));
    body.setPixelSize(std::max(1, static_cast<int>(em * 0.8)));
    QFont heading = body;
    heading.setPixelSize(std::max(1, static_cast<int>(em * 1.4)));
    heading.setBold(true);
    const double left = page.left() + em * 2;
    const double width = page.width() - em * 4;
    double y = page.top() + em * 2;

    painter.setPen(Qt::black);
    painter.setFont(heading);
    painter.drawText(QRectF(left, y, width, em * 2), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Análisis Tracks"));
    y += em * 2.2;
    painter.setFont(body);
    const double line = em * 1.15;
    const QString fileName = QFileInfo(text(content.fileName)).fileName();
    painter.drawText(QRectF(left, y, width, line), Qt::AlignLeft,
                     QStringLiteral("Archivo: ") + fileName);
    y += line;
    painter.drawText(QRectF(left, y, width, line), Qt::AlignLeft,
                     QStringLiteral("Fecha: ") + text(content.date));
    y += line;
    painter.drawText(
        QRectF(left, y, width, line), Qt::AlignLeft,
        QStringLiteral("Diferencia entre alturas despreciables: %1 m · Saltos de más "
                       "de %2 min %3 segs, son tomados como descansos.")
            .arg(text(content.altitudeJump), text(content.stopMinutes), text(content.stopSeconds)));
    y += line * 1.6;

    // The eleven figures in two columns, the stop list beside them.
    const double figuresTop = y;
    const double column = width * 0.36;
    for (std::size_t i = 0; i < content.figures.size(); ++i) {
        const double x = left + (i % 2) * column;
        const double row = figuresTop + static_cast<double>(i / 2) * line;
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x, row, column * 0.55, line), Qt::AlignLeft,
                         text(content.figures[i].first));
        painter.setPen(QColor(170, 0, 0));
        painter.drawText(QRectF(x + column * 0.55, row, column * 0.45, line), Qt::AlignLeft,
                         text(content.figures[i].second));
    }
    const double figuresBottom =
        figuresTop + static_cast<double>((content.figures.size() + 1) / 2) * line;
    const double stopsLeft = left + 2 * column + em;
    painter.setPen(Qt::black);
    painter.drawText(QRectF(stopsLeft, figuresTop, width - 2 * column - em, line), Qt::AlignLeft,
                     QStringLiteral("Paradas (%1)").arg(content.stops.size()));
    // The stop list in columns below its heading, as many as fit beside the figures.
    const double stopsTop = figuresTop + line;
    const int perColumn = std::max(1, static_cast<int>((figuresBottom - stopsTop) / line) + 2);
    const double stopColumn = em * 6;
    const int columns = std::max(1, static_cast<int>((left + width - stopsLeft) / stopColumn));
    const std::size_t room = static_cast<std::size_t>(perColumn * columns);
    for (std::size_t i = 0; i < content.stops.size() && i < room; ++i) {
        const double x = stopsLeft + static_cast<double>(i / perColumn) * stopColumn;
        const double row = stopsTop + static_cast<double>(i % perColumn) * line;
        QString entry = text(content.stops[i]);
        if (i + 1 == room && content.stops.size() > room)
            entry = QStringLiteral("… y %1 más").arg(content.stops.size() - room + 1);
        painter.drawText(QRectF(x, row, stopColumn, line), Qt::AlignLeft, entry);
    }
    y = std::max(figuresBottom, stopsTop + perColumn * line) + em * 2.5;

    const double profileHeight = (page.bottom() - em * 2 - y - em * 2.5) / 2;
    paintProfile(painter, QRectF(left, y, width, profileHeight), content.altitude,
                 content.altitudeAxisMinimum, content.altitudeAxisMaximum,
                 QStringLiteral("Altitud (m)"), QColor(60, 120, 40), true, em, content.locale);
    y += profileHeight + em * 2.5;
    // Speeds from 0 (or the lowest, were it below) to the highest.
    const auto [slowest, fastest] = std::minmax_element(content.speed.begin(), content.speed.end());
    const bool anySpeed = !content.speed.empty();
    paintProfile(painter, QRectF(left, y, width, profileHeight), content.speed,
                 anySpeed ? std::min(0.0, *slowest) : 0.0, anySpeed ? *fastest : 0.0,
                 QStringLiteral("Velocidad (km/h)"), QColor(20, 60, 180), false, em,
                 content.locale);
    painter.restore();
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
    paintReport(painter, QRectF(page), content);
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
