#include "ui/ChineseTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ui {

void useChineseLocale()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
}

void installChineseTranslation(QCoreApplication& app)
{
    useChineseLocale();
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace ui
