#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <memory>

#include "../model_templates/template_test_util.h"
#include "../ui/ui_test_support.h"
#include "model/template_file.h"
#include "support/files_and_commands.h"
#include "ui/app_settings.h"
#include "ui/command_ids.h"
#include "ui/quib_project_document.h"
#include "ui/template_apply_dialog.h"
#include "ui/template_commands.h"
#include "ui/template_element_chooser.h"
#include "ui/template_preview.h"

namespace quib {
namespace {

// A template of a project that differs in everything, written to folder/name.
QString writeOtherTemplate(const QString& folder, const QString& name, uint32_t mask = templ::AllElements) {
    CQuibDoc other;
    test::makeOtherProject(other);
    TemplateSet set;
    set.TakeFrom(other, mask);
    const QString path = QDir(folder).filePath(name);
    EXPECT_TRUE(set.Save(path.toStdString()).ok());
    return path;
}

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
            return true;
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

    QTemporaryDir temp;
    AppSettings settings;
    QuibProjectDocument document;
    test::HintRecorder hints;
    QStringList messages;
    std::vector<TemplateElementChooser::Mode> modes;
    uint32_t offeredMask = 0;
    uint32_t chosenMask = templ::AllElements;
    QString saveFolder, suggestedName, savePath;
    QString startFolder, applyPath;
    const TemplatePreview* previewOffered = nullptr;
    bool applyOk = true;
};

TEST_F(TemplateCommandsTest, SaveWritesTheChosenElementsAndReportsAnUnwritablePlace) {
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

    savePath = QStringLiteral("/nonexistent/folder/look.qtp");
    EXPECT_FALSE(TemplateCommands(document).saveAsTemplate());
    EXPECT_EQ(messages, QStringList{QStringLiteral("Impossibile creare il file")});
}

TEST_F(TemplateCommandsTest, ApplyChangesTheProjectTellsTheViewsAndRemembersTheFolder) {
    applyPath = writeOtherTemplate(temp.path(), QStringLiteral("other.qtp"));
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

    // The next one starts in the remembered folder; cancelled, it changes nothing.
    document.doc().SetModifiedFlag(false);
    applyOk = false;
    document.run(cmd::ApplyTemplate);
    EXPECT_EQ(startFolder, temp.path());
    EXPECT_FALSE(document.isModified());
}

TEST_F(TemplateCommandsTest, MalformedTemplateIsReportedAndNothingChanges) {
    applyPath = writeOtherTemplate(temp.path(), QStringLiteral("broken.qtp"));
    QFile file(applyPath);
    ASSERT_TRUE(file.resize(40));
    const std::vector<FrameElements> before = test::frameElementsOf(document.doc());
    document.run(cmd::ApplyTemplate);
    EXPECT_EQ(messages, QStringList{QStringLiteral("Formato del file inaspettato.")});
    EXPECT_EQ(test::frameElementsOf(document.doc()), before);
    EXPECT_FALSE(document.isModified());
    EXPECT_FALSE(hints.heard(0));
}

QStringList itemTexts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

// A folder with two templates, a broken one, a file of another type and a subfolder; the
// dialog opens on it with its preview made over a styled project.
struct ApplyDialogTest : test::WithApplication, ::testing::Test {
    ApplyDialogTest() {
        test::makeStyledProject(project);
        writeOtherTemplate(temp.path(), QStringLiteral("blue.qtp"));
        writeOtherTemplate(temp.path(), QStringLiteral("rate.qtp"), templ::FrameRate);
        test::writeFile(QDir(temp.path()).filePath(QStringLiteral("broken.qtp")).toStdString(),
                        std::string("QTP \x01\x00", 6));
        test::writeFile(QDir(temp.path()).filePath(QStringLiteral("notes.txt")).toStdString(), "hello");
        QDir(temp.path()).mkdir(QStringLiteral("nested"));
        preview = std::make_unique<TemplatePreview>(project);
        dialog = std::make_unique<TemplateApplyDialog>(*preview, temp.path());
    }

    QTemporaryDir temp;
    CQuibDoc project;
    std::unique_ptr<TemplatePreview> preview;
    std::unique_ptr<TemplateApplyDialog> dialog;
};

// Folders can be entered and left; the all-files type shows every file; a broken template leaves the
// preview empty and stays selectable; OK needs a file.
TEST_F(ApplyDialogTest, FoldersAllFilesBrokenTemplateAndOkNeedsAFile) {
    const QList<QListWidgetItem*> nested =
        dialog->folderList()->findItems(QStringLiteral("nested"), Qt::MatchExactly);
    ASSERT_EQ(nested.size(), 1);
    emit dialog->folderList()->itemActivated(nested.first());
    EXPECT_EQ(dialog->folder(), QDir(temp.path()).filePath(QStringLiteral("nested")));
    EXPECT_TRUE(dialog->fileList()->count() == 0);
    emit dialog->folderList()->itemActivated(dialog->folderList()->item(0));
    EXPECT_EQ(dialog->folder(), QDir(temp.path()).absolutePath());
    dialog->setTypeIndex(1);
    EXPECT_TRUE(itemTexts(dialog->fileList()).contains(QStringLiteral("notes.txt")));

    ASSERT_TRUE(dialog->selectFile(QStringLiteral("blue.qtp")));
    ASSERT_FALSE(dialog->previewImage().isNull());
    ASSERT_TRUE(dialog->selectFile(QStringLiteral("broken.qtp")));
    EXPECT_TRUE(dialog->previewImage().isNull());
    EXPECT_EQ(dialog->selectedPath(), QDir(temp.path()).filePath(QStringLiteral("broken.qtp")));

    dialog->fileList()->setCurrentRow(-1);
    dialog->accept();
    EXPECT_EQ(dialog->result(), 0);
    ASSERT_TRUE(dialog->selectFile(QStringLiteral("rate.qtp")));
    dialog->accept();
    EXPECT_EQ(dialog->result(), int(QDialog::Accepted));
}

TEST_F(ApplyDialogTest, ElementChooserSetsTheMaskAndAMissingStartFolderFallsBackToHome) {
    uint32_t offered = 0;
    dialog->setElementAsker([&](uint32_t& mask) {
        offered = mask;
        mask = templ::TitleFont;
        return true;
    });
    dialog->chooseElements();
    EXPECT_EQ(offered, templ::AllElements);
    EXPECT_EQ(dialog->mask(), templ::TitleFont);
    dialog->setElementAsker([](uint32_t& mask) {
        mask = 0;
        return false;
    });
    dialog->chooseElements();
    EXPECT_EQ(dialog->mask(), templ::TitleFont);

    TemplateApplyDialog gone(*preview, QDir(temp.path()).filePath(QStringLiteral("gone")));
    EXPECT_EQ(gone.folder(), QDir::homePath());
}

}  // namespace
}  // namespace quib
