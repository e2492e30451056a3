#include "catalogue/learner.h"

#include <QtTest>

class TestLearner final : public QObject
{
    Q_OBJECT

private slots:
    void learnsSearch_data();
    void learnsSearch();
    void capturesLogin_data();
    void capturesLogin();
    void cutsTitle_data();
    void cutsTitle();
    void readsBodyAndEncodes();
};

namespace {
const QString kSeed = QStringLiteral("ZPQ-SEARCH-TERM");
}

void TestLearner::learnsSearch_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<bool>("learnt");
    QTest::addColumn<bool>("armed");
    QTest::addColumn<int>("matches");
    QTest::addColumn<QString>("addressTemplate");
    QTest::addColumn<QString>("bodyTemplate");

    const QStringList seed { kSeed };
    QTest::newRow("get") << "http://s.example/find?q=ZPQ-SEARCH-TERM&x=1"
                         << "" << seed << false << true << 1
                         << "http://s.example/find?q=[ZPQ-SEARCH-TERM]&x=1"
                         << "";
    QTest::newRow("post") << "http://s.example/find"
                          << "q=ZPQ-SEARCH-TERM&go=1" << seed << false << true << 1 << "http://s.example/find"
                          << "q=[ZPQ-SEARCH-TERM]&go=1";
    QTest::newRow("spaces in plus form, token keeps them")
        << "http://s.example/?q=my+value"
        << "" << QStringList { "my value" } << false << true << 1 << "http://s.example/?q=[my value]"
        << "";
    QTest::newRow("spaces as %20 are not the form's encoding")
        << "http://s.example/?q=my%20value"
        << "" << QStringList { "my value" } << false << true << 0 << ""
        << "";
    QTest::newRow("site lower-cases the value") << "http://s.example/?q=zpq-search-term"
                                                << "" << seed << false << true << 0 << ""
                                                << "";
    QTest::newRow("found once, replaced in any case everywhere")
        << "http://zpq-search-term.example/s?q=ZPQ-SEARCH-TERM&r=Zpq-Search-Term"
        << "echo=zpq-search-term" << seed << false << true << 1
        << "http://[ZPQ-SEARCH-TERM].example/s?q=[ZPQ-SEARCH-TERM]&r=[ZPQ-SEARCH-TERM]"
        << "echo=[ZPQ-SEARCH-TERM]";
    QTest::newRow("longer placeholder first")
        << "http://s.example/?q=ABC"
        << "" << QStringList { "ABC", "AB" } << false << true << 2 << "http://s.example/?q=[[AB]C]"
        << "";
    QTest::newRow("shorter placeholder first")
        << "http://s.example/?q=ABC"
        << "" << QStringList { "AB", "ABC" } << false << true << 1 << "http://s.example/?q=[AB]C"
        << "";
    QTest::newRow("two fields, address and body")
        << "http://s.example/find?city=ZPQ-CITY"
        << "q=ZPQ-SEARCH-TERM" << QStringList { kSeed, "ZPQ-CITY" } << false << true << 2
        << "http://s.example/find?city=[ZPQ-CITY]"
        << "q=[ZPQ-SEARCH-TERM]";
    QTest::newRow("value the form percent-encodes")
        << "http://s.example/find"
        << "q=R%26D+ZPQ&go=1" << QStringList { "R&D ZPQ" } << false << true << 1 << "http://s.example/find"
        << "q=[R&D ZPQ]&go=1";
    QTest::newRow("no placeholder in the request") << "http://s.example/find?q=shoes"
                                                   << "a=1" << seed << false << true << 0 << ""
                                                   << "";
    QTest::newRow("no search fields") << "http://s.example/find?q=ZPQ-SEARCH-TERM"
                                      << "" << QStringList {} << false << true << 0 << ""
                                      << "";
    QTest::newRow("empty placeholder never matches") << "http://s.example/find?q=x"
                                                     << "" << QStringList { "" } << false << true << 0 << ""
                                                     << "";
    QTest::newRow("not armed yet") << "http://s.example/find?q=ZPQ-SEARCH-TERM"
                                   << "" << seed << false << false << 0 << ""
                                   << "";
    QTest::newRow("learnt already") << "http://s.example/find?q=ZPQ-SEARCH-TERM"
                                    << "" << seed << true << true << 0 << ""
                                    << "";
}

void TestLearner::learnsSearch()
{
    QFETCH(QString, address);
    QFETCH(QString, body);
    QFETCH(QStringList, fields);
    QFETCH(bool, learnt);
    QFETCH(bool, armed);
    QFETCH(int, matches);
    QFETCH(QString, addressTemplate);
    QFETCH(QString, bodyTemplate);

    LearnerInput input;
    input.address = address;
    input.body = body;
    input.searchTexts = fields;
    input.learnt = learnt;
    input.armed = armed;
    const LearnerResult result = learnRequest(input);
    QCOMPARE(result.matchCount, matches);
    QCOMPARE(result.learnt(), matches > 0);
    QCOMPARE(result.addressTemplate, addressTemplate);
    QCOMPARE(result.bodyTemplate, bodyTemplate);
    QVERIFY(!result.loginCaptured);
}

void TestLearner::capturesLogin_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("learnt");
    QTest::addColumn<bool>("armed");
    QTest::addColumn<bool>("captured");
    QTest::addColumn<QString>("bodyTemplate"); // when the same request is also learnt

    QTest::newRow("both in body") << "http://s.example/login"
                                  << "u=alice&p=s3cret"
                                  << "alice"
                                  << "s3cret" << false << true << true << "";
    QTest::newRow("user in address, password in body") << "http://s.example/login?u=alice"
                                                       << "p=s3cret"
                                                       << "alice"
                                                       << "s3cret" << false << true << true << "";
    QTest::newRow("values the form percent-encodes") << "http://s.example/login"
                                                     << "u=alice%40example.com&p=p%40ss+word%21"
                                                     << "alice@example.com"
                                                     << "p@ss word!" << false << true << true << "";
    QTest::newRow("password missing from request") << "http://s.example/login"
                                                   << "u=alice"
                                                   << "alice"
                                                   << "s3cret" << false << true << false << "";
    QTest::newRow("password box empty") << "http://s.example/login"
                                        << "u=alice&p="
                                        << "alice"
                                        << "" << false << true << false << "";
    QTest::newRow("user box empty") << "http://s.example/login"
                                    << "u=&p=s3cret"
                                    << ""
                                    << "s3cret" << false << true << false << "";
    QTest::newRow("after the search was learnt") << "http://s.example/login"
                                                 << "u=alice&p=s3cret"
                                                 << "alice"
                                                 << "s3cret" << true << true << false << "";
    QTest::newRow("before the dialog is armed") << "http://s.example/login"
                                                << "u=alice&p=s3cret"
                                                << "alice"
                                                << "s3cret" << false << false << false << "";
    QTest::newRow("login and search in one request")
        << "http://s.example/find"
        << "u=alice&p=s3cret&q=ZPQ-SEARCH-TERM"
        << "alice"
        << "s3cret" << false << true << true << "u=alice&p=s3cret&q=[ZPQ-SEARCH-TERM]";
}

void TestLearner::capturesLogin()
{
    QFETCH(QString, address);
    QFETCH(QString, body);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(bool, learnt);
    QFETCH(bool, armed);
    QFETCH(bool, captured);
    QFETCH(QString, bodyTemplate);

    LearnerInput input;
    input.address = address;
    input.body = body;
    input.searchTexts = QStringList { kSeed };
    input.userName = user;
    input.password = password;
    input.learnt = learnt;
    input.armed = armed;
    const LearnerResult result = learnRequest(input);
    QCOMPARE(result.loginCaptured, captured);
    // Kept word for word, placeholder included.
    QCOMPARE(result.loginAddress, captured ? address : QString());
    QCOMPARE(result.loginBody, captured ? body : QString());
    QCOMPARE(result.learnt(), !bodyTemplate.isEmpty());
    QCOMPARE(result.bodyTemplate, bodyTemplate);
}

void TestLearner::cutsTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("name");

    QTest::newRow("three parts") << "Search - Books - Example"
                                 << "Example";
    QTest::newRow("each separator kind in turn") << "A - B | C : D"
                                                 << "D";
    QTest::newRow("dash cut three times at most") << "a-b-c-d-e"
                                                  << "d-e";
    QTest::newRow("no separator, kept untrimmed") << "  Example Books  "
                                                  << "  Example Books  ";
    QTest::newRow("blanks and control characters trimmed") << "Shop:  \t Title\x01 "
                                                           << "Title";
    QTest::newRow("only separators") << "---|||:::"
                                     << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("at most 100 characters after the cut")
        << "Title - " + QString(200, u'b') + " - end" << QString(99, u'b');
    QTest::newRow("1000 characters without separator") << QString(1000, u'x') << QString(1000, u'x');
    QTest::newRow("1000 characters with separator") << "Shop | " + QString(1000, u'x') << QString(99, u'x');
}

void TestLearner::cutsTitle()
{
    QFETCH(QString, title);
    QFETCH(QString, name);
    QCOMPARE(CutSearchPageTitle(title), name);
}

void TestLearner::readsBodyAndEncodes()
{
    QCOMPARE(PostDataToText(QByteArray()), QString());
    QCOMPARE(PostDataToText(QByteArray("q=a&b=c\0junk", 12)), QStringLiteral("q=a&b=c"));
    const QByteArray longBody = "q=" + QByteArray(7000, 'x');
    QCOMPARE(PostDataToText(longBody).size(), longBody.size());

    QVERIFY(!IsMatching(QString(), QStringLiteral("anything")));
    QVERIFY(IsMatching(QStringLiteral("my value"), QStringLiteral("q=my+value")));
    QVERIFY(!IsMatching(QStringLiteral("Value"), QStringLiteral("q=value")));

    // What Chromium sent for a hidden field holding «a b&c=d/é*~!».
    QCOMPARE(FormEncode(QStringLiteral("a b&c=d/\u00e9*~!")), QStringLiteral("a+b%26c%3Dd%2F%C3%A9*%7E%21"));
    QCOMPARE(PlaceholderToken(QStringLiteral("my value")), QStringLiteral("[my value]"));
}

QTEST_APPLESS_MAIN(TestLearner)
#include "tst_learner.moc"
