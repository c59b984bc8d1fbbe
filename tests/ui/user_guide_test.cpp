#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextDocument>
#include <set>

#include "ui/command_ids.h"
#include "ui/command_table.h"
#include "ui/menu_layout.h"
#include "ui_test_support.h"

using namespace quib;

namespace {

const QString kDocs = QStringLiteral(QUIB_BUILD_DIR "/share/quib/docs");

QString guidePage() {
    QFile page(kDocs + QStringLiteral("/guida-utente.html"));
    return page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
}

// A menu caption as a reader sees it: no mnemonic, accelerator or trailing dots.
QString shownCaption(const char* menuText) {
    QString text = QString::fromUtf8(menuText).section(QLatin1Char('\t'), 0, 0);
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    while (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

}  // namespace

TEST(UserGuide, NamesEveryMenuCommandAndShowsPicturesThatExist) {
    test::ensureApplication();
    const QString page = guidePage();
    ASSERT_FALSE(page.isEmpty());
    QTextDocument document;
    document.setHtml(page);
    const QString text = document.toPlainText();
    std::set<int> ids;
    for (const auto& menu : {menuNoProject(), menuProject()})
        for (const MenuItem& item : menu)
            if (item.kind == MenuItem::Command)
                ids.insert(item.id);
    EXPECT_GT(ids.size(), 60u);
    for (int id : ids) {
        const CommandInfo* info = findCommand(id);
        ASSERT_NE(info, nullptr) << id;
        const QString caption = shownCaption(info->menuText);
        EXPECT_TRUE(text.contains(caption)) << caption.toStdString();
    }

    const QRegularExpression image(QStringLiteral("<img[^>]*src=\"([^\"]+)\""));
    int count = 0;
    for (const QRegularExpressionMatch& match : image.globalMatch(page)) {
        ++count;
        EXPECT_TRUE(QFile::exists(QDir(kDocs).filePath(match.captured(1))))
            << match.captured(1).toStdString();
    }
    EXPECT_GE(count, 6);
    EXPECT_GT(QFileInfo(kDocs + QStringLiteral("/guida-utente.pdf")).size(), 50000);
}
