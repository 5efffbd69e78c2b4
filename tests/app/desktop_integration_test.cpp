#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <memory>

#include "app/desktop_integration.h"

namespace at::test {
namespace {

// The texts of Qt's own dialogs as the user reads them under the given translations.
struct QtTexts {
    QString lookIn;
    QString fileName;
    QString cancel;
    QString ok;
};

QtTexts qtTexts() {
    QFileDialog files(nullptr, QStringLiteral("Abrir"));
    files.setOption(QFileDialog::DontUseNativeDialog);
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    return {files.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text(),
            files.findChild<QLabel*>(QStringLiteral("fileNameLabel"))->text(),
            box.button(QMessageBox::Cancel)->text(), box.button(QMessageBox::Ok)->text()};
}

TEST(QtTranslations, QtsOwnDialogsSpeakTheUsersLanguage) {
    const struct {
        QLocale locale;
        bool translated;
        QtTexts expected;
    } cases[] = {
        {QLocale(QLocale::Spanish, QLocale::Spain),
         true,
         {"Ver en:", "&Nombre de fichero:", "Cancelar", "Aceptar"}},
        {QLocale(QLocale::Spanish, QLocale::Mexico),
         true,
         {"Ver en:", "&Nombre de fichero:", "Cancelar", "Aceptar"}},
        {QLocale::c(), false, {"Look in:", "File &name:", "Cancel", "OK"}},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<QTranslator> translator(installQtTranslations(c.locale));
        EXPECT_EQ(translator != nullptr, c.translated) << c.locale.name().toStdString();
        const QtTexts texts = qtTexts();
        EXPECT_EQ(texts.lookIn.toStdString(), c.expected.lookIn.toStdString());
        EXPECT_EQ(texts.fileName.toStdString(), c.expected.fileName.toStdString());
        EXPECT_EQ(texts.cancel.toStdString(), c.expected.cancel.toStdString());
        EXPECT_EQ(texts.ok.toStdString(), c.expected.ok.toStdString());
    }
}

// The desktop links a window to its menu entry by the names the entry gives: its file name (the
// Wayland app id) and StartupWMClass (the X11 window class).
TEST(DesktopIdentity, MatchesTheMenuEntry) {
    setDesktopIdentity();
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral(AT_APP_ID));
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("analisis-tracks"));
    EXPECT_FALSE(QGuiApplication::windowIcon().isNull());

    QFile entry(QStringLiteral(AT_PACKAGING_DIR "/" AT_APP_ID ".desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly | QIODevice::Text)) << "no menu entry";
    const QStringList lines = QString::fromUtf8(entry.readAll()).split(QLatin1Char('\n'));
    EXPECT_TRUE(
        lines.contains(QStringLiteral("StartupWMClass=") + QCoreApplication::applicationName()));
    EXPECT_TRUE(lines.contains(QStringLiteral("Icon=analisis-tracks")));
}

}  // namespace
}  // namespace at::test
