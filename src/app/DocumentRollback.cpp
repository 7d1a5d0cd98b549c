#include "app/DocumentRollback.h"

#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/Texture.h"
#include "views/ColorHistory.h"
#include "views/ColorMatch.h"
#include "views/ColorPanel.h"

DocumentRollback::DocumentRollback(const std::vector<std::unique_ptr<ColorPanel>>& proofers,
                                   const std::array<std::unique_ptr<ColorHistory>, 6>& strips, ColorMatch& pie,
                                   Stage& stage)
    : m_pie(pie), m_pieDirty(pie.IsDirty()), m_stage(stage), m_stageMark(stage.SaveState()) {
    for (const auto& proofer : proofers) Note(proofer->PanelColor());
    for (const auto& strip : strips) {
        m_strips.push_back({strip.get(), strip->OwnDirty()});
        for (int32_t i = 0; const ColorPanel* panel = strip->Panel(i); ++i)
            if (panel->HasColor())
                Note(panel->PanelColor());
    }
    if (const auto& colors = pie.Colors())
        for (const auto& color : *colors) Note(color);
}

void DocumentRollback::Note(const std::shared_ptr<Color>& color) {
    if (!color)
        return;
    m_colors.push_back({color, color->IsDirty()});
    if (const std::shared_ptr<Texture>& texture = color->ColorTexture())
        m_textures.push_back({texture, texture->path(), texture->InStorage()});
}

void DocumentRollback::Restore() const {
    for (const ColorMark& mark : m_colors) mark.color->SetIsDirty(mark.dirty);
    // A texture shared by several colours was noted once per colour, each time as it was before the write.
    for (const TextureMark& mark : m_textures) {
        mark.texture->SetPath(mark.path);
        mark.texture->SetInStorage(mark.inStorage);
    }
    for (const StripMark& mark : m_strips) mark.strip->SetOwnDirty(mark.dirty);
    m_pie.SetIsDirty(m_pieDirty);
    m_stage.RestoreSaveState(m_stageMark);
}
