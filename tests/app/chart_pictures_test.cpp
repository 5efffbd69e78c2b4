// What the pictures of a chart hold, and how the two charts stand one above the other.
#include <QApplication>
#include <QClipboard>
#include <QSvgRenderer>
#include <QWheelEvent>

#include "app/result_sharing.h"
#include "tests/app/window_fixture.h"

namespace at::test {
namespace {

// Saves where the test says and remembers the name the window proposed.
class SaveAs final : public SaveFileDialog {
  public:
    QString path;
    QString proposed;
    QString ask(const QString&, const QString& name, const QString&) override {
        proposed = name;
        return path;
    }
};

// The mean difference of two pictures of one size, 0 to 255 per colour channel.
double meanDifference(QImage a, QImage b) {
    a = a.convertToFormat(QImage::Format_RGB888);
    b = b.convertToFormat(QImage::Format_RGB888);
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < 3 * a.width(); ++x)
            sum += std::abs(a.constScanLine(y)[x] - b.constScanLine(y)[x]);
    }
    return sum / (3.0 * a.width() * a.height());
}

class TwoCharts : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->show();
        setText("txtArchivo", QStringLiteral(AT_SAMPLES_DIR "/ruta-sierra.plt"));
        click("Command1");
        altitude = control<ProfileChartWidget>("MSChart1");
        speed = control<ProfileChartWidget>("MSChart2");
        choosePoint(1200);
        settle();
    }

    // The charts lay themselves out and align in a few rounds of events.
    static void settle() {
        for (int i = 0; i < 6; ++i)
            QCoreApplication::processEvents();
    }

    void expectAligned(const char* when) const {
        const auto edges = [this](ProfileChartWidget* chart) {
            const QRectF plot = chart->chart()->plotArea();
            const double origin = chart->viewport()->mapTo(window.get(), QPoint(0, 0)).x();
            return std::pair(origin + plot.left(), origin + plot.right());
        };
        EXPECT_NEAR(edges(altitude).first, edges(speed).first, 1e-6) << when;
        EXPECT_NEAR(edges(altitude).second, edges(speed).second, 1e-6) << when;
        EXPECT_GT(edges(speed).second - edges(speed).first, 500) << when;
    }

    ProfileChartWidget* altitude = nullptr;
    ProfileChartWidget* speed = nullptr;
};

// A picture drawn at four times the scale shows its top-left quarter and differs from the window
// by 12 to 57, about as much as a blank picture (9 to 58); a right one by anti-aliasing only (2 to
// 3).
TEST_F(TwoCharts, PicturesShowTheWholeChartAsTheWindowDrawsIt) {
    constexpr double kLikeTheWindow = 6;
    auto saveAs = std::make_unique<SaveAs>();
    SaveAs& dialog = *saveAs;
    window->sharing().setSaveDialog(std::move(saveAs));
    for (ProfileChartWidget* chart : {altitude, speed}) {
        const std::string title = chart == altitude ? "Altitud" : "Velocidad";
        const QImage onScreen = chart->grab().toImage();
        const auto difference = [&](const QImage& picture) {
            return meanDifference(
                picture.scaled(chart->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                onScreen);
        };
        dialog.path = QString::fromStdString(dir.file("perfil.png"));
        window->sharing().saveChartImageAs(*chart);
        EXPECT_TRUE(dialog.proposed.endsWith(
            QString::fromStdString("/ruta-sierra-" + title + ".png").toLower()));
        EXPECT_EQ(QImage(dialog.path).size(), chart->size() * 2) << title;
        EXPECT_LT(difference(QImage(dialog.path)), kLikeTheWindow) << title;

        window->sharing().copyChartImage(*chart);
        EXPECT_LT(difference(QGuiApplication::clipboard()->image()), kLikeTheWindow) << title;

        // The drawing lies inside the view box: drawn at the view box's size it is the chart.
        dialog.path = QString::fromStdString(dir.file("perfil.svg"));
        window->sharing().saveChartImageAs(*chart);
        QSvgRenderer svg(dialog.path);
        EXPECT_EQ(svg.viewBox(), QRect(QPoint(0, 0), chart->size())) << title;
        QImage drawn(chart->size(), QImage::Format_RGB32);
        drawn.fill(Qt::white);
        QPainter painter(&drawn);
        svg.render(&painter);
        painter.end();
        EXPECT_LT(difference(drawn), kLikeTheWindow) << title;
        EXPECT_NE(readBytes(dialog.path.toStdString()).find("<title>" + title + "</title>"),
                  std::string::npos);
    }
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(TwoCharts, PlotAreasShareTheirEdgesThroughZoomsAndLabelFonts) {
    expectAligned("after a load");
    QWheelEvent wheel(QPointF(300, 60), QPointF(), QPoint(), QPoint(0, 120 * 12), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(speed->viewport(), &wheel);
    settle();
    ASSERT_LT(altitude->shownRows().second - altitude->shownRows().first, 1000);
    expectAligned("after a zoom");

    // Wider labels on either chart move both plots.
    const double before = altitude->chart()->plotArea().left();
    for (const auto& [chart, scale] : {std::pair(altitude, 2.0), std::pair(speed, 4.0)}) {
        QAbstractAxis* axis = chart->chart()->axes(Qt::Vertical).front();
        QFont font = axis->labelsFont();
        font.setPointSizeF(font.pointSizeF() * scale);
        axis->setLabelsFont(font);
        settle();
        expectAligned(chart->objectName().toUtf8().constData());
    }
    EXPECT_GT(altitude->chart()->plotArea().left(), before + 5);
}

}  // namespace
}  // namespace at::test
