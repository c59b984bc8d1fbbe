#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

#include "ui/app_settings.h"
#include "ui/command_actions.h"
#include "ui/document_prompts.h"
#include "ui/interface_language.h"
#include "ui/preferences_dialog.h"
#include "ui/recent_file_name.h"
#include "ui_test_support.h"

namespace quib {
namespace {

TEST(DocumentPrompts, SaveChangesNamesTheProject) {
    EXPECT_EQ(saveChangesPrompt(QStringLiteral("demo.qbk")),
              QStringLiteral("Salvare le modifiche di demo.qbk?"));
    EXPECT_EQ(saveChangesPrompt(QStringLiteral("Senza nome *")),
              QStringLiteral("Salvare le modifiche di Senza nome?"));
    EXPECT_EQ(projectFileFilter(), QStringLiteral("Quib Projects (*.qbk)"));
}

TEST(Preferences, ReportsAChangedThumbnailSize) {
    AppSettings s;
    EXPECT_TRUE(applyPreferences(s, {10, true, 96, 64}));
    EXPECT_EQ(s.thumbCx, 96);
    EXPECT_FALSE(applyPreferences(s, {12, true, 96, 64}));
    EXPECT_EQ(s.mruSize, 12);
}

TEST(Preferences, DialogShowsAndReturnsItsFields) {
    test::ensureApplication();
    PreferencesDialog dialog({7, true, 80, 60});
    EXPECT_EQ(dialog.mruSizeEdit()->text(), QStringLiteral("7"));
    EXPECT_TRUE(dialog.reloadCheck()->isChecked());
    dialog.mruSizeEdit()->setText(QStringLiteral("0"));
    dialog.reloadCheck()->setChecked(false);
    dialog.thumbCyEdit()->setText(QStringLiteral("0"));
    const PreferenceValues v = dialog.values();
    EXPECT_EQ(v.mruSize, 0);
    EXPECT_FALSE(v.reloadLastProject);
    EXPECT_EQ(v.thumbCx, 80);
    EXPECT_EQ(v.thumbCy, 0);
}

// Short paths stay whole; long ones keep the first folder and the end.
TEST(RecentFileName, LongPathsKeepTheFirstFolderAndTheEnd) {
    EXPECT_EQ(recentFileDisplayName(QStringLiteral("/a/b.qbk"), 30), QStringLiteral("/a/b.qbk"));
    const QString name =
        recentFileDisplayName(QStringLiteral("/home/someone/projects/tutorials/2026/demo.qbk"), 30);
    EXPECT_LE(name.size(), 30);
    EXPECT_EQ(name, QStringLiteral("/.../tutorials/2026/demo.qbk"));
    EXPECT_EQ(recentFileDisplayName(QStringLiteral("/x/a-very-long-project-file-name-here.qbk"), 30),
              QStringLiteral("a-very-long-project-file-name-here.qbk"));
}

}  // namespace
}  // namespace quib
