#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <pugixml.hpp>
#include <vector>

// The recent-files list: entries kept as a small XML document, oldest first, stored as text in the settings
// ("MRU"/"mru") after every change, which raises Changed.
class MRUManager : public QObject {
    Q_OBJECT

public:
    struct Slot {
        QString caption;
        QString path;
    };

    explicit MRUManager(QObject* parent = nullptr);

    // Loads the stored list. A stored text that is not a list starts an empty one, which replaces the
    // text at the next change; a long stored list keeps only the ranks below pMaxItems.
    void Init(int32_t pMaxItems);
    void Redraw();
    void Add(const QString& pName, const QString& pValue);
    void Promote(const QString& pName);
    void RemoveByValue(const QString& pValue);
    bool GetNext(QString& pName, QString& pValue);
    void Reset();

    // The menu slots from the most recent entry on: "&1 " and the path, a long path shortened to its first
    // three characters, ".../" and its file name. Reads from Reset, as the menu's handler does.
    std::vector<Slot> Slots();
    static QString Caption(int slotNumber, const QString& path);

    static constexpr int LongPath = 60;

signals:
    void Changed();

private:
    void load(const QString& text);
    void commit();

    pugi::xml_document m_doc;
    int32_t m_MaxItems = 0;
    int32_t m_cursor = -1;
};
