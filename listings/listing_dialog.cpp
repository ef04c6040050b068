#include "listings/listing_dialog.h"

#include "core/clock.h"
#include "core/database.h"
#include "core/mlang.h"
#include "controls/date_picker.h"
#include "platform/vb.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QRadioButton>

namespace listings {

QDateTime Fine_Intervallo(const QDateTime& inizio, int quantita, int unita)
{
    if (unita == 0)
        return inizio.addSecs(qint64(quantita) * 60);
    if (unita == 1)
        return inizio.addSecs(qint64(quantita) * 3600);
    return inizio.addDays(quantita);
}

double Passo_Secondi(int quantita, int unita)
{
    const int fattore = unita == 0 ? 1 : unita == 1 ? 60 : 3600;
    return double(quantita * fattore);
}

std::vector<VoceSatellite> Voci_Database(const std::vector<RigaDati>& db)
{
    std::vector<VoceSatellite> out;
    const int n = core::Numero_Voci(db);
    out.reserve(size_t(n));
    for (int i = 1; i <= n; ++i)
        out.push_back({vb::displayable(vb::Left(QString::fromStdString(db[size_t(i)].Riga0), 24)), i});
    return out;
}

void ControlliElenco::crea(QWidget* parent)
{
    DTPicker1 = new DateTimePicker(parent);
    DTPicker1->setObjectName(QStringLiteral("DTPicker1"));
    // The program clock is a plain calendar date-time: no zone rule applies.
    DTPicker1->setTimeSpec(Qt::UTC);
    DTPicker1->setDisplayFormat(QStringLiteral("ddd dd MMM yyyy    HH:mm:ss"));
    DTPicker1->setCalendarPopup(true);
    auto combo = [parent](const char* nome) {
        auto* c = new QComboBox(parent);
        c->setObjectName(QString::fromLatin1(nome));
        return c;
    };
    cmbDurata = combo("cmbDurata");
    cmbTipoDurata = combo("cmbTipoDurata");
    cmbIntervallo = combo("cmbIntervallo");
    cmbTipoIntervallo = combo("cmbTipoIntervallo");
    auto opzione = [parent](const char* nome) {
        auto* o = new QRadioButton(parent);
        o->setObjectName(QString::fromLatin1(nome));
        return o;
    };
    optOBS = opzione("optOBS");
    optECI = opzione("optECI");
    optLLA = opzione("optLLA");
    optRAD = opzione("optRAD");
    auto etichetta = [parent](const char* nome) {
        auto* l = new QLabel(parent);
        l->setObjectName(QString::fromLatin1(nome));
        l->setTextFormat(Qt::PlainText);
        return l;
    };
    lblDataInizio = etichetta("lblDataInizio");
    lblDurata = etichetta("lblDurata");
    lblIntervallo = etichetta("lblIntervallo");
    lblTipoCoordinate = etichetta("lblTipoCoordinate");
}

void ControlliElenco::riempi()
{
    DTPicker1->setDateTime(gdatDataCorrente);
    for (QComboBox* c : {cmbDurata, cmbIntervallo}) {
        c->clear();
        for (int k = 0; k < 60; ++k)
            c->addItem(QLatin1Char(' ') + QString::number(60 - k), 60 - k);
        c->setCurrentIndex(45);
    }
}

void ControlliElenco::lingua(const QString& sezione)
{
    auto t = [&sezione](const char* chiave) { return mLang::Testo_Lingua(sezione, QString::fromLatin1(chiave)); };
    auto def = [](const char* chiave) { return mLang::Testo_Lingua(QStringLiteral("Def"), QString::fromLatin1(chiave)); };
    lblDataInizio->setText(t("datainizio"));
    lblDurata->setText(t("durata"));
    lblIntervallo->setText(t("intervallo"));
    lblTipoCoordinate->setText(t("tipocoordinate"));
    optOBS->setText(t("obs"));
    optECI->setText(t("eci"));
    optLLA->setText(t("lla"));
    optRAD->setText(t("rad"));
    const int durata = std::max(0, cmbTipoDurata->currentIndex());
    const int intervallo = std::max(0, cmbTipoIntervallo->currentIndex());
    cmbTipoDurata->clear();
    cmbTipoDurata->addItems({def("min"), def("ore"), def("giorni")});
    cmbTipoDurata->setCurrentIndex(durata);
    cmbTipoIntervallo->clear();
    cmbTipoIntervallo->addItems({def("sec"), def("min"), def("ore")});
    cmbTipoIntervallo->setCurrentIndex(intervallo);
}

QDateTime ControlliElenco::inizio() const
{
    const QDateTime d = DTPicker1->dateTime();
    return QDateTime(d.date(), QTime(d.time().hour(), d.time().minute(), d.time().second()), Qt::UTC);
}

QDateTime ControlliElenco::fine() const
{
    return Fine_Intervallo(inizio(), cmbDurata->currentData().toInt(), cmbTipoDurata->currentIndex());
}

double ControlliElenco::passo() const
{
    return Passo_Secondi(cmbIntervallo->currentData().toInt(), cmbTipoIntervallo->currentIndex());
}

} // namespace listings
