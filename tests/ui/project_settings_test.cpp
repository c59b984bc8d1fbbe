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

TEST(OutputName, ShownWithoutTheProjectFolder) {
    EXPECT_EQ(shortenedOutputName(QStringLiteral("/work/proj/demo.swf"), QStringLiteral("/work/proj/")),
              QStringLiteral("demo.swf"));
    EXPECT_EQ(shortenedOutputName(QStringLiteral("/other/demo.swf"), QStringLiteral("/work/proj/")),
              QStringLiteral("/other/demo.swf"));
    EXPECT_EQ(shortenedOutputName(QStringLiteral("/a/b.swf"), QString()), QStringLiteral("/a/b.swf"));
}

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

TEST(OutputName, RelativeNameLandsInTheProjectFolder) {
    EXPECT_EQ(resolveOutputName(QStringLiteral("demo.exe"), QStringLiteral("/work/proj/")),
              QStringLiteral("/work/proj/demo.exe"));
}

TEST(OutputName, EachParentStepTakesOneFolderOff) {
    EXPECT_EQ(resolveOutputName(QStringLiteral("../out/demo.swf"), QStringLiteral("/work/proj/")),
              QStringLiteral("/work/out/demo.swf"));
    EXPECT_EQ(resolveOutputName(QStringLiteral("../../demo.swf"), QStringLiteral("/work/proj/")),
              QStringLiteral("/demo.swf"));
    // The root is never climbed out of.
    EXPECT_EQ(resolveOutputName(QStringLiteral("../../../demo.swf"), QStringLiteral("/work/proj/")),
              QStringLiteral("/demo.swf"));
}

TEST(OutputName, BackslashFoldersKeepTheirForm) {
    EXPECT_EQ(resolveOutputName(QStringLiteral("..\\out\\demo.swf"), QStringLiteral("C:\\work\\proj\\")),
              QStringLiteral("C:\\work\\out\\demo.swf"));
    EXPECT_EQ(resolveOutputName(QStringLiteral("D:\\x.swf"), QStringLiteral("C:\\work\\proj\\")),
              QStringLiteral("D:\\x.swf"));
}

TEST(OutputName, AbsoluteNamesAndMissingFolderLeaveTheNameAlone) {
    EXPECT_EQ(resolveOutputName(QStringLiteral("/tmp/x.swf"), QStringLiteral("/work/proj/")),
              QStringLiteral("/tmp/x.swf"));
    EXPECT_EQ(resolveOutputName(QStringLiteral("x.swf"), QString()), QStringLiteral("x.swf"));
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

TEST_F(SettingsDialogTest, OpensWithTheProjectValues) {
    auto d = open();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Impostazioni progetto"));
    EXPECT_EQ(d->nameEdit()->text(), QStringLiteral("demo.swf"));
    EXPECT_EQ(d->typeList()->currentIndex(), 0);
    EXPECT_EQ(d->typeList()->itemText(0), QStringLiteral("Macromedia Flash (*.swf)"));
    EXPECT_EQ(d->typeList()->itemText(1), QStringLiteral("Executable File (*.exe)"));
    EXPECT_EQ(d->frameRateEdit()->text(), QStringLiteral("12"));
    EXPECT_EQ(d->smoothnessSlider()->minimum(), 2);
    EXPECT_EQ(d->smoothnessSlider()->maximum(), 100);
    EXPECT_EQ(d->smoothnessSlider()->value(), 40);
    EXPECT_TRUE(d->paletteCheck()->isChecked());
}

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

TEST_F(SettingsDialogTest, OkStoresEveryField) {
    auto d = open();
    d->nameEdit()->setText(QStringLiteral("../out/film.swf"));
    d->frameRateEdit()->setText(QStringLiteral("24"));
    d->smoothnessSlider()->setValue(80);
    d->paletteCheck()->setChecked(false);
    d->accept();
    EXPECT_EQ(settings.outputFileName, QStringLiteral("/work/out/film.swf"));
    EXPECT_EQ(settings.frameRate, 24u);
    EXPECT_EQ(settings.cursorSmoothness, 80u);
    EXPECT_FALSE(settings.usePalette);
    EXPECT_TRUE(messages.isEmpty());
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

TEST_F(SettingsDialogTest, BrowseUsesTheTypeFilterAndShortensTheChoice) {
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
}

TEST_F(SettingsDialogTest, CancelledBrowseKeepsTheName) {
    auto d = open();
    d->setBrowseFunction([](QWidget*, const QString&, const QString&, const QString&) { return QString(); });
    d->browse();
    EXPECT_EQ(d->nameEdit()->text(), QStringLiteral("demo.swf"));
}

TEST(ProjectSettingsOpened, AProjectWithoutOutputProposesOneBesideItself) {
    const std::pair<const char*, QString> cases[] = {
        {"/work/proj/tour.qbk", QStringLiteral("/work/proj/tour.swf")}, {"", QString()}};
    for (auto [path, proposed] : cases) {
        CQuibDoc doc;
        if (*path)
            doc.setPathName(path);
        doc.settings.outputType = OutputType::Movie;
        QString shown = QStringLiteral("?");
        EXPECT_FALSE(runProjectSettings(doc, nullptr, [&](OutputSettings& settings, const QString&) {
            shown = settings.outputFileName;
            return false;
        }));
        EXPECT_EQ(shown, proposed) << path;
        EXPECT_EQ(doc.settings.outputFileName, "");  // nothing kept until the dialog is accepted
    }
}

}  // namespace
}  // namespace quib
