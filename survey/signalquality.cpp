#include "survey/signalquality.h"

#include "survey/surveypacket.h"

// Source: SNR floors, Semtech SX1276/SX1301 datasheets; RSSI bands, common LoRaWAN practice.
namespace {
constexpr int referenceFactor = 7;
constexpr double referenceFloorDb = -7.5;
constexpr double floorStepDb = 2.5;
} // namespace

SignalQuality::Level SignalQuality::ofRssi(double rssiDbm)
{
    if (rssiDbm >= rssiGoodDbm)
        return Good;
    return rssiDbm >= rssiFairDbm ? Fair : Poor;
}

SignalQuality::Level SignalQuality::ofSnr(double snrDb, int spreadingFactor)
{
    const double margin = snrDb - demodulationFloorDb(spreadingFactor);
    if (margin >= snrGoodMarginDb)
        return Good;
    return margin >= snrFairMarginDb ? Fair : Poor;
}

double SignalQuality::demodulationFloorDb(int spreadingFactor)
{
    if (spreadingFactor < SurveyPacket::lowestSpreadingFactor
        || spreadingFactor > SurveyPacket::highestSpreadingFactor)
        spreadingFactor = referenceFactor;
    return referenceFloorDb - floorStepDb * (spreadingFactor - referenceFactor);
}
