#include "window/connectionpanel.h"

#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include <iterator>

namespace {

const QRect logoGeometry(8, 5, 141, 121);
const QRect portGeometry(10, 140, 101, 24);
const QRect refreshGeometry(120, 140, 24, 24);
const QRect modelLabelGeometry(10, 170, 51, 24);
const QRect modelGeometry(72, 170, 71, 24);
const QRect authGeometry(10, 200, 131, 121);
const QRect expandAuthGeometry(105, 4, 24, 11);
const QRect loginLabelGeometry(10, 20, 113, 20);
const QRect loginGeometry(10, 40, 113, 24);
const QRect passwordLabelGeometry(10, 70, 90, 20);
const QRect passwordGeometry(10, 90, 113, 24);
const QRect showPasswordGeometry(102, 67, 24, 24);
constexpr int leftColumnX = 10;
constexpr int buttonWidthPx = 131;
constexpr int buttonHeightPx = 24;
constexpr int iconButtonSidePx = 24;
constexpr int expandedAuthHeightPx = 121;
constexpr int collapsedAuthHeightPx = 21;
constexpr int connectExpandedY = 330;
constexpr int disconnectExpandedY = 360;
constexpr int connectCollapsedY = 230;
constexpr int disconnectCollapsedY = 260;
// Two rows under the disconnect button.
constexpr int stateLineBelowDisconnectPx = 30;
constexpr int stateLineWidthPx = 141;
constexpr int stateLineHeightPx = 32;

const QString logoPicture = QStringLiteral(":/Logo/LogoRU.png");
const QString refreshPicture = QStringLiteral(":/Pictures/Refresh.png");
const QString hidePasswordPicture = QStringLiteral(":/Pictures/HidePwd.png");
const QString showPasswordPicture = QStringLiteral(":/Pictures/ShowPwd.png");

QString themed(const QString &path, ColorScheme::Scheme scheme)
{
    if (scheme != ColorScheme::Dark)
        return path;
    QString dark = path;
    return dark.insert(dark.lastIndexOf(QLatin1Char('.')), QStringLiteral("_w"));
}

QPushButton *makeButton(const QString &text, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

ConnectionPanel::ConnectionPanel(QWidget *window) : QObject(window)
{
    logoLabel = new QLabel(window);
    logoLabel->setObjectName(QStringLiteral("logoLabel"));
    logoLabel->setGeometry(logoGeometry);

    createAuthForm(window);
    modelLabel = new QLabel(tr("Модель:"), window);
    modelLabel->setGeometry(modelLabelGeometry);

    // Editable, so that any device path (a symbolic link, a pseudo-terminal) can be typed.
    portBox = new QComboBox(window);
    portBox->setObjectName(QStringLiteral("portBox"));
    portBox->setEditable(true);
    portBox->setInsertPolicy(QComboBox::NoInsert);
    portBox->setGeometry(portGeometry);

    // The item's data is the model's line speed.
    models = new QComboBox(window);
    models->setObjectName(QStringLiteral("modelBox"));
    models->setGeometry(modelGeometry);
    const char *const modelNames[]
            = {QT_TR_NOOP("ТК-0"), QT_TR_NOOP("ТК-1"), QT_TR_NOOP("ТК-3"), QT_TR_NOOP("ТК-3Max")};
    for (int code = 0; code < int(std::size(modelNames)); ++code)
        models->addItem(tr(modelNames[code]), GatewaySession::baudRateOf(code));

    refreshButton = makeButton(QString(), QStringLiteral("refreshButton"), window);
    refreshButton->setGeometry(refreshGeometry);
    connectPress = makeButton(tr("Подключиться"), QStringLiteral("connectButton"), window);
    connectPress->setGeometry(leftColumnX, connectExpandedY, buttonWidthPx, buttonHeightPx);
    disconnectPress = makeButton(tr("Отключиться"), QStringLiteral("disconnectButton"), window);
    disconnectPress->setGeometry(leftColumnX, disconnectExpandedY, buttonWidthPx, buttonHeightPx);
    disconnectPress->setEnabled(false);
    stateLine = new ConnectionStateLine(window);
    stateLine->setGeometry(leftColumnX, disconnectExpandedY + stateLineBelowDisconnectPx,
                           stateLineWidthPx, stateLineHeightPx);
    for (QPushButton *button : {refreshButton, showPasswordButton})
        button->setIconSize(QSize(iconButtonSidePx, iconButtonSidePx) * 3 / 4);

    ports = new PortChooser(portBox, this);
    refreshPortList();

    connect(passwordEdit, &QLineEdit::returnPressed, this, &ConnectionPanel::connectRequested);
    connect(connectPress, &QPushButton::pressed, this, &ConnectionPanel::connectRequested);
    connect(disconnectPress, &QPushButton::pressed, this, &ConnectionPanel::disconnectRequested);
    connect(expandAuthButton, &QPushButton::pressed, this, &ConnectionPanel::expandAuthForm);
    connect(showPasswordButton, &QPushButton::pressed, this, &ConnectionPanel::editViewPassGateway);
    connect(refreshButton, &QPushButton::pressed, this, &ConnectionPanel::refreshPortList);
}

void ConnectionPanel::createAuthForm(QWidget *window)
{
    authGroup = new QGroupBox(tr("Авторизация"), window);
    authGroup->setObjectName(QStringLiteral("authGroup"));
    authGroup->setGeometry(authGeometry);
    loginLabel = new QLabel(tr("Логин"), authGroup);
    loginLabel->setGeometry(loginLabelGeometry);
    passwordLabel = new QLabel(tr("Пароль"), authGroup);
    passwordLabel->setGeometry(passwordLabelGeometry);

    loginEdit = new QLineEdit(QStringLiteral("root"), authGroup);
    loginEdit->setObjectName(QStringLiteral("loginEdit"));
    loginEdit->setClearButtonEnabled(true);
    loginEdit->setGeometry(loginGeometry);
    passwordEdit = new QLineEdit(authGroup);
    passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    passwordEdit->setEchoMode(QLineEdit::Password);
    passwordEdit->setClearButtonEnabled(true);
    passwordEdit->setGeometry(passwordGeometry);

    showPasswordButton = new QPushButton(authGroup);
    showPasswordButton->setObjectName(QStringLiteral("showPasswordButton"));
    showPasswordButton->setGeometry(showPasswordGeometry);
    showPasswordButton->setFlat(true);
    expandAuthButton = new QPushButton(authGroup);
    expandAuthButton->setObjectName(QStringLiteral("expandAuthButton"));
    expandAuthButton->setGeometry(expandAuthGeometry);
}

QByteArray ConnectionPanel::loginBytes() const
{
    return loginEdit->text().toUtf8() + QByteArrayLiteral("\r");
}

QByteArray ConnectionPanel::passwordBytes() const
{
    return passwordEdit->text().toUtf8() + QByteArrayLiteral("\r");
}

// An attempt can be cancelled, or started anew, for as long as it runs.
void ConnectionPanel::setSessionRunning(bool running, bool cancellable)
{
    // The list was not followed while the session ran.
    if (!running && !portBox->isEnabled())
        ports->refresh();
    for (QWidget *control : {static_cast<QWidget *>(portBox), static_cast<QWidget *>(refreshButton),
                             static_cast<QWidget *>(models), static_cast<QWidget *>(authGroup),
                             static_cast<QWidget *>(connectPress)})
        control->setEnabled(!running);
    disconnectPress->setEnabled(running || cancellable);
}

void ConnectionPanel::showSession(GatewaySession::State state, bool lost, const QString &model,
                                  const QString &adapter)
{
    using Line = ConnectionStateLine::State;
    switch (state) {
    case GatewaySession::State::Disconnected:
        stateLine->setState(lost ? Line::Lost : Line::NotConnected);
        return;
    case GatewaySession::State::Connecting:
    case GatewaySession::State::LoggingIn:
    case GatewaySession::State::Reconnecting:
        stateLine->setState(Line::Connecting);
        return;
    case GatewaySession::State::Rebooting:
        stateLine->setState(Line::Rebooting);
        return;
    case GatewaySession::State::WaitingForAdapter:
        stateLine->setState(Line::WaitingForAdapter);
        return;
    default:
        stateLine->setState(Line::Connected, model, adapter);
        return;
    }
}

void ConnectionPanel::setScheme(ColorScheme::Scheme scheme)
{
    logoLabel->setPixmap(QPixmap(tr(themed(logoPicture, scheme).toLatin1().constData())));
    refreshButton->setIcon(QIcon(themed(refreshPicture, scheme)));
    showPasswordButton->setIcon(QIcon(themed(hidePasswordPicture, scheme)));
}

void ConnectionPanel::expandAuthForm()
{
    int connectY = 0;
    int disconnectY = 0;
    if (authGroup->height() == collapsedAuthHeightPx) {
        authGroup->resize(authGeometry.width(), expandedAuthHeightPx);
        connectY = connectExpandedY;
        disconnectY = disconnectExpandedY;
    } else if (authGroup->height() == expandedAuthHeightPx) {
        authGroup->resize(authGeometry.width(), collapsedAuthHeightPx);
        connectY = connectCollapsedY;
        disconnectY = disconnectCollapsedY;
    } else {
        return;
    }
    connectPress->move(leftColumnX, connectY);
    disconnectPress->move(leftColumnX, disconnectY);
    stateLine->move(leftColumnX, disconnectY + stateLineBelowDisconnectPx);
}

void ConnectionPanel::editViewPassGateway()
{
    const ColorScheme::Scheme scheme = ColorScheme::current();
    if (passwordEdit->echoMode() == QLineEdit::Password) {
        passwordEdit->setEchoMode(QLineEdit::Normal);
        showPasswordButton->setIcon(QIcon(themed(showPasswordPicture, scheme)));
    } else if (passwordEdit->echoMode() == QLineEdit::Normal) {
        passwordEdit->setEchoMode(QLineEdit::Password);
        showPasswordButton->setIcon(QIcon(themed(hidePasswordPicture, scheme)));
    }
}
