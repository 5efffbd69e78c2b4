// Serves drawn tiles on 127.0.0.1 until it is ended, for the pictures of the map in docs/:
// prints its URL template, then answers.
#include <QGuiApplication>
#include <cstdio>

#include "tests/support/tile_server.h"

int main(int argc, char** argv) {
    // The tiles carry their numbers in text, which needs the fonts of a GUI application.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    at::test::TileServer server;
    server.answerAfterMs = 0;
    std::printf("%s\n", qPrintable(server.urlTemplate()));
    std::fflush(stdout);
    return app.exec();
}
