#include "tests/app/window_fixture.h"

namespace at::test {

bool FakeFileDialog::show(const QString& title) {
    ++shown;
    titles << title;
    if (answers.empty())
        return false;
    const Answer answer = answers.front();
    answers.pop_front();
    if (answer.confirm)
        fileName_ = answer.path;
    return answer.confirm;
}

void WindowTest::makeWindow(const NumberLocale& locale) {
    window.reset();
    dialog = new FakeFileDialog();
    auto boxes = std::make_unique<FakeMessageBoxes>();
    messages = boxes.get();
    window = std::make_unique<frmPpal>(dialog, std::move(boxes), locale);
}

QString WindowTest::text(const char* name) const {
    QWidget* widget = control(name);
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* box = qobject_cast<QLineEdit*>(widget))
        return box->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText();
    if (auto* button = qobject_cast<QToolButton*>(widget))
        return button->text();
    ADD_FAILURE() << name << " has no text";
    return {};
}

void WindowTest::setText(const char* name, const QString& value) const {
    control<QLineEdit>(name)->setText(value);
}

void WindowTest::click(const char* button) const {
    control<QToolButton>(button)->click();
}

QStringList WindowTest::stops() const {
    QStringList lines;
    auto* list = control<QListWidget>("lstParada");
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

void WindowTest::choosePoint(int row) const {
    emit control<ProfileChartWidget>("MSChart1")->pointSelected(1, static_cast<qint16>(row), 1, 0);
}

}  // namespace at::test
