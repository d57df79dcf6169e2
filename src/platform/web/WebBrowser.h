#pragma once

#include "platform/web/EmbeddedView.h"
#include "platform/web/PanelAddresses.h"

#include <QUrl>
#include <QWidget>

class QWebEngineLoadingInfo;

namespace velmora {

class PanelPage;

// The side panel's browser: shows a web page of the program's site or the local fallback page
// and reports every page that cannot be loaded.
class WebBrowser : public QWidget {
    Q_OBJECT
public:
    // With ViewStart::Later, the web view and its page are made by start(); until then the
    // browser is blank and the last page asked for waits.
    explicit WebBrowser(QWidget* parent = nullptr, ViewStart viewStart = ViewStart::AtOnce);

    // Makes the web view and shows the page that waits, once.
    void start();

    // The pages the browser may show: those of the site under siteBaseUrl (http or https) and
    // the local page fallbackPage (a full path). Until this is called, it shows nothing.
    void setAllowedPages(const QString& siteBaseUrl, const QString& fallbackPage);
    // address: an absolute address ("http://…", "file://…") or the full path of a local file,
    // one of the allowed pages. Returns at once; the page loads in the background and replaces
    // the one on display.
    void Navigate(const QString& address);
    // Shows an empty page, which cannot fail.
    void showBlank();
    // The address of the page on display, or of the one on its way.
    QUrl LocationURL() const;
    // While silent, pages raise no dialogs (see QuietPage).
    void setSilent(bool silent);
    bool isSilent() const;

Q_SIGNALS:
    // A page could not be loaded: no connection, an HTTP status of 400 or above, an address
    // that is not one or not allowed (also at the end of a redirect), or the page's process
    // died.
    void NavigateError();

private:
    void onLoadingChanged(const QWebEngineLoadingInfo& info);

    PanelPage* m_page = nullptr;
    // What the page is told once it exists.
    PanelAddresses m_allowedPages;
    bool m_silent = false;
    QUrl m_waitingPage;
    bool m_loading = false;
    // A page that Navigate() asked for is on its way (redirects included).
    bool m_programLoad = false;
};

} // namespace velmora
