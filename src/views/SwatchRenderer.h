#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class cColourise;
class cDIBSection;
class cTexturise;
class QImage;
class QRect;
class Texture;

// The pixel work of a swatch: the plain fill, the pattern texture over it, and a user picture recoloured in
// the colour's hue. It owns the five bitmaps; buffers of an unchanged size are refilled in place, and a
// picture already recoloured for the same hue is not recoloured again.
class SwatchRenderer {
public:
    SwatchRenderer();
    ~SwatchRenderer();
    SwatchRenderer(const SwatchRenderer&) = delete;
    SwatchRenderer& operator=(const SwatchRenderer&) = delete;

    // A texturiser for a pattern texture: an internal texture comes from the program folder's textures,
    // another only when its file exists (otherwise the pattern step copies the plain bitmap unchanged). The
    // texturiser of the previous call stays when its file is the same and unchanged on disk.
    void LoadPattern(const Texture& texture);
    void ReleasePattern();

    // The plain bitmap filled with rgb (packed red + 256 green + 65536 blue) at the given size, and the
    // textured bitmap: a copy of it, modulated by the pattern when pattern is set and a texturiser exists.
    void Render(int32_t width, int32_t height, int32_t rgb, bool pattern);

    // Takes a picture as the image bitmap and drops the recoloured one; False when it holds no pixels.
    bool LoadPicture(const QImage& picture);
    bool HasRecoloured() const { return m_recoloured != nullptr; }
    // Recolours the image bitmap into the recoloured bitmap in the hue (degrees 0 to 359), saturation 100.
    void Recolour(int32_t hueDegrees);
    void ReleasePicture();
    void Release();

    const cDIBSection* Plain() const { return m_plain.get(); }
    const cDIBSection* Textured() const { return m_textured.get(); }
    const cDIBSection* Image() const { return m_image.get(); }
    const cDIBSection* Recoloured() const { return m_recoloured.get(); }
    // The bitmap a texture kind shows: 1 the textured, 2 the recoloured, any other the plain bitmap.
    const cDIBSection* Shown(int32_t kind) const;

    // The part of the bitmap inside area (picture coordinates, within the bitmap), top row first, in the
    // screen's 32-bit format; null when the area is empty or the bitmap holds no pixels. Only the area is
    // converted: handed the whole bitmap, Qt would convert all of it, upside down, at every paint.
    static QImage ScreenRows(const cDIBSection& bitmap, const QRect& area);

    // Writes a 24-bit BMP of the plain colour at the given size; False when it could not be written.
    static bool WritePlainFile(const QString& path, int32_t width, int32_t height, int32_t rgb);

    // The grey picture of a file, as the swatch shows it before recolouring: read by load (which may raise)
    // unless the picture read last is of the same file, unchanged on disk, and still shown by a swatch. A
    // document's proofers and a colour's copies often show one picture; it is then read and reduced once.
    static QImage GreyPicture(const QString& file, const std::function<QImage()>& load);

    // The colouriser's hue (0 to 255, magenta at both ends) for a hue in degrees.
    static int32_t ColouriserHue(int32_t degrees);

private:
    // What tells a file changed on disk: its identity, size and modification time.
    struct FileStamp {
        uint64_t device = 0;
        uint64_t inode = 0;
        int64_t size = -1;
        int64_t seconds = 0;
        int64_t nanoseconds = 0;
        static FileStamp Of(const QString& file);
        bool operator==(const FileStamp&) const = default;
    };

    struct KeptPicture;
    static KeptPicture& keptPicture();

    std::unique_ptr<cDIBSection> m_image;
    std::unique_ptr<cDIBSection> m_recoloured;
    std::unique_ptr<cColourise> m_colouriser;
    std::unique_ptr<cDIBSection> m_plain;
    std::unique_ptr<cDIBSection> m_textured;
    std::unique_ptr<cTexturise> m_texturiser;
    QString m_patternFile;
    FileStamp m_patternStamp;
    // The colouriser hue the recoloured bitmap holds; -1 when it must be recoloured.
    int32_t m_recolouredHue = -1;
};
