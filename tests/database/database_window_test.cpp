// The database window: loading the two element files, sorting, and what a
// load does to the working list.
#include "database_fixture.h"

#include "common/progress_window.h"
#include "common/window_host.h"
#include "database/menu_links.h"
#include "files/file_menu.h"
#include "platform/prompt.h"
#include "support/ordinary_user.h"
#include "shell/main_window.h"
#include "support/x_input.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {

using dbtest::DatabaseWindow;
using dbtest::kSample;

TEST_F(DatabaseWindow, PrincipalLoadFillsListAndStatistics)
{
    frmDatabase* f = caricato();
    EXPECT_EQ(f->righe(0), 34);
    EXPECT_EQ(f->lblCaricati[0]->text(), "34");
    EXPECT_EQ(f->tag(), "34");
    EXPECT_EQ(gstrDatabasePrimario, kSample);
    EXPECT_EQ(f->fraDBPrincipale->title(), kSample);
    EXPECT_EQ(f->lblNumeroMagnitudini[0]->text(), "2");
    EXPECT_TRUE(f->lblRecenti[0]->text().endsWith(" days"));
    // The newest set is the ISS of 26 November 2013 13:57:03, three minutes
    // before the clock; the oldest the 1980 set 11801.
    EXPECT_EQ(f->lblRecenti[0]->text(), "0.0 days");
    EXPECT_EQ(f->lblVecchi[0]->text(), vb::Format(dbtest::kAdesso - 2444468.79629788 /* python3-sgp4 */, u"####0.0") + " days");
    EXPECT_EQ(core::Numero_Voci(gudtDatabasePrimario), 34);
    EXPECT_TRUE(f->isVisible());
    EXPECT_TRUE(pflgSatellite);
    EXPECT_EQ(frmProgress::instance(false), nullptr);
    // No working list: no message.
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
    // Key 0 rows: the name alone, in name order.
    EXPECT_EQ(f->modello[0]->testo(0), "AMC-4");

    // Another sort key rebuilds the list; every row keeps its entry.
    f->cmbOrdina[0]->setCurrentIndex(core::OrdinePeriodo);
    ASSERT_EQ(f->righe(0), 34);
    for (int r = 0; r < 34; ++r)
        EXPECT_EQ(f->modello[0]->testo(r),
                  core::Testo_Riga(gudtDatabasePrimario[size_t(f->modello[0]->voce(r))], core::OrdinePeriodo));
    // The shortest period of the sample: 28350, 87.39 min by python3-sgp4.
    EXPECT_EQ(f->modello[0]->testo(0).toStdString(), "0087.4  COSMOS 2405");

    // Closing only hides: the lists stay.
    f->close();
    EXPECT_EQ(frmDatabase::instance(false), f);
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(f->righe(0), 34);

    // A window made again (another language) shows the file still loaded.
    frmDatabase::Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frmDatabase* g = frmDatabase::instance();
    EXPECT_EQ(g->righe(0), 34);
    EXPECT_EQ(g->lblCaricati[0]->text(), "34");
    EXPECT_EQ(g->fraDBPrincipale->title(), kSample);
    EXPECT_EQ(g->lblCaricati[1]->text(), "0");
}

TEST_F(DatabaseWindow, PrincipalLoadRematchesTheWorkingList)
{
    // Five listed, three of them in the file; the principal is not.
    RigaDati fuori = dbtest::set("00005");
    fuori.Riga0 = "NOT IN FILE";
    fuori.Riga1.replace(2, 5, "29999");
    RigaDati altro = fuori;
    altro.Riga1.replace(2, 5, "29998");
    RigaDati issVecchia = dbtest::set("25544");
    issVecchia.Riga1.replace(18, 14, "13300.00000000");
    elenca({fuori, issVecchia, dbtest::set("00005"), altro, dbtest::set("22674")});
    gudtRigheAttive[kSlotSecondo] = {"KEEP", "1", "2"};

    frmDatabase* f = caricato();
    ASSERT_EQ(fakes.prompt.calls.size(), 2);
    EXPECT_EQ(fakes.prompt.calls[0].text,
              "The database holds 3 of the 5 satellites of the working list.\r\n\r\n"
              "These satellites are not in the file and have left the working list:\r\nNot In File, Not In File");
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbInformation);
    EXPECT_EQ(fakes.prompt.calls[1].text,
              "The principal satellite is not in this file: the first satellite found is now the principal.");
    ASSERT_EQ(gintNumSatelliti, 3);
    EXPECT_EQ(nomiElencati(), (std::vector<std::string>{"ISS (ZARYA)", "SGP4-VER 00005", "SL-6 R/B(2)"}));
    // The ISS takes the file's elements.
    EXPECT_EQ(gudtRigheAttive[1].Riga1, dbtest::set("25544").Riga1);
    EXPECT_EQ(f->lstActive->count(), 3);
    EXPECT_EQ(f->lstActive->item(0)->text(), "ISS (ZARYA)");
    EXPECT_EQ(f->lblNumeroSatellitiAttivi->text(), "3");
    EXPECT_EQ(gudtRigheAttive[kSlotSecondo].Riga0, "KEEP");
}

// A load that ends while the user types in another program: the other
// program keeps every key; what the load has to say (the working list
// matched to the file, or why the file did not load and the open dialog
// for another) waits for the user to come back.
TEST_F(DatabaseWindow, ALoadThatEndsLeavesTheKeyboardWhereTheUserIs)
{
    const QByteArray modo = qgetenv("ASTROVELA_FINE_CARICAMENTO");
    if (modo.isEmpty()) {
        for (auto gestore : {testsupport::Gestore::Nessuno, testsupport::Gestore::Openbox})
            testsupport::Riesegui_Per_Ogni("ASTROVELA_FINE_CARICAMENTO", {"elenco", "guasto"}, gestore);
        return;
    }
    testsupport::InputX x;
    ASSERT_TRUE(x.pronto()) << x.errore().toStdString();
    testsupport::AltroProgramma altro(QPoint(960, 900));
    ASSERT_TRUE(QTest::qWaitFor([&] { return altro.pronto(); }, 20000)) << "the other program did not show";
    platform::QtPrompt scatole;
    platform::Services servizi = fakes.services();
    servizi.prompt = &scatole;
    platform::ScopedServices conScatole(servizi);

    // Long enough for the progress window: the sample many times over, or
    // with its last line cut short.
    const bool guasto = modo == "guasto";
    QByteArray testo;
    for (int i = 0; i < 300; ++i)
        testo += dbtest::leggi(kSample);
    if (guasto)
        testo += dbtest::leggi(kSample).left(500);
    QString p = scrivi(testo);
    RigaDati fuori = dbtest::set("00005");
    fuori.Riga0 = "NOT IN FILE";
    fuori.Riga1.replace(2, 5, "29999");
    elenca({fuori, dbtest::set("25544")});

    MDIForm1 w;
    database::Collega_Finestre(w);
    w.Lingua();
    ASSERT_TRUE(testsupport::Davanti_Con_La_Tastiera(w, {940, 860}));
    frmDatabase* f = frmDatabase::instance();
    common::Mostra_Figlia(f);
    ASSERT_TRUE(QTest::qWaitFor([&] { return f->isVisible() && QApplication::activeWindow() == &w; }, 5000));
    QTest::qWait(300);

    // While the file is read, the user clicks the other program and types.
    bool altrove = false;
    QTimer utente;
    utente.setInterval(0);
    QObject::connect(&utente, &QTimer::timeout, [&] {
        const frmProgress* pr = frmProgress::instance(false);
        if (!pr || !pr->isVisible())
            return;
        utente.stop();
        x.clic(altro.campo());
        if (!QTest::qWaitFor([&] { return altro.attivo() && !QApplication::activeWindow(); }, 5000))
            return;
        for (char c : {'a', 'b'})
            x.premi(static_cast<unsigned long>(c));
        altrove = QTest::qWaitFor([&] { return altro.testo() == "ab"; }, 3000) && frmProgress::instance(false);
    });
    utente.start();
    // A message that comes up meanwhile takes the keys: told, and closed.
    testsupport::MessaggiPresi messaggi;
    messaggi.start();
    EXPECT_EQ(f->Database_satelliti(p), !guasto);
    QTest::qWait(500); // the user goes on typing
    messaggi.stop();
    EXPECT_TRUE(messaggi.preso.isEmpty()) << "a message took the keyboard from the other program: " << messaggi.preso.toStdString();
    ASSERT_TRUE(altrove) << "the other program did not take the keys while the file was read (it has \""
                         << altro.testo().toStdString() << "\")";
    for (char c : {'c', 'd'})
        x.premi(static_cast<unsigned long>(c));
    EXPECT_TRUE(QTest::qWaitFor([&] { return altro.testo() == "abcd"; }, 3000))
        << "the keys typed after the load went elsewhere (the other program has \"" << altro.testo().toStdString()
        << "\")";
    EXPECT_TRUE(altro.attivo());
    EXPECT_EQ(QApplication::activeWindow(), nullptr);
    EXPECT_TRUE(fakes.files.calls.isEmpty()) << "the open dialog came while the user was away";
    EXPECT_EQ(gintNumSatelliti, guasto ? 2 : 1);

    // Back in the program: the messages, in their order, then (a file that
    // did not load) the open dialog for another.
    testsupport::RispostaConUnClic risposte(x);
    x.clic(f->lstActive->mapToGlobal(f->lstActive->rect().center()));
    const qsizetype attesi = guasto ? 1 : 2;
    ASSERT_TRUE(QTest::qWaitFor([&] { return risposte.messaggi.size() >= attesi && !QApplication::activeModalWidget(); },
                                10000))
        << "the load's messages did not come once the user was back (" << risposte.messaggi.size() << " shown)";
    risposte.ferma();
    if (guasto) {
        EXPECT_TRUE(risposte.messaggi[0].startsWith("The file is not in a valid element-set format."))
            << risposte.messaggi[0].toStdString();
        EXPECT_EQ(fakes.files.calls.size(), 1);
    } else {
        ASSERT_EQ(risposte.messaggi.size(), 2);
        EXPECT_TRUE(risposte.messaggi[0].startsWith("The database holds 1 of the 2 satellites of the working list."))
            << risposte.messaggi[0].toStdString();
        EXPECT_EQ(risposte.messaggi[1],
                  "The principal satellite is not in this file: the first satellite found is now the principal.");
        EXPECT_TRUE(fakes.files.calls.isEmpty());
    }
}

TEST_F(DatabaseWindow, FailedLoadsChangeNothing)
{
    elenca({dbtest::set("25544"), dbtest::set("00005")});
    frmDatabase* f = caricato();
    fakes.prompt.calls.clear();
    const auto prima = gudtDatabasePrimario;

    // A truncated file, a file without a set.
    const QByteArray tronco = dbtest::leggi(kSample).left(500);
    for (const QByteArray& testo : {tronco, QByteArray("\r\n")}) {
        fakes.prompt.calls.clear();
        fakes.files.calls.clear();
        QString p = scrivi(testo);
        gstrDatabasePrimario = p; // as the open dialog stores it
        EXPECT_FALSE(f->Database_satelliti(p));
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_TRUE(fakes.prompt.calls[0].text.startsWith("The file is not in a valid element-set format."));
        EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbExclamation);
        // The open dialog comes again (the fake answers Cancel).
        EXPECT_EQ(fakes.files.calls.size(), 1);
        EXPECT_EQ(gudtDatabasePrimario, prima);
        EXPECT_EQ(f->righe(0), 34);
        EXPECT_EQ(f->lblCaricati[0]->text(), "34");
        EXPECT_EQ(gintNumSatelliti, 2);
        EXPECT_EQ(gstrDatabasePrimario, kSample);
        EXPECT_TRUE(pflgSatellite);
        EXPECT_TRUE(f->isVisible());
    }

    // A path that cannot be opened.
    fakes.prompt.calls.clear();
    QString assente = m_dir.filePath("missing.txt");
    EXPECT_FALSE(f->Database_satelliti(assente));
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_TRUE(fakes.prompt.calls[0].text.contains("missing.txt was not found."));
    EXPECT_EQ(f->righe(0), 34);
    EXPECT_EQ(gstrDatabasePrimario, kSample);

    // A file that is there but that the user may not read: the system's
    // reason, never "not found"; the file stays as it was.
    QString chiuso = scrivi(dbtest::leggi(kSample), QStringLiteral("closed.txt"));
    ASSERT_TRUE(QFile::setPermissions(chiuso, {}));
    ASSERT_TRUE(UtenteOrdinario::Passabile(m_dir.path()));
    fakes.prompt.calls.clear();
    {
        UtenteOrdinario utente;
        ASSERT_TRUE(utente.attivo());
        EXPECT_FALSE(f->Database_satelliti(chiuso));
    }
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text.toStdString(),
              ("The file " + chiuso + " could not be read: Permission denied\rPlease choose another element file.")
                  .toStdString());
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbExclamation);
    EXPECT_EQ(f->righe(0), 34);
    EXPECT_EQ(gstrDatabasePrimario, kSample);
    ASSERT_TRUE(QFile::setPermissions(chiuso, QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(dbtest::leggi(chiuso), dbtest::leggi(kSample));
}

TEST_F(DatabaseWindow, ALineMissingOrOutOfPlaceIsNamedWhereItIsAndTheDatabaseStays)
{
    // A line dropped or moved in the middle of a file puts every later set
    // out of step: the load fails at the first line out of place, names it
    // and why, and the database loaded before stays, with or without an
    // empty last line after the damage (which once made the shifted sets
    // load as good ones).
    elenca({dbtest::set("25544"), dbtest::set("00005")});
    frmDatabase* f = caricato();
    const auto prima = gudtDatabasePrimario;
    const auto elencati = nomiElencati();
    const QByteArray campione = dbtest::leggi(kSample);
    QList<QByteArray> righe = campione.split('\n');
    ASSERT_EQ(righe.size(), 103);   // 34 sets, CR LF after each line
    const auto senza = [&](int riga) {
        QList<QByteArray> r = righe;
        r.removeAt(riga - 1);
        return r.join('\n');
    };
    QList<QByteArray> altroSet = righe;
    altroSet[29] = righe[32];   // line 2 of set 11 after line 1 of set 10
    // Format file cannot restore a line: the message does not send the
    // user to it.
    const QString attesa = "The file is not in a valid element-set format.\r\nline %1: %2"
                           "\r\nOpen another element file,\r\nor download this one again, or mend it by hand "
                           "with File > Edit; Tools > Format file cannot mend this one.";
    const auto motivo = [](const char* chiave) { return mLang::Testo_Lingua("frmDatabase", chiave); };
    const struct {
        QByteArray testo;
        QString messaggio;
    } casi[] = {
        {senza(30), attesa.arg(30).arg(motivo("motivoriga2"))},
        {senza(30) + "\r\n", attesa.arg(30).arg(motivo("motivoriga2"))},
        {senza(29), attesa.arg(29).arg(motivo("motivoriga1"))},
        {senza(28) + "\r\n", attesa.arg(28).arg(motivo("motivonome"))},
        {altroSet.join('\n'), attesa.arg(30).arg(motivo("motivocatalogodiverso"))},
    };
    for (const auto& c : casi) {
        fakes.prompt.calls.clear();
        QString p = scrivi(c.testo);
        EXPECT_FALSE(f->Database_satelliti(p));
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_EQ(fakes.prompt.calls[0].text.toStdString(), c.messaggio.toStdString());
        EXPECT_EQ(gudtDatabasePrimario, prima);
        EXPECT_EQ(f->righe(0), 34);
        EXPECT_EQ(f->fraDBPrincipale->title(), kSample);
        EXPECT_EQ(gstrDatabasePrimario, kSample);
        EXPECT_EQ(nomiElencati(), elencati);
    }

    // What Format file does mend it is sent to, and after it the file
    // loads: an element line moved right by blanks, lines of blanks at the
    // end. The line missing stays missing after it: the same refusal.
    const QString riparabile = "The file is not in a valid element-set format.\r\nline %1: %2"
                               "\r\nOpen another element file,\r\nor repair this one with Tools, Format file.";
    QList<QByteArray> spostata = righe;
    spostata[28] = "   " + righe[28];   // line 1 of set 10
    QList<QByteArray> spostata2 = righe;
    spostata2[29] = " " + righe[29];    // its line 2
    const struct {
        QByteArray testo;
        QString messaggio;
        int set;
    } riparabili[] = {
        {spostata.join('\n'), riparabile.arg(29).arg(motivo("motivospazi")), 34},
        {spostata2.join('\n'), riparabile.arg(30).arg(motivo("motivospazi")), 34},
        {campione + "   \r\n", riparabile.arg(103).arg(motivo("motivorighebianche")), 34},
        {campione + "  \r\n \r\n\r\n", riparabile.arg(103).arg(motivo("motivorighebianche")), 34},
        {senza(30), attesa.arg(30).arg(motivo("motivoriga2")), 0},
    };
    for (const auto& c : riparabili) {
        fakes.prompt.calls.clear();
        QString p = scrivi(c.testo);
        EXPECT_FALSE(f->Database_satelliti(p));
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_EQ(fakes.prompt.calls[0].text.toStdString(), c.messaggio.toStdString());
        fakes.files.fileAnswers = {p};
        files::Formattazione_File(nullptr);
        fakes.prompt.calls.clear();
        EXPECT_EQ(f->Database_satelliti(p), c.set > 0);
        if (c.set > 0) {
            EXPECT_EQ(f->righe(0), c.set);
        } else {
            ASSERT_EQ(fakes.prompt.calls.size(), 1);
            EXPECT_EQ(fakes.prompt.calls[0].text.toStdString(), c.messaggio.toStdString());
        }
        QFile::remove(p + ".bak");
    }
}

TEST_F(DatabaseWindow, StopDuringALoadKeepsThePreviousDatabase)
{
    elenca({dbtest::set("25544")});
    frmDatabase* f = caricato();
    fakes.prompt.calls.clear();
    const QByteArray uno = dbtest::leggi(kSample).left(dbtest::leggi(kSample).indexOf("SGP4-VER 04632"));
    QByteArray grande;
    for (int i = 0; i < 20000; ++i)
        grande += uno;
    QString p = scrivi(grande);
    // Stop is pressed as soon as the progress window shows.
    QTimer::singleShot(0, [] {
        if (frmProgress* pr = frmProgress::instance(false))
            pr->cmdCancel_Click();
    });
    EXPECT_FALSE(f->Database_satelliti(p));
    EXPECT_EQ(f->righe(0), 34);
    EXPECT_EQ(gintNumSatelliti, 1);
    EXPECT_EQ(gstrDatabasePrimario, kSample);
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
    EXPECT_TRUE(fakes.files.calls.isEmpty());
    EXPECT_FALSE(pflgArresta);
    EXPECT_TRUE(pflgSatellite);

    // A Stop pressed after a task's last step does not stop the next one.
    pflgArresta = true;
    QString s = kSample;
    EXPECT_TRUE(f->Database_satelliti(s));
    EXPECT_EQ(f->righe(0), 34);
}

TEST_F(DatabaseWindow, WindowUnloadedDuringALoad)
{
    frmDatabase* f = caricato();
    const QByteArray uno = dbtest::leggi(kSample).left(dbtest::leggi(kSample).indexOf("SGP4-VER 04632"));
    QByteArray grande;
    for (int i = 0; i < 20000; ++i)
        grande += uno;
    QString p = scrivi(grande);
    // The program closes its windows while the file is being read.
    QTimer::singleShot(0, [] { delete frmDatabase::instance(false); });
    EXPECT_FALSE(f->Database_satelliti(p));
    EXPECT_EQ(frmDatabase::instance(false), nullptr);
    EXPECT_EQ(core::Numero_Voci(gudtDatabasePrimario), 34);
    EXPECT_EQ(gstrDatabasePrimario, kSample);
    EXPECT_TRUE(pflgSatellite);
    EXPECT_FALSE(core::LavoroLungo::inCorso());
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
}

TEST_F(DatabaseWindow, SecondLoadIsRefusedWhileOneRuns)
{
    frmDatabase* f = frmDatabase::instance();
    bool provato = false;
    QTimer::singleShot(0, [&] {
        QString p = kSample;
        provato = true;
        EXPECT_FALSE(frmDatabase::instance()->Database_satelliti_secondario(p));
    });
    QString p = kSample;
    EXPECT_TRUE(f->Database_satelliti(p));
    EXPECT_TRUE(provato);
    EXPECT_EQ(f->righe(0), 34);
    EXPECT_EQ(f->righe(1), 0);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, "Another long task is running: wait until it ends, or stop it.");
}

TEST_F(DatabaseWindow, SecondaryLoadLeavesTheWorkingListAlone)
{
    elenca({dbtest::set("25544")});
    RigaDati solo = dbtest::set("00005");
    elenca({solo});
    frmDatabase* f = frmDatabase::instance();
    // A file name with a right-to-left override ("solo<RLO>txt.exe" would
    // read "soloexe.txt"): the frame names it with a blank in its place.
    QString p = scrivi(QByteArray::fromStdString(solo.Riga0 + "\r\n" + solo.Riga1 + "\r\n" + solo.Riga2 + "\r\n"),
                       QStringLiteral("solo") + QChar(0x202E) + QStringLiteral("txt.exe"));
    EXPECT_TRUE(f->Database_satelliti_secondario(p));
    EXPECT_EQ(f->righe(1), 1);
    EXPECT_EQ(f->righe(0), 0);
    EXPECT_EQ(gintNumSatelliti, 2);
    EXPECT_TRUE(gstrDatabasePrimario.isEmpty());
    EXPECT_EQ(f->fraDBSecondario->title(), QFileInfo(p).path() + QStringLiteral("/solo txt.exe"));
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
}

TEST_F(DatabaseWindow, OpenDialogLoadsTheChosenFile)
{
    // The database command without a principal file asks for one; the
    // window shows whether or not one is chosen.
    frmDatabase::Mostra_Database();
    ASSERT_EQ(fakes.files.calls.size(), 1);
    EXPECT_TRUE(frmDatabase::instance()->isVisible());
    EXPECT_EQ(frmDatabase::instance()->righe(0), 0);
    fakes.files.calls.clear();

    fakes.files.fileAnswers = {kSample};
    frmDatabase::Apertura_database(0);
    ASSERT_EQ(fakes.files.calls.size(), 1);
    EXPECT_EQ(fakes.files.calls[0].request.title, "Open element file");
    EXPECT_EQ(frmDatabase::instance()->righe(0), 34);
    EXPECT_EQ(gstrDatabasePrimario, kSample);
    // An empty file is not offered for loading.
    fakes.files.fileAnswers = {scrivi(QByteArray())};
    frmDatabase::Apertura_database(1);
    EXPECT_EQ(frmDatabase::instance()->righe(1), 0);
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
}

} // namespace

TEST_F(DatabaseWindow, SatellitesDroppedByANewPrincipalFileLeaveABackupOfTheList)
{
    // One listed satellite is not in the file: the load drops it, and the
    // list's file as it was before stays beside it, byte for byte.
    const QString lista = m_dir.filePath("Astrovela.ini");
    core::WorkingList::instance().setFile(lista);
    RigaDati assente = dbtest::set("25544");
    assente.Riga0 = "NOT IN THE FILE";
    assente.Riga1.replace(2, 5, "99999");
    assente.Riga2.replace(2, 5, "99999");
    elenca({dbtest::set("25544"), assente});
    const QByteArray prima = dbtest::leggi(lista);
    caricato();
    EXPECT_EQ(gintNumSatelliti, 1);
    EXPECT_EQ(dbtest::leggi(lista + ".bak"), prima);
    EXPECT_NE(dbtest::leggi(lista), prima);
    // A load that drops nothing leaves no backup behind it to mistake.
    QFile::remove(lista + ".bak");
    caricato();
    EXPECT_FALSE(QFile::exists(lista + ".bak"));
    core::WorkingList::instance().setFile({});
}

TEST_F(DatabaseWindow, OpeningAPrincipalFileWithARefusedSetKeepsThatSatellite)
{
    // File > Open of the same three sets, the ISS's with mean motion 0 and
    // NAVSTAR 53's with a letter inside its inclination (once read as an
    // inclination of 54.7): the file loads, both keep the elements they had,
    // the ISS stays the principal, and the one message names them with the
    // parser's reasons and places. Nothing left the list, so nothing goes to
    // the file of removed sets.
    const QString lista = m_dir.filePath("Astrovela.ini");
    core::WorkingList::instance().setFile(lista);
    const RigaDati iss = dbtest::set("25544"), cbers = dbtest::set("28057"), navstar = dbtest::set("28129");
    elenca({iss, cbers, navstar});
    RigaDati issRifiutata = iss;
    issRifiutata.Riga2.replace(52, 11, " 0.00000000");
    RigaDati cbersNuova = cbers;
    cbersNuova.Riga2.replace(63, 5, "14056");   // a later revolution number
    RigaDati navstarDanneggiata = navstar;
    navstarDanneggiata.Riga2.replace(8, 8, " 54.7Z98");
    QByteArray testo;
    for (const RigaDati& r : {issRifiutata, cbersNuova, navstarDanneggiata})
        testo += QByteArray::fromStdString(r.Riga0 + "\r\n" + r.Riga1 + "\r\n" + r.Riga2 + "\r\n");
    const QString p = scrivi(testo);
    fakes.files.fileAnswers = {p};
    frmDatabase::Apertura_database(0);
    frmDatabase* f = frmDatabase::instance();
    EXPECT_EQ(f->righe(0), 3);
    EXPECT_EQ(gstrDatabasePrimario, p);
    ASSERT_EQ(gintNumSatelliti, 3);
    EXPECT_EQ(gudtRigheAttive[1].Riga2, iss.Riga2);
    EXPECT_EQ(gudtSatelementi[1].Nome, "Iss (zarya)");
    EXPECT_EQ(gudtRigheAttive[2].Riga2, cbersNuova.Riga2);
    EXPECT_EQ(gudtRigheAttive[3].Riga2, navstar.Riga2);
    EXPECT_EQ(f->lstActive->count(), 3);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text,
              "The database holds 3 of the 3 satellites of the working list.\r\n\r\n"
              + mLang::Testo_Lingua("frmDatabase", "setrifiutati") + "\r\nISS (ZARYA)\r\n"
              + mLang::Testo_Lingua("MDIForm1", "motomediononvalido") + " (line 2, columns 53-63)\r\n"
              + "NAVSTAR 53 (USA 175)\r\n" + mLang::Testo_Lingua("MDIForm1", "camponumerico")
              + " (line 2, columns 9-16)");
    EXPECT_TRUE(dbtest::leggi(lista).contains(QByteArray::fromStdString(iss.Riga2)));
    EXPECT_FALSE(QFile::exists(lista + ".removed"));
    EXPECT_FALSE(QFile::exists(lista + ".bak"));
    core::WorkingList::instance().setFile({});
}

TEST_F(DatabaseWindow, ABadPrincipalFileNamesItsFirstWrongLineAndLeavesNoPrincipalFile)
{
    // No principal file loaded yet: a file that fails leaves none (commands
    // that need the database ask for a file again rather than retrying the
    // bad one), and the message says which line is wrong and why.
    const RigaDati a = dbtest::set("25544"), b = dbtest::set("28057");
    const QByteArray buono = QByteArray::fromStdString(a.Riga0 + "\r\n" + a.Riga1 + "\r\n" + a.Riga2 + "\r\n");
    QByteArray catalogo = QByteArray::fromStdString(b.Riga1);
    catalogo.replace(2, 5, "28O57");
    QByteArray anno = QByteArray::fromStdString(b.Riga1);
    anno.replace(18, 2, "x6");
    const QByteArray nome = QByteArray::fromStdString(b.Riga0 + "\r\n");
    const QByteArray riga2 = QByteArray::fromStdString(b.Riga2 + "\r\n");
    const struct {
        QByteArray testo;
        QString attesa;
    } casi[] = {
        {buono + buono + nome + catalogo + "\r\n" + riga2, "line 8: " + mLang::Testo_Lingua("frmDatabase", "motivocatalogo")},
        {buono + nome + anno + "\r\n" + riga2, "line 5: " + mLang::Testo_Lingua("frmDatabase", "motivoanno")},
        {buono + nome + QByteArray::fromStdString(b.Riga1) + "\r\n", "line 5: " + mLang::Testo_Lingua("frmDatabase", "motivotroncato")},
        {QByteArray("\r\n"), mLang::Testo_Lingua("frmDatabase", "motivovuoto")},
    };
    for (const auto& c : casi) {
        fakes.prompt.calls.clear();
        fakes.files.calls.clear();
        fakes.files.fileAnswers = {scrivi(c.testo)};
        frmDatabase::Apertura_database(0);
        EXPECT_TRUE(gstrDatabasePrimario.isEmpty()) << gstrDatabasePrimario.toStdString();
        EXPECT_EQ(frmDatabase::instance()->righe(0), 0);
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_EQ(fakes.prompt.calls[0].text.toStdString(),
                  ("The file is not in a valid element-set format.\r\n" + c.attesa
                   + "\r\nOpen another element file,\r\nor download this one again, or mend it by hand with "
                     "File > Edit; Tools > Format file cannot mend this one.")
                      .toStdString());
        // The open dialog came again (and was cancelled).
        EXPECT_EQ(fakes.files.calls.size(), 2);
    }
    // The same sentence in Italian, as plain.
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/italiano.ini"));
    fakes.prompt.calls.clear();
    fakes.files.fileAnswers = {scrivi(casi[0].testo)};
    frmDatabase::Apertura_database(0);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_TRUE(fakes.prompt.calls[0].text.endsWith(
        QStringLiteral("\r\nAprire un altro file di elementi,\r\noppure scaricare di nuovo questo, o correggerlo "
                       "a mano con File > Modifica; Strumenti > Formattazione file non può correggerlo.")))
        << fakes.prompt.calls[0].text.toStdString();
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));

    // A file too large to read is said to be so, as every reader says it,
    // not taken for a file of the wrong format.
    const QString grande = m_dir.filePath(QStringLiteral("big.txt"));
    {
        QFile g(grande);
        ASSERT_TRUE(g.open(QIODevice::WriteOnly));
        ASSERT_TRUE(g.resize(vb::kMaxTextFileBytes + 1));   // sparse
    }
    fakes.prompt.calls.clear();
    fakes.files.calls.clear();
    fakes.files.fileAnswers = {grande};
    frmDatabase::Apertura_database(0);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text,
              mLang::Testo_Lingua("frmFile", "filetroppogrande").arg(QDir::toNativeSeparators(grande)).arg(64)
                  + "\r" + mLang::Testo_Lingua("frmDatabase", "selezionarenuovofile"));
    EXPECT_EQ(fakes.files.calls.size(), 2);
    EXPECT_TRUE(gstrDatabasePrimario.isEmpty());
}
