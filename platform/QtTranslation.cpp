#include "QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace QtTranslation {

bool Install(QCoreApplication& app)
{
    // "qt" names the catalogue that gathers every Qt module's own texts.
    auto* translator = new QTranslator(&app);
    const QLocale traditionalChinese(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan);
    if (!translator->load(traditionalChinese, QStringLiteral("qt"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return app.installTranslator(translator);
}

}  // namespace QtTranslation
