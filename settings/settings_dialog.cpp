#include "settings/settings_dialog.h"

#include "controls/graph_button.h"
#include "controls/range_tool.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "common/window_host.h"
#include "settings/settings_binding.h"
#include "settings/settings_notice.h"
#include "platform/prompt.h"
#include "platform/vb.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

using namespace settings::binding;

namespace {

const QString kSezione = QStringLiteral("frmSettings");
QPointer<frmSettings> g_dialogo;

QString T(const char* key)
{
    return mLang::Testo_Lingua(kSezione, QLatin1String(key));
}

// Tells the open windows of one step of OK.
void Avvisa(const std::function<void()>& avviso)
{
    if (avviso)
        avviso();
}

} // namespace

// ---------------------------------------------------------------- opening

frmSettings* frmSettings::instance(bool create)
{
    if (!g_dialogo && create)
        g_dialogo = new frmSettings;
    return g_dialogo;
}

frmSettings* frmSettings::Mostra(int page)
{
    QApplication::processEvents();
    QWidget* main = common::Finestra_Principale();
    if (main)
        main->setCursor(Qt::WaitCursor);
    frmSettings* d = instance();
    if (page >= 0 && page < d->SSTab1->count())
        d->SSTab1->setCurrentIndex(page);
    common::Mostra_Figlia(d);
    if (main)
        main->unsetCursor();
    return d;
}

frmSettings::frmSettings(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmSettings"));
    setAttribute(Qt::WA_DeleteOnClose);
    creaPagine();
    Form_Load();
}

void frmSettings::Form_Load()
{
    QApplication::processEvents();
    Lingua();
    Leggi_impostazioni();
    SSTab1->setCurrentIndex(0);
    tabFiltri->setCurrentIndex(0);
    tabFiltri_Click(1);
}

// ---------------------------------------------------------------- texts

void frmSettings::Lingua()
{
    setWindowTitle(T("opzioni"));
    static const char* const kSchede[14] = {"tabgenerali",     "tabsatelliti",  "tabmappamondo",  "tabcielolocale1",
                                            "tabcielolocale2", "tabcielogenerale", "tabanteprime1", "tabanteprime2",
                                            "tabfiltri",       "tabserverntp",  "tabcolori1",     "tabcolori2",
                                            "tabdownload",     "tabesegui"};
    for (int i = 0; i < 14; ++i) {
        SSTab1->setTabText(i, T(kSchede[i]));
        schede[size_t(i)]->setText(T(kSchede[i]));
    }
    cmdOK->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("ok")));
    cmdCancel->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("cancel")));
    cmdSave->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("save")));

    // page 0
    chkConfermaUscita->setText(T("confermauscita"));
    chkVerificaOpzioni->setText(T("verificaopzioni"));
    chkBarraPulsanti->setText(T("barrapulsanti"));
    chkBarraStato->setText(T("barrastato"));
    chkPosizioniFinestre->setText(T("posizionifinestre"));
    chkVerificaOraLegale->setText(T("verificaoralegale"));
    lblBarraStato->setText(T("barrastatoformatoora"));
    cmbData->clear();
    for (int i = 0; i < 10; ++i)
    {
        const QString chiave = QStringLiteral("formatodata") + QString::number(i);
        cmbData->addItem(mLang::Testo_Lingua(kSezione, chiave));
    }

    // page 1
    lblPropagatore->setText(T("propagatore"));
    cmbPropagatore->clear();
    cmbPropagatore->addItems({QStringLiteral("Plan 13"), QStringLiteral("SGP"), QStringLiteral("SGP4"),
                              QStringLiteral("SGP4 + SDP4")});
    lblMagnitudine->setText(T("magnitudinevisuale"));
    cmbMagnitudine->clear();
    cmbMagnitudine->addItems({T("standard"), T("lambertiana")});
    lblVisibilita->setText(T("visibilita"));
    cmbVisibilita->clear();
    for (int i = 0; i <= 18; ++i)
        cmbVisibilita->addItem(T("altezzasole") + QStringLiteral(" = ") + QString::number(-i) + QStringLiteral("°"));
    chkRifrazione->setText(T("rifrazione"));
    lblInfoPropagatore->setText(T("infopropagatore"));
    lblInfoMagnitudine->setText(T("infomagnitudine"));
    lblInfoVisibilita->setText(T("infovisibilita"));
    lblInfoRifrazione->setText(T("inforifrazione"));

    // page 2
    chkWorldMapGriglia->setText(T("griglia"));
    chkWorldMapNomeCitta->setText(T("nomecitta"));
    chkWorldMapCerchioVisibilita->setText(T("cerchiovisibilita"));
    chkWorldMapTracciatoOrbita->setText(T("tracciatoorbita"));
    chkWorldMapDatiSatellite->setText(T("datisatellite"));
    chkWorldMapCoordinateMouse->setText(T("coordinatemouse"));
    chkWorldMapRiquadroDati->setText(T("riquadrodati"));
    chkWorldMapSole->setText(T("sole"));
    chkWorldMapOmbra->setText(T("ombra"));
    chkWorldMapTerminatore->setText(T("terminatore"));

    // the star-count combos
    for (QComboBox* c : {cmbLocalSkyMagnitudine, cmbGeneralSkyMagnitudine, cmbSkySatMagnitudine}) {
        c->clear();
        for (const VoceStelle& v : kStelle)
            c->addItem(T("magnitudine") + QLatin1String(v.suffisso));
        // A count that is in no row leaves the combo without selection.
        c->setCurrentIndex(-1);
    }
    for (QLabel* l : {lblLocalSkyMagnitudine, lblGeneralSkyMagnitudine, lblSkySatMagnitudine})
        l->setText(T("stelle"));
    const QStringList proiezioni = {T("normale"), T("stereografica")};
    const QStringList orientamenti = {T("nord"), T("sud"), T("ovest"), T("est")};
    const QStringList tipiGriglia = {T("equatoriale"), T("altazimutale")};

    // pages 3 and 4
    chkLocalSkyGriglia->setText(T("griglia"));
    fraLocalSkyOggetti->setTitle(T("oggetti"));
    fraLocalSkyEtichette->setTitle(T("etichette"));
    for (QCheckBox* c : {chkLocalSkyOggettiCostellazioni, chkLocalSkyEtichetteCostellazioni})
        c->setText(T("costellazioni"));
    for (QCheckBox* c : {chkLocalSkyOggettiPianeti, chkLocalSkyEtichettePianeti})
        c->setText(T("pianeti"));
    for (QCheckBox* c : {chkLocalSkyOggettiSoleLuna, chkLocalSkyEtichetteSoleLuna})
        c->setText(T("soleluna"));
    lblLocalSkyProiezione->setText(T("proiezione"));
    cmbLocalSkyProiezione->clear();
    cmbLocalSkyProiezione->addItems(proiezioni);
    lblLocalSkyCoordinateMouse->setText(T("coordinatemouse"));
    cmbLocalSkyCoordinate->clear();
    cmbLocalSkyCoordinate->addItems({T("equatoriali"), T("altazimutali")});
    lblLocalSkyTipoGriglia->setText(T("tipogriglia"));
    cmbLocalSkyTipoGriglia->clear();
    cmbLocalSkyTipoGriglia->addItems(tipiGriglia);
    chkLocalSkyGriglia10->setText(T("griglia10"));
    lblLocalSkyOrientamento->setText(T("orientamento"));
    cmbLocalSkyOrientamento->clear();
    cmbLocalSkyOrientamento->addItems(orientamenti);
    chkLocalSkyOrizzonte->setText(T("orizzonte"));
    chkLocalSkyPaesaggio->setText(T("paesaggio"));
    chkLocalSkyRiquadroDati->setText(T("riquadrodati"));

    // page 5
    chkGeneralSkyGriglia->setText(T("griglia"));
    fraGeneralSkyOggetti->setTitle(T("oggetti"));
    fraGeneralSkyEtichette->setTitle(T("etichette"));
    for (QCheckBox* c : {chkGeneralSkyOggettiCostellazioni, chkGeneralSkyEtichetteCostellazioni})
        c->setText(T("costellazioni"));
    for (QCheckBox* c : {chkGeneralSkyOggettiPianeti, chkGeneralSkyEtichettePianeti})
        c->setText(T("pianeti"));
    for (QCheckBox* c : {chkGeneralSkyOggettiSoleLuna, chkGeneralSkyEtichetteSoleLuna})
        c->setText(T("soleluna"));

    // pages 6 and 7
    chkSkySatGriglia->setText(T("griglia"));
    fraSkySatOggetti->setTitle(T("oggetti"));
    fraSkySatEtichette->setTitle(T("etichette"));
    for (QCheckBox* c : {chkSkySatOggettiCostellazioni, chkSkySatEtichetteCostellazioni})
        c->setText(T("costellazioni"));
    for (QCheckBox* c : {chkSkySatOggettiPianeti, chkSkySatEtichettePianeti})
        c->setText(T("pianeti"));
    for (QCheckBox* c : {chkSkySatOggettiSoleLuna, chkSkySatEtichetteSoleLuna})
        c->setText(T("soleluna"));
    lblSkySatProiezione->setText(T("proiezione"));
    cmbSkySatProiezione->clear();
    cmbSkySatProiezione->addItems(proiezioni);
    lblSkySatOrientamento->setText(T("orientamento"));
    cmbSkySatOrientamento->clear();
    cmbSkySatOrientamento->addItems(orientamenti);
    lblSkySatTipoGriglia->setText(T("tipogriglia"));
    cmbSkySatTipoGriglia->clear();
    cmbSkySatTipoGriglia->addItems(tipiGriglia);
    chkSkySatGriglia10->setText(T("griglia10"));
    chkSkySatOrizzonte->setText(T("orizzonte"));
    chkSkySatPaesaggio->setText(T("paesaggio"));

    // page 8
    tabFiltri->setTabText(0, T("tabfiltri1"));
    tabFiltri->setTabText(1, T("tabfiltri2"));
    tabFiltri->setTabText(2, T("tabfiltri3"));
    chkTransito->setText(mLang::Testo_Lingua(QStringLiteral("frmVisibleSatellites"), QStringLiteral("transito")));
    for (int g = 0; g < 3; ++g) {
        chkAM[g]->setText(mLang::Testo_Lingua(QStringLiteral("Def"), QStringLiteral("am")));
        chkPM[g]->setText(mLang::Testo_Lingua(QStringLiteral("Def"), QStringLiteral("pm")));
        chkSoloVisibili[g]->setText(
            mLang::Testo_Lingua(QStringLiteral("frmVisibleSatellites"), QStringLiteral("solovisibili")));
        lblAltezza[g]->setText(T("altezza"));
        lblAzimuth[g]->setText(T("azimuth"));
        lblAltmax[g]->setText(QStringLiteral("90°"));
    }

    // pages 9 and 12
    Prepara_lista(lvwServerNTP, T("tabserverntp"));
    Prepara_lista(lvwDownload, T("tabdownload"));
    lvwServerNTP->setToolTip(T("doppioclickserver"));
    lvwDownload->setToolTip(T("doppioclickremoto"));
    cmdServerRipristina->setCaption(T("serverripristina"));
    cmdServerElimina->setCaption(T("serverelimina"));
    cmdServerSu->setCaption(T("serversu"));
    cmdServerGiu->setCaption(T("servergiu"));
    cmdDownloadRipristina->setCaption(cmdServerRipristina->Caption());
    cmdDownloadElimina->setCaption(cmdServerElimina->Caption());
    cmdDownloadSu->setCaption(cmdServerSu->Caption());
    cmdDownloadGiu->setCaption(cmdServerGiu->Caption());

    // pages 10 and 11
    lblColoreSatellite->setText(T("satellite"));
    lblColoreOrbitaPrecedente->setText(T("orbitaprecedente"));
    lblColoreOrbitaCorrente->setText(T("orbitacorrente"));
    lblColoreNomeCitta->setText(T("nomecitta"));
    lblColoreGrigliaMappamondo->setText(T("grigliamappamondo"));
    lblColoreGrigliaCieloGenerale->setText(T("grigliacielogenerale"));
    lblColoreGrigliaLocale1->setText(T("coloregriglia1"));
    lblColoreGrigliaLocale2->setText(T("coloregriglia2"));
    lblColoreGrigliaLocale3->setText(T("coloregriglia3"));
    lblColoreGrigliaLocale4->setText(T("coloregriglia4"));
    lblColoreCostellazioni->setText(T("lineecostellazioni"));
    lblColoreEtichetteCostellazioni->setText(T("etichettecostellazioni"));
    fraColoriGrigliaCieloLocale->setTitle(T("grigliacielolocale"));
    cmdRipristinaColori1->setCaption(T("serverripristina"));
    cmdRipristinaColori2->setCaption(T("serverripristina"));

    // page 13
    lblEseguiPercorso->setText(T("eseguipercorso"));
    lblEseguiParametri->setText(T("eseguiparametri"));
    cmdEseguiProgramma->setCaption(QStringLiteral("..."));
    cmdEseguiElimina->setCaption(cmdServerElimina->Caption());
}

// ---------------------------------------------------------------- load

void frmSettings::Leggi_impostazioni()
{
    // page 1
    Combo_indice(cmbPropagatore, gintPropagatore);
    Combo_coppia(cmbMagnitudine, gblnMagnitudineLambert);
    Combo_indice(cmbVisibilita, -gintSogliaSole);
    Casella(chkRifrazione, gblnRifrazione);
    // page 2
    Casella(chkWorldMapGriglia, gblnMappaGriglia);
    Casella(chkWorldMapNomeCitta, gblnMappaCitta);
    Casella(chkWorldMapCerchioVisibilita, gblnMappaCerchio);
    Casella(chkWorldMapTracciatoOrbita, gblnMappaOrbita);
    Casella(chkWorldMapDatiSatellite, gblnMappaMouseDati);
    Casella(chkWorldMapCoordinateMouse, gblnMappaLocalizzatore);
    Casella(chkWorldMapRiquadroDati, gblnMappaRiquadroDati);
    Casella(chkWorldMapSole, gblnMappaSole);
    Casella(chkWorldMapOmbra, gblnMappaOmbra);
    // pages 3 and 4
    Casella(chkLocalSkyGriglia, gblnLocaleGriglia);
    Casella(chkLocalSkyGriglia10, gblnLocaleGriglia10);
    Combo_coppia(cmbLocalSkyTipoGriglia, gblnLocaleGrigliaTipo);
    cmbLocalSkyTipoGriglia_Click();
    Casella(chkLocalSkyOggettiCostellazioni, gblnLocaleCostellazioniLinee);
    Casella(chkLocalSkyOggettiPianeti, gblnLocalePianeti);
    Casella(chkLocalSkyOggettiSoleLuna, gblnLocaleSoleLuna);
    Casella(chkLocalSkyEtichetteCostellazioni, gblnLocaleCostellazioniNomi);
    Casella(chkLocalSkyEtichettePianeti, gblnLocalePianetiNomi);
    Casella(chkLocalSkyEtichetteSoleLuna, gblnLocaleSoleLunaNomi);
    Combo_stelle(cmbLocalSkyMagnitudine, gintLocaleStelle);
    Combo_coppia(cmbLocalSkyProiezione, gblnLocaleProiezioneStereo);
    Combo_indice(cmbLocalSkyOrientamento, gintLocaleOrientamento);
    Combo_coppia(cmbLocalSkyCoordinate, gblnLocaleCoordinateAltazimutali);
    Casella(chkLocalSkyOrizzonte, gblnLocaleEffettoOrizzonte);
    Casella(chkLocalSkyPaesaggio, gblnLocalePaesaggio);
    Casella(chkLocalSkyRiquadroDati, gblnLocaleRiquadroDati);
    // page 5
    Casella(chkGeneralSkyGriglia, gblnGeneraleGriglia);
    Casella(chkGeneralSkyOggettiCostellazioni, gblnGeneraleCostellazioniLinee);
    Casella(chkGeneralSkyOggettiPianeti, gblnGeneralePianeti);
    Casella(chkGeneralSkyOggettiSoleLuna, gblnGeneraleSoleLuna);
    Casella(chkGeneralSkyEtichetteCostellazioni, gblnGeneraleCostellazioniNomi);
    Casella(chkGeneralSkyEtichettePianeti, gblnGeneralePianetiNomi);
    Casella(chkGeneralSkyEtichetteSoleLuna, gblnGeneraleSoleLunaNomi);
    Combo_stelle(cmbGeneralSkyMagnitudine, gintGeneraleStelle);
    // pages 6 and 7
    Casella(chkSkySatGriglia, gblnAnteprimaGriglia);
    Casella(chkSkySatGriglia10, gblnAnteprimaGriglia10);
    Casella(chkSkySatOggettiCostellazioni, gblnAnteprimaCostellazioniLinee);
    Casella(chkSkySatOggettiPianeti, gblnAnteprimaPianeti);
    Casella(chkSkySatOggettiSoleLuna, gblnAnteprimaSoleLuna);
    Casella(chkSkySatEtichetteCostellazioni, gblnAnteprimaCostellazioniNomi);
    Casella(chkSkySatEtichettePianeti, gblnAnteprimaPianetiNomi);
    Casella(chkSkySatEtichetteSoleLuna, gblnAnteprimaSoleLunaNomi);
    Combo_stelle(cmbSkySatMagnitudine, gintAnteprimaStelle);
    Combo_coppia(cmbSkySatProiezione, gblnAnteprimaProiezioneStereo);
    Combo_coppia(cmbSkySatTipoGriglia, gblnAnteprimaGrigliaTipo != 0);
    cmbSkySatTipoGriglia_Click();
    Combo_indice(cmbSkySatOrientamento, gintAnteprimaOrientamento);
    Casella(chkSkySatOrizzonte, gblnAnteprimaEffettoOrizzonte);
    Casella(chkSkySatPaesaggio, gblnAnteprimaPaesaggio);
    // page 0
    Casella(chkConfermaUscita, gblnConfermaUscita);
    Casella(chkVerificaOpzioni, gblnVerificaOpzioni);
    Casella(chkBarraPulsanti, gblnBarraPulsanti);
    Casella(chkBarraStato, gblnBarraStato);
    Casella(chkPosizioniFinestre, gblnPosizioniFinestre);
    Casella(chkVerificaOraLegale, gblnVerificaOraLegale);
    Combo_indice(cmbData, gintFormatoOra);
    // page 8
    Casella(chkTransito, gblnInTransito);
    for (int g = 0; g < 3; ++g) {
        Casella(chkAM[g], gblnFiltroAM[g]);
        Casella(chkPM[g], gblnFiltroPM[g]);
        Casella(chkSoloVisibili[g], gblnSoloVisibili[g]);
        rtAltsat[g]->setUpperValue(90);
        rtAltsat[g]->setLowerValue(Intero_pari(gdblAltezzaMin[g]));
        Aggiorna_altezza(g);
        rtAzisat[g]->setUpperValue(Intero_pari(gdblAzimuthMax[g]));
        rtAzisat[g]->setLowerValue(Intero_pari(gdblAzimuthMin[g]));
        rtAzisat[g]->setUpperValue(Intero_pari(gdblAzimuthMax[g]));
        Aggiorna_azimuth(g);
    }
    // pages 9 and 12
    Riempi_lista(lvwServerNTP, QStringList(gstrServerNTP.begin(), gstrServerNTP.end()));
    Riempi_lista(lvwDownload, QStringList(gstrRemoto.begin(), gstrRemoto.end()));
    // pages 10 and 11
    Imposta_colore(lblAreaColoreSatellite, quint32(glngColoreSatellite));
    Imposta_colore(lblAreaColoreOrbitaPrecedente, quint32(glngColoreOrbita1));
    Imposta_colore(lblAreaColoreOrbitaCorrente, quint32(glngColoreOrbita2));
    Imposta_colore(lblAreaColoreNomeCitta, quint32(glngColoreNomeCitta));
    Imposta_colore(lblAreaColoreGrigliaMappamondo, quint32(glngColoreGrigliaMappamondo));
    Imposta_colore(lblAreaColoreGrigliaGenerale, quint32(glngColoreGrigliaGenerale));
    Imposta_colore(lblAreaColoreGrigliaLocale1, quint32(glngColoreGrigliaLocale1));
    Imposta_colore(lblAreaColoreGrigliaLocale2, quint32(glngColoreGrigliaLocale2));
    Imposta_colore(lblAreaColoreGrigliaLocale3, quint32(glngColoreGrigliaLocale3));
    Imposta_colore(lblAreaColoreGrigliaLocale4, quint32(glngColoreGrigliaLocale4));
    Imposta_colore(lblAreaColoreCostellazioni, quint32(glngColoreCostellazioniLinee));
    Imposta_colore(lblAreaColoreEtichetteCostellazioni, quint32(glngColoreCostellazioniNomi));
    // page 13
    txtEseguiProgramma->setText(gstrEseguiProgramma);
    txtEseguiParametri->setText(gstrEseguiParametri);
}

// ---------------------------------------------------------------- OK, Cancel, Save

void frmSettings::Applica()
{
    // 1. page 1
    gintPropagatore = Da_combo_indice(cmbPropagatore, gintPropagatore);
    gblnMagnitudineLambert = cmbMagnitudine->currentIndex() == 1;
    gblnRifrazione = chkRifrazione->isChecked();
    gintSogliaSole = -Da_combo_indice(cmbVisibilita, -gintSogliaSole);

    // 2. page 2, then the world map's menu, toolbar and drawing
    gblnMappaGriglia = chkWorldMapGriglia->isChecked();
    gblnMappaCitta = chkWorldMapNomeCitta->isChecked();
    gblnMappaCerchio = chkWorldMapCerchioVisibilita->isChecked();
    gblnMappaOrbita = chkWorldMapTracciatoOrbita->isChecked();
    gblnMappaMouseDati = chkWorldMapDatiSatellite->isChecked();
    gblnMappaLocalizzatore = chkWorldMapCoordinateMouse->isChecked();
    gblnMappaRiquadroDati = chkWorldMapRiquadroDati->isChecked();
    gblnMappaSole = chkWorldMapSole->isChecked();
    gblnMappaOmbra = chkWorldMapOmbra->isChecked();
    Avvisa(settings::avvisiOpzioni().mappaMondo);

    // 3. pages 3 and 4, then the local sky chart
    gblnLocaleGriglia = chkLocalSkyGriglia->isChecked();
    gblnLocaleGriglia10 = chkLocalSkyGriglia10->isChecked();
    gblnLocaleGrigliaTipo = cmbLocalSkyTipoGriglia->currentIndex() == 1 ? -1 : 0;
    gblnLocaleCostellazioniLinee = chkLocalSkyOggettiCostellazioni->isChecked();
    gblnLocalePianeti = chkLocalSkyOggettiPianeti->isChecked();
    gblnLocaleSoleLuna = chkLocalSkyOggettiSoleLuna->isChecked();
    gblnLocaleCostellazioniNomi = chkLocalSkyEtichetteCostellazioni->isChecked();
    gblnLocalePianetiNomi = chkLocalSkyEtichettePianeti->isChecked();
    gblnLocaleSoleLunaNomi = chkLocalSkyEtichetteSoleLuna->isChecked();
    gintLocaleStelle = Da_combo_stelle(cmbLocalSkyMagnitudine, gintLocaleStelle);
    gblnLocaleProiezioneStereo = cmbLocalSkyProiezione->currentIndex() == 1 ? -1 : 0;
    gintLocaleOrientamento = Da_combo_indice(cmbLocalSkyOrientamento, gintLocaleOrientamento);
    gblnLocaleCoordinateAltazimutali = cmbLocalSkyCoordinate->currentIndex() == 1;
    gblnLocaleEffettoOrizzonte = chkLocalSkyOrizzonte->isChecked();
    gblnLocalePaesaggio = chkLocalSkyPaesaggio->isChecked();
    gblnLocaleRiquadroDati = chkLocalSkyRiquadroDati->isChecked();
    Avvisa(settings::avvisiOpzioni().cieloLocale);

    // 4. page 5, then the whole-sky chart
    gblnGeneraleGriglia = chkGeneralSkyGriglia->isChecked();
    gblnGeneraleCostellazioniLinee = chkGeneralSkyOggettiCostellazioni->isChecked();
    gblnGeneralePianeti = chkGeneralSkyOggettiPianeti->isChecked();
    gblnGeneraleSoleLuna = chkGeneralSkyOggettiSoleLuna->isChecked();
    gblnGeneraleCostellazioniNomi = chkGeneralSkyEtichetteCostellazioni->isChecked();
    gblnGeneralePianetiNomi = chkGeneralSkyEtichettePianeti->isChecked();
    gblnGeneraleSoleLunaNomi = chkGeneralSkyEtichetteSoleLuna->isChecked();
    gintGeneraleStelle = Da_combo_stelle(cmbGeneralSkyMagnitudine, gintGeneraleStelle);
    Avvisa(settings::avvisiOpzioni().cieloGenerale);

    // 5. pages 6 and 7 (open pass maps keep their own options)
    gblnAnteprimaGriglia = chkSkySatGriglia->isChecked();
    gblnAnteprimaGriglia10 = chkSkySatGriglia10->isChecked();
    gblnAnteprimaGrigliaTipo = cmbSkySatTipoGriglia->currentIndex() == 1 ? -1 : 0;
    gblnAnteprimaCostellazioniLinee = chkSkySatOggettiCostellazioni->isChecked();
    gblnAnteprimaPianeti = chkSkySatOggettiPianeti->isChecked();
    gblnAnteprimaSoleLuna = chkSkySatOggettiSoleLuna->isChecked();
    gblnAnteprimaCostellazioniNomi = chkSkySatEtichetteCostellazioni->isChecked();
    gblnAnteprimaPianetiNomi = chkSkySatEtichettePianeti->isChecked();
    gblnAnteprimaSoleLunaNomi = chkSkySatEtichetteSoleLuna->isChecked();
    gintAnteprimaStelle = Da_combo_stelle(cmbSkySatMagnitudine, gintAnteprimaStelle);
    gblnAnteprimaProiezioneStereo = cmbSkySatProiezione->currentIndex() == 1;
    gintAnteprimaOrientamento = Da_combo_indice(cmbSkySatOrientamento, gintAnteprimaOrientamento);
    gblnAnteprimaEffettoOrizzonte = chkSkySatOrizzonte->isChecked();
    gblnAnteprimaPaesaggio = chkSkySatPaesaggio->isChecked();

    // 6. page 0, then the main window's bars
    gblnConfermaUscita = chkConfermaUscita->isChecked();
    gblnVerificaOpzioni = chkVerificaOpzioni->isChecked();
    gblnBarraPulsanti = chkBarraPulsanti->isChecked();
    gblnBarraStato = chkBarraStato->isChecked();
    gblnPosizioniFinestre = chkPosizioniFinestre->isChecked();
    gblnVerificaOraLegale = chkVerificaOraLegale->isChecked();
    Avvisa(settings::avvisiOpzioni().barre);
    gintFormatoOra = Da_combo_indice(cmbData, gintFormatoOra);

    // 7. the filters
    gblnInTransito = chkTransito->isChecked();
    for (int g = 0; g < 3; ++g) {
        gblnFiltroAM[g] = chkAM[g]->isChecked();
        gblnFiltroPM[g] = chkPM[g]->isChecked();
        gblnSoloVisibili[g] = chkSoloVisibili[g]->isChecked();
        gdblAltezzaMin[g] = vb::Val(lblAltmin[g]->text());
        gdblAzimuthMin[g] = vb::Val(lblAzmin[g]->text());
        gdblAzimuthMax[g] = vb::Val(lblAzmax[g]->text());
    }

    // 8. the two lists
    const QStringList server = Testi_lista(lvwServerNTP);
    for (int i = 0; i < int(gstrServerNTP.size()) && i < server.size(); ++i)
        gstrServerNTP[size_t(i)] = server[i];
    const QStringList remoti = Testi_lista(lvwDownload);
    for (int i = 0; i < int(gstrRemoto.size()) && i < remoti.size(); ++i)
        gstrRemoto[size_t(i)] = remoti[i];

    // 9. the colours
    glngColoreSatellite = std::int32_t(Colore(lblAreaColoreSatellite));
    glngColoreOrbita1 = std::int32_t(Colore(lblAreaColoreOrbitaPrecedente));
    glngColoreOrbita2 = std::int32_t(Colore(lblAreaColoreOrbitaCorrente));
    glngColoreNomeCitta = std::int32_t(Colore(lblAreaColoreNomeCitta));
    glngColoreGrigliaMappamondo = std::int32_t(Colore(lblAreaColoreGrigliaMappamondo));
    glngColoreGrigliaGenerale = std::int32_t(Colore(lblAreaColoreGrigliaGenerale));
    glngColoreGrigliaLocale1 = std::int32_t(Colore(lblAreaColoreGrigliaLocale1));
    glngColoreGrigliaLocale2 = std::int32_t(Colore(lblAreaColoreGrigliaLocale2));
    glngColoreGrigliaLocale3 = std::int32_t(Colore(lblAreaColoreGrigliaLocale3));
    glngColoreGrigliaLocale4 = std::int32_t(Colore(lblAreaColoreGrigliaLocale4));
    glngColoreCostellazioniLinee = std::int32_t(Colore(lblAreaColoreCostellazioni));
    glngColoreCostellazioniNomi = std::int32_t(Colore(lblAreaColoreEtichetteCostellazioni));

    // 10. the external program
    gstrEseguiProgramma = txtEseguiProgramma->text().trimmed();
    gstrEseguiParametri = txtEseguiParametri->text().trimmed();
}

void frmSettings::Chiudi()
{
    // The frame in the main window's workspace closes with the dialog.
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void frmSettings::cmdOK_Click()
{
    Applica();
    Chiudi();
}

void frmSettings::cmdCancel_Click()
{
    Chiudi();
}

void frmSettings::cmdSave_Click()
{
    // What the dialog shows is what is kept: the controls first, then the store.
    Applica();
    QString errore;
    if (!Salva_impostazioni(&errore))
        platform::MsgBox(T("erroresalvataggio") + QStringLiteral("\r\n") + errore, platform::vbExclamation);
}
