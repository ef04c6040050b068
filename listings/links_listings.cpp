#include "common/window_links.h"

#include "core/mlang.h"
#include "platform/prompt.h"
#include "listings/listing_window.h"
#include "listings/links_listings.h"
#include "common/main_window_link.h"

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

bool Chiama_Per_Nome(QWidget* finestra, const char* metodo)
{
    if (!finestra)
        return false;
    const QByteArray firma = QByteArray(metodo) + "()";
    if (finestra->metaObject()->indexOfMethod(firma.constData()) < 0)
        return false;
    return QMetaObject::invokeMethod(finestra, metodo, Qt::DirectConnection);
}

void Collega_Elenchi(MainWindowLink& main)
{
    MainWindowLink* m = &main;
    // Save and print go to the active window when it shows a list.
    main.setMenuHandler(QStringLiteral("mnuFileSalva"), [m] {
        QWidget* w = Finestra_Attiva(*m);
        if (Lista_Attiva(w))
            Chiama_Per_Nome(w, "Salva");
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
        const QString nome = w->objectName();
        if (nome == QLatin1String("frmLocalSky") || nome == QLatin1String("frmSkySat") || Lista_Attiva(w))
            Chiama_Per_Nome(w, "Stampa");
    });
}

} // namespace predictions
