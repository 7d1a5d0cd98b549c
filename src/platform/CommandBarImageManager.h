#pragma once

#include <QPixmap>
#include <QString>

#include <map>
#include <vector>

// An icon list: pictures loaded from files under command ids and looked up by id.
class CommandBarImageManager {
public:
    // The runtime's error for a file that is no picture.
    static constexpr int InvalidPicture = 481;

    // Loads a picture file (PNG, BMP, anything QImage reads) under the given ids. With one id the whole picture
    // is the icon; with several the picture is a strip cut into squares as high as the picture, left to right,
    // one per id (ids past the strip's end get none). A picture without alpha takes magenta (255, 0, 255) as
    // transparent. A missing file raises 53, an unreadable one 481.
    void LoadBitmap(const QString& path, const std::vector<int>& ids);
    // Puts a picture under an id directly.
    void SetIcon(int id, const QPixmap& icon);

    bool Exists(int id) const { return m_icons.count(id) != 0; }
    // A null pixmap when the id has no icon.
    QPixmap Icon(int id) const;
    int Count() const { return static_cast<int>(m_icons.size()); }
    void RemoveAll() { m_icons.clear(); }

private:
    std::map<int, QPixmap> m_icons;
};
