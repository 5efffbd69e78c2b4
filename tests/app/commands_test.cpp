#include <QApplication>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>

#include "platform/file_calls.h"

#include "tests/app/window_fixture.h"
#include "tests/support/track_formats.h"
#include "tests/support/track_text.h"

namespace at::test {
namespace {

// The system's file calls, with one fault: reading runs out of memory, or creating one named
// file is refused.
class FaultyFiles final : public FileCalls {
  public:
    bool readRunsOutOfMemory = false;
    const char* refusedName = nullptr;

    int open(const char* path, int flags, mode_t mode) override {
        if (refusedName && std::strstr(path, refusedName)) {
            errno = EACCES;
            return -1;
        }
        return systemFileCalls().open(path, flags, mode);
    }
    int fstat(int fd, struct stat* st) override { return systemFileCalls().fstat(fd, st); }
    ssize_t read(int fd, void* buffer, std::size_t size) override {
        if (readRunsOutOfMemory)
            throw std::bad_alloc();
        return systemFileCalls().read(fd, buffer, size);
    }
    ssize_t write(int fd, const void* buffer, std::size_t size) override {
        return systemFileCalls().write(fd, buffer, size);
    }
    int close(int fd) override { return systemFileCalls().close(fd); }
};

// Points along a meridian, 20 s apart, climbing 30 ft a step: small and known.
std::string steadyTrack(int points, int firstFeet = 1000) {
    std::vector<std::string> lines;
    for (int i = 0; i < points; ++i) {
        lines.push_back(
            pointLine(40.0 + 0.001 * i, 3.0, firstFeet + 30 * i, clock(36000 + 20 * i)));
    }
    return trackText(lines);
}

class Commands : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        first = QString::fromStdString(dir.write("primera.plt", steadyTrack(10)));
        second = QString::fromStdString(dir.write("segunda.plt", steadyTrack(30, 2000)));
    }
    void expectNoWaitCursor() const { EXPECT_EQ(QApplication::overrideCursor(), nullptr); }

    QString first;
    QString second;
};

TEST_F(Commands, CancelAtFirstUseChangesNothing) {
    dialog->answers = {{false, {}}};
    click("cmdCargar");
    EXPECT_EQ(dialog->shown, 1);
    EXPECT_EQ(text("txtArchivo"), QStringLiteral("-vacio-"));
    EXPECT_EQ(text("lbl3"), QString());
    EXPECT_TRUE(messages->shown.empty());
    expectNoWaitCursor();
}

TEST_F(Commands, EachCommandTitlesTheDialog) {
    click("cmdCargar");
    control<QComboBox>("Combo1")->setCurrentIndex(0);
    click("cmdCortar");
    EXPECT_EQ(dialog->titles, QStringList({QStringLiteral("Cargar un track"),
                                           QStringLiteral("Elegir el track que se va a cortar")}));
}

TEST_F(Commands, LoadAnalysesTheChosenFile) {
    dialog->answers = {{true, first}};
    click("cmdCargar");
    EXPECT_EQ(text("txtArchivo"), first);
    EXPECT_EQ(text("Label8"), QStringLiteral("0"));
    EXPECT_EQ(text("lblTiempo"), QStringLiteral("00h 03' 00''"));
    EXPECT_EQ(control<ProfileChartWidget>("MSChart1")->rowCount(), 10);
    EXPECT_TRUE(messages->shown.empty());
    expectNoWaitCursor();
}

// Once a file had been chosen, a cancelled dialog used to run the command again on that file,
// overwriting whatever was typed into the path box meanwhile. Cancel now always cancels.
TEST_F(Commands, LaterCancelRunsNothing) {
    dialog->answers = {{true, first}};
    click("cmdCargar");
    setText("txtArchivo", QStringLiteral("tecleado a mano"));
    setText("Text1", QStringLiteral("no es un número"));  // would fail if an analysis ran
    dialog->answers = {{false, {}}};
    click("cmdCargar");
    EXPECT_EQ(text("txtArchivo"), QStringLiteral("tecleado a mano"));
    EXPECT_TRUE(messages->shown.empty());

    control<QComboBox>("Combo1")->setCurrentIndex(0);
    dialog->answers = {{false, {}}};
    click("cmdCortar");
    EXPECT_EQ(dialog->shown, 3);
    EXPECT_EQ(text("txtArchivo"), QStringLiteral("tecleado a mano"));
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_FALSE(std::filesystem::exists(first.toStdString() + ".1.plt"));
}

TEST_F(Commands, SplitWithoutASizeOnlyAsksForOne) {
    dialog->answers = {{true, first}};
    click("cmdCargar");
    click("cmdCortar");
    EXPECT_EQ(dialog->shown, 1);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].kind, QStringLiteral("information"));
    EXPECT_EQ(messages->shown[0].title, QStringLiteral("Seccionar un track"));
    EXPECT_EQ(messages->shown[0].text,
              QStringLiteral("Por favor, seleccione la cantidad de puntos por fichero."));
}

TEST_F(Commands, SplitCancelledAtFirstUseDoesNothing) {
    control<QComboBox>("Combo1")->setCurrentIndex(1);
    click("cmdCortar");
    EXPECT_EQ(dialog->shown, 1);
    EXPECT_TRUE(messages->shown.empty());
    EXPECT_EQ(text("txtArchivo"), QStringLiteral("-vacio-"));
}

TEST_F(Commands, SplitLeavesThePreviousAnalysisOnScreen) {
    dialog->answers = {{true, first}, {true, second}};
    click("cmdCargar");
    const QString time = text("lblTiempo");
    const QString climb = text("lbl1");

    // With "250" a file closes after 248 points: the 30 points fit the first file.
    control<QComboBox>("Combo1")->setCurrentText(QStringLiteral("250"));
    click("cmdCortar");
    EXPECT_EQ(text("txtArchivo"), second);
    EXPECT_EQ(text("lblTiempo"), time);
    EXPECT_EQ(text("lbl1"), climb);
    EXPECT_EQ(control<ProfileChartWidget>("MSChart1")->rowCount(), 10);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].kind, QStringLiteral("information"));
    EXPECT_EQ(messages->shown[0].title, QStringLiteral("Archivos exportados"));
    EXPECT_EQ(messages->shown[0].text,
              QStringLiteral("Los archivos resultantes han sido creados en la misma "
                             "localización q el original"));
    EXPECT_TRUE(std::filesystem::exists(second.toStdString() + ".1.plt"));
    EXPECT_FALSE(std::filesystem::exists(second.toStdString() + ".2.plt"));
    expectNoWaitCursor();
}

TEST_F(Commands, RecalculateUsesTheThresholdsAsTheyStandNow) {
    // 66 ft steps are 20.1168 m: above the default limit of 20, below 21.
    std::vector<std::string> lines;
    for (int i = 0; i < 6; ++i) {
        lines.push_back(pointLine(40.0 + 0.001 * i, 3.0, 1000 + 66 * i, clock(36000 + 20 * i)));
    }
    setText("txtArchivo", QString::fromStdString(dir.write("saltos.plt", trackText(lines))));
    click("Command1");
    EXPECT_EQ(text("lbl2"), QStringLiteral("5"));
    EXPECT_EQ(text("lbl1"), QStringLiteral("0 mts"));

    setText("Text1", QStringLiteral("21"));
    click("Command1");
    EXPECT_EQ(text("lbl2"), QStringLiteral("0"));
    EXPECT_EQ(text("lbl1"), QStringLiteral("100 mts"));  // 5 × 20.1168
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(Commands, AFailedAnalysisIsReportedAndTheWindowStaysUsable) {
    const int filesBefore = openFileCount();
    click("Command1");
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].kind, QStringLiteral("warning"));
    EXPECT_TRUE(
        messages->shown[0].text.startsWith(QStringLiteral("No se ha encontrado el archivo")))
        << messages->shown[0].text.toStdString();
    EXPECT_TRUE(messages->shown[0].text.contains(QStringLiteral("-vacio-")));
    EXPECT_EQ(openFileCount(), filesBefore);
    expectNoWaitCursor();

    dialog->answers = {{true, first}};
    click("cmdCargar");
    EXPECT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(text("Label8"), QStringLiteral("0"));
}

TEST_F(Commands, AFaultHalfWayKeepsWhatWasWrittenAndClosesTheFile) {
    // Two stops, then a line whose altitude is no number.
    std::vector<std::string> lines = {
        pointLine(40.0, 3.0, 1000, "10:00:00"), pointLine(40.001, 3.0, 1000, "10:05:00"),
        pointLine(40.002, 3.0, 1000, "10:10:00"), "40.003000,3.000000,0,mil,0,0,10:10:20"};
    setText("txtArchivo", QString::fromStdString(dir.write("rota.plt", trackText(lines))));
    const int filesBefore = openFileCount();
    click("Command1");
    ASSERT_EQ(messages->shown.size(), 1u);
    const QString message = messages->shown[0].text;
    EXPECT_TRUE(message.startsWith(QStringLiteral("No coinciden los tipos")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("rota.plt")));
    EXPECT_TRUE(message.contains(QStringLiteral("Línea: 10")));
    EXPECT_TRUE(message.contains(QStringLiteral("mil")));
    EXPECT_EQ(stops().size(), 2);
    EXPECT_EQ(text("lbl3"), QString());  // the summary band is not written
    EXPECT_EQ(openFileCount(), filesBefore);
    expectNoWaitCursor();
}

TEST_F(Commands, RunningOutOfMemoryIsReportedInSpanish) {
    setText("txtArchivo", first);
    FaultyFiles faulty;
    faulty.readRunsOutOfMemory = true;
    const int filesBefore = openFileCount();
    {
        ScopedFileCalls scoped(faulty);
        click("Command1");
    }
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].kind, QStringLiteral("warning"));
    EXPECT_TRUE(messages->shown[0].text.startsWith(QStringLiteral("Memoria insuficiente")));
    EXPECT_EQ(openFileCount(), filesBefore);
    expectNoWaitCursor();

    click("Command1");  // usable again
    EXPECT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(text("lblTiempo"), QStringLiteral("00h 03' 00''"));
}

TEST_F(Commands, AFailedSplitKeepsItsCompleteFilesAndClaimsNoSuccess) {
    // "3" closes a file after every point: the ten points need eleven files, the second refused.
    control<QComboBox>("Combo1")->addItem(QStringLiteral("3"));
    control<QComboBox>("Combo1")->setCurrentText(QStringLiteral("3"));
    dialog->answers = {{true, first}};
    FaultyFiles faulty;
    faulty.refusedName = "primera.plt.2.plt";
    const int filesBefore = openFileCount();
    {
        ScopedFileCalls scoped(faulty);
        click("cmdCortar");
    }
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].kind, QStringLiteral("warning"));
    EXPECT_TRUE(messages->shown[0].text.contains(QStringLiteral("primera.plt.2.plt")))
        << messages->shown[0].text.toStdString();
    EXPECT_TRUE(std::filesystem::exists(first.toStdString() + ".1.plt"));
    EXPECT_EQ(openFileCount(), filesBefore);
    expectNoWaitCursor();
}

TEST_F(Commands, PointLinesOfTheNamedFile) {
    setText("txtArchivo", first);
    EXPECT_EQ(window->lineas(), 10);
    setText("txtArchivo", QString::fromStdString(dir.write("cabecera.plt", "a\r\nb\r\n")));
    EXPECT_EQ(window->lineas(), -4);
    // A GPX file counts its track points, not its lines of XML.
    const std::vector<RecordedPoint> points(7, RecordedPoint{"40.5", "-3.5", "700", 1714557600});
    setText("txtArchivo", QString::fromStdString(dir.write("ruta.gpx", gpxText({points}))));
    EXPECT_EQ(window->lineas(), 7);
}

}  // namespace
}  // namespace at::test
