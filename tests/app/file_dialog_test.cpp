#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTimer>
#include <functional>

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

TEST(QtFileDialog, OpensInTheSamplesFirstThenWhereTheLastFileWas) {
    TempDir dir;
    const QString track = QString::fromStdString(dir.write("ida.plt", "x\r\n"));
    QWidget owner;
    auto* dialog = new QtFileDialog(samplesFolder());
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
    EXPECT_FALSE(dialog->show());
    EXPECT_EQ(dialog->fileName(), QStringLiteral("*.plt"));
    EXPECT_EQ(QDir(firstFolder), QDir(samplesFolder()));
    const QStringList expectedFilters = {QStringLiteral("*.plt"),
                                         QStringLiteral("*.plt *.gpx *.tcx *.fit"),
                                         QStringLiteral("Todos los archivos (*)")};
    EXPECT_EQ(filters, expectedFilters);

    whenDialogShows([&](QFileDialog& d) {
        d.selectFile(track);
        static_cast<QDialog&>(d).accept();  // as the Open button does
    });
    EXPECT_TRUE(dialog->show());
    EXPECT_EQ(dialog->fileName(), track);

    QString secondFolder;
    whenDialogShows([&](QFileDialog& d) {
        secondFolder = d.directory().absolutePath();
        d.reject();
    });
    EXPECT_FALSE(dialog->show());
    EXPECT_EQ(dialog->fileName(), track);  // kept, but the command is cancelled
    EXPECT_EQ(QDir(secondFolder), QDir(QString::fromStdString(dir.path().string())));
}

TEST(SamplesFolder, HoldsTheSampleTracks) {
    const QDir samples(samplesFolder());
    EXPECT_GE(samples.entryList({QStringLiteral("*.plt")}, QDir::Files).size(), 2);
}

}  // namespace
}  // namespace at::test
