#pragma once

#include "stage/Stage.h"

#include <QString>

#include <array>
#include <memory>
#include <vector>

class Color;
class ColorHistory;
class ColorMatch;
class ColorPanel;
class Texture;

// What writing a document changes in the live objects, noted before the write starts: the modified flags of
// the colours, strips, pie and stage, and the path of every picture texture, which the write points into its
// new folder. A write that fails puts all of it back, so the document is exactly as it was before.
class DocumentRollback {
public:
    DocumentRollback(const std::vector<std::unique_ptr<ColorPanel>>& proofers,
                     const std::array<std::unique_ptr<ColorHistory>, 6>& strips, ColorMatch& pie, Stage& stage);

    void Restore() const;

private:
    struct ColorMark {
        std::shared_ptr<Color> color;
        bool dirty;
    };
    struct TextureMark {
        std::shared_ptr<Texture> texture;
        QString path;
        bool inStorage;
    };
    struct StripMark {
        ColorHistory* strip;
        bool dirty;
    };
    void Note(const std::shared_ptr<Color>& color);

    std::vector<ColorMark> m_colors;
    std::vector<TextureMark> m_textures;
    std::vector<StripMark> m_strips;
    ColorMatch& m_pie;
    bool m_pieDirty;
    Stage& m_stage;
    Stage::SaveMark m_stageMark;
};
