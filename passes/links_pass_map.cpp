// The pass map's view menu: every command acts on the active child window,
// which must be a pass map (several may be open). Each item sets the map's
// option of the same name (frmSkySat::Opzione), then the map is redrawn or
// printed through its own procedures.
#include "passes/pass_map_window.h"
#include "passes/pass_map_symbols.h"
#include "common/main_window_link.h"
#include "common/window_links.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace passes {

namespace {

frmSkySat* Mappa_Attiva(MainWindowLink& main)
{
    QMdiSubWindow* sub = main.mdiArea()->activeSubWindow();
    return sub ? qobject_cast<frmSkySat*>(sub->widget()) : nullptr;
}

void Imposta(frmSkySat* mappa, const QString& voce, bool valore)
{
    if (bool* opzione = mappa->Opzione(voce))
        *opzione = valore;
}

void Ridisegna(frmSkySat* mappa, bool arraynuovo)
{
    mappa->Genera_mappa(arraynuovo);
}

} // namespace

void Collega_Mappa_Passaggio(MainWindowLink& main)
{
    MainWindowLink* m = &main;
    for (const char* nome : passes::kOpzioni)
        if (QAction* a = main.menuItem(QString::fromLatin1(nome)))
            a->setCheckable(true);

    // Layer toggles: the new check state becomes the active map's option.
    for (const char* nome : {"mnuSkySatGriglia", "mnuSkySatPaesaggio", "mnuSkySatOggettiCostellazioni",
                             "mnuSkySatOggettiPianeti", "mnuSkySatOggettiSoleLuna",
                             "mnuSkySatEtichetteCostellazioni", "mnuSkySatEtichettePianeti",
                             "mnuSkySatEtichetteSoleLuna"}) {
        const QString voce = QString::fromLatin1(nome);
        main.setMenuHandler(voce, [m, voce] {
            frmSkySat* mappa = Mappa_Attiva(*m);
            QAction* a = m->menuItem(voce);
            if (!mappa || !a)
                return;
            // A checkable action has already turned its check by the time
            // the command runs; the check it shows now is the new state.
            const bool valore = a->isChecked();
            Imposta(mappa, voce, valore);
            QApplication::processEvents();
            if (frmSkySat* ancora = Mappa_Attiva(*m); ancora == mappa)
                Ridisegna(mappa, false);
        });
    }

    // Projection pair: a click acts only when the other item is checked.
    const auto proiezione = [m](bool stereo) {
        frmSkySat* mappa = Mappa_Attiva(*m);
        QAction* s = m->menuItem(QStringLiteral("mnuSkySatProiezStereo"));
        QAction* n = m->menuItem(QStringLiteral("mnuSkySatProiezNormale"));
        if (!mappa || !s || !n)
            return;
        const bool attuale = mappa->impmnuSkySatProiezStereo;
        s->setChecked(stereo);
        n->setChecked(!stereo);
        if (attuale == stereo)
            return;
        Imposta(mappa, QStringLiteral("mnuSkySatProiezStereo"), stereo);
        Imposta(mappa, QStringLiteral("mnuSkySatProiezNormale"), !stereo);
        Ridisegna(mappa, false);
    };
    main.setMenuHandler(QStringLiteral("mnuSkySatProiezStereo"), [proiezione] { proiezione(true); });
    main.setMenuHandler(QStringLiteral("mnuSkySatProiezNormale"), [proiezione] { proiezione(false); });

    // Orientation: exactly one item checked. Choosing another redraws the
    // map anew and drops the annotations, whose chart places change; the
    // one already checked changes nothing, and the user's notes stay.
    static const char* const orientamenti[4] = {"mnuSkySatOrientamentoNord", "mnuSkySatOrientamentoSud",
                                                "mnuSkySatOrientamentoOvest", "mnuSkySatOrientamentoEst"};
    for (const char* nome : orientamenti) {
        const QString voce = QString::fromLatin1(nome);
        main.setMenuHandler(voce, [m, voce] {
            frmSkySat* mappa = Mappa_Attiva(*m);
            if (!mappa)
                return;
            const bool* attuale = mappa->Opzione(voce);
            const bool giaScelto = attuale && *attuale;
            // A checkable action has turned its own check: the checks show
            // the one orientation again.
            for (const char* altro : orientamenti)
                if (QAction* a = m->menuItem(QString::fromLatin1(altro)))
                    a->setChecked(voce == QLatin1String(altro));
            if (giaScelto)
                return;
            for (const char* altro : orientamenti)
                if (voce != QLatin1String(altro))
                    Imposta(mappa, QString::fromLatin1(altro), false);
            Imposta(mappa, voce, true);
            Ridisegna(mappa, true);
        });
    }

    main.setMenuHandler(QStringLiteral("mnuSkySatRidisegnaMappa"), [m] {
        if (frmSkySat* mappa = Mappa_Attiva(*m))
            Ridisegna(mappa, true);
    });
    main.setMenuHandler(QStringLiteral("mnuSkySatStampa"), [m] {
        QApplication::processEvents();
        if (frmSkySat* mappa = Mappa_Attiva(*m))
            mappa->Stampa();
    });
    main.setMenuHandler(QStringLiteral("mnuSkySatChiudi"), [m] {
        if (QMdiSubWindow* sub = m->mdiArea()->activeSubWindow(); sub && Mappa_Attiva(*m))
            sub->close();
    });

    // File > Print on an active pass map prints its sheet; on any other
    // window the command does what it did before.
    {
        std::function<void()> prima = main.menuHandler(QStringLiteral("mnuFileStampa"));
        main.setMenuHandler(QStringLiteral("mnuFileStampa"), [m, prima] {
            if (frmSkySat* mappa = Mappa_Attiva(*m)) {
                mappa->Stampa();
                return;
            }
            if (prima)
                prima();
        });
    }

    // The view menu shows while a pass map is the active window, with the
    // checks of that map's options.
    if (QMenu* menu = main.menu(QStringLiteral("mnuSkySat"))) {
        // The window activated comes with the signal: while the main window
        // is being destroyed the workspace still says so, and the main
        // window must not be asked.
        QObject::connect(main.mdiArea(), &QMdiArea::subWindowActivated, menu, [m, menu](QMdiSubWindow* sub) {
            frmSkySat* mappa = sub ? qobject_cast<frmSkySat*>(sub->widget()) : nullptr;
            menu->menuAction()->setVisible(mappa != nullptr);
            if (!mappa)
                return;
            for (const char* nome : passes::kOpzioni)
                if (QAction* a = m->menuItem(QString::fromLatin1(nome)))
                    if (const bool* v = mappa->Opzione(QString::fromLatin1(nome)))
                        a->setChecked(*v);
        });
    }
}

} // namespace passes
