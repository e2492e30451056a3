#pragma once

#include <QString>
#include <stdexcept>

// The one error type of the database layer; its text carries SQLite's own message.
class DatabaseError final : public std::runtime_error
{
public:
    explicit DatabaseError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    {
    }
    QString message() const { return m_message; }

private:
    QString m_message;
};
