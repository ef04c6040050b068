// The settings file: read, one value changed, written, read back.
#include "fuzz_support.h"
#include "platform/settings_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString file = fuzz::Scrivi(QStringLiteral("Astrovela.conf"), fuzz::Byte(data, size));
    platform::IniSettingsStore a(file);
    if (!a.loadError().isEmpty())
        return 0;
    const std::optional<QString> prima = a.value(QStringLiteral("Generali"), QStringLiteral("Lingua"));
    if (!a.setValue(QStringLiteral("Prova"), QStringLiteral("Chiave"), QStringLiteral("a=b [c]\\d")))
        return 0;
    // The file written back reads to the same values.
    platform::IniSettingsStore b(file);
    FUZZ_CHECK(b.loadError().isEmpty());
    FUZZ_CHECK(b.value(QStringLiteral("Prova"), QStringLiteral("Chiave")) == QStringLiteral("a=b [c]\\d"));
    FUZZ_CHECK(b.value(QStringLiteral("Generali"), QStringLiteral("Lingua")) == prima);
    return 0;
}
