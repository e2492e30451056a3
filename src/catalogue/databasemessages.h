#pragma once

#include <QString>

// The fixed texts the catalogue dialogs show before the database's own message.
namespace DatabaseMessages {

inline QString writeError(const QString &message)
{
    return QStringLiteral("Error writing to Database - please contact tech support.\r\n") + message;
}

inline QString readError(const QString &message)
{
    return QStringLiteral("Error Reading from Database - please contact tech support.\r\n") + message;
}

} // namespace DatabaseMessages
