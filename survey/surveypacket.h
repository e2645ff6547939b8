#pragma once

#include <QString>
#include <QtGlobal>

#include <cmath>

// One rxpk entry of the packet forwarder, and when its text arrived here. Kept small
// and free of heap data, since the statistics hold a hundred thousand of them.
struct SurveyPacket
{
    enum Crc : qint8 { CrcBad = -1, NoCrc = 0, CrcOk = 1 };
    // LoRa's spreading factors; a datr outside them leaves spreadingFactor 0.
    static constexpr int lowestSpreadingFactor = 5;
    static constexpr int highestSpreadingFactor = 12;

    // Arrival time of the text on the caller's clock (ms); never used for the figures
    // a saved log must reproduce.
    qint64 heardMs = 0;
    qint32 frequencyHz = 0;
    float rssi = 0;
    // Absent (NaN) where the concentrator does not report them.
    float rssis = NAN;
    float snr = NAN;
    qint32 foffHz = 0;
    // LoRa, with spreadingFactor above 0; FSK with a bit rate.
    qint32 bandwidthKhz = 0;
    qint32 bitRate = 0;
    qint16 size = 0;
    qint8 chan = 0;
    qint8 rfch = 0;
    qint8 crc = CrcOk;
    qint8 spreadingFactor = 0;
    bool hasFoff = false;

    double frequencyMhz() const { return frequencyHz / 1e6; }
    bool hasRssis() const { return !std::isnan(rssis); }
    bool hasSnr() const { return !std::isnan(snr); }
    // CRC-bad packets are counted apart and left out of every median.
    bool counted() const { return crc != CrcBad; }
    // The datr text: "SF7BW125", or the FSK bit rate.
    QString dataRate() const;
};
