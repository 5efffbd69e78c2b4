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

bool QtFileDialog::show(const QString& title) {
    const bool chosenBefore = fileName_ != QStringLiteral("*.plt");
    const QFileInfo last(fileName_);
    QFileDialog dialog(qobject_cast<QWidget*>(parent()), title,
                       chosenBefore ? last.absolutePath() : firstFolder_);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(trackFileFilters());
    dialog.selectNameFilter(nameFilter());
    dialog.selectFile(chosenBefore ? last.fileName() : fileName_);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    nameFilter_ = dialog.selectedNameFilter();
    const QStringList chosen = dialog.selectedFiles();
    if (!accepted || chosen.isEmpty())
        return false;
    fileName_ = QDir::toNativeSeparators(chosen.front());
    return true;
}

QString QtFileDialog::nameFilter() const {
    // A file opened another way may be of a type the kept filter hides.
    if (!matchesNameFilter(fileName_, nameFilter_))
        return trackFileFilters()[1];
    return nameFilter_;
}

QStringList trackFileFilters() {
    return {QStringLiteral("*.plt"), QStringLiteral("*.plt *.gpx *.tcx *.fit"),
            QStringLiteral("Todos los archivos (*)")};
}

bool matchesNameFilter(const QString& path, const QString& filter) {
    QString patterns = filter;
    const qsizetype open = filter.lastIndexOf('(');
    const qsizetype close = filter.lastIndexOf(')');
    if (open >= 0 && close > open)
        patterns = filter.mid(open + 1, close - open - 1);
    return QDir::match(patterns.split(' ', Qt::SkipEmptyParts), QFileInfo(path).fileName());
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
