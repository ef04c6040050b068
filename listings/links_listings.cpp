#include "shell/window_links.h"

#include "core/mlang.h"
#include "core/settings.h"
#include "database/database_window.h"
#include "platform/prompt.h"
#include "listings/ephemeris_dialog.h"
#include "listings/listing_window.h"
#include "listings/relative_dialog.h"
#include "listings/links_listings.h"
#include "shell/main_window.h"

#include <QAction>
#include <QApplication>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMetaObject>

namespace predictions {

bool Database_Necessario(MDIForm1& main)
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
    if (auto* sub = qobject_cast<QMdiSubWindow*>(db->parentWidget()))
        sub->hide();
    else
        db->hide();
    return true;
}

QWidget* Finestra_Attiva(MDIForm1& main)
{
    QMdiSubWindow* sub = main.mdiArea() ? main.mdiArea()->activeSubWindow() : nullptr;
    return sub ? sub->widget() : nullptr;
}

bool Lista_Attiva(QWidget* finestra)
{
    if (!finestra)
        return false;
    if (auto* d = qobject_cast<frmDetails*>(finestra))
        return d->List1->isVisible();
    // A list box, or a rich-text box, has the focus inside the window.
    QWidget* fuoco = QApplication::focusWidget();
    return fuoco && finestra->isAncestorOf(fuoco)
           && (qobject_cast<QListView*>(fuoco) || qobject_cast<QTextEdit*>(fuoco)
               || qobject_cast<QPlainTextEdit*>(fuoco));
}

bool Chiama_Per_Nome(QWidget* finestra, const char* metodo)
{
    if (!finestra)
        return false;
    const QByteArray firma = QByteArray(metodo) + "()";
    if (finestra->metaObject()->indexOfMethod(firma.constData()) < 0)
        return false;
    return QMetaObject::invokeMethod(finestra, metodo, Qt::DirectConnection);
}

void Collega_Elenchi(MDIForm1& main)
{
    MDIForm1* m = &main;
    main.setMenuHandler(QStringLiteral("mnuSatellitiCalcoloEffemeridi"), [m] {
        if (Database_Necessario(*m))
            frmCalc::Mostra();
    });
    main.setMenuHandler(QStringLiteral("mnuSatellitiMotoRelativo"), [m] {
        if (Database_Necessario(*m))
            frmRelative::Mostra();
    });
    // Save and print go to the active window when it shows a list.
    main.setMenuHandler(QStringLiteral("mnuFileSalva"), [m] {
        QWidget* w = Finestra_Attiva(*m);
        if (Lista_Attiva(w))
            Chiama_Per_Nome(w, "Salva");
    });
    // Opening the File menu offers Save only while the active window shows
    // such a list.
    if (QMenu* file = main.menu(QStringLiteral("mnuFile"))) {
        QObject::connect(file, &QMenu::aboutToShow, &main, [m] {
            if (QAction* salva = m->menuItem(QStringLiteral("mnuFileSalva")))
                salva->setEnabled(Lista_Attiva(Finestra_Attiva(*m)));
        });
    }
    main.setMenuHandler(QStringLiteral("mnuFileStampa"), [m] {
        QWidget* w = Finestra_Attiva(*m);
        if (!w)
            return;
        const QString nome = w->objectName();
        if (nome == QLatin1String("frmLocalSky") || nome == QLatin1String("frmSkySat") || Lista_Attiva(w))
            Chiama_Per_Nome(w, "Stampa");
    });
}

} // namespace predictions
