#include "store/textlines.h"

#include <QTemporaryDir>
#include <QtTest>

class TestTextLines : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void writeUsesCrLfAndReadsBack();
    void unwritableFileIsReportedNotThrown();
    void recentList_data();
    void recentList();
};

void TestTextLines::parse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("mixed ends") << QByteArray("a\rb\nc\r\nd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("empty lines are entries") << QByteArray("a\r\n\r\n\nb\r\n") << QStringList{"a", "", "", "b"};
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("non-UTF-8 byte keeps the line")
        << QByteArray("/tmp/caf\xe9.tdl\r\n/tmp/b.tdl\r\n")
        << QStringList{QString::fromLocal8Bit("/tmp/caf\xe9.tdl"), "/tmp/b.tdl"};
}

void TestTextLines::parse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(TextLines::parse(bytes), lines);
}

void TestTextLines::writeUsesCrLfAndReadsBack()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mru.txt"));
    const QStringList lines{QStringLiteral("/home/u/A.tdl"), QStringLiteral("/home/u/Ünïcode B.tdl"), QString()};
    QVERIFY(TextLines::write(path, lines));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QStringLiteral("/home/u/A.tdl\r\n/home/u/Ünïcode B.tdl\r\n\r\n").toLocal8Bit());
    QStringList back;
    QVERIFY(TextLines::read(path, back));
    QCOMPARE(back, lines);
    QVERIFY(TextLines::write(path, {}));
    QCOMPARE(QFileInfo(path).size(), 0);
}

void TestTextLines::unwritableFileIsReportedNotThrown()
{
    QStringList lines{QStringLiteral("kept")};
    QVERIFY(!TextLines::write(QStringLiteral("/nonexistent-folder/mru.txt"), lines));
    QVERIFY(!TextLines::read(QStringLiteral("/nonexistent-folder/mru.txt"), lines));
    QCOMPARE(lines, QStringList{QStringLiteral("kept")});
}

void TestTextLines::recentList_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("new on top") << QStringList{"/b"} << "/a" << QStringList{"/a", "/b"};
    QTest::newRow("A B A") << QStringList{"/b", "/a"} << "/a" << QStringList{"/a", "/b"};
    QTest::newRow("other letter case replaced, new spelling kept")
        << QStringList{"/x", "/P/Proj.tdl"} << "/p/proj.TDL" << QStringList{"/p/proj.TDL", "/x"};
    QTest::newRow("only the first duplicate goes")
        << QStringList{"/a", "/A", "/c"} << "/a" << QStringList{"/a", "/A", "/c"};
}

void TestTextLines::recentList()
{
    QFETCH(QStringList, before);
    QFETCH(QString, path);
    QFETCH(QStringList, after);
    RecentList::putOnTop(before, path);
    QCOMPARE(before, after);
}

QTEST_GUILESS_MAIN(TestTextLines)
#include "tst_textlines.moc"
