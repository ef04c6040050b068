#include "shell/main_window.h"

#include "common/access_keys.h"
#include "common/window_host.h"
#include "common/window_calls.h"
#include "core/globals.h"
#include "core/mlang.h"
#include "core/mreg.h"
#include "core/startup.h"
#include "core/working_list.h"
#include "platform/file_chooser.h"
#include "platform/help_service.h"
#include "platform/help_window.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/vb.h"
#include "shell/about_box.h"
#include "shell/language_picker.h"
#include "shell/time_window.h"
#include "shell/night_colours.h"
#include "shell/toolbar_icons.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QFontMetrics>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>
#include <QLibraryInfo>

namespace {

MDIForm1* g_instance = nullptr;

bool Chiusura_Concessa(QMdiArea* mdi);

const QString kSezione = QStringLiteral("MDIForm1");

// The toolbar: key, the menu item its click runs, tooltip key. An empty key
// is a separator.
struct Pulsante {
    const char* key;
    const char* voce;
    const char* tooltip;
};
const Pulsante kPulsanti[] = {
    {"Open", "mnuFileApri", "apri"},
    {"Save", "mnuFileSalvaImpostazioni", "salva"},
    {"", "", ""},
    {"Location", "mnuOpzioniLocalita", "localita"},
    {"Time", "mnuOpzioniData", "data"},
    {"", "", ""},
    {"Recta", "mnuTerraMappaRettangolare", "mapparett"},
    {"Ortho", "mnuTerraMappaOrtografica", "mappaorto"},
    {"Griglia", "mnuWorldmapGriglia", "griglia"},
    {"Terminatore", "mnuWorldmapTerminatore", "terminatore"},
    {"Ombra", "mnuWorldmapOmbra", "ombra"},
    {"SatOrbit", "mnuWorldmapTracciatoOrbita", "tracciato"},
    {"", "", ""},
    {"LocalSky", "mnuCieloMappaLocale", "cielolocale"},
    {"Transit", "mnuLocalSkyTransitoPrincipale", "transito"},
    {"Planets", "mnuEffemeridiPianeti", "pianeti"},
    {"SkyMap", "mnuCieloMappaGenerale", "cielogenerale"},
    {"", "", ""},
    {"Satellite", "mnuSatellitiDatabase", "database"},
    {"Elements", "mnuSatellitiElementiOrbitali", "elementi"},
    {"Calcolo", "mnuSatellitiCalcoloEffemeridi", "calcolo"},
    {"Relativo", "mnuSatellitiMotoRelativo", "relativo"},
    {"Track", "mnuEffemeridiSatelliti", "effemeridi"},
    {"Find", "mnuSatellitiPrevisioniPassaggi", "previsioni"},
    {"", "", ""},
    {"Stampa", "mnuFileStampa", "stampa"},
    {"Rete", "mnuStrumentiDownload", "rete"},
    {"Sincro", "mnuStrumentiSincronizzazione", "sincro"},
    {"Impostazioni", "mnuOpzioniGenerali", "impostazioni"},
};

// The drop-down entries of button 1: key, menu item, caption key.
struct VoceTendina {
    const char* key;
    const char* voce;
};
const VoceTendina kTendina[] = {
    {"Open", "mnuFileApri"},
    {"Summary", "mnuFileVisualizza"},
    {"Modify", "mnuFileModifica"},
};

// Items that carry a check mark.
const QStringList kSpuntabili = {
    QStringLiteral("mnuVisualizzaBarraPulsanti"), QStringLiteral("mnuVisualizzaBarraStato"),
    QStringLiteral("mnuVisualizzaColoriNotte"),
    QStringLiteral("mnuWorldmapGriglia"), QStringLiteral("mnuWorldmapRiquadroDati"),
    QStringLiteral("mnuWorldmapDatiSatellite"), QStringLiteral("mnuWorldmapCoordinateMouse"),
    QStringLiteral("mnuWorldmapNomeCitta"), QStringLiteral("mnuWorldmapSole"),
    QStringLiteral("mnuWorldmapTerminatore"), QStringLiteral("mnuWorldmapOmbra"),
    QStringLiteral("mnuWorldmapCerchioVisibilita"), QStringLiteral("mnuWorldmapTracciatoOrbita"),
    QStringLiteral("mnuLocalSkyGriglia"), QStringLiteral("mnuLocalSkyPaesaggio"),
    QStringLiteral("mnuLocalSkyRiquadroDati"), QStringLiteral("mnuLocalSkyCoordEquat"),
    QStringLiteral("mnuLocalSkyCoordOrizz"), QStringLiteral("mnuLocalSkyProiezStereo"),
    QStringLiteral("mnuLocalSkyProiezNormale"), QStringLiteral("mnuLocalSkyOrientamentoNord"),
    QStringLiteral("mnuLocalSkyOrientamentoSud"), QStringLiteral("mnuLocalSkyOrientamentoOvest"),
    QStringLiteral("mnuLocalSkyOrientamentoEst"), QStringLiteral("mnuLocalSkyOggettiCostellazioni"),
    QStringLiteral("mnuLocalSkyOggettiPianeti"), QStringLiteral("mnuLocalSkyOggettiSoleLuna"),
    QStringLiteral("mnuLocalSkyEtichetteCostellazioni"), QStringLiteral("mnuLocalSkyEtichettePianeti"),
    QStringLiteral("mnuLocalSkyEtichetteSoleLuna"), QStringLiteral("mnuLocalSkyZoom"),
    QStringLiteral("mnuLocalSkyTransitoPrincipale"), QStringLiteral("mnuLocalSkyTempi"),
    QStringLiteral("mnuLocalSkySoloPrincipale"),
    QStringLiteral("mnuGeneralSkyGriglia"), QStringLiteral("mnuGeneralSkyOggettiCostellazioni"),
    QStringLiteral("mnuGeneralSkyOggettiPianeti"), QStringLiteral("mnuGeneralSkyOggettiSoleLuna"),
    QStringLiteral("mnuGeneralSkyEtichetteCostellazioni"),
    QStringLiteral("mnuGeneralSkyEtichettePianeti"), QStringLiteral("mnuGeneralSkyEtichetteSoleLuna"),
    QStringLiteral("mnuGeneralSkyZoom"),
    QStringLiteral("mnuSkySatGriglia"), QStringLiteral("mnuSkySatPaesaggio"),
    QStringLiteral("mnuSkySatProiezStereo"), QStringLiteral("mnuSkySatProiezNormale"),
    QStringLiteral("mnuSkySatOrientamentoNord"), QStringLiteral("mnuSkySatOrientamentoSud"),
    QStringLiteral("mnuSkySatOrientamentoOvest"), QStringLiteral("mnuSkySatOrientamentoEst"),
    QStringLiteral("mnuSkySatOggettiCostellazioni"), QStringLiteral("mnuSkySatOggettiPianeti"),
    QStringLiteral("mnuSkySatOggettiSoleLuna"), QStringLiteral("mnuSkySatEtichetteCostellazioni"),
    QStringLiteral("mnuSkySatEtichettePianeti"), QStringLiteral("mnuSkySatEtichetteSoleLuna"),
};

} // namespace

const QStringList& MDIForm1::nomiMenu()
{
    static const QStringList nomi = {
        // File
        "mnuFile", "mnuFileApri", "mnuFileVisualizza", "mnuFileNuovo", "mnuFileModifica",
        "mnuFileSalva", "mnuFileImpostaStampante", "mnuFileStampa",
        "mnuFileRipristinaImpostazioni", "mnuFileSalvaImpostazioni", "mnuFileEsci",
        // Edit
        "mnuModifica", "mnuModificaAnnulla", "mnuModificaTaglia", "mnuModificaCopia",
        "mnuModificaIncolla", "mnuModificaCancella",
        // View
        "mnuVisualizza", "mnuVisualizzaBarraPulsanti", "mnuVisualizzaBarraStato",
        "mnuVisualizzaColoriNotte",
        // World map
        "mnuWorldmapGriglia", "mnuWorldmapDatiSatellite", "mnuWorldmapCoordinateMouse",
        "mnuWorldmapNomeCitta", "mnuWorldmapSatellite", "mnuWorldmapCerchioVisibilita",
        "mnuWorldmapTracciatoOrbita", "mnuWorldmapRimuovi", "mnuWorldmapRidisegnaMappa",
        "mnuWorldmapChiudi", "mnuWorldmapRiquadroDati", "mnuWorldmapSole",
        "mnuWorldmapTerminatore", "mnuWorldmapOmbra",
        // Earth, sky and satellites
        "mnuTerra", "mnuTerraMappaRettangolare", "mnuTerraMappaOrtografica", "mnuCielo",
        "mnuCieloMappaLocale", "mnuCieloMappaGenerale", "mnuSatelliti", "mnuSatellitiDatabase",
        "mnuSatellitiElementiOrbitali", "mnuSatellitiMotoRelativo", "mnuSatellitiCalcoloEffemeridi",
        "mnuSatellitiPrevisioniPassaggi", "mnuEffemeridi", "mnuEffemeridiPianeti",
        "mnuEffemeridiSatelliti", "mnuEffemeridiAlmanacco",
        // Tools and options
        "mnuStrumenti", "mnuStrumentiCalendario", "mnuStrumentiCalcolatrice",
        "mnuStrumentiProgramma", "mnuStrumentiDownload", "mnuStrumentiFormattazione",
        "mnuStrumentiSincronizzazione", "mnuOpzioni", "mnuOpzioniData", "mnuOpzioniLocalita",
        "mnuOpzioniGenerali", "mnuOpzioniSatelliti", "mnuOpzioniMappamondo",
        "mnuOpzioniCieloLocale", "mnuOpzioniCieloGenerale", "mnuOpzioniAnteprime",
        "mnuOpzioniFiltri", "mnuOpzioniServerNTP", "mnuOpzioniEsegui", "mnuOpzioniDownload",
        "mnuOpzioniColori", "mnuOpzioniLingua",
        // Windows and help
        "mnuFinestre", "mnuFinestreDiscesa", "mnuFinestreDisponiOrizzontale",
        "mnuFinestreDisponiVerticale", "mnuFinestreChiudiTutto", "mnuFinestreDisponiTutto",
        "mnuAiuto", "mnuAiutoSommario", "mnuAiutoCerca", "mnuAiutoInformazioni",
        // Local sky
        "mnuLocalSkyGriglia", "mnuLocalSkyPaesaggio", "mnuLocalSkyCoordEquat",
        "mnuLocalSkyCoordOrizz", "mnuLocalSkyProiezStereo", "mnuLocalSkyProiezNormale",
        "mnuLocalSkyOrientamento", "mnuLocalSkyOrientamentoNord", "mnuLocalSkyOrientamentoSud",
        "mnuLocalSkyOrientamentoOvest", "mnuLocalSkyOrientamentoEst", "mnuLocalSkyOggetti",
        "mnuLocalSkyOggettiCostellazioni", "mnuLocalSkyOggettiPianeti",
        "mnuLocalSkyOggettiSoleLuna", "mnuLocalSkyEtichette", "mnuLocalSkyEtichetteCostellazioni",
        "mnuLocalSkyEtichettePianeti", "mnuLocalSkyEtichetteSoleLuna", "mnuLocalSkyMagnitudine",
        "mnuLocalSkyZoom", "mnuLocalSkyRipristina", "mnuLocalSkySatellite",
        "mnuLocalSkyTransitoPrincipale", "mnuLocalSkyTempi", "mnuLocalSkySoloPrincipale",
        "mnuLocalSkyRidisegnaMappa", "mnuLocalSkyStampa", "mnuLocalSkyChiudi",
        "mnuLocalSkyRiquadroDati",
        // General sky
        "mnuGeneralSkyGriglia", "mnuGeneralSkyOggetti", "mnuGeneralSkyOggettiCostellazioni",
        "mnuGeneralSkyOggettiPianeti", "mnuGeneralSkyOggettiSoleLuna", "mnuGeneralSkyEtichette",
        "mnuGeneralSkyEtichetteCostellazioni", "mnuGeneralSkyEtichettePianeti",
        "mnuGeneralSkyEtichetteSoleLuna", "mnuGeneralSkyMagnitudine", "mnuGeneralSkyZoom",
        "mnuGeneralSkyRipristina", "mnuGeneralSkyRidisegnaMappa", "mnuGeneralSkyStampa",
        "mnuGeneralSkyChiudi",
        // Pass map
        "mnuSkySatGriglia", "mnuSkySatPaesaggio", "mnuSkySatProiezStereo",
        "mnuSkySatProiezNormale", "mnuSkySatOrientamento", "mnuSkySatOrientamentoNord",
        "mnuSkySatOrientamentoSud", "mnuSkySatOrientamentoOvest", "mnuSkySatOrientamentoEst",
        "mnuSkySatOggetti", "mnuSkySatOggettiCostellazioni", "mnuSkySatOggettiPianeti",
        "mnuSkySatOggettiSoleLuna", "mnuSkySatEtichette", "mnuSkySatEtichetteCostellazioni",
        "mnuSkySatEtichettePianeti", "mnuSkySatEtichetteSoleLuna", "mnuSkySatMagnitudine",
        "mnuSkySatRidisegnaMappa", "mnuSkySatStampa", "mnuSkySatChiudi",
    };
    return nomi;
}

MDIForm1* MDIForm1::instance()
{
    return g_instance;
}

MDIForm1::MDIForm1(QWidget* parent) : QMainWindow(parent)
{
    g_instance = this;
    // The rules every window follows (titles, the keyboard after a window
    // of its own closes), from the start.
    common::Installa_Regole_Finestre();
    setObjectName(QStringLiteral("MDIForm1"));
    setWindowTitle(core::Titolo_Finestra());
    m_mdi = new QMdiArea(this);
    // Every window opens inside the visible workspace.
    common::Sorveglia_Area(m_mdi);
    // Alt and a letter underlined on a button of the window in front press
    // that button; the menu bar keeps the other letters.
    common::Tasti_Accesso_Finestra_Davanti(m_mdi);
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(m_mdi);
    // With no window in it holding the keyboard (right after the start, once
    // the last one has gone), the workspace holds it: letters typed there do
    // nothing, and the menu bar gives it back there after Alt and Escape
    // (left with none, the menu bar would keep it, and a plain letter would
    // open a menu). The first place in the window's Tab order, which the
    // main window's activation gives the keyboard when nothing holds it.
    m_mdi->setFocusPolicy(Qt::TabFocus);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* ora) {
        if (ora || QApplication::activeWindow() != this)
            return;
        // Once the code that took it away has gone on (a window of the
        // workspace activated in its stead takes it).
        QTimer::singleShot(0, this, [this] {
            if (QApplication::activeWindow() == this && !QApplication::focusWidget()
                && !QApplication::activePopupWidget() && m_mdi->isVisible())
                m_mdi->setFocus(Qt::OtherFocusReason);
        });
    });

    creaMenu();
    creaToolbar();
    creaStatusBar();

    m_tmrCentrale = new QTimer(this);
    m_tmrCentrale->setObjectName(QStringLiteral("tmrCentrale"));
    m_tmrCentrale->setInterval(1000);
    connect(m_tmrCentrale, &QTimer::timeout, this, &MDIForm1::passoOrologio);

    core::clockViews().status = this;
    // A dialog of fixed layout is never stretched across the workspace, also
    // when a window that opens it shows it by itself while another is maximised.
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [](QMdiSubWindow* sub) {
        if (sub && sub->isMaximized() && common::Dimensione_Fissa(sub->widget()))
            QTimer::singleShot(0, sub, [sub] { sub->showNormal(); });
    });
    // A language chosen while the main window is up applies at once.
    frmLanguage::applicaLingua() = [this](QWidget* picker) {
        if (isVisible()) {
            closeChildren(picker);
            Lingua();
        }
    };
    // The windows the change closes are asked first, as Close all asks them.
    frmLanguage::chiusuraConcessa() = [this] { return !isVisible() || Chiusura_Concessa(m_mdi); };
    connect(&core::WorkingList::instance(), &core::WorkingList::changed, this,
            &MDIForm1::Mostra_principale);
}

MDIForm1::~MDIForm1()
{
    m_tmrCentrale->stop();
    if (core::clockViews().status == this)
        core::clockViews().status = nullptr;
    frmLanguage::applicaLingua() = nullptr;
    frmLanguage::chiusuraConcessa() = nullptr;
    delete m_time;
    if (g_instance == this)
        g_instance = nullptr;
}

// ---------------------------------------------------------------- menus

QAction* MDIForm1::voce(QMenu* menu, const QString& name, bool checkable)
{
    QAction* a = menu->addAction(QString());
    a->setObjectName(name);
    a->setCheckable(checkable || kSpuntabili.contains(name));
    a->setEnabled(false); // until the command exists
    connect(a, &QAction::triggered, this, [this, name] {
        auto it = m_handlers.constFind(name);
        if (it != m_handlers.constEnd() && *it)
            (*it)();
    });
    m_items.insert(name, a);
    return a;
}

void MDIForm1::collega(const QString& name, void (MDIForm1::*slot)())
{
    setMenuHandler(name, [this, slot] { (this->*slot)(); });
}

void MDIForm1::setMenuHandler(const QString& name, std::function<void()> handler)
{
    QAction* a = m_items.value(name);
    if (!a)
        return;
    m_handlers.insert(name, std::move(handler));
    a->setEnabled(true);
    aggiornaStatoPulsanti();
}

void MDIForm1::creaMenu()
{
    QMenuBar* bar = menuBar();
    auto principale = [&](const QString& name) {
        QMenu* m = bar->addMenu(QString());
        m->setObjectName(name);
        m_menus.insert(name, m);
        m_items.insert(name, m->menuAction());
        return m;
    };
    auto sotto = [&](QMenu* parent, const QString& name) {
        QMenu* m = parent->addMenu(QString());
        m->setObjectName(name);
        m_menus.insert(name, m);
        m_items.insert(name, m->menuAction());
        return m;
    };

    QMenu* m = principale("mnuFile");
    voce(m, "mnuFileApri");
    voce(m, "mnuFileVisualizza");
    voce(m, "mnuFileNuovo");
    voce(m, "mnuFileModifica");
    voce(m, "mnuFileSalva");
    m->addSeparator();
    voce(m, "mnuFileImpostaStampante");
    voce(m, "mnuFileStampa");
    m->addSeparator();
    voce(m, "mnuFileRipristinaImpostazioni");
    voce(m, "mnuFileSalvaImpostazioni");
    m->addSeparator();
    voce(m, "mnuFileEsci");

    m = principale("mnuModifica");
    voce(m, "mnuModificaAnnulla");
    m->addSeparator();
    voce(m, "mnuModificaTaglia");
    voce(m, "mnuModificaCopia");
    voce(m, "mnuModificaIncolla");
    voce(m, "mnuModificaCancella");
    connect(m, &QMenu::aboutToShow, this, &MDIForm1::mnuModifica_Click);

    m = principale("mnuVisualizza");
    voce(m, "mnuVisualizzaBarraPulsanti");
    voce(m, "mnuVisualizzaBarraStato");
    m->addSeparator();
    voce(m, "mnuVisualizzaColoriNotte");

    // The view menus of the world map, the local sky chart, the whole-sky
    // chart and the pass maps: shown by those windows while they are active.
    m = principale("mnuWorldmap");
    m->setTitle(QStringLiteral("Worldmap"));
    voce(m, "mnuWorldmapGriglia");
    voce(m, "mnuWorldmapRiquadroDati");
    voce(m, "mnuWorldmapDatiSatellite");
    voce(m, "mnuWorldmapCoordinateMouse");
    voce(m, "mnuWorldmapNomeCitta");
    m->addSeparator();
    voce(m, "mnuWorldmapSole");
    voce(m, "mnuWorldmapTerminatore");
    voce(m, "mnuWorldmapOmbra");
    m->addSeparator();
    QMenu* s = sotto(m, "mnuWorldmapSatellite");
    voce(s, "mnuWorldmapCerchioVisibilita");
    voce(s, "mnuWorldmapTracciatoOrbita");
    s->addSeparator();
    voce(s, "mnuWorldmapRimuovi");
    m->addSeparator();
    voce(m, "mnuWorldmapRidisegnaMappa");
    m->addSeparator();
    voce(m, "mnuWorldmapChiudi");

    m = principale("mnuLocalSky");
    m->setTitle(QStringLiteral("Local Sky"));
    voce(m, "mnuLocalSkyGriglia");
    voce(m, "mnuLocalSkyPaesaggio");
    voce(m, "mnuLocalSkyRiquadroDati");
    m->addSeparator();
    voce(m, "mnuLocalSkyCoordEquat");
    voce(m, "mnuLocalSkyCoordOrizz");
    m->addSeparator();
    voce(m, "mnuLocalSkyProiezStereo");
    voce(m, "mnuLocalSkyProiezNormale");
    m->addSeparator();
    s = sotto(m, "mnuLocalSkyOrientamento");
    voce(s, "mnuLocalSkyOrientamentoNord");
    voce(s, "mnuLocalSkyOrientamentoSud");
    voce(s, "mnuLocalSkyOrientamentoOvest");
    voce(s, "mnuLocalSkyOrientamentoEst");
    s = sotto(m, "mnuLocalSkyOggetti");
    voce(s, "mnuLocalSkyOggettiCostellazioni");
    voce(s, "mnuLocalSkyOggettiPianeti");
    voce(s, "mnuLocalSkyOggettiSoleLuna");
    s = sotto(m, "mnuLocalSkyEtichette");
    voce(s, "mnuLocalSkyEtichetteCostellazioni");
    voce(s, "mnuLocalSkyEtichettePianeti");
    voce(s, "mnuLocalSkyEtichetteSoleLuna");
    voce(m, "mnuLocalSkyMagnitudine");
    m->addSeparator();
    voce(m, "mnuLocalSkyZoom");
    voce(m, "mnuLocalSkyRipristina");
    m->addSeparator();
    s = sotto(m, "mnuLocalSkySatellite");
    voce(s, "mnuLocalSkyTransitoPrincipale");
    voce(s, "mnuLocalSkyTempi");
    voce(s, "mnuLocalSkySoloPrincipale");
    m->addSeparator();
    voce(m, "mnuLocalSkyRidisegnaMappa");
    voce(m, "mnuLocalSkyStampa");
    m->addSeparator();
    voce(m, "mnuLocalSkyChiudi");

    m = principale("mnuGeneralSky");
    m->setTitle(QStringLiteral("General Sky"));
    voce(m, "mnuGeneralSkyGriglia");
    m->addSeparator();
    s = sotto(m, "mnuGeneralSkyOggetti");
    voce(s, "mnuGeneralSkyOggettiCostellazioni");
    voce(s, "mnuGeneralSkyOggettiPianeti");
    voce(s, "mnuGeneralSkyOggettiSoleLuna");
    s = sotto(m, "mnuGeneralSkyEtichette");
    voce(s, "mnuGeneralSkyEtichetteCostellazioni");
    voce(s, "mnuGeneralSkyEtichettePianeti");
    voce(s, "mnuGeneralSkyEtichetteSoleLuna");
    voce(m, "mnuGeneralSkyMagnitudine");
    m->addSeparator();
    voce(m, "mnuGeneralSkyZoom");
    voce(m, "mnuGeneralSkyRipristina");
    m->addSeparator();
    voce(m, "mnuGeneralSkyRidisegnaMappa");
    voce(m, "mnuGeneralSkyStampa");
    m->addSeparator();
    voce(m, "mnuGeneralSkyChiudi");

    m = principale("mnuSkySat");
    m->setTitle(QStringLiteral("SkySat"));
    voce(m, "mnuSkySatGriglia");
    voce(m, "mnuSkySatPaesaggio");
    m->addSeparator();
    voce(m, "mnuSkySatProiezStereo");
    voce(m, "mnuSkySatProiezNormale");
    m->addSeparator();
    s = sotto(m, "mnuSkySatOrientamento");
    voce(s, "mnuSkySatOrientamentoNord");
    voce(s, "mnuSkySatOrientamentoSud");
    voce(s, "mnuSkySatOrientamentoOvest");
    voce(s, "mnuSkySatOrientamentoEst");
    s = sotto(m, "mnuSkySatOggetti");
    voce(s, "mnuSkySatOggettiCostellazioni");
    voce(s, "mnuSkySatOggettiPianeti");
    voce(s, "mnuSkySatOggettiSoleLuna");
    s = sotto(m, "mnuSkySatEtichette");
    voce(s, "mnuSkySatEtichetteCostellazioni");
    voce(s, "mnuSkySatEtichettePianeti");
    voce(s, "mnuSkySatEtichetteSoleLuna");
    voce(m, "mnuSkySatMagnitudine");
    m->addSeparator();
    voce(m, "mnuSkySatRidisegnaMappa");
    voce(m, "mnuSkySatStampa");
    m->addSeparator();
    voce(m, "mnuSkySatChiudi");
    for (const char* vista : {"mnuWorldmap", "mnuLocalSky", "mnuGeneralSky", "mnuSkySat"})
        m_menus.value(QLatin1String(vista))->menuAction()->setVisible(false);

    m = principale("mnuTerra");
    voce(m, "mnuTerraMappaRettangolare");
    voce(m, "mnuTerraMappaOrtografica");

    m = principale("mnuCielo");
    voce(m, "mnuCieloMappaLocale");
    voce(m, "mnuCieloMappaGenerale");

    m = principale("mnuSatelliti");
    voce(m, "mnuSatellitiDatabase");
    voce(m, "mnuSatellitiElementiOrbitali");
    m->addSeparator();
    voce(m, "mnuSatellitiPrevisioniPassaggi");
    voce(m, "mnuSatellitiCalcoloEffemeridi");
    voce(m, "mnuSatellitiMotoRelativo");

    m = principale("mnuEffemeridi");
    voce(m, "mnuEffemeridiPianeti");
    voce(m, "mnuEffemeridiSatelliti");
    voce(m, "mnuEffemeridiAlmanacco");

    m = principale("mnuStrumenti");
    voce(m, "mnuStrumentiCalendario");
    voce(m, "mnuStrumentiCalcolatrice");
    voce(m, "mnuStrumentiProgramma");
    m->addSeparator();
    voce(m, "mnuStrumentiDownload");
    voce(m, "mnuStrumentiFormattazione");
    voce(m, "mnuStrumentiSincronizzazione");

    m = principale("mnuOpzioni");
    voce(m, "mnuOpzioniData");
    voce(m, "mnuOpzioniLocalita");
    m->addSeparator();
    voce(m, "mnuOpzioniGenerali");
    voce(m, "mnuOpzioniSatelliti");
    voce(m, "mnuOpzioniMappamondo");
    voce(m, "mnuOpzioniCieloLocale");
    voce(m, "mnuOpzioniCieloGenerale");
    voce(m, "mnuOpzioniAnteprime");
    voce(m, "mnuOpzioniFiltri");
    voce(m, "mnuOpzioniServerNTP");
    voce(m, "mnuOpzioniEsegui");
    voce(m, "mnuOpzioniDownload");
    voce(m, "mnuOpzioniColori");
    m->addSeparator();
    voce(m, "mnuOpzioniLingua");

    m = principale("mnuFinestre");
    voce(m, "mnuFinestreDiscesa");
    voce(m, "mnuFinestreDisponiOrizzontale");
    voce(m, "mnuFinestreDisponiVerticale");
    voce(m, "mnuFinestreDisponiTutto");
    m->addSeparator();
    voce(m, "mnuFinestreChiudiTutto");

    m = principale("mnuAiuto");
    voce(m, "mnuAiutoSommario");
    voce(m, "mnuAiutoCerca");
    m->addSeparator();
    voce(m, "mnuAiutoInformazioni");

    // The commands of this window.
    collega("mnuFileSalvaImpostazioni", &MDIForm1::mnuFileSalvaImpostazioni_Click);
    collega("mnuFileRipristinaImpostazioni", &MDIForm1::mnuFileRipristinaImpostazioni_Click);
    collega("mnuFileEsci", &MDIForm1::mnuFileEsci_Click);
    collega("mnuModificaAnnulla", &MDIForm1::mnuModificaAnnulla_Click);
    collega("mnuModificaTaglia", &MDIForm1::mnuModificaTaglia_Click);
    collega("mnuModificaCopia", &MDIForm1::mnuModificaCopia_Click);
    collega("mnuModificaIncolla", &MDIForm1::mnuModificaIncolla_Click);
    collega("mnuModificaCancella", &MDIForm1::mnuModificaCancella_Click);
    collega("mnuVisualizzaBarraPulsanti", &MDIForm1::mnuVisualizzaBarraPulsanti_Click);
    collega("mnuVisualizzaBarraStato", &MDIForm1::mnuVisualizzaBarraStato_Click);
    collega("mnuVisualizzaColoriNotte", &MDIForm1::mnuVisualizzaColoriNotte_Click);
    collega("mnuFinestreDiscesa", &MDIForm1::mnuFinestreDiscesa_Click);
    collega("mnuFinestreDisponiOrizzontale", &MDIForm1::mnuFinestreDisponiOrizzontale_Click);
    collega("mnuFinestreDisponiVerticale", &MDIForm1::mnuFinestreDisponiVerticale_Click);
    collega("mnuFinestreDisponiTutto", &MDIForm1::mnuFinestreDisponiTutto_Click);
    collega("mnuFinestreChiudiTutto", &MDIForm1::mnuFinestreChiudiTutto_Click);
    collega("mnuOpzioniData", &MDIForm1::mnuOpzioniData_Click);
    collega("mnuOpzioniLingua", &MDIForm1::mnuOpzioniLingua_Click);
    collega("mnuAiutoInformazioni", &MDIForm1::mnuAiutoInformazioni_Click);
    setMenuHandler("mnuAiutoSommario", [this] {
        auto* help = platform::services().help;
        if (!help || !help->showContents(this))
            platform::MsgBox(mLang::Testo_Lingua(kSezione, "nofilehelp"), platform::vbInformation);
    });
    setMenuHandler("mnuAiutoCerca", [this] {
        auto* help = platform::services().help;
        if (!help || !help->searchKeyword({}, this))
            platform::MsgBox(mLang::Testo_Lingua(kSezione, "nofilehelp"), platform::vbInformation);
    });
}

// ---------------------------------------------------------------- toolbar

void MDIForm1::creaToolbar()
{
    m_toolbar = addToolBar(QString());
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setIconSize(QSize(16, 16));
    for (const Pulsante& p : kPulsanti) {
        const QString key = QLatin1String(p.key);
        if (key.isEmpty()) {
            m_toolbar->addSeparator();
            continue;
        }
        auto* b = new QToolButton(m_toolbar);
        b->setObjectName(QStringLiteral("Toolbar1_") + key);
        b->setIcon(shell::Icona_Pulsante(key));
        b->setAutoRaise(true);
        // As on a desktop's toolbar, the buttons are for the mouse: none
        // takes the keyboard, which would otherwise rest unseen on Open
        // after the start, where Space or a typed word would open a file.
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this, [this, key] { Toolbar1_ButtonClick(key); });
        m_toolbar->addWidget(b);
        m_buttons.insert(key, b);
        m_buttonTarget.insert(key, QLatin1String(p.voce));
        if (key == QLatin1String("Open")) {
            m_toolbarMenu = new QMenu(b);
            for (const VoceTendina& v : kTendina) {
                const QString k = QLatin1String(v.key);
                QAction* a = m_toolbarMenu->addAction(QString());
                a->setObjectName(QStringLiteral("Toolbar1_Menu_") + k);
                connect(a, &QAction::triggered, this, [this, k] { Toolbar1_ButtonMenuClick(k); });
            }
            b->setMenu(m_toolbarMenu);
            b->setPopupMode(QToolButton::MenuButtonPopup);
        }
    }
    aggiornaStatoPulsanti();
}

void MDIForm1::aggiornaStatoPulsanti()
{
    for (auto it = m_buttons.constBegin(); it != m_buttons.constEnd(); ++it) {
        const QString target = m_buttonTarget.value(it.key());
        it.value()->setEnabled(m_handlers.contains(target));
    }
    if (m_toolbarMenu) {
        const auto entries = m_toolbarMenu->actions();
        for (int i = 0; i < entries.size() && i < int(std::size(kTendina)); ++i)
            entries[i]->setEnabled(m_handlers.contains(QLatin1String(kTendina[i].voce)));
    }
}

void MDIForm1::Toolbar1_ButtonClick(const QString& key)
{
    if (!m_buttonTarget.contains(key))
        return;
    const bool transito = key == QLatin1String("Transit");
    QAction* a = m_items.value(m_buttonTarget.value(key));
    // The transit of the principal satellite needs the local sky chart open.
    if (a && a->isEnabled() && !(transito && !core::clockViews().localSky))
        a->trigger();
    // The transit button shows whether the pass is drawn, also after a
    // click the command refused.
    if (QToolButton* b = transito ? m_buttons.value(key) : nullptr; b && b->isCheckable())
        b->setChecked(a && a->isChecked());
}

void MDIForm1::Toolbar1_ButtonMenuClick(const QString& key)
{
    for (const VoceTendina& v : kTendina) {
        if (key == QLatin1String(v.key)) {
            QAction* a = m_items.value(QLatin1String(v.voce));
            if (a && a->isEnabled())
                a->trigger();
            return;
        }
    }
}

// ---------------------------------------------------------------- status bar

void MDIForm1::creaStatusBar()
{
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar->setSizeGripEnabled(true);
    setStatusBar(m_statusBar);
    const int stretch[3] = {3, 2, 2};
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(m_statusBar);
        l->setObjectName(QStringLiteral("StatusBar1_Panel%1").arg(i + 1));
        l->setTextFormat(Qt::PlainText);   // a satellite's or a place's name, never markup
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setMinimumWidth(i == 0 ? 260 : 140);
        l->installEventFilter(this);
        m_statusBar->addWidget(l, stretch[i]);
        m_panels[i] = l;
    }
}

QLabel* MDIForm1::panel(int index) const
{
    return index >= 1 && index <= 3 ? m_panels[index - 1] : nullptr;
}

void MDIForm1::Mostra_data(const QString& text)
{
    m_panels[0]->setText(vb::displayable(text));
}

void MDIForm1::Mostra_principale()
{
    m_panels[1]->setText(vb::displayable(core::WorkingList::instance().Nome_Principale()));
}

void MDIForm1::StatusBar1_PanelClick(int index)
{
    static const char* const comandi[3] = {"mnuOpzioniData", "mnuSatellitiDatabase",
                                           "mnuOpzioniLocalita"};
    if (index < 1 || index > 3)
        return;
    QAction* a = m_items.value(QLatin1String(comandi[index - 1]));
    if (a && a->isEnabled())
        a->trigger();
}

bool MDIForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::LeftButton) {
            for (int i = 0; i < 3; ++i) {
                if (watched == m_panels[i]) {
                    StatusBar1_PanelClick(i + 1);
                    return true;
                }
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- texts

bool MDIForm1::Carica_Traduzioni_Qt()
{
    static QTranslator* attuale = nullptr;
    if (attuale) {
        QCoreApplication::removeTranslator(attuale);
        delete attuale;
        attuale = nullptr;
    }
    const QString codice = mLang::Testo_Lingua("Def", "qtlingua").trimmed();
    if (codice.isEmpty() || codice.startsWith(QLatin1String("en"), Qt::CaseInsensitive))
        return true;
    auto* t = new QTranslator;
    if (!t->load(QLocale(codice), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    attuale = t;
    return true;
}

void MDIForm1::Lingua()
{
    Carica_Traduzioni_Qt();
    core::Carica_Parole_Stato();
    m_helpFile = mLang::Cartella_Programma() + QLatin1Char('/') + mLang::Testo_Lingua("Help", "file");
    if (auto* help = platform::services().help)
        help->setHelpFile(m_helpFile);

    for (const QString& name : nomiMenu()) {
        if (QAction* a = m_items.value(name))
            a->setText(mLang::Testo_Lingua(kSezione, name));
    }
    for (const Pulsante& p : kPulsanti) {
        if (QToolButton* b = m_buttons.value(QLatin1String(p.key)))
            b->setToolTip(mLang::Testo_Lingua(kSezione, QLatin1String(p.tooltip)));
    }
    m_panels[0]->setToolTip(mLang::Testo_Lingua(kSezione, "data"));
    m_panels[1]->setToolTip(mLang::Testo_Lingua(kSezione, "satellite"));
    m_panels[2]->setToolTip(mLang::Testo_Lingua(kSezione, "localita"));
    if (m_toolbarMenu) {
        const auto entries = m_toolbarMenu->actions();
        for (int i = 0; i < entries.size() && i < int(std::size(kTendina)); ++i)
            entries[i]->setText(mLang::Testo_Lingua(kSezione, QLatin1String(kTendina[i].voce)));
    }
}

// ---------------------------------------------------------------- clock

void MDIForm1::tmrCentrale_Timer()
{
    core::CentralClock::instance().Aggiorna();
}

void MDIForm1::passoOrologio()
{
    core::CentralClock::instance().tmrCentrale_Timer();
}

// ---------------------------------------------------------------- start-up and shut-down

bool MDIForm1::MDIForm_Load()
{
    setWindowTitle(core::Titolo_Finestra());
    Leggi_impostazioni();
    core::Risolvi_File_Lingua();
    Lingua();
    // Large enough for the largest dialog where the screen allows, in the
    // middle of the screen (measured with the menus' texts in place).
    if (const QScreen* schermo = screen()) {
        const QRect area = schermo->availableGeometry();
        resize(Dimensione_Primo_Avvio(area));
        move(area.center() - rect().center());
    } else {
        resize(Dimensione_Primo_Avvio(QRect(0, 0, 1 << 14, 1 << 14)));
    }

    // The about box serves as the splash while the tables load.
    auto* splash = new frmAbout(this);
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->setWindowTitle(mLang::Testo_Lingua("frmAbout", "letturadati"));
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();

    const EsitoCaricaDati esito = Carica_dati(mLang::Cartella_Programma());
    if (!esito) {
        splash->close();
        // Which file, where and why: the user can mend or replace it.
        platform::MsgBox(Testo_Errore_Dati(esito), platform::vbExclamation);
        return false;
    }

    // The working list of the last run.
    core::Carica_Lista_Lavoro(m_cartellaUtente.isEmpty() ? core::Cartella_Dati_Utente()
                                                         : m_cartellaUtente);

    pflgCentrale = true;
    pflgSatellite = true;
    core::CentralClock::instance().Aggiorna();
    splash->close();

    for (const char* name : {"mnuFileSalva", "mnuModificaTaglia", "mnuModificaCopia",
                             "mnuModificaCancella", "mnuModificaAnnulla", "mnuModificaIncolla"})
        m_items.value(QLatin1String(name))->setEnabled(false);

    m_panels[2]->setText(vb::displayable(gstrLocalita));
    Mostra_principale();

    m_toolbar->setVisible(gblnBarraPulsanti);
    m_statusBar->setVisible(gblnBarraStato);
    m_items.value("mnuVisualizzaBarraPulsanti")->setChecked(gblnBarraPulsanti);
    m_items.value("mnuVisualizzaBarraStato")->setChecked(gblnBarraStato);

    show();
    QCoreApplication::processEvents();
    // A window manager gives the keyboard to the window it has just shown.
    // On a display without one (the virtual display of run.sh, a test
    // display) nothing does: the splash and the language picker are gone,
    // no window of the program is active, and no key would reach the main
    // window until a click.
    if (!QApplication::activeWindow())
        activateWindow();
    m_tmrCentrale->start();

    Domanda_Ora_Legale();
    return true;
}

QSize MDIForm1::Dimensione_Primo_Avvio(const QRect& disponibile) const
{
    // 11150 x 8200 twips leave a workspace about 470 pixels high, in which
    // the options dialog (about 500) and the database window (about 610)
    // were cut. The workspace is made large enough for the largest of the
    // program's dialogs in either language, measured in the units of the
    // dialogs' own font (about 135 characters by 45 lines), plus the menu
    // bar, toolbar and status bar; a window that still needs more room when
    // it opens makes the main window grow or the workspace scroll.
    QSize s(vb::TwipsToPixels(11150, logicalDpiX()), vb::TwipsToPixels(8200, logicalDpiY()));
    const QFontMetrics fm(QApplication::font());
    QSize area(135 * fm.averageCharWidth(), 45 * fm.lineSpacing());
    int sopra = 0;
    for (const QWidget* barra : {static_cast<const QWidget*>(menuBar()), static_cast<const QWidget*>(m_toolbar),
                                 static_cast<const QWidget*>(m_statusBar)})
        if (barra)
            sopra += barra->sizeHint().height();
    const int bordo = 2 * m_mdi->frameWidth();
    s = s.expandedTo(area + QSize(bordo, bordo + sopra));
    // The frame the window manager adds is not part of the size.
    const QSize cornice = (frameGeometry().size() - size()).expandedTo(QSize(0, 0));
    return s.boundedTo(disponibile.size() - cornice);
}

void MDIForm1::Domanda_Ora_Legale()
{
    if (!gblnVerificaOraLegale)
        return;
    core::Verifica_Ora_Legale();
}

namespace {
// Asks every child window that has a closing question
// (common::ChiusuraConDomanda) whether it may close; false as soon as one
// calls the closing off. When all agree, each is told so, so that the
// unloading does not ask again.
bool Chiusura_Concessa(QMdiArea* mdi)
{
    const auto subs = mdi->subWindowList(QMdiArea::CreationOrder);
    QList<common::ChiusuraConDomanda*> chieste;
    for (auto it = subs.crbegin(); it != subs.crend(); ++it) {
        auto* w = dynamic_cast<common::ChiusuraConDomanda*>((*it)->widget());
        if (w && !w->Form_QueryUnload())
            return false;
        if (w)
            chieste << w;
    }
    for (common::ChiusuraConDomanda* w : chieste)
        w->Chiusura_Gia_Concessa();
    return true;
}
} // namespace

void MDIForm1::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    if (!m_uscitaConfermata) {
        if (gblnConfermaUscita) {
            const int r = platform::MsgBox(mLang::Testo_Lingua(kSezione, "sicuridiuscire"),
                                           platform::vbYesNo | platform::vbQuestion);
            if (r == platform::vbNo) {
                event->ignore();
                return;
            }
        }
        // A window with unsaved work (a text document) may call the closing off.
        if (!Chiusura_Concessa(m_mdi)) {
            event->ignore();
            return;
        }
        // With "Check the options" ticked, settings changed since they were
        // last read or saved are offered for saving rather than lost.
        if (gblnVerificaOpzioni && Impostazioni_modificate()) {
            const int r = platform::MsgBox(mLang::Testo_Lingua(kSezione, "opzionimodificate1")
                                               + QStringLiteral("\r\n")
                                               + mLang::Testo_Lingua(kSezione, "opzionimodificate2"),
                                           platform::vbYesNoCancel | platform::vbQuestion);
            if (r == platform::vbCancel) {
                event->ignore();
                return;
            }
            if (r == platform::vbYes) {
                // Settings that cannot be kept do not keep the program open:
                // the user is told, and it ends without them.
                QString errore;
                if (!Salva_impostazioni(&errore))
                    platform::MsgBox(mLang::Testo_Lingua(kSezione, "opzioninonsalvate") + QStringLiteral("\r\n")
                                         + errore + QStringLiteral("\r\n")
                                         + mLang::Testo_Lingua(kSezione, "opzioninonsalvateuscita"),
                                     platform::vbExclamation);
            }
        }
        m_uscitaConfermata = true;
    }
    if (common::Attivita_In_Corso()) {
        // A long task is running: it is asked to stop, and the program ends
        // once it has (its windows cannot go from under it).
        event->ignore();
        QPointer<MDIForm1> self(this);
        common::Dopo_Le_Attivita([self] {
            if (self)
                self->close();
        });
        return;
    }
    m_closing = true;
    m_tmrCentrale->stop();
    if (!common::Scarica_Finestre(m_mdi, this)) {
        // A window whose text changed after it was asked (while a task was
        // stopping) was asked again and called the closing off: the program
        // stays, with that window and its text.
        m_closing = false;
        m_uscitaConfermata = false;
        m_tmrCentrale->start();
        event->ignore();
        return;
    }
    mNight::Chiusura();
    // The working list is kept for the next run.
    core::Salva_Lista_Lavoro();
    // The manual's window has no owner: it closes with the program, which
    // must not go on unseen (holding the lock against the next start).
    if (platform::HelpWindow* manuale = platform::HelpWindow::instance(false))
        manuale->close();
    event->accept();
}

// ---------------------------------------------------------------- children

QMdiSubWindow* MDIForm1::addChild(QWidget* w)
{
    QMdiSubWindow* sub = m_mdi->addSubWindow(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    return sub;
}

frmTime* MDIForm1::timeWindow(bool create)
{
    if (!m_time && create) {
        m_time = new frmTime;
        m_timeFrame = m_mdi->addSubWindow(m_time);
        m_timeFrame->setWindowIcon(shell::Icona_Pulsante(QStringLiteral("Time")));
        // A dialog of fixed size: arranging the windows moves it but never
        // stretches its clock faces and figures.
        m_timeFrame->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                    | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
        m_timeFrame->adjustSize();
        m_timeFrame->setFixedSize(m_timeFrame->size());
        m_timeFrame->hide();
    }
    return m_time;
}

void MDIForm1::closeChildren(QWidget* except)
{
    // Every loaded window but the main one, from the last to the first,
    // hidden ones included, each through its own close handling. A long task
    // running now is asked to stop first: its windows go once it has ended.
    QPointer<MDIForm1> self(this);
    QPointer<QWidget> tenere(except);
    common::Dopo_Le_Attivita([self, tenere] {
        if (self)
            common::Scarica_Finestre(self->m_mdi, self, tenere);
    });
}

// ---------------------------------------------------------------- commands

void MDIForm1::mnuOpzioniData_Click()
{
    frmTime* t = timeWindow();
    if (m_timeFrame) {
        const bool nascosta = m_timeFrame->isHidden();
        common::Attiva_Cornice(m_timeFrame);
        m_timeFrame->raise();
        // Shown, the window holds the keyboard itself, on none of its
        // controls, so that Tab goes through them from the top. (Activated,
        // the workspace gives it to the box at the top, where it rests
        // unseen: the first Tab passed the box by, and it came last.)
        if (nascosta && m_mdi->activeSubWindow() == m_timeFrame)
            t->setFocus(Qt::OtherFocusReason);
    }
    t->Aggiorna_dati();
}

void MDIForm1::mnuOpzioniLingua_Click()
{
    frmLanguage picker(mLang::Cartella_Programma(), this);
    picker.exec();
}

void MDIForm1::mnuAiutoInformazioni_Click()
{
    frmAbout about(this);
    about.exec();
}

void MDIForm1::Apertura_database(int scelta)
{
    QCoreApplication::processEvents();
    platform::FileChooser* files = platform::services().files;
    if (!files)
        return;
    platform::FileDialogRequest r;
    r.title = mLang::Testo_Lingua("Dialogs", "apritle");
    r.fileName = gstrDatabasePrimario;
    r.filter = mLang::Testo_Lingua("Dialogs", "filtrotle");
    r.filterIndex = 1;
    const std::optional<QString> scelto = files->openFile(r, this);
    if (!scelto || QFileInfo(*scelto).size() == 0)
        return;
    QCoreApplication::processEvents();
    // The principal file is kept in memory only; the settings keep theirs.
    if (scelta == 0)
        gstrDatabasePrimario = *scelto;
    if (m_caricaDatabase)
        m_caricaDatabase(scelta, *scelto);
}

void MDIForm1::mnuFileSalvaImpostazioni_Click()
{
    QString error;
    if (!Salva_impostazioni(&error))
        platform::MsgBox(mLang::Testo_Lingua(kSezione, "opzioninonsalvate") + QStringLiteral("\r\n") + error,
                         platform::vbExclamation);
}

void MDIForm1::mnuFileRipristinaImpostazioni_Click()
{
    const QString text = mLang::Testo_Lingua(kSezione, "ripristinoopzioni1") + QStringLiteral("\r\n")
        + mLang::Testo_Lingua(kSezione, "ripristinoopzioni2");
    if (platform::MsgBox(text, platform::vbYesNo | platform::vbQuestion) == platform::vbYes)
        Impostazioni_default();
}

void MDIForm1::mnuFileEsci_Click()
{
    close();
}

namespace {
// The rich-text box that has the focus, if any.
QTextEdit* testoConFuoco()
{
    auto* te = qobject_cast<QTextEdit*>(QApplication::focusWidget());
    return te && !te->isReadOnly() ? te : nullptr;
}
} // namespace

void MDIForm1::mnuModifica_Click()
{
    QTextEdit* te = testoConFuoco();
    const bool sel = te && te->textCursor().hasSelection();
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    m_items.value("mnuModificaAnnulla")->setEnabled(te && te->document()->isUndoAvailable());
    m_items.value("mnuModificaTaglia")->setEnabled(sel);
    m_items.value("mnuModificaCopia")->setEnabled(sel);
    m_items.value("mnuModificaCancella")->setEnabled(sel);
    m_items.value("mnuModificaIncolla")->setEnabled(te && clip && clip->hasText());
}

void MDIForm1::mnuModificaAnnulla_Click()
{
    if (QTextEdit* te = testoConFuoco())
        te->undo();
}

void MDIForm1::mnuModificaTaglia_Click()
{
    if (QTextEdit* te = testoConFuoco())
        te->cut();
}

void MDIForm1::mnuModificaCopia_Click()
{
    if (QTextEdit* te = testoConFuoco())
        te->copy();
}

void MDIForm1::mnuModificaIncolla_Click()
{
    // The selection is replaced by the clipboard's text, as plain text, in
    // one step of Undo of its own (else Undo would take back the typing
    // before it too).
    if (QTextEdit* te = testoConFuoco()) {
        QTextCursor c = te->textCursor();
        c.beginEditBlock();
        c.insertText(QApplication::clipboard()->text());
        c.endEditBlock();
    }
}

void MDIForm1::mnuModificaCancella_Click()
{
    if (QTextEdit* te = testoConFuoco())
        te->textCursor().removeSelectedText();
}

void MDIForm1::mnuVisualizzaBarraPulsanti_Click()
{
    // The toggle keeps its state in the check mark and the bar only; the
    // setting keeps the state the program starts with.
    m_toolbar->setVisible(m_items.value("mnuVisualizzaBarraPulsanti")->isChecked());
}

void MDIForm1::mnuVisualizzaBarraStato_Click()
{
    m_statusBar->setVisible(m_items.value("mnuVisualizzaBarraStato")->isChecked());
}

void MDIForm1::mnuVisualizzaColoriNotte_Click()
{
    if (m_items.value("mnuVisualizzaColoriNotte")->isChecked()) {
        mNight::Prepara_Colori_Notte();
        mNight::Applica_Colori_Notte();
        mNight::Mostra_Barra_Applicazioni(true);
        mNight::Mostra_Desktop(true);
    } else {
        mNight::Ripristina_Colori();
    }
}

void MDIForm1::mnuFinestreDiscesa_Click()
{
    common::Disponi_Finestre(m_mdi, [this] { m_mdi->cascadeSubWindows(); });
}

namespace {
QList<QMdiSubWindow*> finestreDisponibili(QMdiArea* mdi)
{
    QList<QMdiSubWindow*> out;
    for (QMdiSubWindow* w : mdi->subWindowList(QMdiArea::StackingOrder))
        if (w->isVisible() && !w->isMinimized())
            out.append(w);
    return out;
}
} // namespace

void MDIForm1::mnuFinestreDisponiOrizzontale_Click()
{
    // One above the other, each as wide as the frame.
    const auto subs = finestreDisponibili(m_mdi);
    if (subs.isEmpty())
        return;
    common::Disponi_Finestre(m_mdi, [this, &subs] {
        const QRect area = m_mdi->viewport()->rect();
        const int h = area.height() / subs.size();
        for (int i = 0; i < subs.size(); ++i) {
            subs[i]->showNormal();
            subs[i]->setGeometry(0, i * h, area.width(), h);
        }
    });
}

void MDIForm1::mnuFinestreDisponiVerticale_Click()
{
    // Side by side, each as tall as the frame.
    const auto subs = finestreDisponibili(m_mdi);
    if (subs.isEmpty())
        return;
    common::Disponi_Finestre(m_mdi, [this, &subs] {
        const QRect area = m_mdi->viewport()->rect();
        const int w = area.width() / subs.size();
        for (int i = 0; i < subs.size(); ++i) {
            subs[i]->showNormal();
            subs[i]->setGeometry(i * w, 0, w, area.height());
        }
    });
}

void MDIForm1::mnuFinestreDisponiTutto_Click()
{
    // The minimised windows in a row along the bottom edge.
    const QRect area = m_mdi->viewport()->rect();
    int x = 0;
    int y = area.bottom();
    for (QMdiSubWindow* w : m_mdi->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized() || !w->isVisible())
            continue;
        const QSize s = w->size();
        if (x > 0 && x + s.width() > area.width()) {
            x = 0;
            y -= s.height();
        }
        w->move(x, y - s.height() + 1);
        x += s.width();
    }
}

void MDIForm1::mnuFinestreChiudiTutto_Click()
{
    if (!Chiusura_Concessa(m_mdi))
        return;
    closeChildren();
}
