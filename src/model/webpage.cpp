#include "webpage.h"

const std::shared_ptr<StringCollection> &webpage::blocked_ips()
{
    if (!m_blocked_ips)
        m_blocked_ips = std::make_shared<StringCollection>();
    return m_blocked_ips;
}
