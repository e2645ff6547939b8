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

constexpr float noValue = std::numeric_limits<float>::quiet_NaN();
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

} // namespace

StripChart::StripChart(QWidget *parent) : QWidget(parent) { }

void StripChart::addPoint(int seriesIndex, qint64 timeMs, double value)
{
    if (seriesIndex < 0 || std::isnan(value))
        return;
    if (seriesIndex >= int(series.size()))
        series.resize(size_t(seriesIndex) + 1);
    std::deque<Point> &points = series[size_t(seriesIndex)];
    const Point point{timeMs, float(value)};
    if (points.empty() || points.back().timeMs <= timeMs) {
        points.push_back(point);
    } else {
        // A late point keeps the times in order, which the redraw's search relies on.
        const auto at = std::upper_bound(
                points.begin(), points.end(), timeMs,
                [](qint64 time, const Point &existing) { return time < existing.timeMs; });
        points.insert(at, point);
    }
    const qint64 oldest = points.back().timeMs - keptSpanMs;
    while (points.front().timeMs < oldest || int(points.size()) > mostPointsPerSeries)
        points.pop_front();
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
    for (size_t index = 0; index < series.size(); ++index) {
        std::vector<Column> &marks = columns[index];
        marks.assign(size_t(count), Column{noValue, noValue});
        const std::deque<Point> &points = series[index];
        auto point = std::upper_bound(
                points.begin(), points.end(), start,
                [](qint64 time, const Point &existing) { return time < existing.timeMs; });
        for (; point != points.end() && point->timeMs <= end; ++point) {
            const int column = qMin(count - 1, int((point->timeMs - start) * count / span));
            Column &mark = marks[size_t(column)];
            if (std::isnan(mark.low)) {
                mark = {point->value, point->value};
            } else {
                mark.low = std::min(mark.low, point->value);
                mark.high = std::max(mark.high, point->value);
            }
        }
    }
}

void StripChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect area = plotArea();
    painter.fillRect(area, palette().color(QPalette::Base));
    if (area.width() <= 0 || area.height() <= 0)
        return;
    gatherColumns(area.width());

    double low = fixedLow;
    double high = fixedHigh;
    if (low >= high) {
        low = std::numeric_limits<double>::max();
        high = std::numeric_limits<double>::lowest();
        for (const std::vector<Column> &marks : columns)
            for (const Column &mark : marks)
                if (!std::isnan(mark.low)) {
                    low = std::min(low, double(mark.low));
                    high = std::max(high, double(mark.high));
                }
        if (low > high) {
            low = 0;
            high = 1;
        }
        const double pad = qMax(1.0, (high - low) * padShare);
        low -= pad;
        high += pad;
    }
    drawAxes(painter, area, low, high);

    const double pixelsPerUnit = (area.height() - markHeight) / (high - low);
    QVector<QRect> marks;
    for (size_t index = 0; index < columns.size(); ++index) {
        marks.clear();
        const std::vector<Column> &values = columns[index];
        for (int column = 0; column < int(values.size()); ++column) {
            const Column &mark = values[size_t(column)];
            if (std::isnan(mark.low))
                continue;
            const int top = area.top() + int((high - mark.high) * pixelsPerUnit);
            const int bottom = area.top() + int((high - mark.low) * pixelsPerUnit);
            marks.append(QRect(area.left() + column, top, markWidth, bottom - top + markHeight));
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(seriesColor(int(index)));
        painter.drawRects(marks);
    }
}

void StripChart::drawAxes(QPainter &painter, const QRect &area, double low, double high) const
{
    const QColor text = palette().color(QPalette::WindowText);
    QColor grid = text;
    grid.setAlphaF(0.15f);
    const QFontMetrics metrics = fontMetrics();

    const double step = roundStep(high - low, valueLines);
    for (double value = std::ceil(low / step) * step; value <= high; value += step) {
        const int y = area.top() + int((high - value) / (high - low) * area.height());
        painter.setPen(grid);
        painter.drawLine(area.left(), y, area.right(), y);
        painter.setPen(text);
        painter.drawText(
                QRect(0, y - metrics.height() / 2, area.left() - labelGap, metrics.height()),
                Qt::AlignRight | Qt::AlignVCenter, QString::number(value));
    }

    // Vertical lines count back from the right edge: "-1:00" is a minute before it.
    const qint64 *timeStep
            = std::find_if(std::begin(timeSteps), std::end(timeSteps),
                           [this](qint64 candidate) { return span / candidate <= timeLines; });
    const qint64 every = timeStep == std::end(timeSteps) ? keptSpanMs : *timeStep;
    for (qint64 back = every; back < span; back += every) {
        const int x = area.right() - int(back * area.width() / span);
        painter.setPen(grid);
        painter.drawLine(x, area.top(), x, area.bottom());
        painter.setPen(text);
        const qint64 seconds = back / secondMs;
        const QString label = QStringLiteral("-%1:%2")
                                      .arg(seconds / 60)
                                      .arg(seconds % 60, 2, 10, QLatin1Char('0'));
        painter.drawText(QRect(x - area.width(), area.bottom() + labelGap, 2 * area.width(),
                               metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, label);
    }
    painter.setPen(text);
    painter.drawText(QRect(0, 0, width(), metrics.height()), Qt::AlignLeft | Qt::AlignTop, unit);
    painter.setPen(palette().color(QPalette::Mid));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}
