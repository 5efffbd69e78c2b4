#pragma once

#include <QString>

class QWidget;

namespace at {

// The save-file dialog of the share commands: where to write an image, a report or a table.
class SaveFileDialog {
  public:
    virtual ~SaveFileDialog() = default;
    // The chosen path, or an empty text when the user cancelled. `filters` in Qt's
    // "Imagen PNG (*.png);;Imagen SVG (*.svg)" form; the first is proposed.
    virtual QString ask(const QString& title, const QString& proposed, const QString& filters) = 0;
};

class QtSaveFileDialog final : public SaveFileDialog {
  public:
    explicit QtSaveFileDialog(QWidget* owner) : owner_(owner) {}
    QString ask(const QString& title, const QString& proposed, const QString& filters) override;

  private:
    QWidget* owner_;
};

}  // namespace at
