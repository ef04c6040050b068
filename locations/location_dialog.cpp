#include "locations/location_dialog.h"
#include "common/help.h"

#include "controls/graph_button.h"
#include "core/clock.h"
#include "core/globals.h"
#include "core/mastro.h"
#include "core/mglobal.h"
#include "core/mlang.h"
#include "core/msat.h"
#include "locations/city_list.h"
#include "locations/new_place_dialog.h"
#include "locations/location_globe.h"
#include "locations/location_logic.h"
#include "platform/busy_cursor.h"
#include "platform/help_service.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/vb.h"
#include "common/main_window_link.h"
#include "common/window_host.h"
#include "common/window_calls.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

const QString kSezione = QStringLiteral("frmLocation");
QPointer<frmLocation> g_istanza;

QString Testo(const char* key)
{
    return mLang::Testo_Lingua(kSezione, QLatin1String(key));
}

} // namespace

frmLocation::frmLocation(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmLocation"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    g_istanza = this;

    fraLocalita = new QGroupBox(this);
    cmbCityText = new QLineEdit(fraLocalita);
    cmbCityText->setObjectName(QStringLiteral("cmbCityText"));
    cmbCity = new QListWidget(fraLocalita);
    cmbCity->setObjectName(QStringLiteral("cmbCity"));
    cmbCity->setSortingEnabled(true);
    cmbCity->setMinimumHeight(180);
    cmbCity->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lblCittaDisponibili = new QLabel(fraLocalita);
    lblCity = new QLabel(QStringLiteral("0"), fraLocalita);
    lblCity->setObjectName(QStringLiteral("lblCity"));
    cmdNuova = new GraphButton(fraLocalita);
    cmdModifica = new GraphButton(fraLocalita);
    cmdElimina = new GraphButton(fraLocalita);
    {
        auto* g = new QGridLayout(fraLocalita);
        g->addWidget(cmbCityText, 0, 0, 1, 3);
        g->addWidget(cmbCity, 1, 0, 1, 3);
        auto* riga = new QHBoxLayout;
        riga->addWidget(lblCittaDisponibili);
        riga->addWidget(lblCity);
        riga->addStretch();
        g->addLayout(riga, 2, 0, 1, 3);
        g->addWidget(cmdNuova, 3, 0);
        g->addWidget(cmdModifica, 3, 1);
        g->addWidget(cmdElimina, 3, 2);
    }

    fraCoordinateGeografiche = new QGroupBox(this);
    lblLat = new QLabel(fraCoordinateGeografiche);
    lblLatitude = new QLabel(fraCoordinateGeografiche);
    lblLatitude->setObjectName(QStringLiteral("lblLatitude"));
    lblLon = new QLabel(fraCoordinateGeografiche);
    lblLongitude = new QLabel(fraCoordinateGeografiche);
    lblLongitude->setObjectName(QStringLiteral("lblLongitude"));
    lblQuota = new QLabel(fraCoordinateGeografiche);
    txtHeight = new QLineEdit(fraCoordinateGeografiche);
    txtHeight->setObjectName(QStringLiteral("txtHeight"));
    txtHeight->setMaxLength(4);
    txtHeight->setMaximumWidth(60);
    txtHeight->installEventFilter(this);
    picGeo = new QLabel(fraCoordinateGeografiche);
    picGeo->setObjectName(QStringLiteral("picGeo"));
    picGeo->setFixedSize(locations::kLatoGlobo, locations::kLatoGlobo);
    {
        auto* g = new QGridLayout(fraCoordinateGeografiche);
        g->addWidget(lblLat, 0, 0);
        g->addWidget(lblLatitude, 0, 1);
        g->addWidget(lblLon, 1, 0);
        g->addWidget(lblLongitude, 1, 1);
        g->addWidget(lblQuota, 2, 0);
        g->addWidget(txtHeight, 2, 1);
        g->addWidget(picGeo, 0, 2, 4, 1);
        g->setRowStretch(3, 1);
    }

    fraImpostazioneOra = new QGroupBox(this);
    cmbOffset = new QComboBox(fraImpostazioneOra);
    cmbOffset->setObjectName(QStringLiteral("cmbOffset"));
    cmbOffsetHours = new QComboBox(fraImpostazioneOra);
    cmbOffsetHours->setObjectName(QStringLiteral("cmbOffsetHours"));
    for (int h = 0; h <= locations::kOreMassime; ++h)
        cmbOffsetHours->addItem(QString::number(h));
    lblOre = new QLabel(fraImpostazioneOra);
    cmbOffsetMin = new QComboBox(fraImpostazioneOra);
    cmbOffsetMin->setObjectName(QStringLiteral("cmbOffsetMin"));
    cmbOffsetMin->addItems({QStringLiteral("0"), QStringLiteral("30"), QStringLiteral("45")});
    lblMin = new QLabel(fraImpostazioneOra);
    chkDaylight = new QCheckBox(fraImpostazioneOra);
    chkDaylight->setObjectName(QStringLiteral("chkDaylight"));
    cmdFusoOrario = new QPushButton(fraImpostazioneOra);
    cmdFusoOrario->setObjectName(QStringLiteral("cmdFusoOrario"));
    {
        auto* g = new QGridLayout(fraImpostazioneOra);
        g->addWidget(cmbOffset, 0, 0, 1, 4);
        g->addWidget(cmbOffsetHours, 1, 0);
        g->addWidget(lblOre, 1, 1);
        g->addWidget(cmbOffsetMin, 1, 2);
        g->addWidget(lblMin, 1, 3);
        g->addWidget(chkDaylight, 2, 0, 1, 4);
        g->addWidget(cmdFusoOrario, 3, 0, 1, 4);
    }

    cmdOK = new GraphButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new GraphButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdHelp = new GraphButton(this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    cmdNuova->setObjectName(QStringLiteral("cmdNuova"));
    cmdModifica->setObjectName(QStringLiteral("cmdModifica"));
    cmdElimina->setObjectName(QStringLiteral("cmdElimina"));
    for (GraphButton* b : {cmdOK, cmdCancel, cmdHelp, cmdNuova, cmdModifica, cmdElimina})
        b->setMinimumSize(80, 26);

    auto* destra = new QVBoxLayout;
    destra->addWidget(fraCoordinateGeografiche);
    destra->addWidget(fraImpostazioneOra);
    destra->addStretch();
    auto* sopra = new QHBoxLayout;
    sopra->addWidget(fraLocalita, 3);
    sopra->addLayout(destra, 2);
    auto* sotto = new QHBoxLayout;
    sotto->addStretch();
    sotto->addWidget(cmdOK);
    sotto->addWidget(cmdCancel);
    sotto->addWidget(cmdHelp);
    auto* tutto = new QVBoxLayout(this);
    tutto->addLayout(sopra);
    tutto->addLayout(sotto);

    connect(cmbCity, &QListWidget::itemClicked, this, [this] { cmbCity_Click(); });
    connect(cmbCity, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && cmbCity->currentItem() && cmbCity->currentItem()->isSelected())
            cmbCity_Click();
    });
    connect(cmbCity, &QListWidget::itemDoubleClicked, this, [this] { cmbCity_DblClick(); });
    connect(cmbCityText, &QLineEdit::textEdited, this, [this](const QString& t) {
        // Typing in the edit line selects the entry of that name, if any.
        const auto trovate = cmbCity->findItems(t, Qt::MatchFixedString);
        QSignalBlocker blocca(cmbCity);
        if (trovate.isEmpty()) {
            cmbCity->clearSelection();
            cmbCity->setCurrentRow(-1);
        } else {
            cmbCity->setCurrentItem(trovate.first());
            cmbCity->scrollToItem(trovate.first());
            const QString testo = cmbCityText->text();
            cmbCity_Click();
            cmbCityText->setText(testo);
        }
    });
    connect(cmdOK, &QAbstractButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdCancel, &QAbstractButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdHelp, &QAbstractButton::clicked, this, [this] { cmdHelp_Click(); });
    connect(cmdNuova, &QAbstractButton::clicked, this, [this] { cmdNuova_Click(); });
    connect(cmdModifica, &QAbstractButton::clicked, this, [this] { cmdModifica_Click(); });
    connect(cmdElimina, &QAbstractButton::clicked, this, [this] { cmdElimina_Click(); });
    connect(cmdFusoOrario, &QPushButton::clicked, this, [this] { cmdFusoOrario_Click(); });
    connect(txtHeight, &QLineEdit::editingFinished, this, [this] { txtHeight_LostFocus(); });

    mGlobal::Registra_Finestra(this);
    Form_Load();
}

frmLocation::~frmLocation() = default;

frmLocation* frmLocation::istanza()
{
    return g_istanza.data();
}

frmLocation* frmLocation::Mostra(QWidget* parent)
{
    platform::BusyCursor attesa;
    QApplication::processEvents();
    frmLocation* f = g_istanza.data();
    MainWindowLink* main = MainWindowLink::instance();
    if (!f) {
        f = new frmLocation(parent);
        if (main && !parent) {
            main->addChild(f);
        }
    }
    if (auto* sub = qobject_cast<QMdiSubWindow*>(f->parentWidget())) {
        sub->show();
        sub->raise();
        if (main)
            main->mdiArea()->setActiveSubWindow(sub);
    }
    f->show();
    f->raise();
    f->activateWindow();
    return f;
}

void frmLocation::Form_Load()
{
    Lingua();
    Carica_citta();
    Mostra_localita_corrente();
}

void frmLocation::Lingua()
{
    setWindowTitle(Testo("localita"));
    fraLocalita->setTitle(Testo("localita"));
    fraImpostazioneOra->setTitle(Testo("impostazioneora"));
    fraCoordinateGeografiche->setTitle(Testo("coordinategeo"));
    lblOre->setText(mLang::Testo_Lingua("Def", "ore"));
    lblMin->setText(mLang::Testo_Lingua("Def", "min"));
    lblCittaDisponibili->setText(Testo("cittadisponibili"));
    lblLat->setText(mLang::Testo_Lingua("Def", "lat"));
    lblLon->setText(mLang::Testo_Lingua("Def", "lon"));
    lblQuota->setText(Testo("quota"));
    chkDaylight->setText(Testo("oralegale"));
    const int lato = cmbOffset->currentIndex();
    cmbOffset->clear();
    cmbOffset->addItem(Testo("primadiGreenwich"));
    cmbOffset->addItem(Testo("dopodiGreenwich"));
    cmbOffset->setCurrentIndex(lato < 0 ? 0 : lato);
    cmdFusoOrario->setText(Testo("fusoorario"));
    cmdNuova->setCaption(Testo("nuova"));
    cmdModifica->setCaption(Testo("modifica"));
    cmdElimina->setCaption(Testo("elimina"));
    lblLat->setToolTip(mLang::Testo_Lingua("ToolTips", "lat"));
    lblLon->setToolTip(mLang::Testo_Lingua("ToolTips", "lon"));
    lblQuota->setToolTip(mLang::Testo_Lingua("ToolTips", "quota"));
    cmdFusoOrario->setToolTip(Testo("mostrafusoorario"));
    cmdOK->setCaption(mLang::Testo_Lingua("Buttons", "ok"));
    cmdCancel->setCaption(mLang::Testo_Lingua("Buttons", "cancel"));
    cmdHelp->setCaption(mLang::Testo_Lingua("Buttons", "help"));
}

void frmLocation::Carica_citta()
{
    using namespace locations;
    QApplication::processEvents();
    QSignalBlocker blocca(cmbCity);
    cmbCity->clear();
    gvarCitta.clear();
    QString errore;
    const auto doc = vb::readTextFile(File_Citta(), &errore);
    LetturaCitta lettura;
    if (doc) {
        Imposta_Codifica_Citta(doc->encoding);
        int passo = 0;
        lettura = Leggi_Citta(doc->text, [&passo] {
            if (++passo % 64 == 0)
                QApplication::processEvents();
            if (pflgArresta) {
                pflgArresta = false;
                return true;
            }
            return false;
        });
    }
    // Only a list read whole may later be written back over the file. A
    // missing file holds nothing that could be lost; one that is there but
    // cannot be read (also in a folder the user may not enter) does.
    if (doc)
        Imposta_Lettura(lettura.completa() ? LetturaFile::Intera : LetturaFile::Interrotta);
    else
        Imposta_Lettura(vb::fileMissing(File_Citta()) ? LetturaFile::Intera : LetturaFile::NonLetta, errore);
    if (!doc) {
        // Which file and why, so that the user can mend it.
        platform::MsgBox(Testo("errorefile") + QLatin1Char('\r') + QDir::toNativeSeparators(File_Citta())
                             + QLatin1Char('\r') + errore,
                         platform::vbCritical);
    } else {
        // The sorted list would reorder as it fills; add everything first.
        cmbCity->setSortingEnabled(false);
        // Lines that are not places keep their rows (not listed), so that
        // they are written back where they were.
        for (const RigaCitta& r : Tabella_Citta(lettura)) {
            gvarCitta.push_back(r);
            if (r.vuota())
                continue;
            auto* item = new QListWidgetItem(vb::displayable(r.nome));
            item->setData(Qt::UserRole, int(gvarCitta.size()));
            cmbCity->addItem(item);
        }
        cmbCity->setSortingEnabled(true);
        Segnala_righe(lettura);
    }
    lblCity->setText(QString::number(cmbCity->count()));
}

void frmLocation::Segnala_righe(const locations::LetturaCitta& lettura)
{
    // The lines the reader skipped or left out, by number, so that the user
    // can mend the file.
    const auto elenco = [this](const std::vector<int>& righe) {
        QStringList numeri;
        for (std::size_t i = 0; i < righe.size() && i < 20; ++i)
            numeri << Testo("riga") + QLatin1Char(' ') + QString::number(righe[i]);
        if (righe.size() > 20)
            numeri << QStringLiteral("...");
        return numeri.join(QStringLiteral(", "));
    };
    QStringList parti;
    if (!lettura.errate.empty())
        parti << Testo("righeerrate") + QLatin1Char('\r') + QDir::toNativeSeparators(locations::File_Citta()) +
                     QLatin1Char('\r') + elenco(lettura.errate);
    if (!lettura.vuote.empty())
        parti << Testo("righevuote") + QLatin1Char('\r') + elenco(lettura.vuote);
    if (!parti.isEmpty())
        platform::MsgBox(parti.join(QStringLiteral("\r\r")),
                         lettura.errate.empty() ? platform::vbInformation : platform::vbExclamation);
}

int frmLocation::voceSelezionata() const
{
    QListWidgetItem* item = cmbCity->currentItem();
    return item && item->isSelected() ? cmbCity->row(item) : -1;
}

void frmLocation::Aggiungi_Voce(const QString& nome, int riga)
{
    auto* item = new QListWidgetItem(vb::displayable(nome));
    item->setData(Qt::UserRole, riga);
    cmbCity->addItem(item);
    lblCity->setText(QString::number(cmbCity->count()));
}

void frmLocation::Seleziona_Voce(int index)
{
    if (index < 0 || index >= cmbCity->count()) {
        cmbCity->clearSelection();
        cmbCity->setCurrentRow(-1);
        return;
    }
    {
        QSignalBlocker blocca(cmbCity);
        cmbCity->setCurrentRow(index);
        cmbCity->item(index)->setSelected(true);
    }
    cmbCity->scrollToItem(cmbCity->item(index));
    cmbCity_Click();
}

void frmLocation::Mostra_Fuso(double fuso)
{
    const locations::FusoBoxes b = locations::Scomponi_Fuso(fuso);
    cmbOffset->setCurrentIndex(b.lato);
    if (b.ore <= locations::kOreMassime)
        cmbOffsetHours->setCurrentIndex(b.ore);
    if (b.minuti >= 0)
        cmbOffsetMin->setCurrentIndex(b.minuti);
}

void frmLocation::Scorri_a_localita()
{
    // The list opens at the place shown (the chosen entry, or the observer's).
    QListWidgetItem* item = cmbCity->currentItem();
    if (!item || !item->isSelected()) {
        const auto trovate = cmbCity->findItems(cmbCityText->text(), Qt::MatchExactly);
        item = trovate.isEmpty() ? nullptr : trovate.first();
    }
    if (item)
        cmbCity->scrollToItem(item, QAbstractItemView::PositionAtCenter);
}

void frmLocation::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Once the list has its size (inside the workspace that is after this
    // event), scroll it.
    Scorri_a_localita();
    QTimer::singleShot(0, this, [this] { Scorri_a_localita(); });
}

void frmLocation::Mostra_localita_corrente()
{
    // The place shown is the observer's own: no entry stays selected, so OK
    // keeps the observer's coordinates unless a city is chosen again.
    {
        QSignalBlocker blocca(cmbCity);
        cmbCity->clearSelection();
        cmbCity->setCurrentRow(-1);
    }
    cmbCityText->setText(vb::displayable(gstrLocalita));
    Scorri_a_localita();
    lblLatitude->setText(vb::Format(double(gsngLatitudine), u"#0.000#°"));
    lblLongitude->setText(vb::Format(double(gsngLongitudine), u"##0.000#°"));
    m_latNascosta = vb::CStrC(gsngLatitudine);
    m_lonNascosta = vb::CStrC(gsngLongitudine);
    txtHeight->setText(vb::CStrC(gsngQuota));
    Mostra_Fuso(double(gsngFusoOrario));
    Disegna_localita(gsngLatitudine, gsngLongitudine);
    chkDaylight->setChecked(gbytOraLegale != 0);
}

void frmLocation::cmbCity_Click()
{
    QListWidgetItem* item = cmbCity->currentItem();
    if (!item)
        return;
    const int riga = item->data(Qt::UserRole).toInt();
    if (riga < 1 || riga > int(locations::gvarCitta.size()))
        return;
    const locations::RigaCitta& r = locations::gvarCitta[std::size_t(riga - 1)];
    const float lat = float(r.latitudine);
    const float lon = float(r.longitudine);
    const float fuso = float(r.fuso);
    cmbCityText->setText(item->text());
    Mostra_Fuso(fuso);
    txtHeight->setText(QStringLiteral("0"));
    m_latNascosta = vb::CStrC(lat);
    m_lonNascosta = vb::CStrC(lon);
    lblLatitude->setText(vb::Format(double(lat), u"#0.000#°"));
    lblLongitude->setText(vb::Format(double(lon), u"##0.000#°"));
    Disegna_localita(lat, lon);
}

void frmLocation::cmbCity_DblClick()
{
    cmdOk_Click();
}

void frmLocation::Disegna_localita(double latitudine, double longitudine)
{
    const locations::Globo g = locations::Scegli_Globo(longitudine);
    m_globo = g.immagine;
    m_immagine = locations::Immagine_Globo(g.immagine);
    const QPointF p = locations::Proietta_Globo(latitudine, longitudine, g.centro);
    QPainter pittore(&m_immagine);
    pittore.setRenderHint(QPainter::Antialiasing);
    pittore.setPen(QPen(Qt::white, 2));
    const double mezzo = m_immagine.width() / 2.0;
    pittore.drawPoint(QPointF(mezzo + p.x() * mezzo, mezzo - p.y() * mezzo));
    pittore.end();
    picGeo->setPixmap(m_immagine);
}

void frmLocation::txtHeight_LostFocus()
{
    txtHeight->setText(vb::Format(vb::Val(txtHeight->text()), u"###0"));
}

void frmLocation::cmdOk_Click()
{
    {
        platform::BusyCursor attesa;
        if (voceSelezionata() >= 0) {
            gstrLocalita = cmbCityText->text();
            gsngLatitudine = float(vb::Val(m_latNascosta));
            gsngLongitudine = float(vb::Val(m_lonNascosta));
            if (MainWindowLink* main = MainWindowLink::instance())
                if (QLabel* p = main->panel(3))
                    p->setText(vb::displayable(gstrLocalita));
        }
        const double quota = vb::Val(txtHeight->text());
        gsngQuota = std::isfinite(quota) ? float(quota) : 0.0f;
        gsngFusoOrario = float(locations::Fuso_Da_Boxes(cmbOffset->currentIndex(),
                                                      std::max(0, cmbOffsetHours->currentIndex()),
                                                      cmbOffsetMin->currentIndex()));
        gbytOraLegale = chkDaylight->isChecked() ? 1 : 0;
        Aggiorna_Viste();
    }
    Nascondi();
}

void frmLocation::Aggiorna_Viste()
{
    mAstro::Aggiorna_Tempo(gdatDataCorrente);
    if (core::WorldMapView* mappa = core::clockViews().worldMap) {
        if (gintNumSatelliti >= 1)
            mSat::Calcola_Satellite(1, gdblGiornoGiuliano);
        QApplication::processEvents();
        if ((mappa = core::clockViews().worldMap)) {
            mappa->Genera_mappa();
            if (gintNumSatelliti >= 1)
                mappa->Disegna_satellite(1);
        }
    }
    if (MainWindowLink* main = MainWindowLink::instance())
        main->tmrCentrale_Timer();
    // The local sky chart (its timer procedure) and the whole-sky chart
    // (Genera_mappa), when open.
    for (auto tipo : {common::CartaStellare::Tipo::CieloLocale, common::CartaStellare::Tipo::CieloGenerale})
        if (common::CartaStellare* carta = common::Carta_Aperta(tipo))
            carta->Ridisegna_Carta();
}

void frmLocation::cmdCancel_Click()
{
    Mostra_localita_corrente();
    Nascondi();
}

void frmLocation::Nascondi()
{
    common::Nascondi_Figlia(this);
}

void frmLocation::cmdHelp_Click()
{
    Mostra_Aiuto(30, this);
}

void frmLocation::cmdNuova_Click()
{
    frmAddLocation dlg(this, MainWindowLink::window() ? MainWindowLink::window() : this);
    dlg.gblnModificaCitta = false;
    dlg.exec();
}

void frmLocation::cmdModifica_Click()
{
    const int voce = voceSelezionata();
    if (voce < 0) {
        platform::MsgBox(Testo("selezionarelocalita"), platform::vbInformation);
        return;
    }
    // The row of the chosen entry (two places may share a name).
    const QString nome = cmbCityText->text();
    const int riga = cmbCity->item(voce)->data(Qt::UserRole).toInt();
    if (riga < 1 || riga > int(locations::gvarCitta.size()) || locations::gvarCitta[std::size_t(riga - 1)].vuota())
        return;
    frmAddLocation dlg(this, MainWindowLink::window() ? MainWindowLink::window() : this);
    dlg.Prepara_Modifica(riga, voce, nome, cmbOffsetHours->currentText(), cmbOffsetMin->currentText());
    dlg.exec();
}

bool frmLocation::Scrivi_citta(const std::vector<locations::RigaCitta>& righe, locations::CambioCitta cambio)
{
    using locations::CambioCitta;
    if (!locations::Lettura_Completa()) {
        // The table holds only what was read of the file (or nothing):
        // written, it would take the rest of the file with it. The file is
        // left as it is and the change holds until the list is read again;
        // a place chosen from it as the observer's is kept with the settings.
        const char* chiave = cambio == CambioCitta::Nuova       ? "solosessionenuova"
                             : cambio == CambioCitta::Modificata ? "solosessionemodifica"
                                                                 : "solosessioneelimina";
        platform::MsgBox(Testo(chiave) + QLatin1Char('\r') + locations::Motivo_File_Non_Scritto(),
                         platform::vbExclamation);
        return true;
    }
    QString errore;
    if (locations::Salva_Citta(righe, &errore))
        return true;
    // Which file and why, as a list that cannot be read is told.
    const QString file = QDir::toNativeSeparators(locations::File_Citta());
    platform::MsgBox(Testo("erroresalvataggio") + QLatin1Char('\r')
                         + (errore.contains(file) ? errore : file + QLatin1Char('\r') + errore),
                     platform::vbCritical);
    return false;
}

void frmLocation::cmdElimina_Click()
{
    const int voce = voceSelezionata();
    if (voce < 0) {
        platform::MsgBox(Testo("selezionarelocalita"), platform::vbInformation);
        return;
    }
    const int riga = cmbCity->item(voce)->data(Qt::UserRole).toInt();
    if (riga < 1 || riga > int(locations::gvarCitta.size()))
        return;
    const QString domanda = Testo("confermaeliminazione") + QLatin1Char(' ')
        + locations::gvarCitta[std::size_t(riga - 1)].nome + QStringLiteral(" ?");
    if (platform::MsgBox(domanda, platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2)
        != platform::vbYes)
        return;
    // The file first: a place that stays in the file stays in the list too,
    // or it would come back at the next start.
    std::vector<locations::RigaCitta> tabella = locations::gvarCitta;
    tabella[std::size_t(riga - 1)] = locations::RigaCitta{};
    if (!Scrivi_citta(tabella, locations::CambioCitta::Eliminata))
        return;
    locations::gvarCitta = std::move(tabella);
    {
        QSignalBlocker blocca(cmbCity);
        delete cmbCity->takeItem(voce);
        cmbCity->clearSelection();
        cmbCity->setCurrentRow(-1);
    }
    lblCity->setText(QString::number(cmbCity->count()));
}

void frmLocation::cmdFusoOrario_Click()
{
    float bias = 0;
    bool legale = false;
    if (!mGlobal::Leggi_Fuso_Orario(bias, legale)) {
        platform::MsgBox(Testo("errorefusoorario"), platform::vbExclamation);
        return;
    }
    const double b = std::fabs(double(bias));
    const int h = int(std::floor(b / 60.0));
    const int m = int(std::floor(b - 60.0 * h));
    platform::MsgBox(Testo("fusoorario1") + QLatin1Char(' ') + QString::number(h) + QStringLiteral("hr ")
                         + QString::number(m) + QStringLiteral("min ") + Testo("fusoorario2")
                         + QStringLiteral("\r\n") + Testo("fusoorario3"),
                     platform::vbInformation);
}

void frmLocation::closeEvent(QCloseEvent* event)
{
    // The close box only hides the window: it stays loaded with what it
    // shows. Closing every window or leaving the program deletes it.
    event->ignore();
    Nascondi();
}

bool frmLocation::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtHeight && event->type() == QEvent::FocusOut)
        txtHeight_LostFocus();
    return QWidget::eventFilter(watched, event);
}
