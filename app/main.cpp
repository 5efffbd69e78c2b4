#include <QApplication>
#include <QWindow>

#include "app/frm_ppal.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Fusion keeps the small controls of the window legible on every desktop.
    QApplication::setStyle(QStringLiteral("Fusion"));
    at::frmPpal window;
    window.show();
    // A tool window does not count as the application's last window, so closing it would leave
    // the program running without any window.
    QObject::connect(window.windowHandle(), &QWindow::visibleChanged, &app, [](bool visible) {
        if (!visible)
            QCoreApplication::quit();
    });
    return app.exec();
}
