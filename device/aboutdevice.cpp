#include "device/aboutdevice.h"

#include "device/general.h"
#include "settings/settingshandlerandcollector.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

namespace {

// The page is laid out for this size; the box and the view take up the rest.
constexpr int referenceWidthPx = 905;
constexpr int referenceHeightPx = 582;

constexpr int marginPx = 10;
constexpr int boxWidthPx = 881;
constexpr int boxHeightPx = 241;
constexpr int viewTopY = 260;
constexpr int viewWidthPx = 681;
constexpr int viewHeightPx = 311;
constexpr int viewWrapColumns = 881;

constexpr int buttonX = 700;
constexpr int buttonWidthPx = 191;
constexpr int buttonHeightPx = 24;
constexpr int resetGatewayY = 487;
constexpr int resetLoRaY = 517;
constexpr int rebootY = 547;
constexpr int noteLabelY = 300;
constexpr int noteLabelHeightPx = 21;
constexpr int noteY = 322;
constexpr int noteHeightPx = 100;
constexpr int reportY = 430;

} // namespace

AboutDevice::AboutDevice()
    : clearLogsButton(new QPushButton(tr("Отчистить логи"), this)),
      resetGatewayButton(new QPushButton(tr("Сброс настроек базовой станции"), this)),
      resetLoRaButton(new QPushButton(tr("Сброс настроек LoRa"), this)),
      rebootButton(new QPushButton(tr("Перезагрузка базовой станции"), this)),
      rebootLogView(new QTextEdit(this)),
      infoBox(new General(tr("Общаяя информация об устройстве"),
                          QRect(marginPx, marginPx, boxWidthPx, boxHeightPx), this)),
      noteLabel(new QLabel(tr("Примечание установщика"), this)), noteEdit(new QPlainTextEdit(this)),
      reportButton(new QPushButton(tr("Отчёт о настройке"), this))
{
    clearLogsButton->setObjectName(QStringLiteral("clearLogsButton"));
    resetGatewayButton->setObjectName(QStringLiteral("resetGatewayButton"));
    resetLoRaButton->setObjectName(QStringLiteral("resetLoRaButton"));
    rebootButton->setObjectName(QStringLiteral("rebootButton"));
    rebootLogView->setObjectName(QStringLiteral("rebootLogView"));
    infoBox->setObjectName(QStringLiteral("infoBox"));
    noteEdit->setObjectName(QStringLiteral("noteEdit"));
    reportButton->setObjectName(QStringLiteral("reportButton"));

    rebootLogView->setReadOnly(true);
    rebootLogView->setAcceptRichText(true);
    rebootLogView->setLineWrapMode(QTextEdit::FixedColumnWidth);
    rebootLogView->setLineWrapColumnOrWidth(viewWrapColumns);

    resize(referenceWidthPx, referenceHeightPx);
    rebootLogView->setGeometry(marginPx, viewTopY, viewWidthPx, viewHeightPx);
    clearLogsButton->setGeometry(buttonX, viewTopY, buttonWidthPx, buttonHeightPx);
    resetGatewayButton->setGeometry(buttonX, resetGatewayY, buttonWidthPx, buttonHeightPx);
    resetLoRaButton->setGeometry(buttonX, resetLoRaY, buttonWidthPx, buttonHeightPx);
    rebootButton->setGeometry(buttonX, rebootY, buttonWidthPx, buttonHeightPx);
    noteLabel->setGeometry(buttonX, noteLabelY, buttonWidthPx, noteLabelHeightPx);
    noteEdit->setGeometry(buttonX, noteY, buttonWidthPx, noteHeightPx);
    reportButton->setGeometry(buttonX, reportY, buttonWidthPx, buttonHeightPx);

    connect(clearLogsButton, &QPushButton::pressed, rebootLogView, &QTextEdit::clear);

    lockServiceButtons();
}

void AboutDevice::setSettings()
{
    shownInfo = SettingsHandlerAndCollector::getInstance()->getDeviceInfo();
    infoBox->setDeviceInfo(shownInfo);
}

QString AboutDevice::installerNote() const
{
    return noteEdit->toPlainText().trimmed();
}

void AboutDevice::lockServiceButtons()
{
    setServiceButtonsEnabled(false);
}

void AboutDevice::unlockServiceButtons()
{
    setServiceButtonsEnabled(true);
}

void AboutDevice::setServiceButtonsEnabled(bool enabled)
{
    resetGatewayButton->setEnabled(enabled);
    resetLoRaButton->setEnabled(enabled);
    rebootButton->setEnabled(enabled);
}

void AboutDevice::Set_Reboot_Logs(QString Text)
{
    // Always at the end, wherever the operator left the cursor.
    QTextCursor cursor(rebootLogView->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(Text);
    QScrollBar *bar = rebootLogView->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void AboutDevice::resizeEvent(QResizeEvent *event)
{
    const int dw = width() - referenceWidthPx;
    const int dh = height() - referenceHeightPx;
    infoBox->setGeometry(marginPx, marginPx, boxWidthPx + dw, boxHeightPx);
    rebootLogView->setGeometry(marginPx, viewTopY, viewWidthPx + dw, viewHeightPx + dh);
    clearLogsButton->move(buttonX + dw, viewTopY);
    noteLabel->move(buttonX + dw, noteLabelY);
    noteEdit->move(buttonX + dw, noteY);
    reportButton->move(buttonX + dw, reportY);
    resetGatewayButton->move(buttonX + dw, resetGatewayY + dh);
    resetLoRaButton->move(buttonX + dw, resetLoRaY + dh);
    rebootButton->move(buttonX + dw, rebootY + dh);
    QWidget::resizeEvent(event);
}
