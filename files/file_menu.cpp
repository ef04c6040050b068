#include "files/file_menu.h"

#include "core/mlang.h"
#include "core/settings.h"
#include "files/text_viewer.h"
#include "platform/busy_cursor.h"
#include "platform/file_chooser.h"
#include "platform/launcher.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/vb.h"
#include "common/main_window_link.h"
#include "common/window_calls.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace files {

namespace {

int g_contatoreNuovi = 0;

std::optional<QString> Scegli_File(const char* titolo, QWidget* parent)
{
    auto* files = platform::services().files;
    if (!files)
        return std::nullopt;
    platform::FileDialogRequest r;
    r.title = mLang::Testo_Lingua(QStringLiteral("Dialogs"), QLatin1String(titolo));
    r.fileName = gstrDatabasePrimario;
    r.filter = mLang::Testo_Lingua("Dialogs", "filtrotle");
    r.filterIndex = 1;
    std::optional<QString> scelto = files->openFile(r, parent);
    if (!scelto)
        return std::nullopt;
    const QFileInfo info(*scelto);
    if (!info.isFile() || info.size() == 0)
        return std::nullopt;
    return scelto;
}

} // namespace

frmFile* File_Nuovo(MainWindowLink* main)
{
    ++g_contatoreNuovi;
    auto* f = new frmFile;
    const QString titolo = mLang::Testo_Lingua("MDIForm1", "nuovo") + QString::number(g_contatoreNuovi);
    f->setWindowTitle(titolo);
    f->setFileName(titolo);
    f->pflgNuovo = true;
    if (main) {
        QMdiSubWindow* sub = main->addChild(f);
        sub->resize(640, 440);
        sub->show();
    }
    f->show();
    return f;
}

frmFile* File_Modifica(MainWindowLink* main)
{
    QApplication::processEvents();
    const std::optional<QString> scelto = Scegli_File("modificatle", main ? main->asWidget() : nullptr);
    if (!scelto)
        return nullptr;
    QApplication::processEvents();
    auto* f = new frmFile;
    f->pflgNuovo = false;
    if (main)
        main->addChild(f);
    return f->Leggi(*scelto) ? f : nullptr;
}

bool Controllo_Documento(QWidget* finestra)
{
    if (!finestra)
        return false;
    QWidget* fuoco = finestra->focusWidget();
    if (!fuoco)
        return false;
    if (qobject_cast<QTextEdit*>(fuoco) || qobject_cast<QPlainTextEdit*>(fuoco))
        return true;
    // A list box (a list, or the list part of a table); the viewport of a
    // list counts as the list.
    for (QWidget* w = fuoco; w && w != finestra; w = w->parentWidget())
        if (qobject_cast<QAbstractItemView*>(w))
            return true;
    return false;
}

namespace {

QWidget* Finestra_Figlia_Attiva(MainWindowLink* main)
{
    if (!main)
        return nullptr;
    QMdiSubWindow* sub = main->mdiArea()->activeSubWindow();
    return sub ? sub->widget() : nullptr;
}

} // namespace

common::Salvabile* Finestra_Per_Salva(MainWindowLink* main)
{
    QWidget* w = Finestra_Figlia_Attiva(main);
    auto* documento = dynamic_cast<common::Salvabile*>(w);
    return documento && Controllo_Documento(w) ? documento : nullptr;
}

common::Stampabile* Finestra_Per_Stampa(MainWindowLink* main)
{
    QWidget* w = Finestra_Figlia_Attiva(main);
    auto* documento = dynamic_cast<common::Stampabile*>(w);
    if (!documento)
        return nullptr;
    // The local sky chart and a pass map print their chart whatever has the focus.
    using Tipo = common::CartaStellare::Tipo;
    auto* carta = dynamic_cast<common::CartaStellare*>(w);
    const bool stampaCarta = carta && (carta->Tipo_Carta() == Tipo::CieloLocale
                                       || carta->Tipo_Carta() == Tipo::MappaPassaggio);
    return stampaCarta || Controllo_Documento(w) ? documento : nullptr;
}

QString Ripara_Fine_Righe(const QString& testo)
{
    QString t = testo;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QStringList pezzi = t.split(QLatin1Char('\n'));
    if (pezzi.size() > 1 && pezzi.last().isEmpty())
        pezzi.removeLast();
    QString out;
    for (const QString& p : pezzi) {
        out += vb::Trim(p);
        out += QLatin1String("\r\n");
    }
    return out;
}

void Formattazione_File(MainWindowLink* main)
{
    const QString sez = QStringLiteral("MDIForm1");
    platform::MsgBox(mLang::Testo_Lingua("MDIForm1", "funzioneconversione1") + QStringLiteral("\r\n")
                         + mLang::Testo_Lingua("MDIForm1", "funzioneconversione2"),
                     platform::vbInformation);
    QApplication::processEvents();
    const std::optional<QString> scelto = Scegli_File("formattatle", main ? main->asWidget() : nullptr);
    if (!scelto)
        return;
    QApplication::processEvents();
    bool riuscito = false;
    bool nonTesto = false;
    bool giaInOrdine = false;
    QString errore;
    QString copia;
    // What failed, on which file, and the system's reason.
    const auto fallito = [&](const char* chiave, const QString& file) {
        if (!errore.contains(QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath())))
            errore = mLang::Testo_Lingua(sez, QLatin1String(chiave)).arg(QDir::toNativeSeparators(file), errore);
    };
    {
        platform::BusyCursor attesa;
        const auto doc = vb::readTextFile(*scelto, &errore);
        if (!doc)
            fallito("conversionelettura", *scelto);
        if (doc) {
            if (!vb::isPlainText(*doc)) {
                // A picture, an archive, a file cut in the middle of a
                // character: rewriting it would spoil it.
                nonTesto = true;
            } else {
                const QString nuovo = Ripara_Fine_Righe(doc->text);
                if (nuovo == doc->text) {
                    giaInOrdine = true;   // nothing to change, nothing written
                } else {
                    // The file as it was is kept beside the new one, under
                    // a name of its own: a backup already there is the
                    // user's and stays as it is.
                    copia = vb::freeCopyName(*scelto);
                    const std::optional<QByteArray> vecchio = vb::readFileBytes(*scelto, vb::kMaxTextFileBytes, &errore);
                    if (!vecchio)
                        fallito("conversionelettura", *scelto);
                    else if (!vb::writeFileWhole(copia, *vecchio, &errore))
                        fallito("conversionecopia", copia);
                    else if (!vb::writeTextFile(*scelto, nuovo, doc->encoding, &errore))
                        fallito("conversionescrittura", *scelto);
                    else
                        riuscito = true;
                }
            }
        }
    }
    if (nonTesto)
        platform::MsgBox(mLang::Testo_Lingua("MDIForm1", "conversionenontesto") + QStringLiteral("\r\n")
                             + QDir::toNativeSeparators(*scelto),
                         platform::vbExclamation);
    else if (giaInOrdine)
        platform::MsgBox(mLang::Testo_Lingua("MDIForm1", "conversionenonnecessaria") + QStringLiteral("\r\n")
                             + QDir::toNativeSeparators(*scelto),
                         platform::vbInformation);
    else if (riuscito)
        platform::MsgBox(mLang::Testo_Lingua("MDIForm1", "conversioneterminata")
                             + (copia.isEmpty() ? QString()
                                                : QStringLiteral("\r\n") + mLang::Testo_Lingua("MDIForm1", "copiaconservata")
                                                      + QStringLiteral("\r\n") + QDir::toNativeSeparators(copia)),
                         platform::vbInformation);
    else
        platform::MsgBox(mLang::Testo_Lingua("MDIForm1", "conversionefallita") + QLatin1Char('\r') + errore,
                         platform::vbExclamation);
}

void Esegui_Programma(const QString& programma, const QString& parametri)
{
    if (vb::Trim(programma).isEmpty())
        return;
    auto* launcher = platform::services().launcher;
    if (!launcher)
        return;
    QString errore;
    if (!launcher->startProgram(vb::Trim(programma), parametri, &errore))
        platform::MsgBox(errore, platform::vbExclamation);
}

} // namespace files
