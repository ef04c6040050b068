#include "platform/network_check.h"

#include <QNetworkInformation>
#include <QNetworkInterface>

namespace platform {

bool QtNetworkCheck::isConnected() const
{
    static const bool loaded = QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    if (loaded && QNetworkInformation::instance()) {
        const auto r = QNetworkInformation::instance()->reachability();
        if (r != QNetworkInformation::Reachability::Unknown)
            return r == QNetworkInformation::Reachability::Online ||
                   r == QNetworkInformation::Reachability::Site;
    }
    for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
        const auto f = iface.flags();
        if (!(f & QNetworkInterface::IsUp) || !(f & QNetworkInterface::IsRunning) ||
            (f & QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& e : iface.addressEntries())
            if (!e.ip().isNull() && !e.ip().isLoopback() && !e.ip().isLinkLocal())
                return true;
    }
    return false;
}

} // namespace platform
