#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include "../model_templates/template_test_util.h"
#include "../ui/ui_test_support.h"
#include "model/template_file.h"
#include "ui/template_apply_dialog.h"
#include "ui/template_element_chooser.h"
#include "ui/template_preview.h"

namespace quib {
namespace {

QStringList itemTexts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

struct ElementChooserTest : test::WithApplication, ::testing::Test {};

TEST_F(ElementChooserTest, AllAndNoneButtons) {
    TemplateElementChooser chooser(TemplateElementChooser::Saving, templ::TitleFont);
    chooser.allButton()->click();
    EXPECT_EQ(chooser.mask(), templ::AllElements);
    chooser.noneButton()->click();
    EXPECT_EQ(chooser.mask(), 0u);
}

// A folder with two templates, a broken one, a file of another type and a subfolder; the
// preview is made over a styled project.
struct ApplyDialogTest : test::WithApplication, ::testing::Test {
    ApplyDialogTest() {
        test::makeStyledProject(project);
        writeTemplate(QStringLiteral("blue.qtp"), templ::AllElements);
        writeTemplate(QStringLiteral("rate.qtp"), templ::FrameRate);
        writeBytes(QStringLiteral("broken.qtp"), QByteArray("QTP \x01\x00", 6));
        writeBytes(QStringLiteral("notes.txt"), QByteArray("hello"));
        QDir(temp.path()).mkdir(QStringLiteral("nested"));
    }
    void writeTemplate(const QString& name, uint32_t mask) {
        CQuibDoc other;
        test::makeOtherProject(other);
        TemplateSet set;
        set.TakeFrom(other, mask);
        EXPECT_TRUE(set.Save(QDir(temp.path()).filePath(name).toStdString()).ok());
    }
    void writeBytes(const QString& name, const QByteArray& bytes) {
        QFile file(QDir(temp.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir temp;
    CQuibDoc project;
};

TEST_F(ApplyDialogTest, AllFilesTypeShowsEveryFile) {
    const TemplatePreview preview(project);
    TemplateApplyDialog dialog(preview, temp.path());
    dialog.setTypeIndex(1);
    EXPECT_TRUE(itemTexts(dialog.fileList()).contains(QStringLiteral("notes.txt")));
}

TEST_F(ApplyDialogTest, FoldersCanBeEnteredAndLeft) {
    const TemplatePreview preview(project);
    TemplateApplyDialog dialog(preview, temp.path());
    const QList<QListWidgetItem*> nested =
        dialog.folderList()->findItems(QStringLiteral("nested"), Qt::MatchExactly);
    ASSERT_EQ(nested.size(), 1);
    emit dialog.folderList()->itemActivated(nested.first());
    EXPECT_EQ(dialog.folder(), QDir(temp.path()).filePath(QStringLiteral("nested")));
    EXPECT_TRUE(dialog.fileList()->count() == 0);
    emit dialog.folderList()->itemActivated(dialog.folderList()->item(0));
    EXPECT_EQ(dialog.folder(), QDir(temp.path()).absolutePath());
}

TEST_F(ApplyDialogTest, BrokenTemplateLeavesThePreviewEmptyAndOkStays) {
    const TemplatePreview preview(project);
    TemplateApplyDialog dialog(preview, temp.path());
    ASSERT_TRUE(dialog.selectFile(QStringLiteral("blue.qtp")));
    ASSERT_FALSE(dialog.previewImage().isNull());
    ASSERT_TRUE(dialog.selectFile(QStringLiteral("broken.qtp")));
    EXPECT_TRUE(dialog.previewImage().isNull());
    EXPECT_EQ(dialog.selectedPath(), QDir(temp.path()).filePath(QStringLiteral("broken.qtp")));
}

TEST_F(ApplyDialogTest, OkWithoutAFileDoesNothing) {
    const TemplatePreview preview(project);
    TemplateApplyDialog dialog(preview, temp.path());
    dialog.fileList()->setCurrentRow(-1);
    dialog.accept();
    EXPECT_EQ(dialog.result(), 0);
    ASSERT_TRUE(dialog.selectFile(QStringLiteral("rate.qtp")));
    dialog.accept();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
}

TEST_F(ApplyDialogTest, ElementChooserSetsTheMask) {
    const TemplatePreview preview(project);
    TemplateApplyDialog dialog(preview, temp.path());
    uint32_t offered = 0;
    dialog.setElementAsker([&](uint32_t& mask) {
        offered = mask;
        mask = templ::TitleFont;
        return true;
    });
    dialog.chooseElements();
    EXPECT_EQ(offered, templ::AllElements);
    EXPECT_EQ(dialog.mask(), templ::TitleFont);
    dialog.setElementAsker([](uint32_t& mask) {
        mask = 0;
        return false;
    });
    dialog.chooseElements();
    EXPECT_EQ(dialog.mask(), templ::TitleFont);
}

TEST_F(ApplyDialogTest, MissingStartFolderFallsBackToHome) {
    const TemplatePreview preview(project);
    TemplateApplyDialog dialog(preview, QDir(temp.path()).filePath(QStringLiteral("gone")));
    EXPECT_EQ(dialog.folder(), QDir::homePath());
}

}  // namespace
}  // namespace quib
