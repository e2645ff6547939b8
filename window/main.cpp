#include "settings/settingshandlerandcollector.h"
#include "window/applicationfont.h"
#include "window/basicwindow.h"
#include "window/catalogue.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <QStyleFactory>
#include <QTranslator>

#include <memory>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);

    if (QStyle *style = QStyleFactory::create(QStringLiteral("Universal Style")))
        QApplication::setStyle(style);
    ApplicationFont::install();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/Icon/Icon.png")));
    QCoreApplication::setOrganizationDomain(QStringLiteral("tyrnholm.example"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tyrnholm"));
    QCoreApplication::setApplicationName(QStringLiteral("Kelvane"));

    QTranslator translator;
    Catalogue::installFor(Catalogue::systemLocaleName(), translator);

    SettingsHandlerAndCollector::getInstance();

    auto window = std::make_unique<BasicWindow>();
    window->show();
    window->activateWindow();
    application.exec();

    // The collector goes first: nothing may use it from the window's destructor.
    SettingsHandlerAndCollector::deleteInstance();
    window.reset();
    return 0;
}
