#pragma once
// The platform services the program uses, reachable from anywhere.
// The application installs the real ones at start-up; a test installs fakes
// (see platform/fakes.h) and puts back what was there when it ends.
namespace platform {

class SettingsStore;
class Prompt;
class FileChooser;
class HelpService;
class Launcher;
class TimeZoneInfo;
class NetworkCheck;
class ClockSetter;

struct Services {
    SettingsStore* settings = nullptr;
    Prompt* prompt = nullptr;
    FileChooser* files = nullptr;
    HelpService* help = nullptr;
    Launcher* launcher = nullptr;
    TimeZoneInfo* timeZone = nullptr;
    NetworkCheck* network = nullptr;
    ClockSetter* clock = nullptr;
};

// The services in force. Never null members once the application or a test
// has installed them.
Services& services();

// Installs the real services (settings file, message boxes, dialogs, help,
// launcher, time zone, network, system clock) for the whole run. Call once
// after the QApplication exists.
void installRealServices();

// Installs a set of services for the lifetime of the object and restores the
// previous set afterwards (tests).
class ScopedServices {
public:
    explicit ScopedServices(const Services& s);
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    Services m_previous;
};

} // namespace platform
