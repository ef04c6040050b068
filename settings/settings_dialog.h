#pragma once
// The options dialog: fourteen pages that edit the program's settings in
// memory. Load copies every setting into its control; OK copies the controls
// back and refreshes the open windows; Cancel or closing discards the edits;
// Save also stores the settings so that they hold at the next start.
// One instance, modeless, in the main window's workspace.
#include <QWidget>

#include <array>

class GraphButton;
class RangeTool;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabBar;
class QTabWidget;
class QToolButton;
class QTreeWidget;

class frmSettings : public QWidget {
    Q_OBJECT
public:
    // The one dialog; created (and loaded) when `create` and not open.
    static frmSettings* instance(bool create = true);
    // The options menu command: selects `page` (0 to 13), loading the dialog
    // when it is not open, and shows it; an open dialog keeps its edits.
    static frmSettings* Mostra(int page);

    // ---------------------------------------------------------- procedures
    void Form_Load();
    void Lingua();
    void Leggi_impostazioni();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdSave_Click();
    // Copies every control into its setting and refreshes the open windows
    // (OK without closing).
    void Applica();

    void Scegli_colore(QLabel* label);
    void cmdRipristinaColori1_Click();
    void cmdRipristinaColori2_Click();
    void tabFiltri_Click(int index);  // 1 to 3
    void Aggiorna_altezza(int g);     // rtAltsat_Change / _Scroll
    void Aggiorna_azimuth(int g);     // rtAzisat_Change / _Scroll
    void cmbLocalSkyTipoGriglia_Click();
    void cmbSkySatTipoGriglia_Click();
    void cmdEseguiProgramma_Click();
    void cmdEseguiElimina_Click();

    void cmdServerRipristina_Click();
    void cmdServerElimina_Click();
    void cmdServerSu_Click();
    void cmdServerGiu_Click();
    void cmdDownloadRipristina_Click();
    void cmdDownloadElimina_Click();
    void cmdDownloadSu_Click();
    void cmdDownloadGiu_Click();

    // The built-in rows of the download list, in the restore order.
    static QStringList Voci_download_predefinite();
    static QStringList Server_predefiniti();
    // Colour of a colour label (R + 256 G + 65536 B).
    static quint32 Colore(const QLabel* label);
    static void Imposta_colore(QLabel* label, quint32 colour);

    // ---------------------------------------------------------- controls
    QTabWidget* SSTab1 = nullptr;
    std::array<QFrame*, 14> frames{};  // fraGenerali ... fraEsegui
    // The page tabs, in two rows of seven (SSTab1's own bar is hidden).
    QWidget* SSTab1Schede = nullptr;
    std::array<QToolButton*, 14> schede{};
    GraphButton* cmdOK = nullptr;
    GraphButton* cmdCancel = nullptr;
    GraphButton* cmdSave = nullptr;

    // page 0
    QCheckBox *chkConfermaUscita, *chkVerificaOpzioni, *chkBarraPulsanti, *chkBarraStato, *chkPosizioniFinestre,
        *chkVerificaOraLegale;
    QComboBox* cmbData;
    QLabel* lblBarraStato;
    // page 1
    QComboBox *cmbPropagatore, *cmbMagnitudine, *cmbVisibilita;
    QCheckBox* chkRifrazione;
    QLabel *lblPropagatore, *lblMagnitudine, *lblVisibilita;
    QLabel *lblInfoPropagatore, *lblInfoMagnitudine, *lblInfoVisibilita, *lblInfoRifrazione;
    // page 2
    QCheckBox *chkWorldMapGriglia, *chkWorldMapNomeCitta, *chkWorldMapCerchioVisibilita, *chkWorldMapTracciatoOrbita,
        *chkWorldMapDatiSatellite, *chkWorldMapCoordinateMouse, *chkWorldMapRiquadroDati, *chkWorldMapSole,
        *chkWorldMapOmbra, *chkWorldMapTerminatore;
    // pages 3 and 4
    QCheckBox *chkLocalSkyGriglia, *chkLocalSkyOggettiCostellazioni, *chkLocalSkyOggettiPianeti,
        *chkLocalSkyOggettiSoleLuna, *chkLocalSkyEtichetteCostellazioni, *chkLocalSkyEtichettePianeti,
        *chkLocalSkyEtichetteSoleLuna, *chkLocalSkyGriglia10, *chkLocalSkyOrizzonte, *chkLocalSkyPaesaggio,
        *chkLocalSkyRiquadroDati;
    QGroupBox *fraLocalSkyOggetti, *fraLocalSkyEtichette;
    QComboBox *cmbLocalSkyProiezione, *cmbLocalSkyCoordinate, *cmbLocalSkyMagnitudine, *cmbLocalSkyTipoGriglia,
        *cmbLocalSkyOrientamento;
    QLabel *lblLocalSkyProiezione, *lblLocalSkyCoordinateMouse, *lblLocalSkyMagnitudine, *lblLocalSkyTipoGriglia,
        *lblLocalSkyOrientamento;
    // page 5
    QCheckBox *chkGeneralSkyGriglia, *chkGeneralSkyOggettiCostellazioni, *chkGeneralSkyOggettiPianeti,
        *chkGeneralSkyOggettiSoleLuna, *chkGeneralSkyEtichetteCostellazioni, *chkGeneralSkyEtichettePianeti,
        *chkGeneralSkyEtichetteSoleLuna;
    QGroupBox *fraGeneralSkyOggetti, *fraGeneralSkyEtichette;
    QComboBox* cmbGeneralSkyMagnitudine;
    QLabel* lblGeneralSkyMagnitudine;
    // pages 6 and 7
    QCheckBox *chkSkySatGriglia, *chkSkySatOggettiCostellazioni, *chkSkySatOggettiPianeti, *chkSkySatOggettiSoleLuna,
        *chkSkySatEtichetteCostellazioni, *chkSkySatEtichettePianeti, *chkSkySatEtichetteSoleLuna,
        *chkSkySatGriglia10, *chkSkySatOrizzonte, *chkSkySatPaesaggio;
    QGroupBox *fraSkySatOggetti, *fraSkySatEtichette;
    QComboBox *cmbSkySatProiezione, *cmbSkySatOrientamento, *cmbSkySatMagnitudine, *cmbSkySatTipoGriglia;
    QLabel *lblSkySatProiezione, *lblSkySatOrientamento, *lblSkySatMagnitudine, *lblSkySatTipoGriglia;
    // page 8: the filter groups 0 "tutti", 1 "principale", 2 "secondari"
    QTabBar* tabFiltri;
    std::array<QFrame*, 3> fraFiltro{};  // fraTutti, fraPrincipale, fraSecondari
    QCheckBox* chkTransito;
    std::array<QCheckBox*, 3> chkAM{}, chkPM{}, chkSoloVisibili{};
    std::array<RangeTool*, 3> rtAltsat{}, rtAzisat{};
    std::array<QLabel*, 3> lblAltezza{}, lblAltmin{}, lblAltmax{}, lblAzimuth{}, lblAzmin{}, lblAzmax{};
    // pages 9 and 12
    QTreeWidget *lvwServerNTP, *lvwDownload;
    GraphButton *cmdServerRipristina, *cmdServerElimina, *cmdServerSu, *cmdServerGiu;
    GraphButton *cmdDownloadRipristina, *cmdDownloadElimina, *cmdDownloadSu, *cmdDownloadGiu;
    // pages 10 and 11
    QLabel *lblAreaColoreSatellite, *lblAreaColoreOrbitaPrecedente, *lblAreaColoreOrbitaCorrente,
        *lblAreaColoreNomeCitta, *lblAreaColoreGrigliaMappamondo, *lblAreaColoreGrigliaGenerale,
        *lblAreaColoreGrigliaLocale1, *lblAreaColoreGrigliaLocale2, *lblAreaColoreGrigliaLocale3,
        *lblAreaColoreGrigliaLocale4, *lblAreaColoreCostellazioni, *lblAreaColoreEtichetteCostellazioni;
    QLabel *lblColoreSatellite, *lblColoreOrbitaPrecedente, *lblColoreOrbitaCorrente, *lblColoreNomeCitta,
        *lblColoreGrigliaMappamondo, *lblColoreGrigliaCieloGenerale, *lblColoreGrigliaLocale1,
        *lblColoreGrigliaLocale2, *lblColoreGrigliaLocale3, *lblColoreGrigliaLocale4, *lblColoreCostellazioni,
        *lblColoreEtichetteCostellazioni;
    QGroupBox* fraColoriGrigliaCieloLocale;
    GraphButton *cmdRipristinaColori1, *cmdRipristinaColori2;
    // page 13
    QLineEdit *txtEseguiProgramma, *txtEseguiParametri;
    QLabel *lblEseguiPercorso, *lblEseguiParametri;
    GraphButton *cmdEseguiProgramma, *cmdEseguiElimina;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit frmSettings(QWidget* parent = nullptr);
    void creaPagine();
    void Chiudi();
    void Sposta_riga(QTreeWidget* lista, bool su, const char* chiaveMessaggio);
};
