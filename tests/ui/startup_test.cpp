#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "model/frame_composition.h"
#include "shapes/callout_library.h"
#include "ui/placeholder_document.h"
#include "ui/quib_app.h"
#include "ui_test_support.h"

namespace quib {
namespace {

using test::TempSettings;

class Startup : public ::testing::Test {
protected:
    void SetUp() override { test::ensureApplication(); }

    // Starts the application with the given arguments after the program path; failure messages
    // are collected instead of shown.
    std::unique_ptr<CQuibApp> start(const QStringList& args) {
        QStringList argv = args;
        argv.prepend(QStringLiteral("/usr/bin/quib"));
        auto app = std::make_unique<CQuibApp>(argv, temp.takeStore());
        // The files these tests open are stand-ins, not projects.
        app->setDocumentOpener(PlaceholderDocument::open);
        app->startupSteps().insertAfter(
            CQuibApp::StepMainWindow, QStringLiteral("collectMessages"), [this, a = app.get()] {
                a->mainFrame()->setMessageFunction([this](const QString& m) { messages.append(m); });
                return true;
            });
        EXPECT_TRUE(app->initInstance());
        return app;
    }

    void preset(const char* key, const QVariant& value) {
        temp.store().setValue(QLatin1String(key), value);
        temp.store().sync();
    }

    TempSettings temp;
    QStringList messages;
};

TEST_F(Startup, AFailingStepEndsStartUp) {
    CQuibApp app({QStringLiteral("quib")}, temp.takeStore());
    app.startupSteps().replace(CQuibApp::StepFilters, [] { return false; });
    EXPECT_FALSE(app.initInstance());
    EXPECT_EQ(app.startupSteps().executed().last(), CQuibApp::StepFilters);
    EXPECT_EQ(app.mainFrame(), nullptr);
}

TEST_F(Startup, ReadsTheSettingsAndPlacementAndWritesThemAtExit) {
    preset("Settings/Thumb cx", 120);
    preset("Recent File List/File1", QStringLiteral("/r.qbk"));
    preset("Workspace/AppWindow", QStringLiteral("1 40 30 840 630"));
    auto app = start({});
    EXPECT_EQ(app->mainFrame()->geometry().size(), QSize(800, 600)) << "the saved placement";
    EXPECT_EQ(app->settings().thumbCx, 120);
    EXPECT_EQ(app->settings().recentFiles, QStringList{QStringLiteral("/r.qbk")});
    app->settings().thumbCy = 33;
    app->exitInstance();
    auto r = temp.reopen();
    EXPECT_EQ(r->value("Settings/Thumb cx").toInt(), 120);
    EXPECT_EQ(r->value("Settings/Thumb cy").toInt(), 33);
    EXPECT_EQ(r->value("Settings/MRU Size").toInt(), 10);
}

TEST_F(Startup, ClosingStoresTheActiveProjectAndTheWorkspace) {
    const QString project = test::makeFile(temp.folder(), QStringLiteral("active.qbk"));
    auto app = start({project});
    app->mainFrame()->close();
    EXPECT_EQ(AppSettings::readLastProjectPath(app->store()), project);
    EXPECT_TRUE(app->store().contains(QStringLiteral("Workspace/AppWindow")));
    EXPECT_FALSE(app->store().value(QStringLiteral("Workspace/Toolbars")).toString().isEmpty());
    EXPECT_TRUE(app->mainFrame()->childFrames().isEmpty());
}

TEST_F(Startup, ADamagedUserCalloutLibraryIsNamedAndTheShippedOneIsUsed) {
    // The user's data folder as the started application names it.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           QStringLiteral("/Corvander/Quib");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString damaged = folder + QStringLiteral("/callout.dat");
    {
        QFile file(damaged);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("broken");
    }
    auto app = start({});
    QFile::remove(damaged);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(damaged)) << messages[0].toStdString();
    CalloutLibrary shipped;
    ASSERT_TRUE(shipped.LoadLibrary(QUIB_BUILD_DIR "/share/quib/callout.dat"));
    ASSERT_NE(applicationCalloutLibrary(), nullptr);
    EXPECT_EQ(applicationCalloutLibrary()->write(), shipped.write());
}

}  // namespace
}  // namespace quib
