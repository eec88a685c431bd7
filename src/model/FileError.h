#pragma once

#include <QString>

#include <stdexcept>

// A file that could not be written, read or copied: its path and the reason
// in words a user understands.
class FileError final : public std::runtime_error
{
public:
    FileError(const QString &path, const QString &reason)
        : std::runtime_error((path + QStringLiteral(": ") + reason).toStdString())
        , m_path(path)
        , m_reason(reason)
    { }

    const QString &path() const { return m_path; }
    const QString &reason() const { return m_reason; }

private:
    QString m_path;
    QString m_reason;
};
