// The location dialog and the new-place dialog on a city list of their own:
// choosing, OK with and without a chosen city, offsets, deleting, adding and
// editing places, and what reaches the city list file.
#include "core/clock.h"
#include "core/globals.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "locations/city_list.h"
#include "locations/location_dialog.h"
#include "locations/new_place_dialog.h"
#include "platform/fakes.h"
#include "platform/canvas_widget.h"
#include "platform/vb.h"
#include "core/data_files.h"
#include "common/window_links.h"
#include "controls/graph_button.h"
#include "maps/local_sky_window.h"
#include "shell/main_window.h"
#include "sky/sky_chart_window.h"
#include "support/ordinary_user.h"
#include "support/x_input.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace {

class LocationDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        path = dir.filePath(QStringLiteral("cities.dat"));
        Scrivi(QByteArray("\"Italy: Milano\",45.47,9.19,1\r\n"
                          "\"Brazil: Manaus\",-3.1,-60.0167,-4\r\n"
                          "\"Newfoundland: St. John's\",47.5675,-52.7072,-3.5\r\n"
                          "\"Italy: Milano\",45.5,9.2,1\r\n"));
        locations::Imposta_File_Citta(path);
        gstrLocalita = QStringLiteral("Here: Home");
        gsngLatitudine = 10.5f;
        gsngLongitudine = -20.25f;
        gsngQuota = 123;
        gsngFusoOrario = 5.75f;
        gbytOraLegale = 1;
        gdatDataCorrente = core::Data_Orologio(QDate(2026, 3, 1), QTime(12, 0, 0));
        pflgCentrale = false;
    }
    void TearDown() override
    {
        delete frmLocation::istanza();
        locations::Imposta_File_Citta(QString());
        locations::Imposta_Lettura(locations::LetturaFile::Intera);
        mLang::Usa_File_Lingua({});
    }
    void Scrivi(const QByteArray& b)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(b);
    }
    QByteArray Leggi()
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    int Voce(frmLocation& f, const QString& nome)
    {
        const auto items = f.cmbCity->findItems(nome, Qt::MatchExactly);
        return items.isEmpty() ? -1 : f.cmbCity->row(items.first());
    }

    QTemporaryDir dir;
    QString path;
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
};

TEST_F(LocationDialog, LoadsListAndShowsCurrentObserver)
{
    frmLocation f;
    EXPECT_EQ(f.cmbCity->count(), 4);
    EXPECT_EQ(f.lblCity->text(), QStringLiteral("4"));
    EXPECT_EQ(locations::gvarCitta.size(), 4u);
    EXPECT_EQ(f.cmbCityText->text(), QStringLiteral("Here: Home"));
    EXPECT_EQ(f.txtHeight->text(), QStringLiteral("123"));
    EXPECT_EQ(f.cmbOffset->currentIndex(), 0);
    EXPECT_EQ(f.cmbOffsetHours->currentIndex(), 5);
    EXPECT_EQ(f.cmbOffsetMin->currentIndex(), 2);
    EXPECT_TRUE(f.chkDaylight->isChecked());
    EXPECT_EQ(f.voceSelezionata(), -1);
    EXPECT_EQ(f.globoCorrente(), 5);  // -20.25 -> picture 5
    // Item data is the table row, whatever the list's order.
    for (int i = 0; i < f.cmbCity->count(); ++i) {
        const int riga = f.cmbCity->item(i)->data(Qt::UserRole).toInt();
        EXPECT_EQ(locations::gvarCitta[std::size_t(riga - 1)].nome, f.cmbCity->item(i)->text());
    }
}

TEST_F(LocationDialog, ChoosingACityAndOk)
{
    frmLocation f;
    f.txtHeight->setText(QStringLiteral("250"));
    f.chkDaylight->setChecked(false);
    f.Seleziona_Voce(Voce(f, QStringLiteral("Newfoundland: St. John's")));
    EXPECT_EQ(f.txtHeight->text(), QStringLiteral("0"));
    EXPECT_FALSE(f.chkDaylight->isChecked());  // left alone
    EXPECT_EQ(f.cmbOffset->currentIndex(), 1);
    EXPECT_EQ(f.cmbOffsetHours->currentIndex(), 3);
    EXPECT_EQ(f.cmbOffsetMin->currentIndex(), 1);
    EXPECT_EQ(f.latitudineNascosta(), QStringLiteral("47.5675"));
    EXPECT_EQ(f.longitudineNascosta(), QStringLiteral("-52.7072"));
    EXPECT_EQ(f.globoCorrente(), 4);
    f.txtHeight->setText(QStringLiteral("abc"));
    f.cmdOk_Click();
    EXPECT_EQ(gstrLocalita, QStringLiteral("Newfoundland: St. John's"));
    EXPECT_FLOAT_EQ(gsngLatitudine, 47.5675f);
    EXPECT_FLOAT_EQ(gsngLongitudine, -52.7072f);
    EXPECT_EQ(gsngQuota, 0.0f);
    EXPECT_FLOAT_EQ(gsngFusoOrario, -3.5f);
    EXPECT_EQ(gbytOraLegale, 0);
}

TEST_F(LocationDialog, OkWithoutChosenCityKeepsPlaceAndCancelForgets)
{
    frmLocation f;
    f.Seleziona_Voce(Voce(f, QStringLiteral("Brazil: Manaus")));
    // Cancel shows the observer again; OK then keeps the place even though
    // a city had been clicked before.
    f.cmdCancel_Click();
    EXPECT_EQ(f.cmbCityText->text(), QStringLiteral("Here: Home"));
    f.txtHeight->setText(QStringLiteral("42"));
    f.cmbOffset->setCurrentIndex(1);
    f.cmbOffsetHours->setCurrentIndex(9);
    f.cmbOffsetMin->setCurrentIndex(1);
    f.chkDaylight->setChecked(false);
    f.cmdOk_Click();
    EXPECT_EQ(gstrLocalita, QStringLiteral("Here: Home"));
    EXPECT_FLOAT_EQ(gsngLatitudine, 10.5f);
    EXPECT_FLOAT_EQ(gsngLongitudine, -20.25f);
    EXPECT_EQ(gsngQuota, 42.0f);
    EXPECT_FLOAT_EQ(gsngFusoOrario, -9.5f);
    EXPECT_EQ(gbytOraLegale, 0);
    // A stored 12-minute offset leaves the minutes box as it was.
    gsngFusoOrario = 5.2f;
    f.Mostra_localita_corrente();
    EXPECT_EQ(f.cmbOffsetHours->currentIndex(), 5);
    EXPECT_EQ(f.cmbOffsetMin->currentIndex(), 1);
    // The height box keeps a whole number.
    f.txtHeight->setText(QStringLiteral("12.7m"));
    f.txtHeight_LostFocus();
    EXPECT_EQ(f.txtHeight->text(), QStringLiteral("13"));
}

TEST_F(LocationDialog, DeletingRewritesTheFileWithoutTheCity)
{
    frmLocation f;
    fakes.prompt.answers = {platform::vbNo};
    f.Seleziona_Voce(Voce(f, QStringLiteral("Brazil: Manaus")));
    f.cmdElimina_Click();
    EXPECT_EQ(f.cmbCity->count(), 4);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbYesNo | platform::vbQuestion | platform::vbDefaultButton2);
    EXPECT_TRUE(fakes.prompt.calls[0].text.endsWith(QStringLiteral(" Brazil: Manaus ?")));

    fakes.prompt.answers = {platform::vbYes, platform::vbYes};
    f.Seleziona_Voce(Voce(f, QStringLiteral("Brazil: Manaus")));
    f.cmdElimina_Click();
    f.Seleziona_Voce(Voce(f, QStringLiteral("Newfoundland: St. John's")));
    f.cmdElimina_Click();
    EXPECT_EQ(f.lblCity->text(), QStringLiteral("2"));
    EXPECT_EQ(locations::gvarCitta.size(), 4u);     // blank rows stay
    EXPECT_TRUE(locations::gvarCitta[1].vuota());
    EXPECT_EQ(Leggi(), QByteArray("\"Italy: Milano\",45.47,9.19,1\r\n\"Italy: Milano\",45.5,9.2,1\r\n"));

    // Without a selection: a message and nothing else.
    f.Seleziona_Voce(-1);
    const auto prima = fakes.prompt.calls.size();
    f.cmdElimina_Click();
    f.cmdModifica_Click();
    ASSERT_EQ(fakes.prompt.calls.size(), prima + 2);
    EXPECT_EQ(fakes.prompt.calls.last().flags, platform::vbInformation);
    EXPECT_EQ(fakes.prompt.calls.last().text, mLang::Testo_Lingua("frmLocation", "selezionarelocalita"));

    // The last entries go: an empty list and an empty file.
    fakes.prompt.answers = {platform::vbYes, platform::vbYes};
    f.Seleziona_Voce(0);
    f.cmdElimina_Click();
    f.Seleziona_Voce(0);
    f.cmdElimina_Click();
    EXPECT_EQ(f.cmbCity->count(), 0);
    EXPECT_EQ(f.lblCity->text(), QStringLiteral("0"));
    EXPECT_EQ(Leggi(), QByteArray());
}

TEST_F(LocationDialog, UnreadableFileGivesEmptyListAndAMessageNamingTheFileAndWhy)
{
    // No list at all (a first start whose copy failed on a full home), then
    // something that is no file at the list's place: the message names the
    // file and gives the system's reason.
    QFile::remove(path);
    for (const bool cartella : {false, true}) {
        SCOPED_TRACE(cartella ? "a folder" : "no file");
        fakes.prompt.calls.clear();
        if (cartella) {
            ASSERT_TRUE(QDir().mkdir(path));
        }
        frmLocation f;
        EXPECT_EQ(f.cmbCity->count(), 0);
        EXPECT_TRUE(locations::gvarCitta.empty());
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbCritical);
        const QStringList righe = fakes.prompt.calls[0].text.split(u'\r');
        ASSERT_EQ(righe.size(), 3) << fakes.prompt.calls[0].text.toStdString();
        EXPECT_EQ(righe[0], mLang::Testo_Lingua("frmLocation", "errorefile"));
        EXPECT_EQ(righe[1], QDir::toNativeSeparators(path));
        if (!cartella) {
            EXPECT_EQ(righe[2], QString::fromLocal8Bit(std::strerror(ENOENT)));
        } else {
            EXPECT_FALSE(righe[2].trimmed().isEmpty());
        }
    }
}

TEST_F(LocationDialog, ABlankLineInTheListLosesNoPlace)
{
    // Ten places, a blank line, twenty more: every place is listed, the blank
    // line is reported by its number, and adding a place keeps all thirty.
    QByteArray testo;
    for (int i = 1; i <= 30; ++i) {
        testo += "\"Country: Place " + QByteArray::number(i) + "\"," + QByteArray::number(i) + ",1,1\r\n";
        if (i == 10)
            testo += "\r\n";
    }
    Scrivi(testo);
    frmLocation f;
    EXPECT_EQ(f.cmbCity->count(), 30);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbInformation);
    EXPECT_TRUE(fakes.prompt.calls[0].text.startsWith(mLang::Testo_Lingua("frmLocation", "righevuote")));
    EXPECT_TRUE(fakes.prompt.calls[0].text.endsWith(mLang::Testo_Lingua("frmLocation", "riga") + " 11"));
    frmAddLocation a(&f);
    a.txtCityName->setText(QStringLiteral("Chile: Santiago"));
    fakes.prompt.answers = {platform::vbYes};
    a.cmdOK_Click();
    testo.replace("\r\n\r\n", "\r\n");
    EXPECT_EQ(Leggi(), testo + "\"Chile: Santiago\",0,0,0\r\n");
}

TEST_F(LocationDialog, BadLinesAreKeptAsTheyStandThroughNewEditAndDelete)
{
    // The Italian program on a list with a line that is not a place (a
    // latitude beyond the pole): the warning names the line and says it is
    // kept; New, Edit and Delete then work and reach the file, with the bad
    // line written back unchanged where it was; the next load reads the same.
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/italiano.ini"));
    const QByteArray pole("\"Nowhere: Pole\",90.5,0,0");
    Scrivi("\"A: a\",1,2,3\r\n" + pole + "\r\n\"C: c\",4,5,6\r\n");
    {
        frmLocation f;
        ASSERT_EQ(f.cmbCity->count(), 2);
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbExclamation);
        EXPECT_TRUE(fakes.prompt.calls[0].text.startsWith(mLang::Testo_Lingua("frmLocation", "righeerrate")));
        EXPECT_TRUE(fakes.prompt.calls[0].text.contains("conservate nel file"));
        EXPECT_TRUE(fakes.prompt.calls[0].text.endsWith("riga 2"));
        fakes.prompt.calls.clear();

        // New.
        {
            frmAddLocation a(&f);
            a.txtCityName->setText(QStringLiteral("Chile: Santiago"));
            fakes.prompt.answers = {platform::vbYes};
            a.cmdOK_Click();
        }
        EXPECT_EQ(f.cmbCity->count(), 3);
        EXPECT_EQ(Leggi(), "\"A: a\",1,2,3\r\n" + pole + "\r\n\"C: c\",4,5,6\r\n\"Chile: Santiago\",0,0,0\r\n");
        // Edit "C: c" (row 3 of the table: the bad line holds row 2).
        {
            const int voce = Voce(f, QStringLiteral("C: c"));
            ASSERT_GE(voce, 0);
            ASSERT_EQ(f.cmbCity->item(voce)->data(Qt::UserRole).toInt(), 3);
            f.Seleziona_Voce(voce);
            frmAddLocation a(&f);
            a.Prepara_Modifica(3, voce, f.cmbCityText->text(), f.cmbOffsetHours->currentText(),
                               f.cmbOffsetMin->currentText());
            a.txtDegFrazLatitude->setText(QStringLiteral("5000"));
            fakes.prompt.answers = {platform::vbYes};
            a.cmdOK_Click();
        }
        EXPECT_EQ(Leggi(), "\"A: a\",1,2,3\r\n" + pole + "\r\n\"C: c\",4.5,5,6\r\n\"Chile: Santiago\",0,0,0\r\n");
        // Delete "A: a".
        fakes.prompt.answers = {platform::vbYes};
        f.Seleziona_Voce(Voce(f, QStringLiteral("A: a")));
        f.cmdElimina_Click();
        EXPECT_EQ(Leggi(), pole + "\r\n\"C: c\",4.5,5,6\r\n\"Chile: Santiago\",0,0,0\r\n");
        // No refusal, no error box on the way.
        for (const auto& c : fakes.prompt.calls)
            EXPECT_FALSE(c.flags & platform::vbCritical) << c.text.toStdString();
    }
    delete frmLocation::istanza();
    fakes.prompt.calls.clear();
    {
        // Reloaded: the same places, the same line kept and told again.
        frmLocation f;
        EXPECT_EQ(f.cmbCity->count(), 2);
        EXPECT_GE(Voce(f, QStringLiteral("Chile: Santiago")), 0);
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_TRUE(fakes.prompt.calls[0].text.endsWith("riga 1"));
    }
    delete frmLocation::istanza();
    fakes.prompt.calls.clear();

    // A load stopped by the stop request holds only the first cities: a
    // deletion or a new place then holds until the program ends and leaves
    // the file whole, told in the user's language as a reading stopped.
    const QByteArray good("\"A: a\",1,2,3\r\n\"B: b\",4,5,6\r\n\"C: c\",7,8,9\r\n");
    Scrivi(good);
    pflgArresta = true;
    {
        frmLocation f;
        EXPECT_FALSE(pflgArresta);
        const int letti = f.cmbCity->count();
        EXPECT_LT(letti, 3);
        const bool elimina = letti > 0;
        if (elimina) {
            fakes.prompt.answers = {platform::vbYes};
            f.Seleziona_Voce(0);
            f.cmdElimina_Click();
        } else {
            frmAddLocation a(&f);
            a.txtCityName->setText(QStringLiteral("Chile: Santiago"));
            fakes.prompt.answers = {platform::vbYes};
            a.cmdOK_Click();
        }
        EXPECT_EQ(Leggi(), good);
        EXPECT_EQ(f.cmbCity->count(), elimina ? letti - 1 : letti + 1);
        ASSERT_FALSE(fakes.prompt.calls.isEmpty());
        const QString avviso = fakes.prompt.calls.last().text;
        EXPECT_TRUE(avviso.startsWith(mLang::Testo_Lingua("frmLocation", elimina ? "solosessioneelimina" : "solosessionenuova")
                                      + "\r" + mLang::Testo_Lingua("frmLocation", "nonlettointero") + "\r"
                                      + QDir::toNativeSeparators(path)))
            << avviso.toStdString();
        EXPECT_TRUE(avviso.contains("non è stato letto per intero")) << avviso.toStdString();
    }
    delete frmLocation::istanza();

    // A missing file may be made afresh.
    QFile::remove(path);
    {
        frmLocation f;
        frmAddLocation a(&f);
        a.txtCityName->setText(QStringLiteral("Chile: Santiago"));
        fakes.prompt.answers = {platform::vbYes};
        a.cmdOK_Click();
        EXPECT_EQ(Leggi(), QByteArray("\"Chile: Santiago\",0,0,0\r\n"));
    }
}

TEST_F(LocationDialog, NewPlaceIsListedAndKeptInTheFile)
{
    frmLocation f;
    // Delete one first: the new place gets a fresh last row.
    fakes.prompt.answers = {platform::vbYes};
    f.Seleziona_Voce(Voce(f, QStringLiteral("Brazil: Manaus")));
    f.cmdElimina_Click();

    frmAddLocation a(&f);
    a.txtCityName->setText(QStringLiteral("  "));
    a.cmdOK_Click();
    EXPECT_EQ(fakes.prompt.calls.last().text, mLang::Testo_Lingua("frmAddLocation", "nomeobbligatorio"));

    a.txtCityName->setText(QStringLiteral("  Chile: Santiago "));
    a.txtDMSDegLatitude->setText(QStringLiteral("33"));
    a.txtDMSMinLatitude->setText(QStringLiteral("27"));
    a.txtDMSSecLatitude->setText(QStringLiteral("0"));
    a.cmbLatitude->setCurrentIndex(1);
    a.txtDMSDegLongitude->setText(QStringLiteral("70"));
    a.txtDMSMinLongitude->setText(QStringLiteral("40"));
    a.txtDMSSecLongitude->setText(QStringLiteral("12"));
    a.cmbLongitude->setCurrentIndex(1);
    a.cmbOffset->setCurrentIndex(1);
    a.cmbOffsetHours->setCurrentIndex(4);
    // Switching tab converts: 33 27' 0" = 33.45; 70 40' 12" = 70.67.
    a.Mostra_Scheda(1);
    EXPECT_EQ(a.SSTab1->currentIndex(), 1);
    EXPECT_EQ(a.txtDegLatitude->text(), QStringLiteral("33"));
    EXPECT_EQ(a.txtDegFrazLatitude->text(), QStringLiteral("4500"));
    EXPECT_EQ(a.txtDegLongitude->text(), QStringLiteral("70"));
    EXPECT_EQ(a.txtDegFrazLongitude->text(), QStringLiteral("6700"));

    fakes.prompt.answers = {platform::vbYes};
    a.cmdOK_Click();
    const auto& domanda = fakes.prompt.calls.last();
    EXPECT_EQ(domanda.flags, platform::vbYesNo | platform::vbInformation);
    EXPECT_TRUE(domanda.text.contains(QStringLiteral("  Chile: Santiago  "))) << domanda.text.toStdString();
    EXPECT_TRUE(domanda.text.contains(QStringLiteral("= -33.45°"))) << domanda.text.toStdString();
    ASSERT_EQ(locations::gvarCitta.size(), 5u);
    const locations::RigaCitta& r = locations::gvarCitta[4];
    EXPECT_EQ(r.nome, QStringLiteral("Chile: Santiago"));
    EXPECT_DOUBLE_EQ(r.latitudine, -33.45);
    EXPECT_DOUBLE_EQ(r.longitudine, -70.67);
    EXPECT_DOUBLE_EQ(r.fuso, -4.0);
    const int voce = Voce(f, QStringLiteral("Chile: Santiago"));
    ASSERT_GE(voce, 0);
    EXPECT_EQ(f.cmbCity->item(voce)->data(Qt::UserRole).toInt(), 5);
    EXPECT_EQ(f.lblCity->text(), QStringLiteral("4"));
    EXPECT_EQ(f.voceSelezionata(), -1);
    EXPECT_TRUE(Leggi().endsWith("\"Chile: Santiago\",-33.45,-70.67,-4\r\n")) << Leggi().toStdString();
}

TEST_F(LocationDialog, TabSwitchRefusesBeyondThePoleAndOkRefusesRoundedValue)
{
    frmLocation f;
    frmAddLocation a(&f);
    a.txtCityName->setText(QStringLiteral("North: Pole"));
    a.txtDMSDegLatitude->setText(QStringLiteral("90"));
    a.txtDMSSecLatitude->setText(QStringLiteral("1"));
    a.Mostra_Scheda(1);
    EXPECT_EQ(a.SSTab1->currentIndex(), 0);
    EXPECT_EQ(fakes.prompt.calls.last().text, mLang::Testo_Lingua("frmAddLocation", "valorelaterrato"));
    fakes.prompt.answers = {platform::vbYes};
    const auto prima = fakes.prompt.calls.size();
    a.cmdOK_Click();
    ASSERT_EQ(fakes.prompt.calls.size(), prima + 1);
    EXPECT_EQ(fakes.prompt.calls.last().text, mLang::Testo_Lingua("frmAddLocation", "valorelaterrato"));
    EXPECT_EQ(locations::gvarCitta.size(), 4u);
    // A name with a double quote cannot be kept in the file.
    a.txtDMSSecLatitude->setText(QStringLiteral("0"));
    a.txtCityName->setText(QStringLiteral("A: \"b\""));
    a.cmdOK_Click();
    EXPECT_EQ(fakes.prompt.calls.last().text, mLang::Testo_Lingua("frmAddLocation", "nomenonvalido"));
    EXPECT_EQ(locations::gvarCitta.size(), 4u);
}

TEST_F(LocationDialog, EditChangesTheChosenRowEvenWhenNamesRepeat)
{
    frmLocation f;
    // The second "Italy: Milano" (row 4) is chosen.
    int voce = -1;
    for (int i = 0; i < f.cmbCity->count(); ++i)
        if (f.cmbCity->item(i)->data(Qt::UserRole).toInt() == 4)
            voce = i;
    ASSERT_GE(voce, 0);
    f.Seleziona_Voce(voce);
    frmAddLocation a(&f);
    a.Prepara_Modifica(4, voce, f.cmbCityText->text(), f.cmbOffsetHours->currentText(),
                       f.cmbOffsetMin->currentText());
    EXPECT_FALSE(a.txtCityName->isEnabled());
    EXPECT_EQ(a.SSTab1->currentIndex(), 1);
    EXPECT_EQ(a.txtDegLatitude->text(), QStringLiteral("45"));
    EXPECT_EQ(a.txtDegFrazLatitude->text(), QStringLiteral("5000"));
    EXPECT_EQ(a.txtDegLongitude->text(), QStringLiteral("09"));
    EXPECT_EQ(a.txtDegFrazLongitude->text(), QStringLiteral("2000"));
    EXPECT_EQ(a.cmbOffsetHours->currentIndex(), 1);
    a.txtDegFrazLatitude->setText(QStringLiteral("4800"));
    a.cmbOffsetHours->setCurrentIndex(2);
    fakes.prompt.answers = {platform::vbYes};
    a.cmdOK_Click();
    EXPECT_DOUBLE_EQ(locations::gvarCitta[3].latitudine, 45.48);
    EXPECT_DOUBLE_EQ(locations::gvarCitta[3].fuso, 2.0);
    EXPECT_FLOAT_EQ(float(locations::gvarCitta[0].latitudine), 45.47f);
    // The entry is selected again and shows the edited values.
    EXPECT_EQ(f.voceSelezionata(), voce);
    EXPECT_EQ(f.cmbOffsetHours->currentIndex(), 2);
    EXPECT_EQ(f.latitudineNascosta(), QStringLiteral("45.48"));
    EXPECT_TRUE(Leggi().endsWith("\"Italy: Milano\",45.48,9.2,2\r\n")) << Leggi().toStdString();
}

TEST_F(LocationDialog, AListThatCannotBeWrittenStaysOnScreenAndInMemoryAsTheFileHoldsIt)
{
    // The data folder read-only, the city list the user's own and writable,
    // as an ordinary user (root writes anywhere): Delete, New and Edit each
    // tell the city list file, and the folder that refused its new copy with
    // the system's reason, in the user's language, and leave the list on
    // screen, the table and the file as they were, so that nothing comes
    // back at the next start or goes to the file with a later save.
    frmLocation f;
    const QByteArray file = Leggi();
    const auto schermo = [&f] {
        QStringList voci;
        for (int i = 0; i < f.cmbCity->count(); ++i)
            voci << f.cmbCity->item(i)->text() + QLatin1Char('#')
                    + QString::number(f.cmbCity->item(i)->data(Qt::UserRole).toInt());
        return (voci.join(QLatin1Char('|')) + QStringLiteral(" count ") + f.lblCity->text()
                + QStringLiteral(" shown ") + f.latitudineNascosta() + QLatin1Char(' ') + f.cmbOffsetHours->currentText())
            .toStdString();
    };
    const auto memoria = [] {
        QStringList righe;
        for (const locations::RigaCitta& r : locations::gvarCitta)
            righe << locations::Riga_Citta(r);
        return righe.join(QLatin1Char('|')).toStdString();
    };
    const auto voceDellaRiga = [&f](int riga) {
        for (int i = 0; i < f.cmbCity->count(); ++i)
            if (f.cmbCity->item(i)->data(Qt::UserRole).toInt() == riga)
                return i;
        return -1;
    };
    // The second "Italy: Milano" (row 4) is shown, as Edit leaves it.
    f.Seleziona_Voce(voceDellaRiga(4));
    const std::string schermoPrima = schermo();
    const std::string memoriaPrima = memoria();
    ASSERT_EQ(memoriaPrima, "\"Italy: Milano\",45.47,9.19,1|\"Brazil: Manaus\",-3.1,-60.0167,-4|"
                            "\"Newfoundland: St. John's\",47.5675,-52.7072,-3.5|\"Italy: Milano\",45.5,9.2,1");

    struct Riapri {
        QString cartella;
        ~Riapri() { QFile::setPermissions(cartella, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }
    } riapri{dir.path()};
    ASSERT_TRUE(UtenteOrdinario::Proprio(path));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                                      | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
    const std::string cartella = QDir::toNativeSeparators(dir.path()).toStdString();
    const std::string inglese = "Permission denied in the folder " + cartella
        + ", where no new file may be made (a file is saved by writing its new copy beside it, which then takes its "
          "place)";
    const struct {
        const char* caso;
        const char* lingua;
        std::string motivo;
    } casi[] = {
        {"Delete", "english.ini", inglese},
        {"New", "italiano.ini",
         "Permesso negato nella cartella " + cartella
             + ", dove non si possono creare nuovi file (un file si salva scrivendone la nuova copia accanto, che poi "
               "prende il suo posto)"},
        {"Edit", "english.ini", inglese},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.caso);
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + QLatin1String(c.lingua));
        fakes.prompt.calls.clear();
        fakes.prompt.answers = {platform::vbYes};
        bool aperto = false;   // the new-place dialog keeps what was typed
        {
            UtenteOrdinario utente;
            ASSERT_TRUE(utente.attivo());
            if (std::string(c.caso) == "Delete") {
                f.Seleziona_Voce(Voce(f, QStringLiteral("Brazil: Manaus")));
                f.cmdElimina_Click();
                f.Seleziona_Voce(voceDellaRiga(4));
            } else if (std::string(c.caso) == "New") {
                frmAddLocation a(&f);
                a.txtCityName->setText(QStringLiteral("Chile: Santiago"));
                a.txtDMSDegLatitude->setText(QStringLiteral("33"));
                a.cmdOK_Click();
                aperto = a.result() != QDialog::Accepted
                         && a.txtCityName->text() == QLatin1String("Chile: Santiago")
                         && a.txtDMSDegLatitude->text() == QLatin1String("33");
            } else {
                frmAddLocation a(&f);
                a.Prepara_Modifica(4, voceDellaRiga(4), f.cmbCityText->text(), f.cmbOffsetHours->currentText(),
                                   f.cmbOffsetMin->currentText());
                a.txtDegFrazLatitude->setText(QStringLiteral("4800"));
                a.cmbOffsetHours->setCurrentIndex(2);
                a.cmdOK_Click();
                aperto = a.result() != QDialog::Accepted && a.txtDegFrazLatitude->text() == QLatin1String("4800");
            }
        }
        EXPECT_EQ(schermo(), schermoPrima);
        EXPECT_EQ(memoria(), memoriaPrima);
        EXPECT_EQ(Leggi(), file);
        if (std::string(c.caso) != "Delete") {
            EXPECT_TRUE(aperto);
        }
        // The question, then one message: what failed, the file, the reason.
        ASSERT_EQ(fakes.prompt.calls.size(), 2);
        EXPECT_EQ(fakes.prompt.calls[1].flags, platform::vbCritical);
        const QStringList righe = fakes.prompt.calls[1].text.split(u'\r');
        EXPECT_EQ(righe.size(), 3) << fakes.prompt.calls[1].text.toStdString();
        EXPECT_EQ(righe.value(0), mLang::Testo_Lingua("frmLocation", "erroresalvataggio"));
        EXPECT_EQ(righe.value(1).toStdString(), QDir::toNativeSeparators(path).toStdString());
        EXPECT_EQ(righe.value(2).toStdString(), c.motivo);
    }
}

TEST_F(LocationDialog, AListThatCannotBeReadStillTakesAPlaceThatCanBeChosenAndIsNeverWrittenOver)
{
    // As an ordinary user, the city list there but unreadable (the file at
    // mode 000, or in a folder the user may not enter), in each language:
    // Edit and Delete have nothing to act on; New lists the place, says
    // plainly that it could not be stored in the city list and why (not that
    // a reading was stopped), and the place can be chosen as the observer's,
    // which the settings keep; editing and deleting it are told the same
    // way; the file is never written over.
    const QByteArray originale = Leggi();
    ASSERT_TRUE(UtenteOrdinario::Passabile(dir.path()));
    const struct {
        const char* lingua;
        const char* motivo;
        bool cartella;   // the file's folder shut, not the file
    } casi[] = {{"english.ini", "Permission denied", false}, {"italiano.ini", "Permesso negato", false},
                {"english.ini", "Permission denied", true},  {"italiano.ini", "Permesso negato", true}};
    for (const auto& c : casi) {
        SCOPED_TRACE(std::string(c.lingua) + (c.cartella ? " folder" : " file"));
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + QLatin1String(c.lingua));
        const QString chiuso = c.cartella ? dir.filePath(QStringLiteral("dati")) : path;
        const QString citta = c.cartella ? chiuso + QStringLiteral("/cities.dat") : path;
        if (c.cartella) {
            ASSERT_TRUE(QDir().mkpath(chiuso));
            QFile::remove(citta);
            ASSERT_TRUE(QFile::copy(path, citta));
        }
        locations::Imposta_File_Citta(citta);
        struct Riapri {
            QString chiuso;
            ~Riapri() { QFile::setPermissions(chiuso, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }
        } riapri{chiuso};
        ASSERT_TRUE(QFile::setPermissions(chiuso, QFileDevice::Permissions()));
        // What became of a change, the file left as it is, and why.
        const auto avviso = [&](const char* chiave) {
            return (mLang::Testo_Lingua("frmLocation", chiave) + '\r' + mLang::Testo_Lingua("frmLocation", "nonletto")
                    + '\r' + QDir::toNativeSeparators(citta) + '\r' + c.motivo)
                .toStdString();
        };
        fakes.prompt.calls.clear();
        {
            UtenteOrdinario utente;
            ASSERT_TRUE(utente.attivo());
            frmLocation f;
            EXPECT_EQ(f.cmbCity->count(), 0);
            f.cmdModifica_Click();
            f.cmdElimina_Click();
            ASSERT_EQ(fakes.prompt.calls.size(), 3);   // the load's message, then nothing to edit or delete
            EXPECT_EQ(fakes.prompt.calls[2].text, mLang::Testo_Lingua("frmLocation", "selezionarelocalita"));

            // 44° 13' 30" N = 44.225°, 12° 2' 0" E = 12.0333° to four decimals.
            const QString nome = QStringLiteral("Italy: Casa");
            fakes.prompt.calls.clear();
            fakes.prompt.answers = {platform::vbYes};
            {
                frmAddLocation a(&f);
                a.txtCityName->setText(nome);
                a.txtDMSDegLatitude->setText(QStringLiteral("44"));
                a.txtDMSMinLatitude->setText(QStringLiteral("13"));
                a.txtDMSSecLatitude->setText(QStringLiteral("30"));
                a.txtDMSDegLongitude->setText(QStringLiteral("12"));
                a.txtDMSMinLongitude->setText(QStringLiteral("2"));
                a.cmbOffsetHours->setCurrentIndex(1);
                a.cmdOK_Click();
                EXPECT_EQ(a.result(), QDialog::Accepted);
            }
            ASSERT_EQ(fakes.prompt.calls.size(), 2);   // the question, then the warning
            EXPECT_EQ(fakes.prompt.calls[1].flags, platform::vbExclamation);
            EXPECT_EQ(fakes.prompt.calls[1].text.toStdString(), avviso("solosessionenuova"));
            ASSERT_EQ(f.cmbCity->count(), 1);
            EXPECT_EQ(f.lblCity->text(), QStringLiteral("1"));

            f.Seleziona_Voce(Voce(f, nome));
            f.cmdOk_Click();
            EXPECT_EQ(gstrLocalita, nome);
            EXPECT_FLOAT_EQ(gsngLatitudine, 44.225f);
            EXPECT_FLOAT_EQ(gsngLongitudine, 12.0333f);
            ASSERT_TRUE(Salva_impostazioni());
            EXPECT_EQ(fakes.settings.value("Osservatore", "Localita").value_or(QString()), nome);
            EXPECT_NEAR(vb::Val(fakes.settings.value("Osservatore", "Latitudine").value_or(QString())), 44225, 0.01);

            fakes.prompt.calls.clear();
            fakes.prompt.answers = {platform::vbYes};
            f.Seleziona_Voce(Voce(f, nome));
            {
                frmAddLocation a(&f);
                a.Prepara_Modifica(1, Voce(f, nome), nome, QStringLiteral("1"), QStringLiteral("0"));
                a.cmbOffsetHours->setCurrentIndex(2);
                a.cmdOK_Click();
                EXPECT_EQ(a.result(), QDialog::Accepted);
            }
            EXPECT_DOUBLE_EQ(locations::gvarCitta.at(0).fuso, 2.0);
            fakes.prompt.answers = {platform::vbYes};
            f.Seleziona_Voce(Voce(f, nome));
            f.cmdElimina_Click();
            EXPECT_EQ(f.cmbCity->count(), 0);
            ASSERT_EQ(fakes.prompt.calls.size(), 4);
            EXPECT_EQ(fakes.prompt.calls[1].text.toStdString(), avviso("solosessionemodifica"));
            EXPECT_EQ(fakes.prompt.calls[3].text.toStdString(), avviso("solosessioneelimina"));
        }
        // Not written over, and nothing left beside it.
        ASSERT_TRUE(QFile::setPermissions(chiuso, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QFile letto(citta);
        ASSERT_TRUE(letto.open(QIODevice::ReadOnly));
        EXPECT_EQ(letto.readAll(), originale);
        EXPECT_EQ(QDir(QFileInfo(citta).absolutePath()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("cities.dat")});
    }
    locations::Imposta_File_Citta(path);
}

// A world map that counts its redraws.
struct MappaFinta : core::WorldMapView {
    int generate = 0;
    QList<int> disegnati;
    void Genera_mappa() override { ++generate; }
    void Disegna_satellite(int slot) override { disegnati << slot; }
    void Disegna_visibilita() override {}
    bool cerchioVisibilita() const override { return false; }
    void Mostra_dati(const core::PrincipalTexts&) override {}
    void Azzera_dati() override {}
};

TEST_F(LocationDialog, OkRecomputesTimeAndRedrawsTheOpenMapAndSkyCharts)
{
    ASSERT_TRUE(Carica_dati(QStringLiteral(ASTROVELA_PROGRAM_DIR)));
    frmLocation f;
    MappaFinta mappa;
    core::clockViews().worldMap = &mappa;
    // The local sky chart and the whole-sky chart, open and drawn for the old place.
    frmLocalSky* locale = frmLocalSky::instance(true);
    locale->show();
    locale->resize(800, 600);
    frmGeneralSky* generale = frmGeneralSky::instance(true);
    generale->show();
    generale->resize(720, 360);
    QCoreApplication::processEvents();
    locale->tmrLocalSky_Timer();
    const QImage cieloPrima = locale->Picture1->canvas().image();
    generale->Tag.clear();
    const int satelliti = gintNumSatelliti;
    gintNumSatelliti = 0;
    // 12:00 local, offset +1, no daylight saving: 11:00 UT on 2026-03-01,
    // Julian date 2461100.958333 (PyEphem: ephem.julian_date('2026/3/1 11:00')).
    f.Seleziona_Voce(Voce(f, QStringLiteral("Brazil: Manaus")));
    f.cmbOffset->setCurrentIndex(0);
    f.cmbOffsetHours->setCurrentIndex(1);
    f.cmbOffsetMin->setCurrentIndex(0);
    f.chkDaylight->setChecked(false);
    f.cmdOk_Click();
    core::clockViews().worldMap = nullptr;
    gintNumSatelliti = satelliti;
    EXPECT_NEAR(gdblGiornoGiuliano, 2461100.5 + 11.0 / 24.0, 1e-6);
    EXPECT_EQ(mappa.generate, 1);
    EXPECT_TRUE(mappa.disegnati.isEmpty());  // no principal satellite to draw
    // Both charts are redrawn: the local sky for the new observer, the
    // whole-sky chart for the new time.
    EXPECT_NE(locale->Picture1->canvas().image(), cieloPrima);
    EXPECT_EQ(generale->Tag, vb::Format(gdatDataCorrente, u"dd mmm yyyy hh:mm"));
    delete locale;
    delete generale;
}

TEST_F(LocationDialog, ComputerTimeZoneMessage)
{
    frmLocation f;
    fakes.timeZone.state = platform::TimeZoneState{-330, true};  // India: 5 h 30 min east
    f.cmdFusoOrario_Click();
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbInformation);
    EXPECT_EQ(fakes.prompt.calls[0].text,
              mLang::Testo_Lingua("frmLocation", "fusoorario1") + QStringLiteral(" 5hr 30min ")
                  + mLang::Testo_Lingua("frmLocation", "fusoorario2") + QStringLiteral("\r\n")
                  + mLang::Testo_Lingua("frmLocation", "fusoorario3"));
    fakes.timeZone.state.reset();
    f.cmdFusoOrario_Click();
    EXPECT_EQ(fakes.prompt.calls.last().flags, platform::vbExclamation);
    EXPECT_EQ(fakes.prompt.calls.last().text, mLang::Testo_Lingua("frmLocation", "errorefusoorario"));
    EXPECT_EQ(f.cmbOffsetHours->currentIndex(), 5);  // nothing in the dialog changes
}

} // namespace

TEST_F(LocationDialog, TheDefaultObserverIsAPlaceOfTheShippedListAndTheListOpensOnIt)
{
    // A first start: the settings' default place, the city list the program
    // comes with. The list opens scrolled to that place, and its row has the
    // observer's coordinates.
    QFile::remove(path);
    ASSERT_TRUE(QFile::copy(QStringLiteral(ASTROVELA_SOURCE_DIR "/data/cities.dat"), path));
    Leggi_impostazioni();
    frmLocation f;
    f.resize(600, 500);
    f.show();
    QCoreApplication::processEvents();
    const int voce = Voce(f, gstrLocalita);
    ASSERT_GE(voce, 0) << gstrLocalita.toStdString();
    QListWidgetItem* item = f.cmbCity->item(voce);
    EXPECT_TRUE(f.cmbCity->viewport()->rect().contains(f.cmbCity->visualItemRect(item).center()));
    const locations::RigaCitta& r = locations::gvarCitta[std::size_t(item->data(Qt::UserRole).toInt() - 1)];
    EXPECT_EQ(float(r.latitudine), gsngLatitudine);
    EXPECT_EQ(float(r.longitudine), gsngLongitudine);
    EXPECT_EQ(float(r.fuso), gsngFusoOrario);
    f.hide();
}

// Alt and a letter underlined on a button of the location dialog, the window
// in front of the workspace, press that button, also where a menu of the menu
// bar has the same letter (in Italian "Nuova...", "Modifica..." and "Elimina"
// against Finestre, Modifica and Effemeridi; in English "Edit..." against
// Edit); a letter no button claims still opens its menu, and once the dialog
// has gone the menus have their letters back. Real keys, run again by itself
// on a display without a window manager and on one with openbox, in each
// language.
TEST_F(LocationDialog, AltAndAButtonsLetterPressTheButtonNotTheMenuOfTheSameLetter)
{
    const QByteArray lingua = qgetenv("ASTROVELA_LETTERE_LOCALITA");
    if (lingua.isEmpty()) {
        testsupport::Riesegui_Per_Ogni("ASTROVELA_LETTERE_LOCALITA", {"english", "italiano"});
        testsupport::Riesegui_Per_Ogni("ASTROVELA_LETTERE_LOCALITA", {"english", "italiano"},
                                       testsupport::Gestore::Openbox);
        return;
    }
    using testsupport::InputX;
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + QString::fromLatin1(lingua) + ".ini");
    InputX x;
    ASSERT_TRUE(x.pronto()) << x.errore().toStdString();
    MDIForm1 w;
    locations::Collega_Localita(w);
    w.Lingua();
    ASSERT_TRUE(testsupport::Davanti_Con_La_Tastiera(w, {1000, 760}));
    // The menus of the menu bar by their letters, and each one that opens.
    QHash<unsigned long, QMenu*> menuDi;
    QStringList aperti;
    for (QAction* a : w.menuBar()->actions()) {
        if (!a->menu() || !a->isVisible())
            continue;
        menuDi.insert(InputX::letteraDi(a->text()), a->menu());
        QObject::connect(a->menu(), &QMenu::aboutToShow, [&aperti, a] { aperti << a->menu()->objectName(); });
    }
    // Whether Alt and the letter opened that menu; Escape closes it (and a
    // second Escape takes the keyboard out of the menu bar).
    const auto apreMenu = [&](unsigned long lettera) {
        x.premi(lettera, InputX::kAlt);
        QMenu* menu = menuDi.value(lettera);
        const bool aperto = QTest::qWaitFor([&] { return QApplication::activePopupWidget() == menu; }, 3000);
        x.premi(InputX::kEscape);
        EXPECT_TRUE(QTest::qWaitFor([] { return !QApplication::activePopupWidget(); }, 3000))
            << "Escape left the menu open";
        if (w.menuBar()->hasFocus())
            x.premi(InputX::kEscape);
        return aperto;
    };

    x.premi(InputX::letteraDi(w.menu("mnuOpzioni")->title()), InputX::kAlt);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == w.menu("mnuOpzioni"); }, 5000));
    x.premi(InputX::letteraDi(w.menuItem("mnuOpzioniLocalita")->text()));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        frmLocation* f = frmLocation::istanza();
        return f && f->isVisible() && w.mdiArea()->activeSubWindow() && w.mdiArea()->activeSubWindow()->widget() == f
            && !QApplication::activePopupWidget();
    }, 5000));
    frmLocation* f = frmLocation::istanza();
    f->Seleziona_Voce(Voce(*f, QStringLiteral("Brazil: Manaus")));
    QTest::qWait(200);
    aperti.clear();

    // The new-place dialog each button opens, answered with its Cancel.
    testsupport::RispostaConUnClic risposta(x, [](QWidget* m, QStringList& visti) -> QWidget* {
        auto* d = qobject_cast<frmAddLocation*>(m);
        if (!d)
            return nullptr;
        visti << (d->txtCityName->isEnabled() ? "nuova" : "modifica");
        return d->cmdCancel;
    });
    const QString domanda = mLang::Testo_Lingua("frmLocation", "confermaeliminazione");
    int contesi = 0;
    for (GraphButton* b : {f->cmdNuova, f->cmdModifica, f->cmdElimina}) {
        const unsigned long lettera = InputX::letteraDi(b->text());
        ASSERT_NE(lettera, 0u) << b->text().toStdString();
        contesi += menuDi.contains(lettera);
        SCOPED_TRACE(b->text().toStdString());
        const qsizetype visti = risposta.messaggi.size();
        const qsizetype domande = fakes.prompt.calls.size();
        x.premi(lettera, InputX::kAlt);
        if (b == f->cmdElimina) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return fakes.prompt.calls.size() > domande; }, 3000))
                << "the delete button asked nothing; menus opened: " << aperti.join(' ').toStdString();
            EXPECT_TRUE(fakes.prompt.calls.last().text.startsWith(domanda));
            EXPECT_EQ(f->cmbCity->count(), 4);  // answered No
        } else {
            ASSERT_TRUE(QTest::qWaitFor([&] { return risposta.messaggi.size() > visti; }, 3000))
                << "no new-place dialog; menus opened: " << aperti.join(' ').toStdString();
            EXPECT_EQ(risposta.messaggi.last(), b == f->cmdNuova ? "nuova" : "modifica");
            // The keyboard back with the main window for the next letter.
            ASSERT_TRUE(QTest::qWaitFor(
                [&] { return QApplication::activeWindow() == &w && !QApplication::activeModalWidget(); }, 3000));
        }
        EXPECT_TRUE(aperti.isEmpty()) << "menu opened: " << aperti.join(' ').toStdString();
        EXPECT_FALSE(QApplication::activePopupWidget());
        QTest::qWait(100);
    }
    EXPECT_GT(contesi, 0) << "no button shares its letter with a menu in " << lingua.constData();
    risposta.ferma();

    // A letter no button claims opens its menu with the dialog in front, and
    // the keyboard goes back to the dialog after it.
    EXPECT_TRUE(apreMenu(InputX::letteraDi(w.menu("mnuOpzioni")->title())));
    ASSERT_EQ(w.mdiArea()->activeSubWindow()->widget(), f);
    EXPECT_TRUE(QTest::qWaitFor([&] { return f->isAncestorOf(QApplication::focusWidget()); }, 3000))
        << "the keyboard is on "
        << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "nothing");

    // The dialog gone (Escape cancels it), each shared letter opens its menu
    // again.
    x.premi(InputX::kEscape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f->isVisible(); }, 3000));
    for (GraphButton* b : {f->cmdNuova, f->cmdModifica, f->cmdElimina}) {
        const unsigned long lettera = InputX::letteraDi(b->text());
        if (menuDi.contains(lettera)) {
            EXPECT_TRUE(apreMenu(lettera)) << "Alt+" << char(lettera);
        }
    }
}
