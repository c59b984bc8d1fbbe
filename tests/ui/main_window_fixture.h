#pragma once

#include <gtest/gtest.h>

#include <QDir>

#include "base/progress.h"
#include "model/project_storage.h"
#include "model/synthetic_project.h"
#include "support/files_and_commands.h"
#include "ui/app_settings.h"
#include "ui/child_frame.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
#include "ui/project_views.h"
#include "ui/quib_project_document.h"
#include "ui/quib_thumb_view.h"
#include "ui_test_support.h"

namespace quib::test {

// A shown main window with the project document plugged in; the messages of the window and of
// the documents are collected instead of shown.
struct MainWindowFixture : WithApplication, ::testing::Test {
    MainWindowFixture() : settings(AppSettings::defaults(temp.folder())), frame(settings, temp.store()) {
        installProjectDocument(frame);
        frame.setMessageFunction([this](const QString& text) { messages.append(text); });
        QuibProjectDocument::setMessageFunction([this](const QString& text) { messages.append(text); });
        frame.resize(1000, 700);
        frame.show();
    }
    ~MainWindowFixture() override { QuibProjectDocument::interaction() = DocumentInteraction{}; }

    QString inFolder(const QString& name) const { return QDir(temp.folder()).filePath(name); }
    std::string bytesIn(const QString& name) const { return readFile(inFolder(name).toStdString()); }
    // Saves a project into the temporary folder and gives its path.
    QString save(CQuibDoc& project, const QString& name) const {
        NullProgress progress;
        EXPECT_TRUE(SaveProject(inFolder(name).toStdString(), project, progress).ok());
        return inFolder(name);
    }
    // Writes a synthetic project of count frames into the temporary folder.
    QString writeProject(const QString& name, int count, int cx = 160, int cy = 120) const {
        CQuibDoc project;
        EXPECT_TRUE(buildSyntheticProject(project, cx, cy, count));
        return save(project, name);
    }

    QuibProjectDocument& document() const {
        return *dynamic_cast<QuibProjectDocument*>(frame.activeChild()->document());
    }
    CQuibDoc& doc() const { return document().doc(); }
    CQuibThumbView* strip() const {
        return dynamic_cast<CQuibThumbView*>(frame.activeChild()->thumbnailView());
    }

    TempSettings temp;
    AppSettings settings;
    CMainFrame frame;
    QStringList messages;
};

}  // namespace quib::test
