#pragma once

#include <QImage>
#include <QString>

#include <vector>

// The grey pattern tiles behind swatch colours. The texturise filter treats grey 64 as neutral and lightens
// a colour in proportion to how far a texture pixel lies above it, so every tile centres a little above
// that grey with a modest spread: the colour stays recognisable and the pattern reads as relief.
namespace Textures {

constexpr int kTileSize = 128;

struct Tile {
    QString name;  // file name without ".bmp"; the gallery caption
    QImage image;
};

std::vector<Tile> Make();

// Writes every tile as a 24-bit BMP into `folder`.
bool Write(const QString& folder);

}  // namespace Textures
