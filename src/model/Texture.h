#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <pugixml.hpp>

// The kinds of texture a colour can carry.
namespace TextureKind {
enum : int32_t { None = 0, Pattern = 1, Image = 2 };
}

// How a colour is dressed: plainly, with a built-in pattern bitmap of the program folder, or with a
// picture file of the user's that the swatch recolours. Written and read as the "Texture" element.
class Texture {
public:
    bool ReadOnly() const { return m_ReadOnly; }
    bool InStorage() const { return m_InStorage; }
    int32_t TextureType() const { return m_TextureType; }
    void SetTextureType(int32_t value) { m_TextureType = value; }
    int32_t Id() const { return m_Id; }
    bool Internal() const { return m_Internal; }
    void SetInternal(bool value) { m_Internal = value; }
    const QString& Name() const { return m_Name; }
    const QString& path() const { return m_path; }
    void SetPath(const QString& value) { m_path = value; }
    // The name of the picture inside a document folder.
    QString UniquePath() const;

    void Init(int32_t pId, const QString& pName, const QString& pPath, int32_t pTextureType, bool pInternal,
              bool pReadonly);
    void Clear();
    std::shared_ptr<Texture> Clone() const;
    bool Equals(const std::shared_ptr<Texture>& pOther) const;
    bool Serialize(pugi::xml_document& pDoc, pugi::xml_node appendTo);
    // pRootFolder is the document's unpacked folder, ending in "/".
    bool DeSerialize(pugi::xml_node pState, const QString& pRootFolder);

    void SetInStorage(bool value) { m_InStorage = value; }

private:
    int32_t m_TextureType = TextureKind::None;
    int32_t m_Id = 0;
    QString m_Name;
    QString m_path;
    bool m_Internal = false;
    bool m_InStorage = false;
    bool m_ReadOnly = false;
};
