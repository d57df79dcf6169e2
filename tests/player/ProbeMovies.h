#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace velmora::test {

// Movies that try what a hostile game would, and report what they got to a loopback server:
// every report is a request for reportUrl + "probe=<name>&got=<what>", so reportUrl ends with
// "?" or "&".
struct Probe {
    QString name; // letters, digits and dashes
    QString address;
};

// Reads each address with LoadVars and reports its content, or "undefined" when the read
// failed; then loads each movie address into a level of its own and reports "loaded" or
// "error".
QByteArray fileProbeMovie(const QString& reportUrl, const QList<Probe>& reads, const QList<Probe>& movies);

// On the first frame, without a click: tries to run script in the page, asks for a local file
// and a web page in a new window and for web pages in its own and in the top window, then
// reports "ready". On every mouse click: asks for first in target, then for nine more pages in
// new windows, tries full screen both ways a movie has, and reports the number of clicks so far
// as probe "click".
QByteArray launchProbeMovie(const QString& reportUrl, const QString& first, const QString& target,
                            const QString& more);

// Reports probe "beat" with the frame number on every frame, ten frames a second.
QByteArray heartbeatMovie(const QString& reportUrl);

// Reports probe "key" with the key code of every key pressed.
QByteArray keyReportMovie(const QString& reportUrl);
// Adds one to the number n of the local shared object objectName (getLocal with localPath
// when it is not empty), starting from 0, flushes it unless told not to, and reports the new
// number as probe "counter"; "undefined" when the object could not be had.
enum class Flush { Now, OnLeaving };
QByteArray counterMovie(const QString& reportUrl, const QString& objectName, const QString& localPath = {},
                        Flush flush = Flush::Now);

// Doubles a string until it is longer than the emulator allows: the emulator panics.
QByteArray panicMovie();

} // namespace velmora::test
