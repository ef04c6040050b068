// Takes the pictures of the manual from the real program: builds the main
// window as the program does, stops the clock at a fixed instant, opens the
// windows the manual shows and saves each one as a PNG.
// Usage: help_shots OUTPUT_FOLDER [LANGUAGE_FILE]   (see tools/make_help_pictures.sh)
#include <QApplication>
#include <QAbstractItemModel>
#include <QDateTime>
#include <QItemSelectionModel>
#include <QListView>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTimer>

#include "core/clock.h"
#include "core/database.h"
#include "core/working_list.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "core/startup.h"
#include "database/database_window.h"
#include "platform/services.h"
#include "platform/single_instance.h"
#include "shell/main_window.h"
#include "shell/time_window.h"
#include "shell/window_wiring.h"

namespace {

void salva(QWidget* w, const QString& file)
{
    QPixmap p = w->grab();
    if (p.width() > 760)
        p = p.scaledToWidth(760, Qt::SmoothTransformation);
    p.save(file);
}

void aspetta(int ms)
{
    // A message box that comes up on the way is answered, and said.
    QTimer::singleShot(ms / 2, [] {
        if (QWidget* d = QApplication::activeModalWidget()) {
            qWarning("help_shots: closed a dialog: %s", qPrintable(d->windowTitle()));
            d->close();
        }
    });
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The workspace frame of the active child window.
QWidget* attiva(MDIForm1& w)
{
    QMdiSubWindow* s = w.mdiArea()->activeSubWindow();
    return s ? static_cast<QWidget*>(s) : nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Astrovela"));
    platform::installRealServices();
    if (argc < 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);

    platform::SingleInstance istanza;
    core::Avvio avvio;
    avvio.cartellaProgramma = QCoreApplication::applicationDirPath();
    avvio.cartellaUtente = core::Cartella_Dati_Utente();
    avvio.istanza = &istanza;
    if (!core::MDIForm_Initialize(avvio))
        return 1;

    MDIForm1 w;
    Collega_Tutte_Le_Finestre(w);
    w.setCartellaUtente(avvio.cartellaUtente);
    if (!w.MDIForm_Load())
        return 1;
    w.resize(1200, 820);
    w.show();
    // A working list from the element file (every set but the verification ones).
    if (gudtDatabasePrimario.empty() && !gstrDatabasePrimario.isEmpty()) {
        QString file = gstrDatabasePrimario;
        frmDatabase::instance()->Database_satelliti(file);
        frmDatabase::instance()->close();
    }
    // The space station first: it becomes the principal satellite.
    for (const RigaDati& set : gudtDatabasePrimario)
        if (set.Riga0.rfind("ISS", 0) == 0)
            core::WorkingList::instance().Aggiungi(set);
    for (const RigaDati& set : gudtDatabasePrimario)
        if (set.Riga0.rfind("SGP4-VER", 0) != 0 && set.Riga0.rfind("ISS", 0) != 0
            && set.Riga0.find("R/B") == std::string::npos && set.Riga0.find("DEB") == std::string::npos)
            core::WorkingList::instance().Aggiungi(set);
    // The sets are given today's epoch by the script: the clock runs in real time.
    aspetta(2500);

    auto apri = [&w](const char* voce) {
        if (QAction* a = w.menuItem(QLatin1String(voce)))
            a->trigger();
        aspetta(400);
        w.Aggiorna();  // the satellites of the instant drawn at once
        aspetta(300);
    };
    auto chiudiTutto = [&w] {
        w.mdiArea()->closeAllSubWindows();
        aspetta(200);
    };

    apri("mnuTerraMappaRettangolare");
    apri("mnuCieloMappaLocale");
    w.mdiArea()->tileSubWindows();
    aspetta(400);
    w.Aggiorna();
    aspetta(300);
    salva(&w, out + QStringLiteral("/main_window.png"));
    chiudiTutto();

    apri("mnuTerraMappaRettangolare");
    if (QWidget* f = attiva(w)) {
        f->showMaximized();
        aspetta(400);
        w.Aggiorna();
        aspetta(300);
        salva(f, out + QStringLiteral("/world_map.png"));
    }
    chiudiTutto();

    apri("mnuCieloMappaLocale");
    if (QWidget* f = attiva(w))
        salva(f, out + QStringLiteral("/local_sky.png"));
    chiudiTutto();

    apri("mnuOpzioniData");
    if (QWidget* t = w.timeWindow(false)) {
        QWidget* f = t->parentWidget() && qobject_cast<QMdiSubWindow*>(t->parentWidget()) ? t->parentWidget() : t;
        salva(f, out + QStringLiteral("/time_window.png"));
        f->close();
    }
    chiudiTutto();

    apri("mnuSatellitiDatabase");
    if (QWidget* f = attiva(w))
        salva(f, out + QStringLiteral("/database.png"));
    chiudiTutto();

    apri("mnuSatellitiPrevisioniPassaggi");
    if (QWidget* f = attiva(w))
        salva(f, out + QStringLiteral("/pass_predictions.png"));
    chiudiTutto();

    apri("mnuOpzioniGenerali");
    if (QWidget* f = attiva(w))
        salva(f, out + QStringLiteral("/options.png"));
    chiudiTutto();
    return 0;
}
