#pragma once

#include "platform/jet/JetFormat.h"

#include <QByteArray>
#include <vector>

namespace velmora::jet {

// The pages of a database being built, numbered in the order they were allocated.
class PageFile {
public:
    quint32 allocate() {
        m_pages.emplace_back(PageSize, '\0');
        return quint32(m_pages.size() - 1);
    }
    QByteArray& operator[](quint32 page) { return m_pages[page]; }
    quint32 count() const { return quint32(m_pages.size()); }
    const std::vector<QByteArray>& pages() const { return m_pages; }

private:
    std::vector<QByteArray> m_pages;
};

} // namespace velmora::jet
