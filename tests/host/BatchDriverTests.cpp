// --batch with pane drivers: the options reach the driver of their pane, the driver works the
// pane's widgets and answers its windows, and what it refuses is reported with status 1.
#include "fixture/StderrCapture.h"
#include "fixture/TestPDEControl.h"

#include <HostOptions.h>
#include <PrintApplication.h>

#include <AboutWindow.h>
#include <HIToolbox/HIToolbox.h>

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using veltra::PaneBatchValues;

QStringList answeredWindows;

const veltra::PaneBatchOption kOptions[] = {
    {"note", "TEXT", "types TEXT into pane A's field"},
    {"refuse", nullptr, "pane A refuses its values"},
    {"alert", "TEXT", "pane A shows an alert while it is filled"},
    {"answer", nullptr, "answers pane A's print-time window"},
    {nullptr, nullptr, nullptr},
};

bool fill(WindowRef, QWidget *pane, const PaneBatchValues &values, std::string *error)
{
    if (values.count("refuse")) {
        *error = "pane A refused the note";
        return false;
    }
    if (const auto alert = values.find("alert"); alert != values.end()) {
        CFRef<CFURLRef> url(CFURLCreateWithFileSystemPath(nullptr, CFSTR(VELTRA_TEST_BUNDLE_DIR),
                                                          kCFURLPOSIXPathStyle, true));
        CFRef<CFStringRef> message(
            CFStringCreateWithCString(nullptr, alert->second.c_str(), kCFStringEncodingUTF8));
        AboutWindow::Present(CFBundleCreate(nullptr, url), message);
    }
    if (const auto note = values.find("note"); note != values.end()) {
        auto *field = pane->findChild<QLineEdit *>();
        if (!field)
            return false;
        QTest::keyClicks(field, QString::fromStdString(note->second));
    }
    return true;
}

bool answer(WindowRef window, const QString &name, const PaneBatchValues &values)
{
    if (!values.count("answer") || name != QLatin1String("Window"))
        return false;
    answeredWindows << name;
    QuitAppModalLoopForWindow(window);
    return true;
}

const veltra::PaneBatchDriver kDriver = {"com.veltra.test.PaneA", kOptions, fill, answer};
const veltra::PaneBatchDriver *const kDrivers[] = {&kDriver, nullptr};

TEST(BatchDrivers, PaneOptionsAreParsedAndListed)
{
    struct Case
    {
        std::vector<std::string> arguments;
        bool ok;
        PaneBatchValues values;
        const char *error;
    };
    const Case cases[] = {
        {{"--note", "a b", "--refuse"}, true, {{"note", "a b"}, {"refuse", "yes"}}, ""},
        {{"--note="}, true, {{"note", ""}}, ""},
        {{"--refuse=no"}, false, {}, "the option --refuse takes no value"},
        {{"--note"}, false, {}, "the option --note needs a value"},
        {{"--print-type", "secure"}, false, {}, "unknown option --print-type"},
    };
    for (const Case &c : cases) {
        veltra::HostOptions options;
        std::string error;
        EXPECT_EQ(veltra::ParseHostOptions(c.arguments, &options, &error, kDrivers), c.ok)
            << c.arguments[0];
        EXPECT_EQ(error, c.error);
        if (c.ok) {
            EXPECT_EQ(options.paneValues, c.values) << c.arguments[0];
        }
    }
    const std::string usage = veltra::HostUsage("veltra-print", kDrivers);
    EXPECT_NE(usage.find("  --note TEXT        types TEXT into pane A's field\n"),
              std::string::npos)
        << usage;
    EXPECT_NE(usage.find("  --refuse           pane A refuses"), std::string::npos) << usage;
}

TEST(BatchDrivers, DriversWorkThePanesAndAnswerTheirWindows)
{
    struct Case
    {
        std::vector<std::string> arguments;
        bool askAtPrint;
        int status;
        const char *said;   // on stderr
        const char *unsaid; // not on stderr
        const char *text;   // pane A's text in the ticket; null: no ticket
    };
    const Case cases[] = {
        {{"--note", "hello"}, false, 0, "", "refused", "hello"},
        {{"--refuse", "--note", "x"},
         false,
         1,
         "veltra-print: pane A refused the note\n",
         "Sync(false)",
         nullptr},
        {{"--alert", "The note is too long."},
         false,
         0,
         "veltra-print: The note is too long.\n",
         "closed unanswered",
         ""},
        {{"--answer"}, true, 0, "dialog: Print", "closed unanswered", ""},
        {{}, true, 0, "closed unanswered", "refused", ""},
    };
    for (const Case &c : cases) {
        QTemporaryDir dir;
        std::vector<std::string> arguments = c.arguments;
        for (const char *word : {"--batch", "--ppd", VELTRA_TEST_DATA_DIR "/Veltra-Test.ppd"})
            arguments.push_back(word);
        arguments.insert(arguments.end(), {"--bundle", testpde::kBundleDir, "--prefs-dir",
                                           dir.filePath("prefs").toStdString(), "--ticket-out",
                                           dir.filePath("ticket").toStdString()});
        veltra::HostOptions options;
        ASSERT_TRUE(veltra::ParseHostOptions(arguments, &options, nullptr, kDrivers));
        testpde::reset();
        testpde::setAskAtPrint(c.askAtPrint);
        answeredWindows.clear();
        StderrCapture capture;
        const int status = veltra::RunPrintApplication(options, kDrivers);
        const std::string said = capture.text();
        testpde::setAskAtPrint(false);

        const std::string label = arguments.front();
        EXPECT_EQ(status, c.status) << label << "\n" << said;
        EXPECT_NE(said.find(c.said), std::string::npos) << label << "\n" << said;
        EXPECT_EQ(said.find(c.unsaid), std::string::npos) << label << "\n" << said;
        EXPECT_EQ(answeredWindows.size(), c.arguments == std::vector<std::string>{"--answer"});
        QFile ticket(dir.filePath("ticket"));
        ASSERT_EQ(ticket.open(QIODevice::ReadOnly), c.text != nullptr) << label;
        if (c.text) {
            EXPECT_NE(ticket.readAll().indexOf("com.veltra.test.A.Text=" + QByteArray(c.text)), -1)
                << label;
        }
    }
}

} // namespace
