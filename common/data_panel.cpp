#include "common/data_panel.h"

#include "core/mlang.h"

#include <QGridLayout>
#include <QLabel>

namespace common {

RiquadroDati::RiquadroDati(QWidget* parent, double pointSize, const QMargins& margini, bool valoriZero)
    : QGroupBox(parent)
{
    setObjectName(QStringLiteral("fraSatellitePrincipale"));
    QFont piccolo = font();
    piccolo.setPointSizeF(pointSize);
    setFont(piccolo);
    auto* g = new QGridLayout(this);
    g->setContentsMargins(margini);
    g->setVerticalSpacing(1);
    g->setHorizontalSpacing(2);
    g->setColumnStretch(1, 1);
    auto coppia = [&](QLabel*& titolo, const char* nt, QLabel*& valore, const char* nv) {
        // The figures come first: a long title ("Range rate") breaks into
        // two lines rather than cut a figure.
        titolo = new QLabel(this);
        titolo->setObjectName(QLatin1String(nt));
        titolo->setTextFormat(Qt::PlainText);
        titolo->setWordWrap(true);
        valore = new QLabel(valoriZero ? QStringLiteral("0") : QString(), this);
        valore->setObjectName(QLatin1String(nv));
        valore->setTextFormat(Qt::PlainText);
        valore->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        const int r = g->rowCount();
        g->addWidget(titolo, r, 0);
        g->addWidget(valore, r, 1);
    };
    coppia(lblLat, "lblLat", lblLatitude, "lblLatitude");
    coppia(lblLon, "lblLon", lblLongitude, "lblLongitude");
    coppia(lblAlt, "lblAlt", lblAltitude, "lblAltitude");
    coppia(lblAz, "lblAz", lblAzimuth, "lblAzimuth");
    coppia(lblAR, "lblAR", lblAscension, "lblAscension");
    coppia(lblDec, "lblDec", lblDeclination, "lblDeclination");
    coppia(lblOrbita, "lblOrbita", lblOrbitNumber, "lblOrbitNumber");
    coppia(lblVarDist, "lblVarDist", lblRangeRate, "lblRangeRate");
    coppia(lblStato, "lblStato", lblState, "lblState");
    coppia(lblMag, "lblMag", lblMagnitude, "lblMagnitude");
    coppia(lblQuota, "lblQuota", lblHeight, "lblHeight");
    coppia(lblDista, "lblDista", lblRange, "lblRange");
    coppia(lblApg, "lblApg", lblApogee, "lblApogee");
    coppia(lblPrg, "lblPrg", lblPerigee, "lblPerigee");
    coppia(lblPrd, "lblPrd", lblPeriod, "lblPeriod");
    coppia(lblVel, "lblVel", lblVelocity, "lblVelocity");
    coppia(lblRicezione, "lblRicezione", lblRicez, "lblRicez");
    coppia(lblTrasmissione, "lblTrasmissione", lblTrasm, "lblTrasm");
    for (QLabel* l : {lblMagnitude, lblState, lblRicez, lblTrasm})
        l->clear();
    g->setRowStretch(g->rowCount(), 1);
}

void RiquadroDati::Lingua(const QString& titolo)
{
    setTitle(titolo);
    const std::pair<QLabel*, const char*> titoli[] = {
        {lblLat, "lat"},     {lblLon, "lon"},      {lblAlt, "alt"},       {lblAz, "az"},
        {lblAR, "ar"},       {lblDec, "dec"},      {lblOrbita, "orb"},    {lblVarDist, "var"},
        {lblStato, "stato"}, {lblMag, "mag"},      {lblQuota, "hgt"},     {lblDista, "dist"},
        {lblApg, "apg"},     {lblPrg, "prg"},      {lblPrd, "prd"},       {lblVel, "vel"},
        {lblRicezione, "ricezione"}, {lblTrasmissione, "trasmissione"},
    };
    for (const auto& [l, chiave] : titoli) {
        l->setText(mLang::Testo_Lingua(QStringLiteral("Def"), QLatin1String(chiave)));
        l->setToolTip(mLang::Testo_Lingua(QStringLiteral("ToolTips"), QLatin1String(chiave)));
    }
}

void RiquadroDati::Mostra_dati(const core::PrincipalTexts& t)
{
    lblLatitude->setText(t.lblLatitude);
    lblLongitude->setText(t.lblLongitude);
    lblAltitude->setText(t.lblAltitude);
    lblAzimuth->setText(t.lblAzimuth);
    lblAscension->setText(t.lblAscension);
    lblDeclination->setText(t.lblDeclination);
    lblOrbitNumber->setText(t.lblOrbitNumber);
    lblRangeRate->setText(t.lblRangeRate);
    lblState->setText(t.lblState);
    lblMagnitude->setText(t.lblMagnitude);
    lblHeight->setText(t.lblHeight);
    lblRange->setText(t.lblRange);
    lblApogee->setText(t.lblApogee);
    lblPerigee->setText(t.lblPerigee);
    lblPeriod->setText(t.lblPeriod);
    lblVelocity->setText(t.lblVelocity);
    lblRicez->setText(t.lblRicez);
    lblTrasm->setText(t.lblTrasm);
}

void RiquadroDati::Azzera_dati()
{
    for (QLabel* l : {lblLatitude, lblLongitude, lblAltitude, lblAzimuth, lblAscension, lblDeclination,
                      lblOrbitNumber, lblRangeRate, lblHeight, lblRange, lblApogee, lblPerigee, lblPeriod,
                      lblVelocity})
        l->setText(QStringLiteral("0"));
    lblMagnitude->clear();
    lblState->clear();
}

} // namespace common
