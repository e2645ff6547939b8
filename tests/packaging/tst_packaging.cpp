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
    void copyrightFileNamesEveryLicence();
    void lintianFindsNoErrorOrWarning();

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
    for (const char *program : {"bin/kelvane", "bin/kelvane-cli", "bin/kelvane-gateway-emulator"})
        QVERIFY2(QFileInfo(installed(QLatin1String(program))).isExecutable(), program);
    for (const char *file : {"man/man1/kelvane.1.gz", "man/man1/kelvane-gateway-emulator.1.gz",
                             "doc/kelvane/changelog.gz", "bash-completion/completions/kelvane-cli"})
        QVERIFY2(QFileInfo(installed(QStringLiteral("share/") + file)).size() > 0, file);
    // The command line's manual lists the exit statuses 0 to 5 under their own heading.
    QProcess manual;
    manual.start("gzip", {"-dc", installed(QStringLiteral("share/man/man1/kelvane-cli.1.gz"))});
    QVERIFY(manual.waitForFinished());
    QVERIFY(QString::fromUtf8(manual.readAll())
                    .contains(QRegularExpression(R"(\.SH "EXIT STATUS"\n(\.TP\n\d\n([^.\n].*\n)+){6})")));
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

// Debian's machine-readable form: every licence a "Files" paragraph names has a
// paragraph of its own with the full text, continuation lines indented.
void TestPackaging::copyrightFileNamesEveryLicence()
{
    QFile file(installed(QStringLiteral("share/doc/kelvane/copyright")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList paragraphs = QString::fromUtf8(file.readAll()).split(QStringLiteral("\n\n"));
    QVERIFY(paragraphs.first().startsWith(QStringLiteral("Format: ")));
    QSet<QString> named;
    QHash<QString, QString> texts;
    for (const QString &paragraph : paragraphs) {
        QStringList lines = paragraph.trimmed().split(QLatin1Char('\n'));
        for (const QString &line : std::as_const(lines))
            QVERIFY2(!line.trimmed().isEmpty(), qPrintable(paragraph));
        const QString licence = lines.filter(QRegularExpression("^License: ")).value(0).mid(9);
        if (paragraph.startsWith(QStringLiteral("Files: ")))
            named.insert(licence);
        else if (paragraph.startsWith(QStringLiteral("License: ")))
            texts.insert(licence, lines.mid(1).join(QLatin1Char('\n')));
    }
    QCOMPARE(named, QSet<QString>({"Expat", "ParaType-Free-Font"}));
    for (const QString &licence : std::as_const(named)) {
        QVERIFY2(texts.value(licence).size() > 500, qPrintable(licence));
        QVERIFY(texts.value(licence).startsWith(QLatin1Char(' ')));
    }
    QVERIFY(texts.value("Expat").contains("Permission is hereby granted, free of charge"));
}

void TestPackaging::lintianFindsNoErrorOrWarning()
{
    const QString lintian = QStandardPaths::findExecutable(QStringLiteral("lintian"));
    if (lintian.isEmpty())
        QSKIP("lintian is not installed");
    QTemporaryDir packages;
    QProcess process;
    process.start("sh",
                  {"-c", "exec 2>&1; \"$0\" --config \"$1\" -B \"$2\" && \"$3\" \"$2\"/*.deb",
                   KELVANE_CPACK, KELVANE_BUILD_DIR "/CPackConfig.cmake", packages.path(),
                   lintian});
    const bool passed = process.waitForFinished(-1) && process.exitCode() == 0;
    const QString report = QString::fromUtf8(process.readAll());
    const QRegularExpression errorOrWarning("^[EW]: ", QRegularExpression::MultilineOption);
    QVERIFY2(passed && !report.contains(errorOrWarning), qPrintable(report));
}

QTEST_MAIN(TestPackaging)
#include "tst_packaging.moc"
