#include "app/DocumentCheck.h"

#include "platform/App.h"
#include "platform/PictureReader.h"
#include "platform/PngFile.h"
#include "platform/RuntimeError.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <limits>
#include <string_view>
#include <vector>

namespace DocumentCheck {

namespace {

[[noreturn]] void reject(const QString& why) {
    Err::Raise(DamagedDocument, App::EXEName() + QStringLiteral(".DocumentCheck"), why);
}

// A whole decimal number as the program writes one: an optional "-" and ASCII digits, nothing around them.
// The reader's standard conversion would also take "2.5", "2e0", " 2", "+2" or "&H2" and round them; such a
// value was not written by this program, so it is refused like one out of range.
int32_t number(const pugi::xml_attribute& attribute, const QString& what) {
    if (!attribute)
        reject(QStringLiteral("def.xml has no %1.").arg(what));
    const std::string_view text = attribute.value();
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view digits = text.substr(negative ? 1 : 0);
    if (digits.empty())
        reject(QStringLiteral("The %1 in def.xml is not a whole number.").arg(what));
    int64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            reject(QStringLiteral("The %1 in def.xml is not a whole number.").arg(what));
        value = value * 10 + (c - '0');
        if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1)
            reject(QStringLiteral("The %1 in def.xml is out of range.").arg(what));
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int32_t>::max())
        reject(QStringLiteral("The %1 in def.xml is out of range.").arg(what));
    return static_cast<int32_t>(value);
}

void requireWithin(int32_t value, int32_t low, int32_t high, const QString& what) {
    if (value < low || value > high)
        reject(QStringLiteral("The %1 in def.xml is %2, not %3 to %4.").arg(what).arg(value).arg(low).arg(high));
}

// A plain file, not a link, a folder or a device.
bool isPlainFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && !info.isSymLink();
}

pugi::xml_document loadXml(const QString& path) {
    if (!isPlainFile(path))
        reject(QStringLiteral("The document has no def.xml."));
    QFile file(path);
    if (file.size() > MaxXmlBytes)
        reject(QStringLiteral("def.xml is larger than %1 bytes.").arg(MaxXmlBytes));
    if (!file.open(QIODevice::ReadOnly))
        reject(QStringLiteral("def.xml cannot be read."));
    const QByteArray bytes = file.read(MaxXmlBytes + 1);
    if (bytes.size() > MaxXmlBytes)
        reject(QStringLiteral("def.xml is larger than %1 bytes.").arg(MaxXmlBytes));

    pugi::xml_document doc;
    const pugi::xml_parse_result result = doc.load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()),
                                                          pugi::parse_default | pugi::parse_doctype);
    if (!result)
        reject(QStringLiteral("def.xml is not well-formed: %1.").arg(QString::fromUtf8(result.description())));
    for (const pugi::xml_node& child : doc.children())
        if (child.type() == pugi::node_doctype)
            reject(QStringLiteral("def.xml declares a DOCTYPE."));
    return doc;
}

// Walks the tree without recursion, so the depth is measured before anything deep is walked recursively.
void checkDepthAndTextures(const pugi::xml_node& root) {
    std::vector<std::pair<pugi::xml_node, int>> pending{{root, 1}};
    while (!pending.empty()) {
        const auto [node, depth] = pending.back();
        pending.pop_back();
        if (depth > MaxXmlDepth)
            reject(QStringLiteral("def.xml nests deeper than %1 elements.").arg(MaxXmlDepth));
        if (std::string_view(node.name()) == "Texture") {
            const QString path = QString::fromUtf8(node.attribute("path").value());
            if (path.contains(QLatin1Char('/')) || path.contains(QLatin1Char('\\')) || path == QLatin1String(".") ||
                path == QLatin1String(".."))
                reject(QStringLiteral("def.xml names the texture file \"%1\" outside the document.").arg(path));
        }
        for (const pugi::xml_node& child : node.children())
            if (child.type() == pugi::node_element)
                pending.emplace_back(child, depth + 1);
    }
}

uint32_t bigEndian(const uchar* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

}  // namespace

QImage DecodeStage(const QString& path) {
    if (!isPlainFile(path))
        reject(QStringLiteral("stage.png is not a plain file."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        reject(QStringLiteral("stage.png cannot be read."));

    // The PNG signature and its first chunk, IHDR, whose size must stay within the limits: a picture that
    // claims 60000 x 60000 is refused before anything tries to allocate it.
    const QByteArray head = file.peek(24);
    static const char signature[] = "\x89PNG\r\n\x1a\n";
    if (head.size() < 24 || !head.startsWith(QByteArray(signature, 8)) || head.mid(12, 4) != "IHDR" ||
        bigEndian(reinterpret_cast<const uchar*>(head.constData()) + 8) != 13)
        reject(QStringLiteral("stage.png is not a PNG picture."));
    const uint32_t width = bigEndian(reinterpret_cast<const uchar*>(head.constData()) + 16);
    const uint32_t height = bigEndian(reinterpret_cast<const uchar*>(head.constData()) + 20);
    if (width == 0 || height == 0 || width > MaxStageSide || height > MaxStageSide ||
        uint64_t{width} * height > static_cast<uint64_t>(MaxStagePixels))
        reject(QStringLiteral("stage.png declares %1 x %2 pixels, more than allowed.").arg(width).arg(height));

    // The stage's own PNG decodes on all cores; any other, or one whose bands do not check out, is decoded
    // the ordinary way below, which finds whatever damage the parallel decode refused.
    const QImage banded = PngFile::ReadBanded(file);
    if (!banded.isNull())
        return banded;

    // Qt hands back the rows it got from a picture cut short or damaged, but then reports the read as failed.
    QImageReader reader(&file, "png");
    reader.setDecideFormatFromContent(false);
    reader.setAllocationLimit(PictureReader::AllocationLimitMB);
    QImage picture;
    if (!reader.read(&picture) || picture.isNull() || picture.width() != static_cast<int>(width) ||
        picture.height() != static_cast<int>(height))
        reject(QStringLiteral("stage.png does not decode: %1.").arg(reader.errorString()));
    return picture;
}

CheckedDocument Verify(const QString& documentFolder) {
    const QString folder =
        documentFolder.endsWith(QLatin1Char('/')) ? documentFolder : documentFolder + QLatin1Char('/');
    CheckedDocument checked;
    checked.definition = loadXml(folder + QStringLiteral("def.xml"));
    const pugi::xml_node root = checked.definition.document_element();
    if (std::string_view(root.name()) != "Root")
        reject(QStringLiteral("def.xml has no Root element."));
    checkDepthAndTextures(root);

    // Root's attributes are read by position: the proofer count, the strip count, then the texture name.
    const pugi::xml_attribute proofers = root.first_attribute();
    const pugi::xml_attribute holders = proofers ? proofers.next_attribute() : pugi::xml_attribute();
    requireWithin(number(proofers, QStringLiteral("proofer count")), MinProofers, MaxProofers,
                  QStringLiteral("proofer count"));
    requireWithin(number(holders, QStringLiteral("strip count")), MinHolders, MaxHolders,
                  QStringLiteral("strip count"));

    // Main's attributes are read by name, and only when Main is there.
    if (const pugi::xml_node main = root.child("Main")) {
        requireWithin(number(main.attribute("rangetype"), QStringLiteral("colour range")), MinRangeType, MaxRangeType,
                      QStringLiteral("colour range"));
        for (const char* name : {"topred", "topgreen", "topblue"})
            number(main.attribute(name), QStringLiteral("top colour value %1").arg(QLatin1String(name)));
    }

    // No stage picture: the reader clears the stage.
    const QString stage = folder + QStringLiteral("stage.png");
    if (QFileInfo::exists(stage) || QFileInfo(stage).isSymLink())
        checked.stage = DecodeStage(stage);
    return checked;
}

}  // namespace DocumentCheck
