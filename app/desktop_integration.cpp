#include "app/desktop_integration.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace at {

void setDesktopIdentity() {
    QCoreApplication::setApplicationName(QString::fromLatin1(kWindowClass));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
    QGuiApplication::setWindowIcon(programIcon());
}

QIcon programIcon() {
    return QIcon(QStringLiteral(":/analisis-tracks.svg"));
}

QTranslator* installQtTranslations(const QLocale& locale) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    // qtbase holds the texts of the widgets and dialogs the window uses.
    if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator)) {
        return translator;
    }
    delete translator;
    return nullptr;
}

}  // namespace at
