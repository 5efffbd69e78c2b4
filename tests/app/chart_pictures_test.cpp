// What the pictures of a chart hold, and how the two charts stand one above the other: the same
// rows under each other, whatever their labels.
#include <QApplication>
#include <QClipboard>
#include <QFont>
#include <QSvgRenderer>
#include <QValueAxis>
#include <QWheelEvent>

#include "app/result_sharing.h"
#include "tests/app/window_fixture.h"

namespace at::test {
namespace {

class ProposedNames final : public SaveFileDialog {
  public:
    QStringList proposed;
    QString ask(const QString&, const QString& path, const QString&) override {
        proposed << path;
        return {};
    }
};

// The mean difference of two pictures of the same size, 0 to 255 per colour channel.
double meanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size())
        return 255;
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row);
            const QRgb q = y.pixel(column, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * x.width() * x.height());
}

class TwoCharts : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->show();
        setText("txtArchivo", QStringLiteral(AT_SAMPLES_DIR "/ruta-sierra.plt"));
        click("Command1");
        ASSERT_TRUE(messages->shown.empty());
        altitude = control<ProfileChartWidget>("MSChart1");
        speed = control<ProfileChartWidget>("MSChart2");
        choosePoint(1200);
        settle();
    }

    // Lets both charts lay themselves out and align, which takes a few rounds of events.
    static void settle() {
        for (int i = 0; i < 6; ++i)
            QCoreApplication::processEvents();
    }

    // The plot area's left and right edges in the window.
    std::pair<double, double> plotEdges(ProfileChartWidget* chart) const {
        const QRectF plot = chart->chart()->plotArea();
        const double origin = chart->viewport()->mapTo(window.get(), QPoint(0, 0)).x();
        return {origin + plot.left(), origin + plot.right()};
    }

    void expectAligned(const char* when) const {
        const auto [altitudeLeft, altitudeRight] = plotEdges(altitude);
        const auto [speedLeft, speedRight] = plotEdges(speed);
        EXPECT_NEAR(altitudeLeft, speedLeft, 1e-6) << when;
        EXPECT_NEAR(altitudeRight, speedRight, 1e-6) << when;
        EXPECT_GT(altitudeRight - altitudeLeft, 500) << when;
    }

    ProfileChartWidget* altitude = nullptr;
    ProfileChartWidget* speed = nullptr;
};

// A picture drawn at four times the scale shows only its top-left quarter, about as far from the
// window as a blank picture is (a difference of 9 to 60); a right one differs by anti-aliasing only
// (2 to 3).
TEST_F(TwoCharts, PicturesShowTheWholeChartAsTheWindowDrawsIt) {
    constexpr double kLikeTheWindow = 6;
    ResultSharing& sharing = window->sharing();
    for (ProfileChartWidget* chart : {altitude, speed}) {
        const std::string name = chart->objectName().toStdString();
        const QImage onScreen = chart->grab().toImage();
        const auto difference = [&](const QImage& picture) {
            return meanDifference(
                picture.scaled(chart->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                onScreen);
        };
        QImage blank(onScreen.size(), QImage::Format_RGB32);
        blank.fill(Qt::white);
        ASSERT_GT(difference(blank), kLikeTheWindow) << name;

        QString error;
        const QString png = QString::fromStdString(dir.file("perfil.png"));
        ASSERT_TRUE(sharing.saveChartImage(*chart, png, error)) << error.toStdString();
        const QImage saved(png);
        EXPECT_EQ(saved.size(), chart->size() * 2) << name;
        EXPECT_LT(difference(saved), kLikeTheWindow) << name;

        sharing.copyChartImage(*chart);
        const QImage copied = QGuiApplication::clipboard()->image();
        EXPECT_EQ(copied.size(), chart->size() * 2) << name;
        EXPECT_LT(difference(copied), kLikeTheWindow) << name;

        // The drawing lies inside the view box: drawn at the view box's size it is the chart.
        const QString svg = QString::fromStdString(dir.file("perfil.svg"));
        ASSERT_TRUE(sharing.saveChartImage(*chart, svg, error)) << error.toStdString();
        QSvgRenderer renderer(svg);
        ASSERT_TRUE(renderer.isValid()) << name;
        EXPECT_EQ(renderer.viewBox(), QRect(QPoint(0, 0), chart->size())) << name;
        QImage drawn(chart->size(), QImage::Format_RGB32);
        drawn.fill(Qt::white);
        QPainter painter(&drawn);
        renderer.render(&painter);
        painter.end();
        EXPECT_LT(difference(drawn), kLikeTheWindow) << name;
        const std::string title = chart == altitude ? "Altitud" : "Velocidad";
        EXPECT_NE(readBytes(svg.toStdString()).find("<title>" + title + "</title>"),
                  std::string::npos)
            << name;
    }
}

TEST_F(TwoCharts, EachChartProposesAPictureNamedAfterTheTrackAndItself) {
    auto names = std::make_unique<ProposedNames>();
    ProposedNames* asked = names.get();
    window->sharing().setSaveDialog(std::move(names));
    window->sharing().saveChartImageAs(*altitude);
    window->sharing().saveChartImageAs(*speed);
    ASSERT_EQ(asked->proposed.size(), 2);
    EXPECT_TRUE(asked->proposed[0].endsWith(QStringLiteral("/ruta-sierra-altitud.png")));
    EXPECT_TRUE(asked->proposed[1].endsWith(QStringLiteral("/ruta-sierra-velocidad.png")));
}

TEST_F(TwoCharts, PlotAreasShareTheirEdgesThroughZoomsAndLabelFonts) {
    expectAligned("after a load");

    QWheelEvent wheel(QPointF(300, 60), QPointF(), QPoint(), QPoint(0, 120 * 12), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(speed->viewport(), &wheel);
    settle();
    ASSERT_LT(altitude->shownRows().second - altitude->shownRows().first, 1000);
    expectAligned("after a zoom");

    // Wider labels on one chart move both plots' left edge.
    const double before = plotEdges(speed).first;
    for (QAbstractAxis* axis : altitude->chart()->axes(Qt::Vertical)) {
        QFont font = axis->labelsFont();
        font.setPointSizeF(font.pointSizeF() * 2);
        axis->setLabelsFont(font);
    }
    settle();
    expectAligned("after larger labels on the altitude chart");
    EXPECT_GT(plotEdges(speed).first, before + 5);
    // And back on the other chart's side.
    for (QAbstractAxis* axis : speed->chart()->axes(Qt::Vertical)) {
        QFont font = axis->labelsFont();
        font.setPointSizeF(font.pointSizeF() * 4);
        axis->setLabelsFont(font);
    }
    settle();
    expectAligned("after larger labels on the speed chart");
}

}  // namespace
}  // namespace at::test
