// The application keeps the portal's restore token in its own settings store.

#include <gtest/gtest.h>

#include <QSettings>
#include <cstdlib>

#include "portal_desktop_suite.h"
#include "ui/app_settings.h"
#include "ui/capture_backends.h"

using namespace quib;
using namespace quib::testing;

namespace {

using PortalSettings = PortalDesktopSuite;

TEST_F(PortalSettings, TheRestoreTokenIsReadFromAndWrittenToTheApplicationStore) {
    PortalTestDesktop& desktop = *s_desktop;
    ASSERT_EQ(desktop.startPortal({}), "");
    setenv("QUIB_CAPTURE_BACKEND", "portal", 1);
    setenv("DBUS_SESSION_BUS_ADDRESS", desktop.busAddress().c_str(), 1);

    const QString file = QString::fromStdString(desktop.logPath()) + QStringLiteral(".ini");
    QSettings store(file, QSettings::IniFormat);
    // Written by an earlier version under the same key.
    store.setValue(QStringLiteral("Settings/Portal Restore Token"), QStringLiteral("restore-earlier"));
    {
        const CaptureBackends backends = openApplicationCaptureBackends(&store);
        ASSERT_TRUE(backends.screen.ok()) << backends.screen.message();
    }
    EXPECT_TRUE(desktop.logged("restore_token=restore-earlier\n")) << desktop.log();
    store.sync();
    EXPECT_EQ(QSettings(file, QSettings::IniFormat).value(QStringLiteral("Settings/Portal Restore Token")),
              QStringLiteral("restore-1"));
    EXPECT_EQ(AppSettings::readPortalRestoreToken(store), QStringLiteral("restore-1"));
}

}  // namespace
