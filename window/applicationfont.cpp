#include "window/applicationfont.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

const QString ApplicationFont::family = QStringLiteral("PT Sans");

bool ApplicationFont::install()
{
    static const bool loaded = [] {
        bool all = true;
        for (const char *face : {":/Fonts/PTS55F.ttf", ":/Fonts/PTS75F.ttf"})
            all = QFontDatabase::addApplicationFont(QLatin1String(face)) >= 0 && all;
        return all;
    }();
    if (!loaded)
        return false;
    QFont font(family);
    font.setPointSizeF(pointSize);
    QApplication::setFont(font);
    QFont::insertSubstitution(QStringLiteral("Segoe UI"), family);
    return true;
}
