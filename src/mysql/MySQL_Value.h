#pragma once

#include <QString>
#include <QVariant>

// A value read from a result set, as the column cursor gives it: a text
// (UTF-8 as the server sent it, zero bytes kept), Null for SQL NULL, or Empty
// where there is no value (outside the rows, or no such column). Values are
// never converted by column type. Kept this small because every value of a
// walk over a result is one.
class MySQL_Value final
{
public:
    // Empty.
    MySQL_Value() = default;
    explicit MySQL_Value(QString text)
        : m_kind(Kind::Text)
        , m_text(std::move(text))
    { }
    static MySQL_Value Null()
    {
        MySQL_Value value;
        value.m_kind = Kind::Null;
        return value;
    }

    bool isEmpty() const { return m_kind == Kind::Empty; }
    bool isNull() const { return m_kind == Kind::Null; }
    // The text; "" for Null and Empty.
    const QString &toString() const { return m_text; }
    // As a variant: the text, mysql_variant::Null() or mysql_variant::Empty().
    QVariant toVariant() const;

    bool operator==(const MySQL_Value &other) const { return m_kind == other.m_kind && m_text == other.m_text; }

private:
    enum class Kind : quint8 { Empty, Null, Text };

    Kind m_kind = Kind::Empty;
    QString m_text;
};
