#include "platform/launcher.h"

#include "platform/language_texts.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform {

namespace {
// A reason shown to the user, from the main window's texts of the language
// file (the Tools menu shows it), naming the program.
QString motivo(const char* chiave, const QString& programma = {})
{
    return Testo_Motivo(QStringLiteral("MDIForm1"), QLatin1String(chiave),
                        programma.isEmpty() ? QStringList() : QStringList{programma});
}
} // namespace

QStringList splitArguments(const QString& arguments)
{
    // The word splitting and quote removal of a POSIX shell, and nothing
    // else: no variables, globs, redirections or command separators.
    QStringList out;
    QString cur;
    bool have = false;   // a word has begun (an empty '' or "" counts)
    const qsizetype n = arguments.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = arguments[i];
        if (c == u'\'') {
            // Everything up to the next single quote, as it stands.
            have = true;
            for (++i; i < n && arguments[i] != u'\''; ++i)
                cur += arguments[i];
        } else if (c == u'"') {
            // Up to the next unescaped double quote; a backslash escapes only
            // $ ` " \ and the line end there.
            have = true;
            for (++i; i < n && arguments[i] != u'"'; ++i) {
                if (arguments[i] == u'\\' && i + 1 < n &&
                    QStringView(u"$`\"\\\n").contains(arguments[i + 1])) {
                    ++i;
                    if (arguments[i] == u'\n')
                        continue;
                }
                cur += arguments[i];
            }
        } else if (c == u'\\') {
            // The next character as it is; a backslash before a line end joins lines.
            have = true;
            if (i + 1 < n) {
                ++i;
                if (arguments[i] != u'\n')
                    cur += arguments[i];
            }
        } else if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r') {
            if (have)
                out << cur;
            cur.clear();
            have = false;
        } else {
            cur += c;
            have = true;
        }
    }
    if (have)
        out << cur;
    return out;
}

bool QtLauncher::openUrl(const QString& url)
{
    const QString t = url.trimmed();
    if (t.isEmpty())
        return false;
    QUrl u = QUrl::fromUserInput(t);
    return u.isValid() && QDesktopServices::openUrl(u);
}

bool QtLauncher::openCalculator(QString* error)
{
    for (const char* name : {"gnome-calculator", "kcalc", "mate-calc", "galculator",
                             "qalculate-gtk", "qalculate-qt", "xcalc"}) {
        const QString exe = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!exe.isEmpty() && QProcess::startDetached(exe, {}))
            return true;
    }
    if (error)
        *error = motivo("nocalcolatrice");
    return false;
}

bool QtLauncher::startProgram(const QString& program, const QString& arguments, QString* error)
{
    const QString prog = program.trimmed();
    if (prog.isEmpty()) {
        if (error)
            *error = motivo("nessunprogramma");
        return false;
    }
    QString exe = prog;
    QStringList args = splitArguments(arguments);
    // A program setting that carries its own arguments ("gedit --new-window")
    // and names no existing file: its first word is the program.
    if (!QFileInfo::exists(prog) && QStandardPaths::findExecutable(prog).isEmpty()) {
        QStringList words = splitArguments(prog);
        if (words.size() > 1) {
            exe = words.takeFirst();
            args = words + args;
        }
    }
    const QString shown = exe;
    if (!exe.contains(u'/')) {
        exe = QStandardPaths::findExecutable(shown);
        if (exe.isEmpty()) {
            if (error)
                *error = motivo("programmanontrovato", prog);
            return false;
        }
    } else {
        const QFileInfo info(exe);
        if (!info.exists()) {
            if (error)
                *error = motivo("programmanontrovato", prog);
            return false;
        }
        if (!info.isFile() || !info.isExecutable()) {
            if (error)
                *error = motivo("programmanoneseguibile", prog);
            return false;
        }
    }
    QProcess process;
    process.setProgram(exe);
    process.setArguments(args);
    qint64 pid = 0;
    if (!process.startDetached(&pid)) {
        if (error)
            *error = motivo("programmanonavviato", prog);
        return false;
    }
    return true;
}

} // namespace platform
