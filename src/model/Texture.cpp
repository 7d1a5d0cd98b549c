#include "model/Texture.h"

#include "model/Factory.h"
#include "services/FileShared.h"
#include "services/XMLShared.h"

namespace {
// Only the file-name part of a stored path is trusted: a document must not point outside its own folder.
QString storedFileName(const QString& storedPath) {
    const QString name = FileShared::GetFileName(storedPath);
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return {};
    return name;
}
}  // namespace

QString Texture::UniquePath() const {
    return m_InStorage ? FileShared::GetFileName(m_path) : FileShared::FlattenPath(m_path);
}

void Texture::Init(int32_t pId, const QString& pName, const QString& pPath, int32_t pTextureType, bool pInternal,
                   bool pReadonly) {
    m_Id = pId;
    m_Name = pName;
    m_path = pPath;
    m_TextureType = pTextureType;
    m_Internal = pInternal;
    m_ReadOnly = pReadonly;
    m_InStorage = false;
}

void Texture::Clear() {
    if (m_ReadOnly)
        return;
    m_Id = 0;
    m_Name.clear();
    m_path.clear();
    m_TextureType = TextureKind::None;
    m_Internal = false;
    m_InStorage = false;
}

std::shared_ptr<Texture> Texture::Clone() const {
    auto clone = Factory::NewTexture(m_Id, m_Name, m_path, m_TextureType, m_Internal, false);
    clone->SetInStorage(m_InStorage);
    return clone;
}

bool Texture::Equals(const std::shared_ptr<Texture>& pOther) const {
    if (!pOther)
        return false;
    return m_Id == pOther->m_Id && m_Name == pOther->m_Name && m_path == pOther->m_path;
}

bool Texture::Serialize(pugi::xml_document& pDoc, pugi::xml_node appendTo) {
    if (m_ReadOnly)
        return false;
    try {
        pugi::xml_node node = XMLShared::CreateNode(pDoc, QStringLiteral("Texture"), QString(), XMLShared::Element);
        XMLShared::AddAttribute(pDoc, node, QStringLiteral("id"), QString::number(m_Id));
        XMLShared::AddAttribute(pDoc, node, QStringLiteral("type"), QString::number(m_TextureType));
        XMLShared::AddAttribute(pDoc, node, QStringLiteral("name"), m_Name);
        XMLShared::AddAttribute(pDoc, node, QStringLiteral("path"), UniquePath());
        XMLShared::AddAttribute(pDoc, node, QStringLiteral("internal"),
                                m_Internal ? QStringLiteral("1") : QStringLiteral("0"));
        XMLShared::AppendChild(appendTo, node);
        m_InStorage = true;
        return true;
    } catch (...) {
        return false;
    }
}

bool Texture::DeSerialize(pugi::xml_node pState, const QString& pRootFolder) {
    if (m_ReadOnly)
        return false;
    try {
        const bool internal = XMLShared::AttributeText(pState, "internal") == QLatin1String("1");
        const int32_t id = XMLShared::AttributeLong(pState, "id");
        const QString name = XMLShared::AttributeText(pState, "name");
        const QString path = storedFileName(XMLShared::AttributeText(pState, "path"));
        const int32_t type = XMLShared::AttributeLong(pState, "type");
        if (internal) {
            Init(id, name, path, type, true, false);
        } else {
            Init(id, name, pRootFolder + path, type, false, false);
            m_InStorage = true;
        }
        return true;
    } catch (...) {
        return false;
    }
}
