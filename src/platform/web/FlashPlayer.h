#pragma once

#include "platform/web/EmbeddedView.h"
#include "platform/web/UrlOpener.h"

#include <QWidget>

class QWebEngineLoadingInfo;

namespace velmora {

class PlayerPage;

// The game player: plays one Flash movie at a time (with the emulator in a web view), or shows
// black.
class FlashPlayer : public QWidget {
    Q_OBJECT
public:
    // playerFolder: the folder with the player page and the emulator's files, the folder
    // "player" next to the program. With ViewStart::Later, the web view and its page are made
    // by start(); until then the player is black and keeps what it is asked to play.
    explicit FlashPlayer(const QString& playerFolder, QWidget* parent = nullptr,
                         ViewStart viewStart = ViewStart::AtOnce);

    // Makes the web view and loads the player page, once.
    void start();

    // How many movies one page plays before a new page, in a process of its own, replaces it.
    // A page's process keeps the most memory the emulator ever took there and lets it go only
    // when it ends: a hundred games on one page took 600 MB more. A new page costs the next
    // game the emulator's start (its code is compiled again), so not every game gets one.
    static constexpr int MoviesPerPage = 4;

    // The full path of a local movie file (its name spelt as NativeFileName does when it is not
    // UTF-8): loads it and plays it at once, in a loop. Anything else, "http://" in particular,
    // drops the movie on display and leaves the player black.
    void setMovie(const QString& movie);
    // Keys pressed from now on go to the game.
    void focusGame();
    // Where the web pages that games ask for are shown; the user's web browser by default.
    void setUrlOpener(UrlOpener opener);
    // Before the program ends: stops the game, which saves what it holds as it does when
    // another game replaces it, and returns once that is on disk (or after a few seconds, when
    // the page does not answer). The player is black afterwards.
    void endGame();

Q_SIGNALS:
    // The movie last given to setMovie() has loaded; its stage size in pixels and its frame rate.
    void movieLoaded(int width, int height, double frameRate);

private:
    void onLoadingChanged(const QWebEngineLoadingInfo& info);
    void showMovie();
    PlayerPage* makePage();
    // How long a page may take to stop its game before it is given up.
    static constexpr int StopTimeoutMs = 3000;
    void waitUntilStopped(PlayerPage* page);
    void restartPage();
    // Gone: the game cannot save any more (its process died, its emulator panicked).
    enum class LeavingGame { Stops, Gone };
    void startAfresh(LeavingGame leaving);

    QString m_playerFolder;
    PlayerPage* m_page = nullptr;
    PlayerPage* m_leavingPage = nullptr; // replaced, still stopping its game
    UrlOpener m_opener;
    QString m_movie;
    int m_serial = 0;
    bool m_pageReady = false;
    bool m_emulatorPanicked = false;
    int m_moviesOnPage = 0;
};

} // namespace velmora
