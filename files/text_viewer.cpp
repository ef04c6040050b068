#include "files/text_viewer.h"

#include "core/mglobal.h"
#include "core/mlang.h"
#include "platform/busy_cursor.h"
#include "platform/file_chooser.h"
#include "platform/print_job.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "common/file_messages.h"
#include "common/main_window_link.h"
#include "common/window_host.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <cmath>
#include <utility>
#include <QMenu>
#include <QMouseEvent>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// The text the box shows for a file's text: one line end character.
QString Testo_Box(const QString& testo)
{
    return vb::withLineEndings(testo, vb::LineEnding::Lf);
}

// The text the box holds, character for character. (toPlainText turns
// non-breaking spaces into plain blanks, which would alter the file on save.)
QString Testo_Di(const QTextEdit* box)
{
    QString t = box->document()->toRawText();
    t.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return t;
}

class TestoFile : public QTextEdit {
public:
    using QTextEdit::QTextEdit;

protected:
    void contextMenuEvent(QContextMenuEvent* e) override
    {
        // The right button opens the main window's Edit menu.
        MainWindowLink* main = MainWindowLink::instance();
        QMenu* menu = main ? main->menu(QStringLiteral("mnuModifica")) : nullptr;
        if (!menu) {
            QTextEdit::contextMenuEvent(e);
            return;
        }
        emit menu->aboutToShow();
        menu->popup(e->globalPos());
    }
};

} // namespace

frmFile::frmFile(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmFile"));
    setAttribute(Qt::WA_DeleteOnClose);
    txtFile = new TestoFile(this);
    txtFile->setObjectName(QStringLiteral("txtFile"));
    txtFile->setAcceptRichText(false);
    txtFile->setLineWrapMode(QTextEdit::NoWrap);
    QFont f(QStringLiteral("Courier New"), 9);
    f.setStyleHint(QFont::TypeWriter);
    txtFile->setFont(f);
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(txtFile);
    resize(620, 420);
    m_documento.encoding = vb::TextEncoding::Utf8;
    m_documento.lineEnding = vb::LineEnding::CrLf;
    mGlobal::Registra_Finestra(this);
}

bool frmFile::modificato() const
{
    return Testo_Di(txtFile) != mstrTestoSalvato;
}

void frmFile::Finestra(QWidget* w)
{
    MainWindowLink* main = MainWindowLink::instance();
    if (main && !parentWidget()) {
        QMdiSubWindow* sub = main->addChild(w);
        sub->resize(640, 440);
    }
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->show();
    w->show();
    Dimensiona();
}

void frmFile::Dimensiona()
{
    // Wide enough for the longest line (an element line has 69 characters)
    // and tall enough for a few element sets, within the main window.
    auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!sub)
        return;
    const QString testo = Testo_Di(txtFile);
    int colonne = 0;
    int righe = 0;
    for (const QStringView riga : QStringView(testo).split(u'\n')) {
        colonne = std::max(colonne, int(riga.size()));
        ++righe;
    }
    colonne = std::clamp(colonne, 72, 120);
    righe = std::clamp(righe, 12, 30);
    const QFontMetrics fm(txtFile->font());
    const int margine = 2 * (txtFile->frameWidth() + int(std::ceil(txtFile->document()->documentMargin())));
    QSize voluto(fm.horizontalAdvance(QString(colonne + 1, QLatin1Char('M'))) + margine +
                     txtFile->verticalScrollBar()->sizeHint().width(),
                 fm.lineSpacing() * (righe + 1) + margine + txtFile->horizontalScrollBar()->sizeHint().height());
    voluto += sub->size() - size();   // the window's frame and title bar
    if (QMdiArea* area = sub->mdiArea())
        voluto = voluto.boundedTo(area->viewport()->size());
    sub->resize(voluto);
}

bool frmFile::Leggi(const QString& FileName)
{
    QString errore;
    std::optional<vb::TextDocument> doc;
    {
        platform::BusyCursor attesa;
        QApplication::processEvents();
        doc = vb::readTextFile(FileName, &errore);
        if (doc) {
            m_documento = *doc;
            txtFile->setPlainText(Testo_Box(doc->text));
            mstrTestoSalvato = Testo_Di(txtFile);
            setWindowTitle(FileName);
            m_fileName = FileName;
        }
    }
    if (!doc) {
        common::Avvisa_File_Non_Letto(FileName, errore);
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
            sub->deleteLater();
        else
            deleteLater();
        return false;
    }
    Finestra(this);
    return true;
}

bool frmFile::Salva()
{
    QApplication::processEvents();
    QString destinazione = m_fileName;
    if (pflgNuovo) {
        auto* files = platform::services().files;
        if (!files)
            return false;
        platform::FileDialogRequest r;
        r.title = mLang::Testo_Lingua("Dialogs", "salvaconnome");
        r.fileName = m_fileName;
        r.filter = mLang::Testo_Lingua("Dialogs", "filtrotle");
        r.filterIndex = 1;
        r.flags = platform::fileOverwritePrompt;
        const std::optional<QString> scelto = files->saveFile(r, this);
        if (!scelto || scelto->isEmpty())
            return false;
        destinazione = *scelto;
    }
    vb::TextDocument doc = m_documento;
    doc.text = Testo_Di(txtFile);
    // Text typed with a character Windows-1252 lacks would be written as
    // "?": such a document is saved in UTF-8 (which the element readers
    // recognise) and keeps every character.
    if (doc.encoding == vb::TextEncoding::Windows1252
        && vb::decodeWindows1252(vb::encodeWindows1252(doc.text)) != doc.text)
        doc.encoding = vb::TextEncoding::Utf8;
    // Whether a file was there to keep: one in a folder the user may not
    // enter is not known to be there, and none is spoken of.
    const bool cera = QFileInfo::exists(destinazione);
    QString errore;
    if (!vb::writeTextFile(destinazione, doc, &errore)) {
        // The old file is kept whole; the document stays changed.
        platform::MsgBox(mLang::Testo_Lingua("frmFile", cera ? "erroresalvataggio" : "erroresalvataggionuovo")
                                 .arg(QDir::toNativeSeparators(QFileInfo(destinazione).absoluteFilePath()))
                             + QLatin1Char('\r') + errore,
                         platform::vbExclamation, destinazione);
        return false;
    }
    if (!pflgNuovo)
        m_documento.encoding = doc.encoding;
    mstrTestoSalvato = Testo_Di(txtFile);
    QApplication::processEvents();
    return true;
}

QStringList frmFile::Impagina(const QString& testo, int colonne)
{
    QStringList righe;
    colonne = std::max(colonne, 1);
    const QStringList linee = vb::withLineEndings(testo, vb::LineEnding::Lf).split(QLatin1Char('\n'));
    for (QString linea : linee) {
        linea.replace(QLatin1Char('\t'), QStringLiteral("        "));
        while (linea.size() > colonne) {
            int taglio = linea.lastIndexOf(QLatin1Char(' '), colonne - 1) + 1;
            // Never a cut before the first character (a page one character wide).
            if (taglio <= 0 || taglio < colonne / 2)
                taglio = colonne;
            righe << linea.left(taglio);
            linea = linea.mid(taglio);
        }
        righe << linea;
    }
    // A final line end starts no further line.
    if (righe.size() > 1 && righe.last().isEmpty() && testo.endsWith(QLatin1Char('\n')))
        righe.removeLast();
    return righe;
}

void frmFile::Stampa()
{
    QApplication::processEvents();
    auto* files = platform::services().files;
    if (!files)
        return;
    QPrinter& printer = platform::applicationPrinter();
    // With a selection the dialog offers it, chosen; the user may still pick all.
    const QTextCursor c = txtFile->textCursor();
    if (!files->choosePrinter(printer, c.hasSelection() ? platform::printerSelection : 0, this))
        return;
    const bool soloSelezione = c.hasSelection() && printer.printRange() == QPrinter::Selection;
    printer.setPrintRange(QPrinter::AllPages);
    QString testo = soloSelezione ? c.selection().toPlainText() : Testo_Di(txtFile);
    platform::PrintJob job(&printer);
    if (!job.isActive())
        return;
    platform::Canvas& pagina = job.page();
    QFont f(QStringLiteral("Courier New"), 9);
    f.setStyleHint(QFont::TypeWriter);
    pagina.setFont(f);
    pagina.setForeColor(0);
    const double larghezzaCarattere = std::max(1.0, pagina.TextWidth(QStringLiteral("M")));
    const double altezzaRiga = std::max(1.0, pagina.TextHeight());
    const int colonne = int(pagina.scaleWidth() / larghezzaCarattere);
    const QStringList righe = Impagina(testo, colonne);
    double y = 0;
    for (const QString& r : righe) {
        if (y + altezzaRiga > pagina.scaleHeight() && y > 0) {
            job.NewPage();
            y = 0;
        }
        pagina.setCurrentX(0);
        pagina.setCurrentY(y);
        pagina.Print(r);
        y += altezzaRiga;
    }
    job.EndDoc();
}

bool frmFile::Form_QueryUnload()
{
    if (!modificato())
        return true;
    const int r = platform::MsgBox(mLang::Testo_Lingua("frmFile", "salvamodifiche"),
                                   platform::vbYesNoCancel | platform::vbQuestion, windowTitle());
    if (r == platform::vbYes)
        return Salva();   // a save that did not happen keeps the window and its text
    return r == platform::vbNo;
}

void frmFile::Chiusura_Gia_Concessa()
{
    m_chiusuraConcessa = true;
    m_testoConcesso = Testo_Di(txtFile);
}

void frmFile::closeEvent(QCloseEvent* event)
{
    // The program's exit has just asked about this very text and the windows
    // are being unloaded: the question is not asked twice (its answer could
    // no longer keep the window anyway).
    const bool giaChiesto = std::exchange(m_chiusuraConcessa, false) && common::Scaricamento_In_Corso()
                            && Testo_Di(txtFile) == m_testoConcesso;
    if (giaChiesto || Form_QueryUnload())
        event->accept();
    else
        event->ignore();
}
