// The settings file: read, one value changed, written, read back; and the
// settings the program takes from it: every choice within the values it
// knows, the place name shown without control characters; a file with lines
// that are not settings kept as it was in one copy.
#include "fuzz_support.h"
#include "core/settings.h"
#include "platform/services.h"
#include "platform/settings_store.h"
#include "platform/vb.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Each input in a clean folder of its own: no copy an earlier input left
    // (Astrovela.conf.N.bak) is walked past on every save.
    QTemporaryDir cartella(fuzz::Cartella() + QStringLiteral("/input-XXXXXX"));
    if (!cartella.isValid())
        std::abort();
    const QByteArray byte = fuzz::Byte(data, size);
    const QString file = fuzz::Scrivi(QStringLiteral("Astrovela.conf"), byte, cartella.path());
    platform::IniSettingsStore a(file);
    if (!a.loadError().isEmpty())
        return 0;
    {
        platform::Services servizi;
        servizi.settings = &a;
        platform::ScopedServices qui(servizi);
        Leggi_impostazioni();
        FUZZ_CHECK(gintFormatoOra >= 0 && gintFormatoOra <= 9);
        FUZZ_CHECK(gintPropagatore >= 0 && gintPropagatore <= 3);
        FUZZ_CHECK(gbytOraLegale <= 1);
        FUZZ_CHECK(gintLocaleOrientamento >= 0 && gintLocaleOrientamento <= 3);
        FUZZ_CHECK(gintAnteprimaOrientamento >= 0 && gintAnteprimaOrientamento <= 3);
        FUZZ_CHECK(!vb::hasControlCharacters(vb::displayable(gstrLocalita)));
    }
    const std::optional<QString> prima = a.value(QStringLiteral("Generali"), QStringLiteral("Lingua"));
    if (!a.setValue(QStringLiteral("Prova"), QStringLiteral("Chiave"), QStringLiteral("a=b [c]\\d")))
        return 0;
    // The file written back reads to the same values.
    platform::IniSettingsStore b(file);
    FUZZ_CHECK(b.loadError().isEmpty());
    FUZZ_CHECK(b.value(QStringLiteral("Prova"), QStringLiteral("Chiave")) == QStringLiteral("a=b [c]\\d"));
    FUZZ_CHECK(b.value(QStringLiteral("Generali"), QStringLiteral("Lingua")) == prima);
    // A file with lines that are not settings is kept as it was, in one copy
    // under the first free name, beside the file written.
    if (!a.copia().isEmpty()) {
        FUZZ_CHECK(a.copia() == file + QStringLiteral(".bak"));
        FUZZ_CHECK(vb::readFileBytes(a.copia(), qint64(size) + 1, nullptr) == byte);
    }
    FUZZ_CHECK(QDir(cartella.path()).entryList(QDir::Files | QDir::Hidden).size() == (a.copia().isEmpty() ? 1 : 2));
    return 0;
}
