// The ephemeris and relative-motion dialogs and the main window's commands
// that open them or save and print a listing.
#include "listing_fixture.h"
#include "support/date_field.h"
#include "support/x_input.h"

#include "database/database_window.h"
#include "listings/ephemeris_dialog.h"
#include "listings/listing_window.h"
#include "listings/relative_dialog.h"
#include "listings/links_listings.h"
#include "shell/main_window.h"
#include "common/window_links.h"
#include "database/menu_links.h"
#include "common/progress_window.h"
#include "platform/prompt.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QFile>

namespace {

using listtest::Listings;
using namespace listtest;

class Dialogs : public Listings {
protected:
    void SetUp() override
    {
        Listings::SetUp();
        // Principal: B, A, B (in file order); secondary: A alone.
        gudtDatabasePrimario = {RigaDati{}, ref.sets["B"], ref.sets["A"], ref.sets["B"]};
        gudtDatabaseSecondario.clear();
        gdatDataCorrente = locale(538);
    }
    void TearDown() override
    {
        for (QWidget* w : {static_cast<QWidget*>(frmCalc::instance(false)),
                           static_cast<QWidget*>(frmRelative::instance(false))})
            if (w)
                w->close();
        frmDatabase::Unload();
        gudtDatabasePrimario.clear();
        gudtDatabaseSecondario.clear();
        gstrDatabasePrimario.clear();
        Listings::TearDown();
    }
    static int riga(QListWidget* l, const QString& testo)
    {
        for (int i = 0; i < l->count(); ++i)
            if (l->item(i)->text() == testo)
                return i;
        return -1;
    }
};

TEST_F(Dialogs, EphemerisDialogDefaultsAndLimits)
{
    frmCalc* c = frmCalc::instance();
    EXPECT_EQ(c->c.DTPicker1->dateTime(), gdatDataCorrente);
    EXPECT_EQ(c->c.inizio(), gdatDataCorrente);
    EXPECT_EQ(c->c.fine(), gdatDataCorrente.addSecs(15 * 60));
    EXPECT_EQ(c->c.passo(), 15.0);
    EXPECT_TRUE(c->c.optOBS->isChecked());
    EXPECT_EQ(c->c.cmbDurata->count(), 60);
    EXPECT_EQ(c->c.cmbDurata->itemText(0), " 60");
    EXPECT_EQ(c->c.cmbDurata->itemText(59), " 1");
    EXPECT_EQ(c->SSTab1->currentIndex(), 0);
    // The principal list in text order, the secondary one empty.
    ASSERT_EQ(c->lstDatabase[0]->count(), 3);
    EXPECT_EQ(c->lstDatabase[0]->item(0)->text(), "DELTA 1 DEB");
    EXPECT_EQ(c->lstDatabase[0]->item(2)->text(), "ISS (ZARYA)");
    EXPECT_EQ(c->lstDatabase[0]->item(2)->data(Qt::UserRole).toInt(), 2);
    EXPECT_EQ(c->lstDatabase[1]->count(), 0);
    // The largest span and step: 60 days, 60 hours.
    c->c.cmbDurata->setCurrentIndex(0);
    c->c.cmbTipoDurata->setCurrentIndex(2);
    c->c.cmbIntervallo->setCurrentIndex(0);
    c->c.cmbTipoIntervallo->setCurrentIndex(2);
    EXPECT_EQ(c->c.fine(), gdatDataCorrente.addDays(60));
    EXPECT_EQ(c->c.passo(), 60.0 * 3600.0);
}

// A click on a part of the start, then digits: they replace that part, in
// both dialogs, and the listing starts there.
TEST_F(Dialogs, DigitsTypedAfterAClickEditTheStart)
{
    for (QWidget* d : {static_cast<QWidget*>(frmCalc::instance()), static_cast<QWidget*>(frmRelative::instance())}) {
        SCOPED_TRACE(d->objectName().toStdString());
        QDateTimeEdit* campo = d->findChild<QDateTimeEdit*>(QStringLiteral("DTPicker1"));
        ASSERT_NE(campo, nullptr);
        d->show();
        QApplication::setActiveWindow(d);
        // "Tue 26 Nov 2013    23:58:00": the day, then the minutes.
        testsupport::CliccaSezione(campo, 4);
        testsupport::Digita(campo, "09");
        testsupport::CliccaSezione(campo, 22);
        testsupport::Digita(campo, "10");
        EXPECT_EQ(campo->dateTime().toString(Qt::ISODate), "2013-11-09T23:10:00Z");
        // A click at the left edge of a part, coming from the right, selects
        // that part; one in the blanks before the hours the part it is
        // nearer, whichever part held the cursor.
        EXPECT_EQ(testsupport::ClicSuiBordiSinistri(campo).join(' ').toStdString(),
                  "Sat@0 09@4 Nov@7 2013@11 23@19 10@22 00@25");
        EXPECT_EQ(testsupport::ClicNelBianco(campo, 4).join("; ").toStdString(), "");
        // The seconds, then the blank before the hours on the side of the hours, and "07".
        testsupport::CliccaX(campo, testsupport::XPrima(campo, 26));
        testsupport::CliccaX(campo, testsupport::XAccanto(campo, 4));
        testsupport::Digita(campo, "07");
        EXPECT_EQ(campo->dateTime().toString(Qt::ISODate), "2013-11-09T07:10:00Z");
    }
    EXPECT_EQ(frmCalc::instance()->c.inizio(), QDateTime(QDate(2013, 11, 9), QTime(7, 10), Qt::UTC));
}

TEST_F(Dialogs, EphemerisOkListsTheChosenSatellite)
{
    frmCalc* c = frmCalc::instance();
    // Nothing chosen on the tab in front: a selection on the other tab does not count.
    EXPECT_EQ(c->cmdOK_Click(), nullptr);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, "Select a satellite first.");
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbInformation);

    c->lstDatabase[0]->setCurrentRow(riga(c->lstDatabase[0], "ISS (ZARYA)"));
    c->c.cmbDurata->setCurrentIndex(60 - 13);   // 13 minutes
    c->c.cmbIntervallo->setCurrentIndex(59);    // 1
    c->c.cmbTipoIntervallo->setCurrentIndex(1); // minute
    // Ctrl held with any key: the next listing keeps the pass only.
    QTest::keyClick(c->lstDatabase[0], Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(c->tastoCtrl());
    QTest::keyClick(c->c.cmbDurata, Qt::Key_Control, Qt::ControlModifier);
    EXPECT_TRUE(c->tastoCtrl());
    frmDetails* d = c->cmdOK_Click();
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(c->tastoCtrl());
    EXPECT_TRUE(d->blnSoloAltPositiva);
    EXPECT_EQ(gudtSatelementi[kSlotScratch].NumeroCatalogo, "25544");
    EXPECT_EQ(d->righe().at(1), "Satellite: Iss (zarya)");
    EXPECT_EQ(d->righe().size(), 10 + 10 + 1); // header, the ten minutes of the pass, trailer
    // The next one is whole again, from the double click.
    c->lstDatabase_DblClick(0);
    QList<frmDetails*> finestre;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<frmDetails*>(w))
            finestre << f;
    ASSERT_EQ(finestre.size(), 2);
    frmDetails* seconda = finestre[0] == d ? finestre[1] : finestre[0];
    EXPECT_FALSE(seconda->blnSoloAltPositiva);
    EXPECT_EQ(seconda->righe().size(), 10 + 14 + 1);
    d->close();
    seconda->close();
}

TEST_F(Dialogs, EphemerisDialogRefusesASetTheParserRefuses)
{
    RigaDati cattivo = ref.sets["A"];
    cattivo.Riga2.replace(52, 11, " 0.00000000");
    gudtDatabasePrimario = {RigaDati{}, cattivo};
    carica(kSlotScratch, ref.sets["B"]);
    frmCalc* c = frmCalc::instance();
    c->lstDatabase[0]->setCurrentRow(0);
    EXPECT_EQ(c->cmdOK_Click(), nullptr);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbExclamation);
    EXPECT_EQ(gudtSatelementi[kSlotScratch].NumeroCatalogo, "06251");
}

TEST_F(Dialogs, RelativeDialogChecksTheTwoSatellites)
{
    frmRelative* r = frmRelative::instance();
    EXPECT_TRUE(r->c.optECI->isChecked());
    EXPECT_EQ(r->c.passo(), 15.0);
    EXPECT_EQ(r->cmbDatabase[0]->currentText(), "DELTA 1 DEB");
    EXPECT_EQ(r->cmbDatabase[1]->currentIndex(), 0);
    // The same row of the same database: refused.
    EXPECT_EQ(r->cmdOK_Click(), nullptr);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, "Satellites A and B are the same satellite: choose two different ones.");
    // B from the secondary database, which is not loaded: its list is empty.
    r->SSTab1[1]->setCurrentIndex(1);
    EXPECT_EQ(r->cmbDatabase[1]->count(), 0);
    EXPECT_EQ(r->cmbDatabase[0]->count(), 3);
    EXPECT_EQ(r->cmdOK_Click(), nullptr);
    ASSERT_EQ(fakes.prompt.calls.size(), 2);
    EXPECT_EQ(fakes.prompt.calls[1].text, "Select both satellites first.");

    // With a secondary database, B comes from it and goes to slot 202.
    gudtDatabaseSecondario = {RigaDati{}, ref.sets["A"]};
    r->SSTab1[1]->setCurrentIndex(0);
    r->SSTab1[1]->setCurrentIndex(1);
    ASSERT_EQ(r->cmbDatabase[1]->count(), 1);
    EXPECT_EQ(r->cmbDatabase[0]->currentIndex(), 0);
    r->c.cmbDurata->setCurrentIndex(58); // 2 minutes
    r->c.cmbIntervallo->setCurrentIndex(59);
    r->c.cmbTipoIntervallo->setCurrentIndex(1);
    frmDetails* d = r->cmdOK_Click();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(gudtSatelementi[kSlotScratch].NumeroCatalogo, "06251");
    EXPECT_EQ(gudtSatelementi[kSlotSecondo].NumeroCatalogo, "25544");
    EXPECT_FALSE(d->blnSoloAltPositiva);
    // ECI: the ruler of the two satellites' vectors.
    EXPECT_TRUE(d->righe().at(10).startsWith(QString(25, u' ') + "------------Satellite A"));
    EXPECT_EQ(d->righe().size(), 13 + 3 + 1);
    d->close();
}

TEST_F(Dialogs, RelativeDialogKeysActOnAnOpenListFirst)
{
    // Return in satellite A's open list picks the satellite typed and
    // opens no listing; Escape there closes the list and keeps the dialog
    // and its choices. With the list closed, Return is OK and Escape Cancel.
    frmRelative* r = frmRelative::instance();
    r->show();
    QApplication::setActiveWindow(r);
    ASSERT_TRUE(QTest::qWaitForWindowActive(r));
    auto listati = [] {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += qobject_cast<frmDetails*>(w) != nullptr && w->isVisible();
        return n;
    };
    const int prima = listati();
    QComboBox* a = r->cmbDatabase[0];
    ASSERT_EQ(a->currentText(), "DELTA 1 DEB");
    a->setFocus();
    a->showPopup();
    ASSERT_TRUE(a->view()->isVisible());
    QTest::keyClicks(a->view(), QStringLiteral("ISS"));
    QTest::keyClick(a->view(), Qt::Key_Return);
    EXPECT_FALSE(a->view()->isVisible());
    EXPECT_EQ(a->currentText(), "ISS (ZARYA)");
    EXPECT_EQ(listati(), prima) << "Return in the open list opened a listing";
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
    a->showPopup();
    QTest::keyClick(a->view(), Qt::Key_Escape);
    EXPECT_FALSE(a->view()->isVisible());
    EXPECT_TRUE(r->isVisible()) << "Escape in the open list closed the dialog";
    EXPECT_EQ(a->currentText(), "ISS (ZARYA)");

    QTest::keyClick(a, Qt::Key_Return);
    EXPECT_EQ(listati(), prima + 1) << "Return with the list closed is OK";
    QApplication::setActiveWindow(r);
    a->setFocus();
    QTest::keyClick(a, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_TRUE(frmRelative::instance(false) == nullptr || !frmRelative::instance(false)->isVisible());
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<frmDetails*>(w))
            w->close();
}

TEST_F(Dialogs, MenuCommandsNeedThePrincipalDatabase)
{
    gudtDatabasePrimario.clear();
    MDIForm1 w;
    database::Collega_Finestre(w);
    listings::Collega_Elenchi(w);
    w.show();
    ASSERT_TRUE(w.menuItem("mnuSatellitiCalcoloEffemeridi")->isEnabled());
    // Cancel: nothing opens.
    fakes.prompt.answers = {platform::vbCancel};
    w.menuItem("mnuSatellitiCalcoloEffemeridi")->trigger();
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, "This function needs the principal element file. Load it now?");
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbOKCancel);
    EXPECT_EQ(frmCalc::instance(false), nullptr);

    // OK with the principal file named: loaded, its window hidden, the dialog shown.
    gstrDatabasePrimario = QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample.txt");
    fakes.prompt.answers = {platform::vbOK};
    w.menuItem("mnuSatellitiMotoRelativo")->trigger();
    ASSERT_NE(frmDatabase::instance(false), nullptr);
    EXPECT_EQ(frmDatabase::instance()->righe(0), 34);
    EXPECT_FALSE(frmDatabase::instance()->isVisible());
    ASSERT_NE(frmRelative::instance(false), nullptr);
    EXPECT_TRUE(frmRelative::instance()->isVisible());
    EXPECT_EQ(frmRelative::instance()->cmbDatabase[0]->count(), 34);

    // Loaded now: no question.
    const auto domande = fakes.prompt.calls.size();
    w.menuItem("mnuSatellitiCalcoloEffemeridi")->trigger();
    EXPECT_EQ(fakes.prompt.calls.size(), domande);
    ASSERT_NE(frmCalc::instance(false), nullptr);
    EXPECT_TRUE(frmCalc::instance()->isVisible());
    w.closeChildren();
}

// A listing, and a summary of an element file, take the keys as they open:
// Page Down right after moves through the lines, with no click or Tab first.
// Run again by itself on a display without a window manager and on one with
// openbox, once for Satellites > Ephemeris calculation (a satellite clicked,
// Enter) and once for File > View.
TEST_F(Dialogs, AListingAndASummaryTakeTheKeysAsTheyOpen)
{
    const QByteArray modo = qgetenv("ASTROVELA_ELENCO_TASTI");
    if (modo.isEmpty()) {
        testsupport::Riesegui_Per_Ogni("ASTROVELA_ELENCO_TASTI", {"effemeridi", "sommario"});
        testsupport::Riesegui_Per_Ogni("ASTROVELA_ELENCO_TASTI", {"effemeridi", "sommario"},
                                       testsupport::Gestore::Openbox);
        return;
    }
    using testsupport::InputX;
    InputX x;
    ASSERT_TRUE(x.pronto()) << x.errore().toStdString();
    const QString campione = QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample.txt");
    MDIForm1 w;
    database::Collega_Finestre(w);
    listings::Collega_Elenchi(w);
    w.Lingua();
    QString percorso = campione;
    ASSERT_TRUE(frmDatabase::instance()->Database_satelliti(percorso));
    ASSERT_TRUE(testsupport::Davanti_Con_La_Tastiera(w, {1100, 800}));

    QAbstractItemView* righe = nullptr;
    if (modo == "effemeridi") {
        x.premi(InputX::letteraDi(w.menu("mnuSatelliti")->title()), InputX::kAlt);
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == w.menu("mnuSatelliti"); }, 5000));
        x.premi(InputX::letteraDi(w.menuItem("mnuSatellitiCalcoloEffemeridi")->text()));
        ASSERT_TRUE(QTest::qWaitFor([] { return frmCalc::instance(false) && frmCalc::instance()->isVisible(); }, 5000));
        QListWidget* lista = frmCalc::instance()->lstDatabase[0];
        QTest::qWait(300);
        const int iss = riga(lista, "ISS (ZARYA)");
        ASSERT_GE(iss, 0);
        lista->scrollToItem(lista->item(iss));
        const QRect r = lista->visualItemRect(lista->item(iss));
        x.clic(lista->viewport()->mapToGlobal(r.center()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return lista->currentRow() == iss; }, 2000));
        x.premi(InputX::kInvio);
    } else {
        fakes.files.fileAnswers = {campione};
        x.premi(InputX::letteraDi(w.menu("mnuFile")->title()), InputX::kAlt);
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == w.menu("mnuFile"); }, 5000));
        x.premi(InputX::letteraDi(w.menuItem("mnuFileVisualizza")->text()));
    }
    frmDetails* d = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (QMdiSubWindow* s : w.mdiArea()->subWindowList())
                if (auto* f = qobject_cast<frmDetails*>(s->widget()); f && f->isVisible() && f->haRighe())
                    d = f;
            return d != nullptr && !QApplication::activeModalWidget();
        },
        20000));
    righe = modo == "effemeridi" ? static_cast<QAbstractItemView*>(d->List1) : d->ListView1;
    ASSERT_TRUE(righe->isVisible());
    ASSERT_GT(righe->verticalScrollBar()->maximum(), 0) << "the lines fit the window: nothing to move through";
    EXPECT_EQ(w.mdiArea()->activeSubWindow(), d->parentWidget());
    QTest::qWait(300); // as long as a user takes to reach for a key
    x.premi(InputX::kPaginaGiu);
    // The line shown as current goes a page down (or the lines scroll).
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return righe->currentIndex().row() > 1 || righe->verticalScrollBar()->value() > 0; }, 2000))
        << modo.constData() << ": Page Down did not move through the lines; the keyboard is on "
        << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "nothing");
    w.closeChildren();
}

// File > View of a long file that turns out bad while the user types in
// another program: that program keeps every key; the reason is told once
// the user is back.
TEST_F(Dialogs, AViewOfABadFileThatEndsLeavesTheKeyboardWhereTheUserIs)
{
    if (qEnvironmentVariableIsEmpty("ASTROVELA_FINE_VISTA")) {
        for (auto gestore : {testsupport::Gestore::Nessuno, testsupport::Gestore::Openbox})
            testsupport::Riesegui_Per_Ogni("ASTROVELA_FINE_VISTA", {"altroprogramma"}, gestore);
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
    // The sample many times over, then a set that is no set.
    QFile campione(QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample.txt"));
    ASSERT_TRUE(campione.open(QIODevice::ReadOnly));
    const QByteArray uno = campione.readAll();
    const QString file = m_dir.filePath("bad.txt");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (int i = 0; i < 300; ++i)
            f.write(uno);
        f.write("NOT A SET\r\n1 nothing here\r\n2 nothing here either\r\n");
    }
    MDIForm1 w;
    listings::Collega_Elenchi(w);
    w.Lingua();
    ASSERT_TRUE(testsupport::Davanti_Con_La_Tastiera(w, {940, 860}));
    QTest::qWait(300);

    bool altrove = false;
    QTimer utente;
    QObject::connect(&utente, &QTimer::timeout, [&] {
        const frmProgress* pr = frmProgress::instance(false);
        if (!pr || !pr->isVisible())
            return;
        utente.stop();
        x.clic(altro.campo());
        if (!QTest::qWaitFor([&] { return altro.attivo() && !QApplication::activeWindow(); }, 5000))
            return;
        x.premi('a');
        altrove = QTest::qWaitFor([&] { return altro.testo() == "a"; }, 3000) && frmProgress::instance(false);
    });
    utente.start(0);
    testsupport::MessaggiPresi messaggi;
    messaggi.start();
    fakes.files.fileAnswers = {file};
    w.menuItem("mnuFileVisualizza")->trigger();
    QTest::qWait(500);
    messaggi.stop();
    EXPECT_TRUE(messaggi.preso.isEmpty()) << "a message took the keyboard from the other program: " << messaggi.preso.toStdString();
    ASSERT_TRUE(altrove) << "the other program did not take the keys while the file was read";
    x.premi('b');
    EXPECT_TRUE(QTest::qWaitFor([&] { return altro.testo() == "ab"; }, 3000))
        << "the keys typed after the read went elsewhere (the other program has \"" << altro.testo().toStdString()
        << "\")";
    EXPECT_EQ(QApplication::activeWindow(), nullptr);

    testsupport::RispostaConUnClic risposte(x);
    x.clic(w.mdiArea()->mapToGlobal(w.mdiArea()->rect().center()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !risposte.messaggi.isEmpty() && !QApplication::activeModalWidget(); },
                                10000))
        << "the message did not come once the user was back";
    risposte.ferma();
    EXPECT_EQ(risposte.messaggi, QStringList{mLang::Testo_Lingua("Dialogs", "formatononvalido")});
}

TEST_F(Dialogs, SaveAndPrintReachTheActiveListing)
{
    MDIForm1 w;
    // Wired as the program does at start-up: the text viewer's commands
    // come after the listings'.
    listings::Collega_Elenchi(w);
    files::Collega_File(w);
    w.show();
    auto* d = new frmDetails;
    QMdiSubWindow* sub = w.mdiArea()->addSubWindow(d);
    sub->show();
    double passo = 60;
    ASSERT_TRUE(d->Genera_elenco(kSlotScratch, locale(0), locale(2), passo, 3));
    w.mdiArea()->setActiveSubWindow(sub);
    ASSERT_EQ(listings::Finestra_Attiva(w), d);
    ASSERT_NE(w.menu("mnuFile"), nullptr);
    w.menuItem("mnuFileSalva")->setEnabled(false);
    emit w.menu("mnuFile")->aboutToShow();
    EXPECT_TRUE(w.menuItem("mnuFileSalva")->isEnabled());
    const QString file = m_dir.filePath("menu.txt");
    fakes.files.fileAnswers = {file};
    w.menuItem("mnuFileSalva")->trigger();
    EXPECT_TRUE(QFile::exists(file));
    const QString pdf = m_dir.filePath("menu.pdf");
    fakes.files.printerAnswers = {pdf};
    w.menuItem("mnuFileStampa")->trigger();
    EXPECT_TRUE(QFile::exists(pdf));

    // A summary table saves its rows, in the order shown, one line each.
    auto* s = new frmDetails;
    QMdiSubWindow* sub2 = w.mdiArea()->addSubWindow(s);
    sub2->show();
    gudtFileVisualizzato = {RigaDati{}, ref.sets["A"], ref.sets["B"]};
    s->Sommario(2);
    gudtFileVisualizzato.clear();
    ASSERT_EQ(s->ListView1->topLevelItemCount(), 2);
    // A click on the real header sorts, with its arrow; a second reverses.
    QHeaderView* intestazione = s->ListView1->header();
    auto clic = [&](int colonna) {
        QApplication::processEvents();
        const QPoint p(intestazione->sectionViewportPosition(colonna) + intestazione->sectionSize(colonna) / 2,
                       intestazione->height() / 2);
        QTest::mouseClick(intestazione->viewport(), Qt::LeftButton, Qt::NoModifier, p);
    };
    clic(1);  // by name: Delta first
    EXPECT_TRUE(s->ListView1->topLevelItem(0)->text(1).contains("Delta")) << s->ListView1->topLevelItem(0)->text(1).toStdString();
    EXPECT_TRUE(intestazione->isSortIndicatorShown());
    EXPECT_EQ(intestazione->sortIndicatorSection(), 1);
    EXPECT_EQ(intestazione->sortIndicatorOrder(), Qt::AscendingOrder);
    clic(1);  // and again: Iss first
    EXPECT_TRUE(s->ListView1->topLevelItem(0)->text(1).contains("Iss"));
    EXPECT_EQ(intestazione->sortIndicatorOrder(), Qt::DescendingOrder);
    clic(0);  // another column: by number, ascending
    EXPECT_EQ(intestazione->sortIndicatorSection(), 0);
    EXPECT_EQ(intestazione->sortIndicatorOrder(), Qt::AscendingOrder);
    EXPECT_LT(s->ListView1->topLevelItem(0)->text(0), s->ListView1->topLevelItem(1)->text(0));
    clic(1);
    clic(1);  // Iss first again
    w.mdiArea()->setActiveSubWindow(sub2);
    s->ListView1->setFocus();
    emit w.menu("mnuFile")->aboutToShow();
    EXPECT_TRUE(w.menuItem("mnuFileSalva")->isEnabled());
    const QString sommario = m_dir.filePath("summary.txt");
    fakes.files.fileAnswers = {sommario};
    w.menuItem("mnuFileSalva")->trigger();
    QFile letto(sommario);
    ASSERT_TRUE(letto.open(QIODevice::ReadOnly));
    const QList<QByteArray> righe = letto.readAll().split('\n');
    ASSERT_EQ(righe.size(), 3);  // two rows, each ended by CR LF
    EXPECT_TRUE(righe[0].startsWith("25544 Iss (zarya)  ")) << righe[0].toStdString();
    EXPECT_TRUE(righe[1].contains("Delta 1 Deb")) << righe[1].toStdString();
    EXPECT_TRUE(righe[0].endsWith("\r"));
    EXPECT_TRUE(righe[2].isEmpty());
    w.closeChildren();
}

} // namespace
