// Draws the program folder's pictures: texture tiles, command icons, the stage's default picture and the
// default drawing colour's picture. Run by the build with the program folder as its one argument.
#include "BmpFile.h"
#include "Icons.h"
#include "StagePicture.h"
#include "Textures.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tindral_assetgen <program folder>\n");
        return 2;
    }
    const QString folder = QDir::cleanPath(args.at(1));
    bool ok = QDir().mkpath(folder);

    ok = ok && Textures::Write(folder + QStringLiteral("/textures"));
    ok = ok && Icons::Write(folder + QStringLiteral("/bin"));
    ok = ok && StagePicture::Make().save(folder + QStringLiteral("/stdimg.png"), "PNG");

    // The starting drawing colour is plain black; its picture is the pattern of textured fills.
    QImage black(32, 32, QImage::Format_RGB32);
    black.fill(Qt::black);
    ok = ok && BmpFile::Save24(black, folder + QStringLiteral("/stdcolor.bmp"));

    if (!ok) {
        std::fprintf(stderr, "tindral_assetgen: could not write the program folder's files into %s\n",
                     qPrintable(folder));
        return 1;
    }
    return 0;
}
