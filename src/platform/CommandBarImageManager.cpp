#include "platform/CommandBarImageManager.h"

#include "platform/RegularFile.h"
#include "platform/RuntimeError.h"

#include <QImage>

void CommandBarImageManager::LoadBitmap(const QString& path, const std::vector<int>& ids) {
    if (!RegularFile::IsRegular(path))
        Err::Raise(RuntimeError::FileNotFound);
    QImage picture(path);
    if (picture.isNull())
        Err::Raise(InvalidPicture, QString(), QStringLiteral("Invalid picture"));
    if (!picture.hasAlphaChannel()) {
        picture = picture.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = qRgb(255, 0, 255);
        for (int y = 0; y < picture.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                if ((row[x] & 0x00FFFFFF) == (key & 0x00FFFFFF))
                    row[x] = 0;
        }
    }
    if (ids.size() == 1) {
        m_icons[ids.front()] = QPixmap::fromImage(picture);
        return;
    }
    const int side = picture.height();
    for (size_t i = 0; i < ids.size(); ++i) {
        const int left = static_cast<int>(i) * side;
        if (left + side > picture.width())
            break;
        m_icons[ids[i]] = QPixmap::fromImage(picture.copy(left, 0, side, side));
    }
}

void CommandBarImageManager::SetIcon(int id, const QPixmap& icon) { m_icons[id] = icon; }

QPixmap CommandBarImageManager::Icon(int id) const {
    const auto it = m_icons.find(id);
    return it == m_icons.end() ? QPixmap() : it->second;
}
