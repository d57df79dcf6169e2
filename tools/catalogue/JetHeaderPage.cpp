#include "JetHeaderPage.h"

#include "JetBytes.h"
#include "platform/jet/JetHeader.h"

namespace velmora::tools::jet {

namespace {

constexpr char EngineName[] = "Standard Jet DB";
// The start of the masked region is the same in every database the engine writes.
constexpr unsigned char MaskedPrefix[] = {0x00, 0x01, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00,
                                          0x02, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00,
                                          0x04, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00};
constexpr unsigned char VersionText[] = {0x54, 0x06, 0x00, 0x00, 0x34, 0x2E, 0x30, 0x00}; // ..."4.0"
constexpr int CodePageOffset = 0x3C;
constexpr quint16 WesternCodePage = 1252;
constexpr int SortOrderOffset = 0x6E;
constexpr quint16 GeneralSortOrder = 0x0409;
constexpr int VersionTextOffset = 0x98;
constexpr int PagePairsOffset = 0xE00;
constexpr int PagePairsLength = 512;

} // namespace

QByteArray headerPage(const QString& password, double creationDate) {
    using namespace velmora::jet;
    QByteArray page(PageSize, '\0');
    page[1] = 0x01;
    page.replace(4, sizeof EngineName, EngineName, sizeof EngineName);
    page[VersionOffset] = Jet4Version;
    page.replace(MaskedOffset, sizeof MaskedPrefix, reinterpret_cast<const char*>(MaskedPrefix),
                 sizeof MaskedPrefix);
    putU16(page, CodePageOffset, WesternCodePage);
    // The page-encryption key at 0x3E stays 0: the pages are stored in the clear.
    putU16(page, SortOrderOffset, GeneralSortOrder);
    putDouble(page, CreationDateOffset, creationDate);
    writeDatabasePassword(page, password);
    toggleHeaderMask(page);
    page.replace(VersionTextOffset, sizeof VersionText, reinterpret_cast<const char*>(VersionText),
                 sizeof VersionText);
    for (int i = 1; i < PagePairsLength; i += 2)
        page[PagePairsOffset + i] = 0x01;
    return page;
}

} // namespace velmora::tools::jet
