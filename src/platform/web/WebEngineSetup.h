#pragma once

class QWebEngineProfile;

namespace velmora {

// Call once at the very start of main(), before the QApplication is created: passes the
// engine (through QTWEBENGINE_CHROMIUM_FLAGS) the switches that keep both web views in one
// renderer process, keep the emulator's compiled code small and stop background traffic to
// outside hosts. Switches already in QTWEBENGINE_CHROMIUM_FLAGS keep their values.
void prepareWebEngine();

// The one profile that every web view of the program uses, created on first use (after the
// QApplication exists) and owned by it: in memory only, nothing written to disk.
QWebEngineProfile* sharedWebProfile();

} // namespace velmora
