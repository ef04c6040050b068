// The options dialog: copying settings into the controls and back, the
// colour, filter and grid-type parts, the two lists and their buttons.
#include <gtest/gtest.h>

#include "controls/graph_button.h"
#include "controls/range_tool.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "settings/settings_dialog.h"
#include "platform/fakes.h"
#include "support/ordinary_user.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QSet>

namespace {

QStringList Colonna(const QTreeWidget* l, int c)
{
    QStringList out;
    for (int i = 0; i < l->topLevelItemCount(); ++i)
        out << l->topLevelItem(i)->text(c);
    return out;
}

struct SettingsDialogTest : ::testing::Test {
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};

    void SetUp() override
    {
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        Leggi_impostazioni();  // the built-in defaults from the empty store
    }
    void TearDown() override
    {
        if (frmSettings* d = frmSettings::instance(false))
            delete d;
        Leggi_impostazioni();
        mLang::Usa_File_Lingua(QString());
    }
};

} // namespace

TEST_F(SettingsDialogTest, CombosFollowTheirRulesBothWays)
{
    gintSogliaSole = -10;
    gintLocaleStelle = 1639;
    gintGeneraleStelle = 1234;  // not a table count
    gblnLocalePaesaggio = true;
    gblnAnteprimaPaesaggio = false;
    frmSettings* d = frmSettings::Mostra(10);
    EXPECT_EQ(d->SSTab1->currentIndex(), 10);
    EXPECT_EQ(d->cmbVisibilita->currentIndex(), 10);
    EXPECT_EQ(d->cmbVisibilita->itemText(18), mLang::Testo_Lingua("frmSettings", "altezzasole") + " = -18°");
    EXPECT_EQ(d->cmbLocalSkyMagnitudine->currentIndex(), 4);
    EXPECT_TRUE(d->cmbLocalSkyMagnitudine->currentText().endsWith(" 5.0"));
    d->cmbVisibilita->setCurrentIndex(18);
    d->cmbLocalSkyMagnitudine->setCurrentIndex(0);
    d->chkLocalSkyPaesaggio->setChecked(false);
    d->chkSkySatPaesaggio->setChecked(true);
    // A second menu item only turns the page; the edits stay.
    frmSettings::Mostra(2);
    EXPECT_EQ(d->SSTab1->currentIndex(), 2);
    EXPECT_EQ(d->cmbVisibilita->currentIndex(), 18);
    d->cmdOK_Click();
    EXPECT_EQ(gintSogliaSole, -18);
    EXPECT_EQ(gintLocaleStelle, 9010);
    EXPECT_EQ(gintGeneraleStelle, 1234);  // no selection keeps the stored count
    EXPECT_FALSE(gblnLocalePaesaggio);
    EXPECT_TRUE(gblnAnteprimaPaesaggio);
}

TEST_F(SettingsDialogTest, CancelDiscardsEditsAndReopeningShowsTheSettings)
{
    const bool griglia = gblnMappaGriglia;
    frmSettings* d = frmSettings::Mostra(2);
    d->chkWorldMapGriglia->setChecked(!griglia);
    d->txtEseguiProgramma->setText("  /usr/bin/xcalc  ");
    d->cmdRipristinaColori1_Click();
    d->cmdCancel_Click();
    delete frmSettings::instance(false);
    EXPECT_EQ(gblnMappaGriglia, griglia);
    EXPECT_TRUE(gstrEseguiProgramma.isEmpty());
    d = frmSettings::Mostra(0);
    EXPECT_EQ(d->chkWorldMapGriglia->isChecked(), griglia);
    d->txtEseguiProgramma->setText("  /usr/bin/xcalc  ");
    d->cmdOK_Click();
    EXPECT_EQ(gstrEseguiProgramma, "/usr/bin/xcalc");
}

TEST_F(SettingsDialogTest, ColoursPickRestoreAndStoreOnlyOnOk)
{
    glngColoreSatellite = 123;
    glngColoreCostellazioniLinee = 456;
    frmSettings* d = frmSettings::Mostra(10);
    // Cancelled picker: unchanged; a chosen colour changes only the label.
    d->Scegli_colore(d->lblAreaColoreSatellite);
    EXPECT_EQ(frmSettings::Colore(d->lblAreaColoreSatellite), 123u);
    fakes.files.colorAnswers = {quint32(0x00FF00)};
    d->Scegli_colore(d->lblAreaColoreSatellite);
    EXPECT_EQ(frmSettings::Colore(d->lblAreaColoreSatellite), 0x00FF00u);
    EXPECT_EQ(fakes.files.calls.last().initialColor, 123u);
    EXPECT_EQ(glngColoreSatellite, 123);
    d->cmdRipristinaColori1_Click();
    d->cmdRipristinaColori2_Click();
    d->cmdOK_Click();
    // Restore values against the built-in defaults of the settings table.
    EXPECT_EQ(glngColoreSatellite, 65535);
    EXPECT_EQ(QString::number(glngColoreSatellite), Default_Impostazione("Colori", "Satellite"));
    EXPECT_EQ(QString::number(glngColoreCostellazioniLinee), Default_Impostazione("Colori", "Costellazioni linee"));
    EXPECT_EQ(QString::number(glngColoreGrigliaLocale1), Default_Impostazione("Colori", "Griglia locale1"));
    EXPECT_EQ(QString::number(glngColoreCostellazioniNomi), Default_Impostazione("Colori", "Costellazioni nomi"));
}

TEST_F(SettingsDialogTest, FilterRangesRoundHalfToEvenAndKeepEachGroup)
{
    gdblAltezzaMin = {10.4, 10.5, 11.5};
    gdblAzimuthMin = {45, 0, 0};
    gdblAzimuthMax = {315, 360, 360};
    frmSettings* d = frmSettings::Mostra(8);
    d->show();
    QApplication::processEvents();
    EXPECT_EQ(d->lblAltmin[0]->text(), "10°");
    EXPECT_EQ(d->lblAltmin[1]->text(), "10°");
    EXPECT_EQ(d->lblAltmin[2]->text(), "12°");
    EXPECT_EQ(d->lblAzmin[0]->text(), "45°");
    EXPECT_EQ(d->lblAzmax[0]->text(), "315°");
    EXPECT_EQ(d->lblAzmax[1]->text(), "360°");
    // Whichever group the tab strip shows, nothing of the others shows
    // beside or under it: the group in front covers them whole.
    for (int davanti : {1, 2, 0}) {
        d->tabFiltri->setCurrentIndex(davanti);
        QApplication::processEvents();
        const QRect fronte = d->fraFiltro[size_t(davanti)]->geometry();
        for (int g = 0; g < 3; ++g)
            for (QWidget* c : d->fraFiltro[size_t(g)]->findChildren<QWidget*>())
                if (g != davanti && c->isVisibleTo(d)) {
                    const QRect r(c->mapTo(d->frames[8], QPoint(0, 0)), c->size());
                    EXPECT_TRUE(fronte.contains(r)) << "group " << g << " shows " << c->objectName().toStdString()
                                                    << " beside group " << davanti;
                }
    }
    d->tabFiltri_Click(3);
    d->rtAzisat[2]->setLowerValue(45);
    d->rtAzisat[2]->setUpperValue(315);
    EXPECT_EQ(d->lblAzmin[2]->text(), "45°");
    EXPECT_EQ(d->lblAzmax[2]->text(), "315°");
    d->tabFiltri_Click(1);
    d->cmdOK_Click();
    EXPECT_EQ(gdblAltezzaMin[0], 10.0);
    EXPECT_EQ(gdblAltezzaMin[2], 12.0);
    EXPECT_EQ(gdblAzimuthMin[2], 45.0);
    EXPECT_EQ(gdblAzimuthMax[2], 315.0);
    EXPECT_EQ(gdblAzimuthMin[0], 45.0);
    EXPECT_EQ(gdblAzimuthMax[0], 315.0);
    EXPECT_EQ(gdblAzimuthMin[1], 0.0);
    EXPECT_EQ(gdblAzimuthMax[1], 360.0);
}

TEST_F(SettingsDialogTest, GridTypeEnablesTheTenDegreeBoxWithoutChangingIt)
{
    gblnLocaleGrigliaTipo = true;
    gblnLocaleGriglia10 = true;
    frmSettings* d = frmSettings::Mostra(4);
    EXPECT_TRUE(d->chkLocalSkyGriglia10->isEnabled());
    d->cmbLocalSkyTipoGriglia->setCurrentIndex(0);
    EXPECT_FALSE(d->chkLocalSkyGriglia10->isEnabled());
    EXPECT_TRUE(d->chkLocalSkyGriglia10->isChecked());
    d->cmdOK_Click();
    EXPECT_FALSE(gblnLocaleGrigliaTipo);
    EXPECT_TRUE(gblnLocaleGriglia10);
}

TEST_F(SettingsDialogTest, ListsMoveRestoreAndEmpty)
{
    frmSettings* d = frmSettings::Mostra(12);
    QTreeWidget* l = d->lvwDownload;
    ASSERT_EQ(l->topLevelItemCount(), 31);
    const QStringList prima = Colonna(l, 0);
    // Up on row 1 and down on the last row change nothing.
    l->topLevelItem(0)->setSelected(true);
    d->cmdDownloadSu_Click();
    l->clearSelection();
    l->topLevelItem(30)->setSelected(true);
    d->cmdDownloadGiu_Click();
    EXPECT_EQ(Colonna(l, 0), prima);
    // Row 5 up three times ends in row 2, still selected.
    l->clearSelection();
    l->topLevelItem(4)->setSelected(true);
    for (int i = 0; i < 3; ++i)
        d->cmdDownloadSu_Click();
    EXPECT_EQ(l->topLevelItem(1)->text(0), prima[4]);
    EXPECT_TRUE(l->topLevelItem(1)->isSelected());
    QStringList numeri;
    for (int i = 1; i <= 31; ++i)
        numeri << QString::number(i);
    EXPECT_EQ(Colonna(l, 1), numeri);
    // No selection: the message, nothing moves.
    l->clearSelection();
    d->cmdDownloadGiu_Click();
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, mLang::Testo_Lingua("frmSettings", "selezionarefile"));
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbInformation);
    // Restore: the list of a first start, in the order of the settings'
    // built-in entries (radar before military, as a first start has them).
    d->cmdDownloadRipristina_Click();
    const QStringList r = Colonna(l, 0);
    EXPECT_TRUE(r[0].endsWith("/NORAD/elements/visual.txt"));
    EXPECT_TRUE(r[28].endsWith("/NORAD/elements/radar.txt"));
    EXPECT_TRUE(r[29].endsWith("/NORAD/elements/military.txt"));
    EXPECT_TRUE(r[30].endsWith("/NORAD/elements/other.txt"));
    for (int i = 0; i < 31; ++i)
        EXPECT_EQ(r[i], Default_Impostazione("Download", QStringLiteral("Remoto%1").arg(i))) << i;
    // The server list: restore gives the built-in names, empty clears, OK stores.
    d->cmdServerElimina_Click();
    EXPECT_EQ(Colonna(d->lvwServerNTP, 0), QStringList(10, QString()));
    d->cmdOK_Click();
    for (const QString& s : gstrServerNTP)
        EXPECT_TRUE(s.isEmpty());
    EXPECT_EQ(gstrRemoto[28], r[28]);
}

TEST_F(SettingsDialogTest, SaveStoresTheDialogsValuesForTheNextStart)
{
    frmSettings* d = frmSettings::Mostra(1);
    d->cmbPropagatore->setCurrentIndex(1);
    d->chkRifrazione->setChecked(true);
    d->cmdSave_Click();
    EXPECT_EQ(fakes.settings.value("Satelliti", "Propagatore").value_or("?"), "1");
    EXPECT_EQ(fakes.settings.value("Satelliti", "Rifrazione").value_or("?"), "-1");
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
}

TEST_F(SettingsDialogTest, ProgramPickerKeepsTheTextOnCancelAndEmptiesItForAnEmptyFile)
{
    QTemporaryDir dir;
    const QString vuoto = dir.filePath("empty");
    QFile(vuoto).open(QIODevice::WriteOnly);
    frmSettings* d = frmSettings::Mostra(13);
    d->txtEseguiProgramma->setText("/bin/true");
    d->cmdEseguiProgramma_Click();  // cancelled
    EXPECT_EQ(d->txtEseguiProgramma->text(), "/bin/true");
    EXPECT_EQ(fakes.files.calls.last().request.fileName, "/bin/true");
    fakes.files.fileAnswers = {vuoto};
    d->cmdEseguiProgramma_Click();
    EXPECT_TRUE(d->txtEseguiProgramma->text().isEmpty());

    // A program in a folder the user may not enter, chosen as an ordinary
    // user: the program and the system's reason are told in the user's
    // language, and the box keeps what it held.
    ASSERT_TRUE(QDir(dir.path()).mkdir("closed"));
    const QString cartella = dir.filePath("closed");
    const QString programma = cartella + "/tool";
    QFile(programma).open(QIODevice::WriteOnly);
    struct Riapri {
        QString cartella;
        ~Riapri() { QFile::setPermissions(cartella, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }
    } riapri{cartella};
    ASSERT_TRUE(QFile::setPermissions(cartella, {}));
    ASSERT_TRUE(UtenteOrdinario::Passabile(dir.path()));
    const struct {
        const char* lingua;
        std::string testo;
    } casi[] = {
        {"english.ini", "The file " + programma.toStdString() + " could not be read: Permission denied."},
        {"italiano.ini", "Impossibile leggere il file " + programma.toStdString() + ": Permesso negato."},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.lingua);
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + QLatin1String(c.lingua));
        d->txtEseguiProgramma->setText("/bin/true");
        fakes.prompt.calls.clear();
        fakes.files.fileAnswers = {programma};
        {
            UtenteOrdinario utente;
            ASSERT_TRUE(utente.attivo());
            d->cmdEseguiProgramma_Click();
        }
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_EQ(fakes.prompt.calls[0].text.toStdString(), c.testo);
        EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbExclamation);
        EXPECT_EQ(d->txtEseguiProgramma->text(), "/bin/true");
    }
    // A program the user may run but not read is taken as before.
    QFile soloEsecuzione(dir.filePath("runonly"));
    ASSERT_TRUE(soloEsecuzione.open(QIODevice::WriteOnly) && soloEsecuzione.write("#!/bin/sh\n") > 0);
    soloEsecuzione.close();
    ASSERT_TRUE(soloEsecuzione.setPermissions(QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther));
    fakes.prompt.calls.clear();
    fakes.files.fileAnswers = {soloEsecuzione.fileName()};
    {
        UtenteOrdinario utente;
        d->cmdEseguiProgramma_Click();
    }
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
    EXPECT_EQ(d->txtEseguiProgramma->text(), soloEsecuzione.fileName());
}

TEST_F(SettingsDialogTest, EveryPageCanBeChosenAtAGlance)
{
    for (const char* lingua : {"english", "italiano"}) {
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/%1.ini").arg(QLatin1String(lingua)));
        frmSettings* d = frmSettings::Mostra(0);
        d->Lingua();
        d->show();
        QApplication::processEvents();
        const QRect finestra = d->rect();
        QSet<int> visti;
        // Every visible button of the dialog that chooses a page, whole inside
        // the window at the size it opens with.
        for (QAbstractButton* b : d->findChildren<QAbstractButton*>()) {
            if (!b->isVisibleTo(d) || b->text().isEmpty())
                continue;
            for (int i = 0; i < d->SSTab1->count(); ++i) {
                if (b->text() != d->SSTab1->tabText(i))
                    continue;
                const QRect r(b->mapTo(d, QPoint(0, 0)), b->size());
                EXPECT_TRUE(finestra.contains(r)) << lingua << " " << i;
                EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(b->text())) << lingua << " " << i;
                b->click();
                EXPECT_EQ(d->SSTab1->currentIndex(), i) << lingua;
                visti.insert(i);
            }
        }
        EXPECT_EQ(visti.size(), 14) << lingua;
        delete d;
    }
}

TEST_F(SettingsDialogTest, CompassLettersStandAtTheirAzimuths)
{
    frmSettings* d = frmSettings::Mostra(8);
    d->resize(d->size() + QSize(123, 0));   // at any width
    d->show();
    QApplication::processEvents();
    for (int g = 0; g < 3; ++g) {
        d->tabFiltri_Click(g + 1);
        QApplication::processEvents();
        QFrame* fr = d->fraFiltro[size_t(g)];
        RangeTool* rt = d->rtAzisat[g];
        const auto centroLettera = [fr](const QString& lettera, bool ultima) {
            QList<int> x;
            for (QLabel* l : fr->findChildren<QLabel*>())
                if (l->text() == lettera)
                    x << l->mapTo(fr, l->rect().center()).x();
            std::sort(x.begin(), x.end());
            return x.isEmpty() ? -1000 : ultima ? x.last() : x.first();
        };
        const auto centroCursore = [fr](QWidget* cursore) {
            return cursore->mapTo(fr, cursore->rect().center()).x();
        };
        const struct {
            int azimuth;
            const char* lettera;
            bool ultima;
        } punti[] = {{0, "N", false}, {90, "E", false}, {180, "S", false}, {270, "W", false}, {360, "N", true}};
        for (const auto& p : punti) {
            rt->setLowerValue(0);
            rt->setUpperValue(p.azimuth);
            rt->setLowerValue(p.azimuth);
            EXPECT_NEAR(centroLettera(QLatin1String(p.lettera), p.ultima), centroCursore(rt->picBottom()), 2)
                << "group " << g << " azimuth " << p.azimuth;
            EXPECT_NEAR(centroLettera(QLatin1String(p.lettera), p.ultima), centroCursore(rt->picTop()), 2)
                << "group " << g << " azimuth " << p.azimuth;
        }
    }
}
