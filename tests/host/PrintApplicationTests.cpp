// veltra-print as a user runs it: batch printing to CUPS options, pane drivers working their
// panes and answering their windows, a Print held back by a pane, the printer chooser, a refused
// job in the interactive dialog, and clear errors for bad bundles, PPDs and options.
#include "CupsOptionText.h"
#include "fixture/TestPDEControl.h"

#include <AboutWindow.h>
#include <HostOptions.h>
#include <PrintApplication.h>
#include <PrintDialog.h>
#include <PrinterList.h>

#include <HIToolbox/HIToolbox.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cups/cups.h>

#include <gtest/gtest.h>

namespace {

using Options = CupsOptionMap;
const std::string kTestPPD = VELTRA_TEST_DATA_DIR "/Veltra-Test.ppd";

const veltra::PaneBatchOption kOptions[] = {
    {"note", "TEXT", "types TEXT into pane A's field"},
    {"refuse", nullptr, "pane A refuses its values"},
    {"alert", "TEXT", "pane A shows an alert while it is filled"},
    {"answer", nullptr, "answers pane A's print-time window"},
    {nullptr, nullptr, nullptr},
};

// A driver of pane A: types the note into its field, refuses, shows an alert, answers its window.
const veltra::PaneBatchDriver kDriver = {
    "com.veltra.test.PaneA", kOptions,
    [](WindowRef, QWidget *pane, const veltra::PaneBatchValues &values, std::string *error) {
        if (values.count("refuse")) {
            *error = "pane A refused";
            return false;
        }
        if (values.count("alert")) {
            CFRef<CFStringRef> message(CFStringCreateWithCString(
                nullptr, values.at("alert").c_str(), kCFStringEncodingUTF8));
            AboutWindow::Present(CFBundleCreate(nullptr, testpde::urlOf(VELTRA_TEST_BUNDLE_DIR)),
                                 message);
        }
        auto *field = pane->findChild<QLineEdit *>();
        if (values.count("note") && field)
            QTest::keyClicks(field, QString::fromStdString(values.at("note")));
        return field != nullptr;
    },
    [](WindowRef window, const QString &name, const veltra::PaneBatchValues &values) {
        if (!values.count("answer") || name != QLatin1String("Window"))
            return false;
        std::fputs("driver: answered Window\n", stderr);
        QuitAppModalLoopForWindow(window);
        return true;
    }};
const veltra::PaneBatchDriver *const kDrivers[] = {&kDriver, nullptr};

// "XX" as the UUID XXXXXXXX-0000-4000-8000-0000000000XX.
QString id(const char *hex)
{
    return QString(hex).repeated(4) + "-0000-4000-8000-0000000000" + hex;
}

TEST(PrintApplication, BatchRunsEndWithTheStatusMessagesAndTicketOfWhatHappened)
{
    QTemporaryDir dir;
    QFile badPPD(dir.filePath("Broken.ppd"));
    ASSERT_TRUE(badPPD.open(QIODevice::WriteOnly) && badPPD.write("not a printer description\n"));
    badPPD.close();
    // Plug-in bundles of the test module with these factories and one type of these factories.
    const auto plugIn = [&](const char *name, const QString &factories, const char *type,
                            const QString &factory) {
        testpde::writePlugIn(
            dir, name,
            ("<plist><dict><key>CFBundleExecutable</key><string>TestPDE.so</string><key>"
             "CFPlugInFactories</key><dict>" +
             factories + "</dict><key>CFPlugInTypes</key><dict><key>" + type +
             "</key><array><string>" + factory + "</string></array></dict></dict></plist>")
                .toStdString());
    };
    plugIn("Mixed.plugin",
           "<key>not-a-uuid</key><string>VeltraTestPaneFactoryA</string><key>" + id("56") +
               "</key><integer>3</integer><key>" + id("78") +
               "</key><string>VeltraTestOtherFactory</string>",
           "0F0F0F0F-0000-4000-8000-000000000003", id("78") + "</string><string>" + id("90"));
    plugIn("Missing.plugin", "<key>" + id("CC") + "</key><string>NoSuchFactory</string>",
           "BDB091F4-E57F-11D3-B5CC-0050E4603277", id("CC"));
    cupsSetServer("127.0.0.1:1"); // no CUPS server listens there
    // Arguments: %B is --bundle <test bundle> --ppd <test PPD> --batch, %b the bundle, %p the
    // PPD, %d a directory; @setting: a setting of the test module. Said: on standard error, parts
    // split by |, !part: not said. Written: the ticket (--ticket-out, or standard output).
    const struct
    {
        const char *arguments;
        int status;
        const char *said;
        Options written; // of com.veltra.test.
    } rows[] = {
        // Every callback's answer is reported.
        {"%B",
         0,
         "pane 1 (com.veltra.test.PaneA): Prologue -> 0|pane 2 (com.veltra.test.PaneB): Initialize "
         "-> 0|dialog: Print -> -9874|pane 1 (com.veltra.test.PaneA): Sync(false) -> 0|pane 2 "
         "(com.veltra.test.PaneB): Terminate -> 0|summary: Test Pane A: Test Setting: Value A",
         {{"A.Synced", "yes"},
          {"B.Synced", "yes"},
          {"A.Note", "it's a \"quoted\" value"},
          {"A.Text", ""}}},
        {"%B --ticket-out %d/ticket --prefs-dir %d/prefs --printer Office",
         0,
         "",
         {{"B.Synced", "yes"}}},
        {"%B --lang ja", 0, "summary: テストA: ", {{"A.Synced", "yes"}}},
        {"%B @veto=1", 1, "held back|Terminate -> 0|!Sync(false)", {}},
        // A failed callback leaves its pane out (B: not offered, without its nib's widgets, but
        // still asked for its settings), empty or unwritten.
        {"%B @B:Initialize=-9530",
         0,
         "PaneB): Initialize -> -9530 (the pane is not offered for this printer)",
         {{"B.Synced", "yes"}, {"B.Text", ""}}},
        {"%B @A:Sync(false)=-9531",
         0,
         "pane 1 (com.veltra.test.PaneA): Sync(false) -> -9531",
         {{"A.Synced", ""}, {"B.Synced", "yes"}}},
        {"%B @A:Prologue=-9530",
         0,
         "pane 1 (com.veltra.test.PaneB): Initialize -> 0",
         {{"A.Synced", ""}, {"B.Synced", "yes"}}},
        // The driver of pane A works its widgets and answers its windows.
        {"%B --note hello", 0, "!refused", {{"A.Text", "hello"}}},
        {"%B --refuse --note x", 1, "veltra-print: pane A refused\n|!Sync(false)", {}},
        {"%B --alert Alert!", 0, "veltra-print: Alert!\n|!closed unanswered", {{"A.Text", ""}}},
        {"%B --answer @ask=1",
         0,
         "driver: answered Window|dialog: Print|!closed unanswered",
         {{"A.Synced", "yes"}}},
        {"%B @ask=1", 0, "closed unanswered|!driver: answered", {{"A.Synced", "yes"}}},
        // Bundles that cannot be used are refused with a message that says why; bad factory
        // entries are skipped and named.
        {"--bundle %d/Nowhere.plugin --ppd %p --batch", 3, "no plug-in bundle at", {}},
        {"--bundle %t/bundles/NoFactories.plugin --ppd %p --batch",
         3,
         "NoFactories.plugin is not a plug-in: its Info.plist names no factories",
         {}},
        {"--bundle %t/bundles/Malformed.plugin --ppd %p --batch",
         3,
         "missing or damaged|Malformed.plugin",
         {}},
        {"--bundle %d/Mixed.plugin --ppd %p --batch",
         3,
         "no printing dialog extension "
         "factory|not-a-uuid|56565656-0000-4000-8000-000000000056|does not name",
         {}},
        // A factory the module does not export leaves no pane, and says so.
        {"--bundle %d/Missing.plugin --ppd %p --batch",
         3,
         "no printing dialog extension could be created|NoSuchFactory",
         {}},
        {"--bundle %b --ppd %d/Broken.ppd --batch", 3, "cannot open PPD", {}},
        {"--bundle %b --ppd %d/Missing.ppd --batch", 3, "No such file or directory", {}},
        // Printing to CUPS: what can be checked is checked before a job exists.
        {"%B -d Office -o note=%x",
         3,
         "note is 256 bytes; CUPS takes at most 255; nothing is printed",
         {}},
        {"%B -d Office %d/Missing.txt",
         3,
         "Missing.txt: No such file or directory; nothing is printed",
         {}},
        {"%B -d Office %p", 3, "cannot reach the CUPS server 127.0.0.1", {}},
        {"--bundle %b --batch -d Office", 3, "Office has no PPD to open", {}},
        // The command line is checked first (status 2), pane options included.
        {"%B --note= --refuse=no", 2, "the option --refuse takes no value", {}},
        {"%B --note", 2, "the option --note needs a value", {}},
        {"%B --colour red", 2, "unknown option --colour", {}},
        {"%B -n 0", 2, "must be a number from 1 to 9999, not 0", {}},
        {"%B --note=", 0, "", {{"A.Text", ""}}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.arguments);
        std::vector<std::string> arguments;
        testpde::set("reset");
        for (const QString &word : QString(row.arguments)
                                       .replace("%B", "--bundle %b --ppd %p --batch")
                                       .replace("%b", QString::fromStdString(testpde::kBundleDir))
                                       .replace("%p", QString::fromStdString(kTestPPD))
                                       .replace("%d", dir.path())
                                       .replace("%t", VELTRA_TEST_DATA_DIR)
                                       .replace("%x", QString(256, 'x'))
                                       .split(' '))
            word.startsWith('@') ? testpde::set(word.mid(1).toLatin1())
                                 : arguments.push_back(word.toStdString());
        veltra::HostOptions parsed;
        std::string error;
        if (!veltra::ParseHostOptions(arguments, &parsed, &error, kDrivers)) {
            EXPECT_EQ(row.status, veltra::kHostUsage);
            EXPECT_NE(error.find(row.said), std::string::npos) << error;
            continue;
        }
        QFile::remove(dir.filePath("ticket"));
        StderrCapture err, out(stdout);
        EXPECT_EQ(veltra::RunPrintApplication(parsed, kDrivers), row.status);
        std::string ticket = out.text();
        const QString said = QString::fromStdString(err.text());
        VeltraBundleSetLanguage("en");
        for (const QString &part : QString(row.said).split('|', Qt::SkipEmptyParts))
            EXPECT_NE(said.contains(part.mid(part.startsWith('!'))), part.startsWith('!'))
                << said.toStdString();
        QFile file(dir.filePath("ticket"));
        if (file.open(QIODevice::ReadOnly)) {
            EXPECT_EQ(ticket, "") << "the ticket goes to the file only";
            ticket = file.readAll().toStdString();
        }
        EXPECT_EQ(ticket.empty(), row.written.empty()) << ticket;
        Options written = row.written.empty() ? Options() : ParseCupsOptions(ticket);
        for (const auto &[key, value] : row.written)
            EXPECT_EQ(written["com.veltra.test." + key], value) << key;
    }
    testpde::set("reset");
    cupsSetServer(nullptr);

    // The usage lists the drivers' options.
    for (const char *line :
         {"  --note TEXT        types TEXT into pane A's field\n", "--ticket-out FILE"})
        EXPECT_NE(veltra::HostUsage("veltra-print", kDrivers).find(line), std::string::npos);

    // Without a display it runs off-screen in batch mode.
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        qunsetenv(name);
    veltra::HostOptions options;
    EXPECT_NE(veltra::ChooseDisplayMode(&options).find("running off-screen in batch mode"),
              std::string::npos);
    EXPECT_TRUE(options.batch);
    qputenv("QT_QPA_PLATFORM", platform);
}

TEST(PrinterChoice, WithoutCupsSamplePrintersAreOfferedARefusedPrinterOrJobLeavesTheDialogAsItWas)
{
    cupsSetServer("/nonexistent/veltra-test/cups.sock"); // a server socket nobody listens on
    std::string message, error;
    const std::vector<veltra::PrinterChoice> printers =
        veltra::ListPrinters(VELTRA_SAMPLE_PPD_DIR, &message);
    EXPECT_NE(message.find("the CUPS printers cannot be listed"), std::string::npos) << message;
    std::vector<std::string> ids; // and no CUPS destinations
    for (const veltra::PrinterChoice &printer : printers)
        ids.push_back(printer.id + printer.destination);
    EXPECT_EQ(ids, (std::vector<std::string>{"Veltra_LX3100", "Veltra_LX4200", "Veltra_LX5300",
                                             "Veltra_Sample"}));
    EXPECT_EQ(printers.back().label, "Veltra Sample (sample)");
    EXPECT_NE(veltra::OpenPrinterPPD(printers.back(), &error), nullptr) << error;
    veltra::PrinterChoice queue;
    queue.id = queue.destination = "Office";
    EXPECT_EQ(veltra::OpenPrinterPPD(queue, &error), nullptr);
    EXPECT_NE(error.find("the CUPS destination Office has no PPD"), std::string::npos) << error;
    error.clear();
    EXPECT_EQ(
        veltra::OpenPrinterPPD(veltra::SamplePrinter(VELTRA_TEST_DATA_DIR "/missing.ppd"), &error),
        nullptr);
    EXPECT_FALSE(error.empty());
    cupsSetServer(nullptr);

    veltra::PrintDialog dialog(QStringLiteral("First"));
    dialog.setPrinters({"First", "Second", "Third"}, 0);
    std::vector<int> asked;
    dialog.setPrinterHandler([&](int row) {
        asked.push_back(row);
        return row != 1; // the second printer cannot be opened
    });
    dialog.show();
    QComboBox *chooser = dialog.printerPopup();
    chooser->setFocus();
    QTest::keyClick(chooser, Qt::Key_Down);
    EXPECT_EQ(chooser->currentIndex(), 0);
    chooser->setCurrentIndex(2);
    EXPECT_EQ(chooser->currentIndex(), 2);
    EXPECT_EQ(asked, (std::vector<int>{1, 2}));

    // The interactive dialog printing to a CUPS queue that cannot be reached: the user is told
    // why, the dialog stays open, and Cancel can still be pressed.
    QTemporaryDir prefs;
    veltra::HostOptions options;
    ASSERT_TRUE(veltra::ParseHostOptions({"--bundle", testpde::kBundleDir, "--ppd", kTestPPD, "-d",
                                          "Office", "--prefs-dir", prefs.path().toStdString()},
                                         &options, nullptr));
    cupsSetServer("127.0.0.1:9"); // nothing listens on the discard port
    // Plays the user: Print, confirm the message, then Cancel in the dialog that is still open.
    // Clicks come later, not from inside this tick: the message box runs its own loop.
    int presses = 0;
    QString shown;
    bool openAfterMessage = false;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            shown = box->text();
            QTimer::singleShot(0, box->button(QMessageBox::Ok), &QPushButton::click);
        } else if (auto *dialog = dynamic_cast<veltra::PrintDialog *>(modal)) {
            openAfterMessage = presses++ > 0 && dialog->isVisible() && !shown.isEmpty();
            QTimer::singleShot(0, presses == 1 ? dialog->printButton() : dialog->cancelButton(),
                               &QPushButton::click);
        }
    });
    user.start(20);
    const int status = veltra::RunPrintApplication(options);
    cupsSetServer(nullptr);
    EXPECT_TRUE(shown.startsWith("The job was not printed: cannot reach the CUPS server"))
        << shown.toStdString();
    EXPECT_TRUE(openAfterMessage);
    EXPECT_EQ(status, veltra::kHostRefused);
}

} // namespace
