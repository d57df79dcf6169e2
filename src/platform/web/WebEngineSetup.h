#pragma once

class QWebEngineProfile;

namespace velmora {

// Call once at the very start of main(), before the QApplication is created: passes the
// engine (through QTWEBENGINE_CHROMIUM_FLAGS) the switches that keep the emulator's compiled
// code small and stop background traffic to outside hosts. Switches already in
// QTWEBENGINE_CHROMIUM_FLAGS keep their values.
void prepareWebEngine();

// The profiles of the side panel and of the game player, each created on first use (after the
// QApplication exists) and owned by it: in memory only, nothing written to disk. Pages of
// different profiles never share a renderer process, so a page that hangs or crashes cannot
// take the other view with it.
QWebEngineProfile* panelWebProfile();
QWebEngineProfile* playerWebProfile();

} // namespace velmora
