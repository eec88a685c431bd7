#pragma once

#include <QByteArray>
#include <QString>

#include <ostream>

// Readable gtest messages for Qt's text types (lists of them print through
// these too).
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray &bytes, std::ostream *out)
{
    *out << '"' << bytes.toStdString() << '"';
}
