#include "core/startup.h"

#include "core/clock.h"
#include "core/mlang.h"
#include "core/mreg.h"
#include "core/settings.h"
#include "core/working_list.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/settings_store.h"
#include "platform/single_instance.h"
#include "platform/time_zone_info.h"
#include "platform/vb.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cmath>

namespace core {

namespace {

const QString kApp = QStringLiteral("Astrovela");
const QString kListaLavoro = QStringLiteral("Astrovela.ini");
const QString kCitta = QStringLiteral("cities.dat");
const QString kFine = QStringLiteral("\r\n");

QString leggi(const QString& section, const QString& key)
{
    try {
        return mReg::Leggi_Impostazione(kApp, section, key, QString());
    } catch (const mReg::RegistryError&) {
        return {};
    }
}

} // namespace

QString Titolo_Finestra()
{
    return kApp + QLatin1Char(' ') + QString::number(kVersioneMaggiore) + QLatin1Char('.')
        + QString::number(kVersioneMinore);
}

QString Versione_Completa()
{
    return QString::number(kVersioneMaggiore) + QLatin1Char('.') + QString::number(kVersioneMinore)
        + QLatin1Char('.') + QString::number(kVersioneRevisione);
}

const QStringList& File_Fissi()
{
    static const QStringList files = {
        "MapEarth.dat", "Map0.dat", "Map0N45.dat", "Map0S45.dat", "Map90.dat", "Map90N45.dat",
        "Map90S45.dat", "Map180.dat", "Map180N45.dat", "Map180S45.dat", "Map270.dat",
        "Map270N45.dat", "Map270S45.dat", "MapNorth.dat", "MapSouth.dat", "stars.bin",
        "cities.dat", "clines.dat", "cnames.dat", "planets.dat", "frequen.dat",
    };
    return files;
}

QString Cartella_Dati_Utente()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dir.isEmpty())
        dir = QDir::homePath() + QStringLiteral("/.local/share/Astrovela");
    QDir().mkpath(dir);
    return dir;
}

CartellaProgramma Trova_Cartella_Programma(const QString& cartellaEseguibile,
                                           const QString& datiInstallati)
{
    const QString propria = QDir::cleanPath(cartellaEseguibile);
    const QString installata = QDir::cleanPath(QDir(propria).filePath(datiInstallati));
    CartellaProgramma r;
    for (const QString& cartella : {propria, installata}) {
        if (r.cercate.contains(cartella))
            continue;
        r.cercate.append(cartella);
        bool propri = !File_Lingua(cartella).isEmpty();
        for (const QString& f : File_Fissi())
            propri = propri || QFileInfo(QDir(cartella).filePath(f)).isFile();
        if (propri) {
            r.scelta = cartella;
            return r;
        }
    }
    r.scelta = propria;
    return r;
}

QString Trova_File(const QString& folder, const QString& name)
{
    // Only a file name inside the folder: a setting holding a path
    // ("../../etc/passwd", "/tmp/x.ini") names no file of it.
    if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\') || name == QLatin1String(".")
        || name == QLatin1String(".."))
        return {};
    if (QFileInfo(QDir(folder).filePath(name)).isFile())
        return name;
    const QStringList all = QDir(folder).entryList(QDir::Files);
    for (const QString& f : all)
        if (f.compare(name, Qt::CaseInsensitive) == 0)
            return f;
    return {};
}

QStringList File_Lingua(const QString& folder)
{
    QStringList out;
    const QStringList all = QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& f : all) {
        if (!f.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive))
            continue;
        if (f.compare(kListaLavoro, Qt::CaseInsensitive) == 0 || out.contains(f))
            continue;
        out.append(f);
    }
    return out;
}

bool Prepara_File_Utente(const QString& name, const QString& programFolder,
                         const QString& userFolder, bool creaVuoto, QString* errore)
{
    if (errore)
        errore->clear();
    const QString dest = QDir(userFolder).filePath(name);
    if (QFileInfo::exists(dest))
        return true;
    // A folder that cannot be made (a read-only home) is the reason, not
    // the file missing from it.
    if (!vb::makeFolder(userFolder, errore))
        return false;
    const QString orig = QDir(programFolder).filePath(name);
    if (QFileInfo(orig).isFile()) {
        // Written whole or not at all (a full disk leaves no half list), and
        // the user's own copy, writable also when the program's is not.
        const std::optional<QByteArray> testo = vb::readFileBytes(orig, vb::kMaxTextFileBytes, errore);
        return testo && vb::writeFileWhole(dest, *testo, errore);
    }
    if (!creaVuoto)
        return false;
    QFile f(dest);
    if (f.open(QIODevice::WriteOnly))
        return true;
    if (errore)
        *errore = vb::systemReason(f.errorString());
    return false;
}

bool MDIForm_Initialize(const Avvio& avvio)
{
    mLang::Imposta_Cartella_Programma(avvio.cartellaProgramma);
    const QString cartella = avvio.cartellaProgramma;
    gstrFileLingua = Trova_File(cartella, leggi("Generali", "Lingua"));
    // The folders looked in, one a line, for the installation messages.
    QString cercate;
    for (const QString& c : avvio.cartelleCercate.isEmpty() ? QStringList{cartella}
                                                            : avvio.cartelleCercate)
        cercate += kFine + QDir::toNativeSeparators(c);

    // Before a language is chosen (a first start), the English text.
    const bool lingua = !gstrFileLingua.isEmpty();
    const auto testo = [](const QString& t, const char* inglese) {
        return t.isEmpty() ? QString::fromUtf8(inglese) : t;
    };
    // A second copy ends here, before it writes anything.
    if (avvio.istanza && !avvio.istanza->tryAcquire()) {
        if (avvio.istanza->heldElsewhere()) {
            platform::MsgBox(testo(lingua ? mLang::Testo_Lingua("MDIForm1", "programmainesecuzione") : QString(),
                                   "Astrovela is already running."),
                             platform::vbInformation);
            return false;
        }
        // No lock could be made (a full or read-only folder): that says
        // nothing of other copies. Told, and the program runs.
        platform::MsgBox(testo(lingua ? mLang::Testo_Lingua("MDIForm1", "bloccononcreato") : QString(),
                               "The lock that keeps a second copy of Astrovela from running could not be "
                               "made; the program runs all the same:")
                             + kFine + QDir::toNativeSeparators(avvio.istanza->lockPath()) + kFine
                             + avvio.istanza->failure(),
                         platform::vbExclamation);
    }

    // Settings that cannot be read (a named pipe, a folder or a file without
    // permission in their place) are said at once, before the language
    // picker asks anything, as the other files of the user are.
    if (const platform::SettingsStore* impostazioni = platform::services().settings) {
        if (const QString motivo = impostazioni->readFailure(); !motivo.isEmpty())
            platform::MsgBox(testo(lingua ? mLang::Testo_Lingua("MDIForm1", "impostazioniilleggibili") : QString(),
                                   "The settings cannot be read, so Astrovela starts with its default settings "
                                   "and keeps none that are chosen in this run:")
                                 + kFine + motivo,
                             platform::vbExclamation);
    }

    if (gstrFileLingua.isEmpty()) {
        try {
            mReg::Salva_Impostazione(kApp, "Generali", "Lingua", QString());
        } catch (const mReg::RegistryError&) {
            // The picker below writes the choice; a store that cannot be
            // written shows up there.
        }
        if (File_Lingua(cartella).isEmpty()) {
            // No language file to take a text from: English, as fixed.
            platform::MsgBox(QStringLiteral("No language file available!") + kFine
                                 + QStringLiteral("Please, check the installation") + kFine + kFine
                                 + QStringLiteral("Folders searched:") + cercate,
                             platform::vbCritical);
            return false;
        }
        if (avvio.scegliLingua)
            avvio.scegliLingua();
        // The choice as the settings keep it; when they could not be written
        // (a full or read-only folder, told by the picker), the choice made
        // for this run.
        const QString scelta = Trova_File(cartella, leggi("Generali", "Lingua"));
        gstrFileLingua = scelta.isEmpty() ? Trova_File(cartella, mLang::Lingua_Non_Salvata()) : scelta;
        if (gstrFileLingua.isEmpty())
            return false;
    }
    gblnLinguaCaricata = false;
    // A language file that gives no texts is named; the built-in English
    // texts are used instead of a window without menus.
    if (const QString senzaTesti = mLang::File_Senza_Testi(); !senzaTesti.isEmpty())
        platform::MsgBox(mLang::Testo_Lingua("MDIForm1", "linguanonvalida") + kFine
                             + QDir::toNativeSeparators(senzaTesti),
                         platform::vbExclamation);
    // Settings read but for lines that are not settings (bytes another
    // program has left in the file, comments added by hand), which the next
    // save leaves out: told once, in the language chosen, with the copy of
    // the file as it was.
    if (platform::SettingsStore* impostazioni = platform::services().settings) {
        if (const QString avviso = impostazioni->keepUnreadLines(); !avviso.isEmpty())
            platform::MsgBox(avviso, platform::vbExclamation);
    }

    // The user's own working list and city list. One that cannot be made (a
    // full or read-only home) is told once the start goes on, with the file
    // and the system's reason.
    QString nonCreati;
    for (const auto& [nome, vuoto] : {std::pair{kListaLavoro, true}, std::pair{kCitta, false}}) {
        QString errore;
        if (!Prepara_File_Utente(nome, cartella, avvio.cartellaUtente, vuoto, &errore) && !errore.isEmpty())
            nonCreati += kFine + kFine + QDir::toNativeSeparators(QDir(avvio.cartellaUtente).filePath(nome))
                + kFine + errore;
    }

    for (const QString& f : File_Fissi()) {
        if (!QFileInfo(QDir(cartella).filePath(f)).isFile()) {
            platform::MsgBox(mLang::Testo_Lingua("MDIform1", "verificainstallazione1") + kFine
                                 + mLang::Testo_Lingua("MDIform1", "verificainstallazione2") + kFine
                                 + kFine + mLang::Testo_Lingua("MDIform1", "filemancante") + u' '
                                 + f + kFine + mLang::Testo_Lingua("MDIform1", "cartellecercate")
                                 + cercate,
                             platform::vbCritical);
            return false;
        }
    }
    if (!nonCreati.isEmpty())
        platform::MsgBox(mLang::Testo_Lingua("MDIForm1", "filenoncreato") + nonCreati, platform::vbExclamation);
    return true;
}

void Risolvi_File_Lingua()
{
    // Settings that could not keep the choice (a full or read-only folder)
    // hold none: the choice made for this run stands.
    if (gstrFileLingua.isEmpty())
        gstrFileLingua = mLang::Lingua_Non_Salvata();
    const QString trovato = Trova_File(mLang::Cartella_Programma(), gstrFileLingua);
    if (!trovato.isEmpty())
        gstrFileLingua = trovato;
}

QString Elenco_Breve(const QStringList& voci, const QString& separatore)
{
    constexpr int kMostrati = 10;
    QStringList mostrati = voci.mid(0, kMostrati);
    if (voci.size() > kMostrati)
        mostrati.append(QStringLiteral("(+%1)").arg(voci.size() - kMostrati));
    return mostrati.join(separatore);
}

void Carica_Lista_Lavoro(const QString& cartellaUtente)
{
    WorkingList& lista = WorkingList::instance();
    const QString file = QDir(cartellaUtente).filePath(kListaLavoro);
    lista.setFile({});
    QStringList errori;
    QString errore;
    QString scartate;
    bool letta = true;
    if (QFileInfo::exists(file) && !lista.Leggi_Ini(file, &errori, &errore, &scartate)) {
        // A file that is there but cannot be read (no permission, a folder
        // in its place) must not be replaced by the list of this run: the
        // list is not saved until the next start finds the file readable.
        letta = false;
        errori.append(mLang::Testo_Lingua("MDIForm1", "listanonletta") + kFine + errore + kFine
                      + mLang::Testo_Lingua("MDIForm1", "listanonsalvera"));
    }
    if (letta)
        lista.setFile(file);
    if (letta && !scartate.isEmpty()) {
        // The lines left out would vanish at the next save: the file as it
        // was read is kept beside it, and the lines added to the file of
        // removed sets. When they cannot be kept the file is not saved over
        // in this run.
        QString motivo;
        if (lista.Conserva_Rimossi(scartate, &motivo)) {
            errori.append(mLang::Testo_Lingua("MDIForm1", "rimossiconservati") + kFine
                          + QDir::toNativeSeparators(lista.File_Rimossi()));
        } else {
            lista.setFile({});
            errori.append(mLang::Testo_Lingua("MDIForm1", "rimossinonconservati") + kFine + motivo + kFine
                          + mLang::Testo_Lingua("MDIForm1", "listanonsalvera"));
        }
    }
    if (!errori.isEmpty()) {
        // One message for the whole file: the reader names the first few
        // problems and counts the rest.
        platform::MsgBox(errori.join(kFine + kFine), platform::vbExclamation);
    }
    static bool collegato = false;
    if (!collegato) {
        collegato = true;
        QObject::connect(&lista, &WorkingList::saveFailed, [](const QString& e) { Avvisa_Lista_Non_Salvata(e); });
    }
}

void Avvisa_Lista_Non_Salvata(const QString& errore)
{
    // "The previous file is kept" only where there is one.
    const bool precedente = QFileInfo(WorkingList::instance().file()).isFile();
    platform::MsgBox(mLang::Testo_Lingua("MDIForm1", precedente ? "listanonsalvata" : "listanonsalvatanuova") + kFine
                         + errore,
                     platform::vbExclamation);
}

bool Salva_Lista_Lavoro()
{
    QString errore;
    if (WorkingList::instance().Salva(&errore))
        return true;
    Avvisa_Lista_Non_Salvata(errore);
    return false;
}

namespace {

// The computer's daylight-saving state (1 summer time, 0 standard time),
// when the computer is set to the observer's own zone; nothing otherwise.
std::optional<int> Ora_Legale_Computer()
{
    platform::TimeZoneInfo* tz = platform::services().timeZone;
    const std::optional<platform::TimeZoneState> stato = tz ? tz->current() : std::nullopt;
    if (!stato)
        return std::nullopt;
    // Only a computer set to the observer's own zone says anything about the
    // observer's summer time: one kept in universal time, or in another
    // country's zone, is no guide (the program's clock takes universal time
    // from it and makes the observer's time with the observer's settings).
    const double fusoComputer = -(stato->biasMinutes + (stato->daylight ? 60.0 : 0.0)) / 60.0;
    if (std::fabs(fusoComputer - double(gsngFusoOrario)) > 0.01)
        return std::nullopt;
    return stato->daylight ? 1 : 0;
}

} // namespace

void Verifica_Ora_Legale()
{
    // One question at a time: the clock goes on under it, and a change of
    // the computer's zone meanwhile is for its answer to take.
    static bool inCorso = false;
    if (inCorso)
        return;
    const std::optional<int> legale = Ora_Legale_Computer();
    if (!legale || *legale == gbytOraLegale)
        return;
    const QString testo = mLang::Testo_Lingua("MDIForm1", "cambiareoralegale1") + kFine
        + mLang::Testo_Lingua("MDIForm1", "cambiareoralegale2");
    int risposta = platform::vbNo;
    {
        FlagGuard domanda(inCorso, true);
        risposta = platform::MsgBox(testo, platform::vbYesNo | platform::vbQuestion);
    }
    if (risposta != platform::vbYes)
        return;
    // The computer's state when the answer is given: left open across the
    // night summer time begins or ends, the question was asked of the state
    // before, and taking that one would show the hour the change skips, or
    // the one it repeats, from now on.
    const std::optional<int> adesso = Ora_Legale_Computer();
    if (!adesso || *adesso == gbytOraLegale)
        return;
    gbytOraLegale = std::uint8_t(*adesso);
    try {
        mReg::Salva_Impostazione(kApp, "Osservatore", "Ora legale", QString::number(*adesso));
        // Stored: nothing to offer for saving at exit.
        Impostazione_Salvata(QStringLiteral("Osservatore"), QStringLiteral("Ora legale"));
    } catch (const mReg::RegistryError& e) {
        platform::MsgBox(Testo_Impostazioni_Non_Salvate(e), platform::vbExclamation);
    }
}

} // namespace core
