#include "lora/boxgps.h"
#include "pagekit/fieldvalidation.h"
#include "widgetcheck.h"

#include <QCheckBox>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QJsonObject json(const char *text)
{
    return QJsonDocument::fromJson(QByteArray(text)).object();
}
} // namespace

class TestBoxGPS : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void reading_data();
    void reading();
    void writing_data();
    void writing();
    void typedInput_data();
    void typedInput();
    void resizeUsesIntegerArithmetic_data();
    void resizeUsesIntegerArithmetic();

private:
    struct Parts
    {
        QCheckBox *useGps;
        QCheckBox *fakeGps;
        QLineEdit *latitude;
        QLineEdit *longitude;
        QLineEdit *height;
    };
    static Parts parts(BoxGPS &box)
    {
        return {box.findChild<QCheckBox *>(QStringLiteral("useGpsBox")),
                box.findChild<QCheckBox *>(QStringLiteral("fakeGpsBox")),
                box.findChild<QLineEdit *>(QStringLiteral("latitudeEdit")),
                box.findChild<QLineEdit *>(QStringLiteral("longitudeEdit")),
                box.findChild<QLineEdit *>(QStringLiteral("heightEdit"))};
    }
};

void TestBoxGPS::init()
{
    FieldValidation::instance().reset();
}

void TestBoxGPS::reading_data()
{
    QTest::addColumn<QJsonObject>("group");
    QTest::addColumn<bool>("useGps");
    QTest::addColumn<bool>("fakeGps");
    QTest::addColumn<QString>("latitude");
    QTest::addColumn<QString>("longitude");
    QTest::addColumn<QString>("height");

    QTest::newRow("no GPS keys") << QJsonObject() << false << false << "0.000000"
                                 << "0.000000"
                                 << "0";
    QTest::newRow("one decimal") << json(
            R"({"131":true,"132":false,"133":55.5,"134":37.25,"135":150})")
                                 << true << false << "55.500000"
                                 << "37.250000"
                                 << "150";
    QTest::newRow("integral degrees")
            << json(R"({"132":true,"133":55,"134":7})") << false << true << "55.000000"
            << "7.000000"
            << "0";
    QTest::newRow("seven decimals rounded")
            << json(R"({"133":55.1234567,"134":37.9999996})") << false << false << "55.123457"
            << "38.000000"
            << "0";
    QTest::newRow("mistyped values read as zero")
            << json(R"({"131":"true","133":"55.5","134":null,"135":"150"})") << false << false
            << "0.000000"
            << "0.000000"
            << "0";
    QTest::newRow("Vladivostok below sea level")
            << json(R"({"133":43.115141,"134":131.885,"135":-20})") << false << false << "43.115141"
            << "131.885000"
            << "-20";
    QTest::newRow("south-west corner")
            << json(R"({"133":-90,"134":-180,"135":-999999})") << false << false << "-90.000000"
            << "-180.000000"
            << "-999999";
    QTest::newRow("other keys ignored")
            << json(R"({"111":"10.0.0.1","112":1700})") << false << false << "0.000000"
            << "0.000000"
            << "0";
}

void TestBoxGPS::reading()
{
    QFETCH(QJsonObject, group);
    QFETCH(bool, useGps);
    QFETCH(bool, fakeGps);
    QFETCH(QString, latitude);
    QFETCH(QString, longitude);
    QFETCH(QString, height);

    QWidget host;
    BoxGPS box(QStringLiteral("Настройки GPS"), QRect(0, 0, 621, 91), &host);
    const Parts p = parts(box);
    // Start from the opposite, so that every field is really written.
    box.setSettings(json(R"({"131":true,"132":true,"133":1.5,"134":2.5,"135":9})"));
    p.useGps->setChecked(!useGps);
    p.fakeGps->setChecked(!fakeGps);

    box.setSettings(group);
    QCOMPARE(p.useGps->isChecked(), useGps);
    QCOMPARE(p.fakeGps->isChecked(), fakeGps);
    QCOMPARE(p.latitude->text(), latitude);
    QCOMPARE(p.longitude->text(), longitude);
    QCOMPARE(p.height->text(), height);
    // Whatever the box shows from a document with a real position is acceptable.
    QVERIFY(FieldValidation::instance().fieldsValid());
}

void TestBoxGPS::writing_data()
{
    QTest::addColumn<bool>("useGps");
    QTest::addColumn<bool>("fakeGps");
    QTest::addColumn<QString>("latitude");
    QTest::addColumn<QString>("longitude");
    QTest::addColumn<QString>("height");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("six decimals") << true << false << "55.500000"
                                  << "37.250000"
                                  << "150"
                                  << QByteArray(R"({"131":true,"132":false,"133":55.5,)"
                                                R"("134":37.25,"135":150})");
    QTest::newRow("zero latitude, empty height")
            << false << true << "0"
            << "0.000000"
            << "" << QByteArray(R"({"131":false,"132":true,"133":0,"134":0,"135":0})");
    QTest::newRow("incomplete values as typed")
            << false << false << "55.5"
            << ""
            << "123456"
            << QByteArray(R"({"131":false,"132":false,)"
                          R"("133":55.5,"134":0,"135":123456})");
    QTest::newRow("not numbers") << false << false << "abc"
                                 << "1,5"
                                 << "12a"
                                 << QByteArray(R"({"131":false,"132":false,"133":0,"134":0,)"
                                               R"("135":0})");
}

void TestBoxGPS::writing()
{
    QFETCH(bool, useGps);
    QFETCH(bool, fakeGps);
    QFETCH(QString, latitude);
    QFETCH(QString, longitude);
    QFETCH(QString, height);
    QFETCH(QByteArray, expected);

    QWidget host;
    BoxGPS box(QStringLiteral("Настройки GPS"), QRect(0, 0, 621, 91), &host);
    const Parts p = parts(box);
    p.useGps->setChecked(useGps);
    p.fakeGps->setChecked(fakeGps);
    p.latitude->setText(latitude);
    p.longitude->setText(longitude);
    p.height->setText(height);

    QJsonObject group;
    box.putSettings(group);
    QCOMPARE(QJsonDocument(group).toJson(QJsonDocument::Compact), expected);
    QVERIFY(group.value(QStringLiteral("131")).isBool());
    QVERIFY(group.value(QStringLiteral("133")).isDouble());
    QVERIFY(group.value(QStringLiteral("135")).isDouble());
}

void TestBoxGPS::typedInput_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("keys"); // "<" is a backspace
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("label");

    QTest::newRow("latitude one decimal") << "latitude"
                                          << "55.5"
                                          << "55.5" << true << "Широта";
    QTest::newRow("latitude six decimals") << "latitude"
                                           << "55.500000"
                                           << "55.500000" << true << "Широта";
    QTest::newRow("latitude seventh decimal refused") << "latitude"
                                                      << "55.5000001"
                                                      << "55.500000" << true << "Широта";
    QTest::newRow("latitude south") << "latitude"
                                    << "-5.5"
                                    << "-5.5" << true << "Широта";
    QTest::newRow("latitude sign alone") << "latitude"
                                         << "-"
                                         << "-" << false << "Широта";
    QTest::newRow("latitude 91 refused") << "latitude"
                                         << "91"
                                         << "9" << true << "Широта";
    QTest::newRow("latitude zero") << "latitude"
                                   << "0"
                                   << "0" << true << "Широта";
    QTest::newRow("longitude 131.885 east") << "longitude"
                                            << "131.885"
                                            << "131.885" << true << "Долгота";
    QTest::newRow("longitude 180.5 refused") << "longitude"
                                             << "180.5"
                                             << "180." << false << "Долгота";
    QTest::newRow("longitude 181 refused") << "longitude"
                                           << "-181"
                                           << "-18" << true << "Долгота";
    QTest::newRow("longitude without point") << "longitude"
                                             << "37"
                                             << "37" << true << "Долгота";
    QTest::newRow("height below sea level") << "height"
                                            << "-20"
                                            << "-20" << true << "Высота";
    QTest::newRow("height seventh digit refused") << "height"
                                                  << "1234567"
                                                  << "123456" << true << "Высота";
    QTest::newRow("height emptied") << "height"
                                    << "12<<"
                                    << "" << true << "Высота";
    QTest::newRow("height letters refused") << "height"
                                            << "1a2"
                                            << "12" << true << "Высота";
}

void TestBoxGPS::typedInput()
{
    QFETCH(QString, field);
    QFETCH(QString, keys);
    QFETCH(QString, shown);
    QFETCH(bool, valid);
    QFETCH(QString, label);

    QWidget host;
    BoxGPS box(QStringLiteral("Настройки GPS"), QRect(0, 0, 621, 91), &host);
    auto *edit = box.findChild<QLineEdit *>(field + QStringLiteral("Edit"));
    QVERIFY(edit);
    for (const QChar key : keys) {
        if (key == QLatin1Char('<'))
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, QString(key));
    }

    QCOMPARE(edit->text(), shown);
    const FieldValidation &validation = FieldValidation::instance();
    QCOMPARE(validation.fieldsValid(), valid);
    QCOMPARE(validation.invalidFields(), valid ? QString() : label + QLatin1Char('\n'));
    QCOMPARE(edit->styleSheet(),
             valid ? FieldValidation::validFieldStyle : FieldValidation::invalidFieldStyle);
}

void TestBoxGPS::resizeUsesIntegerArithmetic_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("useGps");
    QTest::addColumn<QRect>("fakeGps");
    QTest::addColumn<QRect>("latitudeLabel");
    QTest::addColumn<QRect>("latitude");
    QTest::addColumn<QRect>("longitude");
    QTest::addColumn<QRect>("height");

    // 79 / 3 = 26, 9 / 4 = 2, 9 / 2 = 4
    QTest::newRow("remainders dropped")
            << QSize(700, 100) << QRect(20, 32, 131, 22) << QRect(20, 64, 131, 22)
            << QRect(170, 27, 51, 21) << QRect(170, 52, 157, 24) << QRect(346, 52, 157, 24)
            << QRect(522, 52, 157, 24);
    // Truncation toward zero: -21 / 3 = -7, -11 / 4 = -2, -11 / 2 = -5
    QTest::newRow("smaller") << QSize(600, 80) << QRect(20, 28, 131, 22) << QRect(20, 55, 131, 22)
                             << QRect(170, 18, 51, 21) << QRect(170, 43, 124, 24)
                             << QRect(313, 43, 124, 24) << QRect(456, 43, 124, 24);
}

void TestBoxGPS::resizeUsesIntegerArithmetic()
{
    QFETCH(QSize, size);
    QFETCH(QRect, useGps);
    QFETCH(QRect, fakeGps);
    QFETCH(QRect, latitudeLabel);
    QFETCH(QRect, latitude);
    QFETCH(QRect, longitude);
    QFETCH(QRect, height);

    QWidget host;
    host.resize(1000, 200);
    BoxGPS box(QStringLiteral("Настройки GPS"), QRect(0, 0, 10, 10), &host);
    host.show();
    box.resize(size);
    const Parts p = parts(box);
    QCOMPARE(p.useGps->geometry(), useGps);
    QCOMPARE(p.fakeGps->geometry(), fakeGps);
    QCOMPARE(box.findChildren<QLabel *>().at(0)->geometry(), latitudeLabel);
    QCOMPARE(p.latitude->geometry(), latitude);
    QCOMPARE(p.longitude->geometry(), longitude);
    QCOMPARE(p.height->geometry(), height);
    QCOMPARE(box.findChildren<QLabel *>().at(2)->geometry().topLeft(),
             height.topLeft() - QPoint(0, 25));
}

QTEST_MAIN(TestBoxGPS)
#include "tst_boxgps.moc"
