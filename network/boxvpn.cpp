#include "network/boxvpn.h"

#include "link/sportconnector.h"
#include "pagekit/resizescale.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QResizeEvent>
#include <QStringDecoder>
#include <QUrl>

namespace {

constexpr int referenceWidth = 651;
constexpr int referenceHeight = 141;
constexpr int rowHeight = 24;
constexpr int topRowY = 30;
constexpr int pathFieldX = 210;
constexpr int pathFieldWidth = 391;
constexpr int browseGap = 9;
constexpr int browseWidth = 31;
constexpr int buttonX = 10;
constexpr int buttonWidth = 141;
constexpr int listX = 170;
constexpr int runRowY = 70;
constexpr int activateRowY = 100;
constexpr int hintWidth = 221;
constexpr int listWidth = 331;

constexpr int warningMessage = 2;
constexpr int criticalMessage = 3;
constexpr int darkScheme = 2;

// Reported state: units digit = running, tens digit = activated.
constexpr int stateIdle = 0;
constexpr int stateRunning = 1;
constexpr int stateActivated = 10;
constexpr int stateActivatedRunning = 11;

const char *const fileEndMarker = "((EOF))";
// OpenVPN files are a few kilobytes; a larger file is not one, and would hold
// the console for minutes.
constexpr qint64 maxUploadBytes = 1024 * 1024;

// Paths typed or dropped on Windows keep backslashes; the link takes the file
// name after the last "/".
QString withForwardSlashes(QString path)
{
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

} // namespace

BoxVPN::BoxVPN(const QString &title, const QRect &geometry, QWidget *parent) : QGroupBox(parent)
{
    setTitle(title);
    setGeometry(geometry);
    setAcceptDrops(true);

    fileLabel = new QLabel(tr("Файл настроек VPN"), this);
    fileLabel->setGeometry(10, topRowY, 131, rowHeight);

    sendButton = new QPushButton(this);
    sendButton->setObjectName(QStringLiteral("sendButton"));
    sendButton->setGeometry(170, topRowY, 24, rowHeight);
    sendButton->setIcon(QIcon(QStringLiteral(":/Pictures/SendToGW.png")));

    pathField = new QLineEdit(this);
    pathField->setObjectName(QStringLiteral("pathField"));
    pathField->setGeometry(pathFieldX, topRowY, pathFieldWidth, rowHeight);

    browseButton = new QPushButton(QStringLiteral("..."), this);
    browseButton->setObjectName(QStringLiteral("browseButton"));
    browseButton->setGeometry(pathFieldX + pathFieldWidth + browseGap, topRowY, browseWidth,
                              rowHeight);

    runButton = new QPushButton(tr("Запустить OVPN"), this);
    runButton->setObjectName(QStringLiteral("runButton"));
    runButton->setGeometry(buttonX, runRowY, buttonWidth, rowHeight);
    runButton->setEnabled(false);

    activateButton = new QPushButton(tr("Активировать OVPN"), this);
    activateButton->setObjectName(QStringLiteral("activateButton"));
    activateButton->setGeometry(buttonX, activateRowY, buttonWidth, rowHeight);
    activateButton->setEnabled(false);

    hintLabel = new QLabel(tr("Выберете конфигурацию для запуска."), this);
    hintLabel->setGeometry(listX, runRowY, hintWidth, rowHeight);

    configList = new QComboBox(this);
    configList->setObjectName(QStringLiteral("configList"));
    configList->setGeometry(listX, activateRowY, listWidth, rowHeight);

    connect(browseButton, &QPushButton::pressed, this, &BoxVPN::searchOVPNFile);
}

void BoxVPN::attachLink(SPortConnector *newLink)
{
    if (!newLink)
        return;
    // A second attach must not double every request.
    detachLink();
    link = newLink;
    linkConnections = {
            connect(newLink, &SPortConnector::openVPNState, this, &BoxVPN::changeOpenVPNState),
            connect(sendButton, &QPushButton::pressed, this, &BoxVPN::runSendingOVPNFileToGW),
            connect(runButton, &QPushButton::pressed, this, &BoxVPN::runOVPN),
            connect(activateButton, &QPushButton::pressed, this, &BoxVPN::activateOVPN),
            connect(configList, &QComboBox::currentTextChanged, this, &BoxVPN::getOVPNState),
            connect(newLink, &SPortConnector::uploadEnded, this, &BoxVPN::finishUpload),
    };
}

void BoxVPN::detachLink()
{
    if (linkConnections.isEmpty() && !link)
        return;
    for (const QMetaObject::Connection &connection : std::as_const(linkConnections))
        disconnect(connection);
    linkConnections.clear();
    if (link)
        disconnect(link, &SPortConnector::readyToGetOVPN, this, &BoxVPN::sendOVPNDataFile);
    link = nullptr;
    // No link, no upload left to wait for.
    sendButton->setEnabled(true);
}

void BoxVPN::setConfigList(const QStringList &names)
{
    configList->clear();
    configList->addItems(names);
}

void BoxVPN::setThemeIcons(int colorScheme)
{
    sendButton->setIcon(QIcon(colorScheme == darkScheme
                                      ? QStringLiteral(":/Pictures/SendToGW_w.png")
                                      : QStringLiteral(":/Pictures/SendToGW.png")));
}

void BoxVPN::resizeEvent(QResizeEvent *event)
{
    const ResizeScale scale(QSize(referenceWidth, referenceHeight), event->size(),
                            ResizeScale::Rounding::None);
    const int pathWidth = scale.x(pathFieldWidth);
    pathField->setGeometry(pathFieldX, topRowY, pathWidth, rowHeight);
    browseButton->setGeometry(pathFieldX + pathWidth + browseGap, topRowY, browseWidth, rowHeight);
    runButton->move(buttonX, scale.y(runRowY));
    hintLabel->move(listX, scale.y(runRowY));
    activateButton->move(buttonX, scale.y(activateRowY));
    configList->setGeometry(listX, scale.y(activateRowY), scale.x(listWidth), rowHeight);
    QGroupBox::resizeEvent(event);
}

void BoxVPN::dragEnterEvent(QDragEnterEvent *event)
{
    event->acceptProposedAction();
}

void BoxVPN::dragMoveEvent(QDragMoveEvent *event)
{
    event->acceptProposedAction();
}

void BoxVPN::dropEvent(QDropEvent *event)
{
    const QMimeData *data = event->mimeData();
    if (data && data->hasUrls() && !data->urls().isEmpty()) {
        const QString path = withForwardSlashes(data->urls().constFirst().toLocalFile());
        const bool accepted = path.contains(QLatin1String(".ovpn"))
                || path.contains(QLatin1String(".crt")) || path.contains(QLatin1String(".key"))
                || path.contains(QLatin1String(".conf"));
        if (accepted)
            pathField->setText(path);
        else
            emit showDialogMessage(
                    criticalMessage, tr("Ошибка"),
                    tr("Файлы настроек должны иметь расширение .ovpn, .crt, .key, .conf"));
    }
    event->acceptProposedAction();
}

void BoxVPN::searchOVPNFile()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Выберете файлы настроек"),
                                                      QCoreApplication::applicationDirPath(),
                                                      tr("OPVN Conf(*.ovpn *.crt *.key *.conf)"));
    if (!path.isEmpty())
        pathField->setText(withForwardSlashes(path));
}

void BoxVPN::runSendingOVPNFileToGW()
{
    if (pathField->text().isEmpty()) {
        emit showDialogMessage(criticalMessage, tr("Ошибка"), tr("Выберете файл для отправки."));
        return;
    }
    // A second announcement would reach the gateway inside the first file.
    if (!link || link->isUploading())
        return;
    // Refused before the gateway hears of the file.
    QByteArray body;
    if (!readUploadBody(pathField->text(), body))
        return;
    link->runOVPNFileToGW(pathField->text());
    if (!link || !link->isUploading())
        return;
    sendButton->setEnabled(false);
    connect(link, &SPortConnector::readyToGetOVPN, this, &BoxVPN::sendOVPNDataFile,
            Qt::UniqueConnection);
}

void BoxVPN::sendOVPNDataFile()
{
    if (!link)
        return;
    disconnect(link, &SPortConnector::readyToGetOVPN, this, &BoxVPN::sendOVPNDataFile);
    // The path may have changed, or the file with it, since the announcement.
    QByteArray body;
    if (readUploadBody(pathField->text(), body))
        link->sendOVPNFileToGW(body);
}

// Delivered, refused or given up: the next file may go.
void BoxVPN::finishUpload()
{
    sendButton->setEnabled(true);
    if (link)
        disconnect(link, &SPortConnector::readyToGetOVPN, this, &BoxVPN::sendOVPNDataFile);
}

void BoxVPN::runOVPN()
{
    if (link && configSelectedOrWarn())
        link->runOVPNConfig(configList->currentText());
}

void BoxVPN::activateOVPN()
{
    if (link && configSelectedOrWarn())
        link->activateOVPNConfig(configList->currentText());
}

void BoxVPN::getOVPNState(QString Text)
{
    if (link)
        link->requestOVPNState(Text);
}

void BoxVPN::changeOpenVPNState(int State)
{
    switch (State) {
    case stateIdle:
        runButton->setEnabled(true);
        activateButton->setEnabled(true);
        break;
    case stateRunning:
        runButton->setEnabled(false);
        activateButton->setEnabled(true);
        break;
    case stateActivated:
        runButton->setEnabled(true);
        activateButton->setEnabled(false);
        break;
    case stateActivatedRunning:
        runButton->setEnabled(false);
        activateButton->setEnabled(false);
        break;
    default:
        break;
    }
}

bool BoxVPN::readUploadBody(const QString &path, QByteArray &body)
{
    const auto refuse = [this, &path](const QString &reason) {
        emit showDialogMessage(warningMessage, tr("Ошибка"),
                               tr("Файл %1 не отправлен: %2").arg(path, reason));
        return false;
    };
    const QFileInfo info(path);
    // A pipe or a device would block the reading for ever: never open one.
    if (info.exists() && !info.isFile())
        return refuse(tr("это не обычный файл."));
    if (info.size() > maxUploadBytes)
        return refuse(tr("он больше 1 МиБ."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        // The gateway may already wait for a body that will not come; the operator must know why.
        emit showDialogMessage(criticalMessage, tr("Ошибка"),
                               tr("Не удалось открыть файл %1 для отправки.").arg(path));
        return false;
    }
    const QByteArray data = file.read(maxUploadBytes + 1);
    file.close();
    if (data.size() > maxUploadBytes)
        return refuse(tr("он больше 1 МиБ."));
    // Invalid bytes would silently become U+FFFD on the way; stateless, so that a
    // sequence cut off at the end counts too.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(data);
    if (decoder.hasError() || data.contains('\0'))
        return refuse(tr("это не текст в кодировке UTF-8."));
    text.remove(QLatin1Char('\r'));
    body = text.toUtf8();
    // The marker inside would end the file early on the gateway.
    if (body.contains(fileEndMarker))
        return refuse(tr("он содержит метку конца файла ((EOF))."));
    body.append(fileEndMarker);
    return true;
}

bool BoxVPN::configSelectedOrWarn()
{
    if (!configList->currentText().isEmpty())
        return true;
    emit showDialogMessage(warningMessage, tr("Ошибка"), tr("Не выбрана конфигурация для запуска"));
    return false;
}
