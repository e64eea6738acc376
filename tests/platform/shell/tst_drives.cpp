#include "shell/drives.h"
#include "support/sandbox.h"
#include <QDir>
#include <QtTest>

class TstDrives : public QObject {
    Q_OBJECT
    tavtest::Sandbox sandbox;
    QString systemRoot;
private slots:
    void initTestCase();
    void isDrivePath_data();
    void isDrivePath();
    void mapping_data();
    void mapping();
    void searchOrder();
};

void TstDrives::initTestCase()
{
    sandbox.makeDriveFolder("c", "Tavolin/Gaming");
    sandbox.makeDriveFolder("c", "Program Files/x");
    // A second data folder, as $XDG_DATA_DIRS lists it, holding another category.
    systemRoot = sandbox.path() + QStringLiteral("/system-data");
    QDir().mkpath(systemRoot + QStringLiteral("/tavolin/drives/c/Tavolin/Office"));
    QDir().mkpath(systemRoot + QStringLiteral("/tavolin/drives/c/Tavolin/Gaming"));
}

void TstDrives::isDrivePath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("drive");
    QTest::newRow("forward slashes") << "c:/Tavolin/Gaming" << true;
    QTest::newRow("backslashes") << "C:\\Program Files\\x" << true;
    QTest::newRow("bare drive") << "d:" << true;
    QTest::newRow("url") << "http://example.org" << false;
    QTest::newRow("host with port") << "localhost:8080/x" << false;
    QTest::newRow("relative") << "c:relative" << false;
    QTest::newRow("unix path") << "/usr/share" << false;
    QTest::newRow("empty") << "" << false;
}

void TstDrives::isDrivePath()
{
    QFETCH(QString, path);
    QFETCH(bool, drive);
    QCOMPARE(shell::isDrivePath(path), drive);
}

void TstDrives::mapping_data()
{
    const QString home = sandbox.dataHome() + QStringLiteral("/tavolin/drives");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("local");
    QTest::newRow("category") << "c:/Tavolin/Gaming" << home + "/c/Tavolin/Gaming";
    QTest::newRow("backslashes and blanks") << "C:\\Program Files\\x" << home + "/c/Program Files/x";
    QTest::newRow("letter case of the drive and names") << "C:/tavolin/GAMING" << home + "/c/Tavolin/Gaming";
    QTest::newRow("trailing separator") << "c:/Tavolin/Gaming/" << home + "/c/Tavolin/Gaming";
    QTest::newRow("never above the drive") << "c:/../../etc/Tavolin/Gaming" << home + "/c/etc/Tavolin/Gaming";
    QTest::newRow("missing: where it would be") << "e:/Nothing/Here" << home + "/e/Nothing/Here";
    QTest::newRow("not a drive path") << "http://example.org" << "http://example.org";
}

void TstDrives::mapping()
{
    QFETCH(QString, path);
    QFETCH(QString, local);
    QCOMPARE(shell::mapDrivePath(path), local);
}

void TstDrives::searchOrder()
{
    // The user's own data folder wins; a folder only the system data folder has is found there.
    QCOMPARE(shell::mapDrivePath("c:/Tavolin/Gaming"),
             sandbox.dataHome() + QStringLiteral("/tavolin/drives/c/Tavolin/Gaming"));
    QCOMPARE(shell::mapDrivePath("c:/Tavolin/Office"),
             systemRoot + QStringLiteral("/tavolin/drives/c/Tavolin/Office"));
    const QStringList roots = shell::driveRoots();
    QVERIFY(roots.size() >= 3);
    QCOMPARE(roots.at(0), sandbox.dataHome() + QStringLiteral("/tavolin/drives"));
    QCOMPARE(roots.at(1), systemRoot + QStringLiteral("/tavolin/drives"));
    // Last, the share/ folder beside the installed bin/.
    QCOMPARE(roots.last(), QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/tavolin/drives"));
}

QTEST_GUILESS_MAIN(TstDrives)
#include "tst_drives.moc"
