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
#include "common/window_host.h"
#include "common/window_links.h"
#include "platform/prompt.h"
#include "shell/language_picker.h"

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
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
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

namespace {

// What a real message box showed, and the answer given to it.
struct DomandaVista {
    QString testo;
    QStringList pulsanti;
};

// Answers the real message boxes that come up, in order, by their button
// roles, noting what each showed.
class RispondiBox : public QObject {
public:
    explicit RispondiBox(QList<QMessageBox::StandardButton> risposte) : m_risposte(std::move(risposte))
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || m_risposte.isEmpty())
                return;
            DomandaVista d{box->text(), {}};
            for (QAbstractButton* b : box->buttons())
                d.pulsanti << b->text();
            viste << d;
            box->button(m_risposte.takeFirst())->click();
        });
        m_timer.start();
    }
    QList<DomandaVista> viste;

private:
    QList<QMessageBox::StandardButton> m_risposte;
    QTimer m_timer;
};

} // namespace

// Options > Language with a document that holds unsaved text: the document
// is asked first, as Close all asks it; Cancel, or Yes and then a cancelled
// Save As, keeps the language, the setting and the document with its text.
// The question and its buttons speak one language.
TEST_F(LocationLinks, ALanguageChangeAsksEveryDocumentFirstAndCancelKeepsEverything)
{
    mLang::Usa_File_Lingua(QString());
    mLang::Imposta_Cartella_Programma(QStringLiteral(ASTROVELA_PROGRAM_DIR));
    gstrFileLingua = QStringLiteral("english.ini");
    gblnLinguaCaricata = false;
    fakes.settings.setValue("Generali", "Lingua", "english.ini");
    platform::QtPrompt vere;
    platform::Services servizi = fakes.services();
    servizi.prompt = &vere;
    platform::ScopedServices qui(servizi);
    const auto inglese = [](const char* sezione, const char* chiave) {
        return mLang::Leggi_Chiave_Lingua(QLatin1String(sezione), QLatin1String(chiave), {},
                                          QStringLiteral(ASTROVELA_PROGRAM_DIR "/english.ini"));
    };

    MDIForm1 w;
    files::Collega_File(w);
    w.Lingua();
    w.show();
    w.menuItem("mnuFileNuovo")->trigger();
    ASSERT_EQ(Figli(w).size(), 1);
    QPointer<frmFile> doc = qobject_cast<frmFile*>(Figli(w)[0]);
    ASSERT_TRUE(doc);
    doc->txtFile->setPlainText(QStringLiteral("two hours of typing"));
    const QString menuOpzioni = w.menuItem("mnuOpzioni")->text();
    ASSERT_EQ(menuOpzioni, inglese("MDIForm1", "mnuOpzioni"));

    const auto scegli = [&](const QString& lingua) {
        frmLanguage picker(mLang::Cartella_Programma(), &w);
        const auto voci = picker.lstLingua->findItems(lingua, Qt::MatchExactly);
        EXPECT_EQ(voci.size(), 1);
        if (!voci.isEmpty())
            picker.lstLingua->setCurrentItem(voci[0]);
        picker.cmdOK_Click();
    };
    // Cancel, then Yes with the Save As dialog cancelled.
    for (const QMessageBox::StandardButton risposta : {QMessageBox::Cancel, QMessageBox::Yes}) {
        SCOPED_TRACE(int(risposta));
        RispondiBox box({risposta});
        scegli(QStringLiteral("Italiano"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_EQ(box.viste.size(), 1);
        EXPECT_EQ(box.viste[0].testo, inglese("frmFile", "salvamodifiche"));
        EXPECT_TRUE(box.viste[0].pulsanti.contains(QStringLiteral("&Yes"))) << box.viste[0].pulsanti.join(u' ').toStdString();
        ASSERT_TRUE(doc);
        EXPECT_EQ(doc->txtFile->toPlainText(), QStringLiteral("two hours of typing"));
        EXPECT_EQ(Figli(w).size(), 1);
        EXPECT_EQ(gstrFileLingua, QStringLiteral("english.ini"));
        EXPECT_EQ(fakes.settings.value("Generali", "Lingua").value_or("?"), "english.ini");
        EXPECT_EQ(w.menuItem("mnuOpzioni")->text(), menuOpzioni);
    }
    ASSERT_EQ(fakes.files.calls.size(), 1);   // the Save As dialog, cancelled

    // No: the document goes and everything speaks Italian, the buttons of a
    // closing question as well.
    {
        RispondiBox box({QMessageBox::No});
        scegli(QStringLiteral("Italiano"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(box.viste.size(), 1);
    }
    EXPECT_FALSE(doc);
    EXPECT_TRUE(Figli(w).isEmpty());
    EXPECT_EQ(gstrFileLingua.toLower(), QStringLiteral("italiano.ini"));
    EXPECT_NE(w.menuItem("mnuOpzioni")->text(), menuOpzioni);
    w.menuItem("mnuFileNuovo")->trigger();
    ASSERT_EQ(Figli(w).size(), 1);
    qobject_cast<frmFile*>(Figli(w)[0])->txtFile->setPlainText(QStringLiteral("testo"));
    {
        RispondiBox box({QMessageBox::No});
        w.mnuFinestreChiudiTutto_Click();
        ASSERT_EQ(box.viste.size(), 1);
        EXPECT_EQ(box.viste[0].testo, mLang::Testo_Lingua("frmFile", "salvamodifiche"));
        EXPECT_NE(box.viste[0].testo, inglese("frmFile", "salvamodifiche"));
        EXPECT_FALSE(box.viste[0].pulsanti.contains(QStringLiteral("&Yes")))
            << box.viste[0].pulsanti.join(u' ').toStdString();
    }
    // Back to English for the tests that follow (Qt's own texts included).
    gstrFileLingua = QStringLiteral("english.ini");
    gblnLinguaCaricata = false;
    w.Lingua();
    mLang::Imposta_Cartella_Programma({});
}

// Unloading every window (the end of the program, a language change that
// went on after a task stopped) keeps a document whose question is answered
// Cancel, with its text, and says so.
TEST_F(LocationLinks, UnloadingKeepsADocumentThatCallsTheClosingOff)
{
    MDIForm1 w;
    files::Collega_File(w);
    w.show();
    w.menuItem("mnuFileNuovo")->trigger();
    w.menuItem("mnuFileNuovo")->trigger();
    ASSERT_EQ(Figli(w).size(), 2);
    QPointer<frmFile> primo = qobject_cast<frmFile*>(Figli(w)[0]);
    QPointer<frmFile> secondo = qobject_cast<frmFile*>(Figli(w)[1]);
    primo->txtFile->setPlainText(QStringLiteral("kept"));
    fakes.prompt.answers = {platform::vbCancel};
    EXPECT_FALSE(common::Scarica_Finestre(w.mdiArea(), &w));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(secondo);   // unchanged: it went without a question
    ASSERT_TRUE(primo);
    EXPECT_EQ(primo->txtFile->toPlainText(), QStringLiteral("kept"));
    EXPECT_EQ(Figli(w).size(), 1);
    EXPECT_EQ(fakes.prompt.calls.size(), 1);
    fakes.prompt.answers = {platform::vbNo};
    EXPECT_TRUE(common::Scarica_Finestre(w.mdiArea(), &w));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(primo);
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
