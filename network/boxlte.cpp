#include "network/boxlte.h"

#include "pagekit/fieldkeys.h"
#include "pagekit/fieldvalidation.h"
#include "pagekit/placedwidgets.h"
#include "pagekit/resizescale.h"
#include "settings/inputpatterns.h"

#include <QFrame>
#include <QJsonValue>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QResizeEvent>

namespace {

constexpr int referenceWidth = 871;
constexpr int referenceHeight = 181;
constexpr int fieldHeight = 24;
constexpr int wideFieldWidth = 111;
constexpr int dialFieldWidth = 51;
constexpr int sim1LabelX = 20;
constexpr int sim1FieldX = 140;
constexpr int sim2HeaderX = 300;
constexpr int sim2LabelX = 310;
constexpr int sim2FieldX = 430;
constexpr int firstSeparatorX = 270;
constexpr int secondSeparatorX = 570;
constexpr int separatorY = 30;
constexpr int separatorWidth = 20;
constexpr int separatorHeight = 171;
// After a resize the first line is drawn shorter than at creation.
constexpr int firstSeparatorResizedHeight = 141;
constexpr int pingLabelX = 610;
constexpr int pingFieldX = 730;
constexpr int ping1Y = 40;
constexpr int ping2Y = 70;
constexpr int headerY = 20;
constexpr int adressRowY = 50;
constexpr int dialRowY = 80;
constexpr int userRowY = 110;
constexpr int passwordRowY = 140;

} // namespace

BoxLTE::BoxLTE(const QString &title, const QRect &geometry, QWidget *parent)
    : QGroupBox(parent),
      unshownKeys({QStringLiteral("211"), QStringLiteral("212"), QStringLiteral("213"),
                   QStringLiteral("214"), QStringLiteral("221"), QStringLiteral("222"),
                   QStringLiteral("223"), QStringLiteral("224"), QStringLiteral("230"),
                   QStringLiteral("240")})
{
    setTitle(title);
    setGeometry(geometry);

    sim1Header = PlacedWidgets::label(this, QStringLiteral("SIM1"), QRect(10, headerY, 41, 21));
    sim2Header = PlacedWidgets::label(this, QStringLiteral("SIM2"),
                                      QRect(sim2HeaderX, headerY, 41, 21));

    sim1AdressLabel
            = PlacedWidgets::label(this, tr("Адрес"), QRect(sim1LabelX, adressRowY, 41, 21));
    sim1Adress
            = PlacedWidgets::lineEdit(this, QStringLiteral("sim1Adress"),
                                      QRect(sim1FieldX, adressRowY, wideFieldWidth, fieldHeight));
    sim1DialLabel
            = PlacedWidgets::label(this, tr("Номер дозвона"), QRect(sim1LabelX, dialRowY, 91, 21));
    sim1DialNumber
            = PlacedWidgets::lineEdit(this, QStringLiteral("sim1DialNumber"),
                                      QRect(sim1FieldX, dialRowY, dialFieldWidth, fieldHeight));
    sim1UserLabel = PlacedWidgets::label(this, tr("Имя пользователя"),
                                         QRect(sim1LabelX, userRowY, 105, 21));
    sim1User = PlacedWidgets::lineEdit(this, QStringLiteral("sim1User"),
                                       QRect(sim1FieldX, userRowY, wideFieldWidth, fieldHeight));
    sim1PasswordLabel
            = PlacedWidgets::label(this, tr("Пароль"), QRect(sim1LabelX, passwordRowY, 51, 21));
    sim1Password
            = PlacedWidgets::lineEdit(this, QStringLiteral("sim1Password"),
                                      QRect(sim1FieldX, passwordRowY, wideFieldWidth, fieldHeight));

    sim2AdressLabel
            = PlacedWidgets::label(this, tr("Адрес"), QRect(sim2LabelX, adressRowY, 41, 21));
    sim2Adress
            = PlacedWidgets::lineEdit(this, QStringLiteral("sim2Adress"),
                                      QRect(sim2FieldX, adressRowY, wideFieldWidth, fieldHeight));
    sim2DialLabel
            = PlacedWidgets::label(this, tr("Номер дозвона"), QRect(sim2LabelX, dialRowY, 91, 21));
    sim2DialNumber
            = PlacedWidgets::lineEdit(this, QStringLiteral("sim2DialNumber"),
                                      QRect(sim2FieldX, dialRowY, dialFieldWidth, fieldHeight));
    sim2UserLabel = PlacedWidgets::label(this, tr("Имя пользователя"),
                                         QRect(sim2LabelX, userRowY, 105, 21));
    sim2User = PlacedWidgets::lineEdit(this, QStringLiteral("sim2User"),
                                       QRect(sim2FieldX, userRowY, wideFieldWidth, fieldHeight));
    sim2PasswordLabel
            = PlacedWidgets::label(this, tr("Пароль"), QRect(sim2LabelX, passwordRowY, 51, 21));
    sim2Password
            = PlacedWidgets::lineEdit(this, QStringLiteral("sim2Password"),
                                      QRect(sim2FieldX, passwordRowY, wideFieldWidth, fieldHeight));

    firstSeparator
            = addSeparator(QRect(firstSeparatorX, separatorY, separatorWidth, separatorHeight));
    secondSeparator
            = addSeparator(QRect(secondSeparatorX, separatorY, separatorWidth, separatorHeight));

    ping1Label
            = PlacedWidgets::label(this, tr("IP№1 для пинга"), QRect(pingLabelX, ping1Y, 91, 21));
    ping1 = PlacedWidgets::lineEdit(this, QStringLiteral("ping1"),
                                    QRect(pingFieldX, ping1Y, wideFieldWidth, fieldHeight));
    ping2Label = PlacedWidgets::label(this, tr("IP№2 для пинга\n(не обязятельно)"),
                                      QRect(pingLabelX, ping2Y, 101, 31));
    ping2 = PlacedWidgets::lineEdit(this, QStringLiteral("ping2"),
                                    QRect(pingFieldX, ping2Y, wideFieldWidth, fieldHeight));

    auto *apnValidator = new QRegularExpressionValidator(InputPatterns::apn(), this);
    sim1Adress->setValidator(apnValidator);
    sim2Adress->setValidator(apnValidator);
    auto *dialValidator = new QRegularExpressionValidator(InputPatterns::dialNumber(), this);
    sim1DialNumber->setValidator(dialValidator);
    sim2DialNumber->setValidator(dialValidator);
    ping1->setValidator(new QRegularExpressionValidator(InputPatterns::ipv4(), this));
    ping2->setValidator(new QRegularExpressionValidator(InputPatterns::optionalIpv4(), this));

    const QList<std::pair<QLineEdit *, const char *>> fieldKeys{
            {sim1Adress, "211"}, {sim1DialNumber, "212"}, {sim1User, "213"}, {sim1Password, "214"},
            {sim2Adress, "221"}, {sim2DialNumber, "222"}, {sim2User, "223"}, {sim2Password, "224"},
            {ping1, "230"},      {ping2, "240"}};
    for (const auto &[field, key] : fieldKeys)
        FieldKeys::setKeys(field, {QLatin1String(key)});

    connect(sim1Adress, &QLineEdit::textChanged, this, &BoxLTE::validatorSIM1Adress);
    connect(sim1DialNumber, &QLineEdit::textChanged, this, &BoxLTE::validatorSIM1DualingNumber);
    connect(sim2Adress, &QLineEdit::textChanged, this, &BoxLTE::validatorSIM2Adress);
    connect(sim2DialNumber, &QLineEdit::textChanged, this, &BoxLTE::validatorSIM2DualingNumber);
    connect(ping1, &QLineEdit::textChanged, this, &BoxLTE::validatorPing1);
    connect(ping2, &QLineEdit::textChanged, this, &BoxLTE::validatorPing2);
}

void BoxLTE::setSettings(QJsonObject settings)
{
    const auto text = [&settings](const char *key) {
        return settings.value(QLatin1String(key)).toString();
    };
    sim1Adress->setText(text("211"));
    sim1DialNumber->setText(text("212"));
    sim1User->setText(text("213"));
    sim1Password->setText(text("214"));
    sim2Adress->setText(text("221"));
    sim2DialNumber->setText(text("222"));
    sim2User->setText(text("223"));
    sim2Password->setText(text("224"));
    ping1->setText(text("230"));
    ping2->setText(text("240"));
    unshownKeys.keepFrom(settings);
}

QJsonObject BoxLTE::getSettings()
{
    QJsonObject settings{
            {QStringLiteral("211"), sim1Adress->text()},
            {QStringLiteral("212"), sim1DialNumber->text()},
            {QStringLiteral("213"), sim1User->text()},
            {QStringLiteral("214"), sim1Password->text()},
            {QStringLiteral("221"), sim2Adress->text()},
            {QStringLiteral("222"), sim2DialNumber->text()},
            {QStringLiteral("223"), sim2User->text()},
            {QStringLiteral("224"), sim2Password->text()},
    };
    if (pingFieldsShown) {
        settings.insert(QStringLiteral("230"), ping1->text());
        settings.insert(QStringLiteral("240"), ping2->text());
    }
    return unshownKeys.addedTo(settings);
}

void BoxLTE::setPingFieldsVisible(bool visible)
{
    pingFieldsShown = visible;
    ping1Label->setVisible(visible);
    ping2Label->setVisible(visible);
    ping1->setVisible(visible);
    ping2->setVisible(visible);
    // Hidden ping addresses are not sent, so they must not hold the apply back.
    FieldValidation::instance().setFieldIgnored(ping1, !visible);
    FieldValidation::instance().setFieldIgnored(ping2, !visible);
}

void BoxLTE::resizeEvent(QResizeEvent *event)
{
    const ResizeScale scale(QSize(referenceWidth, referenceHeight), event->size(),
                            ResizeScale::Rounding::None);
    const int wide = scale.x(wideFieldWidth);
    const int dial = scale.x(dialFieldWidth);
    const int sim2Label = scale.x(sim2LabelX);
    const int sim2Field = scale.x(sim2FieldX);
    const int adressY = scale.y(adressRowY);
    const int dialY = scale.y(dialRowY);
    const int userY = scale.y(userRowY);
    const int passwordY = scale.y(passwordRowY);

    sim2Header->move(scale.x(sim2HeaderX), headerY);

    sim1AdressLabel->move(sim1LabelX, adressY);
    sim1Adress->setGeometry(sim1FieldX, adressY, wide, fieldHeight);
    sim1DialLabel->move(sim1LabelX, dialY);
    sim1DialNumber->setGeometry(sim1FieldX, dialY, dial, fieldHeight);
    sim1UserLabel->move(sim1LabelX, userY);
    sim1User->setGeometry(sim1FieldX, userY, wide, fieldHeight);
    sim1PasswordLabel->move(sim1LabelX, passwordY);
    sim1Password->setGeometry(sim1FieldX, passwordY, wide, fieldHeight);

    sim2AdressLabel->move(sim2Label, adressY);
    sim2Adress->setGeometry(sim2Field, adressY, wide, fieldHeight);
    sim2DialLabel->move(sim2Label, dialY);
    sim2DialNumber->setGeometry(sim2Field, dialY, dial, fieldHeight);
    sim2UserLabel->move(sim2Label, userY);
    sim2User->setGeometry(sim2Field, userY, wide, fieldHeight);
    sim2PasswordLabel->move(sim2Label, passwordY);
    sim2Password->setGeometry(sim2Field, passwordY, wide, fieldHeight);

    firstSeparator->setGeometry(scale.x(firstSeparatorX), separatorY, separatorWidth,
                                scale.y(firstSeparatorResizedHeight));
    secondSeparator->setGeometry(scale.x(secondSeparatorX), separatorY, separatorWidth,
                                 scale.y(separatorHeight));

    const int pingLabel = scale.x(pingLabelX);
    const int pingField = scale.x(pingFieldX);
    ping1Label->move(pingLabel, scale.y(ping1Y));
    ping1->setGeometry(pingField, scale.y(ping1Y), wide, fieldHeight);
    ping2Label->move(pingLabel, scale.y(ping2Y));
    ping2->setGeometry(pingField, scale.y(ping2Y), wide, fieldHeight);

    QGroupBox::resizeEvent(event);
}

void BoxLTE::validatorSIM1Adress(QString)
{
    FieldValidation::instance().markField(sim1Adress, sim1AdressLabel->text());
}

void BoxLTE::validatorSIM1DualingNumber(QString)
{
    FieldValidation::instance().markField(sim1DialNumber, sim1DialLabel->text());
}

void BoxLTE::validatorSIM2Adress(QString)
{
    FieldValidation::instance().markField(sim2Adress, sim2AdressLabel->text());
}

void BoxLTE::validatorSIM2DualingNumber(QString)
{
    FieldValidation::instance().markField(sim2DialNumber, sim2DialLabel->text());
}

void BoxLTE::validatorPing1(QString)
{
    FieldValidation::instance().markField(ping1, ping1Label->text());
}

void BoxLTE::validatorPing2(QString)
{
    // The label's second line only says the address is optional.
    FieldValidation::instance().markField(ping2,
                                          ping2Label->text().section(QLatin1Char('\n'), 0, 0));
}

QFrame *BoxLTE::addSeparator(const QRect &geometry)
{
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(geometry);
    return line;
}
