#pragma once

#include "common/InstallPaths.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Categories.h"
#include "download/BlockTransfer.h"
#include "download/RemoteGameFolder.h"
#include "ui/LayoutEngine.h"

#include <QWidget>
#include <array>
#include <functional>
#include <optional>

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace velmora {

class FlashPlayer;
class ListBox;
class MessageSink;
class TabLabel;
class WebBrowser;

// The main window: the tab row, the game list, the player and the side panel strip.
class Form1 : public QWidget {
    Q_OBJECT
public:
    struct Environment {
        QString appPath;                  // the program folder
        QString siteBaseUrl;              // with a trailing slash
        MessageSink* messages = nullptr;  // every message box goes here
        QString playerFolder;             // the player page and the emulator's files
        std::function<void()> endProgram; // what closing the window does
        PollBudget downloadBudget{};      // how long a download waits for each answer
    };

    explicit Form1(Environment environment, QWidget* parent = nullptr);
    ~Form1() override;

    // The start-up sequence; runs once, before the window is first shown.
    void load();
    // Shows the window maximised, remembering the centred normal geometry for a restore.
    void showAtStart();

    const QString& GameFolder() const { return m_gameFolder; }
    QString RemoteGameFolder() const { return m_mirror ? m_mirror->remoteGameFolder() : QString(); }
    const QString& CurrentCategory() const { return m_currentCategory; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void resizeHandler();
    TabLabel* createTab(const char* name, const QString& caption, int left, int width);
    void ShowDefaultCategory();
    void FillGameList(quint8 category);
    void showCatalogueTab(const CategoryTab& tab);
    void showFavourites();
    bool refuseWhileDownloading();
    void CheckRunLocation();
    void navigateToPage(const CategoryTab& tab);
    void List1Click();
    void QueueGameDownload();
    void ShowGameInfo();
    void endGameInfo();

    Environment m_env;
    InstallPaths m_paths;
    Catalogue m_catalogue;
    QString m_gameFolder;
    std::optional<MirrorBase> m_mirror;
    QString m_currentCategory;
    LayoutEngine m_layout;

    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QPushButton* Command6 = nullptr;
    QListWidget* List2 = nullptr;
    ListBox* List1 = nullptr;
    WebBrowser* WebBrowser1 = nullptr;
    FlashPlayer* ShockwaveFlash1 = nullptr;
    QLabel* Label50 = nullptr;
    TabLabel* Label1 = nullptr;
    TabLabel* Label2 = nullptr;
    TabLabel* Label3 = nullptr;
    TabLabel* Label51 = nullptr;
    TabLabel* Label52 = nullptr;
    TabLabel* Label53 = nullptr;
    TabLabel* Label54 = nullptr;
    std::array<TabLabel*, 7> m_tabs{};
};

} // namespace velmora
