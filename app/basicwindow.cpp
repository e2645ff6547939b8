#include "app/basicwindow.h"

BasicWindow::BasicWindow(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(minimumWidthPx, minimumHeightPx);
    setWindowTitle(QStringLiteral("Kelvane_v1.1.2").replace(QLatin1Char('_'), QLatin1Char(' ')));
}
