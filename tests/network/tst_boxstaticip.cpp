#include "network/boxstaticip.h"
#include "pagekit/fieldvalidation.h"
#include "widgetcheck.h"

#include <QJsonObject>
#include <QLineEdit>
#include <QTest>

class TestBoxStaticIP : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void roundTrip_data();
    void roundTrip();
    void validation_data();
    void validation();
    void untickedBoxNeverBlocks();
    void resizeGeometry_data();
    void resizeGeometry();
    void noOverlap_data();
    void noOverlap();
};

namespace {

const QRect creationGeometry(690, 200, 201, 221);
const QStringList fieldNames{"ip", "domain", "gateway", "mask", "dns1", "dns2"};

QJsonObject fullGroup(bool on)
{
    return QJsonObject{{"310", on},
                       {"320", "192.168.0.10"},
                       {"330", "192.168.0.1"},
                       {"340", "8.8.8.8"},
                       {"350", "dns two"},
                       {"360", "corp.local"},
                       {"370", "255.255.255.0"}};
}

QLineEdit *field(BoxStaticIP &box, const QString &name)
{
    auto *edit = box.findChild<QLineEdit *>(name);
    if (!edit)
        qFatal("no field %s", qPrintable(name));
    return edit;
}

} // namespace

void TestBoxStaticIP::init()
{
    FieldValidation::instance().reset();
}

void TestBoxStaticIP::roundTrip_data()
{
    QTest::addColumn<QJsonObject>("group");
    QTest::addColumn<QJsonObject>("expected");

    const QJsonObject empty{{"310", false}, {"320", ""}, {"330", ""}, {"340", ""},
                            {"350", ""},    {"360", ""}, {"370", ""}};
    QTest::newRow("on") << fullGroup(true) << fullGroup(true);
    QTest::newRow("off keeps its texts") << fullGroup(false) << fullGroup(false);
    QTest::newRow("empty group") << QJsonObject() << empty;
    QJsonObject stringSwitch = fullGroup(true);
    stringSwitch["310"] = "true";
    QTest::newRow("string switch reads as off") << stringSwitch << fullGroup(false);
    QJsonObject numberSwitch = fullGroup(true);
    numberSwitch["310"] = 1;
    numberSwitch["370"] = 24;
    QJsonObject numberExpected = fullGroup(false);
    numberExpected["370"] = "";
    QTest::newRow("numbers read as off and empty") << numberSwitch << numberExpected;
}

void TestBoxStaticIP::roundTrip()
{
    QFETCH(QJsonObject, group);
    QFETCH(QJsonObject, expected);

    BoxStaticIP box(QStringLiteral("Статический IP адрес"), creationGeometry);
    box.setSettings(fullGroup(true));
    box.setSettings(group);

    QCOMPARE(box.getSettings(), expected);
    QVERIFY(box.getSettings().value("310").isBool());
    QCOMPARE(box.isChecked(), expected.value("310").toBool());
    for (const QString &name : fieldNames)
        QCOMPARE(field(box, name)->isEnabled(), box.isChecked());
}

void TestBoxStaticIP::validation_data()
{
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("invalidFields");

    QTest::newRow("address with prefix") << "ip"
                                         << "10.1.2.3/24" << true << "";
    QTest::newRow("gateway with prefix") << "gateway"
                                         << "10.1.2.3/24" << true << "";
    QTest::newRow("dns1 with prefix") << "dns1"
                                      << "10.1.2.3/24" << true << "";
    QTest::newRow("empty dns1 is allowed") << "dns1"
                                           << "" << true << "";
    QTest::newRow("empty gateway is not") << "gateway"
                                          << "" << true << "Шлюз\n";
    QTest::newRow("octet out of range") << "gateway"
                                        << "256.1.1.1" << true << "Шлюз\n";
    QTest::newRow("three octets") << "dns1"
                                  << "1.2.3" << true << "DNS1\n";
    QTest::newRow("prefix of four digits") << "ip"
                                           << "1.2.3.4/1234" << true << "IP\n";
    QTest::newRow("mask takes anything") << "mask"
                                         << "any text" << true << "";
    QTest::newRow("dns2 takes anything") << "dns2"
                                         << "not.an/address" << true << "";
    QTest::newRow("empty mask is not marked") << "mask"
                                              << "" << true << "";
}

void TestBoxStaticIP::validation()
{
    QFETCH(QString, fieldName);
    QFETCH(QString, text);
    QFETCH(bool, checked);
    QFETCH(QString, invalidFields);

    BoxStaticIP box(QStringLiteral("Статический IP адрес"), creationGeometry);
    QJsonObject filled = fullGroup(checked);
    box.setSettings(filled);
    QVERIFY(FieldValidation::instance().fieldsValid());

    QLineEdit *edit = field(box, fieldName);
    edit->setText(text);
    QCOMPARE(edit->text(), text);
    QCOMPARE(FieldValidation::instance().invalidFields(), invalidFields);
    QCOMPARE(FieldValidation::instance().fieldsValid(), invalidFields.isEmpty());
    QCOMPARE(edit->styleSheet(),
             invalidFields.isEmpty() ? FieldValidation::validFieldStyle
                                     : FieldValidation::invalidFieldStyle);
}

// Half-typed text in a box the operator then unticks: the apply goes through with
// the gateway's own values; ticked again, the text counts again.
void TestBoxStaticIP::untickedBoxNeverBlocks()
{
    BoxStaticIP box(QStringLiteral("Статический IP адрес"), creationGeometry);
    box.setSettings(fullGroup(true));
    field(box, "ip")->setText("10.1.");
    field(box, "mask")->setText("255.255.");
    box.setChecked(false);
    QVERIFY(FieldValidation::instance().fieldsValid());
    QCOMPARE(box.getSettings(), fullGroup(false));
    box.setChecked(true);
    QCOMPARE(FieldValidation::instance().invalidFields(), QString("IP\n"));
}

void TestBoxStaticIP::resizeGeometry_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<QList<int>>("rows");

    QTest::newRow("reference") << 221 << QList<int>{30, 60, 90, 120, 150, 180};
    // ky = 1.3574..., not rounded: the mask row lands on 162, not 163.
    QTest::newRow("taller") << 300 << QList<int>{40, 81, 122, 162, 203, 244};
}

void TestBoxStaticIP::resizeGeometry()
{
    QFETCH(int, height);
    QFETCH(QList<int>, rows);

    BoxStaticIP box(QStringLiteral("Статический IP адрес"), creationGeometry);
    box.resize(201, height);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    for (int row = 0; row < fieldNames.size(); ++row)
        QCOMPARE(field(box, fieldNames[row])->geometry(), QRect(70, rows[row], 111, 24));
}

void TestBoxStaticIP::noOverlap_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("reference") << QSize(201, 221);
    QTest::newRow("taller") << QSize(201, 400);
}

void TestBoxStaticIP::noOverlap()
{
    QFETCH(QSize, size);

    BoxStaticIP box(QStringLiteral("Статический IP адрес"), creationGeometry);
    box.resize(size);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    const QStringList problems = WidgetCheck::layoutProblems(&box);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
}

QTEST_MAIN(TestBoxStaticIP)
#include "tst_boxstaticip.moc"
