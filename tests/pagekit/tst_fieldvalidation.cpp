#include "pagekit/fieldvalidation.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QtTest>

#include <memory>
#include <vector>

class TestFieldValidation : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void marksFollowEveryField_data();
    void marksFollowEveryField();
    void stylesFollowTheVerdict();
    void destroyedInvalidFieldIsForgotten();
    void labelChangeRefilesTheField();
    void fieldWithoutValidatorIsValid();
    void ignoredFieldsDoNotCount_data();
    void ignoredFieldsDoNotCount();
    void destroyedIgnoredFieldIsForgotten();

private:
    QLineEdit *makeField();
    QRegularExpressionValidator twoDigits{QRegularExpression(QStringLiteral("\\d{2}"))};
    std::vector<std::unique_ptr<QLineEdit>> fields;
};

void TestFieldValidation::init()
{
    FieldValidation::instance().reset();
    fields.clear();
}

QLineEdit *TestFieldValidation::makeField()
{
    fields.push_back(std::make_unique<QLineEdit>());
    fields.back()->setValidator(&twoDigits);
    return fields.back().get();
}

// Each step sets the text of field N (labels: fields 0 and 1 share "Адрес",
// field 2 is "Номер") and marks it; the expected list is checked after each step.
void TestFieldValidation::marksFollowEveryField_data()
{
    QTest::addColumn<QList<int>>("fieldOfStep");
    QTest::addColumn<QStringList>("textOfStep");
    QTest::addColumn<QStringList>("listAfterStep");

    QTest::newRow("one field invalid then valid")
            << QList<int>{0, 0} << QStringList{"1", "12"} << QStringList{"Адрес\n", ""};
    QTest::newRow("a later valid field does not hide an earlier invalid one")
            << QList<int>{2, 0} << QStringList{"1", "12"} << QStringList{"Номер\n", "Номер\n"};
    QTest::newRow("two fields of one label share one entry until both are valid")
            << QList<int>{0, 1, 0, 1} << QStringList{"", "x", "12", "34"}
            << QStringList{"Адрес\n", "Адрес\n", "Адрес\n", ""};
    QTest::newRow("labels listed in the order they became invalid")
            << QList<int>{2, 0, 1, 2, 2} << QStringList{"", "", "", "12", ""}
            << QStringList{"Номер\n", "Номер\nАдрес\n", "Номер\nАдрес\n", "Адрес\n",
                           "Адрес\nНомер\n"};
    QTest::newRow("marking an invalid field again lists it once")
            << QList<int>{0, 0, 0} << QStringList{"1", "", "3"}
            << QStringList{"Адрес\n", "Адрес\n", "Адрес\n"};
}

void TestFieldValidation::marksFollowEveryField()
{
    QFETCH(QList<int>, fieldOfStep);
    QFETCH(QStringList, textOfStep);
    QFETCH(QStringList, listAfterStep);

    const QStringList labels{QStringLiteral("Адрес"), QStringLiteral("Адрес"),
                             QStringLiteral("Номер")};
    QList<QLineEdit *> edits;
    for (int i = 0; i < labels.size(); ++i)
        edits.append(makeField());

    FieldValidation &validation = FieldValidation::instance();
    for (int step = 0; step < fieldOfStep.size(); ++step) {
        const int field = fieldOfStep[step];
        edits[field]->setText(textOfStep[step]);
        validation.markField(edits[field], labels[field]);
        QCOMPARE(validation.invalidFields(), listAfterStep[step]);
        QCOMPARE(validation.fieldsValid(), listAfterStep[step].isEmpty());
    }
}

void TestFieldValidation::stylesFollowTheVerdict()
{
    QLineEdit *field = makeField();
    FieldValidation &validation = FieldValidation::instance();

    field->setText(QStringLiteral("1"));
    validation.markField(field, QStringLiteral("Порт"));
    QCOMPARE(field->styleSheet(), QStringLiteral("border: 1px solid red;border-radius: 5px"));

    field->setText(QStringLiteral("12"));
    validation.markField(field, QStringLiteral("Порт"));
    QCOMPARE(field->styleSheet(), QString());
}

void TestFieldValidation::destroyedInvalidFieldIsForgotten()
{
    FieldValidation &validation = FieldValidation::instance();
    QLineEdit *kept = makeField();
    kept->setText(QStringLiteral("1"));
    validation.markField(kept, QStringLiteral("Порт"));
    {
        QLineEdit doomed;
        doomed.setValidator(&twoDigits);
        validation.markField(&doomed, QStringLiteral("ID"));
        QCOMPARE(validation.invalidFields(), QStringLiteral("Порт\nID\n"));
    }
    QCOMPARE(validation.invalidFields(), QStringLiteral("Порт\n"));

    kept->setText(QStringLiteral("12"));
    validation.markField(kept, QStringLiteral("Порт"));
    QVERIFY(validation.fieldsValid());
}

void TestFieldValidation::labelChangeRefilesTheField()
{
    FieldValidation &validation = FieldValidation::instance();
    QLineEdit *field = makeField();
    validation.markField(field, QStringLiteral("Адрес"));
    validation.markField(field, QStringLiteral("Adress"));
    QCOMPARE(validation.invalidFields(), QStringLiteral("Adress\n"));

    field->setText(QStringLiteral("42"));
    validation.markField(field, QStringLiteral("Adress"));
    QVERIFY(validation.fieldsValid());
    QCOMPARE(validation.invalidFields(), QString());
}

void TestFieldValidation::fieldWithoutValidatorIsValid()
{
    QLineEdit field;
    FieldValidation::instance().markField(&field, QStringLiteral("Маска"));
    QVERIFY(FieldValidation::instance().fieldsValid());
}

// Steps on one field labelled "IP": "text:X" sets the text and marks it,
// "ignore" and "count" switch whether it is counted.
void TestFieldValidation::ignoredFieldsDoNotCount_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("listAfterStep");

    QTest::newRow("an invalid field stops counting while ignored")
            << QStringList{"text:1", "ignore", "count"} << QStringList{"IP\n", "", "IP\n"};
    QTest::newRow("a mark while ignored decides what counts later")
            << QStringList{"text:1", "ignore", "text:12", "count"}
            << QStringList{"IP\n", "", "", ""};
    QTest::newRow("a field gone invalid while ignored counts once shown")
            << QStringList{"ignore", "text:1", "count"} << QStringList{"", "", "IP\n"};
    QTest::newRow("a field never marked is not judged when counted again")
            << QStringList{"ignore", "count"} << QStringList{"", ""};
    QTest::newRow("ignoring twice and counting twice")
            << QStringList{"text:", "ignore", "ignore", "count", "count"}
            << QStringList{"IP\n", "", "", "IP\n", "IP\n"};
}

void TestFieldValidation::ignoredFieldsDoNotCount()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, listAfterStep);

    FieldValidation &validation = FieldValidation::instance();
    QLineEdit *field = makeField();
    for (int step = 0; step < steps.size(); ++step) {
        const QString &action = steps[step];
        if (action.startsWith(QLatin1String("text:"))) {
            field->setText(action.mid(5));
            validation.markField(field, QStringLiteral("IP"));
        } else {
            validation.setFieldIgnored(field, action == QLatin1String("ignore"));
        }
        QCOMPARE(validation.invalidFields(), listAfterStep[step]);
        QCOMPARE(validation.fieldsValid(), listAfterStep[step].isEmpty());
    }
}

void TestFieldValidation::destroyedIgnoredFieldIsForgotten()
{
    FieldValidation &validation = FieldValidation::instance();
    {
        QLineEdit doomed;
        doomed.setValidator(&twoDigits);
        validation.markField(&doomed, QStringLiteral("ID"));
        validation.setFieldIgnored(&doomed, true);
    }
    QLineEdit other;
    other.setValidator(&twoDigits);
    // A new field may reuse the freed address: it must start unknown, not ignored.
    validation.markField(&other, QStringLiteral("Порт"));
    QCOMPARE(validation.invalidFields(), QStringLiteral("Порт\n"));
}

QTEST_MAIN(TestFieldValidation)
#include "tst_fieldvalidation.moc"
