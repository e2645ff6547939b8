#include "app/fieldvalidation.h"

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

QTEST_MAIN(TestFieldValidation)
#include "tst_fieldvalidation.moc"
