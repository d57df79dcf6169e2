#pragma once

#include "support/WebContent.h"

#include <QByteArray>
#include <QString>

namespace velmora::test {

// The files of tests/player/data.
QString dataFile(const QString& name);
// Copies the folder from and everything in it to to; false when a file could not be copied.
bool copyFolder(const QString& from, const QString& to);

// Movies written for the tests.
QByteArray stillMovie(int width, int height, double frameRate);
// Two frames, looping: the first calls getURL(url, "_blank") while the A key is down.
QByteArray keyProbeMovie(const QString& url);

} // namespace velmora::test
