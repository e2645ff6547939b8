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

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int closingLinesWaitMs = 2000;

constexpr char helpText[] = R"(Usage: kelvane [OPTION]...
Configure a LoRaWAN gateway over its serial console.

Kelvane logs in on the serial console of a LoRaWAN gateway, starts its
configuration core and reads its settings into tabbed pages: LoRa radio modules,
LTE, static IP, Wi-Fi, OpenVPN and the local LoRaWAN server. It validates edits
and applies them back, checking every apply by reading the settings back; saves
and loads preset files (.gwset); streams the packet-forwarder log; uploads
OpenVPN files; shows device information; resets and reboots the gateway and logs
in again after the reboot; and writes a commissioning report as PDF.

The texts are Russian; on any system locale that is not Russian the embedded
English catalogue is used. Serial ports belong to the group dialout: join it
with "sudo usermod -aG dialout $USER" and log in again. kelvane-cli does the
same work from scripts; kelvane-gateway-emulator plays a gateway on a
pseudo-terminal.

Options:
  -h, --help        Show this help and exit.
  --version         Show the version and exit.

Files:
  ~/.local/share/Tyrnholm/Kelvane/history.log
                    The console traffic, passwords masked, readable by its owner
                    only.
  ~/.config/Tyrnholm/Kelvane.conf
                    The remembered port, model and tab.
)";

// Answered before the application exists, which would need a display: the manual
// page is made from this help at build time.
bool answeredHelpOrVersion(int argc, char *argv[])
{
    for (int index = 1; index < argc; ++index) {
        if (std::strcmp(argv[index], "--help") == 0 || std::strcmp(argv[index], "-h") == 0) {
            std::fputs(helpText, stdout);
            return true;
        }
        if (std::strcmp(argv[index], "--version") == 0) {
            // The Qt it runs on may be newer than the one it was built with.
            std::printf("kelvane %s (Qt %s)\n", KELVANE_VERSION, qVersion());
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (answeredHelpOrVersion(argc, argv))
        return 0;

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
