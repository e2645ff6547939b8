#include "report/commissioningreport.h"

#include "settings/fieldcatalog.h"
#include "settings/writeerror.h"

#include <QCoreApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

#include <cmath>
#include <utility>

namespace {

constexpr int pdfResolutionDpi = 300;
constexpr int pageMarginMm = 15;
constexpr qint64 msPerSecond = 1000;
constexpr qint64 secondsPerMinute = 60;
constexpr qint64 secondsPerHour = 3600;
constexpr int frequencyDecimals = 3;
constexpr int figureDecimals = 1;

QString translated(const char *text, int count = -1)
{
    return QCoreApplication::translate("CommissioningReport", text, nullptr, count);
}

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString row(const QString &label, const QString &value)
{
    return QStringLiteral("<tr><td>%1</td><td>%2</td></tr>").arg(escaped(label), escaped(value));
}

// A median to one decimal; NaN while there is none.
QString figure(double value, const QString &none)
{
    return std::isnan(value) ? none : QString::number(value, 'f', figureDecimals);
}

QString heading(const QString &text)
{
    return QStringLiteral("<h2>%1</h2>").arg(escaped(text));
}

// The device page's own captions, in its translation context.
struct DeviceItem
{
    const char *key;
    const char *caption;
};

constexpr DeviceItem deviceItems[] = {
        {"Model", "Модель устройства:"},
        {"Revision", "Ревизия:"},
        {"PCB", "Печатная плата:"},
        {"Date", "Дата производства:"},
        {"MAC", "MAC адрес устройства:"},
        {"CoreVer", "Версия ядра приложения:"},
        {"Release_ver", "Версия релиза:"},
        {"LTE", "Поддержка LTE:"},
        {"GSM", "GSM модуль:"},
        {"GNSS", "GNSS модуль:"},
        {"eth0", "Текущий IP(eth0):"},
        {"wlan0", "Текущий IP(wlan0):"},
        {"ppp0", "Текущий IP(ppp0):"},
        {"tun0", "Текущий IP(tun0):"},
};

const QStringList groupOrder{"100", "150", "200", "300", "350", "400"};

QStringList groupsInOrder(const QJsonObject &settings)
{
    QStringList groups;
    for (const QString &group : groupOrder) {
        if (settings.value(group).isObject())
            groups.append(group);
    }
    const QStringList keys = settings.keys();
    for (const QString &key : keys) {
        if (!groupOrder.contains(key) && settings.value(key).isObject())
            groups.append(key);
    }
    return groups;
}

} // namespace

CommissioningReport::CommissioningReport(Content content) : content(std::move(content)) { }

QString CommissioningReport::html() const
{
    QString text = QStringLiteral("<html><body><h1>%1</h1><table cellpadding=\"3\">")
                           .arg(escaped(translated("Отчёт о настройке")));
    text += row(translated("Дата и время"),
                QLocale().toString(content.madeAt, QLocale::LongFormat));
    text += row(translated("Модель"), content.model);
    text += row(translated("Соединение"),
                content.connected ? translated("подключено к базовой станции")
                                  : translated("не подключено: данные последнего чтения"));
    text += QStringLiteral("</table>");
    text += heading(translated("Примечание установщика"));
    text += QStringLiteral("<p>%1</p>")
                    .arg(content.note.isEmpty()
                                 ? escaped(translated("(нет)"))
                                 : escaped(content.note)
                                           .replace(QLatin1Char('\n'), QStringLiteral("<br>")));
    text += deviceSection() + settingsSection() + outcomeSection() + surveySection() + logSection();
    return text + QStringLiteral("</body></html>");
}

QString CommissioningReport::deviceSection() const
{
    QString text
            = heading(translated("Об устройстве")) + QStringLiteral("<table cellpadding=\"3\">");
    for (const DeviceItem &item : deviceItems) {
        const QString value = content.deviceInfo.value(QLatin1String(item.key)).toString();
        if (!value.isEmpty())
            text += row(QCoreApplication::translate("General", item.caption), value);
    }
    return text + QStringLiteral("</table>");
}

QString CommissioningReport::settingsSection() const
{
    QString text = heading(translated("Настройки"));
    for (const QString &group : groupsInOrder(content.settings)) {
        text += QStringLiteral("<h3>%1 (%2)</h3><table cellpadding=\"3\">")
                        .arg(escaped(FieldCatalog::pageName(group)), escaped(group));
        const QJsonObject fields = content.settings.value(group).toObject();
        for (auto field = fields.constBegin(); field != fields.constEnd(); ++field)
            text += row(FieldCatalog::label(group, field.key()),
                        FieldCatalog::shownValue(group, field.key(), field.value()));
        text += QStringLiteral("</table>");
    }
    return text;
}

QString CommissioningReport::outcomeSection() const
{
    QString text = heading(translated("Проверка последнего применения"));
    switch (content.outcome) {
    case Outcome::NoApply:
        return text
                + QStringLiteral("<p>%1</p>").arg(escaped(translated("Настройки не применялись.")));
    case Outcome::NotVerified:
        return text
                + QStringLiteral("<p>%1</p>")
                          .arg(escaped(translated("Применены, но не проверены: базовая станция не "
                                                  "ответила на повторное чтение.")));
    case Outcome::Confirmed:
        return text
                + QStringLiteral("<p>%1</p>")
                          .arg(escaped(translated("Подтверждено базовой станцией полей: %n.",
                                                  content.confirmedFields)));
    case Outcome::Drift:
        break;
    }
    text += QStringLiteral("<p>%1</p><table cellpadding=\"3\">")
                    .arg(escaped(translated("Базовая станция не приняла поля:")));
    text += QStringLiteral("<tr><th>%1</th><th>%2</th><th>%3</th></tr>")
                    .arg(escaped(translated("Поле")), escaped(translated("Отправлено")),
                         escaped(translated("В базовой станции")));
    for (const SettingsChange &change : content.drift) {
        text += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>")
                        .arg(escaped(FieldCatalog::fieldPath(change.group, change.key)),
                             escaped(FieldCatalog::shownValue(change.group, change.key,
                                                              change.newValue)),
                             escaped(FieldCatalog::shownValue(change.group, change.key,
                                                              change.oldValue)));
    }
    return text + QStringLiteral("</table>");
}

std::optional<CommissioningReport::Survey>
CommissioningReport::surveyOf(const SurveyStatistics &statistics, qint64 durationMs)
{
    if (statistics.isEmpty())
        return std::nullopt;
    Survey survey;
    survey.durationMs = durationMs;
    survey.packets = statistics.packets();
    survey.crcBad = statistics.crcBad();
    survey.channels = statistics.channels(statistics.lastHeardMs());
    survey.pushAcknowledgedPercent = statistics.lastBlock().pushAcknowledgedPercent;
    survey.pushAckMedianMs = statistics.pushAck().median;
    return survey;
}

QString CommissioningReport::surveySection() const
{
    QString text = heading(translated("Сигнал"));
    if (!content.survey)
        return text
                + QStringLiteral("<p>%1</p>")
                          .arg(escaped(translated("Обследование сигнала не проводилось.")));
    const Survey &survey = *content.survey;
    const qint64 seconds = survey.durationMs / msPerSecond;
    const QString none = translated("нет данных");
    text += QStringLiteral("<table cellpadding=\"3\">");
    text += row(translated("Продолжительность"),
                QStringLiteral("%1:%2:%3")
                        .arg(seconds / secondsPerHour)
                        .arg(seconds / secondsPerMinute % secondsPerMinute, 2, 10, QLatin1Char('0'))
                        .arg(seconds % secondsPerMinute, 2, 10, QLatin1Char('0')));
    text += row(translated("Пакеты"),
                translated("%1, из них с ошибкой CRC: %2").arg(survey.packets).arg(survey.crcBad));
    text += row(translated("PUSH_DATA подтверждено"),
                survey.pushAcknowledgedPercent
                        ? QStringLiteral("%1 %").arg(*survey.pushAcknowledgedPercent)
                        : none);
    text += row(translated("Задержка PUSH_ACK (медиана)"),
                std::isnan(survey.pushAckMedianMs)
                        ? none
                        : translated("%1 мс").arg(survey.pushAckMedianMs));
    text += QStringLiteral("</table><table cellpadding=\"3\"><tr>");
    for (const char *title : {"Частота, МГц", "SF", "Пакеты", "CRC в порядке, %",
                              "RSSI, дБм (медиана)", "SNR, дБ (медиана)"})
        text += QStringLiteral("<th>%1</th>").arg(escaped(translated(title)));
    text += QStringLiteral("</tr>");
    for (const SurveyStatistics::Channel &channel : survey.channels) {
        QStringList factors;
        for (const int factor : channel.spreadingFactors)
            factors.append(QString::number(factor));
        const QStringList cells{QString::number(channel.frequencyMhz, 'f', frequencyDecimals),
                                factors.join(QLatin1Char(' ')),
                                QString::number(channel.packets),
                                QString::number(channel.crcOkPercent(), 'f', figureDecimals),
                                figure(channel.rssi.median, none),
                                figure(channel.snr.median, none)};
        text += QStringLiteral("<tr>");
        for (const QString &cell : cells)
            text += QStringLiteral("<td>%1</td>").arg(escaped(cell));
        text += QStringLiteral("</tr>");
    }
    return text + QStringLiteral("</table>");
}

QString CommissioningReport::logSection() const
{
    const QStringList lines
            = content.logLines.mid(qMax<qsizetype>(0, content.logLines.size() - logLineCount));
    QString text = heading(translated("Последние строки журнала"));
    if (lines.isEmpty())
        return text + QStringLiteral("<p>%1</p>").arg(escaped(translated("(нет)")));
    return text + QStringLiteral("<pre>%1</pre>").arg(escaped(lines.join(QLatin1Char('\n'))));
}

void CommissioningReport::fill(QTextDocument *document) const
{
    document->setHtml(html());
}

bool CommissioningReport::writePdf(const QString &path, QString *errorString) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (errorString)
            *errorString = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(pdfResolutionDpi);
        writer.setPageMargins(QMarginsF(pageMarginMm, pageMarginMm, pageMarginMm, pageMarginMm),
                              QPageLayout::Millimeter);
        writer.setTitle(translated("Отчёт о настройке"));
        writer.setCreator(QStringLiteral("Kelvane"));
        QTextDocument document;
        fill(&document);
        document.print(&writer);
    }
    // A failed write of the last bytes is not seen by commit() alone.
    if (!file.flush() || file.error() != QFileDevice::NoError || !file.commit()) {
        if (errorString)
            *errorString = WriteError::reason(file);
        file.cancelWriting();
        return false;
    }
    return true;
}
