#pragma once

#include <QImage>
#include <QString>

#include <vector>

// The command icons of the ribbon, menus and popups. bin001 to bin003 are strips of 16 x 16 icons, left to
// right, stored as 32-bit BMP with alpha; bin004 to bin015 are single 32 x 32 icons stored as PNG. The files
// carry no extension: the program copies them under names with the right one before loading them.
namespace Icons {

constexpr int kSmall = 16;
constexpr int kLarge = 32;

struct IconFile {
    QString name;  // "bin001" ... "bin015"
    bool strip;    // a BMP strip of small icons, else one large PNG icon
    QImage image;
};

std::vector<IconFile> Make();

bool Write(const QString& folder);

}  // namespace Icons
