#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    // Headless unless a display was asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // No test reaches outside the machine: a map that a test opens without a tile server of its
    // own asks a closed port here, and keeps its tiles in a folder of the run's own.
    if (qEnvironmentVariableIsEmpty("ANALISIS_TRACKS_TESELAS"))
        qputenv("ANALISIS_TRACKS_TESELAS", "http://127.0.0.1:9/{z}/{x}/{y}.png");
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
