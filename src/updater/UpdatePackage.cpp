#include "updater/UpdatePackage.h"

#include "common/SignedFile.h"

#include <QtEndian>

namespace velmora::UpdatePackage {

namespace {

constexpr char Magic[] = "VMUPDAT1";
constexpr qsizetype MagicSize = sizeof(Magic) - 1;
constexpr qsizetype FooterSize = 8 + MagicSize;

} // namespace

QByteArray assemble(const QByteArray& updater, const QByteArray& archive) {
    QByteArray offset(8, Qt::Uninitialized);
    qToLittleEndian(static_cast<quint64>(updater.size()), offset.data());
    return updater + archive + offset + QByteArray(Magic, MagicSize);
}

std::optional<QByteArray> archiveOf(const QByteArray& signedPackage) {
    const qsizetype payloadSize = signedPackage.size() - SignedFile::TrailerSize;
    if (payloadSize < FooterSize)
        return std::nullopt;
    const QByteArray footer = signedPackage.sliced(payloadSize - FooterSize, FooterSize);
    if (footer.sliced(8) != QByteArray(Magic, MagicSize))
        return std::nullopt;
    const quint64 offset = qFromLittleEndian<quint64>(footer.constData());
    const auto archiveEnd = static_cast<quint64>(payloadSize - FooterSize);
    if (offset > archiveEnd)
        return std::nullopt;
    return signedPackage.sliced(static_cast<qsizetype>(offset), static_cast<qsizetype>(archiveEnd - offset));
}

} // namespace velmora::UpdatePackage
