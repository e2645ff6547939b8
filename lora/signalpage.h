#pragma once

#include "survey/forwarderlogparser.h"
#include "survey/signalquality.h"
#include "survey/surveystatistics.h"

#include <QElapsedTimer>
#include <QString>
#include <QWidget>

#include <map>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QTimer;
class StripChart;

// The site survey tab: what the packet-forwarder log tells of the signal while an
// installer aims the antenna. The last packet's RSSI and SNR and the median of the
// newest packets, each good, fair or poor, with an arrow against the packets before;
// RSSI and SNR per packet over time, a line of colour per channel; a table per
// channel; the backhaul's acknowledgements. It reads every piece of the log it is
// given, but shows what it read at most once per refresh period.
//
// Its figures change several times a second. A label's new text lays out its page, and
// a page's layout is passed up to the window, where the tab widget repaints all of itself
// each time; so the page's widgets stand in an inner widget that the page places itself,
// and their layout ends there.
class SignalPage : public QWidget
{
    Q_OBJECT

public:
    static constexpr int refreshPeriodMs = 250;
    // A pause in the log longer than this is no part of the survey's duration.
    static constexpr qint64 longestGapMs = 60000;
    // Medians closer than this count as steady.
    static constexpr double steadyDb = 1.0;

    explicit SignalPage(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    const SurveyStatistics &statistics() const { return survey; }
    // How long the log ran since the reset, pauses left out.
    qint64 surveyDurationMs() const { return durationMs; }

signals:
    void showDialog(int index, QString Title, QString Text);

public slots:
    void takeLogText(const QString &text);
    void reset();
    // Asks where, then writes the CSV there.
    void exportCsv();
    // Every packet held, one row each; a box tells how it went.
    void writeCsv(const QString &path);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Milliseconds since the epoch, on a clock that never goes back.
    qint64 nowMs() const;
    void plot(const SurveyPacket &packet);
    void scheduleRefresh();
    void refresh();
    void fixLabelSizes();
    void showFigures();
    void showTables();
    void showAiming();
    void showFigure(QLabel *label, double value, const QString &unit, SignalQuality::Level level);
    void showTrend(QLabel *label, double recent, double earlier);
    void showChannels(qint64 now);
    void showBackhaul();
    QColor levelColor(SignalQuality::Level level) const;
    void setSpan(int index);

    SurveyStatistics survey;
    ForwarderLogParser parser;
    QElapsedTimer clock;
    qint64 clockEpochMs;
    qint64 durationMs = 0;
    qint64 lastTextMs = -1;
    // The chart's series of each frequency, in the order they were first heard.
    std::map<qint32, int> seriesOf;
    bool stale = false;

    QLabel *lastRssiLabel;
    QLabel *lastSnrLabel;
    QLabel *recentRssiLabel;
    QLabel *recentSnrLabel;
    QLabel *rssiTrend;
    QLabel *snrTrend;
    QLabel *countLabel;
    QComboBox *spanBox;
    QPushButton *resetButton;
    QPushButton *exportButton;
    StripChart *rssiChart;
    StripChart *snrChart;
    QTableWidget *channelTable;
    QLabel *backhaulLine;
    QTimer *refreshTimer;
    QTimer *tableTimer;
    QWidget *content;
};
