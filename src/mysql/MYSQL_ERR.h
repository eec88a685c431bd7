#pragma once

#include <QString>

// The last error of a MySQL connection: 0 and "" when the last operation
// succeeded, -1 when the client library gave no connection handle, otherwise
// the client library's own number and message.
class MYSQL_ERR final
{
public:
    qint32 Number() const { return m_number; }
    const QString &Description() const { return m_description; }
    void Clear();

private:
    // Only the library's own classes record errors.
    friend class MYSQL_CONNECTION;
    friend class connections;

    void set_Number(qint32 number) { m_number = number; }
    void set_Description(const QString &description) { m_description = description; }
    void SetError(qint32 number, const QString &description);

    qint32 m_number = 0;
    QString m_description;
};
