#pragma once

#include <QString>

#include <mysql.h>

// The client library's calls this program makes. The library is opened on
// the first connection rather than linked: it brings OpenSSL and Kerberos
// with it, whose loading every start of the wizard would otherwise wait for.
#define TRESSEL_MARIADB_CALLS(X)                                                                                       \
    X(mysql_init)                                                                                                      \
    X(mysql_options)                                                                                                   \
    X(mysql_real_connect)                                                                                              \
    X(mysql_close)                                                                                                     \
    X(mysql_ping)                                                                                                      \
    X(mysql_select_db)                                                                                                 \
    X(mysql_info)                                                                                                      \
    X(mysql_insert_id)                                                                                                 \
    X(mysql_errno)                                                                                                     \
    X(mysql_error)                                                                                                     \
    X(mysql_real_query)                                                                                                \
    X(mysql_store_result)                                                                                              \
    X(mysql_field_count)                                                                                               \
    X(mysql_affected_rows)                                                                                             \
    X(mysql_num_rows)                                                                                                  \
    X(mysql_num_fields)                                                                                                \
    X(mysql_row_tell)                                                                                                  \
    X(mysql_row_seek)                                                                                                  \
    X(mysql_fetch_row)                                                                                                 \
    X(mysql_fetch_lengths)                                                                                             \
    X(mysql_fetch_field_direct)                                                                                        \
    X(mysql_free_result)                                                                                               \
    X(mysql_real_escape_string)

class MariaDbClient final
{
public:
    // The library, opened on the first call; null when it cannot be opened,
    // with the reason in `why`.
    static const MariaDbClient *load(QString *why = nullptr);

#define TRESSEL_MARIADB_MEMBER(name) decltype(&::name) name = nullptr;
    TRESSEL_MARIADB_CALLS(TRESSEL_MARIADB_MEMBER)
#undef TRESSEL_MARIADB_MEMBER

private:
    MariaDbClient() = default;
    QString m_failure;
};

// The library once a connection or result exists, which means it was loaded.
const MariaDbClient &mariadb();
