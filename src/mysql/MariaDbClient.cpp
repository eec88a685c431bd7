#include "MariaDbClient.h"

#include <dlfcn.h>

const MariaDbClient *MariaDbClient::load(QString *why)
{
    // Opened once for the whole run and never closed: results and handles
    // may outlive any one user of the library.
    static const MariaDbClient client = [] {
        MariaDbClient loaded;
        void *library = dlopen(TRESSEL_MARIADB_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            loaded.m_failure = QString::fromLocal8Bit(dlerror());
            return loaded;
        }
#define TRESSEL_MARIADB_RESOLVE(name)                                                                                  \
    loaded.name = reinterpret_cast<decltype(&::name)>(dlsym(library, #name));                                          \
    if (!loaded.name && loaded.m_failure.isEmpty())                                                                    \
        loaded.m_failure = QStringLiteral(TRESSEL_MARIADB_LIBRARY " has no " #name);
        TRESSEL_MARIADB_CALLS(TRESSEL_MARIADB_RESOLVE)
#undef TRESSEL_MARIADB_RESOLVE
        return loaded;
    }();
    if (client.m_failure.isEmpty())
        return &client;
    if (why)
        *why = QStringLiteral("The MySQL client library could not be loaded: ") + client.m_failure;
    return nullptr;
}

const MariaDbClient &mariadb()
{
    const MariaDbClient *client = MariaDbClient::load();
    Q_ASSERT(client);
    return *client;
}
