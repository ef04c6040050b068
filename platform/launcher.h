#pragma once
// Starting other programs: a web address, the desktop calculator, the
// user's own external program. Nothing goes through a shell.
#include <QString>
#include <QStringList>

namespace platform {

class Launcher {
public:
    virtual ~Launcher() = default;
    // Opens a URL (or a local file) with the desktop's default program.
    virtual bool openUrl(const QString& url) = 0;
    // Starts the desktop calculator; false with a reason when there is none.
    virtual bool openCalculator(QString* error = nullptr) = 0;
    // Starts `program` with `arguments` split as a shell splits a command
    // line (see splitArguments); no shell runs.
    virtual bool startProgram(const QString& program, const QString& arguments,
                              QString* error = nullptr) = 0;
};

// The argument list of a command line, split as a POSIX shell splits it:
// blanks separate arguments; single quotes keep everything up to the next
// single quote; double quotes group blanks, with a backslash escaping
// $ ` " and \\ inside them; a backslash outside quotes escapes the next
// character. Nothing is expanded: $HOME, * and ; stay as they are.
QStringList splitArguments(const QString& arguments);

class QtLauncher : public Launcher {
public:
    bool openUrl(const QString& url) override;
    bool openCalculator(QString* error = nullptr) override;
    bool startProgram(const QString& program, const QString& arguments,
                      QString* error = nullptr) override;
};

} // namespace platform
