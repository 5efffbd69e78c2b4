#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <deque>
#include <memory>

#include "app/frm_ppal.h"
#include "charts/profile_chart_widget.h"
#include "tests/support/temp_dir.h"

namespace at::test {

// The user's answers to the file dialog, given in advance.
class FakeFileDialog final : public FileDialog {
  public:
    struct Answer {
        bool confirm;
        QString path;
    };
    std::deque<Answer> answers;
    int shown = 0;
    QStringList titles;

    bool show(const QString& title) override;
    QString fileName() const override { return fileName_; }
    void keepFileName(const QString& path) override { fileName_ = path; }

  private:
    QString fileName_ = QStringLiteral("*.plt");
};

class FakeMessageBoxes final : public MessageBoxes {
  public:
    struct Box {
        QString kind;
        QString title;
        QString text;
    };
    std::vector<Box> shown;

    void information(const QString& title, const QString& text) override {
        shown.push_back({QStringLiteral("information"), title, text});
    }
    void warning(const QString& title, const QString& text) override {
        shown.push_back({QStringLiteral("warning"), title, text});
    }
};

// A window with fake dialogs, and handy ways to reach its controls.
class WindowTest : public testing::Test {
  protected:
    void makeWindow(const NumberLocale& locale);
    void SetUp() override { makeWindow(NumberLocale::point()); }

    template <typename T = QWidget>
    T* control(const char* name) const {
        auto* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(const char* name) const;
    void setText(const char* name, const QString& value) const;
    void click(const char* button) const;
    QStringList stops() const;
    // Chooses a data point of the altitude chart as the chart does.
    void choosePoint(int row) const;

    TempDir dir;
    FakeFileDialog* dialog = nullptr;
    FakeMessageBoxes* messages = nullptr;
    std::unique_ptr<frmPpal> window;
};

}  // namespace at::test
