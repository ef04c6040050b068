#include "core/settings.h"

#include "core/mlang.h"
#include "core/mreg.h"
#include "platform/vb.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <variant>
#include <vector>

// ---------------------------------------------------------------- the globals
// Zero or empty until Leggi_impostazioni runs at start-up.

QString gstrLocalita;
float gsngLatitudine = 0;
float gsngLongitudine = 0;
float gsngQuota = 0;
float gsngFusoOrario = 0;
std::uint8_t gbytOraLegale = 0;

QString gstrDatabasePrimario;

int gintPropagatore = 3;
bool gblnRifrazione = false;
bool gblnMagnitudineLambert = false;
int gintSogliaSole = 0;

bool gblnMappaGriglia = false;
bool gblnMappaCitta = false;
bool gblnMappaCerchio = false;
bool gblnMappaOrbita = false;
bool gblnMappaMouseDati = false;
bool gblnMappaLocalizzatore = false;
bool gblnMappaRiquadroDati = false;
bool gblnMappaSole = false;
bool gblnMappaOmbra = false;

bool gblnLocaleGriglia = false;
bool gblnLocaleGriglia10 = false;
int gblnLocaleGrigliaTipo = 0;
bool gblnLocaleCostellazioniLinee = false;
bool gblnLocalePianeti = false;
bool gblnLocaleSoleLuna = false;
bool gblnLocaleCostellazioniNomi = false;
bool gblnLocalePianetiNomi = false;
bool gblnLocaleSoleLunaNomi = false;
int gintLocaleStelle = 0;
int gblnLocaleProiezioneStereo = 0;
int gintLocaleOrientamento = 0;
bool gblnLocaleCoordinateAltazimutali = false;
bool gblnLocaleEffettoOrizzonte = false;
bool gblnLocalePaesaggio = false;
bool gblnLocaleRiquadroDati = false;

bool gblnGeneraleGriglia = false;
bool gblnGeneraleCostellazioniLinee = false;
bool gblnGeneralePianeti = false;
bool gblnGeneraleSoleLuna = false;
bool gblnGeneraleCostellazioniNomi = false;
bool gblnGeneralePianetiNomi = false;
bool gblnGeneraleSoleLunaNomi = false;
int gintGeneraleStelle = 0;

bool gblnAnteprimaGriglia = false;
bool gblnAnteprimaGriglia10 = false;
int gblnAnteprimaGrigliaTipo = 0;
bool gblnAnteprimaCostellazioniLinee = false;
bool gblnAnteprimaPianeti = false;
bool gblnAnteprimaSoleLuna = false;
bool gblnAnteprimaCostellazioniNomi = false;
bool gblnAnteprimaPianetiNomi = false;
bool gblnAnteprimaSoleLunaNomi = false;
int gintAnteprimaStelle = 0;
bool gblnAnteprimaProiezioneStereo = false;
int gintAnteprimaOrientamento = 0;
bool gblnAnteprimaEffettoOrizzonte = false;
bool gblnAnteprimaPaesaggio = false;

bool gblnInTransito = false;
std::array<bool, 3> gblnFiltroAM{};
std::array<bool, 3> gblnFiltroPM{};
std::array<bool, 3> gblnSoloVisibili{};
std::array<double, 3> gdblAltezzaMin{};
std::array<double, 3> gdblAzimuthMin{};
std::array<double, 3> gdblAzimuthMax{};

bool gblnBarraPulsanti = false;
bool gblnBarraStato = false;
bool gblnConfermaUscita = false;
int gintUnita = 0;
int gintFormatoOra = 0;
bool gblnVerificaOpzioni = false;
bool gblnPosizioniFinestre = false;
bool gblnVerificaOraLegale = false;
QString gstrFileLingua;

std::array<QString, 10> gstrServerNTP;
std::array<QString, 31> gstrRemoto;

std::int32_t glngColoreGrigliaMappamondo = 0;
std::int32_t glngColoreGrigliaLocale1 = 0;
std::int32_t glngColoreGrigliaLocale2 = 0;
std::int32_t glngColoreGrigliaLocale3 = 0;
std::int32_t glngColoreGrigliaLocale4 = 0;
std::int32_t glngColoreGrigliaGenerale = 0;
std::int32_t glngColoreNomeCitta = 0;
std::int32_t glngColoreSatellite = 0;
std::int32_t glngColoreOrbita1 = 0;
std::int32_t glngColoreOrbita2 = 0;
std::int32_t glngColoreCostellazioniLinee = 0;
std::int32_t glngColoreCostellazioniNomi = 0;

std::array<int, 10> gintCanale{};

QString gstrEseguiProgramma;
QString gstrEseguiParametri;

// ---------------------------------------------------------------- the table

namespace {

const QString kApp = QStringLiteral("Astrovela");

// How a key's text is kept and what it becomes in memory.
enum class Form {
    Text,        // the text itself
    Flag,        // "-1" true, "0" false
    Integer,     // decimal, 16-bit signed
    Channel,     // decimal 1 to 10: a radio channel, the index of one of ten frequencies
    Colour,      // decimal R + 256 G + 65536 B, 32-bit signed
    Double,      // decimal, 64-bit float
    Single,      // decimal, 32-bit float
    Leading,     // 32-bit float by the leading-number reading (time-zone offset)
    Thousandths, // decimal thousandths of a degree, in memory degrees as a 32-bit float
    Byte,        // decimal 0 to 255
};

// Which record a key belongs to: the observer, the other settings, or none
// (keys kept by single windows, not read at start-up).
enum class Record { Observer, Settings, None };

using Target = std::variant<std::monostate, QString*, bool*, int*, double*, float*, std::uint8_t*>;
using Value = std::variant<QString, bool, int, double, float, std::uint8_t>;

struct Row {
    QString section;
    QString key;
    QString def;
    Form form;
    Target global;
    Record record;
    // The values the program knows (a choice among several): a number read
    // outside them is taken as the nearest, as the options dialog would show
    // and save it.
    int minimo = std::numeric_limits<int>::min();
    int massimo = std::numeric_limits<int>::max();
};

// Public time servers that answer the TIME protocol (port 37).
const char* const kTimeServers[10] = {
    "time.nist.gov",       "time-a-g.nist.gov",   "time-b-g.nist.gov", "time-c-g.nist.gov",
    "time-d-g.nist.gov",   "time-a-wwv.nist.gov", "time-b-wwv.nist.gov", "time-c-wwv.nist.gov",
    "time-d-wwv.nist.gov", "utcnist.colorado.edu"};

const QString kElementHost = QStringLiteral("celestrak.org");
const char* const kRemoteFiles[31] = {
    "visual",  "tle-new", "stations", "weather",     "noaa",       "goes",      "resource", "sarsat",
    "tdrss",   "geo",     "intelsat", "gorizont",    "raduga",     "molniya",   "iridium",  "orbcomm",
    "globalstar", "amateur", "x-comm", "other-comm", "gps-ops",    "glo-ops",   "nnss",     "musson",
    "science", "geodetic", "engineering", "education", "radar",    "military",  "other"};

std::vector<Row> buildTable()
{
    std::vector<Row> t;
    t.reserve(165);
    auto add = [&t](const char* section, const QString& key, const QString& def, Form form,
                    Target global, Record record = Record::Settings) {
        t.push_back(Row{QString::fromUtf8(section), key, def, form, global, record});
    };
    // The last key added takes only the values minimo to massimo.
    auto limiti = [&t](int minimo, int massimo) {
        t.back().minimo = minimo;
        t.back().massimo = massimo;
    };
    auto flag = [&add](const char* section, const char* key, bool on, bool* global) {
        add(section, QString::fromUtf8(key), on ? QStringLiteral("-1") : QStringLiteral("0"),
            Form::Flag, global);
    };
    auto integer = [&add](const char* section, const char* key, const char* def, int* global) {
        add(section, QString::fromUtf8(key), QString::fromUtf8(def), Form::Integer, global);
    };
    auto colour = [&add](const char* key, const char* def, std::int32_t* global) {
        add("Colori", QString::fromUtf8(key), QString::fromUtf8(def), Form::Colour, global);
    };

    // Osservatore
    const Record obs = Record::Observer;
    add("Osservatore", "Localita", "Italy: Milan", Form::Text, &gstrLocalita, obs);
    add("Osservatore", "Latitudine", "45483.1", Form::Thousandths, &gsngLatitudine, obs);
    add("Osservatore", "Longitudine", "9199.7", Form::Thousandths, &gsngLongitudine, obs);
    add("Osservatore", "Quota", "133", Form::Single, &gsngQuota, obs);
    add("Osservatore", "Fuso", "1", Form::Leading, &gsngFusoOrario, obs);
    add("Osservatore", "Ora legale", "0", Form::Byte, &gbytOraLegale, obs);
    limiti(0, 1);   // hours added to the zone: daylight saving is in force or not

    // Database
    add("Database", "Primario", "", Form::Text, &gstrDatabasePrimario);

    // Satelliti
    // "SGP4 + SDP4": the near-earth model alone puts every satellite of a
    // period of 225 minutes or more (geostationary, twelve-hour, highly
    // eccentric orbits) tens to thousands of km from where it is.
    integer("Satelliti", "Propagatore", "3", &gintPropagatore);
    limiti(0, 3);   // a number of no model would compute no satellite
    flag("Satelliti", "Rifrazione", false, &gblnRifrazione);
    flag("Satelliti", "Magnitudine", false, &gblnMagnitudineLambert);
    integer("Satelliti", "Soglia", "-10", &gintSogliaSole);

    // Mappamondo
    flag("Mappamondo", "Griglia", true, &gblnMappaGriglia);
    flag("Mappamondo", "Citta", true, &gblnMappaCitta);
    flag("Mappamondo", "Cerchio", true, &gblnMappaCerchio);
    flag("Mappamondo", "Orbita", true, &gblnMappaOrbita);
    flag("Mappamondo", "Mouse dati", true, &gblnMappaMouseDati);
    flag("Mappamondo", "Localizzatore", false, &gblnMappaLocalizzatore);
    flag("Mappamondo", "Riquadro dati", true, &gblnMappaRiquadroDati);
    flag("Mappamondo", "Sole", true, &gblnMappaSole);
    flag("Mappamondo", "Ombra", true, &gblnMappaOmbra);

    // Cielo locale
    const char* L = "Cielo locale";
    flag(L, "Griglia", false, &gblnLocaleGriglia);
    flag(L, "Griglia 10", true, &gblnLocaleGriglia10);
    // Kept as stored: a value other than -1 and 0 means something else again.
    integer(L, "Griglia tipo", "-1", &gblnLocaleGrigliaTipo);
    flag(L, "Costellazioni linee", false, &gblnLocaleCostellazioniLinee);
    flag(L, "Pianeti", true, &gblnLocalePianeti);
    flag(L, "Sole luna", true, &gblnLocaleSoleLuna);
    flag(L, "Costellazioni nomi", false, &gblnLocaleCostellazioniNomi);
    flag(L, "Pianeti nomi", true, &gblnLocalePianetiNomi);
    flag(L, "Sole luna nomi", false, &gblnLocaleSoleLunaNomi);
    integer(L, "Stelle", "1639", &gintLocaleStelle);
    integer(L, "Proiezione stereo", "-1", &gblnLocaleProiezioneStereo);
    integer(L, "Orientamento", "1", &gintLocaleOrientamento);
    limiti(0, 3);
    flag(L, "Coordinate altazimutali", true, &gblnLocaleCoordinateAltazimutali);
    flag(L, "Effetto orizzonte", true, &gblnLocaleEffettoOrizzonte);
    flag(L, "Paesaggio", true, &gblnLocalePaesaggio);
    flag(L, "Riquadro dati", true, &gblnLocaleRiquadroDati);

    // Cielo generale
    const char* G = "Cielo generale";
    flag(G, "Griglia", false, &gblnGeneraleGriglia);
    flag(G, "Costellazioni linee", false, &gblnGeneraleCostellazioniLinee);
    flag(G, "Pianeti", true, &gblnGeneralePianeti);
    flag(G, "Sole luna", true, &gblnGeneraleSoleLuna);
    flag(G, "Costellazioni nomi", false, &gblnGeneraleCostellazioniNomi);
    flag(G, "Pianeti nomi", true, &gblnGeneralePianetiNomi);
    flag(G, "Sole luna nomi", false, &gblnGeneraleSoleLunaNomi);
    integer(G, "Stelle", "5146", &gintGeneraleStelle);

    // Cielo anteprima
    const char* A = "Cielo anteprima";
    flag(A, "Griglia", false, &gblnAnteprimaGriglia);
    flag(A, "Griglia 10", true, &gblnAnteprimaGriglia10);
    integer(A, "Griglia tipo", "-1", &gblnAnteprimaGrigliaTipo); // kept as written: other values draw no grid
    flag(A, "Costellazioni linee", false, &gblnAnteprimaCostellazioniLinee);
    flag(A, "Pianeti", true, &gblnAnteprimaPianeti);
    flag(A, "Sole luna", true, &gblnAnteprimaSoleLuna);
    flag(A, "Costellazioni nomi", false, &gblnAnteprimaCostellazioniNomi);
    flag(A, "Pianeti nomi", true, &gblnAnteprimaPianetiNomi);
    flag(A, "Sole luna nomi", false, &gblnAnteprimaSoleLunaNomi);
    integer(A, "Stelle", "1639", &gintAnteprimaStelle);
    flag(A, "Proiezione stereo", false, &gblnAnteprimaProiezioneStereo);
    integer(A, "Orientamento", "1", &gintAnteprimaOrientamento);
    limiti(0, 3);
    flag(A, "Effetto orizzonte", true, &gblnAnteprimaEffettoOrizzonte);
    flag(A, "Paesaggio", true, &gblnAnteprimaPaesaggio);

    // Filtri: "In transito", then each filter for the three prediction groups.
    flag("Filtri", "In transito", true, &gblnInTransito);
    const char* groups[3] = {"tutti", "principale", "secondari"};
    for (int g = 0; g < 3; ++g)
        add("Filtri", QStringLiteral("AM %1").arg(QLatin1String(groups[g])), "-1", Form::Flag,
            &gblnFiltroAM[g]);
    for (int g = 0; g < 3; ++g)
        add("Filtri", QStringLiteral("PM %1").arg(QLatin1String(groups[g])), "-1", Form::Flag,
            &gblnFiltroPM[g]);
    for (int g = 0; g < 3; ++g)
        add("Filtri", QStringLiteral("Solo visibili %1").arg(QLatin1String(groups[g])), "0",
            Form::Flag, &gblnSoloVisibili[g]);
    for (int g = 0; g < 3; ++g)
        add("Filtri", QStringLiteral("Altezza min %1").arg(QLatin1String(groups[g])), "10",
            Form::Double, &gdblAltezzaMin[g]);
    for (int g = 0; g < 3; ++g)
        add("Filtri", QStringLiteral("Azimuth min %1").arg(QLatin1String(groups[g])), "0",
            Form::Double, &gdblAzimuthMin[g]);
    for (int g = 0; g < 3; ++g)
        add("Filtri", QStringLiteral("Azimuth max %1").arg(QLatin1String(groups[g])), "360",
            Form::Double, &gdblAzimuthMax[g]);

    // Generali (the language file comes last of all)
    flag("Generali", "Barra pulsanti", true, &gblnBarraPulsanti);
    flag("Generali", "Barra stato", true, &gblnBarraStato);
    flag("Generali", "Conferma uscita", false, &gblnConfermaUscita);
    integer("Generali", "Unita", "0", &gintUnita);
    integer("Generali", "Formato ora", "0", &gintFormatoOra);
    limiti(0, 9);   // the status bar's ten date formats
    flag("Generali", "Verifica opzioni", true, &gblnVerificaOpzioni);
    flag("Generali", "Posizioni finestre", false, &gblnPosizioniFinestre);
    flag("Generali", "Verifica ora legale", true, &gblnVerificaOraLegale);

    // ServerNTP, Download
    for (int i = 0; i < 10; ++i)
        add("ServerNTP", QStringLiteral("Server%1").arg(i), QString::fromUtf8(kTimeServers[i]),
            Form::Text, &gstrServerNTP[i]);
    for (int i = 0; i < 31; ++i)
        add("Download", QStringLiteral("Remoto%1").arg(i),
            kElementHost + QStringLiteral("/NORAD/elements/") +
                QString::fromUtf8(kRemoteFiles[i]) + QStringLiteral(".txt"),
            Form::Text, &gstrRemoto[i]);

    // Colori
    colour("Griglia mappamondo", "8553090", &glngColoreGrigliaMappamondo);
    colour("Griglia locale1", "9211020", &glngColoreGrigliaLocale1);
    colour("Griglia locale2", "7895160", &glngColoreGrigliaLocale2);
    colour("Griglia locale3", "7895160", &glngColoreGrigliaLocale3);
    colour("Griglia locale4", "6579300", &glngColoreGrigliaLocale4);
    colour("Griglia generale", "6579300", &glngColoreGrigliaGenerale);
    colour("Nome citta", "16777215", &glngColoreNomeCitta);
    colour("Satellite", "65535", &glngColoreSatellite);
    colour("Orbita1", "255", &glngColoreOrbita1);
    colour("Orbita2", "65280", &glngColoreOrbita2);
    colour("Costellazioni linee", "10789888", &glngColoreCostellazioniLinee);
    colour("Costellazioni nomi", "255", &glngColoreCostellazioniNomi);

    // Radio
    for (int i = 0; i < 10; ++i)
        add("Radio", QStringLiteral("Canale%1").arg(i + 1), "1", Form::Channel, &gintCanale[i]);

    // Esegui
    add("Esegui", "Programma", "", Form::Text, &gstrEseguiProgramma);
    add("Esegui", "Parametri", "", Form::Text, &gstrEseguiParametri);

    add("Generali", "Lingua", "", Form::Text, &gstrFileLingua);

    // Kept by single windows, not read at start-up: placements of the map and
    // sky windows (twips) and the connection tests of clock setting and download.
    for (const char* section : {"Mappamondo", "Cielo locale", "Cielo generale"}) {
        add(section, "Window_Left", "0", Form::Single, {}, Record::None);
        add(section, "Window_Top", "0", Form::Single, {}, Record::None);
        add(section, "Window_Width", "10665", Form::Single, {}, Record::None);
        add(section, "Window_Height", "6870", Form::Single, {}, Record::None);
    }
    add("ServerNTP", "Verifica connessione", "-1", Form::Flag, {}, Record::None);
    add("Download", "Verifica connessione", "-1", Form::Flag, {}, Record::None);
    return t;
}

const std::vector<Row>& table()
{
    static const std::vector<Row> t = buildTable();
    return t;
}

// ---------------------------------------------------------------- number texts

// The whole text, blanks around it allowed, as a number with "." as the
// decimal point. Stored numbers are always written that way; a text in the
// user's own number format (typed into the file by hand) is accepted too.
std::optional<double> strictNumber(const QString& text)
{
    if (const std::optional<double> v = vb::StrictValue(text))
        return v;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double v = QLocale::system().toDouble(trimmed, &ok);
    if (ok && std::isfinite(v))
        return v;
    return std::nullopt;
}

// A whole number in [lo, hi], rounded half to even as the settings were
// always converted; nothing when the text is not a number or out of range.
std::optional<qint64> wholeNumber(const QString& text, qint64 lo, qint64 hi)
{
    const std::optional<double> v = strictNumber(text);
    if (!v)
        return std::nullopt;
    const double r = std::nearbyint(*v); // default rounding: half to even
    if (r < double(lo) || r > double(hi))
        return std::nullopt;
    return static_cast<qint64>(r);
}

// Shortest plain decimal text of a number that reads back as the same
// number (never an exponent form such as "1e+05": the settings hold decimals).
template <typename T>
QString decimal(T v)
{
    char buf[512];
    std::to_chars_result r;
    if constexpr (std::is_floating_point_v<T>)
        r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    else
        r = std::to_chars(buf, buf + sizeof buf, v);
    if (r.ec != std::errc())
        return QString::number(double(v), 'g', 17);
    return QString::fromLatin1(buf, r.ptr - buf);
}

// The angle in thousandths of a degree, written with as few decimals as
// reading it back to the same 32-bit value in degrees needs.
QString thousandths(float degrees)
{
    const double v = double(degrees) * 1000.0;
    for (int decimals = 0; decimals <= 9; ++decimals) {
        char buf[512];
        const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
        if (r.ec != std::errc())
            break;
        double back = 0;
        std::from_chars(buf, r.ptr, back);
        if (static_cast<float>(back / 1000.0) == degrees)
            return QString::fromLatin1(buf, r.ptr - buf);
    }
    return decimal(v);
}

// ---------------------------------------------------------------- conversions

// The stored text converted by the key's form; nothing when it cannot be.
std::optional<Value> parse(Form form, const QString& text)
{
    switch (form) {
    case Form::Text:
        return Value(text);
    case Form::Flag: {
        const QString t = text.trimmed();
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return Value(true);
        if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return Value(false);
        const std::optional<double> v = strictNumber(text);
        if (!v)
            return std::nullopt;
        return Value(*v != 0);
    }
    case Form::Integer:
        if (const auto v = wholeNumber(text, -32768, 32767))
            return Value(int(*v));
        return std::nullopt;
    case Form::Channel:
        if (const auto v = wholeNumber(text, 1, 10))
            return Value(int(*v));
        return std::nullopt;
    case Form::Colour:
        if (const auto v = wholeNumber(text, std::numeric_limits<std::int32_t>::min(),
                                       std::numeric_limits<std::int32_t>::max()))
            return Value(int(*v));
        return std::nullopt;
    case Form::Byte:
        if (const auto v = wholeNumber(text, 0, 255))
            return Value(std::uint8_t(*v));
        return std::nullopt;
    case Form::Double:
        if (const auto v = strictNumber(text))
            return Value(*v);
        return std::nullopt;
    case Form::Single:
    case Form::Thousandths: {
        std::optional<double> v = strictNumber(text);
        if (!v)
            return std::nullopt;
        if (form == Form::Thousandths)
            *v /= 1000.0;
        if (std::fabs(*v) > std::numeric_limits<float>::max())
            return std::nullopt;
        return Value(float(*v));
    }
    case Form::Leading: {
        const double v = vb::Val(text);
        if (!(std::fabs(v) <= std::numeric_limits<float>::max()))
            return std::nullopt; // too large for its form: the default
        return Value(float(v));
    }
    }
    return std::nullopt;
}

QString format(Form form, const Value& value)
{
    return std::visit(
        [form](const auto& v) -> QString {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, QString>)
                return v;
            else if constexpr (std::is_same_v<T, bool>)
                return v ? QStringLiteral("-1") : QStringLiteral("0");
            else if constexpr (std::is_same_v<T, float>)
                return form == Form::Thousandths ? thousandths(v) : decimal(v);
            else if constexpr (std::is_same_v<T, std::uint8_t>)
                return QString::number(int(v));
            else
                return decimal(v);
        },
        value);
}

Value current(const Row& row)
{
    return std::visit(
        [](auto p) -> Value {
            if constexpr (std::is_same_v<decltype(p), std::monostate>)
                return Value(QString());
            else
                return Value(*p);
        },
        row.global);
}

void assign(const Row& row, const Value& value)
{
    std::visit(
        [&value](auto p) {
            if constexpr (!std::is_same_v<decltype(p), std::monostate>) {
                using T = std::remove_pointer_t<decltype(p)>;
                if (const T* v = std::get_if<T>(&value))
                    *p = *v;
            }
        },
        row.global);
}

bool readAtStart(const Row& row)
{
    return row.record != Record::None;
}

// The snapshots of the observer and settings records taken by Leggi_impostazioni.
std::vector<Value> gudtOsservatoreLetto;
std::vector<Value> gudtImpostazioniLette;

std::vector<Value> snapshot(Record record)
{
    std::vector<Value> values;
    for (const Row& row : table())
        if (row.record == record)
            values.push_back(current(row));
    return values;
}

} // namespace

void Leggi_impostazioni()
{
    for (const Row& row : table()) {
        if (!readAtStart(row))
            continue;
        QString text;
        try {
            text = mReg::Leggi_Impostazione(kApp, row.section, row.key, row.def);
        } catch (const mReg::RegistryError&) {
            text = row.def;
        }
        std::optional<Value> v = parse(row.form, text);
        if (!v)
            v = parse(row.form, row.def); // unreadable text: the key's default
        if (int* n = std::get_if<int>(&*v))
            *n = std::clamp(*n, row.minimo, row.massimo);
        else if (std::uint8_t* b = std::get_if<std::uint8_t>(&*v))
            *b = std::uint8_t(std::clamp(int(*b), row.minimo, row.massimo));
        assign(row, *v);
    }
    gudtOsservatoreLetto = snapshot(Record::Observer);
    gudtImpostazioniLette = snapshot(Record::Settings);
}

void Impostazioni_default()
{
    for (const Row& row : table()) {
        if (row.record != Record::Settings)
            continue;
        if (row.global == Target(&gstrDatabasePrimario) || row.global == Target(&gstrFileLingua))
            continue;
        assign(row, *parse(row.form, row.def));
    }
}

bool Salva_impostazioni(QString* error)
{
    // Every key at once: the settings file is written one time, whole.
    QList<mReg::Impostazione> valori;
    for (const Row& row : table())
        if (readAtStart(row))
            valori.append({row.section, row.key, format(row.form, current(row))});
    try {
        mReg::Salva_Impostazioni(kApp, valori);
    } catch (const mReg::RegistryError& e) {
        // What the store says names its file and the system's reason.
        if (error)
            *error = e.detail().isEmpty() ? e.text() : e.detail();
        return false;
    }
    // What is stored now is what the changed-settings test compares with.
    gudtOsservatoreLetto = snapshot(Record::Observer);
    gudtImpostazioniLette = snapshot(Record::Settings);
    return true;
}

QString Testo_Impostazioni_Non_Salvate(const mReg::RegistryError& e)
{
    return mLang::Testo_Lingua(QStringLiteral("MDIForm1"), QStringLiteral("opzioninonsalvate")) + QStringLiteral("\r\n")
        + (e.detail().isEmpty() ? e.text() : e.detail());
}

bool Impostazioni_modificate()
{
    // Before the first reading there is nothing to compare with.
    if (gudtOsservatoreLetto.empty() && gudtImpostazioniLette.empty())
        return false;
    if (snapshot(Record::Observer) != gudtOsservatoreLetto)
        return true;
    std::vector<Value> now = snapshot(Record::Settings);
    std::vector<Value> read = gudtImpostazioniLette;
    // The language file is chosen by the language picker, not an option.
    now.pop_back();
    read.pop_back();
    return now != read;
}

void Impostazione_Salvata(const QString& section, const QString& key)
{
    // The key's place among the rows of its record, as snapshot() lists them.
    std::size_t osservatore = 0, impostazioni = 0;
    for (const Row& row : table()) {
        std::vector<Value>* istantanea = nullptr;
        std::size_t* indice = nullptr;
        if (row.record == Record::Observer) {
            istantanea = &gudtOsservatoreLetto;
            indice = &osservatore;
        } else if (row.record == Record::Settings) {
            istantanea = &gudtImpostazioniLette;
            indice = &impostazioni;
        } else {
            continue;
        }
        if (row.section == section && row.key == key) {
            if (*indice < istantanea->size())
                (*istantanea)[*indice] = current(row);
            return;
        }
        ++*indice;
    }
}

QString Default_Impostazione(const QString& section, const QString& key)
{
    for (const Row& row : table())
        if (row.section == section && row.key == key)
            return row.def;
    return {};
}
