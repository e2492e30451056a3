#include "textlines.h"

#include <QFile>
#include <QSaveFile>

namespace TextLines {

QStringList parse(const QByteArray &bytes)
{
    QStringList lines;
    QByteArray current;
    bool pending = false; // something since the last line break
    for (int i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c == '\r' || c == '\n') {
            lines << QString::fromLocal8Bit(current);
            current.clear();
            pending = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
                ++i;
        } else {
            current.append(c);
            pending = true;
        }
    }
    if (pending)
        lines << QString::fromLocal8Bit(current);
    return lines;
}

QByteArray format(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines) {
        bytes += line.toLocal8Bit();
        bytes += "\r\n";
    }
    return bytes;
}

bool read(const QString &path, QStringList &lines)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    lines = parse(file.readAll());
    return true;
}

bool write(const QString &path, const QStringList &lines)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(format(lines));
    return file.commit();
}

} // namespace TextLines

namespace RecentList {

bool remove(QStringList &list, const QString &path)
{
    for (int i = 0; i < list.size(); ++i) {
        if (list.at(i).compare(path, Qt::CaseInsensitive) == 0) {
            list.removeAt(i);
            return true;
        }
    }
    return false;
}

void putOnTop(QStringList &list, const QString &path)
{
    remove(list, path);
    list.prepend(path);
}

} // namespace RecentList
