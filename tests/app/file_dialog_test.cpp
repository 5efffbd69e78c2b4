#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>
#include <functional>
#include <tuple>

#include "app/dialogs.h"
#include "tests/support/temp_dir.h"

namespace at::test {
namespace {

// Answers the next file dialog as a user would, once it is on screen.
void whenDialogShows(std::function<void(QFileDialog&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog) {
            answer(*dialog);
        } else {
            ADD_FAILURE() << "no file dialog on screen";
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        }
    });
}

TEST(QtFileDialog, OpensInItsFirstFolderThenWhereTheLastFileWas) {
    const QString samples = QStringLiteral(AT_SAMPLES_DIR);
    TempDir dir;
    const QString track = QString::fromStdString(dir.write("ida.plt", "x\r\n"));
    QWidget owner;
    auto* dialog = new QtFileDialog(samples);
    dialog->setParent(&owner);
    EXPECT_EQ(dialog->objectName(), QStringLiteral("cdialog1"));
    EXPECT_EQ(dialog->fileName(), QStringLiteral("*.plt"));

    QString firstFolder;
    QStringList filters;
    whenDialogShows([&](QFileDialog& d) {
        firstFolder = d.directory().absolutePath();
        filters = d.nameFilters();
        d.reject();
    });
    EXPECT_FALSE(dialog->show(QStringLiteral("Cargar un track")));
    EXPECT_EQ(dialog->fileName(), QStringLiteral("*.plt"));
    EXPECT_EQ(QDir(firstFolder), QDir(samples));
    const QStringList expectedFilters = {QStringLiteral("*.plt"),
                                         QStringLiteral("*.plt *.gpx *.tcx *.fit"),
                                         QStringLiteral("Todos los archivos (*)")};
    EXPECT_EQ(filters, expectedFilters);

    whenDialogShows([&](QFileDialog& d) {
        d.selectFile(track);
        static_cast<QDialog&>(d).accept();  // as the Open button does
    });
    EXPECT_TRUE(dialog->show(QStringLiteral("Cargar un track")));
    EXPECT_EQ(dialog->fileName(), track);

    QString secondFolder;
    whenDialogShows([&](QFileDialog& d) {
        secondFolder = d.directory().absolutePath();
        d.reject();
    });
    EXPECT_FALSE(dialog->show(QStringLiteral("Cargar un track")));
    EXPECT_EQ(dialog->fileName(), track);  // kept, but the command is cancelled
    EXPECT_EQ(QDir(secondFolder), QDir(QString::fromStdString(dir.path().string())));
}

// The file type the user picks is offered again at the next use, cancelled or not; a track opened
// without the dialog is kept as if chosen in it, and when the kept type would hide it every track
// format is listed.
TEST(QtFileDialog, KeepsTheChosenFileTypeAndShowsAFileOpenedOtherwise) {
    TempDir dir;
    const QString plt = QString::fromStdString(dir.write("ida.plt", "x\r\n"));
    const QString gpx = QString::fromStdString(dir.write("vuelta.gpx", "x\r\n"));
    const QStringList filters = trackFileFilters();
    QWidget owner;
    auto* dialog = new QtFileDialog(QString::fromStdString(dir.path().string()));
    dialog->setParent(&owner);
    // Each use: its title, the file type offered, the one the user turns to, the file confirmed
    // (none: cancelled).
    const std::tuple<QString, QString, QString, QString> uses[] = {
        {QStringLiteral("Cargar un track"), filters[0], filters[1], gpx},
        {QStringLiteral("Elegir el track que se va a cortar"), filters[1], filters[2], {}},
        {QStringLiteral("Cargar un track"), filters[2], filters[0], plt},
    };
    for (const auto& [title, offered, picked, chosen] : uses) {
        QString offeredSeen, titleSeen;
        whenDialogShows([&](QFileDialog& d) {
            offeredSeen = d.selectedNameFilter();
            titleSeen = d.windowTitle();
            d.selectNameFilter(picked);
            d.selectFile(chosen);
            chosen.isEmpty() ? d.reject() : static_cast<QDialog&>(d).accept();
        });
        EXPECT_EQ(dialog->show(title), !chosen.isEmpty());
        EXPECT_EQ(titleSeen, title);
        EXPECT_EQ(offeredSeen, offered) << title.toStdString();
    }
    EXPECT_EQ(dialog->fileName(), plt);

    // Named on the command line: "*.plt" would hide it.
    dialog->keepFileName(gpx);
    QStringList selected;
    whenDialogShows([&](QFileDialog& d) {
        selected = d.selectedFiles();
        EXPECT_EQ(d.selectedNameFilter(), filters[1]);
        d.reject();
    });
    EXPECT_FALSE(dialog->show(QStringLiteral("Cargar un track")));
    EXPECT_EQ(selected, QStringList{gpx});
}

// Run from the build folder the dialog starts among the sample tracks; installed, where they are
// read-only, in the user's home. Only the folders around the program tell which it is.
TEST(FirstFolder, TheSamplesBesideABuildTheHomeOnceInstalled) {
    TempDir dir;
    const QString top = QString::fromStdString(dir.path().string());
    const QString home = top + QStringLiteral("/casa");
    const struct {
        const char* name;
        QStringList folders;
        QString programDir;
        QString expected;
    } cases[] = {
        {"build tree", {"build/app", "build/samples"}, top + "/build/app", top + "/build/samples"},
        {"installed", {"usr/bin", "usr/share/analisis-tracks/samples"}, top + "/usr/bin", home},
        {"installed in the home",
         {"local/bin", "local/share/analisis-tracks/samples"},
         top + "/local/bin",
         home},
        {"no samples anywhere", {"opt/bin"}, top + "/opt/bin", home},
    };
    for (const auto& c : cases) {
        for (const QString& folder : c.folders)
            ASSERT_TRUE(QDir(top).mkpath(folder)) << c.name;
        EXPECT_EQ(firstFolder(c.programDir, home), c.expected) << c.name;
    }
}

TEST(FirstFolder, TheBuiltProgramFindsTheSampleTracks) {
    const QDir first(firstFolder(QStringLiteral(AT_WINDOW_PROGRAM_DIR), QDir::homePath()));
    EXPECT_EQ(first.canonicalPath(), QDir(QStringLiteral(AT_SAMPLES_DIR)).canonicalPath());
    EXPECT_GE(first.entryList({QStringLiteral("*.plt")}, QDir::Files).size(), 2);
}

}  // namespace
}  // namespace at::test
