// libFuzzer target: arbitrary bytes as the catalogue file, through every read of the catalogue
// and a full scan of the games' table. Runs under AddressSanitizer and UBSan; a crash, a hang or a
// huge allocation, in our code or in libmdb, is a finding, and so is any text printed on the way
// (reads must be silent).
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueSchema.h"
#include "platform/jet/JetTableReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// The file the inputs are written to, removed when the fuzzer ends normally.
const QString& catalogueFile() {
    static const struct ScratchFile {
        QString path =
            QDir(QDir::tempPath())
                .filePath(QStringLiteral("fuzz-catalogue-%1.mdb").arg(QCoreApplication::applicationPid()));
        ~ScratchFile() { QFile::remove(path); }
    } file;
    return file.path;
}

// Catches what is printed through stdio's stderr (libmdb's warnings) while it exists. The
// sanitizers and libFuzzer report through their own channels, so a finding is still seen.
class StderrTrap {
public:
    StderrTrap()
        : m_saved(stderr)
        , m_trap(open_memstream(&m_text, &m_length)) {
        if (m_trap)
            stderr = m_trap;
    }
    ~StderrTrap() {
        stderr = m_saved;
        if (m_trap)
            std::fclose(m_trap);
        if (m_length > 0) {
            std::fprintf(stderr, "the catalogue reader printed: %.*s\n", int(m_length), m_text);
            std::abort();
        }
        std::free(m_text);
    }

private:
    std::FILE* m_saved;
    char* m_text = nullptr;
    std::size_t m_length = 0;
    std::FILE* m_trap;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QFile file(catalogueFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();

    const StderrTrap silence;
    namespace Schema = velmora::CatalogueSchema;
    QStringList everything;
    for (const Schema::Column& column : Schema::Columns)
        everything << column.name;
    velmora::jet::JetTableReader(catalogueFile(), Schema::Password)
        .read(Schema::Table, everything, [](const QVariantList&) { return true; });

    // The seeds' games have ids 1 to 8; let the input choose which one is looked up.
    const velmora::Catalogue catalogue(catalogueFile());
    const qint32 id = qint32(size % 8) + 1;
    catalogue.listCategory(1);
    catalogue.GetGameName(true, id);
    catalogue.gameInfo(id);
    return 0;
}
