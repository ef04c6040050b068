// The settings table: defaults, forms, snapshots and writing back.
#include "core/mlang.h"
#include "core/mreg.h"
#include "core/settings.h"
#include "platform/services.h"
#include "platform/settings_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QLocale>
#include <QSet>
#include <gtest/gtest.h>

#include "support/file_replacements.h"

namespace {

// A memory store that remembers which keys were asked for and written.
class RecordingStore : public platform::MemorySettingsStore {
public:
    std::optional<QString> value(const QString& section, const QString& key) const override
    {
        reads.append(section + u'/' + key);
        return MemorySettingsStore::value(section, key);
    }
    bool setValue(const QString& section, const QString& key, const QString& text,
                  QString* error = nullptr) override
    {
        const bool ok = MemorySettingsStore::setValue(section, key, text, error);
        if (ok)
            writes.append(section + u'/' + key);
        return ok;
    }
    QString text(const QString& section, const QString& key) const
    {
        return MemorySettingsStore::value(section, key).value_or(QStringLiteral("<missing>"));
    }
    mutable QStringList reads;
    QStringList writes;
};

class SettingsTest : public ::testing::Test {
protected:
    RecordingStore store;
    platform::ScopedServices services{[this] {
        platform::Services s;
        s.settings = &store;
        return s;
    }()};

    void put(const char* section, const char* key, const QString& text)
    {
        mReg::Salva_Impostazione("Astrovela", section, key, text);
    }
};

TEST_F(SettingsTest, EmptyStoreGivesEveryDefault)
{
    Leggi_impostazioni();
    // The default observer is a place of the shipped city list, so that the
    // location list opens on it: its name and coordinates as that file has them.
    EXPECT_EQ(gstrLocalita, "Italy: Milan");
    {
        QFile cities(QStringLiteral(ASTROVELA_SOURCE_DIR "/data/cities.dat"));
        ASSERT_TRUE(cities.open(QIODevice::ReadOnly));
        QByteArray riga;
        for (const QByteArray& r : cities.readAll().split('\n'))
            if (r.startsWith("\"Italy: Milan\","))
                riga = r.trimmed();
        const QList<QByteArray> campi = riga.split(',');
        ASSERT_EQ(campi.size(), 4) << riga.toStdString();
        EXPECT_EQ(gsngLatitudine, campi[1].toFloat());
        EXPECT_EQ(gsngLongitudine, campi[2].toFloat());
        EXPECT_EQ(gsngFusoOrario, campi[3].toFloat());
    }
    // A new installation asks at exit before changed settings are lost.
    EXPECT_TRUE(gblnVerificaOpzioni);
    EXPECT_FLOAT_EQ(gsngQuota, 133.0f);
    EXPECT_FLOAT_EQ(gsngFusoOrario, 1.0f);
    EXPECT_EQ(gbytOraLegale, 0);
    EXPECT_EQ(gstrDatabasePrimario, "");
    EXPECT_EQ(gintPropagatore, 3); // "SGP4 + SDP4": deep-space sets get the deep-space model
    EXPECT_EQ(gintSogliaSole, -10);
    EXPECT_TRUE(gblnMappaGriglia);
    EXPECT_FALSE(gblnMappaLocalizzatore);
    EXPECT_EQ(gintLocaleStelle, 1639);
    EXPECT_EQ(gintGeneraleStelle, 5146);
    EXPECT_TRUE(gblnLocaleProiezioneStereo);
    EXPECT_FALSE(gblnAnteprimaProiezioneStereo);
    EXPECT_EQ(gintAnteprimaOrientamento, 1);
    for (int g = 0; g < 3; ++g) {
        EXPECT_TRUE(gblnFiltroAM[g]);
        EXPECT_TRUE(gblnFiltroPM[g]);
        EXPECT_FALSE(gblnSoloVisibili[g]);
        EXPECT_EQ(gdblAltezzaMin[g], 10.0);
        EXPECT_EQ(gdblAzimuthMin[g], 0.0);
        EXPECT_EQ(gdblAzimuthMax[g], 360.0);
    }
    EXPECT_TRUE(gblnVerificaOraLegale);
    EXPECT_FALSE(gblnConfermaUscita);
    for (int c : gintCanale)
        EXPECT_EQ(c, 1);
    for (const QString& s : gstrServerNTP)
        EXPECT_FALSE(s.isEmpty());
    EXPECT_TRUE(gstrRemoto[0].endsWith("/NORAD/elements/visual.txt"));
    EXPECT_TRUE(gstrRemoto[28].endsWith("/radar.txt"));
    EXPECT_TRUE(gstrRemoto[29].endsWith("/military.txt"));
    EXPECT_TRUE(gstrRemoto[30].endsWith("/other.txt"));
    EXPECT_FALSE(gstrRemoto[5].contains("://"));
    // 8553090 = 0x828282: grey 130.
    EXPECT_EQ(glngColoreGrigliaMappamondo, 130 + 256 * 130 + 65536 * 130);
    EXPECT_EQ(glngColoreCostellazioniLinee, 10789888);
    EXPECT_EQ(glngColoreSatellite, 65535);
    EXPECT_EQ(gstrFileLingua, "");
    EXPECT_FALSE(Impostazioni_modificate());
    // A first start writes nothing.
    EXPECT_TRUE(store.writes.isEmpty());
}

TEST_F(SettingsTest, ReadsTheTableInOrderWithTheLanguageLast)
{
    Leggi_impostazioni();
    ASSERT_EQ(store.reads.size(), 151);
    EXPECT_EQ(QSet<QString>(store.reads.begin(), store.reads.end()).size(), 151);
    EXPECT_EQ(store.reads.first(), "Osservatore/Localita");
    EXPECT_EQ(store.reads.at(6), "Database/Primario");
    EXPECT_EQ(store.reads.last(), "Generali/Lingua");
    const qsizetype transit = store.reads.indexOf("Filtri/In transito");
    EXPECT_EQ(store.reads.at(transit + 1), "Filtri/AM tutti");
    EXPECT_EQ(store.reads.at(transit + 3), "Filtri/AM secondari");
    EXPECT_EQ(store.reads.at(transit + 18), "Filtri/Azimuth max secondari");
    EXPECT_FALSE(store.reads.contains("Mappamondo/Window_Left"));
    QSet<QString> sections;
    for (const QString& r : store.reads)
        sections.insert(r.section(u'/', 0, 0));
    // The 14 sections; Cielo generale's keys are read though it has its own window keys too.
    EXPECT_EQ(sections.size(), 14);
}

TEST_F(SettingsTest, WindowAndConnectionKeysHaveDefaultsButAreNotRead)
{
    for (const char* section : {"Mappamondo", "Cielo locale", "Cielo generale"}) {
        EXPECT_EQ(Default_Impostazione(section, "Window_Left"), "0");
        EXPECT_EQ(Default_Impostazione(section, "Window_Top"), "0");
        EXPECT_EQ(Default_Impostazione(section, "Window_Width"), "10665");
        EXPECT_EQ(Default_Impostazione(section, "Window_Height"), "6870");
    }
    EXPECT_EQ(Default_Impostazione("Cielo anteprima", "Window_Left"), "");
    EXPECT_EQ(Default_Impostazione("ServerNTP", "Verifica connessione"), "-1");
    EXPECT_EQ(Default_Impostazione("Download", "Verifica connessione"), "-1");
    EXPECT_EQ(Default_Impostazione("Osservatore", "Latitudine"), "45483.1");
}

TEST_F(SettingsTest, StoredNumbersAreReadWithThePointWhateverTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    put("Osservatore", "Latitudine", "-33870");
    put("Osservatore", "Longitudine", "151210");
    put("Osservatore", "Fuso", "5.5");
    put("Osservatore", "Quota", "58.5");
    put("Filtri", "Altezza min principale", "12.25");
    Leggi_impostazioni();
    QLocale::setDefault(QLocale::c());
    EXPECT_FLOAT_EQ(gsngLatitudine, -33.87f);
    EXPECT_FLOAT_EQ(gsngLongitudine, 151.21f);
    EXPECT_EQ(gsngFusoOrario, 5.5f);
    EXPECT_EQ(gsngQuota, 58.5f);
    EXPECT_EQ(gdblAltezzaMin[1], 12.25);
    EXPECT_EQ(gdblAltezzaMin[0], 10.0);
}

TEST_F(SettingsTest, TimeZoneTakesTheLeadingNumber)
{
    const std::pair<QString, float> cases[] = {
        {"", 0.0f}, {"abc", 0.0f}, {" -3.5 hours", -3.5f}, {"+9", 9.0f}, {"5,5", 5.0f}, {".5", 0.5f},
        {"1e39", 1.0f}}; // beyond a 32-bit float: the default
    for (const auto& [text, expected] : cases) {
        put("Osservatore", "Fuso", text);
        Leggi_impostazioni();
        EXPECT_EQ(gsngFusoOrario, expected) << text.toStdString();
    }
}

TEST_F(SettingsTest, UnreadableTextsFallBackToTheirDefault)
{
    put("Osservatore", "Ora legale", "256"); // used to abort the start-up
    put("Osservatore", "Latitudine", "north");
    put("Satelliti", "Propagatore", "70000");
    put("Cielo locale", "Stelle", "many");
    put("Mappamondo", "Griglia", "yes");
    put("Colori", "Satellite", "");
    put("Radio", "Canale3", "4");
    put("Radio", "Canale4", "11"); // there are ten channels
    put("Radio", "Canale5", "0");
    put("Mappamondo", "Citta", "0");
    Leggi_impostazioni();
    EXPECT_EQ(gbytOraLegale, 0);
    EXPECT_FLOAT_EQ(gsngLatitudine, 45.4831f);
    EXPECT_EQ(gintPropagatore, 3);
    EXPECT_EQ(gintLocaleStelle, 1639);
    EXPECT_TRUE(gblnMappaGriglia);
    EXPECT_EQ(glngColoreSatellite, 65535);
    // Good values next to them are still read.
    EXPECT_EQ(gintCanale[2], 4);
    EXPECT_EQ(gintCanale[3], 1);
    EXPECT_EQ(gintCanale[4], 1);
    EXPECT_FALSE(gblnMappaCitta);

    put("Osservatore", "Ora legale", "1");
    put("Mappamondo", "Griglia", "True");
    put("Satelliti", "Soglia", " -6 ");
    Leggi_impostazioni();
    EXPECT_EQ(gbytOraLegale, 1);
    EXPECT_TRUE(gblnMappaGriglia);
    EXPECT_EQ(gintSogliaSole, -6);
}

TEST_F(SettingsTest, AStoredModelChoiceIsKept)
{
    // An installation that chose plain SGP4 keeps it; only new ones get
    // "SGP4 + SDP4".
    for (const char* scelta : {"0", "1", "2"}) {
        put("Satelliti", "Propagatore", scelta);
        Leggi_impostazioni();
        EXPECT_EQ(gintPropagatore, QString::fromLatin1(scelta).toInt());
    }
}

TEST_F(SettingsTest, DefaultsKeepObserverPrincipalFileAndLanguage)
{
    put("Osservatore", "Localita", "Australia: Sydney");
    put("Database", "Primario", "/home/u/visual.txt");
    put("Generali", "Lingua", "english.ini");
    put("Cielo locale", "Stelle", "500");
    Leggi_impostazioni();
    EXPECT_FALSE(Impostazioni_modificate());
    gblnMappaGriglia = false; // also changed by the user after reading
    Impostazioni_default();
    EXPECT_EQ(gstrLocalita, "Australia: Sydney");
    EXPECT_EQ(gstrDatabasePrimario, "/home/u/visual.txt");
    EXPECT_EQ(gstrFileLingua, "english.ini");
    EXPECT_EQ(gintLocaleStelle, 1639);
    EXPECT_TRUE(gblnMappaGriglia);
    EXPECT_TRUE(Impostazioni_modificate());
    EXPECT_EQ(store.text("Cielo locale", "Stelle"), "500"); // nothing written
}

TEST_F(SettingsTest, ChangesAreNoticedExceptTheLanguage)
{
    Leggi_impostazioni();
    gstrFileLingua = "italiano.ini";
    EXPECT_FALSE(Impostazioni_modificate());
    gstrLocalita = "italy: milano"; // case matters
    EXPECT_TRUE(Impostazioni_modificate());
    Leggi_impostazioni();
    gdblAzimuthMax[2] = 359.9999;
    EXPECT_TRUE(Impostazioni_modificate());
    gdblAzimuthMax[2] = 360;
    EXPECT_FALSE(Impostazioni_modificate());
    gstrRemoto[30] += "x";
    EXPECT_TRUE(Impostazioni_modificate());
}

TEST_F(SettingsTest, SavedSettingsReadBackTheSame)
{
    Leggi_impostazioni();
    gstrLocalita = QString::fromUtf8("Italia: Forlì");
    gsngLatitudine = 44.2227f;
    gsngLongitudine = -0.1234f;
    gsngQuota = 34.7f;
    gsngFusoOrario = 5.5f;
    gbytOraLegale = 1;
    gintSogliaSole = -12;
    gblnRifrazione = true;
    gblnMappaOmbra = false;
    gdblAltezzaMin[2] = 0.1;
    gdblAzimuthMax[0] = 359.9999;
    glngColoreOrbita2 = 0x123456;
    gintCanale[9] = 10;
    gstrServerNTP[3] = "ntp.example.org";
    gstrEseguiParametri = "-a \"b c\"";
    gstrFileLingua = "italiano.ini";
    QString error;
    ASSERT_TRUE(Salva_impostazioni(&error)) << error.toStdString();
    EXPECT_EQ(store.writes.size(), 151);
    EXPECT_EQ(store.text("Osservatore", "Fuso"), "5.5");
    EXPECT_EQ(store.text("Osservatore", "Ora legale"), "1");
    EXPECT_EQ(store.text("Osservatore", "Longitudine"), "-123.4");
    EXPECT_EQ(store.text("Satelliti", "Rifrazione"), "-1");
    EXPECT_EQ(store.text("Mappamondo", "Ombra"), "0");
    EXPECT_EQ(store.text("Colori", "Orbita2"), "1193046");
    EXPECT_EQ(store.text("Cielo locale", "Stelle"), "1639");

    // Everything changed in memory, then read back from the store.
    Impostazioni_default();
    gstrLocalita.clear();
    gsngLatitudine = gsngLongitudine = gsngQuota = gsngFusoOrario = 0;
    gbytOraLegale = 0;
    gstrFileLingua.clear();
    Leggi_impostazioni();
    EXPECT_EQ(gstrLocalita, QString::fromUtf8("Italia: Forlì"));
    EXPECT_EQ(gsngLatitudine, 44.2227f);
    EXPECT_EQ(gsngLongitudine, -0.1234f);
    EXPECT_EQ(gsngQuota, 34.7f);
    EXPECT_EQ(gsngFusoOrario, 5.5f);
    EXPECT_EQ(gbytOraLegale, 1);
    EXPECT_EQ(gintSogliaSole, -12);
    EXPECT_TRUE(gblnRifrazione);
    EXPECT_FALSE(gblnMappaOmbra);
    EXPECT_EQ(gdblAltezzaMin[2], 0.1);
    EXPECT_EQ(gdblAzimuthMax[0], 359.9999);
    EXPECT_EQ(glngColoreOrbita2, 0x123456);
    EXPECT_EQ(gintCanale[9], 10);
    EXPECT_EQ(gstrServerNTP[3], "ntp.example.org");
    EXPECT_EQ(gstrEseguiParametri, "-a \"b c\"");
    EXPECT_EQ(gstrFileLingua, "italiano.ini");
}

TEST_F(SettingsTest, NumbersAreWrittenAsPlainDecimals)
{
    // Round values whose shortest form would be an exponent ("5e+04").
    Leggi_impostazioni();
    gsngLatitudine = 50.0f;
    gsngLongitudine = -100.0f;
    gsngQuota = 100000.0f;
    gdblAzimuthMin[1] = 100000.0;
    ASSERT_TRUE(Salva_impostazioni());
    EXPECT_EQ(store.text("Osservatore", "Latitudine"), "50000");
    EXPECT_EQ(store.text("Osservatore", "Longitudine"), "-100000");
    EXPECT_EQ(store.text("Osservatore", "Quota"), "100000");
    EXPECT_EQ(store.text("Filtri", "Azimuth min principale"), "100000");
}

TEST_F(SettingsTest, FailedSaveIsReportedNotThrown)
{
    Leggi_impostazioni();
    store.setFailWrites(true);
    QString error;
    bool ok = true;
    EXPECT_NO_THROW(ok = Salva_impostazioni(&error));
    EXPECT_FALSE(ok);
    // The store's own reason, not the fixed English text of the settings procedures.
    QString motivo;
    platform::MemorySettingsStore rifiuta;
    rifiuta.setFailWrites(true);
    rifiuta.setValue("A", "B", "C", &motivo);
    EXPECT_EQ(error.toStdString(), motivo.toStdString());
    EXPECT_TRUE(store.writes.isEmpty());

    // One setting written alone (a window's check box, the daylight-saving
    // answer): the options could not be saved, and the store's reason, not
    // the procedure's fixed English text.
    try {
        put("Download", "Verifica connessione", "0");
        ADD_FAILURE() << "a refused write reported success";
    } catch (const mReg::RegistryError& e) {
        EXPECT_EQ(Testo_Impostazioni_Non_Salvate(e).toStdString(),
                  (mLang::Testo_Lingua("MDIForm1", "opzioninonsalvate") + "\r\n" + motivo).toStdString());
    }
}

TEST(SettingsFileTest, OneSaveWritesTheSettingsFileOnceAndWhole)
{
    // File > Save settings on a new profile: the 151 keys go into the file
    // in one write, not one write (and one temporary file) a key.
    QTemporaryDir dir;
    const QString path = dir.filePath("Astrovela/Astrovela.conf");
    platform::IniSettingsStore ini(path);
    platform::Services s;
    s.settings = &ini;
    platform::ScopedServices scoped(s);
    Leggi_impostazioni();
    ASSERT_TRUE(QDir().mkpath(dir.filePath("Astrovela")));
    SostituzioniFile scritture(path);
    ASSERT_TRUE(scritture.attivo());
    QString error;
    ASSERT_TRUE(Salva_impostazioni(&error)) << error.toStdString();
    EXPECT_EQ(scritture.conta(), 1);
    int chiavi = 0;
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    for (const QByteArray& riga : f.readAll().split('\n'))
        chiavi += riga.contains('=') ? 1 : 0;
    EXPECT_EQ(chiavi, 151);

    // Saved again with one option changed: one write more.
    gintFormatoOra = gintFormatoOra == 3 ? 4 : 3;
    ASSERT_TRUE(Salva_impostazioni(&error)) << error.toStdString();
    EXPECT_EQ(scritture.conta(), 2);
    EXPECT_EQ(platform::IniSettingsStore(path).value("Generali", "Formato ora").value_or("").toStdString(),
              std::to_string(gintFormatoOra));
    Impostazioni_default();
}

} // namespace

TEST_F(SettingsTest, PassMapGridTypeKeepsItsTableForm)
{
    // -1 the altitude-azimuth grid, 0 the equatorial one, anything else no
    // grid: the value is kept as written, not read as yes or no.
    Leggi_impostazioni();
    EXPECT_EQ(gblnAnteprimaGrigliaTipo, -1);
    put("Cielo anteprima", "Griglia tipo", "2");
    Leggi_impostazioni();
    EXPECT_EQ(gblnAnteprimaGrigliaTipo, 2);
    ASSERT_TRUE(Salva_impostazioni());
    EXPECT_EQ(store.text("Cielo anteprima", "Griglia tipo"), "2");
    put("Cielo anteprima", "Griglia tipo", "0");
    Leggi_impostazioni();
    EXPECT_EQ(gblnAnteprimaGrigliaTipo, 0);
}
