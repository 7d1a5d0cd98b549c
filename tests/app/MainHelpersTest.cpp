#include "app/MainHelpers.h"
#include "model/Factory.h"
#include "model/Texture.h"
#include "platform/RuntimeError.h"
#include "support/ModelPrinters.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class StoreTextureFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pictures.isValid());
        picture = pictures.path() + "/sea.jpg";
        write(picture, "sea pixels");
    }

    QStringList filesOf(const QTemporaryDir& dir) const { return QDir(dir.path()).entryList(QDir::Files); }

    QTemporaryDir pictures;
    QString picture;
};

// The second write finds the texture stored, so it copies the first copy under the same name.
TEST_F(StoreTextureFile, WritingTwiceIntoFreshFoldersKeepsTheFlattenedName) {
    const auto texture = Factory::NewTexture(0, "sea", picture, TextureKind::Image, false, false);
    const QString flat = QString(picture).remove(':').remove('/');

    QTemporaryDir first;
    MainHelpers::StoreTextureFile(texture, first.path() + "/");
    EXPECT_EQ(texture->path(), flat);
    EXPECT_EQ(read(first.path() + "/" + flat), QByteArray("sea pixels"));
    // What the document writer does next: serialise, then point the texture at the copy.
    pugi::xml_document doc;
    ASSERT_TRUE(texture->Serialize(doc, doc.append_child("Color")));
    EXPECT_STREQ(doc.child("Color").child("Texture").attribute("path").value(), flat.toUtf8().constData());
    texture->SetPath(first.path() + "/" + texture->path());

    QTemporaryDir second;
    MainHelpers::StoreTextureFile(texture, second.path() + "/");
    EXPECT_EQ(texture->path(), flat);
    EXPECT_EQ(filesOf(second), QStringList{flat});
    EXPECT_EQ(read(second.path() + "/" + flat), QByteArray("sea pixels"));
}

TEST_F(StoreTextureFile, ReplacesAnExistingFileOfThatName) {
    const auto texture = Factory::NewTexture(0, "sea", picture, TextureKind::Image, false, false);
    QTemporaryDir folder;
    write(folder.path() + "/" + texture->UniquePath(), "old");
    MainHelpers::StoreTextureFile(texture, folder.path());
    EXPECT_EQ(read(folder.path() + "/" + texture->path()), QByteArray("sea pixels"));
}

TEST_F(StoreTextureFile, StoringTheCopyIntoItsOwnFolderKeepsIt) {
    QTemporaryDir folder;
    const QString copy = folder.path() + "/seacopy.jpg";
    write(copy, "kept");
    const auto texture = Factory::NewTexture(0, "sea", copy, TextureKind::Image, false, false);
    texture->SetInStorage(true);
    MainHelpers::StoreTextureFile(texture, folder.path() + "/");
    EXPECT_EQ(texture->path(), QStringLiteral("seacopy.jpg"));
    EXPECT_EQ(read(copy), QByteArray("kept"));
}

TEST_F(StoreTextureFile, LeavesOtherTexturesAlone) {
    QTemporaryDir folder;
    const auto plain = Factory::NewTexture(1, "  No Texture", "", TextureKind::None, true, false);
    const auto pattern = Factory::NewTexture(2, "dots", picture, TextureKind::Pattern, false, false);
    const auto emptyImage = Factory::NewTexture(0, "none", "", TextureKind::Image, false, false);
    for (const auto& t : {plain, pattern, emptyImage}) {
        const QString before = t->path();
        MainHelpers::StoreTextureFile(t, folder.path());
        EXPECT_EQ(t->path(), before) << t->Name().toStdString();
    }
    EXPECT_TRUE(filesOf(folder).isEmpty());
}

TEST_F(StoreTextureFile, AFailedCopyReachesTheCallerAndKeepsThePath) {
    QTemporaryDir folder;
    const auto missing =
        Factory::NewTexture(0, "gone", pictures.path() + "/gone.jpg", TextureKind::Image, false, false);
    try {
        MainHelpers::StoreTextureFile(missing, folder.path());
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), RuntimeError::FileNotFound);
    }
    EXPECT_EQ(missing->path(), pictures.path() + "/gone.jpg");

    const auto texture = Factory::NewTexture(0, "sea", picture, TextureKind::Image, false, false);
    EXPECT_THROW(MainHelpers::StoreTextureFile(texture, folder.path() + "/no-such-folder"), RuntimeError);
    EXPECT_EQ(texture->path(), picture);
}

}  // namespace
