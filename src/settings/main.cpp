#include "common/BuildSettings.h"
#include "common/InstallPaths.h"
#include "platform/QtMessageSink.h"
#include "settings/Dialog.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(velmora::ProductName));
    // The settings program lives in the program folder, beside the game box.
    const velmora::InstallPaths paths(QCoreApplication::applicationDirPath());
    velmora::QtMessageSink messages;
    velmora::Dialog dialog(paths, messages);
    messages.setParent(&dialog);
    dialog.show();
    return QApplication::exec();
}
