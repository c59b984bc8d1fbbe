#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

#include "frameops_test_support.h"
#include "model/quib_doc.h"
#include "ui/background_dialog.h"
#include "ui/command_ids.h"

namespace quib {
namespace {

constexpr const char* kTooSmall =
    "La dimensione dello sfondo deve essere maggiore dell'immagine attuale.\nInserire un valore maggiore, o "
    "scegliere un file immagine più grande.";

struct BackgroundAndButtons : test::FrameOpsFixture {
    std::unique_ptr<QuibProjectDocument> document = test::patternProject(2, 60, 40);
    CQuibDoc& doc = document->doc();
    QTemporaryDir dir;
    test::HintRecorder hints;

    BackgroundAndButtons() {
        doc.frameOrigin = Point{7, 9};
        doc.addObserver(&hints);
    }
    ~BackgroundAndButtons() { doc.removeObserver(&hints); }

    void answerBackgroundDialog(BackgroundDialog::Values values) {
        FrameOperationCommands::interaction().runBackgroundDialog = [values](BackgroundDialog& dialog) {
            dialog.setMode(values.mode);
            dialog.widthEdit()->setValue(values.cx);
            dialog.heightEdit()->setValue(values.cy);
            dialog.setFillColor(values.fillColor);
            dialog.fileEdit()->setText(values.fileName);
            return true;
        };
    }
    void answerImageFile(const QString& path) {
        FrameOperationCommands::interaction().askImageFile = [this, path](const QString& title,
                                                                          const QString&, const QString&) {
            askedTitles << title;
            return path;
        };
    }
    QStringList askedTitles;
};

TEST_F(BackgroundAndButtons, FillBackgroundSmallerThanTheFrame_IsRefusedWithNothingChanged) {
    answerBackgroundDialog({BackgroundDialog::FillMode, 59, 80, 0xFF, {}});
    document->run(cmd::BackgroundImage);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QString::fromUtf8(kTooSmall));
    EXPECT_TRUE(doc.backgroundImage.isNull());
    EXPECT_EQ(doc.backgroundSize, (Size{60, 40}));
    EXPECT_FALSE(doc.isModified());
    EXPECT_EQ(settings.previousBackgroundCx, 0);
}

TEST_F(BackgroundAndButtons, PictureBackground_TakesThePictureWithTransparentPixelsWhite) {
    Bitmap32 picture = test::solidPicture(70, 50, 10, 20, 30, 255);
    std::memset(picture.pixel(3, 4), 0, 4);
    const QString path = test::writeRawPicture(dir.path(), QStringLiteral("back.raw"), picture);
    answerBackgroundDialog({BackgroundDialog::FileMode, 0, 0, 0, path});
    document->run(cmd::BackgroundImage);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(doc.backgroundSize, (Size{70, 50}));
    ASSERT_EQ(doc.backgroundImage.width, 70);
    EXPECT_EQ(doc.backgroundImage.pixel(0, 0)[0], 10);
    EXPECT_EQ(doc.backgroundImage.pixel(0, 0)[2], 30);
    EXPECT_EQ(doc.backgroundImage.pixel(3, 4)[0], 255);
    EXPECT_EQ(doc.backgroundImage.pixel(3, 4)[1], 255);
    EXPECT_EQ(doc.backgroundImage.pixel(3, 4)[2], 255);
    EXPECT_EQ(doc.frameOrigin, (Point{7, 9}));
    EXPECT_EQ(settings.previousBackgroundMode, 1);
    EXPECT_EQ(settings.lastBackgroundFileName, path);
}

TEST_F(BackgroundAndButtons, UnreadableOrSmallPictureBackground_IsRefused) {
    const QString garbage = test::makeFile(dir.path(), QStringLiteral("broken.raw"));
    const QString small = test::writeRawPicture(dir.path(), QStringLiteral("small.raw"),
                                                test::solidPicture(60, 39, 1, 2, 3, 255));
    const QString unknownType = test::makeFile(dir.path(), QStringLiteral("picture.xyz"));
    for (const QString& path : {garbage, unknownType, small}) {
        answerBackgroundDialog({BackgroundDialog::FileMode, 0, 0, 0, path});
        document->run(cmd::BackgroundImage);
    }
    ASSERT_EQ(messages.size(), 3);
    EXPECT_EQ(messages[0], QStringLiteral("Formato di file sconosciuto"));
    EXPECT_EQ(messages[1], QStringLiteral("Formato di file sconosciuto"));
    EXPECT_EQ(messages[2], QString::fromUtf8(kTooSmall));
    EXPECT_TRUE(doc.backgroundImage.isNull());
    EXPECT_FALSE(doc.isModified());
}

TEST_F(BackgroundAndButtons, BrowseInTheBackgroundDialog_FillsTheNameAndRemembersTheFolder) {
    answerImageFile(dir.path() + QStringLiteral("/chosen.raw"));
    FrameOperationCommands::interaction().runBackgroundDialog = [](BackgroundDialog& dialog) {
        dialog.setMode(BackgroundDialog::FileMode);
        dialog.browse();
        EXPECT_TRUE(dialog.fileEdit()->text().endsWith(QStringLiteral("chosen.raw")));
        return false;
    };
    document->run(cmd::BackgroundImage);
    EXPECT_EQ(settings.lastImageLoadDir, QDir(dir.path()).absolutePath());
}

TEST_F(BackgroundAndButtons, EachButtonCommand_ReplacesItsOwnPictureWithAlphaKept) {
    const struct {
        int command;
        int kind;
        const char* title;
    } cases[] = {
        {cmd::PreviousButtonImage, ButtonImageSet::Previous, "Scegli immagine pulsante Indietro"},
        {cmd::NextButtonImage, ButtonImageSet::Next, "Scegli immagine pulsante Avanti"},
        {cmd::Goto1ButtonImage, ButtonImageSet::Goto1, "Scegli immagine pulsante VaiA 1"},
        {cmd::Goto2ButtonImage, ButtonImageSet::Goto2, "Scegli immagine pulsante VaiA 2"},
    };
    int side = 10;
    for (const auto& c : cases) {
        const ButtonImageSet before = doc.buttonImages;
        const Bitmap32 picture = test::solidPicture(side, side + 1, 1, 2, 3, uint8_t(side));
        answerImageFile(test::writeRawPicture(dir.path(), QStringLiteral("b%1.raw").arg(side), picture));
        ASSERT_TRUE(document->enabled(c.command));
        hints.hints.clear();
        document->run(c.command);
        EXPECT_EQ(askedTitles.last(), QString::fromUtf8(c.title));
        EXPECT_EQ(doc.buttonImages.images[c.kind], picture);
        for (int other = 0; other < 4; ++other) {
            if (other != c.kind) {
                EXPECT_EQ(doc.buttonImages.images[other], before.images[other]);
            }
        }
        EXPECT_TRUE(hints.heard(hint::Buttons));
        ++side;
    }
    EXPECT_TRUE(doc.isModified());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(BackgroundAndButtons, UnreadableButtonPicture_ChangesNothing) {
    const ButtonImageSet before = doc.buttonImages;
    answerImageFile(test::makeFile(dir.path(), QStringLiteral("bad.raw")));
    document->run(cmd::NextButtonImage);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("Formato di file sconosciuto"));
    EXPECT_EQ(doc.buttonImages, before);
    EXPECT_FALSE(doc.isModified());
    answerImageFile(QString());  // cancelled
    document->run(cmd::NextButtonImage);
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(doc.buttonImages, before);
}

}  // namespace
}  // namespace quib
