#include "app/frmMain.h"
#include "support/MainWindowFixture.h"

#include <QScreen>

namespace {

using frmMainFirstSize = MainWindowFixture;

// The test screen is 800 x 800: 700 fits down, 1024 does not fit across.
TEST_F(frmMainFirstSize, KeepsWhatFitsAndShrinksToTheScreensFreeAreaElse) {
    const QRect available = window->screen()->availableGeometry();
    ASSERT_LT(available.width(), 1024);
    ASSERT_GE(available.height(), 760);
    EXPECT_EQ(window->height(), 700);
    EXPECT_LE(window->frameGeometry().width(), available.width());
    // The room left for the frame is a frame's, not a large part of the screen.
    EXPECT_GT(window->width(), available.width() - 30);
    EXPECT_LE(window->minimumWidth(), window->width());
    EXPECT_EQ(window->minimumHeight(), 480);
}

}  // namespace
