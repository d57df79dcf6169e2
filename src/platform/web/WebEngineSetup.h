#pragma once

class QWebEngineProfile;

namespace velmora {

// Call once at the very start of main(), before the QApplication is created: passes the
// engine the switches that keep both web views in one renderer process and stop background
// traffic to outside hosts. Switches already in QTWEBENGINE_CHROMIUM_FLAGS are kept.
void prepareWebEngine();

// The one profile that every web view of the program uses, created on first use (after the
// QApplication exists) and owned by it: in memory only, nothing written to disk.
QWebEngineProfile* sharedWebProfile();

} // namespace velmora
