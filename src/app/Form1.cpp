#include "app/Form1.h"

#include "catalogue/Favourites.h"
#include "catalogue/GameList.h"
#include "common/FileHelpers.h"
#include "download/GameDownload.h"
#include "platform/MessageSink.h"
#include "platform/web/FlashPlayer.h"
#include "platform/web/WebBrowser.h"
#include "ui/Artwork.h"
#include "ui/Fonts.h"
#include "ui/ListBox.h"
#include "ui/TabLabel.h"
#include "ui/Twips.h"
#include "ui/WidgetLayout.h"

#include <QCloseEvent>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace velmora {

namespace {

constexpr int DesignClientWidth = 15240;
constexpr int DesignClientHeight = 10665;
const QColor LightGrey{224, 224, 224};

void paintBlack(QWidget* widget, const QColor& text) {
    QPalette p = widget->palette();
    for (auto role : {QPalette::Window, QPalette::Base})
        p.setColor(role, Qt::black);
    for (auto role : {QPalette::WindowText, QPalette::Text})
        p.setColor(role, text);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

} // namespace

Form1::Form1(Environment environment, QWidget* parent)
    : QWidget(parent)
    , m_env(std::move(environment))
    , m_paths(m_env.appPath)
    , m_catalogue(m_paths.catalogueFile()) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Velmora游戏盒1.0"));
    setWindowIcon(Artwork::windowIcon());
    paintBlack(this, LightGrey);
    // Moves over the bare surface reset the tab colours.
    setMouseTracking(true);
    createControls();
    // The layout engine records the geometry it first sees as the design: the design client size.
    resize(twipsToPixels(DesignClientWidth), twipsToPixels(DesignClientHeight));
}

Form1::~Form1() = default;

TabLabel* Form1::createTab(const char* name, const QString& caption, int left, int width) {
    auto* tab = new TabLabel(caption, this);
    tab->setObjectName(QString::fromLatin1(name));
    tab->setFont(Fonts::tabFont());
    tab->setGeometry(rectFromTwips(left, 30, width, 210));
    return tab;
}

void Form1::createControls() {
    // Text labels first: they lie below every windowed control.
    Label50 = new QLabel(this);
    Label50->setObjectName(QStringLiteral("Label50"));
    Label50->setGeometry(rectFromTwips(2535, 9675, 12630, 975));
    paintBlack(Label50, TabLabel::TabTextColor);
    Label50->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label50->setWordWrap(true);
    // Descriptions come from the site's catalogue: never interpret them as markup.
    Label50->setTextFormat(Qt::PlainText);
    Label50->hide();

    Label54 = createTab("Label54", QStringLiteral(" 全屏"), 4920, 600);
    Label51 = createTab("Label51", QStringLiteral(" 我的收藏"), 2100, 975);
    Label53 = createTab("Label53", QStringLiteral(" 关于"), 4230, 600);
    Label3 = createTab("Label3", QStringLiteral(" 动作"), 1410, 600);
    Label2 = createTab("Label2", QStringLiteral(" 益智"), 720, 600);
    Label1 = createTab("Label1", QStringLiteral(" 热门"), 30, 600);
    Label52 = createTab("Label52", QStringLiteral(" 快捷方式"), 3165, 975);
    m_tabs = {Label1, Label2, Label3, Label51, Label52, Label53, Label54};

    // Windowed controls from the bottom of the stacking order to the top.
    ShockwaveFlash1 = new FlashPlayer(m_env.playerFolder, this);
    ShockwaveFlash1->setObjectName(QStringLiteral("ShockwaveFlash1"));
    ShockwaveFlash1->setGeometry(rectFromTwips(2535, 285, 12630, 9375));

    WebBrowser1 = new WebBrowser(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setGeometry(rectFromTwips(2535, 9675, 12630, 975));

    List1 = new ListBox(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(rectFromTwips(15, 285, 2505, 10320));
    List1->setFont(Fonts::tabFont());
    paintBlack(List1, LightGrey);
    List1->setFrameShape(QFrame::NoFrame);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    List2 = new QListWidget(this);
    List2->setObjectName(QStringLiteral("List2"));
    List2->setGeometry(rectFromTwips(15000, 0, 150, 240));
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
    Timer1->setInterval(30000);
    Timer1->start();
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(30000);

    connect(Label1, &TabLabel::released, this, [this] { showCatalogueTab(Categories::Hot); });
    connect(Label2, &TabLabel::released, this, [this] { showCatalogueTab(Categories::Puzzle); });
    connect(Label3, &TabLabel::released, this, [this] { showCatalogueTab(Categories::Action); });
    connect(Label51, &TabLabel::released, this, &Form1::showFavourites);
    connect(List1, &ListBox::Click, this, &Form1::List1Click);
    connect(Timer2, &QTimer::timeout, this, &Form1::endGameInfo);
}

void Form1::load() {
    m_mirror.emplace(m_paths);
    // Nothing to register here: Qt's own file and network classes need no scripting runtime.
    resizeHandler();
    m_gameFolder = m_paths.gameFolder();
    ShockwaveFlash1->setMovie(QStringLiteral("http://"));
    WebBrowser1->setSilent(true);
    ShowDefaultCategory();
    CheckRunLocation();
}

void Form1::resizeHandler() {
    ResizeForm(m_layout, *this);
    // The side panel strip keeps its height and the back button its size at every window size.
    WebBrowser1->resize(WebBrowser1->width(), twipsToPixels(975));
    Label50->resize(Label50->width(), twipsToPixels(975));
    Command6->resize(twipsToPixels(705), twipsToPixels(405));
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
    if (m_currentCategory == tab.key || refuseWhileDownloading())
        return;
    m_currentCategory = tab.key;
    FillGameList(tab.fenlei);
    navigateToPage(tab);
}

void Form1::showFavourites() {
    if (refuseWhileDownloading())
        return;
    m_currentCategory = Categories::Favourites.key;
    navigateToPage(Categories::Favourites);
    const QString folder = m_paths.favouritesFolder();
    Favourites::ensureFolder(folder);
    List1->clear();
    List1->addItems(Favourites::listGames(folder));
    if (List1->count() == 0) {
        m_env.messages->hint(QStringLiteral("您可以把喜欢的flash小游戏放在\"Velmora游戏盒") +
                             QDir::separator() + QStringLiteral("我的收藏\"文件夹下"));
    }
    List1->setFocus();
}

bool Form1::refuseWhileDownloading() {
    // Queued downloads refer to list rows by position, so the list must not change under them.
    if (List2->count() == 0)
        return false;
    m_env.messages->notice(QStringLiteral("正在下载，请稍候！"));
    return true;
}

void Form1::navigateToPage(const CategoryTab& tab) {
    WebBrowser1->Navigate(m_env.siteBaseUrl + tab.page);
}

void Form1::List1Click() {
    const int row = List1->currentRow();
    if (row < 0)
        return;
    bool queued = false;
    for (int i = 0; i < List2->count() && !queued; ++i)
        queued = List2->item(i)->text().toInt() == row;

    if (m_currentCategory == Categories::Favourites.key) {
        const QString path = m_paths.favouritesFolder() + QDir::separator() + List1->item(row)->text() +
                             QStringLiteral(".swf");
        ShockwaveFlash1->setMovie(QStringLiteral("http://"));
        if (fileExists(path))
            ShockwaveFlash1->setMovie(path);
    } else if (!queued) {
        const QString path = m_gameFolder + gameFileName(List1->item(row)->data(Qt::UserRole).toInt());
        if (fileExists(path)) {
            ShockwaveFlash1->setMovie(QStringLiteral("http://"));
            ShockwaveFlash1->setMovie(path);
            ShowGameInfo();
        } else {
            QueueGameDownload();
        }
    }
    ShockwaveFlash1->focusGame();
}

void Form1::QueueGameDownload() {
    QListWidgetItem* selected = List1->currentItem();
    auto* entry = new QListWidgetItem(QString::number(List1->currentRow()), List2);
    entry->setData(Qt::UserRole, selected->data(Qt::UserRole));
    selected->setText(QStringLiteral("准备下载"));
    // Clicks during a download land here again; the outermost call works off the whole queue.
    if (List2->count() > 1)
        return;

    const GameDownloadContext context{
        m_paths,
        SitePaths(m_env.siteBaseUrl),
        *m_mirror,
        *m_env.messages,
        [this](qint16 listIndex, const QString& text) {
            if (QListWidgetItem* item = List1->item(listIndex))
                item->setText(text);
        },
        [this] { return List2->count(); },
        [this](bool onDisk, qint32 gameId) { return m_catalogue.GetGameName(onDisk, gameId); },
        m_env.downloadBudget,
    };
    while (List2->count() > 0) {
        const QListWidgetItem* first = List2->item(0);
        DownloadGame(context, first->text().toShort(), first->data(Qt::UserRole).toInt());
        delete List2->takeItem(0);
    }
}

void Form1::ShowGameInfo() {
    const GameInfo info = m_catalogue.gameInfo(List1->currentItem()->data(Qt::UserRole).toInt());
    switch (info.kind) {
    case GameInfo::Kind::Failed:
        // The catalogue may have been replaced under an older list: leave the panel as it is.
        return;
    case GameInfo::Kind::Null:
        Label50->hide();
        WebBrowser1->show();
        return;
    case GameInfo::Kind::Text:
        Label50->setText(info.text);
        Label50->show();
        WebBrowser1->hide();
        // Each new description is shown for the full 30 seconds.
        Timer2->start();
        return;
    }
}

void Form1::endGameInfo() {
    Timer2->stop();
    Label50->hide();
    WebBrowser1->show();
}

void Form1::CheckRunLocation() {
    // Archive tools unpack a program started from inside an archive into a "Temp" folder.
    if (m_paths.appPath().contains(QStringLiteral("Temp"), Qt::CaseSensitive))
        m_env.messages->hint(QStringLiteral("请先解压缩再使用，不要直接运行压缩包！"));
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
    for (TabLabel* tab : m_tabs)
        tab->setTextColor(TabLabel::TabTextColor);
    QWidget::mouseMoveEvent(event);
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    m_env.endProgram();
}

} // namespace velmora
