#include "network/boxlte.h"
#include "pagekit/fieldvalidation.h"
#include "widgetcheck.h"

#include <QJsonObject>
#include <QLineEdit>
#include <QTest>

class TestBoxLTE : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void hiddenPingFieldDoesNotBlockApply();

    void roundTrip_data();
    void roundTrip();
    void typing_data();
    void typing();
    void sharedAddressEntry_data();
    void sharedAddressEntry();
    void loadingMarksFields_data();
    void loadingMarksFields();
    void resizeGeometry_data();
    void resizeGeometry();
    void noOverlap_data();
    void noOverlap();

private:
    QLineEdit *field(BoxLTE &box, const QString &name);
};

namespace {

const QRect creationGeometry(20, 10, 871, 181);

QJsonObject fullGroup()
{
    return QJsonObject{
            {"211", "internet.mts.ru"}, {"212", "99"},         {"213", "mts"}, {"214", "secret"},
            {"221", "apn|2"},           {"222", "12345"},      {"223", ""},    {"224", "pw2"},
            {"230", "8.8.8.8"},         {"240", "10.0.0.1/24"}};
}

QJsonObject withoutPing(QJsonObject group)
{
    group.remove("230");
    group.remove("240");
    return group;
}

} // namespace

void TestBoxLTE::init()
{
    FieldValidation::instance().reset();
}

void TestBoxLTE::hiddenPingFieldDoesNotBlockApply()
{
    BoxLTE box(QStringLiteral("LTE"), creationGeometry);
    box.setSettings(QJsonObject{{"230", "10.0.0.1"}});
    box.setSettings(QJsonObject{{"230", "10.0"}});
    QVERIFY(!FieldValidation::instance().fieldsValid());

    box.setPingFieldsVisible(false);
    QVERIFY(FieldValidation::instance().fieldsValid());
    QCOMPARE(FieldValidation::instance().invalidFields(), QString());

    box.setPingFieldsVisible(true);
    QVERIFY(!FieldValidation::instance().fieldsValid());
    QVERIFY(FieldValidation::instance().invalidFields().contains(QStringLiteral("IP№1")));
}

QLineEdit *TestBoxLTE::field(BoxLTE &box, const QString &name)
{
    auto *edit = box.findChild<QLineEdit *>(name);
    if (!edit)
        qFatal("no field %s", qPrintable(name));
    return edit;
}

void TestBoxLTE::roundTrip_data()
{
    QTest::addColumn<QJsonObject>("group");
    QTest::addColumn<bool>("pingShown");
    QTest::addColumn<QJsonObject>("expected");

    const QJsonObject empty{{"211", ""}, {"212", ""}, {"213", ""}, {"214", ""}, {"221", ""},
                            {"222", ""}, {"223", ""}, {"224", ""}, {"230", ""}, {"240", ""}};

    QTest::newRow("full group, ping shown") << fullGroup() << true << fullGroup();
    QTest::newRow("full group, ping hidden") << fullGroup() << false << withoutPing(fullGroup());
    QTest::newRow("empty group gives empty strings") << QJsonObject() << true << empty;
    QTest::newRow("empty group, ping hidden: eight keys")
            << QJsonObject() << false << withoutPing(empty);
    QJsonObject foreign = fullGroup();
    foreign["212"] = 99;
    foreign["230"] = true;
    foreign["223"] = QJsonValue::Null;
    QJsonObject foreignExpected = fullGroup();
    foreignExpected["212"] = "";
    foreignExpected["230"] = "";
    foreignExpected["223"] = "";
    QTest::newRow("non-string values read as empty") << foreign << true << foreignExpected;
    QJsonObject noPing = withoutPing(fullGroup());
    QJsonObject noPingExpected = fullGroup();
    noPingExpected["230"] = "";
    noPingExpected["240"] = "";
    QTest::newRow("group without ping keys empties them") << noPing << true << noPingExpected;
}

void TestBoxLTE::roundTrip()
{
    QFETCH(QJsonObject, group);
    QFETCH(bool, pingShown);
    QFETCH(QJsonObject, expected);

    BoxLTE box(QStringLiteral("LTE"), creationGeometry);
    // Filled before, so that absent keys must really clear the fields.
    box.setSettings(fullGroup());
    box.setPingFieldsVisible(pingShown);
    box.setSettings(group);

    const QJsonObject result = box.getSettings();
    QCOMPARE(result, expected);
    for (auto it = result.constBegin(); it != result.constEnd(); ++it)
        QVERIFY2(it.value().isString(), qPrintable(it.key()));
}

void TestBoxLTE::typing_data()
{
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("acceptable");
    QTest::addColumn<QString>("invalidFields");

    QTest::newRow("apn letters digits dots") << "sim1Adress"
                                             << "internet.beeline.ru"
                                             << "internet.beeline.ru" << true << "";
    QTest::newRow("apn chars between Z and a") << "sim1Adress"
                                               << "Z[\\]^_`a"
                                               << "Z[\\]^_`a" << true << "";
    QTest::newRow("apn vertical bar") << "sim2Adress"
                                      << "a|b"
                                      << "a|b" << true << "";
    QTest::newRow("apn hyphen refused") << "sim1Adress"
                                        << "my-apn"
                                        << "myapn" << true << "";
    QTest::newRow("apn brace and space refused") << "sim2Adress"
                                                 << "{a b}"
                                                 << "ab" << true << "";
    QTest::newRow("dial one digit") << "sim1DialNumber"
                                    << "1"
                                    << "1" << false << "Номер дозвона\n";
    QTest::newRow("dial two digits") << "sim1DialNumber"
                                     << "12"
                                     << "12" << true << "";
    QTest::newRow("dial five digits") << "sim2DialNumber"
                                      << "12345"
                                      << "12345" << true << "";
    QTest::newRow("dial sixth digit refused") << "sim2DialNumber"
                                              << "123456"
                                              << "12345" << true << "";
    QTest::newRow("dial star and hash refused") << "sim1DialNumber"
                                                << "*9#9"
                                                << "99" << true << "";
    QTest::newRow("ping complete") << "ping1"
                                   << "192.168.1.1"
                                   << "192.168.1.1" << true << "";
    QTest::newRow("ping with prefix") << "ping1"
                                      << "10.0.0.1/24"
                                      << "10.0.0.1/24" << true << "";
    QTest::newRow("ping incomplete") << "ping1"
                                     << "192.168."
                                     << "192.168." << false << "IP№1 для пинга\n";
    QTest::newRow("ping letters refused") << "ping1"
                                          << "a1.b2"
                                          << "1.2" << false << "IP№1 для пинга\n";
    QTest::newRow("second ping incomplete") << "ping2"
                                            << "192.168."
                                            << "192.168." << false << "IP№2 для пинга\n";
    QTest::newRow("second ping complete") << "ping2"
                                          << "8.8.8.8"
                                          << "8.8.8.8" << true << "";
    QTest::newRow("second ping emptied") << "ping2"
                                         << "8\b"
                                         << "" << true << "";
}

void TestBoxLTE::typing()
{
    QFETCH(QString, fieldName);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(bool, acceptable);
    QFETCH(QString, invalidFields);

    BoxLTE box(QStringLiteral("LTE"), creationGeometry);
    QLineEdit *edit = field(box, fieldName);
    QTest::keyClicks(edit, keys);

    QCOMPARE(edit->text(), shown);
    QCOMPARE(edit->hasAcceptableInput(), acceptable);
    QCOMPARE(FieldValidation::instance().invalidFields(), invalidFields);
    QCOMPARE(FieldValidation::instance().fieldsValid(), invalidFields.isEmpty());
    QCOMPARE(edit->styleSheet(),
             acceptable ? FieldValidation::validFieldStyle : FieldValidation::invalidFieldStyle);
}

void TestBoxLTE::sharedAddressEntry_data()
{
    QTest::addColumn<QString>("sim1Text");
    QTest::addColumn<QString>("sim2Text");
    QTest::addColumn<QString>("invalidFields");

    QTest::newRow("both still invalid") << ""
                                        << ""
                                        << "Адрес\n";
    QTest::newRow("only SIM1 corrected") << "apn1"
                                         << ""
                                         << "Адрес\n";
    QTest::newRow("only SIM2 corrected") << ""
                                         << "apn2"
                                         << "Адрес\n";
    QTest::newRow("both corrected") << "apn1"
                                    << "apn2"
                                    << "";
}

void TestBoxLTE::sharedAddressEntry()
{
    QFETCH(QString, sim1Text);
    QFETCH(QString, sim2Text);
    QFETCH(QString, invalidFields);

    BoxLTE box(QStringLiteral("LTE"), creationGeometry);
    QLineEdit *sim1 = field(box, "sim1Adress");
    QLineEdit *sim2 = field(box, "sim2Adress");
    sim1->setText("x");
    sim2->setText("y");
    sim1->clear();
    sim2->clear();
    QCOMPARE(FieldValidation::instance().invalidFields(), QString("Адрес\n"));

    sim1->setText(sim1Text);
    sim2->setText(sim2Text);
    QCOMPARE(FieldValidation::instance().invalidFields(), invalidFields);
    QCOMPARE(FieldValidation::instance().fieldsValid(), invalidFields.isEmpty());
}

void TestBoxLTE::loadingMarksFields_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("loaded");
    QTest::addColumn<bool>("marked");

    QTest::newRow("letters digits dots") << ""
                                         << "Apn.2.ru" << false;
    QTest::newRow("empty over filled") << "internet"
                                       << "" << true;
    QTest::newRow("gateway value outside the pattern") << ""
                                                       << "apn-x" << true;
}

void TestBoxLTE::loadingMarksFields()
{
    QFETCH(QString, before);
    QFETCH(QString, loaded);
    QFETCH(bool, marked);

    BoxLTE box(QStringLiteral("LTE"), creationGeometry);
    box.setSettings(QJsonObject{
            {"211", before}, {"221", "ok"}, {"212", "11"}, {"222", "22"}, {"230", "1.1.1.1"}});
    FieldValidation::instance().reset();
    QJsonObject group{
            {"211", loaded}, {"221", "ok"}, {"212", "11"}, {"222", "22"}, {"230", "1.1.1.1"}};
    box.setSettings(group);

    QLineEdit *sim1 = field(box, "sim1Adress");
    QCOMPARE(sim1->text(), loaded);
    QCOMPARE(sim1->styleSheet(),
             marked ? FieldValidation::invalidFieldStyle : FieldValidation::validFieldStyle);
    QCOMPARE(FieldValidation::instance().invalidFields(), marked ? QString("Адрес\n") : QString());
    QCOMPARE(FieldValidation::instance().fieldsValid(), !marked);
}

void TestBoxLTE::resizeGeometry_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QRect>("expected");

    const QSize reference(871, 181);
    QTest::newRow("reference SIM1 address") << reference << "sim1Adress" << QRect(140, 50, 111, 24);
    QTest::newRow("reference SIM2 dial") << reference << "sim2DialNumber" << QRect(430, 80, 51, 24);
    // Unrounded factors: kx = 1.1481..., ky = 1.3812...
    const QSize larger(1000, 250);
    QTest::newRow("larger SIM1 dial keeps x")
            << larger << "sim1DialNumber" << QRect(140, 110, 58, 24);
    QTest::newRow("larger SIM2 address") << larger << "sim2Adress" << QRect(493, 69, 127, 24);
    QTest::newRow("larger first ping") << larger << "ping1" << QRect(838, 55, 127, 24);
}

void TestBoxLTE::resizeGeometry()
{
    QFETCH(QSize, size);
    QFETCH(QString, fieldName);
    QFETCH(QRect, expected);

    BoxLTE box(QStringLiteral("LTE"), creationGeometry);
    box.resize(size);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(field(box, fieldName)->geometry(), expected);
}

void TestBoxLTE::noOverlap_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("pingShown");

    QTest::newRow("reference") << QSize(871, 181) << true;
    QTest::newRow("reference without ping") << QSize(871, 181) << false;
    QTest::newRow("larger") << QSize(1300, 300) << true;
}

void TestBoxLTE::noOverlap()
{
    QFETCH(QSize, size);
    QFETCH(bool, pingShown);

    BoxLTE box(QStringLiteral("Настройки LTE модема"), creationGeometry);
    box.setPingFieldsVisible(pingShown);
    box.resize(size);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QStringList overlaps = WidgetCheck::overlappingSiblings(&box);
    QVERIFY2(overlaps.isEmpty(), qPrintable(overlaps.join('\n')));
}

QTEST_MAIN(TestBoxLTE)
#include "tst_boxlte.moc"
