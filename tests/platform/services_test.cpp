// The fakes behave as the real services would for their callers, and the
// message box codes map to the right buttons and answers.
#include "platform/fakes.h"

#include <QPrinter>
#include <gtest/gtest.h>

using namespace platform;

TEST(MsgBoxCodes, ButtonsDefaultsAndEscape)
{
    EXPECT_EQ(msgBoxButtons(vbOKOnly), (QList<int>{vbOK}));
    EXPECT_EQ(msgBoxButtons(vbYesNo | vbQuestion), (QList<int>{vbYes, vbNo}));
    EXPECT_EQ(msgBoxButtons(vbYesNoCancel), (QList<int>{vbYes, vbNo, vbCancel}));
    EXPECT_EQ(msgBoxButtons(vbOKCancel | vbExclamation), (QList<int>{vbOK, vbCancel}));
    EXPECT_EQ(msgBoxDefaultAnswer(vbYesNo | vbQuestion), vbYes);
    EXPECT_EQ(msgBoxDefaultAnswer(vbYesNo | vbDefaultButton2), vbNo);
    EXPECT_EQ(msgBoxDefaultAnswer(vbOKOnly | vbDefaultButton3), vbOK); // no third button
    EXPECT_EQ(msgBoxEscapeAnswer(vbYesNo), vbNo);
    EXPECT_EQ(msgBoxEscapeAnswer(vbOKCancel), vbCancel);
    EXPECT_EQ(msgBoxEscapeAnswer(vbOKOnly | vbInformation), vbOK);
    EXPECT_EQ(msgBoxEscapeAnswer(vbAbortRetryIgnore), 0);
}

TEST(FakeServicesTest, InstalledForOneScopeAndRecordingCalls)
{
    const Services before = services();
    {
        FakeServices fakes;
        ScopedServices scope(fakes.services());
        setApplicationTitle(QStringLiteral("Astrovela"));
        fakes.prompt.answers = {vbNo};
        EXPECT_EQ(MsgBox(QStringLiteral("Quit?"), vbYesNo | vbQuestion), vbNo);
        EXPECT_EQ(MsgBox(QStringLiteral("Done"), vbInformation, QStringLiteral("file.txt")), vbOK);
        ASSERT_EQ(fakes.prompt.calls.size(), 2);
        EXPECT_EQ(fakes.prompt.calls[0].title, "Astrovela");
        EXPECT_EQ(fakes.prompt.calls[1].title, "file.txt");
        EXPECT_EQ(fakes.prompt.texts(), (QStringList{"Quit?", "Done"}));

        fakes.files.fileAnswers = {QStringLiteral("/tmp/a.txt")};
        EXPECT_EQ(services().files->openFile({}), QStringLiteral("/tmp/a.txt"));
        EXPECT_FALSE(services().files->saveFile({})); // script exhausted: cancel
        QPrinter printer;
        EXPECT_FALSE(services().files->choosePrinter(printer));
        fakes.files.printerAnswers = {QStringLiteral("/tmp/p.pdf")};
        EXPECT_TRUE(services().files->choosePrinter(printer, printerSetupOnly));
        EXPECT_EQ(printer.outputFileName(), "/tmp/p.pdf");
        EXPECT_EQ(fakes.files.calls.last().flags, printerSetupOnly);

        fakes.launcher.succeed = false;
        QString error;
        EXPECT_FALSE(services().launcher->startProgram(QStringLiteral("/usr/bin/prog"),
                                                      QStringLiteral("-a \"two words\""), &error));
        EXPECT_EQ(error, fakes.launcher.failure);
        EXPECT_EQ(fakes.launcher.calls[0].arguments, (QStringList{"-a", "two words"}));

        fakes.help.available = false;
        services().help->setHelpFile(QStringLiteral("Astrovela.html"));
        EXPECT_FALSE(services().help->showContext(80));
        EXPECT_EQ(fakes.help.calls[0].context, 80);
        EXPECT_EQ(fakes.help.calls[0].helpFile, "Astrovela.html");

        fakes.timeZone.state.reset();
        EXPECT_FALSE(services().timeZone->current());
        fakes.network.connected = false;
        EXPECT_FALSE(services().network->isConnected());
        fakes.clock.succeed = false;
        EXPECT_FALSE(services().clock->setSystemClock(QDateTime::currentDateTimeUtc(), &error));
        EXPECT_EQ(fakes.clock.calls.size(), 1);
    }
    EXPECT_EQ(services().prompt, before.prompt);
    EXPECT_EQ(services().settings, before.settings);
}
