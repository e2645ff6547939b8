#include "lora/othersettings.h"

#include "lora/tyrnserverbox.h"
#include "pagekit/fieldkeys.h"
#include "pagekit/resizescale.h"

#include <QCheckBox>

namespace {
const QString serverGroupKey = QStringLiteral("400");
}

OtherSettings::OtherSettings(QObject *parent)
    : QWidget(qobject_cast<QWidget *>(parent)),
      serverBox(new TyrnServerBox(tr("Настройки локального IoT Tyrn Server"), this))
{
    serverBox->setObjectName(QStringLiteral("serverBox"));
    FieldKeys::setGroup(serverBox, serverGroupKey);
    serverBox->setGeometry(20, 10, TyrnServerBox::referenceWidthPx,
                           TyrnServerBox::referenceHeightPx);
    connect(serverBox->useServerBox(), &QCheckBox::stateChanged, this,
            &OtherSettings::setLocalServerIdintity);
}

void OtherSettings::setSettings(QJsonObject group)
{
    serverBox->setSettings(group);
}

QJsonObject OtherSettings::getSettings() const
{
    return {{serverGroupKey, serverBox->getSettings()}};
}

void OtherSettings::attachLink(SPortConnector *link)
{
    serverBox->attachLink(link);
}

void OtherSettings::detachLink()
{
    serverBox->detachLink();
}

void OtherSettings::setLocalServerIdintity(int state)
{
    emit usingLocalServer(state != 0);
}

void OtherSettings::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const ResizeScale s(QSize(referenceWidthPx, referenceHeightPx), size());
    serverBox->setGeometry(20, 10, s.x(TyrnServerBox::referenceWidthPx),
                           s.y(TyrnServerBox::referenceHeightPx));
}
