#pragma once

#include <QStringList>

class QCoreApplication;

namespace velmora {

// Puts Qt's own Simplified-Chinese texts in place of its English ones: the standard buttons of
// message boxes ("确定", "是", "否"), the web views' menus and the web engine's own pages. Reads
// them from the system's translation folder (QLibraryInfo::TranslationsPath); a file that is
// missing there is left out and its texts stay English. Also makes Chinese the default locale,
// from which the web engine takes the language of its own texts, so call it before the first
// web view is made. Returns the files that were loaded.
QStringList installChineseTranslations(QCoreApplication& app);

} // namespace velmora
