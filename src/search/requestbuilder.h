#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// One search field as filling sees it: its placeholder text and what the user typed for it.
struct FieldValue
{
    QString placeholder; // Search_Text, as stored
    QString value;       // the input box's text, as typed (empty when the box is missing)
};

struct FilledRequest
{
    QString address;
    QString body;
};

// What a site's own form would send for a typed value inside a query or a form body:
// application/x-www-form-urlencoded over UTF-8 (space as "+", *-._ and ASCII letters and digits
// unchanged, every other byte as %XX).
QString formEncode(const QString &value);
// The same for a value that stands in the path of an address: space as %20, and "/", "?", "#",
// "%" escaped as well, so the value stays one path segment.
QString pathEncode(const QString &value);

// Replaces every token "[" + placeholder + "]" (letter case ignored, left to right, not
// overlapping) by the encoded value, one field after the other in the order given. A token in the
// address before its first "?" gets the path encoding, every other one the form encoding.
FilledRequest FillPlaceholders(const QString &addressTemplate, const QString &bodyTemplate,
                               const QVector<FieldValue> &fields);

// A stored post flag: true exactly for the integer 1. ok is false when the text is no integer.
bool isPostFlag(const QString &isPost, bool *ok = nullptr);

// Only web addresses are ever sent to a result browser.
bool isSendableAddress(const QString &address);

// The header a form POST carries.
inline const QByteArray kFormContentType = QByteArrayLiteral("application/x-www-form-urlencoded");
