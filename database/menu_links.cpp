#include "database/menu_links.h"

#include "core/mlang.h"
#include "database/database_window.h"
#include "database/element_set_viewer.h"
#include "common/window_host.h"
#include "common/calendar.h"
#include "core/settings.h"
#include "platform/prompt.h"
#include "common/main_window_link.h"

#include <QAction>
#include <QApplication>

namespace database {

namespace {

void seLibero(MainWindowLink& main, const char* nome, std::function<void()> comando)
{
    QAction* a = main.menuItem(QString::fromLatin1(nome));
    if (a && !a->isEnabled())
        main.setMenuHandler(QString::fromLatin1(nome), std::move(comando));
}

} // namespace

bool Database_Necessario(MainWindowLink& main)
{
    QApplication::processEvents();
    frmDatabase* db = frmDatabase::instance();
    if (db->righe(0) >= 1)
        return true;
    const int risposta = platform::MsgBox(
        mLang::Testo_Lingua(QStringLiteral("MDIForm1"), QStringLiteral("necessariodb")), platform::vbOKCancel);
    if (risposta != platform::vbOK)
        return false;
    if (!gstrDatabasePrimario.isEmpty()) {
        QString percorso = gstrDatabasePrimario;
        db->Database_satelliti(percorso);
    } else {
        main.Apertura_database(0);
    }
    db = frmDatabase::instance();
    if (db->righe(0) < 1)
        return false;
    common::Nascondi_Figlia(db);
    return true;
}

void Collega_Finestre(MainWindowLink& main)
{
    main.setCaricaDatabase([](int scelta, const QString& file) {
        frmDatabase* f = frmDatabase::instance();
        QString path = file;
        if (scelta == 0)
            f->Database_satelliti(path);
        else
            f->Database_satelliti_secondario(path);
        if (frmDatabase* g = frmDatabase::instance(false))
            common::Mostra_Figlia(g);
    });
    seLibero(main, "mnuSatellitiDatabase", [] { frmDatabase::Mostra_Database(); });
    seLibero(main, "mnuFileApri", [&main] { main.Apertura_database(0); });
    seLibero(main, "mnuStrumentiCalendario", [] { frmCalendar::Mostra(); });
    // The element-set viewer on the slot last asked for (the principal
    // satellite when none was).
    seLibero(main, "mnuSatellitiElementiOrbitali", [] { frmSatellite::Mostra(frmSatellite::gintIndice); });
}

} // namespace database
