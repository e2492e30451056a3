#include "requestbuilder.h"

#include <QUrl>

namespace {

bool isAsciiAlnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

QString percent(unsigned char byte)
{
    static const char hex[] = "0123456789ABCDEF";
    const char text[] = {'%', hex[byte >> 4], hex[byte & 0xF]};
    return QString::fromLatin1(text, 3);
}

// Kept as they are in a path segment: unreserved characters and the sub-delimiters that browsers
// leave alone there.
bool keptInPath(char c)
{
    return isAsciiAlnum(c) || QByteArrayView("-._~!$&'()*+,;=:@").contains(c);
}

enum class Encoding { Path, Form };

QString encode(const QString &value, Encoding encoding)
{
    return encoding == Encoding::Form ? formEncode(value) : pathEncode(value);
}

// Replaces every occurrence of token in text, picking the encoding by where the occurrence stands.
QString replaceToken(const QString &text, const QString &token, const QString &value, bool isAddress)
{
    QString result;
    int from = 0;
    int queryStart = isAddress ? text.indexOf(QLatin1Char('?')) : -1;
    QString formValue;
    QString pathValue;
    for (;;) {
        const int at = text.indexOf(token, from, Qt::CaseInsensitive);
        if (at < 0)
            break;
        result += QStringView(text).mid(from, at - from);
        const bool inPath = isAddress && (queryStart < 0 || at < queryStart);
        if (inPath) {
            if (pathValue.isNull())
                pathValue = encode(value, Encoding::Path);
            result += pathValue;
        } else {
            if (formValue.isNull())
                formValue = encode(value, Encoding::Form);
            result += formValue;
        }
        from = at + token.size();
    }
    if (from == 0)
        return text;
    result += QStringView(text).mid(from);
    return result;
}

} // namespace

QString formEncode(const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    QString out;
    out.reserve(utf8.size() * 3);
    for (char c : utf8) {
        if (isAsciiAlnum(c) || c == '*' || c == '-' || c == '.' || c == '_')
            out += QLatin1Char(c);
        else if (c == ' ')
            out += QLatin1Char('+');
        else
            out += percent(static_cast<unsigned char>(c));
    }
    if (out.isNull())
        out = QStringLiteral("");
    return out;
}

QString pathEncode(const QString &value)
{
    const QByteArray utf8 = value.toUtf8();
    QString out;
    out.reserve(utf8.size() * 3);
    for (char c : utf8) {
        if (keptInPath(c))
            out += QLatin1Char(c);
        else
            out += percent(static_cast<unsigned char>(c));
    }
    if (out.isNull())
        out = QStringLiteral("");
    return out;
}

FilledRequest FillPlaceholders(const QString &addressTemplate, const QString &bodyTemplate,
                               const QVector<FieldValue> &fields)
{
    FilledRequest request{addressTemplate, bodyTemplate};
    for (const FieldValue &field : fields) {
        const QString token = QLatin1Char('[') + field.placeholder + QLatin1Char(']');
        request.address = replaceToken(request.address, token, field.value, true);
        request.body = replaceToken(request.body, token, field.value, false);
    }
    return request;
}

bool isPostFlag(const QString &isPost, bool *ok)
{
    bool converted = false;
    const qlonglong flag = isPost.trimmed().toLongLong(&converted);
    if (ok)
        *ok = converted;
    return converted && flag == 1;
}

bool isSendableAddress(const QString &address)
{
    const QString scheme = QUrl(address, QUrl::TolerantMode).scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}
