#include "JetHeaderPage.h"

#include "platform/jet/JetHeader.h"

namespace velmora::jet {

namespace {

constexpr char EngineName[] = "Standard Jet DB";
// The start of the masked region is the same in every database the engine writes.
constexpr unsigned char MaskedPrefix[] = {0x00, 0x01, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00,
                                          0x02, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00,
                                          0x04, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00};
constexpr unsigned char VersionText[] = {0x54, 0x06, 0x00, 0x00, 0x34, 0x2E, 0x30, 0x00}; // ..."4.0"
constexpr quint16 WesternCodePage = 1252;

void put(QByteArray& page, int at, const unsigned char* bytes, int length) {
    for (int i = 0; i < length; ++i)
        page[at + i] = char(bytes[i]);
}

} // namespace

QByteArray headerPage(const QString& password, double creationDate) {
    QByteArray page(PageSize, '\0');
    page[1] = 0x01;
    page.replace(HeaderPage::EngineName, sizeof EngineName, EngineName, sizeof EngineName);
    page[HeaderPage::Version] = HeaderPage::Jet4;
    put(page, HeaderPage::MaskedStart, MaskedPrefix, sizeof MaskedPrefix);
    writeU16(page, HeaderPage::CodePage, WesternCodePage);
    // The page-encryption key stays 0: the pages are stored in the clear.
    writeU16(page, HeaderPage::SortOrder, GeneralSortOrder);
    writeDouble(page, HeaderPage::CreationDate, creationDate);
    writeDatabasePassword(page, password);
    toggleHeaderMask(page);
    put(page, HeaderPage::VersionText, VersionText, sizeof VersionText);
    for (int i = 1; i < HeaderPage::PagePairsLength; i += 2)
        page[HeaderPage::PagePairs + i] = 0x01;
    return page;
}

} // namespace velmora::jet
