#include "lora/tyrnserverbox.h"

#include "link/sportconnector.h"
#include "pagekit/fieldkeys.h"
#include "pagekit/resizescale.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace {
const QString loginKey = QStringLiteral("410");
const QString passwordKey = QStringLiteral("420");
const QString networkIdKey = QStringLiteral("430");
const QString subnetIdKey = QStringLiteral("440");
const QString databaseKey = QStringLiteral("450");

constexpr int resizedServiceBoxWidthPx = 183;
constexpr int labelHeightPx = 21;
constexpr int fieldHeightPx = 24;
} // namespace

TyrnServerBox::TyrnServerBox(const QString &title, QWidget *parent)
    : QGroupBox(title, parent),
      useBox(new QCheckBox(tr("Использовать локальный LoRaWAN-сервер"), this)),
      serviceBox(new QCheckBox(tr("Служба сервера запущена"), this)),
      startButton(new QPushButton(tr("Запустить сервер"), this)),
      loginLabel(new QLabel(tr("Логин"), this)), loginEdit(new QLineEdit(this)),
      passwordLabel(new QLabel(tr("Пароль"), this)), passwordEdit(new QLineEdit(this)),
      networkIdLabel(new QLabel(tr("Идетификатор сети LoRa"), this)),
      networkIdEdit(new QLineEdit(this)),
      subnetIdLabel(new QLabel(tr("Идетификатор подсети LoRa"), this)),
      subnetIdEdit(new QLineEdit(this)), databaseLabel(new QLabel(tr("Путь до базы данных"), this)),
      databaseEdit(new QLineEdit(this)),
      unshownKeys({loginKey, passwordKey, networkIdKey, subnetIdKey, databaseKey})
{
    useBox->setObjectName(QStringLiteral("useBox"));
    useBox->setGeometry(20, 30, 311, 24);
    serviceBox->setObjectName(QStringLiteral("serviceBox"));
    serviceBox->setGeometry(530, 20, 171, 24);
    startButton->setObjectName(QStringLiteral("startButton"));
    startButton->setGeometry(730, 20, 121, 24);

    loginLabel->setGeometry(20, 90, 51, labelHeightPx);
    loginEdit->setObjectName(QStringLiteral("loginEdit"));
    loginEdit->setGeometry(90, 90, 111, fieldHeightPx);
    passwordLabel->setGeometry(20, 130, 51, labelHeightPx);
    passwordEdit->setObjectName(QStringLiteral("passwordEdit"));
    passwordEdit->setGeometry(90, 130, 111, fieldHeightPx);
    networkIdLabel->setGeometry(230, 90, 141, labelHeightPx);
    networkIdEdit->setObjectName(QStringLiteral("networkIdEdit"));
    networkIdEdit->setGeometry(390, 90, 91, fieldHeightPx);
    subnetIdLabel->setGeometry(520, 90, 161, labelHeightPx);
    subnetIdEdit->setObjectName(QStringLiteral("subnetIdEdit"));
    subnetIdEdit->setGeometry(700, 90, 91, fieldHeightPx);
    databaseLabel->setGeometry(230, 130, 121, labelHeightPx);
    databaseEdit->setObjectName(QStringLiteral("databaseEdit"));
    databaseEdit->setGeometry(390, 130, 401, fieldHeightPx);

    const QList<std::pair<QWidget *, QString>> fieldKeys{{loginEdit, loginKey},
                                                         {passwordEdit, passwordKey},
                                                         {networkIdEdit, networkIdKey},
                                                         {subnetIdEdit, subnetIdKey},
                                                         {databaseEdit, databaseKey}};
    for (const auto &[field, key] : fieldKeys)
        FieldKeys::setKeys(field, {key});
}

void TyrnServerBox::setSettings(QJsonObject group)
{
    loginEdit->setText(group.value(loginKey).toString());
    passwordEdit->setText(group.value(passwordKey).toString());
    networkIdEdit->setText(group.value(networkIdKey).toString());
    subnetIdEdit->setText(group.value(subnetIdKey).toString());
    databaseEdit->setText(group.value(databaseKey).toString());
    unshownKeys.keepFrom(group);
}

QJsonObject TyrnServerBox::getSettings() const
{
    return unshownKeys.addedTo({{loginKey, loginEdit->text()},
                                {passwordKey, passwordEdit->text()},
                                {networkIdKey, networkIdEdit->text()},
                                {subnetIdKey, subnetIdEdit->text()},
                                {databaseKey, databaseEdit->text()}});
}

void TyrnServerBox::attachLink(SPortConnector *link)
{
    // A second attach must not double the commands.
    detachLink();
    if (!link)
        return;
    this->link = link;
    buttonConnection
            = connect(startButton, &QPushButton::pressed, this, &TyrnServerBox::startLocalServer);
    connectServiceBox();
    stateConnection = connect(link, &SPortConnector::serverStatusResponse, this,
                              &TyrnServerBox::setLocalServerState);
}

void TyrnServerBox::detachLink()
{
    disconnect(buttonConnection);
    disconnect(serviceConnection);
    disconnect(stateConnection);
    link = nullptr;
}

void TyrnServerBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        if (QWidget *focused = QApplication::focusWidget())
            focused->clearFocus();
    }
    QGroupBox::mousePressEvent(event);
}

void TyrnServerBox::resizeEvent(QResizeEvent *event)
{
    QGroupBox::resizeEvent(event);
    const ResizeScale s(QSize(referenceWidthPx, referenceHeightPx), size());

    serviceBox->setGeometry(s.x(530), 20, resizedServiceBoxWidthPx, fieldHeightPx);
    startButton->setGeometry(s.x(730), 20, 121, fieldHeightPx);

    const int firstRowY = s.y(90);
    loginLabel->setGeometry(20, firstRowY, 51, labelHeightPx);
    loginEdit->setGeometry(90, firstRowY, s.x(111), fieldHeightPx);
    networkIdLabel->setGeometry(s.x(230), firstRowY, 141, labelHeightPx);
    networkIdEdit->setGeometry(s.x(390), firstRowY, s.x(91), fieldHeightPx);
    subnetIdLabel->setGeometry(s.x(520), firstRowY, 161, labelHeightPx);
    subnetIdEdit->setGeometry(s.x(700), firstRowY, 91, fieldHeightPx);

    const int secondRowY = s.y(130);
    passwordLabel->setGeometry(20, secondRowY, 51, labelHeightPx);
    passwordEdit->setGeometry(90, secondRowY, s.x(111), fieldHeightPx);
    databaseLabel->setGeometry(s.x(230), secondRowY, 121, labelHeightPx);
    databaseEdit->setGeometry(s.x(390), secondRowY, s.x(401), fieldHeightPx);
}

void TyrnServerBox::startLocalServer()
{
    if (!link)
        return;
    const QString text = startButton->text();
    if (text == tr("Запустить сервер"))
        link->localServerStartRequest(true);
    else if (text == tr("Остановить сервер"))
        link->localServerStartRequest(false);
}

void TyrnServerBox::setLocalServerState(bool Enable, bool Start)
{
    // A reported state must never travel back to the gateway as a command.
    disconnect(serviceConnection);
    serviceBox->setChecked(Enable);
    startButton->setText(Start ? tr("Остановить сервер") : tr("Запустить сервер"));
    connectServiceBox();
}

void TyrnServerBox::connectServiceBox()
{
    if (!link)
        return;
    SPortConnector *target = link;
    serviceConnection = connect(serviceBox, &QCheckBox::stateChanged, target, [target](int state) {
        target->localServerEnableRequest(state != 0);
    });
}
