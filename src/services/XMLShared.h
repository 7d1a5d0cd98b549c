#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <pugixml.hpp>

// Element and attribute helpers over the XML DOM that every Serialize and DeSerialize uses.
//
// The DOM makes nodes before they have a parent; pugixml does not, so CreateNode keeps a new node
// in a holding document until AppendChild attaches it. AppendChild returns the attached node: add
// children to that one.
namespace XMLShared {

enum NodeType : int { Element = 1, Attribute = 2 };

// A new element with the given text, attached nowhere yet. Only elements are made (error 5 otherwise).
pugi::xml_node CreateNode(pugi::xml_document& doc, const QString& name, const QString& text, int nodeType,
                          const QString& namespaceURI = QString());
// Sets the attribute: a new name goes after the existing ones, an existing name keeps its place.
pugi::xml_attribute AddAttribute(pugi::xml_document& doc, pugi::xml_node element, const QString& name,
                                 const QString& value, const QString& namespaceURI = QString());
// Attaches a node made by CreateNode (or moves one of the same document) as parent's last child.
pugi::xml_node AppendChild(pugi::xml_node parent, pugi::xml_node child);

// The text of a named attribute; error 91 when the element or the attribute is missing.
QString AttributeText(pugi::xml_node element, const char* name);
// The attribute through the standard numeric conversion (errors 91, 13, 6).
int32_t AttributeLong(pugi::xml_node element, const char* name);

QString Text(pugi::xml_node node);

// The bytes the DOM's own save writes to a file, for a writer that checks them on their way to the disk.
QByteArray ToBytes(const pugi::xml_document& doc);

}  // namespace XMLShared
