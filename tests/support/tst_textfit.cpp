#include "textfit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

class TestTextFit : public QObject
{
    Q_OBJECT

private slots:
    void findsWhatDoesNotFit_data();
    void findsWhatDoesNotFit();
};

void TestTextFit::findsWhatDoesNotFit_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("slack"); // widget width minus the text's advance
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("clipped");

    QTest::newRow("label, too low") << "label" << 2 << 6 << true;
    QTest::newRow("wrapped label, too low") << "wrapped" << -40 << 24 << true;
    QTest::newRow("wrapped label, high enough") << "wrapped" << -40 << 80 << false;
    // The frame, the indicator and the arrow take room from the text.
    for (const char *kind : {"label", "button", "check box", "radio", "line edit", "combo box"}) {
        QTest::addRow("%s, short", kind)
                << kind << (kind == QLatin1String("label") ? -1 : 1) << 24 << true;
        QTest::addRow("%s, roomy", kind) << kind << 60 << 24 << false;
    }
}

void TestTextFit::findsWhatDoesNotFit()
{
    QFETCH(QString, kind);
    QFETCH(int, slack);
    QFETCH(int, height);
    QFETCH(bool, clipped);

    const QString text = QStringLiteral("Идетификатор подсети LoRa");
    QWidget root;
    QWidget *widget = nullptr;
    if (kind == "label" || kind == "wrapped") {
        auto *label = new QLabel(text, &root);
        label->setWordWrap(kind == "wrapped");
        widget = label;
    } else if (kind == "button") {
        widget = new QPushButton(text, &root);
    } else if (kind == "check box") {
        widget = new QCheckBox(text, &root);
    } else if (kind == "radio") {
        widget = new QRadioButton(text, &root);
    } else if (kind == "line edit") {
        widget = new QLineEdit(text, &root);
    } else {
        auto *box = new QComboBox(&root);
        box->addItems({QStringLiteral("LoRa"), text}); // every item counts
        widget = box;
    }
    widget->setGeometry(0, 0, widget->fontMetrics().horizontalAdvance(text) + slack, height);

    const QStringList found = TextFit::clippedTexts(&root);
    QVERIFY2(found.size() == (clipped ? 1 : 0), qPrintable(found.join(" | ")));
}

QTEST_MAIN(TestTextFit)
#include "tst_textfit.moc"
