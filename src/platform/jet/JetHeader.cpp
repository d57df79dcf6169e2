#include "platform/jet/JetHeader.h"

#include <QtEndian>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace velmora::jet {

namespace {

// XORs the RC4 key stream of a 4-byte key over data; doing it twice restores the data.
void xorRc4Stream(const std::array<std::uint8_t, 4>& key, char* data, qsizetype length) {
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

std::array<std::uint8_t, 4> littleEndianBytes(std::uint32_t u) {
    return {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
            static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
}

std::array<std::uint8_t, MaskedLength> headerKeyStream() {
    // RC4 with the fixed key C7 DA 39 6B.
    std::array<std::uint8_t, MaskedLength> stream{};
    xorRc4Stream({0xC7, 0xDA, 0x39, 0x6B}, reinterpret_cast<char*>(stream.data()), MaskedLength);
    return stream;
}

const std::array<std::uint8_t, MaskedLength>& keyStream() {
    static const auto stream = headerKeyStream();
    return stream;
}

// The low 32 bits of the whole days of the creation date, as the engine takes them. A corrupt
// date (NaN, out of range) must not be converted with a plain cast, which is undefined.
std::array<std::uint8_t, 4> dateMask(const char* unmaskedPage0) {
    double date = 0;
    std::memcpy(&date, unmaskedPage0 + CreationDateOffset, sizeof date);
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
    return littleEndianBytes(static_cast<std::uint32_t>(days));
}

// The start of page 0 up to the end of the masked region, unmasked; nothing unless page0 is the
// header page of a Jet 4 database.
std::optional<QByteArray> unmaskedJet4Header(QByteArrayView page0) {
    if (page0.size() < MaskedOffset + MaskedLength || page0[0] != 0 || page0[VersionOffset] != Jet4Version)
        return std::nullopt;
    QByteArray header = page0.first(MaskedOffset + MaskedLength).toByteArray();
    toggleHeaderMask(header);
    return header;
}

} // namespace

void toggleHeaderMask(QByteArray& page0) {
    if (page0.size() < MaskedOffset + MaskedLength)
        return;
    const auto& stream = keyStream();
    for (int i = 0; i < MaskedLength; ++i)
        page0[MaskedOffset + i] = static_cast<char>(page0[MaskedOffset + i] ^ stream[i]);
}

std::optional<QString> readDatabasePassword(QByteArrayView page0) {
    const auto header = unmaskedJet4Header(page0);
    if (!header)
        return std::nullopt;
    const auto mask = dateMask(header->constData());
    char16_t text[PasswordLength / 2 + 1] = {};
    int length = 0;
    for (; length < PasswordLength / 2; ++length) {
        const int at = PasswordOffset + 2 * length;
        const auto lo = static_cast<std::uint8_t>((*header)[at] ^ mask[(2 * length) % 4]);
        const auto hi = static_cast<std::uint8_t>((*header)[at + 1] ^ mask[(2 * length + 1) % 4]);
        text[length] = static_cast<char16_t>(lo | (hi << 8));
        if (text[length] == 0)
            break;
    }
    return QString::fromUtf16(text, length);
}

std::optional<quint32> readEncodingKey(QByteArrayView page0) {
    const auto header = unmaskedJet4Header(page0);
    if (!header)
        return std::nullopt;
    return qFromLittleEndian<quint32>(header->constData() + EncodingKeyOffset);
}

void writeEncodingKey(QByteArray& page0, quint32 key) {
    if (page0.size() < MaskedOffset + MaskedLength)
        return;
    toggleHeaderMask(page0);
    qToLittleEndian(key, page0.data() + EncodingKeyOffset);
    toggleHeaderMask(page0);
}

void togglePageEncryption(char* page, quint32 number, quint32 encodingKey) {
    xorRc4Stream(littleEndianBytes(encodingKey ^ number), page, PageSize);
}

void writeDatabasePassword(QByteArray& unmaskedPage0, const QString& password) {
    if (unmaskedPage0.size() < MaskedOffset + MaskedLength)
        return;
    const auto mask = dateMask(unmaskedPage0.constData());
    const QString text = password.left(PasswordLength / 2);
    for (int i = 0; i < PasswordLength; ++i) {
        const int unit = i / 2;
        const char16_t c = unit < text.size() ? text[unit].unicode() : 0;
        const auto byte = static_cast<std::uint8_t>(i % 2 == 0 ? c & 0xFF : c >> 8);
        unmaskedPage0[PasswordOffset + i] = static_cast<char>(byte ^ mask[i % 4]);
    }
}

} // namespace velmora::jet
