#include "model/Color.h"

#include "model/ColorConverter.h"
#include "model/Factory.h"
#include "model/Globals.h"
#include "model/Texture.h"
#include "platform/App.h"
#include "platform/Numeric.h"
#include "platform/Random.h"
#include "platform/RuntimeError.h"
#include "services/CommandIds.h"
#include "services/FileShared.h"
#include "services/XMLShared.h"

#include <QFile>

#include <utility>

namespace {

const ColorConverter& converter() {
    if (!Globals::Converter)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    return *Globals::Converter;
}

const Color& topColor() {
    if (!Globals::TopColor)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    return *Globals::TopColor;
}

int32_t clampChannel(int32_t value) { return value < 0 ? 0 : (value > 255 ? 255 : value); }

// Without the user-defined window: 0 up to one below the top value.
int32_t drawBelow(int32_t top) { return Numeric::Floor(static_cast<double>(Random::Rnd()) * top); }

// With the window: top - width up to top + width, evaluated as the draw expression is written.
int32_t drawAround(int32_t top, int32_t width) {
    const double low = static_cast<double>(top) - width;
    const double high = static_cast<double>(top) + width;
    return Numeric::Floor((high - low + 1) * static_cast<double>(Random::Rnd()) + low);
}

QString hex2(int32_t value) { return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper(); }

// A colour's picture file is its own, except the program folder's "stdcolor.bmp" that the draw colour names.
void removePictureFile(const QString& path) {
    if (path.isEmpty())
        return;
    try {
        if (path != App::Path() + QStringLiteral("/stdcolor.bmp") && FileShared::FileExists(path))
            QFile::remove(path);
    } catch (...) {
    }
}

}  // namespace

Color::Color() { Clear(); }

Color::~Color() {
    removePictureFile(m_TemporaryImagePath);
    m_texture.reset();
}

void Color::AddViewer() { ++m_viewers; }

void Color::RemoveViewer() {
    if (m_viewers > 0 && --m_viewers == 0)
        removePictureFile(m_TemporaryImagePath);
}

void Color::SetRed(int32_t lRed) {
    lRed = clampChannel(lRed);
    if (lRed != m_Red) {
        m_Red = lRed;
        SyncHSBFromRGB();
        m_IsDirty = true;
    }
}

void Color::SetGreen(int32_t lGreen) {
    lGreen = clampChannel(lGreen);
    if (lGreen != m_Green) {
        m_Green = lGreen;
        SyncHSBFromRGB();
        m_IsDirty = true;
    }
}

void Color::SetBlue(int32_t lBlue) {
    lBlue = clampChannel(lBlue);
    if (lBlue != m_Blue) {
        m_Blue = lBlue;
        SyncHSBFromRGB();
        m_IsDirty = true;
    }
}

void Color::SetColor(int32_t r, int32_t g, int32_t b) {
    SetRed(r);
    SetGreen(g);
    SetBlue(b);
}

void Color::SetHue(int32_t fHue) {
    if (fHue != m_Hue) {
        m_Hue = fHue;
        SyncRGBFromHSB();
        m_IsDirty = true;
    }
}

void Color::SetSaturation(int32_t fSaturation) {
    if (fSaturation != m_Saturation) {
        m_Saturation = fSaturation;
        SyncRGBFromHSB();
        m_IsDirty = true;
    }
}

void Color::SetBrightness(int32_t fBrightness) {
    if (fBrightness != m_Brightness) {
        m_Brightness = fBrightness;
        SyncRGBFromHSB();
        m_IsDirty = true;
    }
}

void Color::SetTemporaryImagePath(const QString& sTemporaryImagePath) {
    if (sTemporaryImagePath != m_TemporaryImagePath) {
        // Nobody else knows the old name, so its file would outlive the program.
        removePictureFile(std::exchange(m_TemporaryImagePath, sTemporaryImagePath));
        m_IsDirty = true;
    }
}

void Color::SetColorTexture(const std::shared_ptr<Texture>& objColorTexture) {
    if (!objColorTexture)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    std::shared_ptr<Texture> candidate = objColorTexture->Internal() ? objColorTexture->Clone() : objColorTexture;
    if (!m_texture || !m_texture->Equals(candidate)) {
        m_texture = std::move(candidate);
        m_IsDirty = true;
    }
}

void Color::Init(const std::shared_ptr<Texture>& pTexture, int32_t pRangeType, bool pIsUDC) {
    Random::Randomize();
    // Each bound is read from the top colour just before its value is drawn: the top colour may be this one.
    switch (pRangeType) {
        case CommandIds::RangeAllRGB:
            if (pIsUDC) {
                SetRed(drawAround(topColor().Red(), 35));
                SetGreen(drawAround(topColor().Green(), 35));
                SetBlue(drawAround(topColor().Blue(), 35));
            } else {
                SetRed(drawBelow(topColor().Red()));
                SetGreen(drawBelow(topColor().Green()));
                SetBlue(drawBelow(topColor().Blue()));
            }
            break;
        case CommandIds::RangeAllHSB:
            if (pIsUDC) {
                SetHue(drawAround(topColor().Hue(), 25));
                SetSaturation(drawAround(topColor().Saturation(), 10));
                SetBrightness(drawAround(topColor().Brightness(), 10));
            } else {
                SetHue(drawBelow(topColor().Hue()));
                SetSaturation(drawBelow(topColor().Saturation()));
                SetBrightness(drawBelow(topColor().Brightness()));
            }
            break;
        default:
            SetHue(topColor().Hue());
            SetSaturation(drawBelow(topColor().Saturation()));
            SetBrightness(drawBelow(topColor().Brightness()));
            break;
    }
    m_RangeType = pRangeType;
    SetColorTexture(pTexture);
}

void Color::Clear() {
    if (m_texture)
        m_texture->Clear();
    SetColor(255, 255, 255);
    m_RangeType = CommandIds::RangeAllRGB;
    SetTemporaryImagePath(FileShared::GetTempFilePath());
    m_IsDirty = false;
}

std::shared_ptr<Color> Color::Clone() const {
    if (!m_texture)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    auto clone = Factory::NewColor(m_texture->Clone(), m_RangeType, false);
    clone->SetRed(m_Red);
    clone->SetGreen(m_Green);
    clone->SetBlue(m_Blue);
    clone->SetIsDirty(true);
    return clone;
}

int32_t Color::RGBColor() const { return m_Red + 256 * m_Green + 65536 * m_Blue; }

bool Color::Equals(const std::shared_ptr<Color>& pOther) const {
    if (!pOther)
        return false;
    const std::shared_ptr<Texture>& otherTexture = pOther->ColorTexture();
    // The question goes to the other colour's texture, so it must carry one.
    if (!otherTexture)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    return m_Red == pOther->m_Red && m_Green == pOther->m_Green && m_Blue == pOther->m_Blue &&
           otherTexture->Equals(m_texture);
}

QString Color::ToString(const QString& pFormat) const {
    const QString format = pFormat.toLower();
    if (format.isEmpty() || format == QLatin1String("rgb"))
        return QStringLiteral("(%1, %2, %3)").arg(m_Red).arg(m_Green).arg(m_Blue);
    if (format == QLatin1String("hsb"))
        return QStringLiteral("(%1, %2, %3)").arg(m_Hue).arg(m_Saturation).arg(m_Brightness);
    if (format == QLatin1String("html"))
        return QLatin1Char('#') + hex2(m_Red) + hex2(m_Green) + hex2(m_Blue);
    return {};
}

bool Color::Serialize(pugi::xml_document& pDoc, pugi::xml_node appendTo) {
    try {
        pugi::xml_node node = XMLShared::CreateNode(pDoc, QStringLiteral("Color"), QString(), XMLShared::Element);
        XMLShared::AddAttribute(pDoc, node, QStringLiteral("rt"), QString::number(m_RangeType));
        XMLShared::AddAttribute(pDoc, node, QStringLiteral("r"), QString::number(m_Red));
        XMLShared::AddAttribute(pDoc, node, QStringLiteral("g"), QString::number(m_Green));
        XMLShared::AddAttribute(pDoc, node, QStringLiteral("b"), QString::number(m_Blue));
        pugi::xml_node attached = XMLShared::AppendChild(appendTo, node);
        if (!m_texture)
            Err::Raise(RuntimeError::ObjectVariableNotSet);
        m_texture->Serialize(pDoc, attached);
        m_IsDirty = false;
        return true;
    } catch (...) {
        return false;
    }
}

bool Color::DeSerialize(pugi::xml_node pState, const QString& pRootFolder) {
    try {
        auto texture = std::make_shared<Texture>();
        texture->DeSerialize(pState.child("Texture"), pRootFolder);
        Init(texture, XMLShared::AttributeLong(pState, "rt"), false);
        SetRed(XMLShared::AttributeLong(pState, "r"));
        SetGreen(XMLShared::AttributeLong(pState, "g"));
        SetBlue(XMLShared::AttributeLong(pState, "b"));
        m_IsDirty = false;
        return true;
    } catch (...) {
        return false;
    }
}

void Color::SyncHSBFromRGB() {
    const ColorConverter& c = converter();
    c.SplitHSB(c.RGBToHSB(c.RGBToLong(m_Red, m_Green, m_Blue)), m_Hue, m_Saturation, m_Brightness);
}

void Color::SyncRGBFromHSB() {
    const ColorConverter& c = converter();
    c.SplitRGB(c.HSBToRGB(c.HSBToLong(m_Hue, m_Saturation, m_Brightness)), m_Red, m_Green, m_Blue);
}
