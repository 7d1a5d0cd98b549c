#pragma once

#include <QString>

// A font as the user picks it: face name, size in points and four styles. Shared by reference between
// the font's owner and the tools that draw with it.
struct FontInfo {
    QString name;
    double size = 0.0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
};
