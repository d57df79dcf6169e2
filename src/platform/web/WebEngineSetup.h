#pragma once

#include <QString>

class QWebEngineProfile;

namespace velmora {

// Call once at the very start of main(), before the QApplication is created: passes the
// engine (through QTWEBENGINE_CHROMIUM_FLAGS) the switches that keep the emulator's compiled
// code small and stop background traffic to outside hosts, and has the web views drawn
// without OpenGL. Switches already in QTWEBENGINE_CHROMIUM_FLAGS keep their values.
void prepareWebEngine();

// What the program keeps for the user, in the application's data folder of the user
// (QStandardPaths::AppDataLocation), never in the program folder: copies of the program
// folder share it and an update never touches it.
QString userDataFolder();
// The folder of the games' saved data (GameSaves).
QString gameSavesFolder();

// The profiles of the side panel and of the game player, each created on first use (after the
// QApplication exists) and owned by it. Each keeps its cookies and its cache of web pages on
// disk in a folder of its own under userDataFolder(). Pages of different profiles never share
// a renderer process, so a page that hangs or crashes cannot take the other view with it.
QWebEngineProfile* panelWebProfile();
QWebEngineProfile* playerWebProfile();

} // namespace velmora
