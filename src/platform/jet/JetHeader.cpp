#include "platform/jet/JetHeader.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace velmora::jet {

namespace {

constexpr int MaskedEnd = HeaderPage::MaskedStart + HeaderPage::MaskedLength;

// XORs the RC4 key stream of a 4-byte key over data; doing it twice restores the data.
void xorRc4Stream(const std::array<quint8, 4>& key, char* data, qsizetype length) {
    std::array<std::uint8_t, 256> s{};
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<std::uint8_t>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % 4]) & 0xFF;
        std::swap(s[i], s[j]);
    }
    for (qsizetype n = 0, i = 0, j = 0; n < length; ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[i]) & 0xFF;
        std::swap(s[i], s[j]);
        data[n] = static_cast<char>(data[n] ^ s[(s[i] + s[j]) & 0xFF]);
    }
}

std::array<quint8, 4> littleEndianBytes(quint32 u) {
    return {quint8(u), quint8(u >> 8), quint8(u >> 16), quint8(u >> 24)};
}

using MaskStream = std::array<char, HeaderPage::MaskedLength>;

MaskStream headerKeyStream() {
    MaskStream stream{};
    xorRc4Stream(HeaderPage::MaskKey, stream.data(), HeaderPage::MaskedLength);
    return stream;
}

const MaskStream& keyStream() {
    static const auto stream = headerKeyStream();
    return stream;
}

// The low 32 bits of the whole days of the creation date, as the engine takes them. A corrupt
// date (NaN, out of range) must not be converted with a plain cast, which is undefined.
std::array<quint8, 4> dateMask(QByteArrayView unmaskedPage0) {
    const auto date = std::bit_cast<double>(readU64(unmaskedPage0, HeaderPage::CreationDate));
    std::int32_t days = 0;
    if (std::isfinite(date)) {
        const double t = std::trunc(date);
        if (t >= std::numeric_limits<std::int32_t>::max())
            days = std::numeric_limits<std::int32_t>::max();
        else if (t <= std::numeric_limits<std::int32_t>::min())
            days = std::numeric_limits<std::int32_t>::min();
        else
            days = static_cast<std::int32_t>(t);
    }
    return littleEndianBytes(quint32(days));
}

// The start of page 0 up to the end of the masked region, unmasked; nothing unless page0 is the
// header page of a Jet 4 database.
std::optional<QByteArray> unmaskedJet4Header(QByteArrayView page0) {
    if (page0.size() < MaskedEnd || page0[0] != 0 || page0[HeaderPage::Version] != HeaderPage::Jet4)
        return std::nullopt;
    QByteArray header = page0.first(MaskedEnd).toByteArray();
    toggleHeaderMask(header);
    return header;
}

} // namespace

void toggleHeaderMask(QByteArray& page0) {
    if (page0.size() < MaskedEnd)
        return;
    const MaskStream& stream = keyStream();
    for (int i = 0; i < HeaderPage::MaskedLength; ++i)
        page0[HeaderPage::MaskedStart + i] = char(page0[HeaderPage::MaskedStart + i] ^ stream[i]);
}

std::optional<QString> readDatabasePassword(QByteArrayView page0) {
    const auto header = unmaskedJet4Header(page0);
    if (!header)
        return std::nullopt;
    const auto mask = dateMask(*header);
    char16_t text[HeaderPage::MaxPasswordCharacters + 1] = {};
    int length = 0;
    for (; length < HeaderPage::MaxPasswordCharacters; ++length) {
        const int at = HeaderPage::Password + 2 * length;
        const auto lo = quint8((*header)[at] ^ mask[(2 * length) % 4]);
        const auto hi = quint8((*header)[at + 1] ^ mask[(2 * length + 1) % 4]);
        text[length] = char16_t(lo | (hi << 8));
        if (text[length] == 0)
            break;
    }
    return QString::fromUtf16(text, length);
}

std::optional<quint32> readEncodingKey(QByteArrayView page0) {
    const auto header = unmaskedJet4Header(page0);
    if (!header)
        return std::nullopt;
    return readU32(*header, HeaderPage::EncodingKey);
}

void writeEncodingKey(QByteArray& page0, quint32 key) {
    if (page0.size() < MaskedEnd)
        return;
    toggleHeaderMask(page0);
    writeU32(page0, HeaderPage::EncodingKey, key);
    toggleHeaderMask(page0);
}

void togglePageEncryption(char* page, quint32 number, quint32 encodingKey) {
    xorRc4Stream(littleEndianBytes(encodingKey ^ number), page, PageSize);
}

void writeDatabasePassword(QByteArray& unmaskedPage0, const QString& password) {
    if (unmaskedPage0.size() < MaskedEnd)
        return;
    const auto mask = dateMask(unmaskedPage0);
    const QString text = password.left(HeaderPage::MaxPasswordCharacters);
    for (int i = 0; i < HeaderPage::PasswordLength; ++i) {
        const int unit = i / 2;
        const char16_t c = unit < text.size() ? text[unit].unicode() : 0;
        const auto byte = quint8(i % 2 == 0 ? c & 0xFF : c >> 8);
        unmaskedPage0[HeaderPage::Password + i] = char(byte ^ mask[i % 4]);
    }
}

} // namespace velmora::jet
