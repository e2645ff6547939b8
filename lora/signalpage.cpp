#include "lora/signalpage.h"

#include "pagekit/colorscheme.h"
#include "pagekit/stripchart.h"
#include "settings/savedfile.h"
#include "survey/surveycsv.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <tuple>

namespace {

constexpr int informationMessage = 1;
constexpr int criticalMessage = 3;
constexpr int pageMargin = 10;
// A tab page's size in the main window at its default size.
constexpr QSize referenceSize(905, 582);
constexpr double largeFigureScale = 2.4;
constexpr double mediumFigureScale = 1.4;
constexpr int figureDecimals = 1;
constexpr int frequencyDecimals = 3;
constexpr double hertzPerMegahertz = 1e6;
constexpr int trendSidePx = 14;
const QString widestRssi = QStringLiteral("-000.0");
const QString widestSnr = QStringLiteral("-00.0");
// Packets and CRC errors of a survey of weeks.
constexpr int widestCountDigits = 8;
constexpr int tableHeightPx = 150;
constexpr int rowPaddingPx = 6;
constexpr int spanMinutes[] = {1, 5, 15};
constexpr int defaultSpanIndex = 1;
const QString lastSeenFormat = QStringLiteral("hh:mm:ss");
const QString noValue = QStringLiteral("—");

enum Column { Frequency, Factors, Packets, CrcOk, RssiMedian, SnrMedian, LastSeen, Columns };

// Poor, fair and good: darker shades on a light background, lighter ones on a dark.
constexpr QRgb lightLevels[] = {0xc5221f, 0xa05a00, 0x188038};
constexpr QRgb darkLevels[] = {0xf28b82, 0xfdd663, 0x81c995};

enum class Trend { Down, Steady, Up };

// A small triangle pointing up when the newest packets are better than those before.
QPixmap trendPicture(Trend trend, const QColor &color, qreal pixelRatio)
{
    QPixmap picture(QSize(trendSidePx, trendSidePx) * pixelRatio);
    picture.setDevicePixelRatio(pixelRatio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    constexpr qreal side = trendSidePx;
    constexpr qreal edge = 1;
    QPolygonF triangle;
    switch (trend) {
    case Trend::Up:
        triangle << QPointF(side / 2, edge) << QPointF(side - edge, side - edge)
                 << QPointF(edge, side - edge);
        break;
    case Trend::Down:
        triangle << QPointF(edge, edge) << QPointF(side - edge, edge)
                 << QPointF(side / 2, side - edge);
        break;
    case Trend::Steady:
        triangle << QPointF(edge, edge) << QPointF(side - edge, side / 2)
                 << QPointF(edge, side - edge);
        break;
    }
    painter.drawPolygon(triangle);
    return picture;
}

QLabel *figureLabel(QWidget *parent, const char *name, double scale)
{
    auto *label = new QLabel(noValue, parent);
    label->setObjectName(QLatin1String(name));
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(true);
    label->setFont(font);
    return label;
}

QString figure(double value)
{
    return std::isnan(value) ? noValue : QString::number(value, 'f', figureDecimals);
}

QString percent(const std::optional<double> &share)
{
    return share ? QStringLiteral("%1 %").arg(*share) : noValue;
}

} // namespace

SignalPage::SignalPage(QWidget *parent)
    : QWidget(parent), parser(&survey), clockEpochMs(QDateTime::currentMSecsSinceEpoch()),
      lastRssiLabel(figureLabel(this, "lastRssiLabel", largeFigureScale)),
      lastSnrLabel(figureLabel(this, "lastSnrLabel", largeFigureScale)),
      recentRssiLabel(figureLabel(this, "recentRssiLabel", mediumFigureScale)),
      recentSnrLabel(figureLabel(this, "recentSnrLabel", mediumFigureScale)),
      rssiTrend(new QLabel(this)), snrTrend(new QLabel(this)), countLabel(new QLabel(this)),
      spanBox(new QComboBox(this)), resetButton(new QPushButton(tr("Сброс"), this)),
      exportButton(new QPushButton(tr("Экспорт CSV"), this)), rssiChart(new StripChart(this)),
      snrChart(new StripChart(this)), channelTable(new QTableWidget(0, Columns, this)),
      backhaulLine(new QLabel(this)), refreshTimer(new QTimer(this)), tableTimer(new QTimer(this)),
      content(new QWidget(this))
{
    clock.start();
    rssiTrend->setObjectName(QStringLiteral("rssiTrend"));
    snrTrend->setObjectName(QStringLiteral("snrTrend"));
    countLabel->setObjectName(QStringLiteral("countLabel"));
    spanBox->setObjectName(QStringLiteral("spanBox"));
    resetButton->setObjectName(QStringLiteral("resetButton"));
    exportButton->setObjectName(QStringLiteral("exportButton"));
    rssiChart->setObjectName(QStringLiteral("rssiChart"));
    snrChart->setObjectName(QStringLiteral("snrChart"));
    channelTable->setObjectName(QStringLiteral("channelTable"));
    backhaulLine->setObjectName(QStringLiteral("backhaulLine"));

    fixLabelSizes();
    auto *aimingBox = new QGroupBox(tr("Наведение антенны"), this);
    aimingBox->setObjectName(QStringLiteral("aimingBox"));
    auto *aiming = new QGridLayout(aimingBox);
    aiming->addWidget(new QLabel(QStringLiteral("RSSI"), aimingBox), 0, 1);
    aiming->addWidget(new QLabel(QStringLiteral("SNR"), aimingBox), 0, 2);
    aiming->addWidget(new QLabel(tr("Последний пакет"), aimingBox), 1, 0);
    aiming->addWidget(lastRssiLabel, 1, 1);
    aiming->addWidget(lastSnrLabel, 1, 2);
    aiming->addWidget(
            new QLabel(tr("Медиана %1 пакетов").arg(SurveyStatistics::aimingWindow), aimingBox), 2,
            0);
    for (const auto &[column, median, trend] :
         {std::tuple{1, recentRssiLabel, rssiTrend}, std::tuple{2, recentSnrLabel, snrTrend}}) {
        auto *cell = new QHBoxLayout;
        cell->addWidget(median);
        cell->addWidget(trend);
        cell->addStretch();
        aiming->addLayout(cell, 2, column);
    }
    aiming->setColumnStretch(0, 1);

    for (const int minutes : spanMinutes)
        spanBox->addItem(tr("%1 мин").arg(minutes));
    spanBox->setCurrentIndex(defaultSpanIndex);
    setSpan(defaultSpanIndex);
    auto *spanRow = new QHBoxLayout;
    spanRow->addWidget(new QLabel(tr("Период графиков:"), this));
    spanRow->addWidget(spanBox);
    spanRow->addStretch();
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(resetButton);
    buttonRow->addWidget(exportButton);
    buttonRow->addStretch();
    auto *controls = new QVBoxLayout;
    controls->addWidget(countLabel);
    controls->addLayout(spanRow);
    controls->addLayout(buttonRow);
    controls->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(aimingBox, 1);
    top->addLayout(controls, 1);

    rssiChart->setUnit(tr("RSSI, дБм"));
    snrChart->setUnit(tr("SNR, дБ"));
    auto *charts = new QHBoxLayout;
    charts->addWidget(rssiChart);
    charts->addWidget(snrChart);

    channelTable->setHorizontalHeaderLabels({tr("Частота, МГц"), QStringLiteral("SF"), tr("Пакеты"),
                                             tr("CRC в порядке, %"), tr("Медиана RSSI, дБм"),
                                             tr("Медиана SNR, дБ"), tr("Последний пакет")});
    channelTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    channelTable->verticalHeader()->hide();
    channelTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + rowPaddingPx);
    channelTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    channelTable->setSelectionMode(QAbstractItemView::NoSelection);
    channelTable->setFixedHeight(tableHeightPx);
    backhaulLine->setWordWrap(true);

    auto *page = new QVBoxLayout(content);
    page->setContentsMargins(pageMargin, pageMargin, pageMargin, pageMargin);
    page->addLayout(top);
    page->addLayout(charts, 1);
    page->addWidget(channelTable);
    page->addWidget(backhaulLine);

    refreshTimer->setObjectName(QStringLiteral("refreshTimer"));
    refreshTimer->setSingleShot(true);
    refreshTimer->setInterval(refreshPeriodMs);
    connect(refreshTimer, &QTimer::timeout, this, &SignalPage::showFigures);
    tableTimer->setSingleShot(true);
    tableTimer->setInterval(refreshPeriodMs / 2);
    connect(tableTimer, &QTimer::timeout, this, &SignalPage::showTables);
    connect(resetButton, &QPushButton::pressed, this, &SignalPage::reset);
    connect(exportButton, &QPushButton::pressed, this, &SignalPage::exportCsv);
    connect(spanBox, &QComboBox::currentIndexChanged, this, &SignalPage::setSpan);
    refresh();
    // A hidden tab lays out its widgets only when first shown; until then they stand
    // where the page's size places them.
    resize(referenceSize);
    content->setGeometry(rect());
    page->activate();
    aiming->activate();
}

QSize SignalPage::sizeHint() const
{
    return content->sizeHint();
}

QSize SignalPage::minimumSizeHint() const
{
    return content->minimumSizeHint();
}

void SignalPage::resizeEvent(QResizeEvent *event)
{
    content->setGeometry(rect());
    QWidget::resizeEvent(event);
}

qint64 SignalPage::nowMs() const
{
    return clockEpochMs + clock.elapsed();
}

void SignalPage::takeLogText(const QString &text)
{
    const qint64 now = nowMs();
    if (lastTextMs >= 0 && now - lastTextMs <= longestGapMs)
        durationMs += now - lastTextMs;
    lastTextMs = now;
    const qint64 before = survey.packets();
    parser.feed(text, now);
    const int added = int(qMin<qint64>(survey.packets() - before, survey.heldPackets()));
    for (int index = survey.heldPackets() - added; index < survey.heldPackets(); ++index)
        plot(survey.heldPacket(index));
    scheduleRefresh();
}

void SignalPage::plot(const SurveyPacket &packet)
{
    if (!packet.counted())
        return;
    const auto found = seriesOf.try_emplace(packet.frequencyHz, int(seriesOf.size())).first;
    rssiChart->addPoint(found->second, packet.heardMs, packet.rssi);
    if (packet.hasSnr())
        snrChart->addPoint(found->second, packet.heardMs, packet.snr);
}

void SignalPage::reset()
{
    survey.reset();
    parser.clear();
    seriesOf.clear();
    rssiChart->clear();
    snrChart->clear();
    channelTable->setRowCount(0);
    durationMs = 0;
    lastTextMs = -1;
    refresh();
}

void SignalPage::exportCsv()
{
    const QString proposed
            = QStringLiteral("%1/survey-%2.csv")
                      .arg(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                           QDateTime::currentDateTime().toString(
                                   QStringLiteral("yyyy-MM-dd_hh.mm")));
    QString path = QFileDialog::getSaveFileName(this, tr("Экспорт CSV"), proposed,
                                                QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    writeCsv(path);
}

void SignalPage::writeCsv(const QString &path)
{
    const SavedFile::Result saved = SavedFile::write(path, SurveyCsv::of(survey, true));
    if (saved.status == SavedFile::Status::Ok)
        emit showDialog(informationMessage, tr("Экспорт CSV"),
                        tr("Файл сохранён: %1").arg(QDir::toNativeSeparators(path)));
    else
        emit showDialog(criticalMessage, tr("Ошибка записи файла"),
                        tr("Не удалось записать файл %1: %2.")
                                .arg(QDir::toNativeSeparators(path), saved.errorString));
}

// A hidden page only notes that it is behind; showing it catches up at once.
void SignalPage::scheduleRefresh()
{
    if (!isVisible())
        stale = true;
    else if (!refreshTimer->isActive())
        refreshTimer->start();
}

void SignalPage::showEvent(QShowEvent *event)
{
    if (stale)
        refresh();
    QWidget::showEvent(event);
}

void SignalPage::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        fixLabelSizes();
    if (event->type() == QEvent::PaletteChange)
        refresh();
    QWidget::changeEvent(event);
}

// The labels that change at every refresh take the size of their widest text, so that
// a new figure only redraws its label and lays nothing out again.
void SignalPage::fixLabelSizes()
{
    const QString widestNumber = QString(widestCountDigits, QLatin1Char('9'));
    const QList<std::pair<QLabel *, QString>> widest{
            // The two large figures are as wide, so that the box keeps its shape.
            {lastRssiLabel, tr("%1 дБм").arg(widestRssi)},
            {lastSnrLabel, tr("%1 дБм").arg(widestRssi)},
            {recentRssiLabel, tr("%1 дБм").arg(widestRssi)},
            {recentSnrLabel, tr("%1 дБ").arg(widestSnr)},
            {countLabel, tr("Пакетов: %1, с ошибкой CRC: %2").arg(widestNumber, widestNumber)}};
    for (const auto &[label, text] : widest) {
        const QString shown = label->text();
        label->setMinimumSize(0, 0);
        label->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        label->setText(text);
        label->setFixedSize(label->sizeHint());
        label->setText(shown);
    }
    for (QLabel *trend : {rssiTrend, snrTrend})
        trend->setFixedSize(trendSidePx, trendSidePx);
}

void SignalPage::refresh()
{
    stale = false;
    refreshTimer->stop();
    showFigures();
    showTables();
}

// The table is drawn at another turn of the event loop than the figures and charts,
// so that no one turn draws the whole page.
void SignalPage::showFigures()
{
    const qint64 now = nowMs();
    rssiChart->setEndTime(now);
    snrChart->setEndTime(now);
    countLabel->setText(
            tr("Пакетов: %1, с ошибкой CRC: %2").arg(survey.packets()).arg(survey.crcBad()));
    showAiming();
    tableTimer->start();
}

void SignalPage::showTables()
{
    tableTimer->stop();
    showChannels(nowMs());
    showBackhaul();
}

void SignalPage::showAiming()
{
    const SurveyStatistics::Aiming aiming = survey.aiming();
    const int factor = aiming.lastSpreadingFactor;
    showFigure(lastRssiLabel, aiming.lastRssi, tr("%1 дБм"),
               SignalQuality::ofRssi(aiming.lastRssi));
    showFigure(lastSnrLabel, aiming.lastSnr, tr("%1 дБ"),
               SignalQuality::ofSnr(aiming.lastSnr, factor));
    showFigure(recentRssiLabel, aiming.recentRssi, tr("%1 дБм"),
               SignalQuality::ofRssi(aiming.recentRssi));
    showFigure(recentSnrLabel, aiming.recentSnr, tr("%1 дБ"),
               SignalQuality::ofSnr(aiming.recentSnr, factor));
    showTrend(rssiTrend, aiming.recentRssi, aiming.earlierRssi);
    showTrend(snrTrend, aiming.recentSnr, aiming.earlierSnr);
}

void SignalPage::showFigure(QLabel *label, double value, const QString &unit,
                            SignalQuality::Level level)
{
    label->setText(std::isnan(value) ? noValue : unit.arg(figure(value)));
    QPalette colored = label->palette();
    colored.setColor(QPalette::WindowText,
                     std::isnan(value) ? palette().color(QPalette::WindowText) : levelColor(level));
    label->setPalette(colored);
}

void SignalPage::showTrend(QLabel *label, double recent, double earlier)
{
    if (std::isnan(recent) || std::isnan(earlier)) {
        label->clear();
        return;
    }
    const double change = recent - earlier;
    const Trend trend = change >= steadyDb ? Trend::Up
            : change <= -steadyDb          ? Trend::Down
                                           : Trend::Steady;
    const QColor color = trend == Trend::Up ? levelColor(SignalQuality::Good)
            : trend == Trend::Down          ? levelColor(SignalQuality::Poor)
                                            : palette().color(QPalette::WindowText);
    label->setPixmap(trendPicture(trend, color, devicePixelRatioF()));
}

void SignalPage::showChannels(qint64 now)
{
    const QList<SurveyStatistics::Channel> channels = survey.channels(now);
    channelTable->setRowCount(int(channels.size()));
    for (int row = 0; row < channels.size(); ++row) {
        const SurveyStatistics::Channel &channel = channels[row];
        QStringList factors;
        for (const int factor : channel.spreadingFactors)
            factors.append(QString::number(factor));
        const QStringList cells{
                QString::number(channel.frequencyMhz, 'f', frequencyDecimals),
                factors.join(QLatin1Char(' ')),
                QString::number(channel.packets),
                QString::number(channel.crcOkPercent(), 'f', figureDecimals),
                figure(channel.rssi.median),
                figure(channel.snr.median),
                QDateTime::fromMSecsSinceEpoch(channel.lastSeenMs).toString(lastSeenFormat)};
        for (int column = 0; column < Columns; ++column) {
            QTableWidgetItem *item = channelTable->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                channelTable->setItem(row, column, item);
            }
            item->setText(cells[column]);
        }
        // The channel's colour in the charts.
        const qint32 frequencyHz = qint32(std::lround(channel.frequencyMhz * hertzPerMegahertz));
        const auto series = seriesOf.find(frequencyHz);
        channelTable->item(row, Frequency)
                ->setData(Qt::DecorationRole,
                          series == seriesOf.end()
                                  ? QVariant()
                                  : QVariant(rssiChart->seriesColor(series->second)));
    }
}

void SignalPage::showBackhaul()
{
    const SurveyStatistics::Block block = survey.lastBlock();
    const SurveyStatistics::RoundTrip push = survey.pushAck();
    const std::optional<double> celsius = survey.temperature();
    QString gps;
    switch (survey.gps().fix) {
    case SurveyStatistics::Gps::Fix::Unknown:
        gps = noValue;
        break;
    case SurveyStatistics::Gps::Fix::Disabled:
        gps = tr("отключён");
        break;
    case SurveyStatistics::Gps::Fix::NoFix:
        gps = tr("нет координат");
        break;
    case SurveyStatistics::Gps::Fix::Valid:
        gps = tr("координаты есть");
        break;
    case SurveyStatistics::Gps::Fix::Fake:
        gps = tr("заданные координаты");
        break;
    }
    const QStringList parts{
            tr("PUSH_DATA подтверждено: %1").arg(percent(block.pushAcknowledgedPercent)),
            push.count == 0 ? tr("PUSH_ACK: %1").arg(noValue)
                            : tr("PUSH_ACK: %1 мс, медиана %2 мс")
                                      .arg(figure(push.last), figure(push.median)),
            tr("PULL_DATA подтверждено: %1").arg(percent(block.pullAcknowledgedPercent)),
            tr("температура концентратора: %1").arg(celsius ? tr("%1 °C").arg(*celsius) : noValue),
            tr("GPS: %1").arg(gps)};
    const bool unanswered = survey.pushUnacknowledged();
    const QString line = parts.join(QStringLiteral("; "));
    backhaulLine->setText(unanswered ? tr("Сервер не отвечает! Связь с сервером: %1").arg(line)
                                     : tr("Связь с сервером: %1").arg(line));
    QPalette colored = backhaulLine->palette();
    colored.setColor(QPalette::WindowText,
                     unanswered ? levelColor(SignalQuality::Poor)
                                : palette().color(QPalette::WindowText));
    backhaulLine->setPalette(colored);
}

QColor SignalPage::levelColor(SignalQuality::Level level) const
{
    const QRgb *levels
            = ColorScheme::fromPalette(palette()) == ColorScheme::Dark ? darkLevels : lightLevels;
    return QColor(levels[level]);
}

void SignalPage::setSpan(int index)
{
    const qint64 spanMs
            = spanMinutes[qBound(0, index, int(std::size(spanMinutes)) - 1)] * StripChart::minuteMs;
    rssiChart->setSpanMs(spanMs);
    snrChart->setSpanMs(spanMs);
}
