// The first start, as a new user sees it: the main window at the size it
// opens with on a 1600 x 1000 screen, and every window its menus open, in
// each language. No window is cut: each one's buttons lie whole inside the
// visible workspace (or, for a dialog of its own, inside the dialog and the
// screen), where they can be reached; and each one shows the program's icon.
#include "program_fixture.h"
#include "core/clock.h"
#include "core/data_files.h"
#include "core/globals.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "core/working_list.h"
#include "common/program_icon.h"
#include "platform/fakes.h"
#include "platform/vb.h"
#include "shell/main_window.h"
#include "shell/window_wiring.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class PrimoAvvio : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(apptest::Prepara_Programma(QLatin1String(GetParam())));
        gstrDatabasePrimario = QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample.txt");
        for (const char* n : {"25544", "00005"})
            core::WorkingList::instance().Aggiungi(apptest::Set_Campione(n));
    }
    void TearDown() override
    {
        apptest::Ripristina_Programma();
        gstrDatabasePrimario.clear();
    }
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
};

QString nome(const QWidget* w)
{
    return w ? w->objectName() : QStringLiteral("?");
}

// Every button shown in `w` lies whole inside `dentro` (coordinates of
// `riferimento`).
void bottoniInteri(const QWidget* w, const QWidget* riferimento, const QRect& dentro, const QString& dove)
{
    int visti = 0;
    for (const QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
        if (!b->isVisibleTo(w) || b->window() != w->window() || b->inherits("QToolButton"))
            continue;
        // Buttons on a tab that is not in front are not shown.
        if (!b->isVisible())
            continue;
        ++visti;
        const QRect r(b->mapTo(riferimento, QPoint(0, 0)), b->size());
        EXPECT_TRUE(dentro.contains(r)) << dove.toStdString() << ": " << nome(b).toStdString() << " \""
                                        << b->text().toStdString() << "\" at " << r.x() << "," << r.y()
                                        << " " << r.width() << "x" << r.height() << ", visible "
                                        << dentro.x() << "," << dentro.y() << " " << dentro.width() << "x"
                                        << dentro.height();
    }
    (void)visti;
}

// The icon shows the program's own picture, the one installed with it.
bool iconaDelProgramma(const QIcon& icona)
{
    const QImage installata = QImage(QStringLiteral(ASTROVELA_SOURCE_DIR "/packaging/linux/icons/48.png"))
                                  .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return !installata.isNull()
        && icona.pixmap(QSize(48, 48)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied) == installata;
}

TEST_P(PrimoAvvio, EveryWindowTheMenusOpenShowsItsButtonsWhole)
{
    // Started as the program starts (app/main.cpp): every window, the main
    // one, the workspace's and the dialogs of their own, shows the program's
    // icon in its title bar and the task bar.
    common::Imposta_Icona_Programma();
    MDIForm1 w;
    Collega_Tutte_Le_Finestre(w);
    w.Lingua();
    // For a look on a real screen (ASTROVELA_SHOTS=folder, under Xvfb), the
    // screen's own size and a picture of it after every command.
    const QString foto = qEnvironmentVariable("ASTROVELA_SHOTS");
    const QRect schermo = foto.isEmpty() ? QRect(0, 0, 1600, 1000) : w.screen()->availableGeometry();
    auto scatta = [&](const QString& nome) {
        if (!foto.isEmpty())
            w.screen()->grabWindow(0).save(foto + QLatin1Char('/') + QLatin1String(GetParam()) + QLatin1Char('_')
                                           + nome + QStringLiteral(".png"));
    };
    w.resize(w.Dimensione_Primo_Avvio(schermo));
    w.move(schermo.center() - w.rect().center());
    w.show();
    QApplication::processEvents();
    EXPECT_LE(w.width(), schermo.width());
    EXPECT_LE(w.height(), schermo.height());
    QWidget* area = w.mdiArea()->viewport();
    const QSize primo = w.size();
    EXPECT_TRUE(iconaDelProgramma(w.windowIcon()));

    // A dialog of its own (modal) is looked at while it is open, then closed.
    QStringList modali;
    QTimer guarda;
    guarda.setInterval(20);
    QObject::connect(&guarda, &QTimer::timeout, [&] {
        QWidget* m = QApplication::activeModalWidget();
        if (!m)
            return;
        modali << nome(m);
        EXPECT_TRUE(iconaDelProgramma(m->windowIcon())) << nome(m).toStdString();
        QApplication::processEvents();
        scatta(QStringLiteral("modal_") + nome(m));
        bottoniInteri(m, m, m->rect(), QStringLiteral("dialog ") + nome(m));
        EXPECT_TRUE(schermo.contains(QRect(QPoint(0, 0), m->frameGeometry().size())))
            << nome(m).toStdString() << " " << m->width() << "x" << m->height();
        m->close();
    });
    guarda.start();

    const char* comandi[] = {
        "mnuTerraMappaRettangolare",   "mnuTerraMappaOrtografica",   "mnuCieloMappaLocale",
        "mnuCieloMappaGenerale",       "mnuSatellitiDatabase",       "mnuSatellitiElementiOrbitali",
        "mnuSatellitiMotoRelativo",    "mnuSatellitiCalcoloEffemeridi", "mnuSatellitiPrevisioniPassaggi",
        "mnuEffemeridiPianeti",        "mnuEffemeridiSatelliti",     "mnuEffemeridiAlmanacco",
        "mnuStrumentiCalendario",      "mnuStrumentiDownload",       "mnuStrumentiSincronizzazione",
        "mnuOpzioniData",              "mnuOpzioniLocalita",         "mnuOpzioniGenerali",
        "mnuOpzioniSatelliti",         "mnuOpzioniMappamondo",       "mnuOpzioniCieloLocale",
        "mnuOpzioniCieloGenerale",     "mnuOpzioniAnteprime",        "mnuOpzioniFiltri",
        "mnuOpzioniServerNTP",         "mnuOpzioniColori",           "mnuOpzioniDownload",
        "mnuOpzioniEsegui",            "mnuOpzioniLingua",           "mnuAiutoInformazioni",
        "mnuFileNuovo",
    };
    const bool misura = qEnvironmentVariableIsSet("ASTROVELA_MISURA");
    int finestre = 0;
    for (const char* c : comandi) {
        QAction* a = w.menuItem(QString::fromLatin1(c));
        ASSERT_NE(a, nullptr) << c;
        a->trigger();
        QApplication::processEvents();
        QApplication::processEvents();
        QMdiSubWindow* sub = w.mdiArea()->activeSubWindow();
        if (!sub || !sub->isVisible() || !sub->widget())
            continue;
        ++finestre;
        scatta(QLatin1String(c));
        // The time window keeps its clock.
        if (QLatin1String(c) != QLatin1String("mnuOpzioniData")) {
            EXPECT_TRUE(iconaDelProgramma(sub->windowIcon())) << c;
        }
        if (misura)
            std::printf("%s %s frame %dx%d min %dx%d viewport %dx%d\n", c, qPrintable(nome(sub->widget())),
                        sub->width(), sub->height(), sub->minimumSizeHint().width(),
                        sub->minimumSizeHint().height(), area->width(), area->height());
        // The frame and the buttons of its window lie inside the visible workspace.
        const QRect visibile = area->rect();
        const QString dove = QLatin1String(c) + QLatin1Char(' ') + nome(sub->widget());
        EXPECT_TRUE(visibile.contains(sub->geometry()))
            << dove.toStdString() << " frame " << sub->x() << "," << sub->y() << " " << sub->width() << "x"
            << sub->height() << " in " << visibile.width() << "x" << visibile.height();
        bottoniInteri(sub->widget(), area, visibile, dove);
    }
    guarda.stop();
    EXPECT_GE(finestre, 20);
    EXPECT_GE(modali.size(), 3) << modali.join(u' ').toStdString();
    // Everything fitted at the first-start size: the main window did not
    // have to grow.
    EXPECT_EQ(w.size(), primo);
    w.mdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_P(PrimoAvvio, AWindowLargerThanTheWorkspaceGrowsTheMainWindowOrScrollsIt)
{
    MDIForm1 w;
    Collega_Tutte_Le_Finestre(w);
    w.Lingua();
    // The old first-start size, 11150 x 8200 twips: its workspace is lower
    // than the options dialog.
    w.resize(vb::TwipsToPixels(11150, 96), vb::TwipsToPixels(8200, 96));
    w.show();
    QApplication::processEvents();
    QWidget* area = w.mdiArea()->viewport();
    const QSize prima = w.size();
    ASSERT_LE(w.size().width() + 50, w.screen()->availableGeometry().width());

    // The screen has room: the main window grows and the dialog is whole.
    w.menuItem(QStringLiteral("mnuOpzioniGenerali"))->trigger();
    QApplication::processEvents();
    QApplication::processEvents();
    QMdiSubWindow* opzioni = w.mdiArea()->activeSubWindow();
    ASSERT_NE(opzioni, nullptr);
    EXPECT_GT(w.height(), prima.height());
    EXPECT_LE(w.frameGeometry().bottom(), w.screen()->availableGeometry().bottom());
    EXPECT_TRUE(area->rect().contains(opzioni->geometry()));
    bottoniInteri(opzioni->widget(), area, area->rect(), QStringLiteral("options, grown"));
    opzioni->close();
    QApplication::processEvents();

    // The main window cannot grow (here: held at its size, as by a small
    // screen): the workspace scrolls, and scrolled to its end it shows the
    // database window's buttons whole.
    w.resize(prima);
    w.setMaximumSize(prima);
    QApplication::processEvents();
    w.menuItem(QStringLiteral("mnuSatellitiDatabase"))->trigger();
    QApplication::processEvents();
    QApplication::processEvents();
    QMdiSubWindow* db = w.mdiArea()->activeSubWindow();
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(w.size(), prima);
    ASSERT_GT(db->height(), area->height());
    QScrollBar* barra = w.mdiArea()->verticalScrollBar();
    ASSERT_TRUE(barra->isVisible());
    barra->setValue(barra->maximum());
    QApplication::processEvents();
    EXPECT_GE(db->geometry().bottom(), 0);
    EXPECT_LE(db->geometry().bottom(), area->rect().bottom() + 1);
    const QList<QAbstractButton*> bottoni = db->widget()->findChildren<QAbstractButton*>(QStringLiteral("cmdOK"));
    ASSERT_FALSE(bottoni.isEmpty());
    const QRect ok(bottoni.first()->mapTo(area, QPoint(0, 0)), bottoni.first()->size());
    EXPECT_TRUE(area->rect().contains(ok)) << ok.y() << " " << ok.height() << " in " << area->height();
    w.mdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

INSTANTIATE_TEST_SUITE_P(Lingue, PrimoAvvio, ::testing::Values("english", "italiano"));

} // namespace
