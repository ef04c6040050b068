// The manual against the program, in each language: every menu path it
// names is a command of the main window's menus; every caption it names in
// a window's topic is a caption of that window; the pass prediction
// window's tabs are named as the window names them, in its order (and so in
// passes/README.md); the first start has no working list of its own; the
// pass map's track carries no times until the user pins them.
#include "program_fixture.h"
#include "core/clock.h"
#include "core/data_files.h"
#include "core/globals.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/fakes.h"
#include "platform/vb.h"
#include "common/progress_window.h"
#include "controls/graph_button.h"
#include "shell/main_window.h"
#include "shell/window_wiring.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

QString leggi(const QString& percorso)
{
    QFile f(percorso);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << percorso.toStdString();
    return QString::fromUtf8(f.readAll());
}

QString testoPiano(const QString& html)
{
    QTextDocument d;
    d.setHtml(html);
    return d.toPlainText().simplified();
}

QString senzaAcceleratore(QString t)
{
    return t.remove(u'&').trimmed();
}

// The part of the manual from the anchor `ancora` to the next h2.
QString sezione(const QString& html, const QString& ancora)
{
    const qsizetype da = html.indexOf(QStringLiteral("<a name=\"") + ancora + u'"');
    if (da < 0)
        return {};
    const qsizetype a = html.indexOf(QStringLiteral("<h2"), da + 1);
    return html.mid(da, a < 0 ? -1 : a - da);
}

// The words `nomi` appear in `testo` in this order (without regard to case).
bool inOrdine(const QString& testo, const QStringList& nomi)
{
    qsizetype da = 0;
    for (const QString& n : nomi) {
        da = testo.indexOf(n, da, Qt::CaseInsensitive);
        if (da < 0)
            return false;
        da += n.size();
    }
    return true;
}

// A caption as the manual quotes it: no access key, no dots or colon at its
// end, in lower case.
QString comeCitato(QString t)
{
    t.remove(u'&');
    t = t.trimmed();
    while (t.endsWith(u'.') || t.endsWith(u':') || t.endsWith(u'\u2026'))
        t.chop(1);
    return t.trimmed().toLower();
}

// The texts of each section of a language file, as the manual quotes them.
QHash<QString, QSet<QString>> testiLingua(const QString& file)
{
    QHash<QString, QSet<QString>> out;
    QString sezioneCorrente;
    for (const QString& riga : leggi(file).split(u'\n')) {
        const QString r = riga.trimmed();
        if (r.startsWith(u'[') && r.endsWith(u']'))
            sezioneCorrente = r.mid(1, r.size() - 2);
        else if (const qsizetype uguale = r.indexOf(u'='); uguale > 0 && !sezioneCorrente.isEmpty())
            out[sezioneCorrente].insert(comeCitato(r.mid(uguale + 1)));
    }
    return out;
}

class Manuale : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(apptest::Prepara_Programma(QLatin1String(GetParam())));
        html = leggi(QStringLiteral(ASTROVELA_SOURCE_DIR "/") + mLang::Testo_Lingua(QStringLiteral("Help"), QStringLiteral("file")));
    }
    void TearDown() override
    {
        apptest::Ripristina_Programma();
    }
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    QString html;
};

} // namespace

TEST_P(Manuale, SaysWhatTheProgramDoes)
{
    ASSERT_FALSE(html.isEmpty());
    MDIForm1 w;
    Collega_Tutte_Le_Finestre(w);
    w.Lingua();

    // Every "Menu > Item" the manual names is an item of that menu.
    static const QRegularExpression percorso(QStringLiteral("<b>([^<]*&gt;[^<]*)</b>"));
    int percorsi = 0;
    for (auto it = percorso.globalMatch(html); it.hasNext();) {
        const QStringList parti = testoPiano(it.next().captured(1)).split(u'>');
        ASSERT_EQ(parti.size(), 2) << parti.join(u'>').toStdString();
        const QString menu = parti[0].trimmed(), voce = parti[1].trimmed();
        bool trovata = false;
        for (QAction* m : w.menuBar()->actions()) {
            if (!m->menu() || senzaAcceleratore(m->text()) != menu)
                continue;
            for (QAction* a : m->menu()->actions())
                trovata = trovata || senzaAcceleratore(a->text()) == voce;
        }
        EXPECT_TRUE(trovata) << GetParam() << ": " << menu.toStdString() << " > " << voce.toStdString();
        ++percorsi;
    }
    EXPECT_GE(percorsi, 25);

    // Every button, box or item the manual names in bold in a window's topic
    // is a caption of that window (or a shared button text): a bold word
    // that is no caption is one of the topic's index terms, or a number.
    {
        const QHash<QString, QSet<QString>> testi = testiLingua(
            QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + QLatin1String(GetParam()) + QStringLiteral(".ini"));
        const QString stop = comeCitato(frmProgress::instance()->cmdCancel->text());
        frmProgress::Unload();
        static const struct {
            const char* ancora;
            QStringList sezioni;
        } kArgomenti[] = {
            {"context-70", {"frmTime"}},
            {"context-80", {"frmDatabase"}},
            {"context-150", {"frmVisibleSatellites"}},
            {"context-110", {"frmCalc"}},
            {"context-100", {"frmRelative"}},
            {"context-30", {"frmLocation"}},
            {"context-205", {"frmDownload"}},
            {"context-220", {"frmSyncro"}},
            {"options", {"frmSettings", "MDIForm1"}},
            {"world-map", {"MDIForm1"}},
            {"local-sky", {"MDIForm1"}},
            {"files", {"MDIForm1"}},
        };
        static const QRegularExpression grassetto(QStringLiteral("<b>([^<]*)</b>"));
        static const QRegularExpression indice(QStringLiteral("<p class=\"kw\">([^<]*)</p>"));
        int nomi = 0;
        for (const auto& a : kArgomenti) {
            const QString parte = sezione(html, QLatin1String(a.ancora));
            ASSERT_FALSE(parte.isEmpty()) << a.ancora;
            QSet<QString> ammessi = testi.value(QStringLiteral("Buttons")) + testi.value(QStringLiteral("Def"));
            for (const QString& s : a.sezioni)
                ammessi += testi.value(s);
            if (QLatin1String(a.ancora) == QLatin1String("context-150"))
                ammessi.insert(stop);  // the progress window's button
            for (auto it = indice.globalMatch(parte); it.hasNext();)
                for (const QString& termine : testoPiano(it.next().captured(1)).split(u';'))
                    ammessi.insert(comeCitato(termine));
            for (auto it = grassetto.globalMatch(parte); it.hasNext();) {
                const QString citato = testoPiano(it.next().captured(1));
                bool numero = false;
                citato.toInt(&numero);
                if (citato.contains(u'>') || numero)
                    continue;
                EXPECT_TRUE(ammessi.contains(comeCitato(citato)))
                    << GetParam() << ", " << a.ancora << ": \"" << citato.toStdString() << "\" is no caption of the window";
                ++nomi;
            }
        }
        EXPECT_GE(nomi, 40);
    }

    // The pass prediction tabs, as the window names them and in its order.
    w.menuItem(QStringLiteral("mnuSatellitiPrevisioniPassaggi"))->trigger();
    QApplication::processEvents();
    QTabWidget* schede = nullptr;
    for (QMdiSubWindow* s : w.mdiArea()->subWindowList())
        if (s->widget() && !schede)
            schede = s->widget()->findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    ASSERT_NE(schede, nullptr);
    ASSERT_EQ(schede->count(), 3);
    const QStringList nomi = {schede->tabText(0), schede->tabText(1), schede->tabText(2)};
    EXPECT_TRUE(inOrdine(testoPiano(sezione(html, QStringLiteral("context-150"))), nomi))
        << nomi.join(u',').toStdString();
    if (QLatin1String(GetParam()) == QLatin1String("english")) {
        const QString readme = leggi(QStringLiteral(ASTROVELA_SOURCE_DIR "/passes/README.md"));
        const qsizetype riga = readme.indexOf(QStringLiteral("frmVisibleSatellites"));
        ASSERT_GE(riga, 0);
        EXPECT_TRUE(inOrdine(readme.mid(riga, readme.indexOf(u'\n', riga) - riga), nomi))
            << "passes/README.md names the tabs otherwise";
    }
    w.mdiArea()->closeAllSubWindows();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // The first start: no working list comes with the program, the list is
    // empty until the user fills it; the manual does not promise one.
    EXPECT_FALSE(QFile::exists(QStringLiteral(ASTROVELA_PROGRAM_DIR "/Astrovela.ini")));
    EXPECT_FALSE(QFile::exists(QStringLiteral(ASTROVELA_SOURCE_DIR "/data/Astrovela.ini")));
    const QString inizio = testoPiano(sezione(html, QStringLiteral("first-start")));
    for (const char* promessa : {"comes with the program", "fornito con il programma"})
        EXPECT_FALSE(inizio.contains(QLatin1String(promessa), Qt::CaseInsensitive)) << promessa;

    // The pass map's track carries no times of its own (they are pinned by
    // the user with labels): the manual does not say it does.
    const QString mappa = testoPiano(sezione(html, QStringLiteral("pass-map")));
    for (const char* promessa : {"track with times", "traccia con gli orari"})
        EXPECT_FALSE(mappa.contains(QLatin1String(promessa), Qt::CaseInsensitive)) << promessa;
}

INSTANTIATE_TEST_SUITE_P(Lingue, Manuale, ::testing::Values("english", "italiano"));
