#pragma once

#include <QString>

class QTranslator;

// Chooses and installs the catalogue: the program's own texts are Russian, and
// every locale whose name does not contain "ru" gets English. A Russian locale
// gets the Russian plural forms of the texts that hold a count.
class Catalogue
{
public:
    static const QString resourcePath;
    static const QString russianPluralsPath;

    // The system locale's name with "_" as separator (ru_RU, en_US).
    static QString systemLocaleName();
    static bool wantsEnglish(const QString &localeName);
    // Loads and installs the locale's catalogue into the running application;
    // returns whether it was installed.
    static bool installFor(const QString &localeName, QTranslator &translator);
};
