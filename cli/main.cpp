#include "cli/clioptions.h"
#include "cli/clirunner.h"
#include "link/portcloser.h"
#include "settings/catalogue.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTranslator>

#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int closingLinesWaitMs = 2000;

int signalPipe[2] = {-1, -1};
volatile sig_atomic_t signalsSeen = 0;

// The first Ctrl+C ends every gateway in order; a second one ends at once.
void onSignal(int)
{
    if (signalsSeen++ > 0)
        ::_exit(CliOptions::NoAnswer);
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

// Only the report prints, and printing needs a platform; a command-line program
// opens no display for it.
std::unique_ptr<QCoreApplication> makeApplication(int &argc, char **argv)
{
    bool report = false;
    for (int index = 1; index < argc; ++index)
        report = report || qstrcmp(argv[index], "report") == 0;
    if (!report)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

int main(int argc, char *argv[])
{
    const std::unique_ptr<QCoreApplication> application = makeApplication(argc, argv);
    // The history file is the window's: ~/.local/share/Tyrnholm/Kelvane.
    QCoreApplication::setOrganizationName(QStringLiteral("Tyrnholm"));
    QCoreApplication::setApplicationName(QStringLiteral("Kelvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KELVANE_VERSION));

    // Field labels and the report follow the system language as the window does:
    // English on every locale that is not Russian.
    QTranslator translator;
    Catalogue::installFor(Catalogue::systemLocaleName(), translator);

    QFile out;
    QFile err;
    // By descriptor: the C library's buffer would hide a failed write until exit.
    out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    CliRunner runner(&out, &err);
    QObject::connect(&runner, &CliRunner::finished, application.get(), &QCoreApplication::exit);

    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0) {
        auto *notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, &runner);
        QObject::connect(notifier, &QSocketNotifier::activated, &runner, &CliRunner::interrupt);
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, nullptr);
        ::sigaction(SIGTERM, &action, nullptr);
    }

    runner.start(QCoreApplication::arguments().mid(1));
    const int status = QCoreApplication::exec();
    // The closing lines still reach every gateway.
    PortCloser::finishAll(closingLinesWaitMs);
    return status;
}
