#include "pagekit/colorscheme.h"

#include <QGuiApplication>
#include <QPalette>
#include <QStyleHints>

ColorScheme::Scheme ColorScheme::current()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    return QGuiApplication::styleHints()->colorScheme() == Qt::ColorScheme::Dark ? Dark : Light;
#else
    return fromPalette(QGuiApplication::palette());
#endif
}

ColorScheme::Scheme ColorScheme::fromPalette(const QPalette &palette)
{
    const int window = palette.color(QPalette::Window).lightness();
    const int text = palette.color(QPalette::WindowText).lightness();
    return window < text ? Dark : Light;
}
