#pragma once

#include <QString>

#include <optional>

// One entry of a gallery's item set: a picture or a caption under an id, or a label that heads a section.
class CommandBarGalleryItem {
public:
    CommandBarGalleryItem(int id, const QString& caption, bool label) : m_id(id), m_caption(caption), m_label(label) {}

    int Id() const { return m_id; }
    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& caption) { m_caption = caption; }
    bool IsLabel() const { return m_label; }
    // The picture is looked up by this id in the item set's icons; it is the item id unless set.
    int IconId() const { return m_iconId.value_or(m_id); }
    void SetIconId(int iconId) { m_iconId = iconId; }
    const QString& ToolTip() const { return m_toolTip; }
    void SetToolTip(const QString& toolTip) { m_toolTip = toolTip; }
    // Whatever text the owner keeps with the item (a file path).
    const QString& Data() const { return m_data; }
    void SetData(const QString& data) { m_data = data; }

private:
    int m_id;
    QString m_caption;
    bool m_label;
    std::optional<int> m_iconId;
    QString m_toolTip;
    QString m_data;
};
