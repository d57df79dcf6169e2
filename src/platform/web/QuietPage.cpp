#include "platform/web/QuietPage.h"

#include "platform/web/WebEngineSetup.h"

#include <QCoreApplication>
#include <QWebEngineFileSystemAccessRequest>

namespace velmora {

QuietPage::QuietPage(QObject* parent)
    : QWebEnginePage(sharedWebProfile(), parent) {
    // Certificate errors, log-in requests and client certificates already end without a dialog
    // when nobody answers them; permission requests would stay pending, so refuse them.
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
