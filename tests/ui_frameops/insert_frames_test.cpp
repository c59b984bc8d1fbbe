#include <gtest/gtest.h>

#include <QRadioButton>
#include <QSpinBox>

#include "frameops_test_support.h"
#include "model/frame_operations.h"
#include "model/quib_doc.h"
#include "ui/command_ids.h"
#include "ui/insert_frames_dialog.h"

namespace quib {
namespace {

using InsertFrames = test::FrameOpsFixture;

TEST_F(InsertFrames, Dialog_RefusesACountOutOfRangeAndAZeroSize) {
    InsertFramesDialog dialog(false);
    dialog.setMessageFunction([this](const QString& text) { messages << text; });
    dialog.countEdit()->setValue(120);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QStringLiteral("Si prega di inserire un numero tra 1 e 99"));
    dialog.countEdit()->setValue(5);
    dialog.heightEdit()->setValue(0);
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    dialog.heightEdit()->setValue(10);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(messages.size(), 1);
}

}  // namespace
}  // namespace quib
