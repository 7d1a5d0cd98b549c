// Seeded mutation fuzzing of the document reader: unpacking an archive and checking the unpacked document.
// It makes its own valid documents, mutates them for a bounded time and stops the process on any fault:
// an exception other than the reader's own errors, a file written outside the unpack folder, a document
// accepted with a value the reader cannot convert or a stage picture it did not decode, or (under the
// sanitizers) any memory or undefined-behaviour report. The input being run is always in <work>/input.tnd,
// so a crash leaves its input behind.
//
//   ArchiveFuzz [--seconds N] [--seed S] [--work DIR]

#include "app/DocumentCheck.h"
#include "platform/Numeric.h"
#include "platform/RuntimeError.h"
#include "services/DocumentArchive.h"

#include "FuzzRun.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>
#include <zlib.h>

namespace {

using Bytes = std::string;

Bytes readFile(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll().toStdString();
}

void writeFile(const QString& path, const Bytes& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(2);
    }
}

Bytes png(int width, int height, QRgb colour, bool noisy = false) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    // Noise makes image data of some kilobytes, long enough to be cut or damaged in their middle.
    std::mt19937 engine(3);
    for (int y = 0; noisy && y < height; ++y)
        for (int x = 0; x < width; ++x) image.setPixel(x, y, static_cast<QRgb>(engine()) | 0xFF000000u);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

Bytes defXml(int proofers, int holders) {
    Bytes xml = "<Root Proofers='" + std::to_string(proofers) + "' Holders='" + std::to_string(holders) +
                "' CurrentTexture='  No Texture'><Main rangetype='15410' isudc='1' topred='255' topgreen='12' "
                "topblue='0'/><Holders>";
    for (int i = 0; i < proofers; ++i)
        xml += "<Panel style='1' candel='0' fixed='0'><Color rt='15410' r='" + std::to_string(i * 30) +
               "' g='4' b='5'><Texture id='3' type='2' name='sea' path='DPicsSea.png' internal='0'/></Color></Panel>";
    xml +=
        "</Holders><History><History id='0'><Notes>a note &amp; more</Notes></History></History>"
        "<Match><Colors back='16777215'/></Match></Root>";
    return xml;
}

struct Document {
    Bytes xml;
    Bytes stage;
    Bytes texture;
};

class Fuzzer {
public:
    Fuzzer(const QString& work, uint64_t seed) : m_work(work), m_random(seed) {
        m_documents = {{defXml(3, 2), png(32, 24, 0xff336699), png(4, 4, 0xffff0000)},
                       {defXml(8, 6), png(3, 2, 0xff000000), {}},
                       {defXml(1, 1), {}, {}},
                       {defXml(2, 1), png(48, 32, 0xff000000, true), {}}};
        for (const Document& document : m_documents) m_archives.push_back(pack(document));
    }

    void RunFor(std::chrono::seconds duration) {
        const auto end = std::chrono::steady_clock::now() + duration;
        while (std::chrono::steady_clock::now() < end) {
            for (int i = 0; i < 20; ++i) step();
        }
        std::printf("ArchiveFuzz: %llu inputs, %llu unpacked, %llu accepted\n", static_cast<unsigned long long>(m_runs),
                    static_cast<unsigned long long>(m_unpacked), static_cast<unsigned long long>(m_accepted));
    }

private:
    QString path(const char* name) const { return m_work + QLatin1Char('/') + QLatin1String(name); }

    Bytes pack(const Document& document) {
        const QString folder = path("pack");
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        writeFile(folder + "/def.xml", document.xml);
        if (!document.stage.empty())
            writeFile(folder + "/stage.png", document.stage);
        if (!document.texture.empty())
            writeFile(folder + "/DPicsSea.png", document.texture);
        DocumentArchive::Pack(folder, path("packed.tnd"));
        return readFile(path("packed.tnd"));
    }

    // The folder kept between runs and emptied of files: making and removing a folder per run costs more
    // than the run itself on some file systems.
    QString emptyFolder(const char* name) const {
        const QString folder = path(name);
        QDir dir(folder);
        if (!dir.exists())
            QDir().mkpath(folder);
        for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) dir.remove(entry);
        return folder;
    }

    size_t below(size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(m_random); }

    void mutate(Bytes& bytes) {
        const int rounds = 1 + static_cast<int>(below(4));
        for (int r = 0; r < rounds; ++r) {
            const size_t at = below(bytes.size() + 1);
            switch (below(8)) {
                case 0:
                    if (at < bytes.size())
                        bytes[at] = static_cast<char>(bytes[at] ^ (1 << below(8)));
                    break;
                case 1:
                    if (at < bytes.size())
                        bytes[at] = static_cast<char>(below(256));
                    break;
                case 2: bytes.insert(at, 1 + below(16), static_cast<char>(below(256))); break;
                case 3: bytes.erase(at, 1 + below(32)); break;
                case 4: {  // a boundary value over four bytes: sizes, offsets and counts are 32-bit fields
                    static const uint32_t values[] = {0, 1, 0x7F, 0x80, 0xFF, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFF, 60000};
                    const uint32_t v = values[below(std::size(values))];
                    for (int k = 0; k < 4 && at + k < bytes.size(); ++k)
                        bytes[at + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
                    break;
                }
                case 5:  // copy a chunk elsewhere
                    if (!bytes.empty()) {
                        const size_t from = below(bytes.size());
                        bytes.insert(at, bytes.substr(from, 1 + below(64)));
                    }
                    break;
                case 6: bytes.resize(at); break;
                default: {  // splice in part of another seed
                    const Bytes& other = m_archives[below(m_archives.size())];
                    const size_t from = below(other.size());
                    bytes.replace(at, below(64), other.substr(from, 1 + below(128)));
                    break;
                }
            }
        }
    }

    // Damage that keeps the PNG header whole, so only a full decode finds it: the file cut inside or after its
    // image data, or bytes of the image data changed behind a checksum made to match again.
    void damageStage(Bytes& stage) {
        const size_t data = stage.find("IDAT");
        if (data == Bytes::npos || data + 8 > stage.size())
            return;
        const size_t length = (size_t{static_cast<uint8_t>(stage[data - 4])} << 24) |
                              (size_t{static_cast<uint8_t>(stage[data - 3])} << 16) |
                              (size_t{static_cast<uint8_t>(stage[data - 2])} << 8) |
                              size_t{static_cast<uint8_t>(stage[data - 1])};
        if (below(2) == 0) {
            stage.resize(data + 4 + below(stage.size() - data - 4));
            return;
        }
        if (data + 8 + length > stage.size() || length == 0)
            return;
        const int bytes = 1 + static_cast<int>(below(8));
        for (int k = 0; k < bytes; ++k) stage[data + 4 + below(length)] = static_cast<char>(below(256));
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(stage.data() + data), static_cast<uInt>(length + 4));
        for (int k = 0; k < 4; ++k) stage[data + 4 + length + k] = static_cast<char>((crc >> (24 - 8 * k)) & 0xFF);
    }

    void mutateText(Bytes& xml) {
        // Numbers that are not whole decimal numbers, which the standard conversion would still read.
        static const char* pieces[] = {
            "<",  ">",   "/>",  "&",  "&amp;", "'",   "=",    "<!DOCTYPE R>",  "0",        "9",
            "-1", "1e9", "../", "\\", "Root",  "<a>", "</a>", "<![CDATA[x]]>", "<?pi x?>", "<!-- -->",
            ".5", ",5",  "e0",  " ",  "+",     "&H",  "2.5",  "\xef\xbc\x92"};
        const int rounds = 1 + static_cast<int>(below(4));
        for (int r = 0; r < rounds; ++r) {
            const size_t at = below(xml.size() + 1);
            if (below(2) == 0)
                xml.insert(at, pieces[below(std::size(pieces))]);
            else
                xml.erase(at, 1 + below(8));
        }
    }

    void step() {
        if (below(3) == 0) {
            // Damaged contents in a sound archive: straight into the folder, since packing them again would
            // only flush the same bytes to disk each time.
            Document document = m_documents[below(m_documents.size())];
            mutateText(document.xml);
            if (!document.stage.empty() && below(2) == 0) {
                if (below(2) == 0)
                    damageStage(document.stage);
                else
                    mutate(document.stage);
            }
            check(document);
            return;
        }
        Bytes input = m_archives[below(m_archives.size())];
        mutate(input);
        run(input);
    }

    void check(const Document& document) {
        ++m_runs;
        const QString folder = emptyFolder("unpacked");
        writeFile(folder + "/def.xml", document.xml);
        if (!document.stage.empty())
            writeFile(folder + "/stage.png", document.stage);
        try {
            expectReadable(DocumentCheck::Verify(folder), !document.stage.empty());
            ++m_accepted;
        } catch (const RuntimeError&) {
        } catch (const std::exception& e) {
            fail(std::string("unexpected exception: ") + e.what());
        }
    }

    // What the check accepts the reader takes without a failure: every number it converts, and the stage
    // picture whole when the document has one.
    void expectReadable(const DocumentCheck::CheckedDocument& checked, bool hasStage) {
        const pugi::xml_node root = checked.definition.document_element();
        std::vector<pugi::xml_attribute> numbers{root.first_attribute(), root.first_attribute().next_attribute()};
        if (const pugi::xml_node main = root.child("Main"))
            for (const char* name : {"rangetype", "topred", "topgreen", "topblue"})
                numbers.push_back(main.attribute(name));
        for (const pugi::xml_attribute& number : numbers) {
            try {
                Numeric::ToLong(QString::fromUtf8(number.value()));
            } catch (const RuntimeError&) {
                fail(std::string("accepted a number the reader cannot convert: \"") + number.value() + "\"");
            }
        }
        if (hasStage && checked.stage.isNull())
            fail("accepted a stage picture without decoding it");
    }

    void run(const Bytes& input) {
        ++m_runs;
        const QString inputPath = path("input.tnd");
        writeFile(inputPath, input);
        const QString folder = emptyFolder("unpacked");
        try {
            DocumentArchive::Unpack(inputPath, folder);
            ++m_unpacked;
            expectReadable(DocumentCheck::Verify(folder), QFileInfo::exists(folder + "/stage.png"));
            ++m_accepted;
        } catch (const RuntimeError&) {
        } catch (const std::exception& e) {
            fail(std::string("unexpected exception: ") + e.what());
        } catch (...) {
            fail("unexpected exception");
        }
        const QStringList outside = QDir(m_work).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString& name : outside)
            if (name != "input.tnd" && name != "unpacked" && name != "pack" && name != "packed.tnd")
                fail("a file was written outside the unpack folder: " + name.toStdString());
        const QStringList inside = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString& name : inside)
            if (!QFileInfo(folder + "/" + name).isFile() || QFileInfo(folder + "/" + name).isSymLink())
                fail("the unpack folder holds something that is not a plain file: " + name.toStdString());
    }

    [[noreturn]] void fail(const std::string& what) {
        std::fprintf(stderr, "ArchiveFuzz: %s\nThe input is kept in %s\n", what.c_str(), qPrintable(path("input.tnd")));
        std::abort();
    }

    QString m_work;
    std::mt19937_64 m_random;
    std::vector<Document> m_documents;
    std::vector<Bytes> m_archives;
    uint64_t m_runs = 0;
    uint64_t m_unpacked = 0;
    uint64_t m_accepted = 0;
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication app(argc, argv);
    const FuzzRun run("ArchiveFuzz", app.arguments());
    Fuzzer fuzzer(run.work, run.seed);
    fuzzer.RunFor(std::chrono::seconds(run.seconds));
    return 0;
}
