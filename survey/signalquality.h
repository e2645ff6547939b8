#pragma once

// Good, fair or poor for the figures an installer aims the antenna by; the one place
// that holds the bands.
class SignalQuality
{
public:
    enum Level { Poor, Fair, Good };

    static constexpr double rssiGoodDbm = -100;
    static constexpr double rssiFairDbm = -115;
    // SNR above the demodulation floor of the packet's spreading factor.
    static constexpr double snrGoodMarginDb = 10;
    static constexpr double snrFairMarginDb = 5;

    static Level ofRssi(double rssiDbm);
    static Level ofSnr(double snrDb, int spreadingFactor);
    // The lowest SNR the demodulator takes at that spreading factor (SF7 -7.5 dB up to
    // SF12 -20 dB); an unknown factor (FSK) gets the SF7 floor.
    static double demodulationFloorDb(int spreadingFactor);
};
