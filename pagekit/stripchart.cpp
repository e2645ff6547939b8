#include "pagekit/stripchart.h"

#include "pagekit/colorscheme.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Ten hues that stay apart from one another, in a darker set for a light background
// and a lighter set for a dark one.
constexpr QRgb lightSeries[] = {0x1f77b4, 0xd62728, 0x2ca02c, 0x9467bd, 0xff7f0e,
                                0x17becf, 0x8c564b, 0xe377c2, 0x7f7f7f, 0xbcbd22};
constexpr QRgb darkSeries[] = {0x6cb4ee, 0xff7b7b, 0x7be07b, 0xc7a6e8, 0xffb366,
                               0x5fe3f0, 0xd2a493, 0xf7b6d2, 0xc7c7c7, 0xe2e27a};
constexpr int seriesColors = int(std::size(lightSeries));

constexpr int markWidth = 2;
constexpr int markHeight = 2;
constexpr int labelGap = 4;
constexpr int valueLines = 5;
constexpr int timeLines = 6;
constexpr double padShare = 0.05;
constexpr int preferredWidth = 480;
constexpr int preferredHeight = 180;
constexpr int smallestWidth = 160;
constexpr int smallestHeight = 80;
constexpr qint64 secondMs = 1000;
constexpr qint64 secondsPerMinute = 60;
constexpr double gridShare = 0.15;
constexpr qint64 timeSteps[] = {10 * secondMs, 30 * secondMs, StripChart::minuteMs,
                                2 * StripChart::minuteMs, 5 * StripChart::minuteMs};

// The step of round numbers (1, 2 or 5 times a power of ten) that cuts the range into
// about that many parts.
double roundStep(double range, int parts)
{
    const double raw = range / parts;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0})
        if (raw <= factor * power)
            return factor * power;
    return 10 * power;
}

// The colour of over laid on under with that share of opacity.
QRgb blended(const QColor &under, const QColor &over, double share)
{
    return QColor::fromRgbF(float(under.redF() + (over.redF() - under.redF()) * share),
                            float(under.greenF() + (over.greenF() - under.greenF()) * share),
                            float(under.blueF() + (over.blueF() - under.blueF()) * share))
            .rgb();
}

} // namespace

StripChart::StripChart(QWidget *parent) : QWidget(parent) { }

void StripChart::addPoint(int seriesIndex, qint64 timeMs, double value)
{
    if (seriesIndex < 0 || std::isnan(value))
        return;
    if (seriesIndex >= int(series.size()))
        series.resize(size_t(seriesIndex) + 1);
    std::vector<Point> &points = series[size_t(seriesIndex)];
    const Point point{timeMs, float(value)};
    if (points.empty() || points.back().timeMs <= timeMs)
        points.push_back(point);
    else // a late point keeps the times in order, which the redraw's search relies on
        points.insert(firstAfter(points, timeMs), point);
    // Old points go in batches, so that a long series is not moved for every new point.
    const qint64 tooOld = points.back().timeMs - keptSpanMs;
    const auto kept = std::lower_bound(
            points.begin(), points.end(), tooOld,
            [](const Point &existing, qint64 time) { return existing.timeMs < time; });
    const qsizetype drop = std::max<qsizetype>(kept - points.begin(),
                                               qsizetype(points.size()) - mostPointsPerSeries);
    if (drop >= trimBatch)
        points.erase(points.begin(), points.begin() + drop);
}

void StripChart::clear()
{
    series.clear();
    update();
}

int StripChart::seriesCount() const
{
    return int(series.size());
}

int StripChart::pointCount(int seriesIndex) const
{
    return seriesIndex >= 0 && seriesIndex < seriesCount() ? int(series[size_t(seriesIndex)].size())
                                                           : 0;
}

void StripChart::setSpanMs(qint64 spanMs)
{
    span = qBound(secondMs, spanMs, keptSpanMs);
    update();
}

qint64 StripChart::spanMs() const
{
    return span;
}

void StripChart::setEndTime(qint64 endMs)
{
    end = endMs;
    update();
}

qint64 StripChart::endTime() const
{
    return end;
}

void StripChart::setValueRange(double low, double high)
{
    fixedLow = low;
    fixedHigh = high;
    update();
}

void StripChart::setUnit(const QString &text)
{
    unit = text;
    update();
}

QColor StripChart::seriesColor(int seriesIndex) const
{
    const QRgb *colors
            = ColorScheme::fromPalette(palette()) == ColorScheme::Dark ? darkSeries : lightSeries;
    return QColor(colors[qMax(0, seriesIndex) % seriesColors]);
}

QRect StripChart::plotArea() const
{
    const QFontMetrics metrics = fontMetrics();
    const int left = metrics.horizontalAdvance(QStringLiteral("-000.0")) + labelGap;
    const int top = metrics.height() + labelGap;
    const int bottom = metrics.height() + labelGap;
    return rect().adjusted(left, top, -markWidth, -bottom);
}

QSize StripChart::sizeHint() const
{
    return {preferredWidth, preferredHeight};
}

QSize StripChart::minimumSizeHint() const
{
    return {smallestWidth, smallestHeight};
}

void StripChart::gatherColumns(int count)
{
    columns.resize(series.size());
    const qint64 start = end - span;
    // A product instead of a division per point; the nudge keeps a time that falls
    // exactly on a column's left edge in that column (no other time lies that close).
    const double columnsPerMs = double(count) / double(span);
    constexpr double nudge = 1e-9;
    for (size_t index = 0; index < series.size(); ++index) {
        std::vector<Column> &marks = columns[index];
        marks.assign(
                size_t(count),
                Column{std::numeric_limits<float>::max(), std::numeric_limits<float>::lowest()});
        const std::vector<Point> &points = series[index];
        for (auto point = firstAfter(points, start); point != points.end() && point->timeMs <= end;
             ++point) {
            const int column
                    = qMin(count - 1, int(double(point->timeMs - start) * columnsPerMs + nudge));
            Column &mark = marks[size_t(column)];
            mark.low = std::min(mark.low, point->value);
            mark.high = std::max(mark.high, point->value);
        }
    }
}

std::vector<StripChart::Point>::const_iterator
StripChart::firstAfter(const std::vector<Point> &points, qint64 timeMs)
{
    return std::upper_bound(
            points.begin(), points.end(), timeMs,
            [](qint64 time, const Point &existing) { return time < existing.timeMs; });
}

void StripChart::paintEvent(QPaintEvent *)
{
    const QRect area = plotArea();
    if (area.width() <= 0 || area.height() <= 0)
        return;
    gatherColumns(area.width());
    double low = fixedLow;
    double high = fixedHigh;
    if (low >= high)
        valueRangeShown(&low, &high);

    // Grid, frame and marks go into an image of the plot, written pixel by pixel, which
    // costs far less than the painter's calls.
    if (plot.size() != area.size())
        plot = QImage(area.size(), QImage::Format_RGB32);
    const QColor base = palette().color(QPalette::Base);
    plot.fill(base);
    const QList<double> values = valueTicks(low, high);
    const QList<qint64> times = timeTicks();
    const QRgb grid = blended(base, palette().color(QPalette::WindowText), gridShare);
    for (const double value : values) {
        const int y = valueY(value, low, high, area.height());
        fillPlot(0, area.width(), y, y, grid);
    }
    for (const qint64 back : times) {
        const int x = area.width() - 1 - int(back * area.width() / span);
        fillPlot(x, x + 1, 0, area.height() - 1, grid);
    }
    const QRgb frame = palette().color(QPalette::Mid).rgb();
    fillPlot(0, area.width(), 0, 0, frame);
    fillPlot(0, area.width(), area.height() - 1, area.height() - 1, frame);
    fillPlot(0, 1, 0, area.height() - 1, frame);
    fillPlot(area.width() - 1, area.width(), 0, area.height() - 1, frame);
    paintMarks(low, high);

    QPainter painter(this);
    painter.drawImage(area.topLeft(), plot);
    const QFontMetrics metrics = fontMetrics();
    painter.setPen(palette().color(QPalette::WindowText));
    for (const double value : values) {
        const int y = area.top() + valueY(value, low, high, area.height());
        painter.drawText(
                QRect(0, y - metrics.height() / 2, area.left() - labelGap, metrics.height()),
                Qt::AlignRight | Qt::AlignVCenter, QString::number(value));
    }
    // Times count back from the right edge: "-1:00" is a minute before it.
    for (const qint64 back : times) {
        const int x = area.right() - int(back * area.width() / span);
        const qint64 seconds = back / secondMs;
        const QString label = QStringLiteral("-%1:%2")
                                      .arg(seconds / secondsPerMinute)
                                      .arg(seconds % secondsPerMinute, 2, 10, QLatin1Char('0'));
        painter.drawText(QRect(x - area.width(), area.bottom() + labelGap, 2 * area.width(),
                               metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, label);
    }
    painter.drawText(QRect(0, 0, width(), metrics.height()), Qt::AlignLeft | Qt::AlignTop, unit);
}

void StripChart::valueRangeShown(double *low, double *high) const
{
    *low = std::numeric_limits<double>::max();
    *high = std::numeric_limits<double>::lowest();
    for (const std::vector<Column> &marks : columns)
        for (const Column &mark : marks) {
            *low = std::min(*low, double(mark.low));
            *high = std::max(*high, double(mark.high));
        }
    if (*low > *high) {
        *low = 0;
        *high = 1;
    }
    const double pad = qMax(1.0, (*high - *low) * padShare);
    *low -= pad;
    *high += pad;
}

QList<double> StripChart::valueTicks(double low, double high)
{
    QList<double> ticks;
    const double step = roundStep(high - low, valueLines);
    for (double value = std::ceil(low / step) * step; value <= high; value += step)
        ticks.append(value);
    return ticks;
}

QList<qint64> StripChart::timeTicks() const
{
    const qint64 *step
            = std::find_if(std::begin(timeSteps), std::end(timeSteps),
                           [this](qint64 candidate) { return span / candidate <= timeLines; });
    const qint64 every = step == std::end(timeSteps) ? keptSpanMs : *step;
    QList<qint64> ticks;
    for (qint64 back = every; back < span; back += every)
        ticks.append(back);
    return ticks;
}

int StripChart::valueY(double value, double low, double high, int height)
{
    return int((high - value) / (high - low) * (height - markHeight));
}

void StripChart::paintMarks(double low, double high)
{
    const int plotHeight = plot.height();
    for (size_t index = 0; index < columns.size(); ++index) {
        const QRgb color = seriesColor(int(index)).rgb();
        const std::vector<Column> &marks = columns[index];
        for (int column = 0; column < int(marks.size()); ++column) {
            const Column &mark = marks[size_t(column)];
            if (mark.low <= mark.high)
                fillPlot(column, column + markWidth, valueY(mark.high, low, high, plotHeight),
                         valueY(mark.low, low, high, plotHeight) + markHeight - 1, color);
        }
    }
}

void StripChart::fillPlot(int left, int right, int top, int bottom, QRgb color)
{
    left = qMax(0, left);
    right = qMin(right, plot.width());
    top = qMax(0, top);
    bottom = qMin(bottom, plot.height() - 1);
    const qsizetype stride = plot.bytesPerLine();
    uchar *const bits = plot.bits();
    for (int y = top; y <= bottom; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(bits + y * stride);
        std::fill(line + left, line + right, color);
    }
}
