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

#include "platform/clock_setter.h"
#include "platform/file_chooser.h"
#include "platform/help_service.h"
#include "platform/launcher.h"
#include "platform/network_check.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "platform/time_zone_info.h"

namespace platform {

void installRealServices()
{
    static IniSettingsStore settings(IniSettingsStore::defaultFilePath());
    static QtPrompt prompt;
    static QtFileChooser files;
    static QtHelpService help;
    static QtLauncher launcher;
    static QtTimeZoneInfo timeZone;
    static QtNetworkCheck network;
    static SystemClockSetter clock;
    Services& s = services();
    s.settings = &settings;
    s.prompt = &prompt;
    s.files = &files;
    s.help = &help;
    s.launcher = &launcher;
    s.timeZone = &timeZone;
    s.network = &network;
    s.clock = &clock;
}

} // namespace platform
