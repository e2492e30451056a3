#include "database.h"

#include "databaseerror.h"

#include <sqlite3.h>

namespace {

QString lastError(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// Finalises on every path out of a statement's use.
class Statement final
{
public:
    Statement(sqlite3 *db, const QString &sql) : m_db(db)
    {
        const QByteArray text = sql.toUtf8();
        const char *tail = nullptr;
        if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_stmt, &tail) != SQLITE_OK)
            throw DatabaseError(lastError(db));
        if (!m_stmt)
            throw DatabaseError(QStringLiteral("Empty statement"));
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    void bind(const QVariantList &params)
    {
        for (int i = 0; i < params.size(); ++i) {
            const QVariant &value = params.at(i);
            int rc;
            if (value.isNull()) {
                rc = sqlite3_bind_null(m_stmt, i + 1);
            } else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong
                       || value.typeId() == QMetaType::Bool) {
                rc = sqlite3_bind_int64(m_stmt, i + 1, value.toLongLong());
            } else {
                const QByteArray bytes = value.toString().toUtf8();
                rc = sqlite3_bind_text(m_stmt, i + 1, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
            }
            if (rc != SQLITE_OK)
                throw DatabaseError(lastError(m_db));
        }
    }

    sqlite3_stmt *get() const { return m_stmt; }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace

Database::~Database()
{
    close();
}

void Database::open(const QString &path)
{
    close();
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = db ? lastError(db) : QStringLiteral("Out of memory");
        sqlite3_close(db);
        throw DatabaseError(message);
    }
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 1, nullptr);
    sqlite3_busy_timeout(db, 2000);
    m_db = db;
    m_path = path;
}

void Database::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

sqlite3 *Database::require() const
{
    if (!m_db)
        throw DatabaseError(QStringLiteral("No database is open"));
    return m_db;
}

void Database::execute(const QString &sql, const QVariantList &params)
{
    sqlite3 *db = require();
    Statement stmt(db, sql);
    stmt.bind(params);
    const int rc = sqlite3_step(stmt.get());
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw DatabaseError(lastError(db));
    if (rc == SQLITE_ROW)
        throw DatabaseError(QStringLiteral("Statement returned rows where none were expected"));
}

ResultTable Database::query(const QString &sql, const QVariantList &params)
{
    sqlite3 *db = require();
    Statement stmt(db, sql);
    stmt.bind(params);
    const int count = sqlite3_column_count(stmt.get());
    QStringList columns;
    columns.reserve(count);
    for (int i = 0; i < count; ++i)
        columns << QString::fromUtf8(sqlite3_column_name(stmt.get(), i));

    QVector<QVector<QVariant>> rows;
    for (;;) {
        const int rc = sqlite3_step(stmt.get());
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            throw DatabaseError(lastError(db));
        QVector<QVariant> row(count);
        for (int i = 0; i < count; ++i) {
            switch (sqlite3_column_type(stmt.get(), i)) {
            case SQLITE_NULL:
                break;
            case SQLITE_INTEGER:
                row[i] = QVariant(qint64(sqlite3_column_int64(stmt.get(), i)));
                break;
            case SQLITE_FLOAT:
                row[i] = QVariant(sqlite3_column_double(stmt.get(), i));
                break;
            default: {
                const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt.get(), i));
                row[i] = QVariant(QString::fromUtf8(text, sqlite3_column_bytes(stmt.get(), i)));
                break;
            }
            }
        }
        rows.append(std::move(row));
    }
    return ResultTable(std::move(columns), std::move(rows));
}

bool Database::tableExists(const QString &name)
{
    const ResultTable result = query(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND lower(name) = lower(?1)"),
        {name});
    return result.rowCount() > 0;
}

qint64 Database::lastInsertRowId() const
{
    return sqlite3_last_insert_rowid(require());
}

namespace {

void copyDatabase(sqlite3 *from, sqlite3 *to, sqlite3 *errorSource)
{
    sqlite3_backup *backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        throw DatabaseError(lastError(errorSource));
    int rc;
    do {
        rc = sqlite3_backup_step(backup, -1);
    } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        throw DatabaseError(QString::fromUtf8(sqlite3_errstr(rc)));
    if (sqlite3_errcode(to) != SQLITE_OK && sqlite3_errcode(to) != SQLITE_DONE)
        throw DatabaseError(lastError(to));
}

sqlite3 *openRaw(const QString &path, int flags)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr) != SQLITE_OK) {
        const QString message = db ? lastError(db) : QStringLiteral("Out of memory");
        sqlite3_close(db);
        throw DatabaseError(message);
    }
    return db;
}

} // namespace

void Database::backupTo(const QString &path)
{
    sqlite3 *from = require();
    sqlite3 *to = openRaw(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    try {
        // A fresh file that nobody reads before the caller has synced and renamed it: no journal,
        // no syncing page by page.
        sqlite3_exec(to, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;", nullptr, nullptr, nullptr);
        copyDatabase(from, to, to);
    } catch (...) {
        sqlite3_close(to);
        throw;
    }
    if (sqlite3_close(to) != SQLITE_OK)
        throw DatabaseError(QStringLiteral("Could not close %1").arg(path));
}

QString EscapeString(const QString &text)
{
    QString result = text;
    result.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return result;
}
