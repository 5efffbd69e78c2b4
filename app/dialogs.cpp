#include "app/dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace at {

FileDialog::FileDialog() {
    setObjectName(QStringLiteral("cdialog1"));
}

QtFileDialog::QtFileDialog(QString firstFolder) : firstFolder_(std::move(firstFolder)) {}

bool QtFileDialog::show() {
    const bool chosenBefore = fileName_ != QStringLiteral("*.plt");
    const QFileInfo last(fileName_);
    QFileDialog dialog(qobject_cast<QWidget*>(parent()), QStringLiteral("Abrir"),
                       chosenBefore ? last.absolutePath() : firstFolder_);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(trackFileFilters());
    dialog.selectFile(chosenBefore ? last.fileName() : fileName_);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return false;
    fileName_ = QDir::toNativeSeparators(chosen.front());
    return true;
}

QStringList trackFileFilters() {
    return {QStringLiteral("*.plt"), QStringLiteral("*.plt *.gpx *.tcx *.fit"),
            QStringLiteral("Todos los archivos (*)")};
}

void QtMessageBoxes::information(const QString& title, const QString& text) {
    QMessageBox::information(owner_, title, text);
}

void QtMessageBoxes::warning(const QString& title, const QString& text) {
    QMessageBox::warning(owner_, title, text);
}

QString firstFolder(const QString& programDir, const QString& home) {
    const QDir samples(programDir + QStringLiteral("/../samples"));
    if (samples.exists())
        return samples.canonicalPath();
    return home;
}

QString firstFolder() {
    return firstFolder(QCoreApplication::applicationDirPath(), QDir::homePath());
}

}  // namespace at
