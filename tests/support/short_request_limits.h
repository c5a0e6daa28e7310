// Shorter limits for the service requests (and book downloads) of one test, so that a stalled service is given up within seconds.
#pragma once

#include "service/http_client.h"

namespace elumira::test {

class ShortRequestLimits
{
public:
    explicit ShortRequestLimits(int connectTimeoutMs = 3000, int stallTimeoutMs = 3000) : m_saved(requestLimits())
    {
        setRequestLimits({connectTimeoutMs, stallTimeoutMs, stallTimeoutMs});
    }
    ~ShortRequestLimits() { setRequestLimits(m_saved); }

    ShortRequestLimits(const ShortRequestLimits &) = delete;
    ShortRequestLimits &operator=(const ShortRequestLimits &) = delete;

private:
    RequestLimits m_saved;
};

} // namespace elumira::test
