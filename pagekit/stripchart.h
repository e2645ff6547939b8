#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QWidget>

#include <vector>

// Values over time for several series told apart by colour, ending at a chosen time
// over a chosen span (1, 5 or 15 min). Each series is drawn as at most one min/max mark
// per pixel column, so that the cost of a redraw follows the width, not the points.
class StripChart : public QWidget
{
    Q_OBJECT

public:
    static constexpr qint64 minuteMs = 60 * 1000;
    // Points further back than this behind a series' newest are dropped.
    static constexpr qint64 keptSpanMs = 15 * minuteMs;
    // Bounds a series whose points all carry the same time (a saved log read at once).
    static constexpr int mostPointsPerSeries = 200000;
    // Old points are dropped this many at a time at least.
    static constexpr int trimBatch = 4096;

    explicit StripChart(QWidget *parent = nullptr);

    // Series are numbered from 0; a new number makes a new series.
    void addPoint(int series, qint64 timeMs, double value);
    void clear();
    int seriesCount() const;
    int pointCount(int series) const;

    void setSpanMs(qint64 spanMs);
    qint64 spanMs() const;
    // The right edge: the chart shows the times after end - span up to end.
    void setEndTime(qint64 endMs);
    qint64 endTime() const;
    // A fixed value axis; an empty range (low >= high) lets it follow the points shown.
    void setValueRange(double low, double high);
    // Shown above the value axis, e.g. "dBm".
    void setUnit(const QString &unit);

    // The series' colour in the widget's colour scheme (light or dark).
    QColor seriesColor(int series) const;
    // Where the points go, in widget coordinates; a time maps to its column linearly.
    QRect plotArea() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Point
    {
        qint64 timeMs;
        float value;
    };
    // Lowest and highest value in one pixel column of one series; low > high when empty.
    struct Column
    {
        float low;
        float high;
    };

    void gatherColumns(int columns);
    static std::vector<Point>::const_iterator firstAfter(const std::vector<Point> &points,
                                                         qint64 timeMs);
    // The range of the points shown, with a margin.
    void valueRangeShown(double *low, double *high) const;
    static QList<double> valueTicks(double low, double high);
    // How far back from the right edge the time lines stand.
    QList<qint64> timeTicks() const;
    static int valueY(double value, double low, double high, int height);
    void paintMarks(double low, double high);
    // Fills columns left..right-1 of rows top..bottom of the plot, clipped to it.
    void fillPlot(int left, int right, int top, int bottom, QRgb color);

    std::vector<std::vector<Point>> series;
    qint64 span = minuteMs;
    qint64 end = 0;
    double fixedLow = 0;
    double fixedHigh = 0;
    QString unit;
    // Per series, one entry per column of the last redraw; reused between redraws.
    std::vector<std::vector<Column>> columns;
    QImage plot;
};
