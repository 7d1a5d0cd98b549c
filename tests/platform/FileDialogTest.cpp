#include "platform/FileDialog.h"
#include "platform/PictureBox.h"
#include "support/ScriptedFileDialog.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

TEST(FileDialogSeam, TheScriptAnswersAndCancelsWhenEmpty) {
    ScriptedFileDialog dialogs({QStringLiteral("/pics/a.png")});
    FileDialog::Request request;
    request.title = QStringLiteral("Open image");
    request.flags = FileDialog::FileMustExist | FileDialog::HideReadOnly;
    const FileDialog::Result chosen = FileDialog::Show(request);
    EXPECT_TRUE(chosen.accepted);
    EXPECT_EQ(chosen.fileName, QStringLiteral("/pics/a.png"));
    EXPECT_FALSE(FileDialog::Show(request).accepted);
    ASSERT_EQ(dialogs.Requests().size(), 2u);
    EXPECT_EQ(dialogs.Requests()[0].title, QStringLiteral("Open image"));
    EXPECT_EQ(dialogs.Requests()[0].flags, 4100);
}

TEST(FileDialogSeam, CommonDialogFiltersBecomeQtNameFilters) {
    EXPECT_EQ(FileDialog::NameFilters(QStringLiteral("Pictures (*.bmp;*.png)|*.bmp;*.png|All files|*.*")),
              (QStringList{QStringLiteral("Pictures (*.bmp *.png)"), QStringLiteral("All files (*.*)")}));
    // A description without its pattern part is dropped rather than read as a pattern.
    EXPECT_EQ(FileDialog::NameFilters(QStringLiteral("Lonely")), QStringList{});
}

TEST(PictureBoxImage, ShowsTheBackgroundThePictureAndTheOwnersPainting) {
    PictureBox box;
    box.resize(4, 2);
    box.SetBackColor(0x00FF00);  // packed green
    QImage picture(1, 1, QImage::Format_RGB32);
    picture.fill(Qt::red);
    box.SetPicture(picture);
    box.SetPaintHandler([](QPainter& painter) { painter.fillRect(3, 1, 1, 1, Qt::blue); });
    const QImage shown = box.Image();
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(shown.pixelColor(1, 0), QColor(0, 255, 0));
    EXPECT_EQ(shown.pixelColor(3, 1), QColor(Qt::blue));
}

}  // namespace
