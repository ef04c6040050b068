#include "platform/fakes.h"

#include <QPrinter>

namespace platform {

namespace {
template <typename T>
std::optional<T> takeAnswer(QList<std::optional<T>>& answers)
{
    if (answers.isEmpty())
        return std::nullopt;
    return answers.takeFirst();
}
} // namespace

int FakePrompt::MsgBox(const QString& text, int flags, const QString& title)
{
    calls.append({text, flags, title.isEmpty() ? applicationTitle() : title});
    if (!answers.isEmpty())
        return answers.takeFirst();
    return msgBoxDefaultAnswer(flags);
}

QStringList FakePrompt::texts() const
{
    QStringList out;
    for (const Call& c : calls)
        out << c.text;
    return out;
}

std::optional<QString> FakeFileChooser::chooseOpenFile(const FileDialogRequest& request, QWidget*)
{
    Call c;
    c.kind = Kind::Open;
    c.request = request;
    calls.append(c);
    return takeAnswer(fileAnswers);
}

std::optional<QString> FakeFileChooser::saveFile(const FileDialogRequest& request, QWidget*)
{
    Call c;
    c.kind = Kind::Save;
    c.request = request;
    calls.append(c);
    return takeAnswer(fileAnswers);
}

std::optional<quint32> FakeFileChooser::chooseColor(quint32 initial, QWidget*)
{
    Call c;
    c.kind = Kind::Color;
    c.initialColor = initial;
    calls.append(c);
    return takeAnswer(colorAnswers);
}

bool FakeFileChooser::choosePrinter(QPrinter& printer, int flags, QWidget*)
{
    Call c;
    c.kind = Kind::Printer;
    c.flags = flags;
    calls.append(c);
    // As the real dialog opens: "Selection" chosen when it is offered.
    if (!(flags & printerSetupOnly))
        printer.setPrintRange(flags & printerSelection ? QPrinter::Selection : QPrinter::AllPages);
    const std::optional<QString> pdf = takeAnswer(printerAnswers);
    if (!pdf)
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*pdf);
    return true;
}

bool FakeHelpService::showContents(QWidget*)
{
    calls.append({Kind::Contents, m_file, 0, {}});
    return available;
}

bool FakeHelpService::searchKeyword(const QString& keyword, QWidget*)
{
    calls.append({Kind::Search, m_file, 0, keyword});
    return available;
}

bool FakeHelpService::showContext(int context, QWidget*)
{
    calls.append({Kind::Context, m_file, context, {}});
    return available;
}

bool FakeLauncher::openUrl(const QString& url)
{
    calls.append({Kind::Url, url, {}});
    return succeed;
}

bool FakeLauncher::openCalculator(QString* error)
{
    calls.append({Kind::Calculator, {}, {}});
    if (!succeed && error)
        *error = failure;
    return succeed;
}

bool FakeLauncher::startProgram(const QString& program, const QString& arguments, QString* error)
{
    calls.append({Kind::Program, program, splitArguments(arguments)});
    if (!succeed && error)
        *error = failure;
    return succeed;
}

std::optional<TimeZoneState> FakeTimeZoneInfo::current() const
{
    ++calls;
    return state;
}

bool FakeNetworkCheck::isConnected() const
{
    ++calls;
    return connected;
}

bool FakeClockSetter::setSystemClock(const QDateTime& utc, QString* error)
{
    calls.append(utc);
    if (!succeed && error)
        *error = failure;
    return succeed;
}

Services FakeServices::services()
{
    Services s;
    s.settings = &settings;
    s.prompt = &prompt;
    s.files = &files;
    s.help = &help;
    s.launcher = &launcher;
    s.timeZone = &timeZone;
    s.network = &network;
    s.clock = &clock;
    return s;
}

} // namespace platform
