#include "updater/PackageArchive.h"

#include "common/FileHelpers.h"
#include "common/InstallPaths.h"
#include "common/NativeFileName.h"
#include "updater/FileDigest.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <archive.h>
#include <archive_entry.h>

#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::PackageArchive {

namespace {

struct ReaderFree {
    void operator()(archive* reader) const { archive_read_free(reader); }
};
struct WriterFree {
    void operator()(archive* writer) const { archive_write_free(writer); }
};
struct EntryFree {
    void operator()(archive_entry* entry) const { archive_entry_free(entry); }
};

la_ssize_t appendTo(archive*, void* out, const void* buffer, size_t length) {
    static_cast<QByteArray*>(out)->append(static_cast<const char*>(buffer), static_cast<qsizetype>(length));
    return static_cast<la_ssize_t>(length);
}

bool addFile(archive* writer, const QString& path, const QString& relative, mode_t mode) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray content = file.readAll();
    const std::unique_ptr<archive_entry, EntryFree> entry(archive_entry_new());
    archive_entry_copy_pathname(entry.get(), QFile::encodeName(relative).constData());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), mode & 0777);
    archive_entry_set_size(entry.get(), content.size());
    return archive_write_header(writer, entry.get()) == ARCHIVE_OK &&
           archive_write_data(writer, content.constData(), static_cast<size_t>(content.size())) ==
               content.size();
}

// The path inside the program folder that an entry names, or nothing when it may not be there.
std::optional<QString> placeOf(QByteArray name) {
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20)
            return std::nullopt;
    }
    while (name.startsWith("./"))
        name.remove(0, 2);
    if (name.endsWith('/'))
        name.chop(1);
    if (name.startsWith('/'))
        return std::nullopt;
    if (name.isEmpty() || name == ".")
        return QString();
    for (const QByteArray& part : name.split('/')) {
        if (part.isEmpty() || part == "." || part == "..")
            return std::nullopt;
    }
    const QString path = NativeFileName::fromBytes(name);
    if (InstallPaths::isUserData(path))
        return std::nullopt;
    return path;
}

std::optional<QString> writeEntry(archive* reader, archive_entry* entry, const QString& target) {
    if (!QDir().mkpath(target.section(u'/', 0, -2)))
        return QStringLiteral("无法建立文件夹");
    const int handle =
        ::open(NativeFileName::toBytes(target).constData(),
               O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, archive_entry_perm(entry) & 0777);
    if (handle < 0)
        return errno == EEXIST ? QStringLiteral("文件重复") : QStringLiteral("无法写入");
    std::optional<QString> problem;
    char buffer[1 << 16];
    la_int64_t written = 0;
    for (;;) {
        const la_ssize_t got = archive_read_data(reader, buffer, sizeof buffer);
        if (got < 0) {
            problem =
                QStringLiteral("程序文件包已损坏：") + QString::fromLocal8Bit(archive_error_string(reader));
            break;
        }
        if (got == 0)
            break;
        if (::write(handle, buffer, static_cast<size_t>(got)) != got) {
            problem = QStringLiteral("无法写入");
            break;
        }
        written += got;
    }
    if (!problem && archive_entry_size_is_set(entry) && written != archive_entry_size(entry))
        problem = QStringLiteral("程序文件包已损坏");
    if (!problem && ::fsync(handle) != 0)
        problem = QStringLiteral("无法写入");
    ::close(handle);
    return problem;
}

bool syncFolders(const QString& root) {
    QDirIterator folders(root, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                         QDirIterator::Subdirectories);
    while (folders.hasNext()) {
        if (!syncFolder(folders.next()))
            return false;
    }
    return syncFolder(root) && syncFolder(root.section(u'/', 0, -2));
}

} // namespace

Packed pack(const QString& folder) {
    Packed packed;
    const std::unique_ptr<archive, WriterFree> writer(archive_write_new());
    // GNU tar keeps names as the bytes they are on disk, whatever the locale.
    if (archive_write_add_filter_gzip(writer.get()) != ARCHIVE_OK ||
        archive_write_set_format_gnutar(writer.get()) != ARCHIVE_OK ||
        archive_write_open(writer.get(), &packed.archive, nullptr, appendTo, nullptr) != ARCHIVE_OK)
        return {{}, QString::fromLocal8Bit(archive_error_string(writer.get()))};
    const QDir root(QFileInfo(folder).absoluteFilePath());
    QDirIterator files(root.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                       QDirIterator::Subdirectories);
    QStringList relatives;
    while (files.hasNext())
        relatives.append(root.relativeFilePath(files.next()));
    relatives.sort();
    for (const QString& relative : relatives) {
        if (InstallPaths::isUserData(relative))
            continue;
        const QString path = root.filePath(relative);
        struct stat status {};
        if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
            return {{}, QStringLiteral("cannot read ") + path};
        if (S_ISDIR(status.st_mode))
            continue;
        if (!S_ISREG(status.st_mode))
            return {{}, path + QStringLiteral(" is a link or a special file, which an update may not hold")};
        if (!addFile(writer.get(), path, relative, status.st_mode))
            return {{}, QStringLiteral("cannot pack ") + path};
    }
    if (archive_write_close(writer.get()) != ARCHIVE_OK)
        return {{}, QString::fromLocal8Bit(archive_error_string(writer.get()))};
    return packed;
}

Unpacked unpack(const QByteArray& archiveBytes, const QString& staging,
                const std::function<void()>& afterStep) {
    const std::unique_ptr<archive, ReaderFree> reader(archive_read_new());
    archive_read_support_filter_gzip(reader.get());
    archive_read_support_format_tar(reader.get());
    if (archive_read_open_memory(reader.get(), archiveBytes.constData(),
                                 static_cast<size_t>(archiveBytes.size())) != ARCHIVE_OK ||
        !QDir().mkpath(staging))
        return {{}, QStringLiteral("程序文件包无法读取")};
    Unpacked unpacked;
    archive_entry* entry = nullptr;
    int status = ARCHIVE_OK;
    while ((status = archive_read_next_header(reader.get(), &entry)) == ARCHIVE_OK) {
        const QByteArray name = archive_entry_pathname(entry);
        const std::optional<QString> place = placeOf(name);
        if (!place)
            return {{},
                    QStringLiteral("程序文件包中的 ") + NativeFileName::fromBytes(name) +
                        QStringLiteral(" 不能写入")};
        const mode_t type = archive_entry_filetype(entry);
        if (archive_entry_hardlink(entry) || (type != AE_IFREG && type != AE_IFDIR))
            return {{}, QStringLiteral("程序文件包中的 ") + *place + QStringLiteral(" 是链接或特殊文件")};
        const QString target = staging + u'/' + *place;
        if (type == AE_IFDIR) {
            if (!QDir().mkpath(target))
                return {{}, QStringLiteral("无法建立文件夹 ") + target};
            continue;
        }
        if (const auto problem = writeEntry(reader.get(), entry, target))
            return {{}, *problem + QStringLiteral("：") + *place};
        const auto digest = FileDigest::of(target);
        if (!digest)
            return {{}, QStringLiteral("无法读取 ") + target};
        unpacked.files.append({*place, digest->size, digest->sha256, false});
        if (afterStep)
            afterStep();
    }
    if (status != ARCHIVE_EOF)
        return {{},
                QStringLiteral("程序文件包已损坏：") +
                    QString::fromLocal8Bit(archive_error_string(reader.get()))};
    if (!syncFolders(staging))
        return {{}, QStringLiteral("无法写入 ") + staging};
    return unpacked;
}

} // namespace velmora::PackageArchive
