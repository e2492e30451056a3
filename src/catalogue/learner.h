#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Learning a site's search request from one real search made in the add-website dialog's
// browser. Pure functions: the dialog supplies the request, the search fields and its own state,
// and applies the result to its widgets.

// The text with every space replaced by "+" and nothing else changed.
QString SpacesToPlus(const QString &text);

// The application/x-www-form-urlencoded form of text's UTF-8 bytes: space as "+", ASCII letters,
// digits and "*-._" unchanged, every other byte as %XX. This is how a browser's form sends a typed
// value; for a value of letters, digits, "-", "_", "." and spaces it equals SpacesToPlus.
QString FormEncode(const QString &text);

// True when the plus form of value occurs in text, exactly and case-sensitively. An empty value
// never matches.
bool IsMatching(const QString &value, const QString &text);

// The request body as text: its bytes up to, not including, the first zero byte, read as UTF-8.
// The whole body takes part, however long.
QString PostDataToText(const QByteArray &postData);

// The placeholder token of a search field: "[" + its placeholder text + "]", spaces kept.
QString PlaceholderToken(const QString &searchText);

// Cuts a search page's title down to the site's name: for each separator in the order
// "-" "-" "-" "|" "|" "|" ":" ":" ":", a title that contains it becomes the text after its first
// occurrence, at most 100 characters, without leading and trailing blanks and control characters.
// A title without separators is kept as it is.
QString CutSearchPageTitle(const QString &title);

struct LearnerInput
{
    QString address; // the request's full address, as sent
    QString body; // PostDataToText of its body
    QStringList searchTexts; // Search_Text of every search field, in table order
    QString userName; // typed in the dialog, to recognise the login request
    QString password;
    bool learnt = false; // a search was learnt already in this opening of the dialog
    bool armed = false; // the dialog is showing the values to search for
};

struct LearnerResult
{
    // The request carried both login values while armed and not learnt: it is the login request,
    // kept verbatim.
    bool loginCaptured = false;
    QString loginAddress;
    QString loginBody;

    // Number of search fields whose placeholder text the request carried; above 0 the request is
    // learnt, with every placeholder text replaced by its token.
    int matchCount = 0;
    QString addressTemplate;
    QString bodyTemplate;

    bool learnt() const { return matchCount > 0; }
};

// A value counts as carried by a request when its plus form or its form-encoded form occurs in the
// address or the body, in its exact letter case. Once found, every occurrence in any letter case
// is replaced, in address and body, fields in table order, each seeing the replacements before it.
LearnerResult learnRequest(const LearnerInput &input);
