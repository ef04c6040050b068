#include "common/window_links.h"

#include "core/mlang.h"
#include "platform/prompt.h"
#include "listings/ephemeris_dialog.h"
#include "listings/listing_window.h"
#include "listings/links_listings.h"
#include "listings/relative_dialog.h"
#include "common/main_window_link.h"
#include "common/window_host.h"
#include "common/window_calls.h"
#include "core/settings.h"
#include "database/database_window.h"
#include "database/menu_links.h"
#include "platform/file_chooser.h"
#include "platform/services.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace listings {

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
    r.fileName = gstrDatabasePrimario;   // starts at the principal element file
    r.filter = mLang::Testo_Lingua(QStringLiteral("Dialogs"), QStringLiteral("filtrotle"));
    r.filterIndex = 1;
    const std::optional<QString> scelto = files->openFile(r, parent);
    if (!scelto || QFileInfo(*scelto).size() == 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    frmDetails* d = frmDetails::Nuovo();
    const bool ok = d->LeggiDiretto(*scelto);
    QApplication::restoreOverrideCursor();
    if (!ok)
        d->deleteLater();
}

} // namespace

QWidget* Finestra_Attiva(MainWindowLink& main)
{
    QMdiSubWindow* sub = main.mdiArea() ? main.mdiArea()->activeSubWindow() : nullptr;
    return sub ? sub->widget() : nullptr;
}

bool Lista_Attiva(QWidget* finestra)
{
    if (!finestra)
        return false;
    // A listing window: its text listing or its summary rows.
    if (auto* d = qobject_cast<frmDetails*>(finestra))
        return d->haRighe();
    // A list box, or a rich-text box, has the focus inside the window.
    QWidget* fuoco = QApplication::focusWidget();
    return fuoco && finestra->isAncestorOf(fuoco)
           && (qobject_cast<QListView*>(fuoco) || qobject_cast<QTextEdit*>(fuoco)
               || qobject_cast<QPlainTextEdit*>(fuoco));
}


void Collega_Elenchi(MainWindowLink& main)
{
    MainWindowLink* m = &main;
    // The database window's Summary: a new listing window.
    frmDatabase::setApriSommario([](int indice) {
        frmDetails* d = frmDetails::Nuovo();
        common::Mostra_Figlia(d);
        d->Sommario(indice);
    });
    // File > View, unless another window serves it.
    if (QAction* a = main.menuItem(QStringLiteral("mnuFileVisualizza")); a && !a->isEnabled())
        main.setMenuHandler(QStringLiteral("mnuFileVisualizza"), [m] { Visualizza_File(m->asWidget()); });
    // The listing dialogs need the principal database.
    main.setMenuHandler(QStringLiteral("mnuSatellitiCalcoloEffemeridi"), [m] {
        if (database::Database_Necessario(*m))
            frmCalc::Mostra();
    });
    main.setMenuHandler(QStringLiteral("mnuSatellitiMotoRelativo"), [m] {
        if (database::Database_Necessario(*m))
            frmRelative::Mostra();
    });
    // Save and print go to the active window when it shows a list.
    main.setMenuHandler(QStringLiteral("mnuFileSalva"), [m] {
        QWidget* w = Finestra_Attiva(*m);
        if (auto* documento = dynamic_cast<common::Salvabile*>(w); documento && Lista_Attiva(w))
            documento->Comando_Salva();
    });
    // Opening the File menu offers Save only while the active window shows
    // such a list.
    if (QMenu* file = main.menu(QStringLiteral("mnuFile"))) {
        QObject::connect(file, &QMenu::aboutToShow, main.asWidget(), [m] {
            if (QAction* salva = m->menuItem(QStringLiteral("mnuFileSalva")))
                salva->setEnabled(Lista_Attiva(Finestra_Attiva(*m)));
        });
    }
    main.setMenuHandler(QStringLiteral("mnuFileStampa"), [m] {
        QWidget* w = Finestra_Attiva(*m);
        if (!w)
            return;
        // The local sky chart and a pass map print their chart; another
        // window prints while it shows a list.
        using Tipo = common::CartaStellare::Tipo;
        auto* carta = dynamic_cast<common::CartaStellare*>(w);
        const bool stampaCarta = carta && (carta->Tipo_Carta() == Tipo::CieloLocale
                                           || carta->Tipo_Carta() == Tipo::MappaPassaggio);
        if (auto* documento = dynamic_cast<common::Stampabile*>(w); documento && (stampaCarta || Lista_Attiva(w)))
            documento->Comando_Stampa();
    });
}

} // namespace listings
