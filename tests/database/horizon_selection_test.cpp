// The database window's horizon selection over a whole catalogue: it shows
// the progress window, can be stopped, and keeps its rows right when the
// list is re-sorted or the window goes while it runs.
#include "database_fixture.h"

#include "common/progress_window.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTimer>

#include <cmath>
#include <map>

namespace {

using dbtest::DatabaseWindow;

constexpr int kCopie = 600; // 34 sets each: 20,400 sets

class HorizonSelection : public DatabaseWindow {
protected:
    // A catalogue of kCopie copies of the horizon sample, each set with a
    // catalogue number of its own and its original number as its name.
    frmDatabase* caricaGrande()
    {
        const QList<QByteArray> r =
            dbtest::leggi(QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample_horizon.txt")).split('\n');
        QByteArray testo;
        int numero = 0;
        for (int c = 0; c < kCopie; ++c) {
            for (int i = 0; i + 2 < r.size(); i += 3) {
                QByteArray r1 = r[i + 1].trimmed();
                QByteArray r2 = r[i + 2].trimmed();
                const QByteArray originale = r1.mid(2, 5);
                const QByteArray nuovo = QByteArray::number(++numero).rightJustified(5, '0');
                r1.replace(2, 5, nuovo);
                r2.replace(2, 5, nuovo);
                testo += "H" + originale + " " + QByteArray::number(c) + "\r\n" + r1 + "\r\n" + r2 + "\r\n";
            }
        }
        frmDatabase* f = frmDatabase::instance();
        QString p = scrivi(testo);
        EXPECT_TRUE(f->Database_satelliti(p));
        EXPECT_EQ(f->righe(0), 34 * kCopie);
        return f;
    }

    static long originale(frmDatabase* f, int riga)
    {
        return std::stol(gudtDatabasePrimario[size_t(f->modello[0]->voce(riga))].Riga0.substr(1, 5));
    }
};

TEST_F(HorizonSelection, ShowsItsProgressAndFindsTheRightRowsOfAListReSortedMeanwhile)
{
    frmDatabase* f = caricaGrande();
    const auto h = dbtest::elevazioni();
    f->seleziona(0, {0, 1, 2});
    QString compito;
    bool rifiutato = false, clessidra = false;
    QTimer::singleShot(0, [&] {
        if (frmProgress* p = frmProgress::instance(false); p && p->isVisible())
            compito = p->lblTask->text();
        // The hourglass over the database window, the normal pointer over Stop.
        clessidra = f->cursor().shape() == Qt::WaitCursor && QApplication::overrideCursor() == nullptr;
        // The user sorts the list by catalogue number and tries a load meanwhile.
        f->cmbOrdina[0]->setCurrentIndex(core::OrdineCatalogo);
        QString altro = dbtest::kSample;
        rifiutato = !f->Database_satelliti_secondario(altro);
    });
    pflgSatellite = true;
    f->cmdVisibili_Click(0);
    EXPECT_EQ(compito, "In transit");
    EXPECT_TRUE(clessidra);
    EXPECT_TRUE(rifiutato);
    EXPECT_EQ(f->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(f->cmbOrdina[0]->currentIndex(), int(core::OrdineCatalogo));
    EXPECT_TRUE(pflgSatellite);
    EXPECT_FALSE(pflgArresta);
    EXPECT_FALSE(core::LavoroLungo::inCorso());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(frmProgress::instance(false), nullptr);

    const QList<int> scelte = f->righeSelezionate(0);
    int confrontati = 0, sopra = 0;
    for (int r = 0; r < f->righe(0); ++r) {
        const double e = h.at(originale(f, r));
        if (std::isnan(e) || std::abs(e) < 1.0)
            continue;
        ++confrontati;
        sopra += e > 0;
        ASSERT_EQ(scelte.contains(r), e > 0) << "row " << r << " elevation " << e;
    }
    EXPECT_GE(confrontati, 30 * kCopie);
    EXPECT_EQ(sopra, 12 * kCopie);
}

TEST_F(HorizonSelection, StopKeepsTheEarlierSelectionAndGivesTheClockBack)
{
    frmDatabase* f = caricaGrande();
    f->seleziona(0, {0, 1, 2});
    QTimer::singleShot(0, [] {
        if (frmProgress* p = frmProgress::instance(false))
            p->cmdCancel_Click();
    });
    pflgSatellite = true;
    f->cmdVisibili_Click(0);
    EXPECT_EQ(f->righeSelezionate(0), QList<int>({0, 1, 2}));
    EXPECT_TRUE(pflgSatellite);
    EXPECT_FALSE(pflgArresta);
    EXPECT_FALSE(core::LavoroLungo::inCorso());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());

    // The window unloaded while the selection runs (the program closing).
    QTimer::singleShot(0, [] { delete frmDatabase::instance(false); });
    f->cmdVisibili_Click(0);
    EXPECT_EQ(frmDatabase::instance(false), nullptr);
    EXPECT_TRUE(pflgSatellite);
    EXPECT_FALSE(core::LavoroLungo::inCorso());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
