#include "platform/web/WebBrowser.h"

#include "platform/web/EmbeddedView.h"
#include "platform/web/QuietPage.h"

#include <QDir>
#include <QUrl>
#include <QWebEngineLoadingInfo>

namespace velmora {

WebBrowser::WebBrowser(QWidget* parent)
    : QWidget(parent)
    , m_page(new QuietPage) {
    embedView(this, m_page);
    connect(m_page, &QWebEnginePage::loadingChanged, this, &WebBrowser::onLoadingChanged);
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                // A load under way reports its own failure.
                if (status != QWebEnginePage::NormalTerminationStatus && !m_loading)
                    Q_EMIT NavigateError();
            });
}

void WebBrowser::Navigate(const QString& address) {
    const QUrl url =
        QDir::isAbsolutePath(address) ? QUrl::fromLocalFile(address) : QUrl(address, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative()) {
        // Reported like any other failed load: later, never from inside Navigate().
        QMetaObject::invokeMethod(this, &WebBrowser::NavigateError, Qt::QueuedConnection);
        return;
    }
    m_page->load(url);
}

void WebBrowser::setSilent(bool silent) {
    m_page->setSilent(silent);
}

bool WebBrowser::isSilent() const {
    return m_page->isSilent();
}

void WebBrowser::onLoadingChanged(const QWebEngineLoadingInfo& info) {
    m_loading = info.status() == QWebEngineLoadingInfo::LoadStartedStatus;
    // A load that was stopped or replaced by the next Navigate() is not a failure.
    if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus)
        Q_EMIT NavigateError();
}

} // namespace velmora
