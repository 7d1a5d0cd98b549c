#include "model/Globals.h"

#include "model/Color.h"
#include "model/ColorCollection.h"
#include "model/ColorConverter.h"
#include "model/Texture.h"
#include "platform/RuntimeError.h"

#include <QCoreApplication>

namespace Globals {

std::shared_ptr<Color> TopColor;
std::shared_ptr<Color> DrawColor;
std::vector<std::shared_ptr<Texture>> Textures;
std::shared_ptr<ColorConverter> Converter;
std::shared_ptr<ColorCollection> GeneratedColors;
QString CurrentFile;
QString IconTempFolder;

std::shared_ptr<Texture> TextureItem(int32_t index) {
    if (index < 1 || static_cast<size_t>(index) > Textures.size())
        Err::Raise(RuntimeError::InvalidProcedureCall);
    return Textures[static_cast<size_t>(index) - 1];
}

namespace {
// The program-wide objects go while the application object still exists, as the runtime releases a
// module's variables when the program ends: a colour's destructor still needs the program folder.
void release() {
    TopColor.reset();
    DrawColor.reset();
    GeneratedColors.reset();
    Textures.clear();
    Converter.reset();
    CurrentFile.clear();
    IconTempFolder.clear();
}

const bool registered = [] {
    qAddPostRoutine(release);
    return true;
}();
}  // namespace

}  // namespace Globals
