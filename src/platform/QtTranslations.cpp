#include "platform/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace velmora {

QStringList installChineseTranslations(QCoreApplication& app) {
    // The program's texts are Chinese wherever it runs, whatever the system's language.
    const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
    QLocale::setDefault(chinese);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    QStringList loaded;
    // qtbase: widgets and standard buttons; qtwebengine: the web views' actions and dialogs.
    for (const QString& catalogue : {QStringLiteral("qtbase"), QStringLiteral("qtwebengine")}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(chinese, catalogue, QStringLiteral("_"), folder) &&
            QCoreApplication::installTranslator(translator))
            loaded.append(translator->filePath());
        else
            delete translator;
    }
    return loaded;
}

} // namespace velmora
