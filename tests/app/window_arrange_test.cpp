// Every window the main window's menus open, all open at once in the
// workspace: each opens inside the visible workspace, and Windows > Cascade
// and the two tiles leave each one a usable size (no bare title bars).
#include "program_fixture.h"
#include "core/clock.h"
#include "core/data_files.h"
#include "core/element_parser.h"
#include "core/globals.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "core/working_list.h"
#include "locations/city_list.h"
#include "locations/location_dialog.h"
#include "passes/pass_map_window.h"
#include "platform/fakes.h"
#include "platform/vb.h"
#include "shell/main_window.h"
#include "shell/window_wiring.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <vector>

namespace {

class WindowArrange : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Screenshots for a look (ASTROVELA_SHOTS=folder) may be taken in
        // another language (ASTROVELA_SHOTS_LANG=italiano).
        const QString lingua = qEnvironmentVariable("ASTROVELA_SHOTS_LANG", QStringLiteral("english"));
        ASSERT_TRUE(apptest::Prepara_Programma(lingua));
        for (const char* n : {"25544", "00005"})
            core::WorkingList::instance().Aggiungi(apptest::Set_Campione(n));
    }
    void TearDown() override
    {
        apptest::Ripristina_Programma();
    }
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
};

// The share of the frame's area that lies in the visible workspace.
double quotaVisibile(const QMdiSubWindow* sub, const QRect& area)
{
    const QRect g = sub->geometry();
    const QRect dentro = g.intersected(area);
    return g.isEmpty() ? 0 : double(dentro.width()) * dentro.height() / (double(g.width()) * g.height());
}

// A frame whose window can still be used: at least its own minimum, and
// more than a title bar.
void usabile(const QMdiSubWindow* sub, const char* dopo)
{
    const QString nome = sub->widget() ? sub->widget()->objectName() : QString();
    const QSize s = sub->size();
    const QSize minimo = sub->minimumSizeHint();
    EXPECT_GE(s.width(), minimo.width()) << dopo << " " << nome.toStdString();
    EXPECT_GE(s.height(), minimo.height()) << dopo << " " << nome.toStdString();
    EXPECT_GE(s.width(), 200) << dopo << " " << nome.toStdString();
    EXPECT_GE(s.height(), 150) << dopo << " " << nome.toStdString();
    if (sub->widget()) {
        EXPECT_GE(sub->widget()->width(), 150) << dopo << " " << nome.toStdString();
        EXPECT_GE(sub->widget()->height(), 100) << dopo << " " << nome.toStdString();
    }
}

TEST_F(WindowArrange, EveryWindowOpensInsideAndKeepsAUsableSize)
{
    MDIForm1 w;
    Collega_Tutte_Le_Finestre(w);
    w.resize(1280, 900);
    w.show();
    QApplication::processEvents();
    const QRect area = w.mdiArea()->viewport()->rect();

    // A modal dialog a command opens is closed at once; the windows stay.
    QTimer chiudiModali;
    chiudiModali.setInterval(20);
    QObject::connect(&chiudiModali, &QTimer::timeout, [] {
        if (QWidget* m = QApplication::activeModalWidget())
            m->close();
    });
    chiudiModali.start();

    const char* comandi[] = {
        "mnuTerraMappaRettangolare", "mnuCieloMappaLocale",     "mnuCieloMappaGenerale",
        "mnuSatellitiDatabase",      "mnuSatellitiPrevisioniPassaggi", "mnuEffemeridiPianeti",
        "mnuEffemeridiSatelliti",    "mnuEffemeridiAlmanacco",  "mnuStrumentiCalendario",
        "mnuStrumentiDownload",      "mnuStrumentiSincronizzazione", "mnuOpzioniData",
        "mnuOpzioniLocalita",        "mnuOpzioniGenerali",
    };
    int aperte = 0;
    for (const char* c : comandi) {
        QAction* a = w.menuItem(QString::fromLatin1(c));
        ASSERT_NE(a, nullptr) << c;
        if (!a->isEnabled()) {
            ADD_FAILURE() << c << " is disabled";
            continue;
        }
        const int prima = static_cast<int>(w.mdiArea()->subWindowList().size());
        a->trigger();
        QApplication::processEvents();
        QMdiSubWindow* sub = w.mdiArea()->activeSubWindow();
        EXPECT_GE(static_cast<int>(w.mdiArea()->subWindowList().size()), prima) << c;
        if (sub && sub->isVisible()) {
            ++aperte;
            EXPECT_GE(quotaVisibile(sub, area), 0.999) << c << " opens at " << sub->geometry().x() << ","
                                                        << sub->geometry().y() << " " << sub->width() << "x"
                                                        << sub->height();
            usabile(sub, c);
        }
    }
    // Two pass maps, as the prediction window opens them.
    for (const char* n : {"25544", "00005"}) {
        const RigaDati s = apptest::Set_Campione(n);
        ASSERT_EQ(Estrai_Dati_Satellite(kSlotScratch, s.Riga0, s.Riga1, s.Riga2), core::ErroreElementi::Nessuno);
        gudtRigheAttive[kSlotScratch] = s;
        auto* m = new frmSkySat;
        m->gvarTempoInizio = QDateTime(QDate(2013, 11, 26), QTime(23, 59, 28), Qt::UTC);
        m->gvarTempoCulmine = m->gvarTempoInizio.addSecs(313);
        m->gvarTempoFine = m->gvarTempoInizio.addSecs(628);
        m->gvarTempoMappa = m->gvarTempoCulmine;
        m->Mostra();
        QApplication::processEvents();
        QMdiSubWindow* sub = w.mdiArea()->activeSubWindow();
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(sub->widget(), m);
        EXPECT_GE(quotaVisibile(sub, area), 0.999) << "pass map";
        usabile(sub, "opening a pass map");
        ++aperte;
    }
    chiudiModali.stop();
    EXPECT_GE(aperte, 14);

    auto finestre = [&] {
        std::vector<QMdiSubWindow*> v;
        for (QMdiSubWindow* s : w.mdiArea()->subWindowList())
            if (s->isVisible() && !s->isMinimized())
                v.push_back(s);
        return v;
    };
    const char* disposizioni[] = {"mnuFinestreDiscesa", "mnuFinestreDisponiOrizzontale",
                                  "mnuFinestreDisponiVerticale"};
    const QString foto = qEnvironmentVariable("ASTROVELA_SHOTS");
    if (!foto.isEmpty())
        for (QMdiSubWindow* s : finestre())
            if (s->widget())
                s->widget()->grab().save(foto + QLatin1Char('/') + s->widget()->objectName() + QStringLiteral(".png"));
    for (const char* d : disposizioni) {
        w.menuItem(QString::fromLatin1(d))->trigger();
        QApplication::processEvents();
        if (!foto.isEmpty())
            w.grab().save(foto + QLatin1Char('/') + QLatin1String(d) + QStringLiteral(".png"));
        const auto v = finestre();
        EXPECT_GE(v.size(), 14u) << d;
        for (QMdiSubWindow* s : v) {
            usabile(s, d);
            // Each frame starts inside the workspace.
            EXPECT_TRUE(area.contains(s->geometry().topLeft())) << d << " "
                << s->widget()->objectName().toStdString();
        }
    }
    w.mdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Options > Location and Options > Date, hidden with Escape, give the
// keyboard back: keys the window system gives next (Down, Down, Space) reach
// none of their hidden controls (the city list's row, Synchronise).
TEST_F(WindowArrange, WindowsHiddenByEscapeTakeNoMoreKeys)
{
    // The shipped city list, as a first start copies it.
    QTemporaryDir dir;
    const QString citta = dir.filePath(QStringLiteral("cities.dat"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ASTROVELA_PROGRAM_DIR "/cities.dat"), citta));
    locations::Imposta_File_Citta(citta);
    MDIForm1 w;
    Collega_Tutte_Le_Finestre(w);
    w.resize(1280, 900);
    w.show();
    QApplication::setActiveWindow(&w);
    // A dialog a key would open (Synchronise) is counted and closed.
    int modali = 0;
    QTimer chiudiModali;
    chiudiModali.setInterval(20);
    QObject::connect(&chiudiModali, &QTimer::timeout, [&modali] {
        if (QWidget* m = QApplication::activeModalWidget()) {
            ++modali;
            m->close();
        }
    });
    chiudiModali.start();
    for (const char* comando : {"mnuOpzioniLocalita", "mnuOpzioniData", "mnuOpzioniLocalita", "mnuOpzioniData"}) {
        SCOPED_TRACE(comando);
        w.menuItem(QLatin1String(comando))->trigger();
        QApplication::processEvents();
        QMdiSubWindow* cornice = w.mdiArea()->activeSubWindow();
        ASSERT_NE(cornice, nullptr);
        ASSERT_TRUE(cornice->isVisible());
        auto dentro = [cornice](QWidget* x) { return x && (x == cornice || cornice->isAncestorOf(x)); };
        // A control of the window takes the focus, as after a click on it.
        auto* luogo = qobject_cast<frmLocation*>(cornice->widget());
        QWidget* controllo = luogo ? luogo->cmbCity : nullptr;
        for (QWidget* c : cornice->widget()->findChildren<QWidget*>())
            if (!controllo && c->isVisible() && c->isEnabled() && (c->focusPolicy() & Qt::TabFocus))
                controllo = c;
        ASSERT_NE(controllo, nullptr);
        const int riga = luogo ? luogo->cmbCity->currentRow() : 0;
        controllo->setFocus(Qt::MouseFocusReason);
        ASSERT_TRUE(dentro(QApplication::focusWidget()));
        QTest::keyClick(w.windowHandle(), Qt::Key_Escape);
        EXPECT_FALSE(cornice->isVisible());
        EXPECT_FALSE(dentro(QApplication::focusWidget()));
        for (Qt::Key k : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Space})
            QTest::keyClick(w.windowHandle(), k);
        EXPECT_FALSE(cornice->isVisible());
        EXPECT_EQ(modali, 0);
        if (luogo) {
            EXPECT_EQ(luogo->cmbCity->currentRow(), riga);
        }
    }
    chiudiModali.stop();
    w.mdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    locations::Imposta_File_Citta(QString());
}

} // namespace
