#include <QApplication>

#include "app/desktop_integration.h"
#include "app/frm_ppal.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    at::setDesktopIdentity();
    at::installQtTranslations(QLocale::system());
    // Fusion keeps the small controls of the window legible on every desktop.
    QApplication::setStyle(QStringLiteral("Fusion"));
    at::frmPpal window;
    window.show();
    // "analisis-tracks ruta.gpx", as the file manager starts it: loaded as "Cargar" would.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1)
        window.openTrack(arguments.at(1));
    return app.exec();
}
