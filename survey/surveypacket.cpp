#include "survey/surveypacket.h"

QString SurveyPacket::dataRate() const
{
    if (spreadingFactor > 0)
        return QStringLiteral("SF%1BW%2").arg(spreadingFactor).arg(bandwidthKhz);
    return QString::number(bitRate);
}
