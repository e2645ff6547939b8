#pragma once

#include <QString>

class QTranslator;

// Chooses and installs the English catalogue: the program's own texts are
// Russian, and every locale whose name does not contain "ru" gets English.
class Catalogue
{
public:
    static const QString resourcePath;

    // The system locale's name with "_" as separator (ru_RU, en_US).
    static QString systemLocaleName();
    static bool wantsEnglish(const QString &localeName);
    // Loads and installs the catalogue into the running application when the
    // locale wants it; returns whether it was installed.
    static bool installFor(const QString &localeName, QTranslator &translator);
};
