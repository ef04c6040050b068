#include "ui/window_links.h"

#include "database/window_host.h"
#include "predictions/frm_visible_satellites.h"
#include "ui/mdiform1.h"

#include <QApplication>

namespace predictions {

void Collega_Previsioni(MDIForm1& main)
{
    // Satellites > Pass predictions: the one prediction window, in its
    // normal state, inside the main window.
    main.setMenuHandler(QStringLiteral("mnuSatellitiPrevisioniPassaggi"), [] {
        QApplication::processEvents();
        frmVisibleSatellites* f = frmVisibleSatellites::instance();
        if (QWidget* cornice = f->parentWidget(); cornice && cornice->inherits("QMdiSubWindow"))
            cornice->showNormal();
        f->setWindowState(f->windowState() & ~Qt::WindowMinimized);
        database::Mostra_Figlia(f);
    });
}

} // namespace predictions
