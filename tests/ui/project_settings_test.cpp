#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>

#include "model/quib_doc.h"
#include "ui/output_settings.h"
#include "ui/project_settings_dialog.h"
#include "ui_test_support.h"

namespace quib {
namespace {

TEST(OutputName, TypeChangeReplacesTheTextAfterTheLastDot) {
    EXPECT_EQ(replaceExtension(QStringLiteral("demo.swf"), QStringLiteral("exe")),
              QStringLiteral("demo.exe"));
    EXPECT_EQ(replaceExtension(QStringLiteral("my.demo.swf"), QStringLiteral("exe")),
              QStringLiteral("my.demo.exe"));
    EXPECT_EQ(replaceExtension(QStringLiteral("demo"), QStringLiteral("swf")), QStringLiteral("demo.swf"));
    EXPECT_EQ(replaceExtension(QString(), QStringLiteral("swf")), QStringLiteral(".swf"));
    // The Linux executable has no extension; a dot in a folder name is not one.
    EXPECT_EQ(replaceExtension(QStringLiteral("out/demo.exe"), QString()), QStringLiteral("out/demo"));
    EXPECT_EQ(replaceExtension(QStringLiteral("my.dir/demo"), QStringLiteral("swf")),
              QStringLiteral("my.dir/demo.swf"));
}

// A relative name lands in the project folder, each parent step takes one folder off (never past
// the root), backslash folders keep their form, absolute names and a missing folder leave it alone.
TEST(OutputName, RelativeNameLandsInTheProjectFolder) {
    const QString proj = QStringLiteral("/work/proj/"), dos = QStringLiteral("C:\\work\\proj\\");
    const struct {
        const char* name;
        QString folder;
        const char* resolved;
    } cases[] = {
        {"demo.exe", proj, "/work/proj/demo.exe"},
        {"../out/demo.swf", proj, "/work/out/demo.swf"},
        {"../../demo.swf", proj, "/demo.swf"},
        {"../../../demo.swf", proj, "/demo.swf"},
        {"..\\out\\demo.swf", dos, "C:\\work\\out\\demo.swf"},
        {"D:\\x.swf", dos, "D:\\x.swf"},
        {"/tmp/x.swf", proj, "/tmp/x.swf"},
        {"x.swf", QString(), "x.swf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(resolveOutputName(QString::fromUtf8(c.name), c.folder), QString::fromUtf8(c.resolved))
            << c.name;
}

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::ensureApplication();
        settings.outputFileName = QStringLiteral("/work/proj/demo.swf");
        settings.outputType = OutputType::Movie;
        settings.frameRate = 12;
        settings.cursorSmoothness = 40;
        settings.usePalette = true;
    }
    std::unique_ptr<ProjectSettingsDialog> open() {
        auto dialog = std::make_unique<ProjectSettingsDialog>(settings, QStringLiteral("/work/proj/"));
        dialog->setMessageFunction([this](const QString& m) { messages.append(m); });
        dialog->show();
        return dialog;
    }
    OutputSettings settings;
    QStringList messages;
};

TEST_F(SettingsDialogTest, TypeChangeRewritesTheExtensionAndTheTypeAtOnce) {
    auto d = open();
    d->typeList()->setCurrentIndex(1);
    EXPECT_EQ(d->nameEdit()->text(), QStringLiteral("demo.exe"));
    EXPECT_EQ(settings.outputType, OutputType::Executable);
    d->reject();
    // Kept although the dialog was cancelled; the name is not.
    EXPECT_EQ(settings.outputType, OutputType::Executable);
    EXPECT_EQ(settings.outputFileName, QStringLiteral("/work/proj/demo.swf"));
}

TEST_F(SettingsDialogTest, NameWithoutExtensionGetsTheTypeInTheProjectFolder) {
    settings.outputType = OutputType::Executable;
    auto d = open();
    d->nameEdit()->setText(QStringLiteral("demo"));
    d->accept();
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(settings.outputFileName, QStringLiteral("/work/proj/demo.exe"));
}

TEST_F(SettingsDialogTest, EmptyNameIsRefusedAndTheFocusGoesToIt) {
    auto d = open();
    d->activateWindow();
    d->nameEdit()->clear();
    d->frameRateEdit()->setFocus();
    d->accept();
    EXPECT_EQ(messages, QStringList{QStringLiteral("Si prega di indicare un nome di file valido")});
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->focusWidget(), d->nameEdit());
    EXPECT_EQ(settings.outputFileName, QStringLiteral("/work/proj/demo.swf"));
}

TEST_F(SettingsDialogTest, FrameRateOfZeroOrBelowIsRefused) {
    for (const char* rate : {"0", "-5", ""}) {
        messages.clear();
        auto d = open();
        d->activateWindow();
        d->frameRateEdit()->setText(QString::fromLatin1(rate));
        d->accept();
        EXPECT_EQ(messages, QStringList{QStringLiteral("Inserire un valore > 0")}) << rate;
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(d->focusWidget(), d->frameRateEdit());
        EXPECT_EQ(settings.frameRate, 12u);
    }
}

TEST_F(SettingsDialogTest, BrowseUsesTheTypeFilterAndShortensTheChoiceOrKeepsTheName) {
    auto d = open();
    QString seenFilter, seenSuffix, seenName;
    d->setBrowseFunction([&](QWidget*, const QString& filter, const QString& suffix, const QString& name) {
        seenFilter = filter;
        seenSuffix = suffix;
        seenName = name;
        return QStringLiteral("/work/proj/sub/chosen.swf");
    });
    d->browse();
    EXPECT_EQ(seenFilter, ProjectSettingsDialog::browseFilter(OutputType::Movie));
    EXPECT_TRUE(seenFilter.startsWith(QStringLiteral("Macromedia Flash (*.swf)")));
    EXPECT_EQ(seenSuffix, QStringLiteral("swf"));
    EXPECT_EQ(seenName, QStringLiteral("/work/proj/demo.swf"));
    EXPECT_EQ(d->nameEdit()->text(), QStringLiteral("sub/chosen.swf"));
    EXPECT_TRUE(ProjectSettingsDialog::browseFilter(OutputType::Executable)
                    .startsWith(QStringLiteral("Executable Files (*.exe)")));
    // A cancelled browse keeps the name.
    d->setBrowseFunction([](QWidget*, const QString&, const QString&, const QString&) { return QString(); });
    d->browse();
    EXPECT_EQ(d->nameEdit()->text(), QStringLiteral("sub/chosen.swf"));
}

}  // namespace
}  // namespace quib
