#include "platform/web/WebBrowser.h"

#include "platform/web/EmbeddedView.h"
#include "platform/web/PanelPage.h"

#include <QDir>
#include <QUrl>
#include <QWebEngineLoadingInfo>

namespace velmora {

WebBrowser::WebBrowser(QWidget* parent)
    : QWidget(parent)
    , m_page(new PanelPage) {
    embedView(this, m_page);
    connect(m_page, &QWebEnginePage::loadingChanged, this, &WebBrowser::onLoadingChanged);
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                // A load under way reports its own failure.
                if (status != QWebEnginePage::NormalTerminationStatus && !m_loading)
                    Q_EMIT NavigateError();
            });
}

void WebBrowser::setAllowedPages(const QString& siteBaseUrl, const QString& fallbackPage) {
    m_page->setAllowedPages(PanelAddresses(QUrl(siteBaseUrl), fallbackPage));
}

void WebBrowser::Navigate(const QString& address) {
    const QUrl url =
        QDir::isAbsolutePath(address) ? QUrl::fromLocalFile(address) : QUrl(address, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || !m_page->allowedPages().allows(url)) {
        // Reported like any other failed load: later, never from inside Navigate().
        QMetaObject::invokeMethod(this, &WebBrowser::NavigateError, Qt::QueuedConnection);
        return;
    }
    m_programLoad = true;
    m_page->load(url);
}

void WebBrowser::showBlank() {
    m_programLoad = false;
    m_page->showBlank();
}

QUrl WebBrowser::LocationURL() const {
    return m_page->url();
}

void WebBrowser::setSilent(bool silent) {
    m_page->setSilent(silent);
}

bool WebBrowser::isSilent() const {
    return m_page->isSilent();
}

void WebBrowser::onLoadingChanged(const QWebEngineLoadingInfo& info) {
    m_loading = info.status() == QWebEngineLoadingInfo::LoadStartedStatus;
    if (m_loading)
        return;
    // A load that was stopped or replaced by the next Navigate() is not a failure; one that the
    // page refused because a page of ours was redirected away from the allowed pages is. A link
    // the user followed to an address the panel never shows (another scheme or site) stays on
    // the page: the engine may report that refusal as a failure too, depending on which check
    // caught it first.
    const bool allowed = m_page->allowedPages().allows(info.url());
    const bool failed =
        (info.status() == QWebEngineLoadingInfo::LoadFailedStatus && (m_programLoad || allowed)) ||
        (info.status() == QWebEngineLoadingInfo::LoadStoppedStatus && m_programLoad && !allowed);
    m_programLoad = false;
    if (failed)
        Q_EMIT NavigateError();
}

} // namespace velmora
