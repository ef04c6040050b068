// The world map's commands of the main window: the two projections of the
// Earth menu and the items of the map's view menu (which is also the map's
// pop-up menu).
#include "common/window_links.h"

#include "core/globals_orbit.h"
#include "core/globals_time.h"
#include "core/mglobal.h"
#include "core/msat.h"
#include "core/settings.h"
#include "core/working_list.h"
#include "database/database_window.h"
#include "common/main_window_link.h"
#include "maps/world_map_window.h"
#include "settings/settings_notice.h"

#include <QAction>
#include <QCoreApplication>
#include <QToolButton>

namespace maps {

namespace {

bool mappaAperta()
{
    return frmWorldMap::instance(false) != nullptr && mGlobal::Form_Aperta(QStringLiteral("frmWorldMap"));
}

bool listaVuota()
{
    return core::WorkingList::instance().isEmpty();
}

// The Earth menu's two maps: the projection word and the first scale.
void Apri_Mappa(const QString& proiezione)
{
    if (listaVuota()) {
        QString file = gstrDatabasePrimario;
        frmDatabase::instance()->Database_satelliti(file);
    }
    if (listaVuota())
        return;
    frmWorldMap* w = frmWorldMap::instance();
    if (proiezione == QLatin1String("Recta"))
        w->Picture1->canvas().Scale(-180, 90, 180, -90);
    else
        w->Picture1->canvas().Scale(-350, 175, 350, -175);
    w->setTag(proiezione);
    mSat::Calcola_Satellite(1, gdblGiornoGiuliano);
    QCoreApplication::processEvents();
    w->Genera_mappa();
    w->Mostra();
}

// Qt has already turned a checkable item's mark when its command runs: the
// mark before the click is the opposite of the present one.
bool eraSpuntata(QAction* a)
{
    return !a->isChecked();
}

} // namespace

void Collega_Mappa_Mondo(MainWindowLink& main)
{
    MainWindowLink* m = &main;
    auto voce = [m](const char* nome) { return m->menuItem(QString::fromLatin1(nome)); };
    auto collega = [m](const char* nome, std::function<void()> f) {
        m->setMenuHandler(QString::fromLatin1(nome), std::move(f));
    };

    collega("mnuTerraMappaRettangolare", [] { Apri_Mappa(QStringLiteral("Recta")); });
    collega("mnuTerraMappaOrtografica", [] { Apri_Mappa(QStringLiteral("Ortho")); });

    // Toggles with a full redraw.
    for (const char* nome : {"mnuWorldmapNomeCitta", "mnuWorldmapOmbra"}) {
        collega(nome, [] {
            if (mappaAperta())
                frmWorldMap::instance()->Genera_mappa();
        });
    }
    // Toggles read at the next tick or pointer move: the mark is all.
    collega("mnuWorldmapDatiSatellite", [] {});
    collega("mnuWorldmapCerchioVisibilita", [] {});

    collega("mnuWorldmapSole", [voce] {
        QAction* a = voce("mnuWorldmapSole");
        if (!mappaAperta()) {
            a->setChecked(eraSpuntata(a));
            return;
        }
        QCoreApplication::processEvents();
        frmWorldMap::instance()->Genera_mappa();
    });
    collega("mnuWorldmapTerminatore", [voce] {
        QAction* a = voce("mnuWorldmapTerminatore");
        if (!mappaAperta()) {
            a->setChecked(eraSpuntata(a));
            return;
        }
        // Without the terminator there is no night side either.
        if (!a->isChecked())
            voce("mnuWorldmapOmbra")->setChecked(false);
        QCoreApplication::processEvents();
        frmWorldMap::instance()->Genera_mappa();
    });

    // One layer drawn over the kept map when switched on; switched off, the
    // map is drawn again without it.
    auto strato = [voce](const char* nome, void (frmWorldMap::*disegna)()) {
        return [voce, nome, disegna] {
            QAction* a = voce(nome);
            if (listaVuota() || !mappaAperta()) {
                a->setChecked(eraSpuntata(a));
                return;
            }
            QCoreApplication::processEvents();
            frmWorldMap* w = frmWorldMap::instance();
            if (!a->isChecked()) {
                w->Genera_mappa();
            } else {
                platform::Canvas& c = w->Picture1->canvas();
                c.setAutoRedraw(true);
                try {
                    (w->*disegna)();
                } catch (...) {
                }
                c.setAutoRedraw(false);
                w->Picture1->update();
            }
        };
    };
    collega("mnuWorldmapGriglia", strato("mnuWorldmapGriglia", &frmWorldMap::Disegna_griglia));
    collega("mnuWorldmapTracciatoOrbita", strato("mnuWorldmapTracciatoOrbita", &frmWorldMap::Disegna_orbita));

    collega("mnuWorldmapRiquadroDati", [voce] {
        if (frmWorldMap* w = frmWorldMap::instance(false)) {
            w->larghezzaRiquadro(voce("mnuWorldmapRiquadroDati")->isChecked() ? 1935 : 0);
            w->Form_Resize();
        }
    });
    collega("mnuWorldmapCoordinateMouse", [voce] {
        frmWorldMap* w = frmWorldMap::instance(false);
        if (!w)
            return;
        if (!voce("mnuWorldmapCoordinateMouse")->isChecked()) {
            w->Picture1->unsetCursor();
            w->setWindowTitle(w->Tag() == QLatin1String("Recta") ? w->titoloRettangolare()
                                                                  : w->titoloOrtografico());
        } else {
            w->Picture1->setCursor(Qt::CrossCursor);
        }
    });
    collega("mnuWorldmapRidisegnaMappa", [] {
        if (mappaAperta())
            frmWorldMap::instance()->Genera_mappa();
    });
    collega("mnuWorldmapChiudi", [] { frmWorldMap::Unload(); });

    collega("mnuWorldmapRimuovi", [] {
        frmWorldMap* w = frmWorldMap::instance(false);
        if (!w)
            return;
        const int k = w->mintSelezione();
        if (k < 1 || k > gintNumSatelliti)
            return;
        core::WorkingList::instance().Rimuovi(k);
        // The pick named the satellite just removed: the release of the
        // button that opened the menu must not act on the one now in its slot.
        w->setMintSelezione(0);
        mSat::Calcola_Satellite(1, gdblGiornoGiuliano);
        w->Genera_mappa();
        if (gintNumSatelliti == 0)
            w->Azzera_dati();
    });
    // Enabled only by the map's pop-up over a satellite other than the principal.
    voce("mnuWorldmapRimuovi")->setEnabled(false);

    // Options > OK, once the world-map page is stored: the view menu and the
    // toolbar follow the settings and the map is drawn again.
    settings::avvisiOpzioni().mappaMondo = [] {
        MainWindowLink* m = MainWindowLink::instance();
        if (!m || !mappaAperta())
            return;
        auto spunta = [m](const char* nome, bool on) {
            if (QAction* a = m->menuItem(QString::fromLatin1(nome)))
                a->setChecked(on);
        };
        auto premi = [m](const char* nome, bool on) {
            if (QToolButton* b = m->toolButton(QString::fromLatin1(nome))) {
                b->setCheckable(true);
                b->setChecked(on);
            }
        };
        spunta("mnuWorldmapGriglia", gblnMappaGriglia);
        premi("Griglia", gblnMappaGriglia);
        spunta("mnuWorldmapNomeCitta", gblnMappaCitta);
        spunta("mnuWorldmapCerchioVisibilita", gblnMappaCerchio);
        premi("SatOrbit", gblnMappaOrbita);
        spunta("mnuWorldmapTracciatoOrbita", gblnMappaOrbita);
        spunta("mnuWorldmapDatiSatellite", gblnMappaMouseDati);
        spunta("mnuWorldmapCoordinateMouse", gblnMappaLocalizzatore);
        spunta("mnuWorldmapSole", gblnMappaSole);
        spunta("mnuWorldmapOmbra", gblnMappaOmbra);
        frmWorldMap* w = frmWorldMap::instance();
        if (!gblnMappaLocalizzatore) {
            w->Picture1->unsetCursor();
            w->setWindowTitle(w->Tag() == QLatin1String("Recta") ? w->titoloRettangolare() : w->titoloOrtografico());
        } else {
            w->Picture1->setCursor(Qt::CrossCursor);
        }
        w->Genera_mappa();
    };
}

} // namespace maps
