#include "link/portcloser.h"
#include "settings/catalogue.h"
#include "settings/settingshandlerandcollector.h"
#include "window/applicationfont.h"
#include "window/basicwindow.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <QStyleFactory>
#include <QTranslator>

#include <memory>

namespace {
constexpr int closingLinesWaitMs = 2000;
} // namespace

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
    // The closing lines of a connection the window had still reach the gateway.
    PortCloser::finishAll(closingLinesWaitMs);
    return 0;
}
