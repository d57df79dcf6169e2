#pragma once

#include <QString>

namespace velmora {

// A list row is one line: each line break of text (CR LF, LF, CR and the Unicode line and
// paragraph separators) becomes one space. The text itself stays as it is stored.
QString oneLineRowText(const QString& text);

} // namespace velmora
