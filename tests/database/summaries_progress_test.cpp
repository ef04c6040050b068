// Element-file summaries, the progress window's Stop, the calendar and the
// element-set viewer's navigation.
#include "database_fixture.h"

#include "controls/graph_button.h"
#include "controls/progress_bar.h"
#include "database/element_set_viewer.h"
#include "common/calendar.h"
#include "common/progress_window.h"
#include "listings/listing_window.h"
#include "support/elements_sample_ref.h"

#include <QCalendarWidget>
#include <QHeaderView>
#include <QPointer>
#include <QLabel>
#include <QTimer>
#include <QTreeWidget>


namespace {

using dbtest::DatabaseWindow;
using dbtest::kSample;

using campione::Riferimento;
using campione::riferimenti;

using Summaries = DatabaseWindow;

TEST_F(Summaries, DatabaseSummaryAgainstSgp4)
{
    caricato();
    auto* d = new frmDetails;
    d->Sommario(0);
    EXPECT_EQ(d->windowTitle(), "Summary of the principal database");
    ASSERT_EQ(d->ListView1->topLevelItemCount(), 34);
    EXPECT_EQ(d->ListView1->headerItem()->text(10), "Age (days)");
    EXPECT_TRUE(d->ListView1->isVisibleTo(d));
    const auto ref = riferimenti();
    for (int i = 0; i < 34; ++i) {
        const QTreeWidgetItem* it = d->ListView1->topLevelItem(i);
        const Riferimento& r = ref[size_t(i)];
        SCOPED_TRACE(it->text(1).toStdString());
        EXPECT_EQ(it->text(0).toLong(), r.catalogo);
        EXPECT_EQ(it->text(0).size(), 5);
        EXPECT_EQ(it->text(1).size(), 24);
        EXPECT_EQ(it->text(4), QString::asprintf("%8.4f", r.inclinazione));
        // Numbers longer than their field keep every digit.
        EXPECT_EQ(it->text(5), QString::asprintf("%6.1f", r.periodo));
        EXPECT_EQ(it->text(6), QString::asprintf("%8.4f", r.nodo));
        EXPECT_EQ(it->text(7), QString::asprintf("%9.7f", r.eccentricita));
        EXPECT_EQ(it->text(10), QString::asprintf("%5.1f", dbtest::kAdesso - r.epoca));
    }
    // ISS: launch 1998-067A, magnitude -1.3, set number 106.
    const QTreeWidgetItem* iss = d->ListView1->topLevelItem(33);
    EXPECT_EQ(iss->text(2), "1998");
    EXPECT_EQ(iss->text(3), " 67  A");
    EXPECT_EQ(iss->text(8), "-1.3");
    EXPECT_EQ(iss->text(9), " 106");
    EXPECT_EQ(d->ListView1->topLevelItem(2)->text(8), " ???");
    EXPECT_EQ(frmProgress::instance(false), nullptr);
    // The table is the page shown, filling the window, and no caption is
    // cut by its column.
    d->resize(d->sizeHint());
    d->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(d->ListView1->geometry(), d->rect());
    const QFontMetrics fm(d->ListView1->header()->font());
    for (int c = 0; c < 11; ++c)
        EXPECT_GT(d->ListView1->columnWidth(c), fm.horizontalAdvance(d->ListView1->headerItem()->text(c)))
            << d->ListView1->headerItem()->text(c).toStdString();

    // Header clicks: ascending, descending, ascending; another column ascending.
    d->ListView1_ColumnClick(2);
    EXPECT_EQ(d->ListView1->topLevelItem(0)->text(1).trimmed(), "Amc-4"); // names in proper case
    d->ListView1_ColumnClick(2);
    EXPECT_EQ(d->ordine(), Qt::DescendingOrder);
    EXPECT_EQ(d->ListView1->topLevelItem(0)->text(1).trimmed(), "Xm-3");
    d->ListView1_ColumnClick(2);
    EXPECT_EQ(d->ordine(), Qt::AscendingOrder);
    d->ListView1_ColumnClick(1);
    EXPECT_EQ(d->colonnaOrdinata(), 0);
    EXPECT_EQ(d->ordine(), Qt::AscendingOrder);
    EXPECT_EQ(d->ListView1->topLevelItem(0)->text(0), "00005");
    delete d;
}

TEST_F(Summaries, FilesWithAnyLineEndAndTheirFaults)
{
    // LF-only line ends read as well as CR LF.
    QByteArray lf = dbtest::leggi(kSample);
    lf.replace("\r\n", "\n");
    auto* d = new frmDetails;
    EXPECT_TRUE(d->LeggiDiretto(scrivi(lf)));
    EXPECT_EQ(d->ListView1->topLevelItemCount(), 34);
    EXPECT_TRUE(d->windowTitle().startsWith("View element file - "));
    delete d;

    // An incomplete last set ends the file without a message.
    const QByteArray crlf = dbtest::leggi(kSample);
    d = new frmDetails;
    EXPECT_TRUE(d->LeggiDiretto(scrivi(crlf + "EXTRA\r\n1 99999U")));
    EXPECT_EQ(d->ListView1->topLevelItemCount(), 34);
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
    delete d;

    // A zero mean motion is not a valid set.
    QByteArray zero = crlf;
    zero.replace("15.56387291  6774", " 0.00000000  6774");
    d = new frmDetails;
    EXPECT_FALSE(d->LeggiDiretto(scrivi(zero, QStringLiteral("zero.txt"))));
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, "The file is not in a valid element-set format.");
    EXPECT_TRUE(fakes.prompt.calls[0].title.endsWith("zero.txt"));
    delete d;

    // Leggi stops at the first empty name line, LF-only or not.
    QByteArray vuota = lf;
    vuota.insert(lf.indexOf("MOLNIYA 2-14"), "\n");
    QPointer<frmDetails> l = new frmDetails;
    l->Leggi(scrivi(vuota));
    ASSERT_TRUE(l);
    EXPECT_EQ(l->ListView1->topLevelItemCount(), 3);
    EXPECT_TRUE(gudtFileVisualizzato.empty());
    delete l;
}

TEST_F(Summaries, StopEndsTheSummaryAndOnlyThatOne)
{
    // A summary of 20,000 sets, stopped as soon as it starts.
    const QByteArray uno = dbtest::leggi(kSample).left(dbtest::leggi(kSample).indexOf("SGP4-VER 04632"));
    QByteArray grande;
    for (int i = 0; i < 20000; ++i)
        grande += uno;
    auto* d = new frmDetails;
    QTimer::singleShot(0, [] {
        if (frmProgress* p = frmProgress::instance(false)) {
            p->cmdCancel_Click();
            p->cmdCancel_Click(); // twice: no further effect
            EXPECT_TRUE(p->isVisible());
        }
    });
    EXPECT_TRUE(d->LeggiDiretto(scrivi(grande)));
    EXPECT_GT(d->ListView1->topLevelItemCount(), 0);
    EXPECT_LT(d->ListView1->topLevelItemCount(), 20000);
    EXPECT_FALSE(pflgArresta);
    EXPECT_EQ(frmProgress::instance(false), nullptr);
    delete d;

    // Closing the window while it fills stops the task; the window stays
    // until it is closed again.
    QPointer<frmDetails> chiusa = new frmDetails;
    chiusa->setAttribute(Qt::WA_DeleteOnClose);
    QTimer::singleShot(0, [&] { chiusa->close(); });
    EXPECT_TRUE(chiusa->LeggiDiretto(scrivi(grande, QStringLiteral("big2.txt"))));
    ASSERT_TRUE(chiusa);
    EXPECT_LT(chiusa->ListView1->topLevelItemCount(), 20000);
    EXPECT_FALSE(pflgArresta);
    chiusa->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(chiusa);

    // A Stop left over from the end of a task does not stop the next one.
    pflgArresta = true;
    d = new frmDetails;
    EXPECT_TRUE(d->LeggiDiretto(kSample));
    EXPECT_EQ(d->ListView1->topLevelItemCount(), 34);
    delete d;
}

TEST_F(Summaries, ProgressWindowPattern)
{
    frmProgress* p = frmProgress::Mostra(QStringLiteral("Reading satellites..."), 1000);
    EXPECT_EQ(p->lblTask->text(), "Reading satellites...");
    EXPECT_EQ(p->ProgressBar1->Max(), 1000);
    EXPECT_EQ(p->windowTitle(), platform::applicationTitle());
    EXPECT_TRUE(frmProgress::Passo(10));
    p->cmdCancel_Click();
    EXPECT_TRUE(p->isVisible());
    EXPECT_FALSE(frmProgress::Passo(20)); // the task sees the Stop once
    EXPECT_FALSE(pflgArresta);
    EXPECT_TRUE(frmProgress::Passo(30));
    p->close(); // the close box asks to stop too; the task closes the window
    EXPECT_TRUE(p->isVisible());
    EXPECT_TRUE(pflgArresta);
    frmProgress::Unload();
    EXPECT_FALSE(pflgArresta);
    EXPECT_EQ(frmProgress::instance(false), nullptr);
}

TEST_F(Summaries, CalendarOpensOnTheProgramDate)
{
    gdatDataCorrente = QDateTime(QDate(2031, 7, 14), QTime(22, 0), Qt::UTC);
    frmCalendar* c = frmCalendar::Mostra();
    EXPECT_EQ(c->windowTitle(), "Calendar");
    EXPECT_EQ(c->MonthView1->selectedDate(), QDate(2031, 7, 14));
    EXPECT_EQ(c->MonthView1->monthShown(), 7);
    EXPECT_EQ(c->MonthView1->y(), vb::TwipsToPixels(100));
    EXPECT_EQ(c->width(), c->MonthView1->width() + vb::TwipsToPixels(100));
    EXPECT_EQ(c->height(), c->MonthView1->height() + vb::TwipsToPixels(500));
    EXPECT_EQ(frmCalendar::Mostra(), c); // one window
    c->close();
}

TEST_F(Summaries, ViewerStepsThroughTheWorkingList)
{
    for (const char* n : {"25544", "00005", "22674", "23177", "21897"})
        elenca({dbtest::set(n)});
    frmSatellite::gintIndice = 3;
    auto* v = new frmSatellite;
    EXPECT_EQ(v->lblSatellite->text(), "Satellite #3");
    EXPECT_EQ(v->etichetta("lblZeroLine")->text(), "SL-6 R/B(2)");
    EXPECT_TRUE(v->windowTitle().startsWith("Orbital elements - "));
    v->cmdSuccessivo_Click();
    v->cmdSuccessivo_Click();
    EXPECT_EQ(v->etichetta("lblNoradNumber")->text(), "21897");
    v->cmdSuccessivo_Click(); // slot 6: placeholders
    EXPECT_EQ(v->lblSatellite->text(), "Satellite #6");
    EXPECT_EQ(v->etichetta("lblZeroLine")->text(), "N");
    EXPECT_EQ(v->etichetta("lblApogee")->text(), "0.0");
    EXPECT_EQ(v->etichetta("lblNoradNumber")->text(), "0");
    for (int i = 0; i < 300; ++i)
        v->cmdSuccessivo_Click();
    EXPECT_EQ(v->slot(), 200);
    v->cmdUltimo_Click();
    EXPECT_EQ(v->slot(), 5);
    v->cmdPrimo_Click();
    v->cmdPrecedente_Click();
    EXPECT_EQ(v->slot(), 1);
    EXPECT_EQ(v->etichetta("lblNoradNumber")->text(), "25544");
    delete v;
    EXPECT_EQ(frmSatellite::gintIndice, 0);

    core::WorkingList::instance().Rimuovi_Tutti();
    frmSatellite::gintIndice = 0; // taken as 1
    v = new frmSatellite;
    EXPECT_EQ(v->slot(), 1);
    v->cmdUltimo_Click();
    EXPECT_EQ(v->slot(), 200);
    EXPECT_EQ(v->etichetta("lblSecondLine")->text(), "2");
    delete v;
}

} // namespace
