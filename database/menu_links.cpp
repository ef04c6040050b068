#include "database/menu_links.h"

#include "core/mlang.h"
#include "database/database_window.h"
#include "database/element_set_viewer.h"
#include "common/window_host.h"
#include "common/calendar.h"
#include "platform/file_chooser.h"
#include "platform/services.h"
#include "listings/listing_window.h"
#include "shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>

namespace database {

namespace {

// The view command: an element file chosen in the open dialog, summarised
// in a new listing window.
void Visualizza_File(QWidget* parent)
{
    platform::FileChooser* files = platform::services().files;
    if (!files)
        return;
    platform::FileDialogRequest r;
    r.title = mLang::Testo_Lingua(QStringLiteral("Dialogs"), QStringLiteral("visualizzatle"));
    r.filter = mLang::Testo_Lingua(QStringLiteral("Dialogs"), QStringLiteral("filtrotle"));
    const std::optional<QString> scelto = files->openFile(r, parent);
    if (!scelto || scelto->isEmpty() || QFileInfo(*scelto).size() == 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    frmDetails* d = frmDetails::Nuovo();
    const bool ok = d->LeggiDiretto(*scelto);
    QApplication::restoreOverrideCursor();
    if (!ok)
        d->deleteLater();
}

void seLibero(MDIForm1& main, const char* nome, std::function<void()> comando)
{
    QAction* a = main.menuItem(QString::fromLatin1(nome));
    if (a && !a->isEnabled())
        main.setMenuHandler(QString::fromLatin1(nome), std::move(comando));
}

} // namespace

void Collega_Finestre(MDIForm1& main)
{
    main.setCaricaDatabase([](int scelta, const QString& file) {
        frmDatabase* f = frmDatabase::instance();
        QString path = file;
        if (scelta == 0)
            f->Database_satelliti(path);
        else
            f->Database_satelliti_secondario(path);
        if (frmDatabase* g = frmDatabase::instance(false))
            Mostra_Figlia(g);
    });
    seLibero(main, "mnuSatellitiDatabase", [] { frmDatabase::Mostra_Database(); });
    seLibero(main, "mnuFileApri", [&main] { main.Apertura_database(0); });
    seLibero(main, "mnuFileVisualizza", [&main] { Visualizza_File(&main); });
    seLibero(main, "mnuStrumentiCalendario", [] { frmCalendar::Mostra(); });
    // The element-set viewer on the slot last asked for (the principal
    // satellite when none was).
    seLibero(main, "mnuSatellitiElementiOrbitali", [] { frmSatellite::Mostra(frmSatellite::gintIndice); });
}

} // namespace database
