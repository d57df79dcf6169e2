#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <array>
#include <bit>

// The Jet 4.0 database format, as far as the catalogue's reader and its writer use it: the
// offsets, sizes and codes of its structures, and the byte helpers both sides share. Offsets
// count bytes from the start of the structure they belong to.
namespace velmora::jet {

inline constexpr int PageSize = 4096;

// A Jet 4 file holds at most 2 GB.
inline constexpr quint32 MaxPages = 0x80000000u / PageSize;

// The first byte of every page after page 0.
namespace PageType {
inline constexpr char Data = 0x01;
inline constexpr char TableDefinition = 0x02;
inline constexpr char UsageBitmap = 0x05;
} // namespace PageType

// Pages whose place is fixed in every database.
inline constexpr quint32 GlobalUsageMapPage = 1;
inline constexpr quint32 CatalogDefinitionPage = 2; // the system catalog, MSysObjects

// Column type codes.
enum class ColumnType : int {
    Byte = 0x02,
    Int = 0x03,
    Long = 0x04,
    Float = 0x06,
    Double = 0x07,
    DateTime = 0x08,
    Binary = 0x09,
    Text = 0x0A,
    Ole = 0x0B,
    Memo = 0x0C,
};

// The collation of text columns and of the database: "General".
inline constexpr quint16 GeneralSortOrder = 0x0409;

// Page 0. A region of it is masked: XORed with the RC4 key stream of MaskKey. Inside that
// region the database password is XORed once more, with the low 32 bits of the whole days of
// the creation date (little endian, repeated).
namespace HeaderPage {
inline constexpr int EngineName = 0x04;
inline constexpr int Version = 0x14;
inline constexpr char Jet4 = 1;
inline constexpr int MaskedStart = 0x18;
inline constexpr int MaskedLength = 128;
inline constexpr std::array<quint8, 4> MaskKey{0xC7, 0xDA, 0x39, 0x6B};
inline constexpr int CodePage = 0x3C;
// Pages after page 0 are RC4-encrypted with this key XOR the page number; 0 when they are plain.
inline constexpr int EncodingKey = 0x3E;
inline constexpr int Password = 0x42;
inline constexpr int PasswordLength = 40; // bytes: 20 UCS-2 characters
inline constexpr int MaxPasswordCharacters = PasswordLength / 2;
inline constexpr int SortOrder = 0x6E;
inline constexpr int CreationDate = 0x72; // a double, days since 1899-12-30
inline constexpr int VersionText = 0x98;
inline constexpr int PagePairs = 0xE00;
inline constexpr int PagePairsLength = 512;
} // namespace HeaderPage

// Data pages: rows packed downwards from the end of the page, their start offsets in the row
// table after the header. A row ends where the row before it starts (row 0 at the page end).
namespace DataPage {
inline constexpr int FreeSpace = 2;
inline constexpr int Owner = 4; // the owning table's definition page, or LongValueOwner
inline constexpr int RowCount = 12;
inline constexpr int RowTable = 14; // also the length of the header
inline constexpr int MaxRows = 255;
// The longest row an empty page takes: all but the header and one row table entry.
inline constexpr int MaxRowLength = PageSize - RowTable - 2;
// A row table entry: the offset in the low bits, flags above.
inline constexpr quint16 RowOffsetMask = 0x1FFF;
// Deleted rows and pointers to rows moved elsewhere; a table scan skips them.
inline constexpr quint16 SkippedRowFlag = 0x4000;
// The owner of the pages that hold long values: "LVAL".
inline constexpr quint32 LongValueOwner = 0x4C41564C;
} // namespace DataPage

// A row pointer names a row on a data page: the page number above the row's index.
constexpr quint32 rowPointer(quint32 page, int row) {
    return page << 8 | quint32(row);
}
constexpr quint32 pageOf(quint32 pointer) {
    return pointer >> 8;
}
constexpr int rowOf(quint32 pointer) {
    return int(pointer & 0xFF);
}

// A row: its number of columns, the fixed-length values, the variable-length values; then, read
// from the end backwards, the null mask (a bit per column, set when the value is not Null), the
// number of variable-length columns, their start offsets from the last one to the first, and
// the end offset of the variable-length data. Numbers and offsets are 16 bits.
namespace Row {
inline constexpr int ColumnCount = 0;
inline constexpr int FixedData = 2;
constexpr int nullMaskLength(int columns) {
    return (columns + 7) / 8;
}
} // namespace Row

// Table definition pages. Each page begins with a header of HeaderLength bytes; a definition
// longer than a page goes on after the header of the next page of a chain.
namespace TableDefinition {
inline constexpr int FreeSpace = 2;
inline constexpr int NextPage = 4; // the next page of the chain; 0 on the last
inline constexpr int HeaderLength = 8;
inline constexpr int Length = 8; // of the whole definition, in bytes
inline constexpr int Magic = 12;
inline constexpr quint32 MagicValue = 1625;
inline constexpr int RowCount = 16;
inline constexpr int AutoNumberIncrement = 20;
inline constexpr int AutoNumberFlag = 24;
inline constexpr int TableType = 40;
inline constexpr char UserTable = 0x4E;
inline constexpr char SystemTable = 0x53;
inline constexpr int NextColumnNumber = 41;
inline constexpr int VariableColumnCount = 43;
inline constexpr int ColumnCount = 45;
inline constexpr int RealIndexCount = 51;
inline constexpr int OwnedPagesMap = 55; // row pointer to the usage map of the table's pages
inline constexpr int FreeSpaceMap = 59;  // row pointer to the usage map of pages with room
// The real index entries, then the column descriptors, then the column names (each a 16-bit
// byte length and UCS-2 text).
inline constexpr int RealIndexes = 63;
inline constexpr int RealIndexEntryLength = 12;
// Jet's limit; also what a reader accepts before it spends time on every column.
inline constexpr int MaxColumns = 255;
} // namespace TableDefinition

// One column descriptor of a table definition.
namespace ColumnDescriptor {
inline constexpr int Length = 25;
inline constexpr int Type = 0;
inline constexpr int Magic = 1; // TableDefinition::MagicValue again
inline constexpr int Number = 5;
inline constexpr int VariableIndex = 7;
inline constexpr int Index = 9;
inline constexpr int SortOrder = 11;
inline constexpr int Flags = 15;
inline constexpr int FixedOffset = 21;
inline constexpr int ValueLength = 23;
inline constexpr quint8 FixedLengthFlag = 0x01;
// Updatable, and the bit Access sets on every column.
inline constexpr quint8 BaseFlags = 0x12;
inline constexpr quint8 OwnerFlag = 0x20;
} // namespace ColumnDescriptor

// The 12-byte reference a MEMO or OLE column keeps in its row: the length with the kind in its
// top bits, then a row pointer. Inline data follows the reference in the row; a chain's rows
// each begin with the row pointer of the next one (0 on the last).
namespace LongValue {
inline constexpr int ReferenceLength = 12;
inline constexpr int Pointer = 4;
inline constexpr quint32 KindMask = 0xC0000000;
inline constexpr quint32 Inline = 0x80000000;
inline constexpr quint32 OneRow = 0x40000000;
inline constexpr quint32 Chain = 0;
inline constexpr int ChainLinkLength = 4;
} // namespace LongValue

// Usage maps: rows that name a set of pages. Type Inline holds a bitmap of the pages from a
// start page on; type Reference holds the page numbers of bitmap pages, each of which covers
// PagesPerBitmapPage pages in turn.
namespace UsageMap {
inline constexpr char Inline = 0x00;
inline constexpr char Reference = 0x01;
inline constexpr int InlineStart = 1;
inline constexpr int InlineBitmap = 5;
inline constexpr int References = 1;
inline constexpr int BitmapPageBitmap = 4;
inline constexpr quint32 PagesPerBitmapPage = (PageSize - BitmapPageBitmap) * 8;
} // namespace UsageMap

// The system catalog's rows: one per object of the database. A table's Id holds its definition
// page in the low 24 bits.
namespace SystemCatalog {
inline constexpr quint16 TableObject = 1;
inline constexpr quint16 DatabaseObject = 2;
inline constexpr quint16 ContainerObject = 3;
inline constexpr quint32 IdPageMask = 0x00FFFFFF;
} // namespace SystemCatalog

// Text made of one-byte characters may be stored "compressed": after this mark each byte is one
// character, until a 00 byte switches to two-byte characters and back.
inline constexpr std::array<quint8, 2> CompressedTextMark{0xFF, 0xFE};

// Little-endian integers. Callers check that the bytes are there. Read byte by byte, so that
// no compiler takes a buffer for the one-byte array Qt keeps for empty ones.
inline quint16 readU16(QByteArrayView bytes, qsizetype at) {
    return quint16(quint8(bytes[at]) | quint8(bytes[at + 1]) << 8);
}

inline quint32 readU32(QByteArrayView bytes, qsizetype at) {
    return readU16(bytes, at) | quint32(readU16(bytes, at + 2)) << 16;
}

inline quint64 readU64(QByteArrayView bytes, qsizetype at) {
    return readU32(bytes, at) | quint64(readU32(bytes, at + 4)) << 32;
}

inline void writeU16(QByteArray& bytes, qsizetype at, quint16 value) {
    bytes[at] = char(value & 0xFF);
    bytes[at + 1] = char(value >> 8);
}

inline void writeU32(QByteArray& bytes, qsizetype at, quint32 value) {
    writeU16(bytes, at, quint16(value & 0xFFFF));
    writeU16(bytes, at + 2, quint16(value >> 16));
}

inline void writeDouble(QByteArray& bytes, qsizetype at, double value) {
    const auto bits = std::bit_cast<quint64>(value);
    writeU32(bytes, at, quint32(bits & 0xFFFFFFFF));
    writeU32(bytes, at + 4, quint32(bits >> 32));
}

inline void appendU16(QByteArray& bytes, quint16 value) {
    bytes.resize(bytes.size() + 2);
    writeU16(bytes, bytes.size() - 2, value);
}

inline void appendU32(QByteArray& bytes, quint32 value) {
    bytes.resize(bytes.size() + 4);
    writeU32(bytes, bytes.size() - 4, value);
}

// The stored bytes of a 16-bit, 32-bit or double value.
inline QByteArray u16Bytes(quint16 value) {
    QByteArray bytes;
    appendU16(bytes, value);
    return bytes;
}

inline QByteArray u32Bytes(quint32 value) {
    QByteArray bytes;
    appendU32(bytes, value);
    return bytes;
}

inline QByteArray doubleBytes(double value) {
    QByteArray bytes(8, '\0');
    writeDouble(bytes, 0, value);
    return bytes;
}

// Text as stored uncompressed: UCS-2, low byte first.
inline QByteArray ucs2Bytes(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar c : text)
        appendU16(bytes, c.unicode());
    return bytes;
}

} // namespace velmora::jet
