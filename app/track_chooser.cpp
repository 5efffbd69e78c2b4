#include "app/track_chooser.h"

#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace at {

TrackChooser::TrackChooser(QWidget* owner) : QDialog(owner, Qt::Tool) {
    setObjectName(QStringLiteral("frmTracks"));
    setWindowTitle(QStringLiteral("Tracks del archivo"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    lblTracks_ = new QLabel(this);
    lblTracks_->setObjectName(QStringLiteral("lblTracks"));
    lstTracks_ = new QListWidget(this);
    lstTracks_->setObjectName(QStringLiteral("lstTracks"));
    layout->addWidget(lblTracks_);
    layout->addWidget(lstTracks_);
    resize(460, 200);
    connect(lstTracks_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            emit trackChosen();
    });
}

void TrackChooser::offer(const std::string& file, const QStringList& rows) {
    file_ = file;
    {
        const QSignalBlocker quiet(lstTracks_);
        lstTracks_->clear();
        lstTracks_->addItems(rows);
        lstTracks_->setCurrentRow(0);
    }
    lblTracks_->setText(
        QStringLiteral("El archivo tiene %1 tracks. Elija cuál analizar:").arg(rows.size()));
    if (parentWidget() != nullptr && !isVisible())
        move(parentWidget()->frameGeometry().topRight() + QPoint(8, 0));
    show();
}

void TrackChooser::forget() {
    file_.clear();
    {
        const QSignalBlocker quiet(lstTracks_);
        lstTracks_->clear();
    }
    hide();
}

int TrackChooser::trackFor(const std::string& file) const {
    if (file.empty() || file != file_ || lstTracks_->currentRow() < 0)
        return 1;
    return lstTracks_->currentRow() + 1;
}

int TrackChooser::trackCount() const {
    return lstTracks_->count();
}

void TrackChooser::choose(int track) {
    if (track >= 1 && track <= trackCount())
        lstTracks_->setCurrentRow(track - 1);
}

}  // namespace at
