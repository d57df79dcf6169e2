#pragma once

#include <QWebEnginePage>

namespace velmora {

// A page that, while silent, raises no dialog of any kind: script alerts are dismissed,
// confirmations declined (except the engine's own "leave this page?"), prompts cancelled, file
// choosers come back empty, and permission requests are refused. Always: requests for a log-in
// are cancelled, addresses of schemes the engine does not know never go to the system, and new
// windows are never opened (the base page does not).
class QuietPage : public QWebEnginePage {
    Q_OBJECT
public:
    explicit QuietPage(QWebEngineProfile* profile, QObject* parent = nullptr);

    void setSilent(bool silent) { m_silent = silent; }
    bool isSilent() const { return m_silent; }

protected:
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                          QString* result) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList& oldFiles,
                            const QStringList& acceptedMimeTypes) override;

private:
    bool m_silent = false;
};

} // namespace velmora
