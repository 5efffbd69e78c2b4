#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <sstream>

#include "app/result_sharing.h"
#include "cli/summary_command.h"
#include "tests/app/window_fixture.h"
#include "tests/support/hostile_files.h"

namespace at::test {
namespace {

class FakeSaveDialog final : public SaveFileDialog {
  public:
    QString answer;
    QStringList asked;
    QStringList proposed;
    QString ask(const QString& title, const QString& proposal, const QString&) override {
        asked << title;
        proposed << proposal;
        return answer;
    }
};

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(text);
    while (std::getline(in, field, separator))
        fields.push_back(field);
    return fields;
}

double readNumber(std::string text, const NumberLocale& locale) {
    if (locale.decimalSeparator == ",") {
        for (char& c : text)
            c = c == ',' ? '.' : c;
    }
    return std::stod(text);
}

// The window after analysing the mountain sample, as a user has it on screen.
class ResultSharingTest : public WindowTest, public testing::WithParamInterface<const char*> {
  protected:
    void analyseSample(const NumberLocale& locale) {
        makeWindow(locale);
        window->show();
        auto dialog = std::make_unique<FakeSaveDialog>();
        saves = dialog.get();
        window->sharing().setSaveDialog(std::move(dialog));
        sample = std::string(AT_SAMPLES_DIR) + "/ruta-sierra.plt";
        setText("txtArchivo", QString::fromStdString(sample));
        click("Command1");
        ASSERT_TRUE(messages->shown.empty());
        altitude = control<ProfileChartWidget>("MSChart1");
        speed = control<ProfileChartWidget>("MSChart2");
        QCoreApplication::processEvents();
    }

    QPointF plotPoint(ProfileChartWidget* chart, double share) const {
        const QRectF plot = chart->chart()->plotArea();
        return chart->viewportTransform().map(chart->chart()->mapToScene(
            QPointF(plot.left() + share * plot.width(), plot.top() + 0.9 * plot.height())));
    }

    std::string sample;
    FakeSaveDialog* saves = nullptr;
    ProfileChartWidget* altitude = nullptr;
    ProfileChartWidget* speed = nullptr;
};

TEST_F(WindowTest, ChartsAtRestAreEmpty) {
    for (const char* name : {"MSChart1", "MSChart2"}) {
        EXPECT_EQ(control<ProfileChartWidget>(name)->rowCount(), 0) << name;
        EXPECT_TRUE(control<ProfileChartWidget>(name)->stopRows().empty()) << name;
    }
    // Nothing to share yet.
    std::unique_ptr<QMenu> menu(window->sharing().resultsMenu());
    for (QAction* action : menu->actions())
        EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
}

// What is shared is the result the labels show: none after a pass that failed.
TEST_F(WindowTest, AFailedAnalysisLeavesNothingToShare) {
    const auto enabled = [this] {
        std::unique_ptr<QMenu> menu(window->sharing().resultsMenu());
        return menu->actions().front()->isEnabled();
    };
    setText("txtArchivo", QString::fromUtf8(AT_SAMPLES_DIR "/paseo-corto.plt"));
    click("Command1");
    EXPECT_TRUE(enabled());
    EXPECT_TRUE(window->sharing().summaryText().contains(text("lbl3")));
    setText("txtArchivo", QString::fromStdString(dir.file("no-existe.plt")));
    click("Command1");
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_FALSE(enabled());
    EXPECT_TRUE(window->sharing().summaryText().isEmpty());
}

TEST_P(ResultSharingTest, AClickInTheMiddleChoosesTheNearestRowOnBothCharts) {
    analyseSample(NumberLocale{GetParam()});
    const int rows = altitude->rowCount();
    ASSERT_GT(rows, 1000);
    QSignalSpy chosen(altitude, &ProfileChartWidget::pointSelected);
    QTest::mouseClick(altitude->viewport(), Qt::LeftButton, {}, plotPoint(altitude, 0.5).toPoint());
    ASSERT_EQ(chosen.count(), 1);
    const int row = chosen[0][1].value<qint16>();
    const double middle = 1 + (rows - 1) * 0.5;
    EXPECT_NEAR(row, middle, (rows - 1) / altitude->chart()->plotArea().width());
    EXPECT_EQ(altitude->markedRow(), row);
    EXPECT_EQ(speed->markedRow(), row);
    EXPECT_TRUE(text("lblKm").startsWith(QStringLiteral("Km Seleccionado: ")));

    // Zoomed in on both, a click still picks the row drawn under it.
    QWheelEvent wheel(plotPoint(altitude, 0.25), QPointF(), QPoint(), QPoint(0, 120 * 15),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(altitude->viewport(), &wheel);
    EXPECT_EQ(speed->shownRows(), altitude->shownRows());
    const auto [low, high] = altitude->shownRows();
    EXPECT_LT(high - low, rows / 10.0);
    QTest::mouseClick(altitude->viewport(), Qt::LeftButton, {}, plotPoint(altitude, 0.5).toPoint());
    ASSERT_EQ(chosen.count(), 2);
    EXPECT_NEAR(chosen[1][1].value<qint16>(), (low + high) / 2, 1.0);
    EXPECT_EQ(altitude->rowCount(), rows);
}

TEST_P(ResultSharingTest, StopsAreMarkedWhereTheyBeganAndAChosenOneIsCentred) {
    analyseSample(NumberLocale{GetParam()});
    const QStringList list = stops();
    ASSERT_FALSE(list.isEmpty());
    ASSERT_EQ(altitude->stopRows().size(), static_cast<std::size_t>(list.size()));
    EXPECT_EQ(speed->stopRows(), altitude->stopRows());
    // The point where a stop began is followed by a gap longer than the threshold (70 s).
    const std::string csv = readBytes([&] {
        const QString path = QString::fromStdString(dir.file("p.csv"));
        QString error;
        EXPECT_TRUE(window->sharing().exportPointsCsv(path, error)) << error.toStdString();
        return path.toStdString();
    }());
    const NumberLocale locale{GetParam()};
    const auto lines = split(csv, '\n');
    const char sep = locale.decimalSeparator == "," ? ';' : ',';
    const auto secondsOf = [&](int row) {
        const std::string time = split(lines[static_cast<std::size_t>(row)], sep)[2];  // Hora
        return std::stoi(time.substr(0, 2)) * 3600 + std::stoi(time.substr(3, 2)) * 60 +
               std::stoi(time.substr(6, 2));
    };
    for (const int row : altitude->stopRows())
        EXPECT_GT(secondsOf(row + 1) - secondsOf(row), 70) << row;

    control<QListWidget>("lstParada")->setCurrentRow(list.size() - 1);
    const auto [low, high] = altitude->shownRows();
    EXPECT_NEAR((low + high) / 2, altitude->stopRows().back(), (high - low) / 2);
    EXPECT_LT(high - low, altitude->rowCount() / 2.0);
    EXPECT_EQ(speed->shownRows(), altitude->shownRows());
}

TEST_P(ResultSharingTest, ExportsPointsSummaryReportAndImages) {
    const NumberLocale locale{GetParam()};
    analyseSample(locale);
    ResultSharing& sharing = window->sharing();
    QString error;

    // The CSV reads back into the chart rows.
    const QString csvPath = QString::fromStdString(dir.file("puntos.csv"));
    saves->answer = csvPath;
    sharing.exportPointsCsvAs();
    ASSERT_TRUE(messages->shown.empty());
    const auto lines = split(readBytes(csvPath.toStdString()), '\n');
    const char sep = locale.decimalSeparator == "," ? ';' : ',';
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(altitude->rowCount()) + 1);
    // The sample's point lines carry their date.
    EXPECT_EQ(lines[0], std::string("Punto") + sep + "Fecha" + sep + "Hora" + sep + "Latitud (°)" +
                            sep + "Longitud (°)" + sep + "Altitud (m)" + sep + "Distancia (km)" +
                            sep + "Velocidad (km/h)" + sep + "Pulso (ppm)" + sep +
                            "Cadencia (rpm)" + sep + "Potencia (W)" + sep + "Temperatura (°C)\r");
    for (const int row : {1, 500, int(altitude->rowCount())}) {
        const auto fields = split(lines[static_cast<std::size_t>(row)], sep);
        ASSERT_EQ(fields.size(), 12u) << row;
        EXPECT_EQ(std::stoi(fields[0]), row);
        EXPECT_EQ(fields[1].size(), 10u) << fields[1];  // aaaa-mm-dd
        EXPECT_NEAR(readNumber(fields[5], locale), altitude->rowValue(row), 0.05);
        EXPECT_NEAR(readNumber(fields[7], locale), speed->rowValue(row), 0.005);
        EXPECT_NEAR(readNumber(fields[3], locale), 40.0, 2.0);  // the sample lies in Spain
    }
    const auto last = split(lines.back(), sep);
    std::string distance = text("lbl3").toStdString();
    EXPECT_NEAR(readNumber(last[6], locale),
                readNumber(distance.substr(0, distance.size() - 3), locale), 0.05);

    // The summary as the command line prints it.
    std::ostringstream out, err;
    ASSERT_EQ(runSummary({sample}, SummaryOptions{}, out, err, locale), 0);
    EXPECT_EQ(sharing.summaryText().toStdString(), out.str());
    sharing.copySummary();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), out.str());

    // Two A4 pages, the route on the second: 595 x 842 points, drawn at 36 dpi as 298 x 421
    // pixels.
    const QString pdfPath = QString::fromStdString(dir.file("informe.pdf"));
    saves->answer = pdfPath;
    sharing.exportReportAs();
    ASSERT_TRUE(messages->shown.empty());
    QProcess pdftoppm;
    const QString prefix = QString::fromStdString(dir.file("pagina"));
    pdftoppm.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("36"),
                                                QStringLiteral("-png"), pdfPath, prefix});
    ASSERT_TRUE(pdftoppm.waitForFinished(20000));
    ASSERT_EQ(pdftoppm.exitCode(), 0) << pdftoppm.readAllStandardError().toStdString();
    const QImage page(prefix + QStringLiteral("-1.png"));
    EXPECT_EQ(page.size(), QSize(298, 421));
    EXPECT_FALSE(QFileInfo::exists(prefix + QStringLiteral("-3.png")));
    const QImage second(prefix + QStringLiteral("-2.png"));
    int dark = 0, route = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            dark += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
            const QColor colour = second.pixelColor(x, y);
            route += colour.blue() > 150 && colour.red() > 80 && colour.green() < 110 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 500);   // text and profiles, not a blank page
    EXPECT_GT(route, 150);  // the route's line

    // Pictures of a chart at twice its size.
    const QString png = QString::fromStdString(dir.file("altitud.png"));
    saves->answer = png;
    sharing.saveChartImageAs(*altitude);
    EXPECT_EQ(QImage(png).size(), altitude->size() * 2);
    const QString svg = QString::fromStdString(dir.file("velocidad.svg"));
    ASSERT_TRUE(sharing.saveChartImage(*speed, svg, error)) << error.toStdString();
    EXPECT_NE(readBytes(svg.toStdString()).find("<svg"), std::string::npos);
    sharing.copyChartImage(*speed);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), speed->size() * 2);
    EXPECT_TRUE(messages->shown.empty());

    // A file that cannot be written: a message, the window goes on.
    saves->answer = QString::fromStdString(dir.file("no/existe/puntos.csv"));
    sharing.exportPointsCsvAs();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_TRUE(messages->shown[0].text.contains(QStringLiteral("no/existe/puntos.csv")));
}

// Every export over the track being shown is refused, and its name never proposed;
// one that cannot be written leaves the file that was there and says why, with kind and file.
TEST_F(WindowTest, ExportsNeverOverwriteTheTrackNorLeaveHalfAFile) {
    auto fake = std::make_unique<FakeSaveDialog>();
    FakeSaveDialog* saves = fake.get();
    window->sharing().setSaveDialog(std::move(fake));
    const std::string bytes = readBytes(std::string(AT_SAMPLES_DIR) + "/paseo-corto.plt");
    const std::string track = dir.write("ruta.csv", bytes);
    setText("txtArchivo", QString::fromStdString(track));
    click("Command1");
    ASSERT_TRUE(messages->shown.empty());
    ResultSharing& sharing = window->sharing();
    saves->answer = QString::fromStdString(track);
    sharing.exportPointsCsvAs();
    sharing.exportReportAs();
    sharing.saveChartImageAs(*control<ProfileChartWidget>("MSChart1"));
    ASSERT_EQ(messages->shown.size(), 3u);
    for (const auto& box : messages->shown) {
        EXPECT_EQ(box.text,
                  QStringLiteral("Error de acceso a la ruta o al archivo\nEs el track que "
                                 "se está mostrando: no se sobrescribe. Elija otro "
                                 "nombre.\nArchivo: ") +
                      saves->answer);
    }
    EXPECT_EQ(readBytes(track), bytes);
    EXPECT_EQ(saves->proposed.front(), QString::fromStdString(dir.file("ruta-analisis.csv")));

    const QString csv = QString::fromStdString(dir.write("puntos.csv", "los de antes"));
    messages->shown.clear();
    saves->answer = csv;
    {
        FullDisk disk;
        ScopedFileCalls scoped(disk);
        sharing.exportPointsCsvAs();
    }
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].text,
              QStringLiteral("Disco lleno\nNo queda espacio en el dispositivo.\nArchivo: ") + csv);
    EXPECT_EQ(readBytes(csv.toStdString()), "los de antes");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST_F(WindowTest, MenusOfferTheShareCommands) {
    ResultSharing& sharing = window->sharing();
    std::unique_ptr<QMenu> chart(sharing.chartMenu(*control<ProfileChartWidget>("MSChart2")));
    std::unique_ptr<QMenu> results(sharing.resultsMenu());
    QStringList texts;
    for (QMenu* menu : {chart.get(), results.get()})
        for (QAction* action : menu->actions())
            texts << action->text();
    // The speed profile's own choices come first, apart from the share commands.
    EXPECT_EQ(texts, QStringList({QStringLiteral("Eje horizontal"),
                                  QStringLiteral("Velocidad media en movimiento"), QString(),
                                  QStringLiteral("Guardar imagen…"),
                                  QStringLiteral("Copiar imagen"), QStringLiteral("Copiar resumen"),
                                  QStringLiteral("Exportar informe PDF…"),
                                  QStringLiteral("Exportar puntos CSV…")}));
    for (const char* name : {"lbl3", "Label9", "lstParada"})
        EXPECT_EQ(control(name)->contextMenuPolicy(), Qt::CustomContextMenu) << name;
}

INSTANTIATE_TEST_SUITE_P(DecimalSeparators, ResultSharingTest, testing::Values(".", ","),
                         [](const auto& info) {
                             return std::string(info.param) == "." ? "point" : "comma";
                         });

}  // namespace
}  // namespace at::test
