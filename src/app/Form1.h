#pragma once

#include "catalogue/Catalogue.h"
#include "catalogue/Categories.h"
#include "common/BuildSettings.h"
#include "common/InstallPaths.h"
#include "common/SignedFile.h"
#include "common/SitePaths.h"
#include "download/BlockTransfer.h"
#include "download/RemoteGameFolder.h"
#include "download/Updates.h"
#include "platform/ProgramStart.h"
#include "ui/LayoutEngine.h"
#include "ui/TabRow.h"

#include <QWidget>
#include <functional>

class QListView;
class QPushButton;
class QTimer;

namespace velmora {

class DownloadQueue;
class FlashPlayer;
class FullScreenPlay;
class ListBox;
class MessageSink;
class SidePanel;
class WebBrowser;

// The main window: the tab row, the game list, the player and the side panel strip. It makes
// the controls and wires them to the classes that act for them.
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
        int startupTickMs = 30000;        // Timer1's interval; the deferred tasks come at tick 10
        // The key that program updates must be signed with.
        QByteArray updateKey = SignedFile::keyFromHex(UpdatePublicKey, SignedFile::PublicKeySize);
        // Starts the update program.
        std::function<bool(const QString& program)> startProgram = startDetachedProgram;
        QString temporaryFolder{};        // where archive managers unpack a program for one run
    };

    explicit Form1(Environment environment, QWidget* parent = nullptr);
    ~Form1() override;

    // The start-up sequence; runs once, before the window is first shown.
    void load();
    // Shows the window maximised, remembering the centred normal geometry for a restore.
    void showAtStart();

    const QString& GameFolder() const { return m_gameFolder; }
    const QString& RemoteGameFolder() const { return m_mirror.remoteGameFolder(); }
    const QString& CurrentCategory() const { return m_currentCategory; }
    bool IsFullScreen() const;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void startWebViews();
    void connectControls();
    void resizeHandler();
    void ShowDefaultCategory();
    void FillGameList(quint8 category);
    void showCatalogueTab(const CategoryTab& tab);
    void showFavourites();
    void navigateToPage(const CategoryTab& tab);
    void CheckRunLocation();
    void List1Click();
    void Timer1Timer();
    UpdateContext updateContext();
    void createShortcut();

    Environment m_environment;
    InstallPaths m_paths;
    SitePaths m_site;
    Catalogue m_catalogue;
    MirrorBase m_mirror;
    QString m_gameFolder;
    QString m_currentCategory;
    LayoutEngine m_layoutEngine;
    TabRow m_tabRow;
    qint32 m_startupTickCount = 0;
    bool m_webViewsStarted = false;

    FlashPlayer* ShockwaveFlash1 = nullptr;
    WebBrowser* WebBrowser1 = nullptr;
    ListBox* List1 = nullptr;
    QListView* List2 = nullptr;
    QPushButton* Command6 = nullptr;
    QTimer* Timer1 = nullptr;
    DownloadQueue* m_downloadQueue = nullptr;
    SidePanel* m_sidePanel = nullptr;
    FullScreenPlay* m_fullScreen = nullptr;
};

} // namespace velmora
