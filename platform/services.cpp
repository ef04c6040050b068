#include "platform/services.h"

namespace platform {

Services& services()
{
    static Services s;
    return s;
}

ScopedServices::ScopedServices(const Services& s) : m_previous(services())
{
    services() = s;
}

ScopedServices::~ScopedServices()
{
    services() = m_previous;
}

} // namespace platform
