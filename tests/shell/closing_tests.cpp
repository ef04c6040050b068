// Closing the program's windows all at once (Windows > Close all, a change of
// language, the end of the program) while a long task runs in one of them,
// and the placement every map and chart window keeps on every way it closes.
#include "common/main_window_link.h"
#include "common/window_host.h"
#include "common/window_links.h"
#include "core/data_files.h"
#include "core/mreg.h"
#include "database/database_fixture.h"
#include "database/menu_links.h"
#include "listings/listing_window.h"
#include "passes/pass_window.h"
#include "shell/language_picker.h"
#include "shell/main_window.h"
#include "support/pass_filters.h"

#include <QAction>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <QTimer>

namespace {

class Closing : public dbtest::DatabaseWindow {
protected:
    void SetUp() override
    {
        DatabaseWindow::SetUp();
        fakes.settings.setValue("Generali", "Lingua", "english.ini");
    }
    // Lets queued closings and deferred deletions run.
    static void pausa()
    {
        QTest::qWait(150);
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    static int finestre(MDIForm1& w) { return int(w.mdiArea()->subWindowList().size()); }

    // A database of 34 x 60 sets, so that a summary or a load takes many steps.
    QString grande()
    {
        QByteArray testo = dbtest::leggi(dbtest::kSample);
        QByteArray tutto;
        for (int i = 0; i < 60; ++i)
            tutto += testo;
        return scrivi(tutto, "grande.txt");
    }
};

// The three ways of closing everything, run from inside a task's steps.
enum class Modo { ChiudiTutto, Lingua, Uscita };

void chiudi(MDIForm1& w, Modo m)
{
    switch (m) {
    case Modo::ChiudiTutto:
        w.mnuFinestreChiudiTutto_Click();
        break;
    case Modo::Lingua:
        // What the language picker's OK does with the main window up.
        frmLanguage::applicaLingua()(nullptr);
        break;
    case Modo::Uscita:
        w.close();
        break;
    }
}

} // namespace

TEST_F(Closing, EverythingClosedDuringASummaryOrALoadWaitsForTheTaskToStop)
{
    for (Modo modo : {Modo::ChiudiTutto, Modo::Lingua, Modo::Uscita}) {
        for (bool sommario : {true, false}) {
            SCOPED_TRACE(testing::Message() << "way " << int(modo) << (sommario ? " summary" : " load"));
            MDIForm1 w;
            database::Collega_Finestre(w);
            listings::Collega_Elenchi(w);
            w.show();
            frmDatabase* f = caricato();
            ASSERT_EQ(f->righe(0), 34);
            QString file = grande();
            if (sommario) {
                // A summary of the large file.
                ASSERT_TRUE(f->Database_satelliti(file));
                ASSERT_EQ(f->righe(0), 34 * 60);
            }
            QPointer<frmDatabase> db(f);
            int passi = 0;
            // Fired from inside the task's first yield to the event loop.
            QTimer::singleShot(0, &w, [&] {
                passi = 1;
                chiudi(w, modo);
                // Nothing may go from under the running task.
                EXPECT_TRUE(db);
            });
            if (sommario)
                f->cmdSommario_Click(0);
            else
                f->Database_satelliti(file);
            ASSERT_EQ(passi, 1);
            EXPECT_FALSE(common::Attivita_In_Corso());
            // A load stopped this way changes nothing: the 34 sets stay.
            if (!sommario && db) {
                EXPECT_EQ(db->righe(0), 34);
            }
            pausa();
            // Once the task has stopped, every window has gone.
            EXPECT_FALSE(db);
            EXPECT_EQ(finestre(w), 0);
            EXPECT_EQ(w.isVisible(), modo != Modo::Uscita);
        }
    }
}

TEST_F(Closing, EverythingClosedDuringAPassSearchWaitsForTheSearchToStop)
{
    gsngFusoOrario = 1;
    gbytOraLegale = 0;
    testsupport::Filtri_Aperti();
    pflgRicerca = false;
    gdatDataCorrente = QDateTime(QDate(2013, 11, 26), QTime(15, 0, 0), Qt::UTC);
    for (Modo modo : {Modo::ChiudiTutto, Modo::Lingua, Modo::Uscita}) {
        SCOPED_TRACE(testing::Message() << "way " << int(modo));
        core::WorkingList::instance().Rimuovi_Tutti();
        elenca({dbtest::set("25544"), dbtest::set("28057"), dbtest::set("26900")});
        MDIForm1 w;
        w.show();
        QPointer<frmVisibleSatellites> f(frmVisibleSatellites::instance());
        common::Mostra_Figlia(f);
        f->DTPicker1[1]->setDateTime(QDateTime(QDate(2013, 11, 26), QTime(15, 0, 0), Qt::UTC));
        f->cmbDurata[1]->setCurrentIndex(f->cmbDurata[1]->count() - 1);
        int passi = 0;
        QTimer::singleShot(0, &w, [&] {
            passi = 1;
            chiudi(w, modo);
            EXPECT_TRUE(f);
            EXPECT_TRUE(pflgRicerca);
        });
        f->cmdOK_Click(1);
        ASSERT_EQ(passi, 1);
        EXPECT_FALSE(pflgRicerca);
        pausa();
        EXPECT_FALSE(f);
        EXPECT_EQ(finestre(w), 0);
        EXPECT_EQ(w.isVisible(), modo != Modo::Uscita);
        // The working list is whole.
        EXPECT_EQ(gintNumSatelliti, 3);
    }
}

namespace {

// The map and chart windows of the running program.
class Placement : public Closing {
protected:
    void SetUp() override
    {
        Closing::SetUp();
        ASSERT_TRUE(Carica_dati(QStringLiteral(ASTROVELA_PROGRAM_DIR)));
        mLang::Imposta_Cartella_Programma(QStringLiteral(ASTROVELA_PROGRAM_DIR));
        // The world map opens on the principal satellite.
        elenca({dbtest::set("25544")});
    }
    void TearDown() override
    {
        mLang::Imposta_Cartella_Programma({});
        Closing::TearDown();
    }
};

} // namespace

TEST_F(Placement, EveryMapAndChartKeepsItsPlacementOnEveryWayOfClosing)
{
    struct Finestra {
        const char* voce;      // the menu command that opens it
        const char* sezione;   // where it keeps its placement
    };
    const Finestra tutte[] = {{"mnuTerraMappaRettangolare", "Mappamondo"},
                              {"mnuCieloMappaLocale", "Cielo locale"},
                              {"mnuCieloMappaGenerale", "Cielo generale"}};
    enum class Via { Casella, ChiudiTutto, Lingua, Uscita };
    for (Via via : {Via::Casella, Via::ChiudiTutto, Via::Lingua, Via::Uscita}) {
        for (const Finestra& f : tutte) {
            SCOPED_TRACE(testing::Message() << f.sezione << " way " << int(via));
            for (const char* k : {"Window_Left", "Window_Top", "Window_Width", "Window_Height"})
                fakes.settings.setValue(f.sezione, k, "-1");
            MDIForm1 w;
            maps::Collega_Mappa_Mondo(w);
            maps::Collega_Cielo_Locale(w);
            sky::Collega_Cielo_Generale(w);
            w.resize(1200, 900);
            w.show();
            QAction* apri = w.menuItem(f.voce);
            ASSERT_TRUE(apri && apri->isEnabled());
            apri->trigger();
            pausa();
            QMdiSubWindow* sub = w.mdiArea()->subWindowList().value(0);
            ASSERT_NE(sub, nullptr);
            sub->setGeometry(45, 30, 600, 420);
            switch (via) {
            case Via::Casella:
                sub->close();
                break;
            case Via::ChiudiTutto:
                w.mnuFinestreChiudiTutto_Click();
                break;
            case Via::Lingua:
                frmLanguage::applicaLingua()(nullptr);
                break;
            case Via::Uscita:
                w.close();
                break;
            }
            pausa();
            EXPECT_EQ(finestre(w), 0);
            const auto twips = [&](const char* k) {
                return vb::Val(fakes.settings.value(f.sezione, k).value_or("-1"));
            };
            EXPECT_NEAR(twips("Window_Left"), vb::PixelsToTwips(45), 16);
            EXPECT_NEAR(twips("Window_Top"), vb::PixelsToTwips(30), 16);
            EXPECT_NEAR(twips("Window_Width"), vb::PixelsToTwips(600), 16);
            EXPECT_NEAR(twips("Window_Height"), vb::PixelsToTwips(420), 16);
        }
    }
}
