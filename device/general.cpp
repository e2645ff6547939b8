#include "device/general.h"

#include "pagekit/resizescale.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace {

// The box is laid out for this width; wider boxes spread the columns.
constexpr int referenceWidthPx = 881;

constexpr int leftCaptionX = 10;
constexpr int leftValueX = 185;
constexpr int leftArrowX = 370;
constexpr int rightArrowX = 396;
constexpr int separatorX = 428;
constexpr int rightCaptionX = 445;
constexpr int rightValueX = 630;

constexpr int firstRowY = 25;
constexpr int rowStepPx = 30;
constexpr int rowHeightPx = 24;
constexpr int captionWidthPx = 170;
constexpr int leftValueWidthPx = 180;
constexpr int rightValueWidthPx = 241;
constexpr int arrowSizePx = 24;
constexpr int arrowIconSizePx = 20;
constexpr int separatorWidthPx = 3;
constexpr int separatorTopY = 20;
constexpr int separatorHeightPx = 210;
constexpr int makerHeightPx = 62;

constexpr int rowY(int row)
{
    return firstRowY + row * rowStepPx;
}

} // namespace

General::General(QString title, QRect geometry, QWidget *parent) : QGroupBox(title, parent)
{
    setGeometry(geometry);

    addRow(tr("MAC адрес устройства:"), QStringLiteral("MAC"), leftCaptionX, leftValueX, rowY(0),
           true);

    ipCaption = addLabel(QString(), QRect(leftCaptionX, rowY(1), captionWidthPx, rowHeightPx),
                         QStringLiteral("ipCaption"));
    ipValue = addLabel(QString(), QRect(leftValueX, rowY(1), leftValueWidthPx, rowHeightPx),
                       QStringLiteral("ipValue"));
    ipValue->setTextFormat(Qt::PlainText);
    ipValue->setTextInteractionFlags(Qt::TextSelectableByMouse);

    leftArrow = new QPushButton(this);
    leftArrow->setObjectName(QStringLiteral("leftArrow"));
    leftArrow->setIcon(QIcon(QStringLiteral(":/Pictures/LeftSlide.png")));
    leftArrow->setGeometry(leftArrowX, rowY(1), arrowSizePx, arrowSizePx);
    rightArrow = new QPushButton(this);
    rightArrow->setObjectName(QStringLiteral("rightArrow"));
    rightArrow->setIcon(QIcon(QStringLiteral(":/Pictures/RightSlide.png")));
    rightArrow->setGeometry(rightArrowX, rowY(1), arrowSizePx, arrowSizePx);
    for (QPushButton *arrow : {leftArrow, rightArrow}) {
        arrow->setFlat(true);
        arrow->setIconSize(QSize(arrowIconSizePx, arrowIconSizePx));
        arrow->hide();
        placed.append({arrow, arrow->x()});
    }
    connect(leftArrow, &QPushButton::pressed, this, &General::shiftLeft);
    connect(rightArrow, &QPushButton::pressed, this, &General::shiftRight);

    addRow(tr("Модель устройства:"), QStringLiteral("Model"), leftCaptionX, leftValueX, rowY(2),
           false);
    addRow(tr("Ревизия:"), QStringLiteral("Revision"), leftCaptionX, leftValueX, rowY(3), false);
    addRow(tr("Печатная плата:"), QStringLiteral("PCB"), leftCaptionX, leftValueX, rowY(4), false);
    addRow(tr("Дата производства:"), QStringLiteral("Date"), leftCaptionX, leftValueX, rowY(5),
           false);

    auto *separator = new QFrame(this);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(separatorX, separatorTopY, separatorWidthPx, separatorHeightPx);
    placed.append({separator, separatorX});

    addRow(tr("Версия ядра приложения:"), QStringLiteral("CoreVer"), rightCaptionX, rightValueX,
           rowY(0), false);
    addRow(tr("Поддержка LTE:"), QStringLiteral("LTE"), rightCaptionX, rightValueX, rowY(1), false);
    addRow(tr("GNSS модуль:"), QStringLiteral("GNSS"), rightCaptionX, rightValueX, rowY(2), true);
    addRow(tr("GSM модуль:"), QStringLiteral("GSM"), rightCaptionX, rightValueX, rowY(3), true);
    addRow(tr("Версия релиза:"), QStringLiteral("Release_ver"), rightCaptionX, rightValueX, rowY(4),
           true);

    addLabel(tr("Производитель:"), QRect(rightCaptionX, rowY(5), captionWidthPx, rowHeightPx),
             QStringLiteral("makerCaption"));
    QLabel *maker = addLabel(tr("Tyrnholm, 000000,\nг. Образцовск, ул. Пробная, 1\n"
                                "+7 000 000-00-00\n+7 000 000-00-01"),
                             QRect(rightValueX, rowY(5), rightValueWidthPx, makerHeightPx),
                             QStringLiteral("makerValue"));
    maker->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    ipList.insert(tr("Текущий IP(eth0):"), QString());
    currentIp = ipList.firstKey();
    showCurrentIp();
}

QLabel *General::addLabel(const QString &text, const QRect &geometry, const QString &name)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(name);
    label->setGeometry(geometry);
    placed.append({label, geometry.x()});
    return label;
}

void General::addRow(const QString &caption, const QString &key, int captionX, int valueX, int y,
                     bool selectable)
{
    const int valueWidth = valueX == leftValueX ? leftValueWidthPx : rightValueWidthPx;
    addLabel(caption, QRect(captionX, y, captionWidthPx, rowHeightPx),
             key + QStringLiteral("Caption"));
    QLabel *value = addLabel(QString(), QRect(valueX, y, valueWidth, rowHeightPx),
                             key + QStringLiteral("Value"));
    // The gateway's texts are shown as they are, never interpreted as markup.
    value->setTextFormat(Qt::PlainText);
    if (selectable)
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    valueRows.append({key, value});
}

void General::setDeviceInfo(QJsonObject info)
{
    const QString ethCaption = tr("Текущий IP(eth0):");
    const QString wlanCaption = tr("Текущий IP(wlan0):");
    const QString pppCaption = tr("Текущий IP(ppp0):");
    const QString tunCaption = tr("Текущий IP(tun0):");

    const QString eth0 = info.value(QStringLiteral("eth0")).toString();
    const QString ppp0 = info.value(QStringLiteral("ppp0")).toString();
    const QString tun0 = info.value(QStringLiteral("tun0")).toString();

    if (eth0.isEmpty() && info.contains(QStringLiteral("wlan0"))) {
        ipList.insert(wlanCaption, info.value(QStringLiteral("wlan0")).toString());
        ipList.remove(ethCaption);
    } else {
        ipList.insert(ethCaption, eth0);
        ipList.remove(wlanCaption);
    }
    if (ppp0.isEmpty())
        ipList.remove(pppCaption);
    else
        ipList.insert(pppCaption, ppp0);
    if (tun0.isEmpty())
        ipList.remove(tunCaption);
    else
        ipList.insert(tunCaption, tun0);

    const bool several = ipList.size() > 1;
    leftArrow->setVisible(several);
    rightArrow->setVisible(several);

    currentIp = ipList.firstKey();
    showCurrentIp();

    for (const ValueRow &row : std::as_const(valueRows))
        row.value->setText(info.value(row.key).toString());
}

void General::shiftRight()
{
    auto entry = ipList.constFind(currentIp);
    if (entry != ipList.constEnd())
        ++entry;
    if (entry == ipList.constEnd())
        entry = ipList.constBegin();
    currentIp = entry.key();
    showCurrentIp();
}

void General::shiftLeft()
{
    auto entry = ipList.constFind(currentIp);
    if (entry == ipList.constBegin() || entry == ipList.constEnd())
        entry = ipList.constEnd();
    --entry;
    currentIp = entry.key();
    showCurrentIp();
}

void General::showCurrentIp()
{
    ipCaption->setText(currentIp);
    ipValue->setText(ipList.value(currentIp));
}

void General::resizeEvent(QResizeEvent *event)
{
    const double factor = ResizeScale::factor(width(), referenceWidthPx);
    for (const Placed &item : std::as_const(placed))
        item.widget->move(ResizeScale::scaled(factor, item.referenceX), item.widget->y());
    QGroupBox::resizeEvent(event);
}
