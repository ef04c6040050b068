#include "common/window_links.h"

#include "common/main_window_link.h"
#include "common/window_calls.h"
#include "core/settings.h"
#include "files/file_menu.h"
#include "files/text_viewer.h"
#include "platform/file_chooser.h"
#include "platform/launcher.h"
#include "platform/prompt.h"
#include "platform/services.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>

namespace files {

namespace {

// Serves a command unless another window already does.
void Se_Libero(MainWindowLink& main, const char* nome, std::function<void()> comando)
{
    const QString n = QLatin1String(nome);
    if (QAction* a = main.menuItem(n); a && a->isEnabled() && main.menuHandler(n))
        return;
    main.setMenuHandler(n, std::move(comando));
}

} // namespace

void Collega_File(MainWindowLink& main)
{
    MainWindowLink* m = &main;

    // File menu: documents.
    Se_Libero(main, "mnuFileNuovo", [m] { File_Nuovo(m); });
    Se_Libero(main, "mnuFileModifica", [m] { File_Modifica(m); });
    {
        std::function<void()> prima = main.menuHandler(QStringLiteral("mnuFileSalva"));
        main.setMenuHandler(QStringLiteral("mnuFileSalva"), [m, prima] {
            if (common::Salvabile* w = Finestra_Per_Salva(m)) {
                w->Comando_Salva();
                return;
            }
            if (prima)
                prima();
        });
    }
    {
        std::function<void()> prima = main.menuHandler(QStringLiteral("mnuFileStampa"));
        main.setMenuHandler(QStringLiteral("mnuFileStampa"), [m, prima] {
            if (common::Stampabile* w = Finestra_Per_Stampa(m)) {
                w->Comando_Stampa();
                return;
            }
            if (prima)
                prima();
        });
    }
    Se_Libero(main, "mnuFileImpostaStampante", [m] {
        QApplication::processEvents();
        if (auto* files = platform::services().files)
            files->choosePrinter(platform::applicationPrinter(), platform::printerSetupOnly, m->asWidget());
    });
    // Save is offered while the focused control holds a document.
    if (QMenu* file = main.menu(QStringLiteral("mnuFile"))) {
        QObject::connect(file, &QMenu::aboutToShow, file, [m] {
            if (QAction* a = m->menuItem(QStringLiteral("mnuFileSalva"))) {
                QMdiSubWindow* sub = m->mdiArea()->activeSubWindow();
                a->setEnabled(sub && Controllo_Documento(sub->widget()));
            }
        });
    }

    // Tools.
    Se_Libero(main, "mnuStrumentiFormattazione", [m] { Formattazione_File(m); });
    Se_Libero(main, "mnuStrumentiCalcolatrice", [] {
        auto* launcher = platform::services().launcher;
        QString errore;
        if (launcher && !launcher->openCalculator(&errore))
            platform::MsgBox(errore, platform::vbExclamation);
    });
    Se_Libero(main, "mnuStrumentiProgramma", [] { Esegui_Programma(gstrEseguiProgramma, gstrEseguiParametri); });
}

} // namespace files
