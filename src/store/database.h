#pragma once

#include "resulttable.h"

#include <QString>
#include <QVariantList>

struct sqlite3;

// One connection to an SQLite file. Every failure throws DatabaseError with SQLite's message.
// Statements of the project's own (schema, seed, upgrade) run as written, which needs SQLite to
// accept double-quoted string literals; values typed by the user always travel as bound parameters.
class Database final
{
public:
    Database() = default;
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // Creates the file when absent. Closes any connection held before.
    void open(const QString &path);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString path() const { return m_path; }

    // Prepares and steps once; the statement must finish. Parameters bind to ?1, ?2, ... in order.
    void execute(const QString &sql, const QVariantList &params = {});
    // Reads every row before returning.
    ResultTable query(const QString &sql, const QVariantList &params = {});
    // Case-insensitive, as SQLite compares names.
    bool tableExists(const QString &name);
    qint64 lastInsertRowId() const;

    // Writes a consistent copy of the whole database into a fresh file at path (online backup).
    void backupTo(const QString &path);


private:
    sqlite3 *require() const;
    sqlite3 *m_db = nullptr;
    QString m_path;
};

// Doubles every double quote, changes nothing else; for the inside of a double-quoted literal.
QString EscapeString(const QString &text);
