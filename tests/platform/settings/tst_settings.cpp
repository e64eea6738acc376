#include "settings/settings.h"
#include "support/sandbox.h"
#include <QFile>
#include <QtTest>

class TstSettings : public QObject {
    Q_OBJECT
    tavtest::Sandbox sandbox;
private slots:
    void fileLocation();
    void roundTrip_data();
    void roundTrip();
    void absentValueGivesDefault();
    void corruptFileIsReplacedOnWrite();
    void severalValuesAtOnce();
};

void TstSettings::fileLocation()
{
    QCOMPARE(settings::settingsFile(QStringLiteral("Text Editor")),
             sandbox.configHome() + QStringLiteral("/tavolin/Text Editor.ini"));
    QVERIFY(settings::saveSetting("Norvel", "Tavolin", "Apps", "4"));
    QFile ini(sandbox.configHome() + QStringLiteral("/tavolin/Norvel.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray content = ini.readAll();
    QVERIFY2(content.contains("[Tavolin]") && content.contains("Apps=4"), content.constData());
}

void TstSettings::roundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("digit") << "1";
    QTest::newRow("leading blank") << " 1";
    QTest::newRow("leading zero") << "01";
    QTest::newRow("empty") << "";
    QTest::newRow("negative number") << "-120";
    QTest::newRow("comma and quotes") << "a, \"b\"; c=d";
    QTest::newRow("non-ASCII") << QString::fromUtf8("löschen ✓");
}

void TstSettings::roundTrip()
{
    QFETCH(QString, value);
    QVERIFY(settings::saveSetting("Round Trip", "Section One", "Key", value));
    QCOMPARE(settings::getSetting("Round Trip", "Section One", "Key", "default"), value);
}

void TstSettings::absentValueGivesDefault()
{
    QCOMPARE(settings::getSetting("Never Written", "Settings", "MainLeft", "1000"), QStringLiteral("1000"));
    settings::saveSetting("Half Written", "Settings", "MainTop", "5");
    QCOMPARE(settings::getSetting("Half Written", "Settings", "MainLeft", "1000"), QStringLiteral("1000"));
    QCOMPARE(settings::getSetting("Half Written", "Other", "MainTop", ""), QString());
}

void TstSettings::corruptFileIsReplacedOnWrite()
{
    const QString file = settings::settingsFile(QStringLiteral("Corrupt"));
    sandbox.writeFile(file, QByteArray("\xff\xfe[Tav\0olin\nApps===\n[[[", 22));
    QCOMPARE(settings::getSetting("Corrupt", "Tavolin", "Apps", "none"), QStringLiteral("none"));
    QVERIFY(settings::saveSetting("Corrupt", "Tavolin", "Apps", "2"));
    QCOMPARE(settings::getSetting("Corrupt", "Tavolin", "Apps", "none"), QStringLiteral("2"));
}

void TstSettings::severalValuesAtOnce()
{
    // Written together, read one by one; values already there and not named stay.
    QVERIFY(settings::saveSetting("Several", "Settings", "Other", "kept"));
    QVERIFY(settings::saveSetting("Several", "Settings", "MainTop", "1"));
    QVERIFY(settings::saveSettings("Several", "Settings", {{"MainLeft", "-120"}, {"MainTop", "2"}, {"MainWidth", ""}}));
    QCOMPARE(settings::getSetting("Several", "Settings", "MainLeft", "none"), QStringLiteral("-120"));
    QCOMPARE(settings::getSetting("Several", "Settings", "MainTop", "none"), QStringLiteral("2"));
    QCOMPARE(settings::getSetting("Several", "Settings", "MainWidth", "none"), QString());
    QCOMPARE(settings::getSetting("Several", "Settings", "Other", "none"), QStringLiteral("kept"));
}

QTEST_GUILESS_MAIN(TstSettings)
#include "tst_settings.moc"
