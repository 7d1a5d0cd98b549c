#include "platform/FileDialog.h"
#include "platform/PictureBox.h"
#include "support/ScriptedFileDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

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
    EXPECT_EQ(FileDialog::NameFilters(QStringLiteral("Tindral File (*.tnd)|*.tnd;")),
              QStringList{QStringLiteral("Tindral File (*.tnd)")});
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

namespace {

// Folders of a temporary home: "docs" exists, "gone" does not, and "plain" is a file where a folder is asked for.
class FileDialogStart : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir().mkpath(at(QStringLiteral("docs"))));
        QFile plain(at(QStringLiteral("plain")));
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    }
    QString at(const QString& name) const { return dir.filePath(name); }

    // Shows the real box for the request and reads, as it opens, the folder it shows and its name box.
    static FileDialog::Start Shown(const FileDialog::Request& request) {
        FileDialog::Start seen;
        QTimer::singleShot(0, [&seen] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seen.folder = dialog->directory().absolutePath();
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                seen.name = name->text();
            dialog->reject();
        });
        EXPECT_FALSE(FileDialog::Show(request).accepted);
        return seen;
    }

    QTemporaryDir dir;
};

struct StartCase {
    const char* name;
    const char* fileName;  // below the temporary folder; empty for none
    const char* initDir;
    const char* folder;  // "~" for the home folder, "" for the dialog's own choice
    const char* shownName;
};

TEST_F(FileDialogStart, FolderFallsBackToTheStartFolderThenHomeAndTheNameBoxTakesOnlyAName) {
    const StartCase cases[] = {
        {"RememberedFile", "docs/one.tnd", "", "docs", "one.tnd"},
        {"PatternInAFolder", "docs/*.tnd", "", "docs", ""},
        {"PatternInAMissingFolder", "gone/*.tnd", "gone", "~", ""},
        {"RememberedFileInAMissingFolder", "gone/one.tnd", "docs", "docs", "one.tnd"},
        {"FileWhereAFolderIsAskedFor", "plain/one.tnd", "plain", "~", "one.tnd"},
        {"OnlyAStartFolder", "", "docs", "docs", ""},
        {"NothingGiven", "", "", "", ""},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.name);
        FileDialog::Request request;
        request.mode = FileDialog::Mode::Save;
        request.filter = QStringLiteral("Tindral File (*.tnd)|*.tnd;");
        if (*c.fileName)
            request.fileName = at(QString::fromLatin1(c.fileName));
        if (*c.initDir)
            request.initDir = at(QString::fromLatin1(c.initDir));
        const QString folder = QString::fromLatin1(c.folder) == QStringLiteral("~") ? QDir::homePath()
                               : *c.folder                                          ? at(QString::fromLatin1(c.folder))
                                                                                    : QString();
        const FileDialog::Start start = FileDialog::StartOf(request);
        EXPECT_EQ(start.folder.toStdString(), folder.toStdString());
        EXPECT_EQ(start.name.toStdString(), c.shownName);

        if (folder.isEmpty())
            continue;
        const FileDialog::Start shown = Shown(request);
        EXPECT_EQ(shown.folder.toStdString(), folder.toStdString());
        EXPECT_EQ(shown.name.toStdString(), c.shownName);
    }
}

}  // namespace
