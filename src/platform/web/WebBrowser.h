#pragma once

#include <QWidget>

class QWebEngineLoadingInfo;

namespace velmora {

class QuietPage;

// The side panel's browser: shows a web page or a local HTML file and reports every page that
// cannot be loaded.
class WebBrowser : public QWidget {
    Q_OBJECT
public:
    explicit WebBrowser(QWidget* parent = nullptr);

    // address: an absolute address ("http://…", "file://…") or the full path of a local file.
    // Returns at once; the page loads in the background and replaces the one on display.
    void Navigate(const QString& address);
    // While silent, pages raise no dialogs (see QuietPage).
    void setSilent(bool silent);
    bool isSilent() const;

Q_SIGNALS:
    // A page could not be loaded: no connection, an HTTP status of 400 or above, an address
    // that is not one, or the page's process died.
    void NavigateError();

private:
    void onLoadingChanged(const QWebEngineLoadingInfo& info);

    QuietPage* m_page;
    bool m_loading = false;
};

} // namespace velmora
