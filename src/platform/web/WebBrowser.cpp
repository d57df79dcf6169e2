#include "platform/web/WebBrowser.h"

#include "platform/web/EmbeddedView.h"
#include "platform/web/PanelPage.h"

#include <QDir>
#include <QUrl>
#include <QWebEngineLoadingInfo>

namespace velmora {

namespace {

const QUrl BlankPage(QStringLiteral("about:blank"));

} // namespace

WebBrowser::WebBrowser(QWidget* parent, ViewStart viewStart)
    : QWidget(parent) {
    if (viewStart == ViewStart::AtOnce)
        start();
}

void WebBrowser::start() {
    if (m_page)
        return;
    m_page = new PanelPage;
    m_page->setAllowedPages(m_allowedPages);
    m_page->setSilent(m_silent);
    embedView(this, m_page);
    connect(m_page, &QWebEnginePage::loadingChanged, this, &WebBrowser::onLoadingChanged);
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                // A load under way reports its own failure.
                if (status != QWebEnginePage::NormalTerminationStatus && !m_loading)
                    Q_EMIT NavigateError();
            });
    if (m_waitingPage == BlankPage)
        m_page->showBlank();
    else if (!m_waitingPage.isEmpty())
        m_page->load(m_waitingPage);
}

void WebBrowser::setAllowedPages(const QString& siteBaseUrl, const QString& fallbackPage) {
    m_allowedPages = PanelAddresses(QUrl(siteBaseUrl), fallbackPage);
    if (m_page)
        m_page->setAllowedPages(m_allowedPages);
}

void WebBrowser::Navigate(const QString& address) {
    const QUrl url =
        QDir::isAbsolutePath(address) ? QUrl::fromLocalFile(address) : QUrl(address, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || !m_allowedPages.allows(url)) {
        // Reported like any other failed load: later, never from inside Navigate().
        QMetaObject::invokeMethod(this, &WebBrowser::NavigateError, Qt::QueuedConnection);
        return;
    }
    m_programLoad = true;
    m_waitingPage = url;
    if (m_page)
        m_page->load(url);
}

void WebBrowser::showBlank() {
    m_programLoad = false;
    m_waitingPage = BlankPage;
    if (m_page)
        m_page->showBlank();
}

QUrl WebBrowser::LocationURL() const {
    return m_page ? m_page->url() : m_waitingPage;
}

void WebBrowser::setSilent(bool silent) {
    m_silent = silent;
    if (m_page)
        m_page->setSilent(silent);
}

bool WebBrowser::isSilent() const {
    return m_silent;
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
    const bool allowed = m_allowedPages.allows(info.url());
    const bool failed =
        (info.status() == QWebEngineLoadingInfo::LoadFailedStatus && (m_programLoad || allowed)) ||
        (info.status() == QWebEngineLoadingInfo::LoadStoppedStatus && m_programLoad && !allowed);
    m_programLoad = false;
    if (failed)
        Q_EMIT NavigateError();
}

} // namespace velmora
