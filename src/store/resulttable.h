#pragma once

#include <QStringList>
#include <QVariant>
#include <QVector>

// A query result held wholly in memory. Columns are found by name, ignoring letter case.
// Values read as text give an integer's decimal digits and the empty text for NULL.
class ResultTable final
{
public:
    ResultTable() = default;
    ResultTable(QStringList columns, QVector<QVector<QVariant>> rows);

    int rowCount() const { return m_rows.size(); }
    int columnCount() const { return m_columns.size(); }
    const QStringList &columns() const { return m_columns; }

    // Walking: the current row starts at the first one.
    bool eof() const { return m_current >= m_rows.size(); }
    void next() { ++m_current; }
    int currentRow() const { return m_current; }

    // Throws DatabaseError for an unknown column name.
    int fieldIndex(const QString &name) const;

    QString text(const QString &column) const { return text(m_current, fieldIndex(column)); }
    qint64 integer(const QString &column) const { return integer(m_current, fieldIndex(column)); }
    QString text(int row, int column) const;
    qint64 integer(int row, int column) const;

private:
    QStringList m_columns;
    QVector<QVector<QVariant>> m_rows;
    int m_current = 0;
};
