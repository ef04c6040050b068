#include "sky/object_box.h"
#include "common/help.h"

#include "sky/object_box_texts.h"
#include "common/moon_phase.h"
#include "sky/sky_pictures.h"
#include "controls/graph_button.h"
#include "core/data_files.h"
#include "core/globals_time.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "platform/canvas_widget.h"
#include "platform/help_service.h"
#include "platform/services.h"
#include "platform/vb.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
const QString kSezione = QStringLiteral("frmObject");

QLabel* etichetta(const char* nome, QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(nome));
    l->setTextFormat(Qt::PlainText);
    return l;
}
} // namespace

frmObject::frmObject(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmObject"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    fraCoordinate = new QGroupBox(this);
    fraCoordinate->setObjectName(QStringLiteral("fraCoordinate"));
    lblAscensioneRetta = etichetta("lblAscensioneRetta", fraCoordinate);
    lblDeclinazione = etichetta("lblDeclinazione", fraCoordinate);
    lblAltezza = etichetta("lblAltezza", fraCoordinate);
    lblAzimuth = etichetta("lblAzimuth", fraCoordinate);
    lblRa = etichetta("lblRa", fraCoordinate);
    lblDec = etichetta("lblDec", fraCoordinate);
    lblAlt = etichetta("lblAlt", fraCoordinate);
    lblAz = etichetta("lblAz", fraCoordinate);
    auto* coord = new QGridLayout(fraCoordinate);
    coord->setHorizontalSpacing(16);
    QLabel* righeCoord[4][2] = {{lblAscensioneRetta, lblRa}, {lblDeclinazione, lblDec},
                                {lblAltezza, lblAlt}, {lblAzimuth, lblAz}};
    for (int i = 0; i < 4; ++i) {
        coord->addWidget(righeCoord[i][0], i, 0);
        coord->addWidget(righeCoord[i][1], i, 1, Qt::AlignRight);
    }

    lblMagnitudine = etichetta("lblMagnitudine", this);
    lblDiametro = etichetta("lblDiametro", this);
    lblFase = etichetta("lblFase", this);
    lblDistanza = etichetta("lblDistanza", this);
    lblTempoLuce = etichetta("lblTempoLuce", this);
    lblMag = etichetta("lblMag", this);
    lblSize = etichetta("lblSize", this);
    lblPhase = etichetta("lblPhase", this);
    lblDist = etichetta("lblDist", this);
    lblLight = etichetta("lblLight", this);
    auto* altri = new QGridLayout;
    altri->setHorizontalSpacing(16);
    QLabel* righe[5][2] = {{lblMagnitudine, lblMag}, {lblDiametro, lblSize}, {lblFase, lblPhase},
                           {lblDistanza, lblDist}, {lblTempoLuce, lblLight}};
    for (int i = 0; i < 5; ++i) {
        altri->addWidget(righe[i][0], i, 0);
        altri->addWidget(righe[i][1], i, 1, Qt::AlignRight);
    }
    altri->setContentsMargins(10, 0, 10, 0);

    PicObject = new platform::CanvasWidget(this);
    PicObject->setObjectName(QStringLiteral("PicObject"));
    PicObject->setFixedSize(60, 60);
    PicObject->canvas().resize(QSize(60, 60));

    cmdOK = new GraphButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdHelp = new GraphButton(this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    for (GraphButton* b : {cmdOK, cmdHelp})
        b->setMinimumSize(84, 26);
    connect(cmdOK, &QAbstractButton::clicked, this, &frmObject::cmdOK_Click);
    connect(cmdHelp, &QAbstractButton::clicked, this, &frmObject::cmdHelp_Click);

    auto* sinistra = new QVBoxLayout;
    sinistra->addWidget(fraCoordinate);
    sinistra->addLayout(altri);
    sinistra->addStretch();
    auto* destra = new QVBoxLayout;
    destra->addWidget(PicObject, 0, Qt::AlignHCenter);
    destra->addStretch();
    destra->addWidget(cmdOK);
    destra->addWidget(cmdHelp);
    auto* tutto = new QHBoxLayout(this);
    tutto->addLayout(sinistra, 1);
    tutto->addLayout(destra);

    // Room for the longest figure (the Sun's distance) before the first paint.
    const int largo = fontMetrics().horizontalAdvance(QStringLiteral("000,000,000 km  "));
    for (QLabel* l : {lblRa, lblDec, lblAlt, lblAz, lblMag, lblSize, lblPhase, lblDist, lblLight}) {
        l->setMinimumWidth(largo);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    Form_Load();
}

void frmObject::Mostra(int oggetto, QWidget* owner)
{
    gintOggetto = oggetto;
    frmObject box(owner);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void frmObject::Form_Load()
{
    Lingua();
    // The picture box without its sunken border.
    PicObject->setContentsMargins(0, 0, 0, 0);
    PicObject->canvas().setBackColor(0);
    PicObject->canvas().setAntialiasing(true);
}

void frmObject::Lingua()
{
    auto t = [](const char* k) { return mLang::Testo_Lingua(kSezione, QString::fromLatin1(k)); };
    setWindowTitle(t("oggetto"));
    fraCoordinate->setTitle(t("coordinate"));
    lblAscensioneRetta->setText(t("ascensioneretta"));
    lblDeclinazione->setText(t("declinazione"));
    lblAltezza->setText(t("altezza"));
    lblAzimuth->setText(t("azimuth"));
    lblMagnitudine->setText(t("magnitudine"));
    lblDiametro->setText(t("diametro"));
    lblFase->setText(t("fase"));
    lblDistanza->setText(t("distanza"));
    lblTempoLuce->setText(t("tempoluce"));
    cmdOK->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("ok")));
    cmdHelp->setCaption(mLang::Testo_Lingua(QStringLiteral("Buttons"), QStringLiteral("help")));
}

void frmObject::paintEvent(QPaintEvent* event)
{
    Form_Paint();
    QDialog::paintEvent(event);
}

void frmObject::Mostra_immagine(int n)
{
    if (m_immagine == n)
        return;
    m_immagine = n;
    platform::Canvas& c = PicObject->canvas();
    c.setAutoRedraw(true);
    c.Cls();
    const QImage img = sky::Immagine_Oggetto(n);
    c.Scale();
    c.setScaleMode(platform::Canvas::Pixels);
    c.PaintPicture(img, (c.pixelSize().width() - img.width()) / 2.0, (c.pixelSize().height() - img.height()) / 2.0);
    c.setAutoRedraw(false);
}

void frmObject::Disegna_fase(double fase)
{
    if (m_immagine == 10 && m_fase == fase)
        return;
    m_immagine = 10;
    m_fase = fase;
    platform::Canvas& c = PicObject->canvas();
    c.setAutoRedraw(true);
    c.Cls();
    c.Scale();
    c.setScaleMode(platform::Canvas::Pixels);
    const double w = c.pixelSize().width();
    const double h = c.pixelSize().height();
    common::Disegna_Fase(c, w / 2.0, h / 2.0, w / 3.0, fase);
    c.setAutoRedraw(false);
}

void frmObject::Form_Paint()
{
    if (m_riempie)
        return;
    m_riempie = true;
    const int n = gintOggetto;
    if (n >= 1 && n <= 9) {
        const mAstro::CorpoCeleste& c = gudtCorpi[n];
        setWindowTitle(mLang::Testo_Lingua(QStringLiteral("Planets"), QString::fromStdString(c.Nome)));
        lblRa->setText(sky::dettagli::Testo_AR(c.AscensioneRetta));
        lblDec->setText(sky::dettagli::Testo_Dec(c.Declinazione));
        lblAlt->setText(sky::dettagli::Testo_Altezza(c.Altezza));
        lblAz->setText(sky::dettagli::Testo_Azimuth(c.Azimuth));
        lblMag->setText(vb::Format(c.Magnitudine, u"0.0"));
        lblSize->setText(sky::dettagli::Testo_Diametro(c.Diametro));
        if (n < mAstro::kLuna) {
            lblDist->setText(vb::Format(c.Distanza, u"#0.00 ") + sky::dettagli::Unita("ua"));
            lblPhase->setText(vb::Format(c.Fase, u"0.00"));
            lblLight->setText(sky::dettagli::Tempo_Luce_Pianeta(c.Distanza));
            Mostra_immagine(n);
        }
        if (n == mAstro::kSole) {
            lblMagnitudine->hide();
            lblMag->hide();
            lblFase->setText(mLang::Testo_Lingua(kSezione, QStringLiteral("magnitudine")));
            lblPhase->setText(vb::CStr(-26.4));
            lblDist->setText(vb::Format(c.Distanza, u"000,000,000 ") + sky::dettagli::Unita("km"));
            lblLight->setText(sky::dettagli::Tempo_Luce_Sole(c.Distanza));
        } else if (n == mAstro::kLuna) {
            lblMagnitudine->hide();
            lblMag->hide();
            lblDist->setText(vb::Format(c.Distanza, u"000,000 ") + sky::dettagli::Unita("km"));
            lblPhase->setText(sky::dettagli::Fase_Luna(c.Fase));
            lblLight->setText(sky::dettagli::Tempo_Luce_Luna(c.Distanza));
            Disegna_fase(c.Fase);
        }
    } else if (n == 0) {
        const RecordStella& s = gudtRecordStella;
        double az = 0;
        double alt = 0;
        mAstro::Equatoriali_Orizzontali(s.AscensioneRetta, s.Declinazione, az, alt);
        setWindowTitle(Testo_Campo_Stella(s.Nome));
        lblRa->setText(sky::dettagli::Testo_AR(s.AscensioneRetta));
        lblDec->setText(sky::dettagli::Testo_Dec(s.Declinazione));
        lblAlt->setText(sky::dettagli::Testo_Altezza(alt));
        lblAz->setText(sky::dettagli::Testo_Azimuth(az));
        lblMag->setText(vb::Format(s.Magnitudine / 100.0, u"0.00"));
        lblDiametro->setText(mLang::Testo_Lingua(kSezione, QStringLiteral("costellazione")));
        lblSize->setText(Testo_Campo_Stella(s.Costellazione));
        lblFase->setText(mLang::Testo_Lingua(kSezione, QStringLiteral("lettera")));
        lblPhase->setText(Testo_Campo_Stella(s.Lettera));
        lblDistanza->setText(mLang::Testo_Lingua(kSezione, QStringLiteral("spettro")));
        lblDist->setText(Testo_Campo_Stella(s.Spettro));
        lblTempoLuce->setText(QString());
        lblLight->setText(QString());
        Mostra_immagine(9);
    }
    m_riempie = false;
}

void frmObject::cmdOK_Click()
{
    gintOggetto = 0;
    accept();
}

void frmObject::cmdHelp_Click()
{
    Mostra_Aiuto(130, this);
}
