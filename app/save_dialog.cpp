#include "app/save_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace at {

QString QtSaveFileDialog::ask(const QString& title, const QString& proposed,
                              const QString& filters) {
    QString chosenFilter;
    QString path = QFileDialog::getSaveFileName(owner_, title, proposed, filters, &chosenFilter);
    if (path.isEmpty())
        return path;
    // A name typed without an extension takes the one of the chosen kind.
    if (QFileInfo(path).suffix().isEmpty()) {
        const qsizetype star = chosenFilter.indexOf(QStringLiteral("*."));
        if (star >= 0)
            path += chosenFilter.mid(star + 1, chosenFilter.indexOf(')', star) - star - 1);
    }
    return path;
}

}  // namespace at
