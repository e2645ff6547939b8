#include "windowdriver.h"

#include "window/applicationfont.h"
#include "window/basicwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace {

constexpr int pollPeriodMs = 10;

template<class T>
T *named(QObject *root, const char *name)
{
    return root->findChild<T *>(QString::fromLatin1(name));
}

// Runs the event loop until the condition holds or the time is up.
template<class Condition>
bool waitFor(Condition condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, pollPeriodMs);
    }
    return true;
}

void press(QAbstractButton *button)
{
    emit button->pressed();
}

} // namespace

WindowDriver::WindowDriver(BasicWindow *window) : QObject(window), window(window), poll(this)
{
    connect(&poll, &QTimer::timeout, this, &WindowDriver::closeStandingBox);
    poll.start(pollPeriodMs);
}

void WindowDriver::preferOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void WindowDriver::prepareApplication(const QString &toolName)
{
    ApplicationFont::install();
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("Tyrnholm"));
    QCoreApplication::setApplicationName(toolName);
}

void WindowDriver::closeStandingBox()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        box->done(QMessageBox::Ok);
        ++closed;
    } else if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
        dialog->setDirectory(directoryAnswer);
        QDialog *asked = dialog;
        if (directoryAnswer.isEmpty()) {
            asked->reject();
        } else {
            emit directoryAnswering();
            asked->accept();
        }
    }
}

bool WindowDriver::connectTo(const QString &port, int model, const QString &password, int timeoutMs)
{
    named<QComboBox>(window, "modelBox")->setCurrentIndex(model);
    named<QComboBox>(window, "portBox")->setEditText(port);
    auto *auth = named<QGroupBox>(window, "authGroup");
    auth->findChild<QLineEdit *>(QStringLiteral("passwordEdit"))->setText(password);
    press(named<QPushButton>(window, "connectButton"));
    auto *request = named<QPushButton>(window, "requestButton");
    return waitFor([request] { return request->isEnabled(); }, timeoutMs);
}

bool WindowDriver::readSettings(int timeoutMs)
{
    const int before = closed;
    press(named<QPushButton>(window, "requestButton"));
    return waitFor([this, before] { return closed > before; }, timeoutMs);
}

void WindowDriver::startLogStream()
{
    auto *logs = named<QWidget>(window, "logsPage");
    // The Signal tab, shown at start, may have turned it on already.
    auto *show = logs->findChild<QCheckBox *>(QStringLiteral("showBox"));
    if (show && !show->isChecked())
        show->click();
}
