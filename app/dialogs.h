#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QWidget;

namespace at {

// The open-file dialog the load and split commands share. It keeps the file name last chosen
// between uses; "*.plt" until a file has been chosen.
class FileDialog : public QObject {
    Q_OBJECT

  public:
    FileDialog();

    // Shows the dialog with the command's title and waits for the user; false when the user
    // cancelled.
    virtual bool show(const QString& title) = 0;
    virtual QString fileName() const = 0;
    // A track opened without the dialog (named on the command line, dropped on the window) is
    // kept as if it had been chosen in it.
    virtual void keepFileName(const QString& path) = 0;
};

// Modal message boxes with an OK button only; their answer is never used.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual void information(const QString& title, const QString& text) = 0;
    virtual void warning(const QString& title, const QString& text) = 0;
};

// The dialog on the desktop: track files first, opening in the bundled samples folder on first
// use and in the folder of the last file afterwards. The file type the user picks stays for the
// next use, unless the kept file is not of that type: then every track format is listed.
class QtFileDialog final : public FileDialog {
    Q_OBJECT

  public:
    explicit QtFileDialog(QString firstFolder);

    bool show(const QString& title) override;
    QString fileName() const override { return fileName_; }
    void keepFileName(const QString& path) override { fileName_ = path; }
    // The file type the dialog offers first at its next use.
    QString nameFilter() const;

  private:
    QString firstFolder_;
    QString fileName_ = QStringLiteral("*.plt");
    QString nameFilter_ = QStringLiteral("*.plt");
};

class QtMessageBoxes final : public MessageBoxes {
  public:
    explicit QtMessageBoxes(QWidget* owner) : owner_(owner) {}

    void information(const QString& title, const QString& text) override;
    void warning(const QString& title, const QString& text) override;

  private:
    QWidget* owner_;
};

// The dialog's file types: track files of point lines first, then every track format, then
// every file.
QStringList trackFileFilters();

// Whether the name of `path` matches one of the patterns of `filter` ("*.plt *.gpx", or
// "Todos los archivos (*)" with its patterns in brackets), letter case aside.
bool matchesNameFilter(const QString& path, const QString& filter);

// Where the file dialog first opens for a program in `programDir`: the sample tracks when it runs
// from its build folder, which holds them in samples/ beside app/; the user's home once installed,
// where the samples are read-only and a cut would be refused.
QString firstFolder(const QString& programDir, const QString& home);
// The same for this program and this user.
QString firstFolder();

}  // namespace at
