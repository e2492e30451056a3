#pragma once

#include <QByteArray>
#include <QStringList>

// The line format of the program folder's small text files: CR LF after every line when written;
// CR LF, a lone CR or a lone LF accepted when read. An empty line is an empty entry.
namespace TextLines {

QStringList parse(const QByteArray &bytes);
QByteArray format(const QStringList &lines);

// Missing or unreadable file: false, lines untouched.
bool read(const QString &path, QStringList &lines);
// Replaces the file whole; false on any error (the old file stays as it was).
bool write(const QString &path, const QStringList &lines);

} // namespace TextLines

// Recent-list rules: entries compared without regard to letter case.
namespace RecentList {

// Removes an equal entry (the first one found), then inserts path at the top.
void putOnTop(QStringList &list, const QString &path);
// Removes the first equal entry; false when there was none.
bool remove(QStringList &list, const QString &path);

} // namespace RecentList
