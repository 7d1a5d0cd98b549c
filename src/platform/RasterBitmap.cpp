#include "platform/RasterBitmap.h"

#include "platform/RegularFile.h"

#include <QImageReader>

#include <unordered_map>

namespace {

std::unordered_map<uint32_t, RasterBitmap*>& Registry() {
    static std::unordered_map<uint32_t, RasterBitmap*> registry;
    return registry;
}

uint32_t NextHandle() {
    static uint32_t next = 0;
    return ++next;
}

}  // namespace

RasterBitmap::RasterBitmap() : m_handle(NextHandle()) { Registry().emplace(m_handle, this); }

RasterBitmap::RasterBitmap(const QImage& image) : RasterBitmap() { SetImage(image); }

RasterBitmap::~RasterBitmap() { Registry().erase(m_handle); }

void RasterBitmap::SetImage(const QImage& image) {
    m_image = image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32);
}

bool RasterBitmap::Load(const QString& path) {
    if (!RegularFile::IsRegular(path)) {
        m_image = QImage();
        return false;
    }
    QImageReader reader(path);
    QImage image;
    if (!reader.read(&image)) {
        m_image = QImage();
        return false;
    }
    SetImage(image);
    return true;
}

const QImage* RasterBitmap::FromHandle(uint32_t handle) {
    const auto it = Registry().find(handle);
    return it == Registry().end() ? nullptr : &it->second->m_image;
}
