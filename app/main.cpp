#include <QApplication>
#include <QWindow>

#include "app/frm_ppal.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Fusion keeps the small controls of the window legible on every desktop.
    QApplication::setStyle(QStringLiteral("Fusion"));
    at::frmPpal window;
    window.show();
    // "analisis-tracks ruta.gpx", as the file manager starts it: loaded as "Cargar" would.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1)
        window.openTrack(arguments.at(1));
    // A tool window does not count as the application's last window, so closing it would leave
    // the program running without any window.
    QObject::connect(window.windowHandle(), &QWindow::visibleChanged, &app, [](bool visible) {
        if (!visible)
            QCoreApplication::quit();
    });
    return app.exec();
}
