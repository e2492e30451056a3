#include "learner.h"

namespace {

bool isBlankOrControl(QChar c)
{
    return c.unicode() <= 0x20;
}

QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlankOrControl(text.at(begin)))
        ++begin;
    while (end > begin && isBlankOrControl(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

// The forms in which a request may carry a typed value.
QStringList carriedForms(const QString &value)
{
    if (value.isEmpty())
        return {};
    QStringList forms { SpacesToPlus(value) };
    const QString encoded = FormEncode(value);
    if (encoded != forms.first())
        forms << encoded;
    return forms;
}

bool carries(const QStringList &forms, const QString &address, const QString &body)
{
    for (const QString &form : forms) {
        if (address.contains(form) || body.contains(form))
            return true;
    }
    return false;
}

} // namespace

QString SpacesToPlus(const QString &text)
{
    return QString(text).replace(u' ', u'+');
}

QString FormEncode(const QString &text)
{
    static const char hex[] = "0123456789ABCDEF";
    QString encoded;
    const QByteArray bytes = text.toUtf8();
    encoded.reserve(bytes.size());
    for (const char byte : bytes) {
        const uchar c = uchar(byte);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '*' || c == '-'
            || c == '.' || c == '_') {
            encoded += QLatin1Char(char(c));
        } else if (c == ' ') {
            encoded += u'+';
        } else {
            encoded += u'%';
            encoded += QLatin1Char(hex[c >> 4]);
            encoded += QLatin1Char(hex[c & 15]);
        }
    }
    return encoded;
}

bool IsMatching(const QString &value, const QString &text)
{
    return !value.isEmpty() && text.contains(SpacesToPlus(value));
}

QString PostDataToText(const QByteArray &postData)
{
    const qsizetype zero = postData.indexOf('\0');
    return QString::fromUtf8(zero < 0 ? postData : postData.left(zero));
}

QString PlaceholderToken(const QString &searchText)
{
    return u'[' + searchText + u']';
}

QString CutSearchPageTitle(const QString &title)
{
    static const QChar separators[] = { u'-', u'-', u'-', u'|', u'|', u'|', u':', u':', u':' };
    QString name = title;
    for (const QChar separator : separators) {
        const qsizetype at = name.indexOf(separator);
        if (at < 0)
            continue;
        QString rest = name.mid(at + 1, 100);
        // Never keep half of a character that takes two UTF-16 units.
        if (rest.size() == 100 && rest.at(99).isHighSurrogate())
            rest.chop(1);
        name = trimBlanks(rest);
    }
    return name;
}

LearnerResult learnRequest(const LearnerInput &input)
{
    LearnerResult result;
    const bool mayLearn = !input.learnt && input.armed;

    if (!input.userName.isEmpty() || !input.password.isEmpty()) {
        const bool userPresent = carries(carriedForms(input.userName), input.address, input.body);
        const bool passwordPresent = carries(carriedForms(input.password), input.address, input.body);
        if (userPresent && passwordPresent && mayLearn) {
            result.loginCaptured = true;
            result.loginAddress = input.address;
            result.loginBody = input.body;
        }
    }

    QString address = input.address;
    QString body = input.body;
    for (const QString &searchText : input.searchTexts) {
        const QStringList forms = carriedForms(searchText);
        if (!mayLearn || !carries(forms, address, body))
            continue;
        ++result.matchCount;
        const QString token = PlaceholderToken(searchText);
        for (const QString &form : forms) {
            address.replace(form, token, Qt::CaseInsensitive);
            body.replace(form, token, Qt::CaseInsensitive);
        }
    }
    if (result.learnt()) {
        result.addressTemplate = address;
        result.bodyTemplate = body;
    }
    return result;
}
