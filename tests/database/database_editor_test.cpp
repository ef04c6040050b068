// The working-list editor of the database window, its drag and drop and its
// list events, watched through the working list's change signal.
#include "database_fixture.h"

#include "controls/graph_button.h"
#include "database/element_set_viewer.h"

#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMimeData>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTimer>

#include <map>

namespace {

using dbtest::DatabaseWindow;

// Sets A, B, C ... made from one sample set, catalogue numbers 10001 on.
RigaDati lettera(int i)
{
    RigaDati s = dbtest::set("25544");
    s.Riga0 = std::string(1, char('A' + i % 26)) + (i >= 26 ? std::to_string(i) : std::string());
    s.Riga1.replace(2, 5, std::to_string(10001 + i));
    return s;
}

class DatabaseEditor : public DatabaseWindow {
protected:
    void elencaLettere(int n)
    {
        std::vector<RigaDati> v;
        for (int i = 0; i < n; ++i)
            v.push_back(lettera(i));
        elenca(v);
    }
    std::string nomi() const
    {
        std::string s;
        for (const auto& n : nomiElencati())
            s += n + ",";
        return s;
    }
    void selezionaAttivi(frmDatabase* f, std::initializer_list<int> righe)
    {
        f->lstActive->clearSelection();
        for (int r : righe) {
            f->lstActive->item(r)->setSelected(true);
            f->lstActive->setCurrentRow(r, QItemSelectionModel::NoUpdate);
        }
    }
    // The database rows of these catalogue numbers.
    QList<int> righeDi(frmDatabase* f, std::initializer_list<const char*> numeri)
    {
        QList<int> r;
        for (const char* n : numeri)
            for (int i = 0; i < f->righe(0); ++i)
                if (gudtDatabasePrimario[size_t(f->modello[0]->voce(i))].Riga1.substr(2, 5) == n)
                    r << i;
        std::sort(r.begin(), r.end());
        return r;
    }
};

TEST_F(DatabaseEditor, AddSelectedRowsWithDuplicatesAndTheLimit)
{
    frmDatabase* f = caricato();
    QSignalSpy cambi(&core::WorkingList::instance(), &core::WorkingList::changed);

    f->cmdAdd_Click(0);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, "No satellite is selected.");
    EXPECT_EQ(gintNumSatelliti, 0);

    // Three rows, exactly those, in list order (AMC-4 before ISS by name).
    f->seleziona(0, righeDi(f, {"25544", "26975", "23599"}));
    EXPECT_EQ(f->lblNumeroSelezionati[0]->text(), "3");
    fakes.prompt.calls.clear();
    f->cmdAdd_Click(0);
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
    ASSERT_EQ(gintNumSatelliti, 3);
    const QList<int> righe = righeDi(f, {"25544", "26975", "23599"});
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(gudtRigheAttive[size_t(k + 1)], gudtDatabasePrimario[size_t(f->modello[0]->voce(righe[k]))]);
    EXPECT_EQ(f->lstActive->count(), 3);
    EXPECT_EQ(f->lblNumeroSatellitiAttivi->text(), "3");
    EXPECT_GE(cambi.size(), 1);

    // Again with one new row: one message for the listed one, naming it.
    f->seleziona(0, righeDi(f, {"25544", "00005"}));
    fakes.prompt.calls.clear();
    f->cmdAdd_Click(0);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, "This satellite is already in the working list.\r\nIss (zarya)");
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbInformation);
    EXPECT_EQ(gintNumSatelliti, 4);
    EXPECT_EQ(gudtRigheAttive[4].Riga0, "SGP4-VER 00005");

    // Every row of the file: the new ones are added once each, and one
    // message names those already listed (the four added before, and the
    // second set of a catalogue number that the file holds twice).
    std::set<std::string> numeri;
    for (int e = 1; e < int(gudtDatabasePrimario.size()); ++e)
        numeri.insert(gudtDatabasePrimario[size_t(e)].Riga1.substr(2, 5));
    const int distinti = int(numeri.size());
    f->seleziona(0, [&] {
        QList<int> r;
        for (int i = 0; i < f->righe(0); ++i)
            r << i;
        return r;
    }());
    fakes.prompt.calls.clear();
    f->cmdAdd_Click(0);
    EXPECT_EQ(gintNumSatelliti, distinti);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    const QStringList righeMsg = fakes.prompt.calls[0].text.split("\r\n");
    EXPECT_EQ(righeMsg.value(0), "This satellite is already in the working list.");
    EXPECT_EQ(righeMsg.size(), 1 + 34 - (distinti - 4)) << fakes.prompt.calls[0].text.toStdString();
    EXPECT_TRUE(righeMsg.contains("Iss (zarya)"));
    EXPECT_TRUE(righeMsg.contains("Sgp4-ver 00005"));
    // And all 34 again: ten names, then the count of the other 24.
    fakes.prompt.calls.clear();
    f->cmdAdd_Click(0);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    const QStringList tutte = fakes.prompt.calls[0].text.split("\r\n");
    EXPECT_EQ(tutte.size(), 12);
    EXPECT_EQ(tutte.last(), "(+24)");
    EXPECT_EQ(gintNumSatelliti, distinti);
}

TEST_F(DatabaseEditor, AddStopsAtTwoHundred)
{
    elencaLettere(199);
    frmDatabase* f = caricato();
    ASSERT_EQ(gintNumSatelliti, 0); // none of the letters is in the file
    elencaLettere(199);
    fakes.prompt.calls.clear();
    f->seleziona(0, {0, 1, 2});
    f->cmdAdd_Click(0);
    EXPECT_EQ(gintNumSatelliti, 200);
    // One message, also when the limit stops the operation.
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text,
              "The working list already holds 200 satellites.\rRemove a satellite before adding another.");
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbExclamation);
    EXPECT_EQ(gudtRigheAttive[200].Riga1, gudtDatabasePrimario[size_t(f->modello[0]->voce(0))].Riga1);
}

// A set read out of its columns is refused with a message that says where:
// the line and the columns of the number split by a blank.
TEST_F(DatabaseEditor, AShiftedSetIsRefusedSayingWhere)
{
    RigaDati spostato = dbtest::set("25544");
    spostato.Riga0 = "SHIFTED";
    spostato.Riga2.replace(52, 11, "  4.79 1234");
    frmDatabase* f = frmDatabase::instance();
    QString p = scrivi(QByteArray::fromStdString(spostato.Riga0 + "\r\n" + spostato.Riga1 + "\r\n"
                                                 + spostato.Riga2 + "\r\n"));
    ASSERT_TRUE(f->Database_satelliti(p));
    f->seleziona(0, {0});
    fakes.prompt.calls.clear();
    f->cmdAdd_Click(0);
    EXPECT_EQ(gintNumSatelliti, 0);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text,
              "This element set cannot be used and has been left out:\r\nSHIFTED\r\n"
              "a number is split by a blank: the line is out of its columns (line 2, columns 53-63)");
}

TEST_F(DatabaseEditor, RemoveKeepsOrderAndScratchSlots)
{
    elencaLettere(10);
    frmDatabase* f = frmDatabase::instance();
    gudtRigheAttive[kSlotScratch] = {"SCRATCH", "1", "2"};
    gudtRigheAttive[kSlotSecondo] = {"SECOND", "1", "2"};
    f->cmdRemove_Click(0);
    EXPECT_EQ(fakes.prompt.texts(), QStringList{"No satellite is selected."});
    selezionaAttivi(f, {1, 4});
    f->cmdRemove_Click(1);
    EXPECT_EQ(nomi(), "A,C,D,F,G,H,I,J,");
    EXPECT_EQ(f->lstActive->count(), 8);
    EXPECT_EQ(f->lstActive->item(2)->text(), "D");
    EXPECT_EQ(f->lblNumeroSatellitiAttivi->text(), "8");
    EXPECT_EQ(gudtRigheAttive[kSlotScratch].Riga0, "SCRATCH");
    EXPECT_EQ(gudtRigheAttive[kSlotSecondo].Riga0, "SECOND");
    EXPECT_TRUE(gudtRigheAttive[9].Riga0.empty());

    // The last one: the remove buttons are disabled until the next click.
    f->lstActive_Click();
    EXPECT_TRUE(f->cmdRemove[0]->isEnabled());
    selezionaAttivi(f, {0, 1, 2, 3, 4, 5, 6, 7});
    f->cmdRemove_Click(0);
    EXPECT_EQ(gintNumSatelliti, 0);
    EXPECT_FALSE(f->cmdRemove[0]->isEnabled());
    EXPECT_FALSE(f->cmdRemove[1]->isEnabled());
}

TEST_F(DatabaseEditor, RemoveAllAsksFirst)
{
    elencaLettere(3);
    frmDatabase* f = frmDatabase::instance();
    fakes.prompt.answers = {platform::vbNo};
    f->cmdRemoveAll_Click();
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2);
    EXPECT_EQ(gintNumSatelliti, 3);
    fakes.prompt.answers = {platform::vbYes};
    f->cmdRemoveAll_Click();
    EXPECT_EQ(gintNumSatelliti, 0);
    EXPECT_EQ(f->lstActive->count(), 0);
    EXPECT_EQ(f->lblNumeroSatellitiAttivi->text(), "0");
    // Nothing to remove: no question.
    f->cmdRemoveAll_Click();
    EXPECT_EQ(fakes.prompt.calls.size(), 2);
}

TEST_F(DatabaseEditor, MovesPrincipalAndRotation)
{
    elencaLettere(6);
    frmDatabase* f = frmDatabase::instance();

    // No selection, or two rows: a message, nothing moves.
    f->cmdUp_Click();
    selezionaAttivi(f, {1, 2});
    f->cmdPrincipale_Click();
    EXPECT_EQ(fakes.prompt.texts(), QStringList(2, "Please select one satellite of the working list."));
    EXPECT_EQ(nomi(), "A,B,C,D,E,F,");

    selezionaAttivi(f, {3});
    f->cmdPrincipale_Click();
    EXPECT_EQ(nomi(), "D,B,C,A,E,F,");
    EXPECT_TRUE(f->lstActive->item(0)->isSelected());
    EXPECT_TRUE(gudtRigheAttive[kSlotScratch].Riga0.empty());

    selezionaAttivi(f, {2});
    f->cmdUp_Click();
    EXPECT_EQ(nomi(), "D,C,B,A,E,F,");
    EXPECT_TRUE(f->lstActive->item(1)->isSelected());
    f->cmdUp_Click();
    EXPECT_EQ(nomi(), "C,D,B,A,E,F,");
    f->cmdUp_Click(); // row 0: nothing
    EXPECT_EQ(nomi(), "C,D,B,A,E,F,");
    f->cmdDown_Click();
    EXPECT_EQ(nomi(), "D,C,B,A,E,F,");
    selezionaAttivi(f, {5});
    f->cmdDown_Click(); // last row: nothing
    EXPECT_EQ(nomi(), "D,C,B,A,E,F,");
    EXPECT_EQ(f->lstActive->item(0)->text(), "D");

    f->cmdOrder_Click();
    EXPECT_EQ(nomi(), "C,B,A,E,F,D,");
    EXPECT_EQ(f->lstActive->item(5)->text(), "D");
    // Another window makes slot 4 the principal.
    f->Principale(4);
    EXPECT_EQ(nomi(), "E,B,A,C,F,D,");
    EXPECT_EQ(fakes.prompt.calls.size(), 2);

    core::WorkingList::instance().Rimuovi_Tutti();
    f->cmdOrder_Click(); // empty: nothing, no message
    EXPECT_EQ(gintNumSatelliti, 0);
    EXPECT_EQ(fakes.prompt.calls.size(), 2);
}

TEST_F(DatabaseEditor, HorizonSelectionAgreesWithSkyfield)
{
    // The sample sets with their epoch 2 hours before the clock, and
    // Skyfield's elevations at the same instant for the same observer.
    frmDatabase* f = frmDatabase::instance();
    QString p = QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample_horizon.txt");
    ASSERT_TRUE(f->Database_satelliti(p));
    const std::map<long, double> elevazione = dbtest::elevazioni();
    ASSERT_EQ(elevazione.size(), 33u); // 20413 twice
    f->seleziona(0, {0, 1, 2}); // an earlier selection goes
    pflgSatellite = true;
    f->cmdVisibili_Click(0);
    EXPECT_TRUE(pflgSatellite);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    const QList<int> scelte = f->righeSelezionate(0);
    int confrontati = 0, sopra = 0;
    for (int r = 0; r < f->righe(0); ++r) {
        const RigaDati& s = gudtDatabasePrimario[size_t(f->modello[0]->voce(r))];
        const double h = elevazione.at(std::stol(s.Riga1.substr(2, 5)));
        if (std::isnan(h) || std::abs(h) < 1.0)
            continue;
        ++confrontati;
        sopra += h > 0;
        EXPECT_EQ(scelte.contains(r), h > 0) << s.Riga0 << " elevation " << h;
    }
    EXPECT_GE(confrontati, 30);
    EXPECT_EQ(sopra, 12);
}

TEST_F(DatabaseEditor, HorizonSelectionSkipsSetsItCannotCompute)
{
    // A set of zero mean motion and one whose line 2 is not an element
    // line load (the loader reads only the epoch and the catalogue number),
    // but cannot be computed: they are never selected, and the clock and
    // the pointer come back.
    RigaDati ferma = dbtest::set("25544");
    ferma.Riga0 = "STILL";
    ferma.Riga1.replace(2, 5, "20001");
    ferma.Riga2.replace(2, 5, "20001");
    ferma.Riga2.replace(52, 11, " 0.00000000");
    RigaDati rotta = dbtest::set("25544");
    rotta.Riga0 = "BROKEN";
    rotta.Riga1.replace(2, 5, "20002");
    rotta.Riga2 = "2 20002  not an element line";
    QByteArray testo;
    for (const RigaDati& s : {ferma, rotta, dbtest::set("25544")})
        testo += QByteArray::fromStdString(s.Riga0 + "\r\n" + s.Riga1 + "\r\n" + s.Riga2 + "\r\n");
    frmDatabase* f = frmDatabase::instance();
    QString p = scrivi(testo);
    ASSERT_TRUE(f->Database_satelliti(p));
    ASSERT_EQ(f->righe(0), 3); // BROKEN, ISS (ZARYA), STILL
    f->seleziona(0, {0, 1, 2});
    f->cmdVisibili_Click(0);
    EXPECT_TRUE(pflgSatellite);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    const QList<int> scelte = f->righeSelezionate(0);
    EXPECT_FALSE(scelte.contains(0));
    EXPECT_FALSE(scelte.contains(2));
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
}

TEST_F(DatabaseEditor, DropAddsTheSelectedRowsOfTheShownList)
{
    frmDatabase* f = caricato();
    QString p = dbtest::kSample;
    ASSERT_TRUE(f->Database_satelliti_secondario(p));
    f->SSTab1->setCurrentIndex(1);
    f->seleziona(1, {3, 4});
    f->seleziona(0, {5});

    auto drop = [&](const QString& formato) {
        QMimeData mime;
        mime.setData(formato, QByteArray("rows"));
        // As the window system delivers a drop: enter, then drop.
        QDragEnterEvent entra(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f->lstActive->viewport(), &entra);
        QDropEvent ev(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f->lstActive->viewport(), &ev);
    };
    drop(QStringLiteral("text/plain")); // something else: nothing
    EXPECT_EQ(gintNumSatelliti, 0);
    drop(QString::fromLatin1(database::kMimeDatabase));
    ASSERT_EQ(gintNumSatelliti, 2);
    EXPECT_EQ(gudtRigheAttive[1].Riga1, gudtDatabaseSecondario[size_t(f->modello[1]->voce(3))].Riga1);
    EXPECT_EQ(f->lstActive->currentRow(), 1);
    // Again: both refused, in one message that names them.
    drop(QString::fromLatin1(database::kMimeDatabase));
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text.count("\r\n"), 2);
    EXPECT_EQ(gintNumSatelliti, 2);

    // Only the left button alone starts a drag, of a band one row high.
    int trascinati = 0;
    f->trascinamentoDiProva = [&](int) { ++trascinati; };
    EXPECT_FALSE(f->lstDatabase_MouseMove(0, Qt::RightButton, 40));
    EXPECT_FALSE(f->lstDatabase_MouseMove(0, Qt::LeftButton | Qt::RightButton, 40));
    EXPECT_TRUE(f->lstDatabase_MouseMove(0, Qt::LeftButton, 40));
    EXPECT_EQ(trascinati, 1);
    EXPECT_EQ(f->lblGhost->height(), f->lstDatabase[0]->fontMetrics().height());
    EXPECT_EQ(f->lblGhost->width(), f->lstDatabase[0]->width());
}

TEST_F(DatabaseEditor, DoubleClicksOpenTheViewer)
{
    frmDatabase* f = caricato();
    elencaLettere(5);
    int visto = -1;
    QString intestazione;
    bool navigabile = true;
    auto chiudi = [&] {
        QTimer::singleShot(0, [&] {
            if (auto* v = qobject_cast<frmSatellite*>(QApplication::activeModalWidget())) {
                visto = v->slot();
                intestazione = v->lblSatellite->text();
                navigabile = v->cmdSuccessivo->isEnabled();
                v->cmdOK_Click();
            }
        });
    };
    f->lstActive->setCurrentRow(2);
    chiudi();
    f->lstActive_DblClick();
    EXPECT_EQ(visto, 3);
    EXPECT_EQ(intestazione, "Satellite #3");
    EXPECT_TRUE(navigabile);
    EXPECT_EQ(frmSatellite::gintIndice, 0);

    const int riga = righeDi(f, {"25544"})[0];
    f->seleziona(0, {riga});
    f->lstDatabase[0]->setCurrentIndex(f->modello[0]->index(riga));
    chiudi();
    f->lstDatabase_DblClick(0);
    EXPECT_EQ(visto, kSlotScratch);
    EXPECT_TRUE(intestazione.isEmpty());
    EXPECT_FALSE(navigabile);
    EXPECT_EQ(gudtRigheAttive[kSlotScratch].Riga0, "ISS (ZARYA)");
    EXPECT_EQ(gintNumSatelliti, 5);
}

} // namespace
