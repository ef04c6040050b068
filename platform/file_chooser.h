#pragma once
// The common dialogs: choose a file to open or to save, a colour, a printer.
// Every method returns nothing (or false) when the user cancels, so a caller
// ends its command quietly on a cancel.
#include <QString>
#include <optional>

class QPrinter;
class QWidget;

namespace platform {

struct FileDialogRequest {
    QString title;
    QString fileName;       // proposed file (may carry a folder)
    QString initialFolder;  // used when fileName names no folder; when empty, dialogFolder(save)
    // "Description|pattern[;pattern]|Description|pattern..." as the classic
    // dialogs take it, e.g. "Element files (*.txt)|*.txt;*.tle|All files|*.*".
    QString filter;
    int filterIndex = 1;    // 1-based
    int flags = 0;          // fileOverwritePrompt ...
};

// Ask before overwriting an existing file (save dialog).
inline constexpr int fileOverwritePrompt = 2;
// Printer dialog: set up the printer only, print nothing now.
inline constexpr int printerSetupOnly = 64;
// Printer dialog: offer to print only the selection, chosen at the start.
inline constexpr int printerSelection = 1;

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The file chosen to be read. One that cannot be read as a file (see
    // chosenFileReadable) has already been refused here with a message
    // naming it, and nothing is returned, as on a cancel: no caller needs
    // to look at it again.
    std::optional<QString> openFile(const FileDialogRequest& request, QWidget* parent = nullptr);
    virtual std::optional<QString> saveFile(const FileDialogRequest& request, QWidget* parent = nullptr) = 0;
    // Colours are classic values R + 256 G + 65536 B.
    virtual std::optional<quint32> chooseColor(quint32 initial, QWidget* parent = nullptr) = 0;
    // Lets the user choose and set up `printer` (flags: printerSetupOnly,
    // printerSelection; with the latter the printer's print range tells
    // afterwards whether the user kept "Selection").
    // False when cancelled; the printer is then unchanged.
    virtual bool choosePrinter(QPrinter& printer, int flags = 0, QWidget* parent = nullptr) = 0;

protected:
    // The open dialog itself: the name the user chose, or nothing on a cancel.
    virtual std::optional<QString> chooseOpenFile(const FileDialogRequest& request, QWidget* parent) = 0;
};

// A file chosen to be read that is not an ordinary file (a named pipe, a
// device, a folder: typed into the dialog's name box), or that cannot be
// looked at (in a folder the user may not enter), is refused with a message
// naming it, with the system's reason for the latter; false then, true for
// anything else (an ordinary file, or one that is not there, which the
// caller handles as it always has). FileChooser::openFile asks it of every
// file chosen.
bool chosenFileReadable(const QString& path);

// The printer the program prints on: the one last chosen in a printer
// dialog, kept for the whole run.
QPrinter& applicationPrinter();

// Where a file dialog opens when its request names no folder: the folder of
// the file last chosen in a dialog of this run to open (or, for `save`, to
// save) a file, else the user's documents folder, else the home folder. Of
// these, only a folder the user may enter and list (and, for `save`, write)
// is offered; the home folder comes last whatever it allows.
QString dialogFolder(bool save = false);
// The file or folder a dialog for `request` starts at: the folder of its
// file name when that is absolute, else its own folder, else dialogFolder,
// each only as dialogFolder offers one; the file name stays the same.
QString dialogStartPath(const FileDialogRequest& request, bool save = false);

// "Desc|*.a;*.b|All|*.*" -> "Desc (*.a *.b);;All (*.*)" for Qt's dialogs.
QString qtNameFilters(const QString& classicFilter);
// The n-th (1-based) Qt filter of the converted list, or "" when out of range.
QString qtNameFilterAt(const QString& classicFilter, int index);

class QtFileChooser : public FileChooser {
public:
    std::optional<QString> saveFile(const FileDialogRequest& request, QWidget* parent = nullptr) override;
    std::optional<quint32> chooseColor(quint32 initial, QWidget* parent = nullptr) override;
    bool choosePrinter(QPrinter& printer, int flags = 0, QWidget* parent = nullptr) override;

protected:
    std::optional<QString> chooseOpenFile(const FileDialogRequest& request, QWidget* parent) override;
};

} // namespace platform
