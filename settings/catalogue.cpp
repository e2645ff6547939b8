#include "settings/catalogue.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

const QString Catalogue::resourcePath = QStringLiteral(":/i18n/Kelvane.qm");
const QString Catalogue::russianPluralsPath = QStringLiteral(":/i18n/Kelvane_ru.qm");

QString Catalogue::systemLocaleName()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    return QLocale::system().name(QLocale::TagSeparator::Underscore);
#else
    // Before 6.7 name() always joins language and territory with "_".
    return QLocale::system().name();
#endif
}

bool Catalogue::wantsEnglish(const QString &localeName)
{
    return !localeName.contains(QLatin1String("ru"), Qt::CaseSensitive);
}

bool Catalogue::installFor(const QString &localeName, QTranslator &translator)
{
    if (!translator.load(wantsEnglish(localeName) ? resourcePath : russianPluralsPath))
        return false;
    return QCoreApplication::installTranslator(&translator);
}
