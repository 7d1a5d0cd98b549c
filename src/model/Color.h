#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <pugixml.hpp>

class Texture;

// One colour: red, green and blue (always 0..255) kept in step with hue, saturation and brightness,
// a texture, its own temporary picture file, the range it was drawn in and a modified flag.
// Written and read as the "Color" element.
class Color {
public:
    // White, with a fresh temporary picture path; error 2600 when no temporary path can be made.
    Color();
    // Deletes the temporary picture file, never the program folder's "stdcolor.bmp".
    ~Color();
    Color(const Color&) = delete;
    Color& operator=(const Color&) = delete;

    bool IsDirty() const { return m_IsDirty; }
    void SetIsDirty(bool bIsDirty) { m_IsDirty = bIsDirty; }
    int32_t Red() const { return m_Red; }
    void SetRed(int32_t lRed);
    int32_t Green() const { return m_Green; }
    void SetGreen(int32_t lGreen);
    int32_t Blue() const { return m_Blue; }
    void SetBlue(int32_t lBlue);
    void SetColor(int32_t r, int32_t g, int32_t b);
    int32_t Hue() const { return m_Hue; }
    void SetHue(int32_t fHue);
    int32_t Saturation() const { return m_Saturation; }
    void SetSaturation(int32_t fSaturation);
    int32_t Brightness() const { return m_Brightness; }
    void SetBrightness(int32_t fBrightness);
    int32_t RangeType() const { return m_RangeType; }
    const QString& TemporaryImagePath() const { return m_TemporaryImagePath; }
    // A new path deletes the file of the old one.
    void SetTemporaryImagePath(const QString& sTemporaryImagePath);
    // The swatches showing the colour. Only they write and need its picture file, so it goes when the last
    // one lets go, though the colour may live on in a list.
    void AddViewer();
    void RemoveViewer();
    int Viewers() const { return m_viewers; }
    const std::shared_ptr<Texture>& ColorTexture() const { return m_texture; }
    // Internal textures are cloned; a user-image texture is shared with the caller.
    void SetColorTexture(const std::shared_ptr<Texture>& objColorTexture);

    // Draws a random colour within the range, bounded by Globals::TopColor.
    // pRangeType is one of the range ids CommandIds::RangeAllRGB..RangeGreys.
    void Init(const std::shared_ptr<Texture>& pTexture, int32_t pRangeType, bool pIsUDC = false);
    // White, range RangeAllRGB, a fresh picture path (the old path's file is deleted), not dirty.
    void Clear();
    std::shared_ptr<Color> Clone() const;
    int32_t RGBColor() const;
    bool Equals(const std::shared_ptr<Color>& pOther) const;
    // "" or "rgb": "(r, g, b)"; "hsb": "(h, s, b)"; "html": "#RRGGBB"; anything else: "".
    QString ToString(const QString& pFormat = QString()) const;
    bool Serialize(pugi::xml_document& pDoc, pugi::xml_node appendTo);
    bool DeSerialize(pugi::xml_node pState, const QString& pRootFolder);

private:
    void SyncHSBFromRGB();
    void SyncRGBFromHSB();

    std::shared_ptr<Texture> m_texture;
    bool m_IsDirty = false;
    int32_t m_RangeType = 0;
    int32_t m_Hue = 0;
    int32_t m_Saturation = 0;
    int32_t m_Brightness = 0;
    int32_t m_Red = 0;
    int32_t m_Green = 0;
    int32_t m_Blue = 0;
    QString m_TemporaryImagePath;
    int m_viewers = 0;
};
