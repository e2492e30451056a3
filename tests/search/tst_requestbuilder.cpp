#include "search/requestbuilder.h"

#include <QtTest>

using Fields = QVector<FieldValue>;
Q_DECLARE_METATYPE(Fields)

class TestRequestBuilder : public QObject
{
    Q_OBJECT

private slots:
    void fill_data();
    void fill();
    void encodings_data();
    void encodings();
    void postFlag_data();
    void postFlag();
    void sendable_data();
    void sendable();
};

void TestRequestBuilder::fill_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("body");
    QTest::addColumn<Fields>("fields");
    QTest::addColumn<QString>("expectedAddress");
    QTest::addColumn<QString>("expectedBody");

    const Fields none;
    auto one = [](const QString &v) { return Fields{{QStringLiteral("ZPQ-SEARCH-TERM"), v}}; };
    const QString q = QStringLiteral("http://h/s?q=[ZPQ-SEARCH-TERM]&page=1");

    QTest::newRow("spaces become plus") << q << QString() << one("red shoes") << "http://h/s?q=red+shoes&page=1" << "";
    QTest::newRow("ampersand cannot split the query") << q << QString() << one("AT&T") << "http://h/s?q=AT%26T&page=1" << "";
    QTest::newRow("percent, hash, plus, equals, quotes")
        << q << QString() << one("50% #1 a+b=c \"x\" 'y'")
        << "http://h/s?q=50%25+%231+a%2Bb%3Dc+%22x%22+%27y%27&page=1" << "";
    QTest::newRow("leading and trailing space") << q << QString() << one(" a ") << "http://h/s?q=+a+&page=1" << "";
    QTest::newRow("unchanged characters") << q << QString() << one("a*b-c.d_e") << "http://h/s?q=a*b-c.d_e&page=1" << "";
    QTest::newRow("cyrillic as UTF-8") << q << QString() << one(QStringLiteral("книга"))
                                       << "http://h/s?q=%D0%BA%D0%BD%D0%B8%D0%B3%D0%B0&page=1" << "";
    QTest::newRow("emoji") << q << QString() << one(QStringLiteral("\U0001F600")) << "http://h/s?q=%F0%9F%98%80&page=1" << "";
    QTest::newRow("empty value removes the token") << q << QString() << one("") << "http://h/s?q=&page=1" << "";
    QTest::newRow("single space") << q << QString() << one(" ") << "http://h/s?q=+&page=1" << "";
    QTest::newRow("token in lower case, twice")
        << "http://h/s?q=[zpq-search-term]&again=[ZPQ-search-TERM]" << QString() << one("x y")
        << "http://h/s?q=x+y&again=x+y" << "";
    QTest::newRow("no token") << "http://h/fixed?a=1" << "b=2" << one("ignored") << "http://h/fixed?a=1" << "b=2";
    QTest::newRow("body is form encoded")
        << "http://h/post" << "q=[ZPQ-SEARCH-TERM]&type=all&go=Search" << one("fish & chips")
        << "http://h/post" << "q=fish+%26+chips&type=all&go=Search";
    QTest::newRow("token in the path")
        << "http://h/search/[ZPQ-SEARCH-TERM]/page?x=[ZPQ-SEARCH-TERM]" << QString() << one("a b/c?d#e%f")
        << "http://h/search/a%20b%2Fc%3Fd%23e%25f/page?x=a+b%2Fc%3Fd%23e%25f" << "";
    QTest::newRow("address without query: all path")
        << "http://h/[ZPQ-SEARCH-TERM]" << QString() << one("x y") << "http://h/x%20y" << "";
    const Fields colour{{QStringLiteral("ZPQ-SEARCH-TERM"), QStringLiteral("[Colour]")},
                        {QStringLiteral("Colour"), QStringLiteral("blue")}};
    QTest::newRow("a typed token is not filled by a later field")
        << "http://h/?q=[ZPQ-SEARCH-TERM]&c=[Colour]" << QString() << colour
        << "http://h/?q=%5BColour%5D&c=blue" << "";
    const Fields spaced{{QStringLiteral("ZPQ TWO WORDS"), QStringLiteral("v w")}};
    QTest::newRow("placeholder with spaces, as stored")
        << "http://h/?q=[ZPQ TWO WORDS]" << "b=[zpq two words]" << spaced << "http://h/?q=v+w" << "b=v+w";
    const Fields overlap{{QStringLiteral("ZZA"), QStringLiteral("1")}, {QStringLiteral("ZZAB"), QStringLiteral("2")}};
    QTest::newRow("two fields in table order")
        << "http://h/?a=[ZZA]&b=[ZZAB]" << QString() << overlap << "http://h/?a=1&b=2" << "";
    QTest::newRow("no fields") << q << "x" << none << q << "x";
}

void TestRequestBuilder::fill()
{
    QFETCH(QString, address);
    QFETCH(QString, body);
    QFETCH(Fields, fields);
    QFETCH(QString, expectedAddress);
    QFETCH(QString, expectedBody);
    const FilledRequest r = FillPlaceholders(address, body, fields);
    QCOMPARE(r.address, expectedAddress);
    QCOMPARE(r.body, expectedBody);
}

void TestRequestBuilder::encodings_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("path");
    QTest::newRow("plain") << "abcXYZ019" << "abcXYZ019" << "abcXYZ019";
    QTest::newRow("space") << "a b" << "a+b" << "a%20b";
    QTest::newRow("brackets") << "[x]" << "%5Bx%5D" << "%5Bx%5D";
    QTest::newRow("tilde") << "~" << "%7E" << "~";
    QTest::newRow("latin-1 letter") << QStringLiteral("é") << "%C3%A9" << "%C3%A9";
}

void TestRequestBuilder::encodings()
{
    QFETCH(QString, value);
    QFETCH(QString, form);
    QFETCH(QString, path);
    QCOMPARE(formEncode(value), form);
    QCOMPARE(pathEncode(value), path);
}

void TestRequestBuilder::postFlag_data()
{
    QTest::addColumn<QString>("flag");
    QTest::addColumn<bool>("post");
    QTest::addColumn<bool>("ok");
    QTest::newRow("1") << "1" << true << true;
    QTest::newRow("0") << "0" << false << true;
    QTest::newRow("2 is a GET") << "2" << false << true;
    QTest::newRow("empty is no integer") << "" << false << false;
    QTest::newRow("text is no integer") << "yes" << false << false;
}

void TestRequestBuilder::postFlag()
{
    QFETCH(QString, flag);
    QFETCH(bool, post);
    QFETCH(bool, ok);
    bool converted = !ok;
    QCOMPARE(isPostFlag(flag, &converted), post);
    QCOMPARE(converted, ok);
}

void TestRequestBuilder::sendable_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("sendable");
    QTest::newRow("http") << "http://h/?q=1" << true;
    QTest::newRow("https upper case") << "HTTPS://h/" << true;
    QTest::newRow("file") << "file:///etc/passwd" << false;
    QTest::newRow("javascript") << "javascript:alert(1)" << false;
    QTest::newRow("no scheme") << "h/?q=1" << false;
    QTest::newRow("empty") << "" << false;
}

void TestRequestBuilder::sendable()
{
    QFETCH(QString, address);
    QFETCH(bool, sendable);
    QCOMPARE(isSendableAddress(address), sendable);
}

QTEST_GUILESS_MAIN(TestRequestBuilder)
#include "tst_requestbuilder.moc"
