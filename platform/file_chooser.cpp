#include "platform/file_chooser.h"

#include "platform/prompt.h"
#include "platform/vb.h"

#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Why `path` cannot be looked at, when that is not because nothing is there:
// a folder on its way the user may not enter hides whether it is there at
// all, and the system's reason is then what the user needs to know.
std::optional<int> erroreAccesso(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0)
        return std::nullopt;
    const int numero = errno;
    if (numero == ENOENT || numero == ENOTDIR)
        return std::nullopt;
    return numero;
}

// The open dialog. Qt's own dialog calls a typed file it cannot look at "not
// found" and keeps it from the program; such a file is taken as typed, so
// that the command tells the system's reason. A file that is not there is
// still refused by the dialog as before.
class DialogoApertura : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const QStringList scelti = selectedFiles();
        if (fileMode() == QFileDialog::ExistingFile && scelti.size() == 1 && erroreAccesso(scelti.first())) {
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }
};

} // namespace

std::optional<QString> FileChooser::openFile(const FileDialogRequest& request, QWidget* parent)
{
    const std::optional<QString> scelto = chooseOpenFile(request, parent);
    if (!scelto || scelto->isEmpty() || !chosenFileReadable(*scelto))
        return std::nullopt;
    return scelto;
}

bool chosenFileReadable(const QString& path)
{
    std::optional<QString> motivo = vb::notRegularFile(path);
    if (!motivo) {
        if (const std::optional<int> numero = erroreAccesso(path))
            motivo = vb::layerText(QStringLiteral("frmFile"), QStringLiteral("filenonraggiungibile"),
                                   QStringLiteral("The file %1 could not be read: %2."))
                         .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()),
                              vb::systemReason(*numero));
    }
    if (!motivo)
        return true;
    MsgBox(*motivo, vbExclamation);
    return false;
}

QPrinter& applicationPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

namespace {
QStringList convertedFilters(const QString& classic)
{
    QStringList out;
    const QStringList parts = classic.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i].trimmed();
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& p : patterns)
            p = p.trimmed();
        // Qt takes the patterns from the last parentheses: put ours there.
        static const QRegularExpression trailingParens(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
        desc.remove(trailingParens);
        if (desc.isEmpty())
            desc = patterns.join(u' ');
        out << desc + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return out;
}

// The folder of the last file chosen in a file dialog of this run, one for
// the files opened and one for those saved: a folder only read from (a
// shared one, a CD) is no place to offer for saving.
QString& cartellaUsata(bool salva)
{
    static QString cartelle[2];
    return cartelle[salva ? 1 : 0];
}

// The one rule for every folder a dialog may start in: the user may enter
// `cartella` and list it (a folder that cannot be listed shows empty) and,
// for `salva`, make files in it (a save there fails). Asked with the user's
// own rights, as the file system applies them.
bool cartellaUsabile(const QString& cartella, bool salva)
{
    const QByteArray nome = QFile::encodeName(cartella);
    struct stat st {};
    if (nome.isEmpty() || ::stat(nome.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return false;
    return ::faccessat(AT_FDCWD, nome.constData(), R_OK | X_OK | (salva ? W_OK : 0), AT_EACCESS) == 0;
}

// A folder a dialog may not start in is not remembered either.
void ricordaCartella(const QString& file, bool salva)
{
    const QString cartella = QFileInfo(file).absolutePath();
    if (cartellaUsabile(cartella, salva))
        cartellaUsata(salva) = cartella;
}
} // namespace

QString dialogFolder(bool save)
{
    for (const QString& cartella :
         {cartellaUsata(save), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)})
        if (cartellaUsabile(cartella, save))
            return cartella;
    return QDir::homePath();
}

QString dialogStartPath(const FileDialogRequest& r, bool save)
{
    // Never the folder the program was started from (often one the user
    // may not write, such as / or the program's own), nor a folder named
    // here that the dialog may not start in: a file named there is offered
    // by its name where the user can work.
    const QString cartella = cartellaUsabile(r.initialFolder, save) ? r.initialFolder : dialogFolder(save);
    if (r.fileName.isEmpty())
        return cartella;
    if (const QFileInfo file(r.fileName); file.isAbsolute())
        return cartellaUsabile(file.absolutePath(), save) ? r.fileName : QDir(cartella).filePath(file.fileName());
    return QDir(cartella).filePath(r.fileName);
}

QString qtNameFilters(const QString& classicFilter)
{
    return convertedFilters(classicFilter).join(QStringLiteral(";;"));
}

QString qtNameFilterAt(const QString& classicFilter, int index)
{
    return convertedFilters(classicFilter).value(index - 1);
}

std::optional<QString> QtFileChooser::chooseOpenFile(const FileDialogRequest& r, QWidget* parent)
{
    DialogoApertura dialog(parent, r.title, dialogStartPath(r, false), qtNameFilters(r.filter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (const QString selected = qtNameFilterAt(r.filter, r.filterIndex); !selected.isEmpty())
        dialog.selectNameFilter(selected);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QString name = dialog.selectedFiles().value(0);
    if (name.isEmpty())
        return std::nullopt;
    ricordaCartella(name, false);
    return name;
}

std::optional<QString> QtFileChooser::saveFile(const FileDialogRequest& r, QWidget* parent)
{
    QString selected = qtNameFilterAt(r.filter, r.filterIndex);
    QFileDialog::Options options;
    if (!(r.flags & fileOverwritePrompt))
        options |= QFileDialog::DontConfirmOverwrite;
    const QString name = QFileDialog::getSaveFileName(parent, r.title, dialogStartPath(r, true),
                                                      qtNameFilters(r.filter), &selected, options);
    if (name.isEmpty())
        return std::nullopt;
    ricordaCartella(name, true);
    return name;
}

std::optional<quint32> QtFileChooser::chooseColor(quint32 initial, QWidget* parent)
{
    const QColor c = QColorDialog::getColor(vb::toQColor(initial), parent);
    if (!c.isValid())
        return std::nullopt;
    return vb::fromQColor(c);
}

bool QtFileChooser::choosePrinter(QPrinter& printer, int flags, QWidget* parent)
{
    if (flags & printerSetupOnly) {
        QPageSetupDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }
    QPrintDialog dialog(&printer, parent);
    const bool selezione = flags & printerSelection;
    dialog.setOption(QAbstractPrintDialog::PrintSelection, selezione);
    printer.setPrintRange(selezione ? QPrinter::Selection : QPrinter::AllPages);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace platform
