#include "app/MRUManager.h"

#include "platform/App.h"
#include "platform/Settings.h"
#include "services/FileShared.h"

#include <cstdlib>
#include <sstream>
#include <string_view>

namespace {

const QString kSection = QStringLiteral("MRU");
const QString kKey = QStringLiteral("mru");

QByteArray utf8(const QString& s) { return s.toUtf8(); }

bool isItem(const pugi::xml_node& node) {
    return node.type() == pugi::node_element && std::string_view(node.name()) == "item";
}

// The rank in the second attribute, read as the original reads it; -1 when there is none.
long rankOf(const pugi::xml_node& item) {
    const pugi::xml_attribute first = item.first_attribute();
    const pugi::xml_attribute second = first ? first.next_attribute() : pugi::xml_attribute();
    if (!second)
        return -1;
    char* end = nullptr;
    const long rank = std::strtol(second.value(), &end, 10);
    return end == second.value() ? -1 : rank;
}

// The text from the start of its last count items on, closed as a list of its own; the whole text when it
// holds no more than that. Commit writes the most recent entries last, so a stored list of any length
// starts as fast as a short one.
QString tailOf(const QString& text, int32_t count) {
    qsizetype from = text.size();
    for (int32_t i = 0; i <= count; ++i) {
        from = from > 0 ? text.lastIndexOf(QLatin1String("<item"), from - 1) : -1;
        if (from < 0)
            return text;
    }
    const qsizetype start = text.indexOf(QLatin1String("<item"), from + 1);
    if (start < 0)
        return text;
    return QStringLiteral("<mru>") + text.mid(start);
}

}  // namespace

MRUManager::MRUManager(QObject* parent) : QObject(parent) { m_doc.load_string("<mru/>"); }

void MRUManager::Init(int32_t pMaxItems) {
    m_MaxItems = pMaxItems;
    load(Settings::GetSetting(App::Title(), kSection, kKey, QStringLiteral("<mru/>")));
    Reset();
}

void MRUManager::load(const QString& text) {
    m_doc.reset();
    const QString tail = tailOf(text, m_MaxItems);
    QByteArray bytes = utf8(tail);
    bool parsed = m_doc.load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (!parsed && tail.size() != text.size()) {
        bytes = utf8(text);
        parsed = m_doc.load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    if (!parsed || std::string_view(m_doc.document_element().name()) != "mru") {
        m_doc.reset();
        m_doc.load_string("<mru/>");
        return;
    }
    // Only items with a name and a rank can be read and renumbered; and a stored list of any length keeps
    // just the ranks it can show, so a huge one costs nothing after this.
    pugi::xml_node list = m_doc.document_element();
    for (pugi::xml_node child = list.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        const long rank = isItem(child) ? rankOf(child) : -1;
        if (rank < 0 || rank > m_MaxItems - 1)
            list.remove_child(child);
        child = next;
    }
}

void MRUManager::Redraw() { emit Changed(); }

void MRUManager::Add(const QString& pName, const QString& pValue) {
    pugi::xml_node list = m_doc.document_element();
    const QByteArray name = utf8(pName);
    const QByteArray value = utf8(pValue);
    pugi::xml_node found;
    for (pugi::xml_node item : list.children("item"))
        if (std::string_view(item.attribute("name").value()) == name.constData() &&
            std::string_view(item.text().get()) == value.constData()) {
            found = item;
            break;
        }
    if (found) {
        list.append_copy(found);
        list.remove_child(found);
    } else {
        pugi::xml_node item = list.append_child("item");
        item.append_attribute("name").set_value(name.constData());
        item.append_attribute("pos").set_value("0");
        item.text().set(value.constData());
    }
    commit();
}

void MRUManager::Promote(const QString& pName) {
    pugi::xml_node list = m_doc.document_element();
    const QByteArray name = utf8(pName);
    for (pugi::xml_node item : list.children("item"))
        if (std::string_view(item.attribute("name").value()) == name.constData()) {
            list.append_copy(item);
            list.remove_child(item);
            commit();
            return;
        }
}

void MRUManager::RemoveByValue(const QString& pValue) {
    pugi::xml_node list = m_doc.document_element();
    const QByteArray value = utf8(pValue);
    for (pugi::xml_node item = list.child("item"); item;) {
        const pugi::xml_node next = item.next_sibling("item");
        if (std::string_view(item.text().get()) == value.constData())
            list.remove_child(item);
        item = next;
    }
    commit();
}

bool MRUManager::GetNext(QString& pName, QString& pValue) {
    if (m_cursor < 0)
        return false;
    const std::string wanted = std::to_string(m_cursor);
    ++m_cursor;
    for (const pugi::xml_node item : m_doc.document_element().children("item")) {
        const pugi::xml_attribute first = item.first_attribute();
        const pugi::xml_attribute second = first ? first.next_attribute() : pugi::xml_attribute();
        if (second && wanted == second.value()) {
            pName = QString::fromUtf8(first.value());
            pValue = QString::fromUtf8(item.text().get());
            return true;
        }
    }
    return false;
}

void MRUManager::Reset() { m_cursor = 0; }

void MRUManager::commit() {
    pugi::xml_node list = m_doc.document_element();
    // Renumber from the last item (rank 0) to the first, then drop the ranks past the limit.
    long rank = 0;
    for (pugi::xml_node item = list.last_child(); item; item = item.previous_sibling()) {
        if (!isItem(item))
            continue;
        pugi::xml_attribute first = item.first_attribute();
        if (!first)
            first = item.append_attribute("name");
        pugi::xml_attribute second = first.next_attribute();
        if (!second)
            second = item.append_attribute("pos");
        second.set_value(static_cast<long long>(rank++));
    }
    for (pugi::xml_node item = list.first_child(); item;) {
        const pugi::xml_node next = item.next_sibling();
        if (isItem(item) && rankOf(item) > m_MaxItems - 1)
            list.remove_child(item);
        item = next;
    }
    std::ostringstream text;
    m_doc.save(text, "", pugi::format_raw | pugi::format_no_declaration);
    Settings::SaveSetting(App::Title(), kSection, kKey, QString::fromStdString(text.str()));
    emit Changed();
}

QString MRUManager::Caption(int slotNumber, const QString& path) {
    const QString prefix = QStringLiteral("&%1 ").arg(slotNumber);
    if (path.size() < LongPath)
        return prefix + path;
    return prefix + path.left(3) + QStringLiteral(".../") + FileShared::GetFileName(path);
}

std::vector<MRUManager::Slot> MRUManager::Slots() {
    std::vector<Slot> result;
    Reset();
    QString name;
    QString path;
    while (static_cast<int32_t>(result.size()) < m_MaxItems && GetNext(name, path))
        result.push_back({Caption(static_cast<int>(result.size()) + 1, path), path});
    return result;
}
