#include "app/Form1.h"

#include "catalogue/Favourites.h"
#include "catalogue/GameList.h"
#include "common/BuildSettings.h"
#include "common/FileHelpers.h"
#include "common/RunLocation.h"
#include "download/DownloadQueue.h"
#include "download/GameDownload.h"
#include "panel/SidePanel.h"
#include "platform/MessageSink.h"
#include "platform/web/EmbeddedView.h"
#include "platform/web/FlashPlayer.h"
#include "platform/web/WebBrowser.h"
#include "shortcut/DesktopShortcut.h"
#include "ui/Artwork.h"
#include "ui/Colours.h"
#include "ui/Fonts.h"
#include "ui/FullScreenPlay.h"
#include "ui/ListBox.h"
#include "ui/TabLabel.h"
#include "ui/Twips.h"
#include "ui/WidgetLayout.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <utility>

namespace velmora {

namespace {

constexpr int DesignClientWidth = 15240;
constexpr int DesignClientHeight = 10665;
constexpr int StripHeight = 975;
// A favourites row keeps the path of its file here: its text is only the name shown.
constexpr int FavouritePathRole = Qt::UserRole + 1;

} // namespace

Form1::Form1(Environment environment, QWidget* parent)
    : QWidget(parent)
    , m_environment(std::move(environment))
    , m_paths(m_environment.appPath)
    , m_site(m_environment.siteBaseUrl)
    , m_catalogue(m_paths.catalogueFile())
    , m_mirror(m_paths)
    , m_tabRow(*this) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(ProductName) + QString::fromUtf8(ProgramVersion));
    setWindowIcon(Artwork::windowIcon());
    Colours::paintBlack(*this, Colours::LightGrey);
    // Moves over the bare surface reset the tab colours.
    setMouseTracking(true);
    createControls();
    connectControls();
    // The layout engine records the geometry it first sees as the design: the design client size.
    resize(twipsToPixels(DesignClientWidth), twipsToPixels(DesignClientHeight));
}

Form1::~Form1() = default;

// The tabs are made first (the member m_tabRow), then the windowed controls from the bottom of
// the stacking order to the top; the panel puts its label below them all.
void Form1::createControls() {
    prepareWindowForViews(this);
    ShockwaveFlash1 = new FlashPlayer(m_environment.playerFolder, this, ViewStart::Later);
    ShockwaveFlash1->setObjectName(QStringLiteral("ShockwaveFlash1"));
    ShockwaveFlash1->setGeometry(rectFromTwips(2535, 285, 12630, 9375));

    WebBrowser1 = new WebBrowser(this, ViewStart::Later);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setGeometry(rectFromTwips(2535, 9675, 12630, StripHeight));

    List1 = new ListBox(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(rectFromTwips(15, 285, 2505, 10320));
    List1->setFont(Fonts::tabFont());
    Colours::paintBlack(*List1, Colours::LightGrey);
    List1->setFrameShape(QFrame::NoFrame);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    const GameDownloadContext downloads{
        m_paths,
        m_site,
        m_mirror,
        *m_environment.messages,
        [this](qint16 listIndex, const QString& text) {
            if (QListWidgetItem* item = List1->item(listIndex))
                item->setText(text);
        },
        {}, // the queue's own length
        [this](bool onDisk, qint32 gameId) { return m_catalogue.GetGameName(onDisk, gameId); },
        m_environment.downloadBudget,
    };
    m_downloadQueue = new DownloadQueue(downloads, this);
    List2 = new QListView(this);
    List2->setObjectName(QStringLiteral("List2"));
    List2->setGeometry(rectFromTwips(15000, 0, 150, 240));
    List2->setModel(m_downloadQueue);
    List2->hide();

    Command6 = new QPushButton(this);
    Command6->setObjectName(QStringLiteral("Command6"));
    Command6->setGeometry(rectFromTwips(14400, 9960, 705, 405));
    const QPixmap back = Artwork::backButtonPicture();
    Command6->setIcon(back);
    Command6->setIconSize(back.size());
    Command6->setFlat(true);
    Command6->hide();

    setTabOrder(ShockwaveFlash1, WebBrowser1);
    setTabOrder(WebBrowser1, List1);
    setTabOrder(List1, List2);
    setTabOrder(List2, Command6);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(m_environment.startupTickMs);
    Timer1->start();

    m_sidePanel = new SidePanel(WebBrowser1);
    m_fullScreen = new FullScreenPlay({this, ShockwaveFlash1, List1, WebBrowser1, Command6,
                                       [this] { ShockwaveFlash1->focusGame(); },
                                       [this] {
                                           resizeHandler();
                                       }});
}

void Form1::connectControls() {
    connect(m_tabRow[Tab::Hot], &TabLabel::released, this, [this] { showCatalogueTab(Categories::Hot); });
    connect(m_tabRow[Tab::Puzzle], &TabLabel::released, this,
            [this] { showCatalogueTab(Categories::Puzzle); });
    connect(m_tabRow[Tab::Action], &TabLabel::released, this,
            [this] { showCatalogueTab(Categories::Action); });
    connect(m_tabRow[Tab::Favourites], &TabLabel::released, this, &Form1::showFavourites);
    connect(m_tabRow[Tab::Shortcut], &TabLabel::released, this, &Form1::createShortcut);
    connect(m_tabRow[Tab::FullScreen], &TabLabel::released, m_fullScreen, &FullScreenPlay::ToggleFullScreen);
    connect(Command6, &QPushButton::clicked, m_fullScreen, &FullScreenPlay::ToggleFullScreen);
    connect(List1, &ListBox::Click, this, &Form1::List1Click);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1Timer);
}

void Form1::load() {
    m_mirror.ReadMirrorBase();
    // Nothing to register here: Qt's own file and network classes need no scripting runtime.
    resizeHandler();
    m_gameFolder = m_paths.gameFolder();
    ShockwaveFlash1->setMovie(QStringLiteral("http://"));
    m_sidePanel->setPages(m_site, m_paths.fallbackPage());
    WebBrowser1->setSilent(true);
    ShowDefaultCategory();
    CheckRunLocation();
    // A window that is still hidden when the program gets back to its event loop makes its web
    // views then, without waiting for a paint.
    QTimer::singleShot(0, this, [this] {
        if (!isVisible())
            startWebViews();
    });
}

void Form1::resizeHandler() {
    ResizeForm(m_layoutEngine, *this);
    // The side panel strip keeps its height and the back button its size at every window size.
    m_sidePanel->setStripHeight(twipsToPixels(StripHeight));
    Command6->resize(twipsToPixels(705), twipsToPixels(405));
    m_fullScreen->afterLayout();
}

bool Form1::IsFullScreen() const {
    return m_fullScreen->IsFullScreen();
}

void Form1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    resizeHandler();
}

void Form1::showAtStart() {
    const QSize normal(twipsToPixels(DesignClientWidth), twipsToPixels(DesignClientHeight));
    resize(normal);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), normal);
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    showMaximized();
}

void Form1::ShowDefaultCategory() {
    m_currentCategory = Categories::Hot.key;
    FillGameList(Categories::Hot.fenlei);
    navigateToPage(Categories::Hot);
}

void Form1::FillGameList(quint8 category) {
    List1->clear();
    for (const GameListRow& row : GameList::catalogueRows(m_catalogue, category, m_gameFolder)) {
        auto* item = new QListWidgetItem(row.text, List1);
        item->setData(Qt::UserRole, row.gameId);
    }
}

void Form1::showCatalogueTab(const CategoryTab& tab) {
    if (m_currentCategory == tab.key || m_downloadQueue->refuseListChange())
        return;
    m_currentCategory = tab.key;
    FillGameList(tab.fenlei);
    navigateToPage(tab);
}

void Form1::showFavourites() {
    if (m_downloadQueue->refuseListChange())
        return;
    m_currentCategory = Categories::Favourites.key;
    navigateToPage(Categories::Favourites);
    const QString folder = m_paths.favouritesFolder();
    Favourites::ensureFolder(folder);
    List1->clear();
    for (const FavouriteGame& game : Favourites::listGames(folder)) {
        auto* item = new QListWidgetItem(game.name, List1);
        item->setData(FavouritePathRole, game.path);
    }
    if (List1->count() == 0) {
        m_environment.messages->hint(QStringLiteral("您可以把喜欢的flash小游戏放在\"Velmora游戏盒") +
                                     QDir::separator() + QStringLiteral("我的收藏\"文件夹下"));
    }
    List1->setFocus();
}

void Form1::navigateToPage(const CategoryTab& tab) {
    m_sidePanel->Navigate(m_site.baseUrl() + tab.page);
}

void Form1::List1Click() {
    const int row = List1->currentRow();
    if (row < 0)
        return;
    if (m_currentCategory == Categories::Favourites.key) {
        const QString path = List1->item(row)->data(FavouritePathRole).toString();
        ShockwaveFlash1->setMovie(QStringLiteral("http://"));
        if (fileExists(path))
            ShockwaveFlash1->setMovie(path);
    } else if (!m_downloadQueue->isQueued(row)) {
        const qint32 gameId = List1->item(row)->data(Qt::UserRole).toInt();
        const QString path = m_gameFolder + gameFileName(gameId);
        if (fileExists(path)) {
            ShockwaveFlash1->setMovie(QStringLiteral("http://"));
            ShockwaveFlash1->setMovie(path);
            m_sidePanel->ShowGameInfo(m_catalogue.gameInfo(gameId));
        } else {
            m_downloadQueue->QueueGameDownload(qint16(row), gameId);
        }
    }
    ShockwaveFlash1->focusGame();
}

void Form1::CheckRunLocation() {
    if (runsFromTemporaryFolder(m_paths.appPath(), m_environment.temporaryFolder))
        m_environment.messages->hint(QStringLiteral("请先解压缩再使用，不要直接运行压缩包！"));
}

// Five minutes after start, once: the network tasks keep away from the first minutes of use.
// Each task ends silently at its own failures, so one that fails never keeps the later ones
// from running.
void Form1::Timer1Timer() {
    if (++m_startupTickCount != 10)
        return;
    Timer1->stop();
    m_sidePanel->ShowRandomPage();
    // An update program that stays is never started: only one fetched in this run is.
    static_cast<void>(DeleteIfExists(m_paths.updateProgram()));
    const UpdateContext updates = updateContext();
    UpdateCatalogue(updates);
    UpdateProgram(updates);
}

UpdateContext Form1::updateContext() {
    return {m_paths,
            m_site,
            *m_environment.messages,
            m_environment.updateKey,
            m_environment.startProgram,
            [this] { close(); },
            m_environment.downloadBudget};
}

void Form1::createShortcut() {
    DesktopShortcut(m_paths, m_environment.temporaryFolder, *m_environment.messages).createOnDesktop();
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
    m_tabRow.resetColours();
    QWidget::mouseMoveEvent(event);
}

void Form1::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    // The web views are made once the window has been painted: the engine's start would keep
    // the list from the screen for longer than everything else in the window takes.
    if (!m_webViewsStarted)
        QTimer::singleShot(0, this, &Form1::startWebViews);
}

void Form1::startWebViews() {
    if (std::exchange(m_webViewsStarted, true))
        return;
    ShockwaveFlash1->start();
    WebBrowser1->start();
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    // A closed window ends the run: the deferred tasks never come.
    Timer1->stop();
    // The program ends at once: the game saves now what it would save on leaving.
    ShockwaveFlash1->endGame();
    m_environment.endProgram();
}

} // namespace velmora
