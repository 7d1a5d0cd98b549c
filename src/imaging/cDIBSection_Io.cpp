#include "imaging/cDIBSection.h"

#include "platform/App.h"
#include "platform/MessageBox.h"
#include "platform/RuntimeError.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

// Where a bitmap meets the clipboard, a widget or a file; the pixel work stays in cDIBSection.cpp.

namespace {

constexpr int32_t kCannotCreateFile = 17;

void put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void put32(uint8_t* p, uint32_t v) {
    put16(p, v);
    put16(p + 2, v >> 16);
}

}  // namespace

bool cDIBSection::CopyToClipboard(bool bAsDIB) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) || !QGuiApplication::primaryScreen())
        return false;
    if (bAsDIB) {
        MessageBox::Show(QStringLiteral("I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!"),
                         MessageBox::OKOnly);
        return false;
    }
    if (m_bits.empty())
        return false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setImage(ToImage());
    return true;
}

void cDIBSection::CopyToPicture(QPaintDevice& toPic) const {
    if (m_bits.empty())
        return;
    {
        QPainter painter(&toPic);
        painter.drawImage(QRect(0, 0, toPic.width(), toPic.height()), ToImage());
    }
    if (auto* widget = dynamic_cast<QWidget*>(&toPic))
        widget->update();
}

void cDIBSection::CreateFromPicture(const QPixmap& picThis) { CreateFromHandle(picThis.toImage()); }

bool cDIBSection::SavePicture(const QString& sFileName) const {
    return WriteBitmapFile(DIBSectionBitsPtr(), sFileName);
}

bool cDIBSection::WriteBitmapFile(const uint8_t* bits, const QString& sFileName) const {
    // The file is overwritten in place and cut to length afterwards: truncating it to zero first makes the
    // file system flush the old blocks on close, which stalls every swatch render on the disk.
    const int fd = ::open(QFile::encodeName(sFileName).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    const int errorCode = errno;
    if (fd < 0)
        Err::Raise(kCannotCreateFile, App::EXEName() + QStringLiteral(".cDIBSection"), WinErrorText(errorCode));

    std::array<uint8_t, kFileHeaderSize> fileHeader{};
    fileHeader[0] = 'B';
    fileHeader[1] = 'M';
    put32(&fileHeader[2], static_cast<uint32_t>(m_imageSize + kHeadersSize));
    put32(&fileHeader[10], kHeadersSize);

    std::array<uint8_t, kInfoSize> info{};
    put32(&info[0], 40);
    put32(&info[4], static_cast<uint32_t>(m_width));
    put32(&info[8], static_cast<uint32_t>(m_height));
    put16(&info[12], 1);
    put16(&info[14], 24);
    put32(&info[20], static_cast<uint32_t>(m_imageSize));

    bool ok = !WriteFailed(::write(fd, fileHeader.data(), fileHeader.size()), fileHeader.size());
    ok = ok && !WriteFailed(::write(fd, info.data(), info.size()), info.size());
    // An empty bitmap has no pixels to write: the file keeps its headers and the save reports failure.
    ok = ok && bits &&
         !WriteFailed(::write(fd, bits, static_cast<size_t>(m_imageSize)), static_cast<size_t>(m_imageSize));
    const off_t written = bits ? static_cast<off_t>(kHeadersSize) + m_imageSize : static_cast<off_t>(kHeadersSize);
    if (::ftruncate(fd, written) != 0)
        ok = false;
    ::close(fd);
    return ok;
}

QString cDIBSection::WinErrorText(int errorCode) {
    const char* text = std::strerror(errorCode);
    return text ? QString::fromLocal8Bit(text) : QString();
}

bool cDIBSection::WriteFailed(long written, size_t requested) {
    return written < 0 || static_cast<size_t>(written) != requested;
}
