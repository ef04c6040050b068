#include "locations/new_place_dialog.h"
#include "common/help.h"

#include "controls/graph_button.h"
#include "core/mlang.h"
#include "locations/city_list.h"
#include "locations/location_logic.h"
#include "platform/help_service.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/vb.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kSezione = QStringLiteral("frmAddLocation");

QString Testo(const QString& key)
{
    return mLang::Testo_Lingua(kSezione, key);
}

double Valore(const QLineEdit* box)
{
    return vb::Val(box->text());
}

} // namespace

using locations::Campo;

frmAddLocation::frmAddLocation(CityBoxOwner* location, QWidget* parent)
    : QDialog(parent), m_location(location)
{
    setObjectName(QStringLiteral("frmAddLocation"));
    setModal(true);

    fraCity = new QGroupBox(this);
    txtCityName = new QLineEdit(fraCity);
    txtCityName->setObjectName(QStringLiteral("txtCityName"));
    txtCityName->setMaxLength(25);
    (new QVBoxLayout(fraCity))->addWidget(txtCityName);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->setUsesScrollButtons(false);
    SSTab1->setMinimumWidth(330);
    auto* dms = new QWidget;
    auto* dd = new QWidget;
    SSTab1->addTab(dms, QString());
    SSTab1->addTab(dd, QString());

    auto fila = [](QGroupBox* f, const QList<QWidget*>& ws) {
        auto* h = new QHBoxLayout(f);
        for (QWidget* w : ws)
            h->addWidget(w);
        h->addStretch();
    };
    auto etichetta = [](const QString& t, QWidget* p) { return new QLabel(t, p); };

    auto* fraLatitudinedms = new QGroupBox(dms);
    fraLatitudinedms->setObjectName(QStringLiteral("fraLatitudinedms"));
    txtDMSDegLatitude = Box(fraLatitudinedms, "txtDMSDegLatitude", 2);
    txtDMSMinLatitude = Box(fraLatitudinedms, "txtDMSMinLatitude", 2);
    txtDMSSecLatitude = Box(fraLatitudinedms, "txtDMSSecLatitude", 2);
    fila(fraLatitudinedms, {txtDMSDegLatitude, etichetta(QStringLiteral("°"), fraLatitudinedms), txtDMSMinLatitude,
                            etichetta(QStringLiteral("'"), fraLatitudinedms), txtDMSSecLatitude,
                            etichetta(QStringLiteral("''"), fraLatitudinedms)});
    auto* fraLongitudinedms = new QGroupBox(dms);
    fraLongitudinedms->setObjectName(QStringLiteral("fraLongitudinedms"));
    txtDMSDegLongitude = Box(fraLongitudinedms, "txtDMSDegLongitude", 3);
    txtDMSMinLongitude = Box(fraLongitudinedms, "txtDMSMinLongitude", 2);
    txtDMSSecLongitude = Box(fraLongitudinedms, "txtDMSSecLongitude", 2);
    fila(fraLongitudinedms, {txtDMSDegLongitude, etichetta(QStringLiteral("°"), fraLongitudinedms), txtDMSMinLongitude,
                             etichetta(QStringLiteral("'"), fraLongitudinedms), txtDMSSecLongitude,
                             etichetta(QStringLiteral("''"), fraLongitudinedms)});
    {
        auto* v = new QVBoxLayout(dms);
        v->addWidget(fraLatitudinedms);
        v->addWidget(fraLongitudinedms);
    }

    auto* fraLatitudinedd = new QGroupBox(dd);
    fraLatitudinedd->setObjectName(QStringLiteral("fraLatitudinedd"));
    txtDegLatitude = Box(fraLatitudinedd, "txtDegLatitude", 2);
    txtDegFrazLatitude = Box(fraLatitudinedd, "txtDegFrazLatitude", 4);
    fila(fraLatitudinedd, {txtDegLatitude, etichetta(QStringLiteral(","), fraLatitudinedd), txtDegFrazLatitude,
                           etichetta(QStringLiteral("°"), fraLatitudinedd)});
    auto* fraLongitudinedd = new QGroupBox(dd);
    fraLongitudinedd->setObjectName(QStringLiteral("fraLongitudinedd"));
    txtDegLongitude = Box(fraLongitudinedd, "txtDegLongitude", 3);
    txtDegFrazLongitude = Box(fraLongitudinedd, "txtDegFrazLongitude", 4);
    fila(fraLongitudinedd, {txtDegLongitude, etichetta(QStringLiteral(","), fraLongitudinedd), txtDegFrazLongitude,
                            etichetta(QStringLiteral("°"), fraLongitudinedd)});
    {
        auto* v = new QVBoxLayout(dd);
        v->addWidget(fraLatitudinedd);
        v->addWidget(fraLongitudinedd);
    }

    // The hemisphere boxes serve both tabs: they stand beside the tab control.
    cmbLatitude = new QComboBox(this);
    cmbLatitude->setObjectName(QStringLiteral("cmbLatitude"));
    cmbLatitude->addItems({QStringLiteral("N"), QStringLiteral("S")});
    cmbLongitude = new QComboBox(this);
    cmbLongitude->setObjectName(QStringLiteral("cmbLongitude"));
    cmbLongitude->addItems({QStringLiteral("E"), QStringLiteral("W")});

    fraOffset = new QGroupBox(this);
    cmbOffset = new QComboBox(fraOffset);
    cmbOffset->setObjectName(QStringLiteral("cmbOffset"));
    cmbOffsetHours = new QComboBox(fraOffset);
    cmbOffsetHours->setObjectName(QStringLiteral("cmbOffsetHours"));
    for (int h = 0; h <= locations::kOreMassime; ++h)
        cmbOffsetHours->addItem(QString::number(h));
    cmbOffsetMin = new QComboBox(fraOffset);
    cmbOffsetMin->setObjectName(QStringLiteral("cmbOffsetMin"));
    cmbOffsetMin->addItems({QStringLiteral("0"), QStringLiteral("30"), QStringLiteral("45")});
    lblFuso = new QLabel(fraOffset);
    lblFusoOre = new QLabel(fraOffset);
    lblFusoMin = new QLabel(fraOffset);
    {
        auto* g = new QGridLayout(fraOffset);
        g->addWidget(lblFuso, 0, 0);
        g->addWidget(cmbOffset, 0, 1, 1, 4);
        g->addWidget(cmbOffsetHours, 1, 1);
        g->addWidget(lblFusoOre, 1, 2);
        g->addWidget(cmbOffsetMin, 1, 3);
        g->addWidget(lblFusoMin, 1, 4);
    }

    cmdOK = new GraphButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new GraphButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdHelp = new GraphButton(this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    for (GraphButton* b : {cmdOK, cmdCancel, cmdHelp})
        b->setMinimumSize(80, 26);

    auto* emisferi = new QVBoxLayout;
    emisferi->addSpacing(50);
    emisferi->addWidget(cmbLatitude);
    emisferi->addSpacing(40);
    emisferi->addWidget(cmbLongitude);
    emisferi->addStretch();
    auto* centro = new QHBoxLayout;
    centro->addWidget(SSTab1, 1);
    centro->addLayout(emisferi);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(cmdOK);
    pulsanti->addWidget(cmdCancel);
    pulsanti->addWidget(cmdHelp);
    auto* tutto = new QVBoxLayout(this);
    tutto->addWidget(fraCity);
    tutto->addLayout(centro);
    tutto->addWidget(fraOffset);
    tutto->addLayout(pulsanti);

    // A click on a tab runs the tab switch; a refused switch keeps the tab.
    SSTab1->tabBar()->installEventFilter(this);
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int nuova) {
        if (m_inCambio || nuova == m_scheda)
            return;
        const int lasciata = m_scheda;
        if (!SSTab1_Click(lasciata)) {
            m_inCambio = true;
            SSTab1->setCurrentIndex(lasciata);
            m_inCambio = false;
        }
    });
    connect(cmdOK, &QAbstractButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QAbstractButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmdHelp, &QAbstractButton::clicked, this, [this] { cmdHelp_Click(); });

    Form_Load();
}

QLineEdit* frmAddLocation::Box(QGroupBox* frame, const char* name, int maxLength)
{
    auto* box = new QLineEdit(frame);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(maxLength);
    box->setFixedWidth(16 + 10 * maxLength);
    box->setAlignment(Qt::AlignRight);
    box->installEventFilter(this);
    return box;
}

void frmAddLocation::Form_Load()
{
    Lingua();
    cmbOffset->clear();
    cmbOffset->addItem(Testo(QStringLiteral("primadigreenwich")));
    cmbOffset->addItem(Testo(QStringLiteral("dopodigreenwich")));
    cmbLatitude->setCurrentIndex(0);
    cmbLongitude->setCurrentIndex(0);
    cmbOffset->setCurrentIndex(0);
    cmbOffsetHours->setCurrentIndex(0);
    cmbOffsetMin->setCurrentIndex(0);
    for (QLineEdit* b : {txtDMSDegLatitude, txtDMSDegLongitude, txtDegLatitude, txtDegLongitude})
        b->setText(QStringLiteral("0"));
    for (QLineEdit* b : {txtDMSMinLatitude, txtDMSSecLatitude, txtDMSMinLongitude, txtDMSSecLongitude})
        b->setText(QStringLiteral("00"));
    txtDegFrazLatitude->setText(QStringLiteral("0000"));
    txtDegFrazLongitude->setText(QStringLiteral("0000"));
    cmbLatitude->raise();
    cmbLongitude->raise();
    m_inCambio = true;
    SSTab1->setCurrentIndex(0);
    m_inCambio = false;
    m_scheda = 0;
}

void frmAddLocation::Lingua()
{
    setWindowTitle(Testo(QStringLiteral("nuovalocalita")));
    fraCity->setTitle(Testo(QStringLiteral("nomelocalita")));
    fraOffset->setTitle(Testo(QStringLiteral("impostazioneora")));
    for (const char* n : {"fraLatitudinedms", "fraLatitudinedd"})
        if (auto* f = findChild<QGroupBox*>(QLatin1String(n)))
            f->setTitle(Testo(QStringLiteral("latitudine")));
    for (const char* n : {"fraLongitudinedms", "fraLongitudinedd"})
        if (auto* f = findChild<QGroupBox*>(QLatin1String(n)))
            f->setTitle(Testo(QStringLiteral("longitudine")));
    SSTab1->setTabText(0, Testo(QStringLiteral("gradiprimi")));
    SSTab1->setTabText(1, Testo(QStringLiteral("gradidecimi")));
    lblFuso->setText(mLang::Testo_Lingua("Def", "fuso"));
    lblFusoOre->setText(mLang::Testo_Lingua("Def", "ore"));
    lblFusoMin->setText(mLang::Testo_Lingua("Def", "min"));
    cmdOK->setCaption(mLang::Testo_Lingua("Buttons", "ok"));
    cmdCancel->setCaption(mLang::Testo_Lingua("Buttons", "cancel"));
    cmdHelp->setCaption(mLang::Testo_Lingua("Buttons", "help"));
}

void frmAddLocation::Prepara_Modifica(int riga, int voce, const QString& nome, const QString& ore,
                                      const QString& minuti)
{
    if (riga < 1 || riga > int(locations::gvarCitta.size()))
        return;
    const locations::RigaCitta& r = locations::gvarCitta[std::size_t(riga - 1)];
    txtCityName->setText(nome);
    Mostra_Scheda(1);
    const float lat = float(r.latitudine);
    const float lon = float(r.longitudine);
    const float fuso = float(r.fuso);
    cmbLatitude->setCurrentIndex(lat >= 0 ? 0 : 1);
    cmbLongitude->setCurrentIndex(lon >= 0 ? 0 : 1);
    cmbOffset->setCurrentIndex(fuso >= 0 ? 0 : 1);
    const locations::Decimale dlat = locations::Decimale_Da_Valore(lat);
    const locations::Decimale dlon = locations::Decimale_Da_Valore(lon);
    txtDegLatitude->setText(vb::FormatC(dlat.gradi, u"00"));
    txtDegFrazLatitude->setText(vb::FormatC(dlat.decimi, u"0000"));
    txtDegLongitude->setText(vb::FormatC(dlon.gradi, u"00"));
    txtDegFrazLongitude->setText(vb::FormatC(dlon.decimi, u"0000"));
    cmbOffsetHours->setCurrentIndex(cmbOffsetHours->findText(ore));
    cmbOffsetMin->setCurrentIndex(cmbOffsetMin->findText(minuti));
    gintIndiceCittaDaModificare = riga;
    gintIndiceCittaCombo = voce;
    gblnModificaCitta = true;
    txtCityName->setEnabled(false);
}

void frmAddLocation::Mostra_Scheda(int tab)
{
    SSTab1->setCurrentIndex(tab);
}

QLineEdit* frmAddLocation::Campo_Box(int campo) const
{
    switch (Campo(campo)) {
    case Campo::Nome: return txtCityName;
    case Campo::GradiLat: return txtDegLatitude;
    case Campo::FrazLat: return txtDegFrazLatitude;
    case Campo::GradiLon: return txtDegLongitude;
    case Campo::FrazLon: return txtDegFrazLongitude;
    case Campo::GmsGradiLat: return txtDMSDegLatitude;
    case Campo::GmsMinLat: return txtDMSMinLatitude;
    case Campo::GmsSecLat: return txtDMSSecLatitude;
    case Campo::GmsGradiLon: return txtDMSDegLongitude;
    case Campo::GmsMinLon: return txtDMSMinLongitude;
    case Campo::GmsSecLon: return txtDMSSecLongitude;
    default: return nullptr;
    }
}

void frmAddLocation::Avvisa(const QString& chiave, int campo)
{
    platform::MsgBox(Testo(chiave), platform::vbExclamation);
    if (QLineEdit* box = Campo_Box(campo))
        box->setFocus();
}

namespace {
locations::Decimale Leggi_Dec(const QLineEdit* g, const QLineEdit* f)
{
    return {Valore(g), Valore(f)};
}
locations::Sessagesimale Leggi_Gms(const QLineEdit* g, const QLineEdit* m, const QLineEdit* s)
{
    return {Valore(g), Valore(m), Valore(s)};
}
} // namespace

bool frmAddLocation::Verifica_dati()
{
    if (vb::Trim(txtCityName->text()).isEmpty()) {
        Avvisa(QStringLiteral("nomeobbligatorio"), int(Campo::Nome));
        return false;
    }
    // A double quote or a line end cannot be kept in the city list file.
    if (!locations::Nome_Citta_Valido(txtCityName->text())) {
        Avvisa(QStringLiteral("nomenonvalido"), int(Campo::Nome));
        return false;
    }
    const locations::Verifica v =
        SSTab1->currentIndex() == 1
            ? locations::Verifica_Decimale(Leggi_Dec(txtDegLatitude, txtDegFrazLatitude),
                                         Leggi_Dec(txtDegLongitude, txtDegFrazLongitude))
            : locations::Verifica_Sessagesimale(
                  Leggi_Gms(txtDMSDegLatitude, txtDMSMinLatitude, txtDMSSecLatitude),
                  Leggi_Gms(txtDMSDegLongitude, txtDMSMinLongitude, txtDMSSecLongitude));
    if (!v.ok()) {
        Avvisa(v.chiave, int(v.campo));
        return false;
    }
    return true;
}

bool frmAddLocation::SSTab1_Click(int schedaLasciata)
{
    using namespace locations;
    if (schedaLasciata == 0) {
        const Sessagesimale lat = Leggi_Gms(txtDMSDegLatitude, txtDMSMinLatitude, txtDMSSecLatitude);
        const Sessagesimale lon = Leggi_Gms(txtDMSDegLongitude, txtDMSMinLongitude, txtDMSSecLongitude);
        Verifica v = Verifica_Sessagesimale(lat, lon);
        if (v.ok())
            v = Limiti_Sessagesimale(lat, lon);
        if (!v.ok()) {
            Avvisa(v.chiave, int(v.campo));
            return false;
        }
        const Decimale dlat = Decimale_Da_Gms(lat);
        const Decimale dlon = Decimale_Da_Gms(lon);
        txtDegLatitude->setText(vb::FormatC(dlat.gradi, u"00"));
        txtDegFrazLatitude->setText(vb::FormatC(dlat.decimi, u"0000"));
        txtDegLongitude->setText(vb::FormatC(dlon.gradi, u"00"));
        txtDegFrazLongitude->setText(vb::FormatC(dlon.decimi, u"0000"));
    } else {
        const Decimale lat = Leggi_Dec(txtDegLatitude, txtDegFrazLatitude);
        const Decimale lon = Leggi_Dec(txtDegLongitude, txtDegFrazLongitude);
        Verifica v = Verifica_Decimale(lat, lon);
        if (v.ok())
            v = Limiti_Decimale(lat, lon);
        if (!v.ok()) {
            Avvisa(v.chiave, int(v.campo));
            return false;
        }
        const Sessagesimale glat = Gms_Da_Decimale(lat);
        const Sessagesimale glon = Gms_Da_Decimale(lon);
        txtDMSDegLatitude->setText(vb::CStrC(glat.gradi));
        txtDMSMinLatitude->setText(vb::CStrC(glat.minuti));
        txtDMSSecLatitude->setText(vb::CStrC(glat.secondi));
        txtDMSDegLongitude->setText(vb::CStrC(glon.gradi));
        txtDMSMinLongitude->setText(vb::CStrC(glon.minuti));
        txtDMSSecLongitude->setText(vb::CStrC(glon.secondi));
    }
    m_scheda = schedaLasciata == 0 ? 1 : 0;
    return true;
}

void frmAddLocation::cmdOK_Click()
{
    using namespace locations;
    if (!Verifica_dati())
        return;
    double lat;
    double lon;
    if (SSTab1->currentIndex() == 0) {
        lat = Arrotonda_Coordinata(Gradi_Da_Gms(Leggi_Gms(txtDMSDegLatitude, txtDMSMinLatitude, txtDMSSecLatitude)),
                                   QStringLiteral("#0.000#"));
        lon = Arrotonda_Coordinata(Gradi_Da_Gms(Leggi_Gms(txtDMSDegLongitude, txtDMSMinLongitude, txtDMSSecLongitude)),
                                   QStringLiteral("##0.000#"));
    } else {
        lat = Arrotonda_Coordinata(Valore(txtDegLatitude) + Valore(txtDegFrazLatitude) / 10000.0,
                                   QStringLiteral("#0.000#"));
        lon = Arrotonda_Coordinata(Valore(txtDegLongitude) + Valore(txtDegFrazLongitude) / 10000.0,
                                   QStringLiteral("##0.000#"));
    }
    if (cmbLatitude->currentIndex() == 1)
        lat = -lat;
    if (cmbLongitude->currentIndex() == 1)
        lon = -lon;
    if (std::abs(lat) > 90) {
        platform::MsgBox(Testo(QStringLiteral("valorelaterrato")), platform::vbExclamation);
        return;
    }
    if (std::abs(lon) > 180) {
        platform::MsgBox(Testo(QStringLiteral("valorelongerrato")), platform::vbExclamation);
        return;
    }
    const QString nome = vb::Trim(txtCityName->text());
    const double fuso = Fuso_Da_Minuti(cmbOffset->currentIndex(), std::max(0, cmbOffsetHours->currentIndex()),
                                       Minuti_Indice(cmbOffsetMin->currentIndex()));
    const QString domanda = Testo_Conferma(nome, lat, lon, fuso);
    if (platform::MsgBox(domanda, platform::vbYesNo | platform::vbInformation,
                         Testo(QStringLiteral("nuovalocalita")))
        != platform::vbYes)
        return;

    RigaCitta r;
    r.nome = nome;
    r.latitudine = lat;
    r.longitudine = lon;
    r.fuso = fuso;
    r.singola = false;
    // The place is kept in the city list file at once, so that it outlives
    // the program and a change of language. The file first: when it cannot
    // be written the table and the location dialog's list stay as the file
    // holds them, and this dialog stays open with what was typed. A file
    // the last load could not read (or not whole) is left as it is: the
    // place is then listed until the list is read again, so that it can
    // still be chosen as the observer's.
    std::vector<RigaCitta> tabella = gvarCitta;
    const bool modifica = gblnModificaCitta && gintIndiceCittaDaModificare >= 1
                          && gintIndiceCittaDaModificare <= int(tabella.size());
    if (modifica)
        tabella[std::size_t(gintIndiceCittaDaModificare - 1)] = r;
    else if (!gblnModificaCitta)
        tabella.push_back(r);
    const CambioCitta cambio = gblnModificaCitta ? CambioCitta::Modificata : CambioCitta::Nuova;
    if (!(m_location ? m_location->Scrivi_citta(tabella, cambio) : Salva_Citta(tabella)))
        return;
    gvarCitta = std::move(tabella);
    if (gblnModificaCitta) {
        if (m_location && gintIndiceCittaCombo > -1)
            m_location->Seleziona_Voce(gintIndiceCittaCombo);
    } else if (m_location) {
        m_location->Aggiungi_Voce(nome, int(gvarCitta.size()));
    }
    accept();
}

void frmAddLocation::cmdCancel_Click()
{
    reject();
}

void frmAddLocation::cmdHelp_Click()
{
    Mostra_Aiuto(gblnModificaCitta ? 40 : 50, this);
}

void frmAddLocation::Normalizza(QLineEdit* box)
{
    static const struct {
        const char* nome;
        const char16_t* formato;
    } kFormati[] = {
        {"txtDegLatitude", u"#0"},      {"txtDegFrazLatitude", u"0000"}, {"txtDegLongitude", u"##0"},
        {"txtDegFrazLongitude", u"0000"}, {"txtDMSDegLatitude", u"#0"},  {"txtDMSDegLongitude", u"##0"},
        {"txtDMSMinLatitude", u"00"},    {"txtDMSMinLongitude", u"00"},  {"txtDMSSecLatitude", u"00"},
        {"txtDMSSecLongitude", u"00"},
    };
    for (const auto& f : kFormati) {
        if (box->objectName() == QLatin1String(f.nome)) {
            box->setText(vb::FormatC(vb::Val(box->text()), f.formato));
            return;
        }
    }
}

bool frmAddLocation::eventFilter(QObject* watched, QEvent* event)
{
    if (auto* box = qobject_cast<QLineEdit*>(watched)) {
        if (event->type() == QEvent::FocusIn)
            QMetaObject::invokeMethod(box, [box] { box->selectAll(); }, Qt::QueuedConnection);
        else if (event->type() == QEvent::FocusOut)
            Normalizza(box);
    }
    return QDialog::eventFilter(watched, event);
}
