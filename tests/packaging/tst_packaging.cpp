#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestPackaging : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void filesPassTheirValidators_data();
    void filesPassTheirValidators();

private:
    QString installed(const QString &path) const { return prefix.filePath(path); }
    QTemporaryDir prefix;
};

void TestPackaging::initTestCase()
{
    QVERIFY(prefix.isValid());
    QProcess install;
    install.setProcessChannelMode(QProcess::MergedChannels);
    install.start(QStringLiteral(KELVANE_CMAKE),
                  {QStringLiteral("--install"), QStringLiteral(KELVANE_BUILD_DIR),
                   QStringLiteral("--prefix"), prefix.path()});
    QVERIFY(install.waitForFinished());
    QVERIFY2(install.exitCode() == 0, install.readAll().constData());
    for (const char *program : {"bin/kelvane", "bin/kelvane-gateway-emulator"})
        QVERIFY2(QFileInfo(installed(QLatin1String(program))).isExecutable(), program);
}

void TestPackaging::filesPassTheirValidators_data()
{
    QTest::addColumn<QString>("validator");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("arguments");

    const QString desktop = QStringLiteral("share/applications/example.tyrnholm.kelvane.desktop");
    const QString metainfo = QStringLiteral("share/metainfo/example.tyrnholm.kelvane.metainfo.xml");
    QTest::newRow("desktop entry")
            << "desktop-file-validate" << desktop << QStringList{installed(desktop)};
    // The tree check also finds the desktop entry that the metainfo launches.
    QTest::newRow("metainfo") << "appstreamcli" << metainfo
                              << QStringList{"validate-tree", "--no-net", prefix.path()};
}

void TestPackaging::filesPassTheirValidators()
{
    QFETCH(QString, validator);
    QFETCH(QString, file);
    QFETCH(QStringList, arguments);

    QVERIFY(QFileInfo::exists(installed(file)));
    const QString program = QStandardPaths::findExecutable(validator);
    if (program.isEmpty())
        QSKIP(qPrintable(validator + QStringLiteral(" is not installed")));
    QProcess validation;
    validation.setProcessChannelMode(QProcess::MergedChannels);
    validation.start(program, arguments);
    QVERIFY(validation.waitForFinished());
    const QByteArray report = validation.readAll();
    QVERIFY2(validation.exitCode() == 0, report.constData());
    // desktop-file-validate reports some faults with status 0.
    QVERIFY2(!report.contains("error:") && !report.contains("warning:"), report.constData());
}

QTEST_MAIN(TestPackaging)
#include "tst_packaging.moc"
