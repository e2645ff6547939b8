#include "lora/gwidedit.h"

#include <QSignalSpy>
#include <QtTest>

class TestGWIDEdit : public QObject
{
    Q_OBJECT

private slots:
    void doubleClick_data();
    void doubleClick();
};

void TestGWIDEdit::doubleClick_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("emitted");

    QTest::newRow("left") << Qt::LeftButton << 1;
    QTest::newRow("right") << Qt::RightButton << 0;
    QTest::newRow("middle") << Qt::MiddleButton << 0;
}

void TestGWIDEdit::doubleClick()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, emitted);

    GWIDEdit field(nullptr);
    field.setText(QStringLiteral("AA555A00 00000101"));
    field.resize(200, 24);
    field.show();
    QVERIFY(QTest::qWaitForWindowExposed(&field));
    QSignalSpy spy(&field, &GWIDEdit::doubleClick);
    QVERIFY(spy.isValid());

    QTest::mouseDClick(&field, button, {}, QPoint(20, 12));
    QCOMPARE(spy.count(), emitted);
    // Handled as a press, so the word under the mouse is not selected.
    QCOMPARE(field.selectedText(), QString());
}

QTEST_MAIN(TestGWIDEdit)
#include "tst_gwidedit.moc"
