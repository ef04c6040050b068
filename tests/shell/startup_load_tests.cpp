// The main window's loading against a temporary program folder (the shipped
// data files, one of them removed when asked) and a temporary user folder,
// with fake services; and the open-file entry of the element files.
#include "core/clock.h"
#include "core/database.h"
#include "core/globals_orbit.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "core/startup.h"
#include "core/working_list.h"
#include "platform/fakes.h"
#include "platform/prompt.h"
#include "database/database_window.h"
#include "locations/city_list.h"
#include "locations/location_dialog.h"
#include "platform/vb.h"
#include "controls/graph_button.h"
#include "shell/language_picker.h"
#include "shell/main_window.h"
#include "shell/window_wiring.h"
#include "support/fixed_time.h"
#include "support/x_input.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QListView>
#include <QListWidget>
#include <QTreeWidget>
#include <QDir>
#include <QScreen>
#include <QTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

class LoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(program.isValid() && user.isValid());
        // Copies of the test's own, which it may spoil, whatever the mode of
        // the files copied (read-only in a build of a source tree the user
        // may not write).
        const QDir bin(QStringLiteral(ASTROVELA_PROGRAM_DIR));
        for (const QString& f : bin.entryList({"*.dat", "*.bin", "*.ini"}, QDir::Files)) {
            const QString copia = program.filePath(f);
            ASSERT_TRUE(QFile::copy(bin.filePath(f), copia));
            ASSERT_TRUE(QFile::setPermissions(copia, QFile::permissions(copia) | QFile::WriteOwner));
        }
        mLang::Usa_File_Lingua({});
        mLang::Imposta_Cartella_Programma(program.path());
        fakes.settings.setValue("Generali", "Lingua", "english.ini");
    }
    void TearDown() override
    {
        core::WorkingList::instance().setFile({});
        core::WorkingList::instance().Rimuovi_Tutti();
        mLang::Imposta_Cartella_Programma({});
        gstrFileLingua.clear();
        pflgCentrale = false;
        pflgSatellite = false;
    }
    QString text(const char* key) { return mLang::Testo_Lingua("MDIForm1", key); }
    // The set of the sample element file with this name, as its three lines.
    static QByteArray sample(const char* name)
    {
        QFile f(QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample.txt"));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> r = f.readAll().split('\n');
        for (int i = 0; i + 2 < r.size(); ++i)
            if (r[i].trimmed() == name)
                return r[i].trimmed() + "\r\n" + r[i + 1].trimmed() + "\r\n" + r[i + 2].trimmed() + "\r\n";
        ADD_FAILURE() << name;
        return {};
    }
    static QByteArray bytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QByteArray lines(const QByteArray& set, int from, int to)
    {
        return set.split('\n').mid(from, to - from + 1).join('\n');
    }

    QTemporaryDir program;
    QTemporaryDir user;
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
};

} // namespace

TEST_F(LoadTest, ABadDataFileEndsTheLoadWithTheDataMessage)
{
    // The magnitude table is not among the files tested before loading: the
    // message names the file as well as saying that the data cannot be read.
    QFile::remove(program.filePath("magnitud.dat"));
    {
        MDIForm1 w;
        w.setCartellaUtente(user.path());
        EXPECT_FALSE(w.MDIForm_Load());
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_TRUE(fakes.prompt.calls[0].text.startsWith(text("erroredb") + "\r\nmagnitud.dat"))
            << fakes.prompt.calls[0].text.toStdString();
        EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbExclamation);
        EXPECT_FALSE(pflgCentrale);
    }
    // A constellation file one row short: the file, the line where reading
    // stopped and the reason.
    QFile::copy(QString(ASTROVELA_PROGRAM_DIR) + "/magnitud.dat", program.filePath("magnitud.dat"));
    QFile cl(program.filePath("clines.dat"));
    ASSERT_TRUE(cl.open(QIODevice::ReadOnly));
    QList<QByteArray> righe = cl.readAll().split('\n');
    cl.close();
    while (!righe.isEmpty() && righe.last().trimmed().isEmpty())
        righe.removeLast();
    righe.removeLast();
    ASSERT_TRUE(cl.open(QIODevice::WriteOnly | QIODevice::Truncate));
    cl.write(righe.join('\n') + '\n');
    cl.close();
    fakes.prompt.calls.clear();
    MDIForm1 w;
    w.setCartellaUtente(user.path());
    EXPECT_FALSE(w.MDIForm_Load());
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    const QString t = fakes.prompt.calls[0].text;
    EXPECT_TRUE(t.contains("clines.dat, " + text("erroredbriga") + " ")) << t.toStdString();
    EXPECT_GT(t.section(": ", -1).size(), 3) << t.toStdString();
}

TEST_F(LoadTest, LoadsTheListSettingsAndBars)
{
    QFile list(user.filePath("Astrovela.ini"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("Iss (zarya)\r\n"
               "1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927\r\n"
               "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537\r\n");
    list.close();
    fakes.settings.setValue("Generali", "Barra pulsanti", "0");
    fakes.settings.setValue("Osservatore", "Localita", "Italy: Roma");
    fakes.settings.setValue("Generali", "Verifica ora legale", "0");

    MDIForm1 w;
    w.setCartellaUtente(user.path());
    ASSERT_TRUE(w.MDIForm_Load());
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
    EXPECT_TRUE(pflgCentrale);
    EXPECT_TRUE(pflgSatellite);
    EXPECT_EQ(gintNumSatelliti, 1);
    EXPECT_GT(gudtValori[1].Periodo, 5000.0); // the first tick ran
    EXPECT_EQ(w.panel(2)->text(), "Iss (zarya)");
    EXPECT_EQ(w.panel(3)->text(), "Italy: Roma");
    EXPECT_FALSE(w.panel(1)->text().isEmpty());
    EXPECT_TRUE(w.Toolbar1()->isHidden());
    EXPECT_FALSE(w.menuItem("mnuVisualizzaBarraPulsanti")->isChecked());
    EXPECT_FALSE(w.StatusBar1()->isHidden());
    EXPECT_FALSE(w.menuItem("mnuFileSalva")->isEnabled());
    EXPECT_EQ(w.windowTitle(), "Astrovela 0.1");
    EXPECT_EQ(w.menuItem("mnuFileEsci")->text(), text("mnuFileEsci"));

    // A change of the list is saved at once, and so is the list at shut-down.
    core::WorkingList& lista = core::WorkingList::instance();
    lista.Rimuovi(1);
    EXPECT_EQ(w.panel(2)->text(), "");
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll(), "");
    list.close();
    // A set added while the file was not kept up to date reaches it only
    // through the save at shut-down.
    const QString file = lista.file();
    ASSERT_EQ(file, list.fileName());
    lista.setFile({});
    ASSERT_EQ(lista.Aggiungi({"NOAA 19",
                              "1 33591U 09005A   26340.50000000  .00000100  00000-0  80000-4 0  9990",
                              "2 33591  99.1000 200.0000 0014000 100.0000 260.0000 14.12000000    10"})
                  .esito,
              core::WorkingList::Esito::Aggiunto);
    lista.setFile(file);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll(), "");
    list.close();
    EXPECT_TRUE(w.close());
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_TRUE(list.readAll().startsWith("Noaa 19\r\n1 33591U"));
}

TEST_F(LoadTest, TheSplashShowsTheReadingCaptionWhileTheTablesLoad)
{
    fakes.settings.setValue("Generali", "Verifica ora legale", "0");
    MDIForm1 w;
    w.setCartellaUtente(user.path());
    // Runs at the first moment the start-up lets window events through,
    // which is while the splash is up.
    QStringList captions;
    QTimer::singleShot(0, [&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == "frmAbout" && top->isVisible())
                captions << top->windowTitle();
    });
    ASSERT_TRUE(w.MDIForm_Load());
    ASSERT_EQ(captions.size(), 1);
    EXPECT_EQ(captions[0], mLang::Testo_Lingua("frmAbout", "letturadati"));
    EXPECT_NE(captions[0], mLang::Testo_Lingua("frmAbout", "informazioni"));
    // The splash is gone once the program runs; the main window fits the screen.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_FALSE(top->objectName() == "frmAbout" && top->isVisible());
    const QRect area = w.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(w.geometry().center()));
    EXPECT_LE(w.width(), area.width());
}

// On a display with no window manager (the virtual display of run.sh, a
// test display) nothing gives a window the keyboard by itself. Run again by
// itself on a display of its own: a plain start, a first start whose
// language picker is answered with a click, and a start whose loading shows
// a message, answered with a click, before the main window shows. Right
// after the start, with no click on the main window, Alt+S opens its
// Satellites menu. Before that, the keys a user types while the program
// comes up (a window manager hands the new window the keyboard) reach the
// empty workspace, where they do nothing: Space presses no toolbar button
// (Open would ask for a file), a letter opens no menu, and neither does
// one after Alt+E, Escape, Escape.
TEST_F(LoadTest, WithoutAWindowManagerTheFirstKeyAfterTheStartReachesTheMainWindow)
{
    const QByteArray modo = qgetenv("ASTROVELA_AVVIO_SENZA_WM");
    if (!modo.isEmpty()) {
        testsupport::InputX x;
        ASSERT_TRUE(x.pronto()) << x.errore().toStdString();
        fakes.settings.setValue("Generali", "Verifica ora legale", "0");
        platform::QtPrompt scatole;
        platform::Services vere = fakes.services();
        vere.prompt = &scatole;
        platform::ScopedServices scope2(vere);
        // The picker is answered with Italiano, each box with its OK.
        testsupport::RispostaConUnClic rispondi(x, [](QWidget* m, QStringList& risposte) -> QWidget* {
            auto* picker = qobject_cast<frmLanguage*>(m);
            if (!picker)
                return nullptr;
            const auto voci = picker->lstLingua->findItems("Italiano", Qt::MatchExactly);
            if (!voci.isEmpty())
                picker->lstLingua->setCurrentItem(voci[0]);
            risposte << "frmLanguage";
            return picker->cmdOK;
        });
        const QStringList& risposte = rispondi.messaggi;

        if (modo == "lingua") {
            fakes.settings.setValue("Generali", "Lingua", "");
            core::Avvio avvio;
            avvio.cartellaProgramma = program.path();
            avvio.cartellaUtente = user.path();
            avvio.scegliLingua = [&] {
                frmLanguage picker(program.path());
                picker.exec();
            };
            ASSERT_TRUE(core::MDIForm_Initialize(avvio));
            EXPECT_EQ(gstrFileLingua, "italiano.ini");
        } else if (modo == "messaggio") {
            QFile list(user.filePath("Astrovela.ini"));
            ASSERT_TRUE(list.open(QIODevice::WriteOnly));
            list.write(sample("CBERS 2") + "a line typed by hand\r\n");
            list.close();
        }
        MDIForm1 w;
        Collega_Tutte_Le_Finestre(w);
        w.setCartellaUtente(user.path());
        ASSERT_TRUE(w.MDIForm_Load());
        rispondi.ferma();
        const QString visti = risposte.join(" | ");
        if (modo == "lingua")
            EXPECT_EQ(visti, "frmLanguage");
        else if (modo == "messaggio")
            EXPECT_TRUE(risposte.size() == 1 && visti.contains("a line typed by hand")) << visti.toStdString();
        else
            EXPECT_TRUE(visti.isEmpty()) << visti.toStdString();
        QTest::qWait(300); // as long as a user takes to reach for a key
        ASSERT_TRUE(w.menuItem("mnuFileApri")->isEnabled());
        const auto nienteAperto = [&](const char* dopo) {
            QTest::qWait(500);
            EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << dopo << ": a menu opened";
            EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << dopo << ": a dialog opened";
            EXPECT_TRUE(fakes.files.calls.isEmpty()) << dopo << ": a file was asked for";
            if (QWidget* aperto = QApplication::activePopupWidget())
                aperto->close();
            fakes.files.calls.clear();
        };
        using testsupport::InputX;
        const unsigned long file = InputX::letteraDi(w.menu("mnuFile")->title());
        for (unsigned long tasto : {InputX::kSpazio, file, InputX::kInvio})
            x.premi(tasto);
        nienteAperto("Space, the File menu's letter, Return");
        x.premi(InputX::letteraDi(w.menu("mnuModifica")->title()), InputX::kAlt);
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == w.menu("mnuModifica"); }, 5000))
            << "Alt and the Edit menu's letter opened no menu";
        x.premi(InputX::kEscape);
        QTest::qWait(200);
        x.premi(InputX::kEscape);
        QTest::qWait(200);
        x.premi(file);
        nienteAperto("Alt+E, Escape, Escape, the File menu's letter");
        x.premi('s', testsupport::InputX::kAlt);
        QMenu* satelliti = w.menu("mnuSatelliti");
        ASSERT_NE(satelliti, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == satelliti; }, 5000))
            << "no menu opened";
        if (QWidget* aperto = QApplication::activePopupWidget())
            aperto->close();
        return;
    }
    testsupport::Riesegui_Per_Ogni("ASTROVELA_AVVIO_SENZA_WM", {"avvio", "lingua", "messaggio"});
}

TEST_F(LoadTest, OpenFileEntryHandsTheChosenFileToTheLoader)
{
    MDIForm1 w;
    QList<QPair<int, QString>> loaded;
    w.setCaricaDatabase([&](int which, const QString& f) { loaded.append({which, f}); });
    QFile elements(user.filePath("visual.txt"));
    ASSERT_TRUE(elements.open(QIODevice::WriteOnly));
    elements.write("ISS\r\n");
    elements.close();
    QFile empty(user.filePath("empty.txt"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    gstrDatabasePrimario = "/old/path.txt";

    fakes.files.fileAnswers = {std::nullopt, empty.fileName(), elements.fileName(), elements.fileName()};
    w.Apertura_database(0); // cancelled
    w.Apertura_database(0); // an empty file
    EXPECT_TRUE(loaded.isEmpty());
    EXPECT_EQ(gstrDatabasePrimario, "/old/path.txt");
    w.Apertura_database(1);
    EXPECT_EQ(gstrDatabasePrimario, "/old/path.txt"); // a secondary file is not kept
    w.Apertura_database(0);
    EXPECT_EQ(gstrDatabasePrimario, elements.fileName());
    ASSERT_EQ(loaded.size(), 2);
    EXPECT_EQ(loaded[0], qMakePair(1, elements.fileName()));
    EXPECT_EQ(loaded[1], qMakePair(0, elements.fileName()));
    ASSERT_EQ(fakes.files.calls.size(), 4);
    EXPECT_EQ(fakes.files.calls[0].request.fileName, "/old/path.txt");
    EXPECT_FALSE(fakes.settings.hasSection("Database"));
    gstrDatabasePrimario.clear();
}

// A settings file edited by hand or damaged: stored choices out of range are
// read as the nearest the program knows, as the options dialog would show
// and save them, and a place name with NUL bytes and bidirectional controls
// is shown in its own order, the controls as blanks.
TEST_F(LoadTest, StoredChoicesOutOfRangeAndAPlaceWithControlCharactersShowPlainly)
{
    fakes.settings.setValue("Generali", "Verifica ora legale", "0");
    fakes.settings.setValue("Generali", "Formato ora", "15");
    fakes.settings.setValue("Osservatore", "Ora legale", "5");
    fakes.settings.setValue("Satelliti", "Propagatore", "-2");
    fakes.settings.setValue("Cielo locale", "Orientamento", "7");
    const QString luogo = QStringLiteral("Italy:") + QChar(0) + QChar(0)
        + QStringLiteral(" \u202EamoR\u202C \u2067x\u2069");
    fakes.settings.setValue("Osservatore", "Localita", luogo);
    const QString cittaFile = user.filePath("cities.dat");
    QFile citta(cittaFile);
    ASSERT_TRUE(citta.open(QIODevice::WriteOnly));
    citta.write("\"Italy: Roma\",41.9,12.5,1\r\n");
    citta.close();
    locations::Imposta_File_Citta(cittaFile);

    MDIForm1 w;
    Collega_Tutte_Le_Finestre(w);
    w.setCartellaUtente(user.path());
    ASSERT_TRUE(w.MDIForm_Load());
    EXPECT_EQ(gintFormatoOra, 9);
    EXPECT_EQ(gbytOraLegale, 1);
    EXPECT_EQ(gintPropagatore, 0);
    EXPECT_EQ(gintLocaleOrientamento, 3);
    // The tenth format: the day of the year in universal time and the year.
    const QString data = w.panel(1)->text();
    EXPECT_TRUE(data.contains(QLatin1Char('@')) && data.endsWith(QStringLiteral(" Greenwich")))
        << data.toStdString();
    const QString mostrato = QStringLiteral("Italy:    amoR   x ");
    EXPECT_EQ(w.panel(3)->text(), mostrato);
    // The location dialog, from the panel, shows the same.
    w.StatusBar1_PanelClick(3);
    ASSERT_NE(frmLocation::istanza(), nullptr);
    EXPECT_EQ(frmLocation::istanza()->cmbCityText->text(), mostrato);
    w.mnuFinestreChiudiTutto_Click();
    locations::Imposta_File_Citta({});
}

// A principal satellite whose name holds markup and control characters: in
// the status bar and in every window that shows satellite names it is shown
// as text (no label renders it as rich text) and without its control
// characters.
TEST_F(LoadTest, AHostileSatelliteNameIsShownAsPlainTextEverywhere)
{
    // 23 characters, one a right-to-left override: the name field holds 24.
    const QByteArray nome = "<h1>BIG</h1>\x1b[5m\x07\xE2\x80\xAE<img>";
    QFile list(user.filePath("Astrovela.ini"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(nome + "\r\n"
               "1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927\r\n"
               "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537\r\n"
               "<b>second</b>\r\n"
               "1 08195U 75081A   06176.33215444  .00000099  00000-0  11873-3 0   813\r\n"
               "2 08195  64.1586 279.0717 6877146 264.7651  20.2257  2.00491383225656\r\n");
    list.close();
    fakes.settings.setValue("Generali", "Verifica ora legale", "0");

    MDIForm1 w;
    Collega_Tutte_Le_Finestre(w);
    w.setCartellaUtente(user.path());
    ASSERT_TRUE(w.MDIForm_Load());
    ASSERT_EQ(gintNumSatelliti, 2) << (fakes.prompt.calls.isEmpty() ? std::string() : fakes.prompt.calls[0].text.toStdString());
    // The principal file holds the same two sets: its list shows them too.
    gudtDatabasePrimario.assign(1, RigaDati{});
    for (int k = 1; k <= 2; ++k)
        gudtDatabasePrimario.push_back(gudtRigheAttive[size_t(k)]);
    w.show();

    QStringList visti;
    const auto mostraNome = [](const QString& t) {
        return t.contains(QStringLiteral("<h1>"), Qt::CaseInsensitive) || t.contains(QStringLiteral("second"), Qt::CaseInsensitive);
    };
    const auto senzaControlli = [](const QString& t) { return !vb::hasControlCharacters(t); };
    const auto controlla = [&](QWidget* radice, const QString& dove) {
        QList<QWidget*> tutti = radice->findChildren<QWidget*>();
        tutti.prepend(radice);
        for (QWidget* x : tutti) {
            const QString chi = dove + u' ' + QString::fromLatin1(x->metaObject()->className()) + u' ' + x->objectName();
            // A tooltip that shows a name must not be taken for markup.
            if (mostraNome(x->toolTip())) {
                EXPECT_FALSE(Qt::mightBeRichText(x->toolTip())) << chi.toStdString() << ": " << x->toolTip().toStdString();
            }
            QStringList testi{x->windowTitle()};
            if (auto* l = qobject_cast<QLabel*>(x)) {
                testi << l->text();
                EXPECT_FALSE(l->textFormat() != Qt::PlainText && Qt::mightBeRichText(l->text()))
                    << chi.toStdString() << ": " << l->text().toStdString();
            }
            if (auto* g = qobject_cast<QGroupBox*>(x))
                testi << g->title();
            if (auto* lw = qobject_cast<QListWidget*>(x))
                for (int i = 0; i < lw->count(); ++i)
                    testi << lw->item(i)->text();
            if (auto* tw = qobject_cast<QTreeWidget*>(x))
                for (QTreeWidgetItemIterator it(tw); *it; ++it)
                    for (int c = 0; c < tw->columnCount(); ++c)
                        testi << (*it)->text(c);
            // The rows of a list with a model of its own (the database).
            if (auto* v = qobject_cast<QListView*>(x); v && v->model())
                for (int i = 0; i < v->model()->rowCount(); ++i)
                    testi << v->model()->index(i, 0).data().toString();
            if (auto* cb = qobject_cast<QComboBox*>(x))
                for (int i = 0; i < cb->count(); ++i)
                    testi << cb->itemText(i);
            for (const QString& t : testi)
                if (mostraNome(t)) {
                    visti << chi;
                    // Labels, titles, lists and their rows show them as blanks.
                    EXPECT_TRUE(senzaControlli(t)) << chi.toStdString();
                }
        }
    };
    controlla(&w, QStringLiteral("status bar"));
    // The name as the list keeps it (proper case), control characters as blanks.
    const QString principale = QString::fromStdString(gudtSatelementi[1].Nome).trimmed();
    ASSERT_TRUE(principale.contains(QChar(0x1b)));
    EXPECT_EQ(w.panel(2)->text(), vb::displayable(principale));
    EXPECT_TRUE(w.panel(2)->text().startsWith(QStringLiteral("<h1>"), Qt::CaseInsensitive));

    // Every window of the menus that shows satellites; a modal one is looked
    // at while it is up and then closed.
    const char* const comandi[] = {
        "mnuTerraMappaRettangolare", "mnuTerraMappaOrtografica", "mnuCieloMappaLocale",
        "mnuCieloMappaGenerale", "mnuSatellitiDatabase", "mnuSatellitiElementiOrbitali",
        "mnuSatellitiPrevisioniPassaggi", "mnuSatellitiCalcoloEffemeridi", "mnuSatellitiMotoRelativo",
        "mnuEffemeridiSatelliti", "mnuOpzioniSatelliti",
    };
    for (const char* c : comandi) {
        QAction* a = w.menuItem(c);
        ASSERT_NE(a, nullptr) << c;
        ASSERT_TRUE(a->isEnabled()) << c;
        QTimer guarda;
        guarda.setInterval(50);
        QObject::connect(&guarda, &QTimer::timeout, [&] {
            if (QWidget* m = QApplication::activeModalWidget()) {
                controlla(m, QString::fromLatin1(c));
                if (auto* d = qobject_cast<QDialog*>(m))
                    d->reject();
                else
                    m->close();
            }
        });
        guarda.start();
        a->trigger();
        QApplication::processEvents();
        guarda.stop();
        controlla(&w, QString::fromLatin1(c));
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t != &w && t->isVisible())
                controlla(t, QString::fromLatin1(c));
    }
    // The names were seen in the windows, not only in the status bar.
    visti.removeDuplicates();
    EXPECT_GT(visti.size(), 3) << visti.join(u'\n').toStdString();
    w.menuItem("mnuFinestreChiudiTutto")->trigger();
    gudtDatabasePrimario.assign(1, RigaDati{});
}

namespace {
// 41 days after the epochs of the two decaying sets of the sample file.
struct DecayTime : testsupport::FixedTime {
    DecayTime() { now = core::Data_Orologio(QDate(2006, 7, 27), QTime(12, 0, 0)); }
};
} // namespace

TEST_F(LoadTest, TwoSatellitesDecayedAtStartAreBothKept)
{
    // The list of the last run: two healthy sets and two that have come down
    // since. The start removes them one tick apart; afterwards the backup is
    // the list as it stood at the start and the file of removed sets holds
    // both, as each message says.
    DecayTime time;
    core::CentralClock::instance().setTimeSource(&time);
    core::CentralClock::instance().reset();
    const QByteArray cbers = sample("CBERS 2"), navstar = sample("NAVSTAR 53 (USA 175)"),
                     sl14 = sample("SL-14 DEB"), cosmos = sample("COSMOS 2405");
    const QString file = user.filePath("Astrovela.ini");
    QFile list(file);
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(cbers + navstar + sl14 + cosmos);
    list.close();
    const QByteArray start = bytes(file);
    fakes.settings.setValue("Generali", "Verifica ora legale", "0");
    {
        MDIForm1 w;
        w.setCartellaUtente(user.path());
        ASSERT_TRUE(w.MDIForm_Load());
        time.now = time.now.addSecs(1);
        w.tmrCentrale_Timer();
        time.now = time.now.addSecs(1);
        w.tmrCentrale_Timer();
        EXPECT_EQ(gintNumSatelliti, 2);
        EXPECT_EQ(gudtSatelementi[1].Nome, "Cbers 2");
        EXPECT_EQ(w.panel(2)->text(), "Cbers 2");
        ASSERT_EQ(fakes.prompt.calls.size(), 2);
        EXPECT_EQ(fakes.prompt.calls[0].title, "Sl-14 Deb");
        EXPECT_EQ(fakes.prompt.calls[1].title, "Cosmos 2405");
        for (const auto& c : fakes.prompt.calls)
            EXPECT_TRUE(c.text.endsWith(QDir::toNativeSeparators(file + ".removed"))) << c.text.toStdString();
        EXPECT_EQ(bytes(file + ".bak"), start);
        const QByteArray removed = bytes(file + ".removed");
        EXPECT_TRUE(removed.contains(lines(sl14, 1, 2))) << removed.toStdString();
        EXPECT_TRUE(removed.contains(lines(cosmos, 1, 2))) << removed.toStdString();
        EXPECT_FALSE(bytes(file).contains("29141") || bytes(file).contains("28350"));
        w.close();
    }
    core::CentralClock::instance().setTimeSource(nullptr);
    core::CentralClock::instance().reset();
}

TEST_F(LoadTest, SkippedLinesThenADecayThenAPrincipalLoadLoseNothing)
{
    // Three ways the program drops sets, one after the other in one run: a
    // start that skips lines it cannot read, a decay, and a principal file
    // without some listed satellites. Every line dropped is in the file of
    // removed sets at the end, and the backup is the list as it was at the start.
    DecayTime time;
    core::CentralClock::instance().setTimeSource(&time);
    core::CentralClock::instance().reset();
    const QByteArray cbers = sample("CBERS 2"), navstar = sample("NAVSTAR 53 (USA 175)"),
                     cosmos = sample("COSMOS 2405"), iss = sample("ISS (ZARYA)");
    const QByteArray junk = "a line typed by hand\r\n";
    const QString file = user.filePath("Astrovela.ini");
    QFile list(file);
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write(cbers + junk + navstar + cosmos + iss);
    list.close();
    const QByteArray start = bytes(file);
    fakes.settings.setValue("Generali", "Verifica ora legale", "0");
    const QString principale = user.filePath("principal.txt");
    QFile p(principale);
    ASSERT_TRUE(p.open(QIODevice::WriteOnly));
    p.write(cbers);
    p.close();
    {
        MDIForm1 w;
        w.setCartellaUtente(user.path());
        ASSERT_TRUE(w.MDIForm_Load());
        // The start's message, then the decay of the first tick.
        ASSERT_EQ(fakes.prompt.calls.size(), 2);
        EXPECT_TRUE(fakes.prompt.calls[0].text.contains("a line typed by hand"));
        EXPECT_EQ(fakes.prompt.calls[1].title, "Cosmos 2405");
        ASSERT_EQ(gintNumSatelliti, 3);
        QString path = principale;
        ASSERT_TRUE(frmDatabase::instance()->Database_satelliti(path));
        EXPECT_EQ(gintNumSatelliti, 1);
        EXPECT_EQ(gudtSatelementi[1].Nome, "Cbers 2");
        ASSERT_EQ(fakes.prompt.calls.size(), 3);
        EXPECT_TRUE(fakes.prompt.calls[2].text.contains("Navstar 53 (usa 175), Iss (zarya)"));
        EXPECT_TRUE(fakes.prompt.calls[2].text.endsWith(QDir::toNativeSeparators(file + ".removed")));
        frmDatabase::Unload();
        w.close();
    }
    EXPECT_EQ(bytes(file + ".bak"), start);
    const QByteArray removed = bytes(file + ".removed");
    for (const QByteArray& dropped : {junk, lines(cosmos, 1, 2), lines(navstar, 1, 2), lines(iss, 1, 2)})
        EXPECT_TRUE(removed.contains(dropped)) << dropped.toStdString() << "\n---\n" << removed.toStdString();
    EXPECT_EQ(bytes(file), "Cbers 2\r\n" + cbers.mid(cbers.indexOf('\n') + 1));
    core::CentralClock::instance().setTimeSource(nullptr);
    core::CentralClock::instance().reset();
}
