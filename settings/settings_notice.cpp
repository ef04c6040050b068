#include "settings/settings_notice.h"

namespace settings {

AvvisiOpzioni& avvisiOpzioni()
{
    static AvvisiOpzioni avvisi;
    return avvisi;
}

} // namespace settings
