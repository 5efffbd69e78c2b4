#pragma once

#include <QDialog>
#include <QStringList>
#include <string>

class QLabel;
class QListWidget;

namespace at {

// The small window that asks which track of a file of several to analyse: one row per track with
// its name, date, points and distance, the first chosen. It stays open beside the main window;
// choosing another row analyses that track. The choice belongs to its file: any other file is
// analysed as a single track.
class TrackChooser final : public QDialog {
    Q_OBJECT

  public:
    explicit TrackChooser(QWidget* owner);

    // Lists the tracks of `file`, chooses the first and shows itself.
    void offer(const std::string& file, const QStringList& rows);
    // Hides itself and forgets the file.
    void forget();
    // The track chosen for `file`, from 1: the first unless the list is of that file.
    int trackFor(const std::string& file) const;
    // The file listed; empty when none is.
    const std::string& file() const { return file_; }
    int trackCount() const;
    // Chooses track `track` (from 1) as a click on its row does.
    void choose(int track);

  signals:
    void trackChosen();

  private:
    QLabel* lblTracks_;
    QListWidget* lstTracks_;
    std::string file_;
};

}  // namespace at
