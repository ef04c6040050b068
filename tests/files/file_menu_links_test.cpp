// The main window's commands served by the location and document group: the
// location dialog from the toolbar and the status bar, Save and Print on the
// active viewer by the focused control, closing with unsaved text, the
// external program and the calculator.
#include "core/globals.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "locations/city_list.h"
#include "files/text_viewer.h"
#include "locations/location_dialog.h"
#include "platform/fakes.h"
#include "shell/main_window.h"
#include "common/window_links.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

struct LocationLinks : ::testing::Test {
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    QTemporaryDir dir;

    void SetUp() override
    {
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        const QString p = dir.filePath(QStringLiteral("cities.dat"));
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        f.write("\"Italy: Milano\",45.47,9.19,1\r\n");
        f.close();
        locations::Imposta_File_Citta(p);
    }
    void TearDown() override
    {
        locations::Imposta_File_Citta(QString());
        mLang::Usa_File_Lingua(QString());
    }
    static QList<QWidget*> Figli(MDIForm1& w)
    {
        QList<QWidget*> out;
        for (QMdiSubWindow* s : w.mdiArea()->subWindowList())
            out << s->widget();
        return out;
    }
};

} // namespace

TEST_F(LocationLinks, ToolbarAndStatusBarOpenTheOneLocationWindow)
{
    MDIForm1 w;
    locations::Collega_Localita(w);
    files::Collega_File(w);
    w.show();
    for (const char* n : {"mnuOpzioniLocalita", "mnuFileNuovo", "mnuFileModifica", "mnuFileStampa",
                          "mnuFileImpostaStampante", "mnuStrumentiFormattazione", "mnuStrumentiCalcolatrice",
                          "mnuStrumentiProgramma"})
        EXPECT_TRUE(w.menuItem(n)->isEnabled()) << n;
    w.Toolbar1_ButtonClick(QStringLiteral("Location"));
    frmLocation* f = frmLocation::istanza();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(Figli(w).contains(f));
    // The close box hides it; the status bar's panel 3 shows the same window.
    f->parentWidget()->close();
    EXPECT_FALSE(f->parentWidget()->isVisible());
    w.StatusBar1_PanelClick(3);
    EXPECT_EQ(frmLocation::istanza(), f);
    EXPECT_TRUE(f->isVisible());
    // OK with a chosen city shows the place in panel 3.
    f->Seleziona_Voce(0);
    f->cmdOk_Click();
    EXPECT_EQ(w.panel(3)->text(), QStringLiteral("Italy: Milano"));
    EXPECT_FALSE(f->parentWidget()->isVisible());
    // Closing every window unloads it.
    w.mnuFinestreChiudiTutto_Click();
    EXPECT_EQ(frmLocation::istanza(), nullptr);
}

TEST_F(LocationLinks, SaveGoesToTheActiveViewerWithTheFocusInItsText)
{
    MDIForm1 w;
    locations::Collega_Localita(w);
    files::Collega_File(w);
    w.show();
    w.menuItem("mnuFileNuovo")->trigger();
    w.menuItem("mnuFileNuovo")->trigger();
    ASSERT_EQ(Figli(w).size(), 2);
    auto* primo = qobject_cast<frmFile*>(Figli(w)[0]);
    auto* secondo = qobject_cast<frmFile*>(Figli(w)[1]);
    ASSERT_TRUE(primo && secondo);
    EXPECT_EQ(secondo->windowTitle(), mLang::Testo_Lingua("MDIForm1", "nuovo")
                                          + QString::number(primo->windowTitle().mid(
                                                mLang::Testo_Lingua("MDIForm1", "nuovo").size()).toInt() + 1));
    w.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(primo->parentWidget()));
    primo->txtFile->setFocus();
    QApplication::processEvents();
    primo->txtFile->setPlainText(QStringLiteral("hello"));
    emit w.menu(QStringLiteral("mnuFile"))->aboutToShow();
    EXPECT_TRUE(w.menuItem("mnuFileSalva")->isEnabled());
    const QString p = dir.filePath(QStringLiteral("doc.txt"));
    fakes.files.fileAnswers = {p};
    w.menuItem("mnuFileSalva")->trigger();
    ASSERT_EQ(fakes.files.calls.size(), 1);
    EXPECT_EQ(fakes.files.calls[0].request.fileName, primo->windowTitle());
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("hello"));

    // Print goes to the active viewer too: its text reaches the printer
    // chosen; the other viewer prints nothing.
    fakes.files.calls.clear();
    const QString pdf = dir.filePath(QStringLiteral("doc.pdf"));
    fakes.files.printerAnswers = {pdf};
    w.menuItem("mnuFileStampa")->trigger();
    ASSERT_EQ(fakes.files.calls.size(), 1);
    EXPECT_TRUE(QFileInfo(pdf).size() > 0);

    // Exit asks every document with unsaved text: Cancel to the second
    // question keeps the program and both windows; No to both lets it close.
    primo->txtFile->setPlainText(QStringLiteral("hello again"));
    secondo->txtFile->setPlainText(QStringLiteral("unsaved"));
    const bool conferma = gblnConfermaUscita;
    gblnConfermaUscita = false;
    fakes.prompt.answers = {platform::vbNo, platform::vbCancel};
    EXPECT_FALSE(w.close());
    EXPECT_EQ(Figli(w).size(), 2);
    ASSERT_EQ(fakes.prompt.calls.size(), 2);
    for (const auto& c : fakes.prompt.calls)
        EXPECT_EQ(c.text, mLang::Testo_Lingua("frmFile", "salvamodifiche"));
    fakes.prompt.calls.clear();
    fakes.prompt.answers = {platform::vbNo, platform::vbNo};
    EXPECT_TRUE(w.close());
    gblnConfermaUscita = conferma;
    EXPECT_TRUE(Figli(w).isEmpty());
    EXPECT_EQ(fakes.prompt.calls.size(), 2) << "each document is asked once";
    EXPECT_EQ(f.size(), 5) << "the saved file is left as it was";
}

TEST_F(LocationLinks, ExternalProgramAndCalculator)
{
    MDIForm1 w;
    locations::Collega_Localita(w);
    files::Collega_File(w);
    const QString prima = gstrEseguiProgramma;
    const QString primiParametri = gstrEseguiParametri;
    gstrEseguiProgramma = QStringLiteral("   ");
    w.menuItem("mnuStrumentiProgramma")->trigger();
    EXPECT_TRUE(fakes.launcher.calls.isEmpty());
    gstrEseguiProgramma = QStringLiteral("/usr/bin/gpredict");
    gstrEseguiParametri = QStringLiteral("-a \"two words\" x;rm");
    w.menuItem("mnuStrumentiProgramma")->trigger();
    ASSERT_EQ(fakes.launcher.calls.size(), 1);
    EXPECT_EQ(fakes.launcher.calls[0].target, QStringLiteral("/usr/bin/gpredict"));
    EXPECT_EQ(fakes.launcher.calls[0].arguments,
              QStringList({QStringLiteral("-a"), QStringLiteral("two words"), QStringLiteral("x;rm")}));
    fakes.launcher.succeed = false;
    w.menuItem("mnuStrumentiProgramma")->trigger();
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbExclamation);
    EXPECT_EQ(fakes.prompt.calls[0].text, fakes.launcher.failure);
    w.menuItem("mnuStrumentiCalcolatrice")->trigger();
    EXPECT_EQ(fakes.launcher.calls.last().kind, platform::FakeLauncher::Kind::Calculator);
    gstrEseguiProgramma = prima;
    gstrEseguiParametri = primiParametri;
}

TEST_F(LocationLinks, EditAFileOpensAtTheFilesFirstFolderAndShowsWholeElementLines)
{
    MDIForm1 w;
    locations::Collega_Localita(w);
    files::Collega_File(w);
    w.resize(1200, 800);
    w.show();
    const QString principale = gstrDatabasePrimario;
    gstrDatabasePrimario = QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample.txt");
    fakes.files.fileAnswers = {gstrDatabasePrimario};
    w.menuItem("mnuFileModifica")->trigger();
    ASSERT_EQ(fakes.files.calls.size(), 1);
    EXPECT_EQ(fakes.files.calls[0].request.fileName, gstrDatabasePrimario);
    gstrDatabasePrimario = principale;
    ASSERT_EQ(Figli(w).size(), 1);
    auto* viewer = qobject_cast<frmFile*>(Figli(w)[0]);
    ASSERT_NE(viewer, nullptr);
    QApplication::processEvents();
    // The element lines are 69 characters: all of each shows, and so do
    // several sets, inside the main window.
    const QFontMetrics fm(viewer->txtFile->font());
    const QString riga = QStringLiteral("1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753");
    EXPECT_GE(viewer->txtFile->viewport()->width(), fm.horizontalAdvance(riga) + 8);
    EXPECT_GE(viewer->txtFile->viewport()->height(), fm.lineSpacing() * 9);
    const QRect area = w.mdiArea()->viewport()->rect();
    EXPECT_TRUE(area.contains(viewer->parentWidget()->geometry())) << viewer->parentWidget()->width();
}

TEST_F(LocationLinks, TheLocationListOpensAtTheObserversPlaceInTheWorkspace)
{
    QByteArray testo;
    for (int i = 100; i < 400; ++i)
        testo += "\"Country: Place " + QByteArray::number(i) + "\"," + QByteArray::number(i % 90) + ",1,1\r\n";
    QFile file(locations::File_Citta());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(testo);
    file.close();
    const QString prima = gstrLocalita;
    gstrLocalita = QStringLiteral("Country: Place 377");
    MDIForm1 w;
    locations::Collega_Localita(w);
    files::Collega_File(w);
    w.resize(1100, 800);
    w.show();
    w.menuItem("mnuOpzioniLocalita")->trigger();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    frmLocation* f = frmLocation::istanza();
    ASSERT_NE(f, nullptr);
    const auto trovate = f->cmbCity->findItems(gstrLocalita, Qt::MatchExactly);
    ASSERT_EQ(trovate.size(), 1);
    const QRect riga = f->cmbCity->visualItemRect(trovate.first());
    EXPECT_TRUE(f->cmbCity->viewport()->rect().contains(riga))
        << riga.y() << " in " << f->cmbCity->viewport()->height();
    gstrLocalita = prima;
    w.mnuFinestreChiudiTutto_Click();
}
