#include "services/XMLShared.h"

#include "platform/Numeric.h"
#include "platform/RuntimeError.h"

namespace XMLShared {

namespace {
pugi::xml_document& holding() {
    static pugi::xml_document d;
    return d;
}

QByteArray utf8(const QString& s) { return s.toUtf8(); }
}  // namespace

pugi::xml_node CreateNode(pugi::xml_document& /*doc*/, const QString& name, const QString& text, int nodeType,
                          const QString& /*namespaceURI*/) {
    if (nodeType != Element)
        Err::Raise(RuntimeError::InvalidProcedureCall);
    pugi::xml_node node = holding().append_child(utf8(name).constData());
    if (!text.isEmpty())
        node.text().set(utf8(text).constData());
    return node;
}

pugi::xml_attribute AddAttribute(pugi::xml_document& /*doc*/, pugi::xml_node element, const QString& name,
                                 const QString& value, const QString& /*namespaceURI*/) {
    if (!element)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    const QByteArray n = utf8(name);
    pugi::xml_attribute attribute = element.attribute(n.constData());
    if (!attribute)
        attribute = element.append_attribute(n.constData());
    attribute.set_value(utf8(value).constData());
    return attribute;
}

pugi::xml_node AppendChild(pugi::xml_node parent, pugi::xml_node child) {
    if (!parent || !child)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    if (child.root() == holding().root()) {
        pugi::xml_node attached = parent.append_copy(child);
        holding().remove_child(child);
        return attached;
    }
    return parent.append_move(child);
}

QString AttributeText(pugi::xml_node element, const char* name) {
    const pugi::xml_attribute attribute = element ? element.attribute(name) : pugi::xml_attribute();
    if (!attribute)
        Err::Raise(RuntimeError::ObjectVariableNotSet);
    return QString::fromUtf8(attribute.value());
}

int32_t AttributeLong(pugi::xml_node element, const char* name) {
    return Numeric::ToLong(AttributeText(element, name));
}

QString Text(pugi::xml_node node) { return QString::fromUtf8(node.text().get()); }

QByteArray ToBytes(const pugi::xml_document& doc) {
    struct Collector : pugi::xml_writer {
        QByteArray bytes;
        void write(const void* data, size_t size) override {
            bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
        }
    } collector;
    // The same settings as the document's save to a file.
    doc.save(collector, "\t", pugi::format_default, pugi::encoding_auto);
    return collector.bytes;
}

}  // namespace XMLShared
