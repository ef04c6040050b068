#pragma once
// Fakes of every platform service, for tests: they answer from a script and
// record every call. Install them for one test with
//
//   platform::FakeServices fakes;
//   platform::ScopedServices scope(fakes.services());
//   fakes.prompt.answers = {platform::vbYes};
//   ... run the code ...
//   ASSERT_EQ(fakes.prompt.calls.size(), 1);
//   EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbYesNo | platform::vbQuestion);
#include "platform/clock_setter.h"
#include "platform/file_chooser.h"
#include "platform/help_service.h"
#include "platform/launcher.h"
#include "platform/network_check.h"
#include "platform/prompt.h"
#include "platform/services.h"
#include "platform/settings_store.h"
#include "platform/time_zone_info.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

class FakePrompt : public Prompt {
public:
    struct Call {
        QString text;
        int flags = 0;
        QString title; // as the box would show it (the application's title when none was given)
    };
    // Answers given in order; when they run out, the default button's answer.
    QList<int> answers;
    QList<Call> calls;

    int MsgBox(const QString& text, int flags, const QString& title = {}) override;
    // The texts of all boxes shown so far.
    QStringList texts() const;
};

class FakeFileChooser : public FileChooser {
public:
    enum class Kind { Open, Save, Color, Printer };
    struct Call {
        Kind kind = Kind::Open;
        FileDialogRequest request; // Open and Save
        quint32 initialColor = 0;  // Color
        int flags = 0;             // Printer
    };
    // Scripted answers, one list per dialog; nothing (std::nullopt) or an
    // exhausted list means the user cancelled.
    QList<std::optional<QString>> fileAnswers;   // open and save dialogs
    QList<std::optional<quint32>> colorAnswers;
    // For the printer dialog: the PDF file the chosen printer writes to.
    QList<std::optional<QString>> printerAnswers;
    QList<Call> calls;

    std::optional<QString> saveFile(const FileDialogRequest& request, QWidget* parent = nullptr) override;
    std::optional<quint32> chooseColor(quint32 initial, QWidget* parent = nullptr) override;
    bool choosePrinter(QPrinter& printer, int flags = 0, QWidget* parent = nullptr) override;

protected:
    // The scripted answer; openFile then refuses, as with the real dialog,
    // a chosen file that cannot be read.
    std::optional<QString> chooseOpenFile(const FileDialogRequest& request, QWidget* parent) override;
};

class FakeHelpService : public HelpService {
public:
    enum class Kind { Contents, Search, Context };
    struct Call {
        Kind kind = Kind::Contents;
        QString helpFile;
        int context = 0;
        QString keyword;
    };
    // False: behave as when the help file does not exist.
    bool available = true;
    QList<Call> calls;

    void setHelpFile(const QString& file) override { m_file = file; }
    QString helpFile() const override { return m_file; }
    bool showContents(QWidget* parent = nullptr) override;
    bool searchKeyword(const QString& keyword = {}, QWidget* parent = nullptr) override;
    bool showContext(int context, QWidget* parent = nullptr) override;

private:
    QString m_file;
};

class FakeLauncher : public Launcher {
public:
    enum class Kind { Url, Calculator, Program };
    struct Call {
        Kind kind = Kind::Url;
        QString target;          // URL or program
        QStringList arguments;   // already split
    };
    bool succeed = true;
    QString failure = QStringLiteral("The program could not be started.");
    QList<Call> calls;

    bool openUrl(const QString& url) override;
    bool openCalculator(QString* error = nullptr) override;
    bool startProgram(const QString& program, const QString& arguments,
                      QString* error = nullptr) override;
};

class FakeTimeZoneInfo : public TimeZoneInfo {
public:
    std::optional<TimeZoneState> state = TimeZoneState{};
    mutable int calls = 0;
    std::optional<TimeZoneState> current() const override;
};

class FakeNetworkCheck : public NetworkCheck {
public:
    bool connected = true;
    mutable int calls = 0;
    bool isConnected() const override;
};

class FakeClockSetter : public ClockSetter {
public:
    bool succeed = true;
    QString failure = QStringLiteral("Operation not permitted");
    QList<QDateTime> calls; // the universal times asked for
    bool setSystemClock(const QDateTime& utc, QString* error = nullptr) override;
};

// One fake of every service.
struct FakeServices {
    MemorySettingsStore settings;
    FakePrompt prompt;
    FakeFileChooser files;
    FakeHelpService help;
    FakeLauncher launcher;
    FakeTimeZoneInfo timeZone;
    FakeNetworkCheck network;
    FakeClockSetter clock;

    Services services();
};

} // namespace platform
