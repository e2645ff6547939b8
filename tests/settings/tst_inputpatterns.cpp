#include "settings/inputpatterns.h"

#include <QRegularExpressionValidator>
#include <QtTest>

// The patterns are used through validators, which need a whole-text match.
class TestInputPatterns : public QObject
{
    Q_OBJECT

private slots:
    void wholeTextVerdict_data();
    void wholeTextVerdict();
};

void TestInputPatterns::wholeTextVerdict_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("acceptable");

    const auto ipv4 = QStringLiteral("ipv4");
    QTest::newRow("ipv4 plain") << ipv4 << "192.168.1.1" << true;
    QTest::newRow("ipv4 with prefix") << ipv4 << "10.0.0.1/24" << true;
    QTest::newRow("ipv4 leading zeros") << ipv4 << "010.001.000.255" << true;
    QTest::newRow("ipv4 empty prefix") << ipv4 << "10.0.0.1/" << true;
    QTest::newRow("ipv4 prefix value not limited") << ipv4 << "10.0.0.1/999" << true;
    QTest::newRow("ipv4 octet 256") << ipv4 << "256.1.1.1" << false;
    QTest::newRow("ipv4 three octets") << ipv4 << "1.2.3" << false;
    QTest::newRow("ipv4 four prefix digits") << ipv4 << "1.2.3.4/1234" << false;
    QTest::newRow("ipv4 five octets") << ipv4 << "1.2.3.4.5" << false;
    QTest::newRow("ipv4 empty") << ipv4 << "" << false;

    const auto apn = QStringLiteral("apn");
    QTest::newRow("apn host") << apn << "internet.mts.ru" << true;
    QTest::newRow("apn chars between Z and a") << apn << "a_b^[]`" << true;
    QTest::newRow("apn bar") << apn << "a|b" << true;
    QTest::newRow("apn hyphen") << apn << "my-apn" << false;
    QTest::newRow("apn empty") << apn << "" << false;

    const auto dial = QStringLiteral("dial");
    QTest::newRow("dial one digit") << dial << "1" << false;
    QTest::newRow("dial two digits") << dial << "99" << true;
    QTest::newRow("dial five digits") << dial << "12345" << true;
    QTest::newRow("dial six digits") << dial << "123456" << false;
    QTest::newRow("dial star") << dial << "*99#" << false;
}

void TestInputPatterns::wholeTextVerdict()
{
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, acceptable);

    const QRegularExpression &expression = pattern == QLatin1String("ipv4") ? InputPatterns::ipv4()
            : pattern == QLatin1String("apn")                               ? InputPatterns::apn()
                                              : InputPatterns::dialNumber();
    QVERIFY(expression.isValid());
    QRegularExpressionValidator validator(expression);
    int position = 0;
    QCOMPARE(validator.validate(text, position) == QValidator::Acceptable, acceptable);
}

QTEST_MAIN(TestInputPatterns)
#include "tst_inputpatterns.moc"
