#include "resulttable.h"

#include "databaseerror.h"

ResultTable::ResultTable(QStringList columns, QVector<QVector<QVariant>> rows)
    : m_columns(std::move(columns)), m_rows(std::move(rows))
{
}

int ResultTable::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    throw DatabaseError(QStringLiteral("Unknown column: %1").arg(name));
}

QString ResultTable::text(int row, int column) const
{
    if (row < 0 || row >= m_rows.size())
        throw DatabaseError(QStringLiteral("No current row"));
    const QVariant &value = m_rows.at(row).at(column);
    if (value.isNull())
        return QString();
    return value.toString();
}

qint64 ResultTable::integer(int row, int column) const
{
    if (row < 0 || row >= m_rows.size())
        throw DatabaseError(QStringLiteral("No current row"));
    return m_rows.at(row).at(column).toLongLong();
}
