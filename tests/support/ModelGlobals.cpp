#include "support/ModelGlobals.h"

#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/ColorConverter.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/Texture.h"

ModelGlobals::ModelGlobals() {
    Globals::Converter = std::make_shared<ColorConverter>();
    Globals::Textures = {
        Factory::NewTexture(1, QStringLiteral("  No Texture"), QString(), TextureKind::None, true, false),
        Factory::NewTexture(2, QStringLiteral("dots"), QStringLiteral("dots.bmp"), TextureKind::Pattern, true, true),
    };
    Globals::TopColor = std::make_shared<Color>();
    Globals::TopColor->SetColorTexture(Globals::Textures[0]);
    Globals::GeneratedColors = std::make_shared<ColorCollection>();
}

ModelGlobals::~ModelGlobals() { Release(); }

void ModelGlobals::Release() {
    Globals::TopColor.reset();
    Globals::DrawColor.reset();
    Globals::GeneratedColors.reset();
    Globals::Textures.clear();
    Globals::Converter.reset();
    Globals::CurrentFile.clear();
    Globals::IconTempFolder.clear();
}
