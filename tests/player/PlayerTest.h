#pragma once

#include "platform/web/FlashPlayer.h"

#include <QObject>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace velmora::test {

class PlayerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void playsMoviesAsWritten();
    void dropsMovieOnHttp();
    void survivesBadMovieFiles();
    void playsOnAFreshPageAfterManyMovies();
    void closingWaitsForTheReplacedPageToStop();
    void showsNoticeForUnplayableFile_data();
    void showsNoticeForUnplayableFile();
    void startsSoundWithoutClick();
    void rightClickOffersOnlyWorkingEntries();
    void keyPressReachesGameAfterFocus();
    void arrowKeysMoveTheDemoSquare();
    void recoversFromDeadPageProcess();

private:
    QString writeMovie(const QString& name, const QByteArray& movie);
    QVariant evaluateInPlayer(const QString& script);
    bool isPlayerEmpty();
    // Gives the game the keyboard and waits until its page has it.
    void focusGameAndWait();

    // Chinese and a space in the folder name, as in the favourites folder.
    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/我的收藏 XXXXXX")};
    std::unique_ptr<FlashPlayer> m_player;
    QStringList m_opened;
};

} // namespace velmora::test
