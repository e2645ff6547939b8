#include "lora/channelsbox.h"
#include "pagekit/fieldvalidation.h"
#include "widgetcheck.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestChannelsBox : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void setChannel_data();
    void setChannel();
    void onlyOperatorEditsEmitEdited_data();
    void onlyOperatorEditsEmitEdited();
    void frequencyMarking_data();
    void frequencyMarking();
    void resizeScalesGeometry_data();
    void resizeScalesGeometry();

private:
    struct Parts
    {
        QLineEdit *frequency;
        QRadioButton *radio0;
        QRadioButton *radio1;
        QCheckBox *enable;
    };
    static Parts parts(ChannelsBox &box)
    {
        return {box.findChild<QLineEdit *>(QStringLiteral("frequencyEdit")),
                box.findChild<QRadioButton *>(QStringLiteral("radio0Button")),
                box.findChild<QRadioButton *>(QStringLiteral("radio1Button")),
                box.findChild<QCheckBox *>(QStringLiteral("enableBox"))};
    }
};

void TestChannelsBox::init()
{
    FieldValidation::instance().reset();
}

void TestChannelsBox::setChannel_data()
{
    QTest::addColumn<bool>("primeFirst");
    QTest::addColumn<bool>("primeEnabled");
    QTest::addColumn<int>("primeRadio");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("radio");
    QTest::addColumn<int>("frequency");
    QTest::addColumn<bool>("radio0Checked");
    QTest::addColumn<bool>("radio1Checked");
    QTest::addColumn<bool>("fieldsEnabled");

    QTest::newRow("fresh box, radio 0")
            << false << false << 0 << true << 0 << 864100000 << true << false << true;
    QTest::newRow("radio 2 keeps radio 1")
            << true << true << 1 << true << 2 << 868100000 << false << true << true;
    QTest::newRow("radio -1 keeps radio 0")
            << true << true << 0 << true << -1 << 868100000 << true << false << true;
    QTest::newRow("enabled then disabled greys out")
            << true << true << 0 << false << 0 << 864900000 << true << false << false;
    // No change of the enable box happened, so nothing was greyed out.
    QTest::newRow("disabled into an unchecked box stays usable")
            << false << false << 0 << false << 0 << 864900000 << true << false << true;
}

void TestChannelsBox::setChannel()
{
    QFETCH(bool, primeFirst);
    QFETCH(bool, primeEnabled);
    QFETCH(int, primeRadio);
    QFETCH(bool, enabled);
    QFETCH(int, radio);
    QFETCH(int, frequency);
    QFETCH(bool, radio0Checked);
    QFETCH(bool, radio1Checked);
    QFETCH(bool, fieldsEnabled);

    QWidget host;
    ChannelsBox box(QStringLiteral("Канал 0"), QRect(0, 0, 181, 121), &host);
    const Parts p = parts(box);
    if (primeFirst)
        box.setChannel(primeEnabled, primeRadio, 867100000);
    QSignalSpy edited(&box, &ChannelsBox::edited);
    QVERIFY(edited.isValid());

    box.setChannel(enabled, radio, frequency);

    QCOMPARE(p.frequency->text(), QString::number(frequency));
    QCOMPARE(box.channelFrequency(), frequency);
    QCOMPARE(box.channelEnabled(), enabled);
    QCOMPARE(p.enable->isChecked(), enabled);
    QCOMPARE(p.radio0->isChecked(), radio0Checked);
    QCOMPARE(p.radio1->isChecked(), radio1Checked);
    QCOMPARE(box.channelRadio(), radio1Checked ? 1 : 0);
    QCOMPARE(p.frequency->isEnabled(), fieldsEnabled);
    QCOMPARE(p.radio0->isEnabled(), fieldsEnabled);
    QCOMPARE(p.radio1->isEnabled(), fieldsEnabled);
    QCOMPARE(edited.count(), 0);
}

void TestChannelsBox::onlyOperatorEditsEmitEdited_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("expectedTexts");

    QTest::newRow("typing one digit") << "type" << QStringList{QStringLiteral("868100005")};
    QTest::newRow("deleting one digit") << "backspace" << QStringList{QStringLiteral("86810000")};
    QTest::newRow("program sets the text") << "setChannel" << QStringList{};
    QTest::newRow("radio toggled") << "radio" << QStringList{};
    QTest::newRow("enable box toggled") << "enable" << QStringList{};
}

void TestChannelsBox::onlyOperatorEditsEmitEdited()
{
    QFETCH(QString, action);
    QFETCH(QStringList, expectedTexts);

    QWidget host;
    ChannelsBox box(QStringLiteral("Канал 6"), QRect(0, 0, 181, 121), &host);
    const Parts p = parts(box);
    box.setChannel(true, 0, 868100000);
    QSignalSpy edited(&box, &ChannelsBox::edited);
    QVERIFY(edited.isValid());

    if (action == QLatin1String("type")) {
        // The validator refuses a tenth digit, so delete one first and type it back.
        p.frequency->setText(QStringLiteral("86810000"));
        p.frequency->end(false);
        QTest::keyClicks(p.frequency, QStringLiteral("5"));
    } else if (action == QLatin1String("backspace")) {
        p.frequency->end(false);
        QTest::keyClick(p.frequency, Qt::Key_Backspace);
    } else if (action == QLatin1String("setChannel")) {
        box.setChannel(true, 1, 869100000);
    } else if (action == QLatin1String("radio")) {
        QTest::mouseClick(p.radio1, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(p.radio1->isChecked());
    } else if (action == QLatin1String("enable")) {
        p.enable->click();
        QVERIFY(!p.enable->isChecked());
    }

    QStringList texts;
    for (const QList<QVariant> &arguments : edited)
        texts.append(arguments.at(0).toString());
    QCOMPARE(texts, expectedTexts);
}

void TestChannelsBox::frequencyMarking_data()
{
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<bool>("valid");

    QTest::newRow("eight digits") << QStringList{QStringLiteral("86810000")} << false;
    QTest::newRow("nine digits") << QStringList{QStringLiteral("868100000")} << true;
    QTest::newRow("eight then completed to nine")
            << QStringList{QStringLiteral("86810000"), QStringLiteral("0")} << true;
    QTest::newRow("nine then one deleted")
            << QStringList{QStringLiteral("868100000"), QStringLiteral("\b")} << false;
}

void TestChannelsBox::frequencyMarking()
{
    QFETCH(QStringList, typed);
    QFETCH(bool, valid);

    QWidget host;
    ChannelsBox box(QStringLiteral("Канал 3"), QRect(0, 0, 181, 121), &host);
    QLineEdit *field = parts(box).frequency;
    parts(box).enable->setChecked(true);
    for (const QString &step : typed) {
        if (step == QLatin1String("\b"))
            QTest::keyClick(field, Qt::Key_Backspace);
        else
            QTest::keyClicks(field, step);
    }

    const FieldValidation &validation = FieldValidation::instance();
    QCOMPARE(validation.fieldsValid(), valid);
    QCOMPARE(validation.invalidFields(), valid ? QString() : QStringLiteral("Канал 3\n"));
    QCOMPARE(field->styleSheet(),
             valid ? FieldValidation::validFieldStyle : FieldValidation::invalidFieldStyle);
}

void TestChannelsBox::resizeScalesGeometry_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("frequency");
    QTest::addColumn<QRect>("radio0");
    QTest::addColumn<QRect>("radio1");
    QTest::addColumn<QRect>("enable");

    // 1 + 19/181 = 1.1049... -> 1.10; 1 + 9/121 = 1.0743... -> 1.07
    QTest::newRow("rounded to hundredths")
            << QSize(200, 130) << QRect(10, 42, 177, 24) << QRect(10, 85, 71, 22)
            << QRect(121, 85, 71, 22) << QRect(181, 0, 16, 22);
}

void TestChannelsBox::resizeScalesGeometry()
{
    QFETCH(QSize, size);
    QFETCH(QRect, frequency);
    QFETCH(QRect, radio0);
    QFETCH(QRect, radio1);
    QFETCH(QRect, enable);

    QWidget host;
    host.resize(500, 400);
    ChannelsBox box(QStringLiteral("Канал 4"), QRect(0, 0, 100, 100), &host);
    host.show();
    box.resize(size);
    QTRY_COMPARE(box.size(), size);
    const Parts p = parts(box);
    QCOMPARE(p.frequency->geometry(), frequency);
    QCOMPARE(p.radio0->geometry(), radio0);
    QCOMPARE(p.radio1->geometry(), radio1);
    QCOMPARE(p.enable->geometry(), enable);
}

QTEST_MAIN(TestChannelsBox)
#include "tst_channelsbox.moc"
