#include "platform/web/QuietPage.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineSettings>

namespace velmora {

namespace {

// Unanswered, the engine would send an empty user name and password, and send them again with
// later requests. A null authenticator cancels the request instead.
void cancelLogIn(QAuthenticator* authenticator) {
    *authenticator = QAuthenticator();
}

} // namespace

QuietPage::QuietPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [](const QUrl&, QAuthenticator* authenticator) { cancelLogIn(authenticator); });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [](const QUrl&, QAuthenticator* authenticator, const QString&) { cancelLogIn(authenticator); });
    // By default a click would hand mailto: and any registered scheme to the system's opener.
    settings()->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
    // Certificate errors and client certificates already end without a dialog when nobody
    // answers them; permission requests would stay pending, so refuse them.
    connect(this, &QWebEnginePage::featurePermissionRequested, this, [this](const QUrl& origin, Feature f) {
        if (m_silent)
            setFeaturePermission(origin, f, PermissionDeniedByUser);
    });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [this](QWebEngineFileSystemAccessRequest r) {
                if (m_silent)
                    r.reject();
            });
}

void QuietPage::javaScriptAlert(const QUrl& securityOrigin, const QString& msg) {
    if (!m_silent)
        QWebEnginePage::javaScriptAlert(securityOrigin, msg);
}

bool QuietPage::javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) {
    if (!m_silent)
        return QWebEnginePage::javaScriptConfirm(securityOrigin, msg);
    // The engine asks this, in its own words, before leaving a page that warns on unload:
    // leaving is what the program asked for. Whatever a page asks itself is declined.
    return msg == QCoreApplication::translate(
                      "QWebEnginePage",
                      "Are you sure you want to leave this page? Changes that you made may not be saved.");
}

bool QuietPage::javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                                 QString* result) {
    return !m_silent && QWebEnginePage::javaScriptPrompt(securityOrigin, msg, defaultValue, result);
}

QStringList QuietPage::chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                                   const QStringList& acceptedMimeTypes) {
    return m_silent ? QStringList() : QWebEnginePage::chooseFiles(mode, oldFiles, acceptedMimeTypes);
}

} // namespace velmora
