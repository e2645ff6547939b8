#include "emulator/gatewayemulator.h"
#include "settings/settingshandlerandcollector.h"
#include "toolhelp.h"
#include "window/basicwindow.h"
#include "windowdriver.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QPalette>
#include <QStyle>
#include <QTabWidget>
#include <QTextStream>

#include <cstdio>

namespace {

constexpr int exchangeTimeoutMs = 10000;
constexpr int settleMs = 300;
// Long enough for the log tab to show a screenful of the emulator's stream and for
// the Signal tab's charts to fill most of their minute.
constexpr int logWarmUpMs = 45000;
constexpr int logIntervalMs = 50;
constexpr double surveyPacketRate = 20;
constexpr int statisticsPeriodMs = 10000;
constexpr int oneMinuteSpan = 0;
constexpr int gatewayModel = 3;

QPalette darkPalette()
{
    QPalette palette;
    const QColor window(0x2b, 0x2b, 0x2b);
    const QColor base(0x1e, 0x1e, 0x1e);
    const QColor text(0xe6, 0xe6, 0xe6);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3a));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::ToolTipBase, window);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Highlight, QColor(0x2f, 0x6f, 0xb5));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    return palette;
}

void settle(int periodMs = settleMs)
{
    QDeadlineTimer deadline(periodMs);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, settleMs);
}

} // namespace

// Renders the main window, connected to the gateway emulator and filled with its
// settings and a stream of survey traffic, once per tab in a light and in a dark
// palette.
int main(int argc, char *argv[])
{
    if (printedHelp(
                argc, argv,
                "Usage: kelvane-screenshots [FOLDER]\n"
                "Renders the main window, connected to the gateway emulator and filled with its\n"
                "settings and its survey traffic, once per tab in a light and a dark palette, as\n"
                "tabN-light.png and tabN-dark.png in FOLDER (default docs/screenshots).\n"))
        return 0;
    WindowDriver::preferOffscreen();
    QApplication application(argc, argv);
    WindowDriver::prepareApplication(QStringLiteral("KelvaneScreenshots"));
    const QString outputDirectory
            = application.arguments().value(1, QStringLiteral("docs/screenshots"));
    QTextStream err(stderr);
    if (!QDir().mkpath(outputDirectory)) {
        err << "cannot create " << outputDirectory << Qt::endl;
        return 1;
    }

    GatewayEmulator gateway(gatewayModel);
    gateway.setLogIntervalMs(logIntervalMs);
    gateway.setSurveyTraffic(true);
    gateway.setPacketRate(surveyPacketRate);
    gateway.setStatisticsPeriodMs(statisticsPeriodMs);
    if (!gateway.start()) {
        err << "emulator: " << gateway.errorString() << Qt::endl;
        return 1;
    }
    SettingsHandlerAndCollector::getInstance();
    int status = 0;
    {
        BasicWindow window;
        auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabs"));
        // The Signal tab, if the last run ended on it, would run the stream by itself.
        tabs->setCurrentIndex(0);
        window.show();
        WindowDriver driver(&window);
        if (!driver.connectTo(gateway.devicePath(), gatewayModel, QStringLiteral("kelvane"),
                              exchangeTimeoutMs)
            || !driver.readSettings(exchangeTimeoutMs)) {
            err << "the window did not connect to the emulator" << Qt::endl;
            status = 1;
        } else {
            driver.startLogStream();
            window.findChild<QComboBox *>(QStringLiteral("spanBox"))
                    ->setCurrentIndex(oneMinuteSpan);
            settle(logWarmUpMs);
            const QList<QPair<QString, QPalette>> palettes{
                    {QStringLiteral("light"), application.style()->standardPalette()},
                    {QStringLiteral("dark"), darkPalette()}};
            for (const auto &palette : palettes) {
                QApplication::setPalette(palette.second);
                for (int tab = 0; tab < tabs->count(); ++tab) {
                    tabs->setCurrentIndex(tab);
                    settle();
                    const QString file = QStringLiteral("%1/tab%2-%3.png")
                                                 .arg(outputDirectory)
                                                 .arg(tab)
                                                 .arg(palette.first);
                    if (!window.grab().save(file)) {
                        err << "cannot write " << file << Qt::endl;
                        status = 1;
                    }
                }
            }
        }
    }
    SettingsHandlerAndCollector::deleteInstance();
    return status;
}
