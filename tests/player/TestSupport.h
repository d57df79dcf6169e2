#pragma once

#include "support/WebContent.h"

#include <QByteArray>
#include <QString>

namespace velmora::test {

// The files of tests/player/data.
QString dataFile(const QString& name);
// Copies the folder from and everything in it to to; false when a file could not be copied.
bool copyFolder(const QString& from, const QString& to);

// Right-clicks the middle of the web view in host, as the mouse does, and waits until its page
// has seen the click; false when it never did.
bool rightClickPage(QWidget* host);
// Gives the engine time to open a menu of its own after a right click; if it did, closes the
// menu and returns true.
bool engineMenuOpened();

// Movies written for the tests.
QByteArray stillMovie(int width, int height, double frameRate);
// Two frames, looping: the first calls getURL(url, "_blank") while the A key is down.
QByteArray keyProbeMovie(const QString& url);

} // namespace velmora::test
