#include "imaging/cDIBSection.h"
#include "imaging/cTexturise.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A BMP header promising a 64 x 64 picture of 24 bits with no pixels behind it.
QByteArray lyingBmpHeader() {
    QByteArray bytes(54, '\0');
    const auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, 54 + 64 * 64 * 3);
    put32(10, 54);
    put32(14, 40);
    put32(18, 64);
    put32(22, 64);
    bytes[26] = 1;
    bytes[28] = 24;
    put32(34, 64 * 64 * 3);
    return bytes;
}

struct DamagedTexture {
    const char* name;
    std::function<void(const QString& path)> make;
};

class DamagedTextureFile : public ::testing::TestWithParam<DamagedTexture> {};

// Every swatch makes its own texturiser and loads at each render; the user hears of a bad file once.
TEST_P(DamagedTextureFile, FailsWithOneMessageForTheLifeOfTheProgramAndCopiesThePicture) {
    const QString folder = TestEnvironment::Home() + "/damaged/" + GetParam().name;
    QDir().mkpath(folder);
    const QString path = folder + "/denim.bmp";
    GetParam().make(path);

    ScriptedMessageBox boxes;
    for (int render = 0; render < 3; ++render) {
        cTexturise filter;
        EXPECT_FALSE(filter.LoadTexture(path));
        cDIBSection src, dst;
        ASSERT_TRUE(src.Create(3, 2));
        ASSERT_TRUE(dst.Create(3, 2));
        src.DIBSectionBitsPtr()[0] = 77;
        filter.ApplyTexture(src, dst, 100, 64, 100);
        EXPECT_EQ(dst.DIBSectionBitsPtr()[0], 77);
    }
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(boxes.Requests()[0].prompt, "Failed to load texture '" + path + "'");

    // Another file that fails has its own message.
    const QString other = folder + "/other.bmp";
    writeFile(other, "not a picture");
    cTexturise filter;
    EXPECT_FALSE(filter.LoadTexture(other));
    EXPECT_EQ(boxes.Requests().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DamagedTextureFile,
    ::testing::Values(DamagedTexture{"text", [](const QString& p) { writeFile(p, "this is no bitmap\n"); }},
                      DamagedTexture{"empty", [](const QString& p) { writeFile(p, QByteArray()); }},
                      DamagedTexture{"lying_header", [](const QString& p) { writeFile(p, lyingBmpHeader()); }},
                      // A FIFO must not block the render in open().
                      DamagedTexture{"fifo", [](const QString& p) { ASSERT_EQ(::mkfifo(qPrintable(p), 0600), 0); }},
                      DamagedTexture{"folder", [](const QString& p) { QDir().mkpath(p); }}),
    [](const ::testing::TestParamInfo<DamagedTexture>& info) { return std::string(info.param.name); });

}  // namespace
