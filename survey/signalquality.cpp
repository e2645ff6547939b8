#include "survey/signalquality.h"

#include <QtGlobal>

// Source: SNR floors from Semtech's SX1276/SX1301 datasheets (BW 125 kHz); RSSI bands and margins
// are the usual LoRaWAN field rule.
namespace {
constexpr int lowestFactor = 5;
constexpr int highestFactor = 12;
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
    if (spreadingFactor < lowestFactor || spreadingFactor > highestFactor)
        spreadingFactor = referenceFactor;
    return referenceFloorDb - floorStepDb * (spreadingFactor - referenceFactor);
}
