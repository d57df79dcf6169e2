#pragma once

#include <QFile>
#include <QTemporaryDir>

namespace velmora::test {

// Before the QApplication: the user's data folder (XDG_DATA_HOME), where the web profiles and
// the games' saves go, becomes a temporary folder for the rest of the run, so that tests and
// benchmarks never read or change the user's own.
inline void useTemporaryUserData() {
    static QTemporaryDir folder;
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder.path()));
}

} // namespace velmora::test
