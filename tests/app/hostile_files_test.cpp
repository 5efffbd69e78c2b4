// Hostile files through the real window: each load or split ends with one warning whose text
// begins with the error kind, the window goes on working, and no file stays open.
#include <sys/stat.h>

#include <QComboBox>
#include <filesystem>
#include <string>
#include <vector>

#include "formats/splitter.h"
#include "platform/runtime_error.h"
#include "tests/app/window_fixture.h"
#include "tests/support/hostile_files.h"
#include "tests/support/track_text.h"

namespace at::test {
namespace {

namespace fs = std::filesystem;

std::string goodTrack() {
    std::vector<std::string> lines;
    for (int i = 0; i < 10; ++i)
        lines.push_back(pointLine(40.0 + 0.001 * i, 3.0, 1000 + 30 * i, clock(36000 + 20 * i)));
    return trackText(lines);
}

struct HostileInput {
    const char* name;
    std::string path;
    ErrorKind kind;
};

class HostileWindow : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        good = QString::fromStdString(dir.write("buena ñ.plt", goodTrack()));
        const std::string fifo = dir.file("tubería.plt");
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        fs::create_directory(dir.file("carpeta.plt"));
        const std::string h = trackText({});
        inputs = {
            {"a FIFO", fifo, ErrorKind::PathFileAccess},
            {"a folder", dir.file("carpeta.plt"), ErrorKind::PathFileAccess},
            {"a device without end", "/dev/zero", ErrorKind::PathFileAccess},
            {"binary garbage", dir.write("basura.plt", h + binaryGarbage(4096, 5)),
             ErrorKind::TypeMismatch},
            {"a header of five lines", dir.write("corta.plt", "1\r\n2\r\n3\r\n4\r\n5\r\n"),
             ErrorKind::PastEndOfFile},
            {"time ab:cd:ef", dir.write("hora.plt", h + "1.0,1.0,0,4,0,x,ab:cd:ef\r\n"),
             ErrorKind::TypeMismatch},
        };
        // The first analysis loads what Qt opens once (fonts and the like).
        dialog->answers = {{true, good}};
        click("cmdCargar");
        ASSERT_TRUE(messages->shown.empty());
        openBefore = openFileCount();
    }

    QString good;
    std::vector<HostileInput> inputs;
    int openBefore = 0;
};

TEST_F(HostileWindow, LoadWarnsWithTheKindAndTheWindowGoesOn) {
    const QString distance = text("lbl3");
    for (const HostileInput& input : inputs) {
        SCOPED_TRACE(input.name);
        messages->shown.clear();
        dialog->answers = {{true, QString::fromStdString(input.path)}};
        click("cmdCargar");
        ASSERT_EQ(messages->shown.size(), 1u);
        EXPECT_EQ(messages->shown[0].kind, QStringLiteral("warning"));
        EXPECT_TRUE(messages->shown[0].text.startsWith(QString::fromUtf8(spanishName(input.kind))))
            << messages->shown[0].text.toStdString();
        EXPECT_EQ(text("txtArchivo"), QString::fromStdString(input.path));
        EXPECT_EQ(text("lbl3"), distance);  // the summary of the last good track stays
        EXPECT_EQ(openFileCount(), openBefore);

        // Still usable: the good track loads again without a message.
        messages->shown.clear();
        dialog->answers = {{true, good}};
        click("cmdCargar");
        EXPECT_TRUE(messages->shown.empty());
        EXPECT_EQ(text("lbl3"), distance);
    }
}

TEST_F(HostileWindow, SplitWarnsAndClaimsNoSuccess) {
    control<QComboBox>("Combo1")->setCurrentIndex(0);
    for (const HostileInput& input : inputs) {
        if (input.kind == ErrorKind::TypeMismatch)
            continue;  // the split copies lines without reading them
        SCOPED_TRACE(input.name);
        messages->shown.clear();
        dialog->answers = {{true, QString::fromStdString(input.path)}};
        click("cmdCortar");
        ASSERT_EQ(messages->shown.size(), 1u);
        EXPECT_EQ(messages->shown[0].kind, QStringLiteral("warning"));
        EXPECT_TRUE(messages->shown[0].text.startsWith(QString::fromUtf8(spanishName(input.kind))))
            << messages->shown[0].text.toStdString();
        EXPECT_FALSE(fs::exists(splitFileName(input.path, 1)));
        EXPECT_EQ(openFileCount(), openBefore);
    }
}

}  // namespace
}  // namespace at::test
