#include "network/boxstaticip.h"

#include "pagekit/fieldkeys.h"
#include "pagekit/fieldvalidation.h"
#include "pagekit/placedwidgets.h"
#include "pagekit/resizescale.h"
#include "settings/inputpatterns.h"

#include <QJsonValue>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QResizeEvent>

#include <array>

namespace {

constexpr int referenceHeight = 221;
constexpr int labelX = 10;
constexpr int labelHeight = 21;
constexpr int fieldX = 70;
constexpr int fieldWidth = 111;
constexpr int fieldHeight = 24;
constexpr std::array<int, 6> rowY{30, 60, 90, 120, 150, 180};
enum Row { IpRow, DomainRow, GatewayRow, MaskRow, Dns1Row, Dns2Row };

} // namespace

BoxStaticIP::BoxStaticIP(const QString &title, const QRect &geometry, QWidget *parent)
    : QGroupBox(parent),
      unshownKeys({QStringLiteral("310"), QStringLiteral("320"), QStringLiteral("330"),
                   QStringLiteral("340"), QStringLiteral("350"), QStringLiteral("360"),
                   QStringLiteral("370")})
{
    setTitle(title);
    setGeometry(geometry);
    setCheckable(true);
    setChecked(false);

    ipLabel = addLabel(tr("IP"), IpRow, 41);
    ip = addField(QStringLiteral("ip"), IpRow);
    domainLabel = addLabel(tr("Домен"), DomainRow, 51);
    domain = addField(QStringLiteral("domain"), DomainRow);
    gatewayLabel = addLabel(tr("Шлюз"), GatewayRow, 51);
    gateway = addField(QStringLiteral("gateway"), GatewayRow);
    maskLabel = addLabel(tr("Маска"), MaskRow, 51);
    mask = addField(QStringLiteral("mask"), MaskRow);
    dns1Label = addLabel(tr("DNS1"), Dns1Row, 51);
    dns1 = addField(QStringLiteral("dns1"), Dns1Row);
    dns2Label = addLabel(QStringLiteral("DNS2"), Dns2Row, 51);
    dns2 = addField(QStringLiteral("dns2"), Dns2Row);

    auto *addressValidator = new QRegularExpressionValidator(InputPatterns::ipv4(), this);
    ip->setValidator(addressValidator);
    gateway->setValidator(addressValidator);
    // The first DNS server may be left empty, as preset saving allows.
    dns1->setValidator(new QRegularExpressionValidator(InputPatterns::optionalIpv4(), this));

    const QList<std::pair<QWidget *, const char *>> fieldKeys{
            {this, "310"}, {ip, "320"},     {gateway, "330"}, {dns1, "340"},
            {dns2, "350"}, {domain, "360"}, {mask, "370"}};
    for (const auto &[field, key] : fieldKeys)
        FieldKeys::setKeys(field, {QLatin1String(key)});

    connect(ip, &QLineEdit::textChanged, this, &BoxStaticIP::validatorStaticIP);
    connect(gateway, &QLineEdit::textChanged, this, &BoxStaticIP::validatorGateway);
    connect(dns1, &QLineEdit::textChanged, this, &BoxStaticIP::validatorDNS1);
    connect(this, &QGroupBox::toggled, this, &BoxStaticIP::setFieldsCounted);
    setFieldsCounted(false);
}

// An unticked box sets nothing on the gateway: what its fields hold meanwhile
// neither blocks an apply nor goes out.
void BoxStaticIP::setFieldsCounted(bool counted)
{
    for (QLineEdit *field : {ip, gateway, dns1})
        FieldValidation::instance().setFieldIgnored(field, !counted);
}

void BoxStaticIP::setSettings(QJsonObject settings)
{
    const auto text = [&settings](const char *key) {
        return settings.value(QLatin1String(key)).toString();
    };
    setChecked(settings.value(QStringLiteral("310")).toBool());
    ip->setText(text("320"));
    gateway->setText(text("330"));
    dns1->setText(text("340"));
    dns2->setText(text("350"));
    domain->setText(text("360"));
    mask->setText(text("370"));
    unshownKeys.keepFrom(settings);
    filled = QJsonObject();
    filled = getSettings();
}

QJsonObject BoxStaticIP::getSettings()
{
    if (!isChecked() && !filled.isEmpty()) {
        QJsonObject unchanged = filled;
        unchanged.insert(QStringLiteral("310"), false);
        return unchanged;
    }
    return unshownKeys.addedTo(QJsonObject{
            {QStringLiteral("310"), isChecked()},
            {QStringLiteral("320"), ip->text()},
            {QStringLiteral("330"), gateway->text()},
            {QStringLiteral("340"), dns1->text()},
            {QStringLiteral("350"), dns2->text()},
            {QStringLiteral("360"), domain->text()},
            {QStringLiteral("370"), mask->text()},
    });
}

void BoxStaticIP::resizeEvent(QResizeEvent *event)
{
    const double ky = ResizeScale::factor(event->size().height(), referenceHeight,
                                          ResizeScale::Rounding::None);
    const std::array<QLabel *, 6> labels{ipLabel,   domainLabel, gatewayLabel,
                                         maskLabel, dns1Label,   dns2Label};
    const std::array<QLineEdit *, 6> fields{ip, domain, gateway, mask, dns1, dns2};
    for (std::size_t row = 0; row < rowY.size(); ++row) {
        const int y = ResizeScale::scaled(ky, rowY[row]);
        labels[row]->move(labelX, y);
        fields[row]->move(fieldX, y);
    }
    QGroupBox::resizeEvent(event);
}

void BoxStaticIP::validatorStaticIP(QString)
{
    FieldValidation::instance().markField(ip, ipLabel->text());
}

void BoxStaticIP::validatorGateway(QString)
{
    FieldValidation::instance().markField(gateway, gatewayLabel->text());
}

void BoxStaticIP::validatorDNS1(QString)
{
    FieldValidation::instance().markField(dns1, dns1Label->text());
}

QLabel *BoxStaticIP::addLabel(const QString &text, int row, int width)
{
    return PlacedWidgets::label(this, text, QRect(labelX, rowY[row], width, labelHeight));
}

QLineEdit *BoxStaticIP::addField(const QString &name, int row)
{
    return PlacedWidgets::lineEdit(this, name, QRect(fieldX, rowY[row], fieldWidth, fieldHeight));
}
