#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "../model_templates/template_test_util.h"
#include "../ui/ui_test_support.h"
#include "model/template_file.h"
#include "ui/app_settings.h"
#include "ui/command_ids.h"
#include "ui/quib_project_document.h"
#include "ui/template_commands.h"
#include "ui/template_preview.h"

namespace quib {
namespace {

// A project document over a styled project; every question the template commands ask is
// answered by the test.
struct TemplateCommandsTest : test::WithApplication, ::testing::Test {
    TemplateCommandsTest() {
        test::makeStyledProject(document.doc());
        document.doc().setTitle("demo project.qbk");
        document.doc().SetModifiedFlag(false);
        document.doc().addObserver(&hints);
        TemplateCommands::setApplicationSettings(&settings);
        QuibProjectDocument::interaction().showMessage = [this](const QString& text) {
            messages.append(text);
        };
        TemplateInteraction& ask = TemplateCommands::interaction();
        ask.chooseElements = [this](TemplateElementChooser::Mode mode, uint32_t& mask) {
            modes.push_back(mode);
            offeredMask = mask;
            mask = chosenMask;
            return chooserOk;
        };
        ask.askSaveName = [this](const QString& folder, const QString& suggested) {
            saveFolder = folder;
            suggestedName = suggested;
            return savePath;
        };
        ask.askTemplate = [this](const TemplatePreview& preview, QString& folder, QString& path,
                                 uint32_t& mask) {
            startFolder = folder;
            previewOffered = &preview;
            folder = temp.path();
            path = applyPath;
            mask = chosenMask;
            return applyOk;
        };
    }
    ~TemplateCommandsTest() override {
        document.doc().removeObserver(&hints);
        TemplateCommands::interaction() = TemplateInteraction{};
        TemplateCommands::setApplicationSettings(nullptr);
        QuibProjectDocument::interaction() = DocumentInteraction{};
    }

    QString inTemp(const QString& name) const { return QDir(temp.path()).filePath(name); }

    // A template of a project that differs in everything, written to name.
    QString writeOtherTemplate(const QString& name, uint32_t mask = templ::AllElements) {
        CQuibDoc other;
        test::makeOtherProject(other);
        TemplateSet set;
        set.TakeFrom(other, mask);
        EXPECT_TRUE(set.Save(inTemp(name).toStdString()).ok());
        return inTemp(name);
    }

    QTemporaryDir temp;
    AppSettings settings;
    QuibProjectDocument document;
    test::HintRecorder hints;
    QStringList messages;
    std::vector<TemplateElementChooser::Mode> modes;
    uint32_t offeredMask = 0;
    uint32_t chosenMask = templ::AllElements;
    bool chooserOk = true;
    QString saveFolder, suggestedName, savePath;
    QString startFolder, applyPath;
    const TemplatePreview* previewOffered = nullptr;
    bool applyOk = true;
};

TEST_F(TemplateCommandsTest, SaveWritesTheChosenElements) {
    chosenMask = templ::FrameRate | templ::GotoButtonImages;
    savePath = inTemp(QStringLiteral("look.qtp"));
    document.run(cmd::SaveAsTemplate);
    ASSERT_EQ(modes.size(), 1u);
    EXPECT_EQ(modes[0], TemplateElementChooser::Saving);
    EXPECT_EQ(offeredMask, templ::AllElements);
    EXPECT_EQ(suggestedName, QStringLiteral("demo project"));
    EXPECT_EQ(saveFolder, TemplateCommands::templatesFolder());
    EXPECT_TRUE(QDir(saveFolder).exists());
    TemplateSet back;
    ASSERT_TRUE(back.Load(savePath.toStdString()).ok());
    EXPECT_EQ(back.mask, chosenMask);
    EXPECT_EQ(back.frameRate, document.doc().settings.frameRate);
    EXPECT_EQ(back.gotoPicture[0], document.doc().buttonImages.images[ButtonImageSet::Goto1]);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_FALSE(document.isModified());
}

TEST_F(TemplateCommandsTest, SaveToAnUnwritablePlaceReportsIt) {
    savePath = QStringLiteral("/nonexistent/folder/look.qtp");
    EXPECT_FALSE(TemplateCommands(document).saveAsTemplate());
    EXPECT_EQ(messages, QStringList{QStringLiteral("Impossibile creare il file")});
}

TEST_F(TemplateCommandsTest, ApplyChangesTheProjectAndTellsTheViews) {
    applyPath = writeOtherTemplate(QStringLiteral("other.qtp"));
    chosenMask = templ::FrameRate | templ::Callout;
    settings.lastTemplateLoadDir = QString();
    document.run(cmd::ApplyTemplate);
    EXPECT_EQ(startFolder, TemplateCommands::templatesFolder());
    ASSERT_NE(previewOffered, nullptr);
    EXPECT_EQ(document.doc().settings.frameRate, 8u + 101u);
    EXPECT_EQ(document.doc().currentFrame.textBox.calloutName, "Other Callout");
    EXPECT_EQ(document.doc().settings.cursorSmoothness, 25u);
    EXPECT_TRUE(document.isModified());
    EXPECT_TRUE(hints.heard(0));
    EXPECT_EQ(settings.lastTemplateLoadDir, temp.path());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(TemplateCommandsTest, ApplyStartsInTheRememberedFolder) {
    settings.lastTemplateLoadDir = temp.path();
    applyOk = false;
    document.run(cmd::ApplyTemplate);
    EXPECT_EQ(startFolder, temp.path());
    EXPECT_FALSE(document.isModified());
}

TEST_F(TemplateCommandsTest, MalformedTemplateIsReportedAndNothingChanges) {
    applyPath = writeOtherTemplate(QStringLiteral("broken.qtp"));
    QFile file(applyPath);
    ASSERT_TRUE(file.resize(40));
    const std::vector<FrameElements> before = test::frameElementsOf(document.doc());
    const ProjectSettings settingsBefore = document.doc().settings;
    const TitleSettings titlesBefore = document.doc().titles;
    document.run(cmd::ApplyTemplate);
    EXPECT_EQ(messages, QStringList{QStringLiteral("Formato del file inaspettato.")});
    EXPECT_EQ(test::frameElementsOf(document.doc()), before);
    EXPECT_EQ(document.doc().settings, settingsBefore);
    EXPECT_EQ(document.doc().titles, titlesBefore);
    EXPECT_FALSE(document.isModified());
    EXPECT_FALSE(hints.heard(0));
}

}  // namespace
}  // namespace quib
