// veltra-print as a user runs it: batch printing to CUPS options, a Print held back by a pane,
// and clear errors for bad bundles, PPDs and options.
#include "fixture/TestPDEControl.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cups/cups.h>

#include <map>

#include <gtest/gtest.h>

namespace {

const QString kProgram = QStringLiteral(VELTRA_HOST_EXECUTABLE);
const QString kTestBundle = QString::fromStdString(testpde::kBundleDir);
const QString kTestPPD = QStringLiteral(VELTRA_TEST_DATA_DIR "/Veltra-Test.ppd");

struct ProgramRun
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

ProgramRun run(const QStringList &arguments, const QProcessEnvironment &extra = {},
               const QStringList &unset = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("LC_ALL", "C.UTF-8");
    for (const QString &name : unset)
        environment.remove(name);
    for (const QString &name : extra.keys())
        environment.insert(name, extra.value(name));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(kProgram, arguments);
    ProgramRun result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        result.err = "veltra-print did not finish";
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}

QProcessEnvironment with(const char *name, const char *value)
{
    QProcessEnvironment environment;
    environment.insert(name, value);
    return environment;
}

// Every output line read back as the CUPS filters read job options.
std::map<std::string, std::string> options(const std::string &text)
{
    std::map<std::string, std::string> result;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        cups_option_t *parsed = nullptr;
        const int count = cupsParseOptions(line.c_str(), 0, &parsed);
        EXPECT_EQ(count, 1) << "line: " << line;
        for (int i = 0; i < count; ++i)
            result[parsed[i].name] = parsed[i].value;
        cupsFreeOptions(count, parsed);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return result;
}

TEST(VeltraPrint, BatchPrintWritesTheTicketAsCupsOptions)
{
    const ProgramRun r = run({"--bundle", kTestBundle, "--ppd", kTestPPD, "--batch"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto written = options(r.out);
    EXPECT_EQ(written.at("com.veltra.test.A.Synced"), "yes");
    EXPECT_EQ(written.at("com.veltra.test.B.Synced"), "yes");
    EXPECT_EQ(written.at("com.veltra.test.A.Note"), "it's a \"quoted\" value");
    EXPECT_EQ(written.at("com.veltra.test.A.Text"), "");
    // Every callback's answer is reported.
    for (const char *line :
         {"pane 1 (com.veltra.test.PaneA): Prologue -> 0",
          "pane 2 (com.veltra.test.PaneB): Initialize -> 0", "dialog: Print -> -9874",
          "pane 1 (com.veltra.test.PaneA): Sync(false) -> 0",
          "pane 2 (com.veltra.test.PaneB): Terminate -> 0",
          "summary: Test Pane A: Test Setting: Value A"})
        EXPECT_NE(r.err.find(line), std::string::npos) << line << "\n" << r.err;
}

TEST(VeltraPrint, TicketGoesToTheNamedFile)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("ticket.txt");
    const ProgramRun r = run({"--bundle", kTestBundle, "--ppd", kTestPPD, "--batch", "--ticket-out",
                              file, "--prefs-dir", dir.filePath("prefs"), "--printer", "Office"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(options(written.readAll().toStdString()).at("com.veltra.test.B.Synced"), "yes");
}

TEST(VeltraPrint, LanguageVetoAndFailedPanesAreReportedWithTheirStatus)
{
    const struct
    {
        const char *how;
        QStringList extra;
        QProcessEnvironment environment;
        int status;
        const char *said;
        bool writes;
    } cases[] = {
        {"--lang ja", {"--lang", "ja"}, {}, 0, "summary: テストA: ", true},
        {"veto", {}, with("VELTRA_TEST_PDE_VETO", "1"), 1, "held back", false},
        {"failed Initialize",
         {},
         with("VELTRA_TEST_PDE_FAIL", "B:Initialize=-9530"),
         0,
         "pane 2 (com.veltra.test.PaneB): Initialize -> -9530 (the pane is not offered for this "
         "printer)",
         true},
    };
    for (const auto &c : cases) {
        const ProgramRun r =
            run(QStringList{"--bundle", kTestBundle, "--ppd", kTestPPD, "--batch"} + c.extra,
                c.environment);
        EXPECT_EQ(r.exitCode, c.status) << c.how << "\n" << r.err;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << c.how << "\n" << r.err;
        EXPECT_NE(r.err.find("Terminate -> 0"), std::string::npos) << c.how;
        EXPECT_EQ(r.out.empty(), !c.writes) << c.how;
    }
}

TEST(VeltraPrint, WithoutADisplayItRunsOffScreenInBatchMode)
{
    const ProgramRun r = run({"--bundle", kTestBundle, "--ppd", kTestPPD}, {},
                             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.err.find("running off-screen in batch mode"), std::string::npos) << r.err;
    EXPECT_EQ(options(r.out).at("com.veltra.test.A.Synced"), "yes");
}

TEST(VeltraPrint, BadInputEndsWithAClearMessageAndItsStatus)
{
    QTemporaryDir dir;
    QFile badPPD(dir.filePath("Broken.ppd"));
    badPPD.open(QIODevice::WriteOnly);
    badPPD.write("this is not a printer description\n");
    badPPD.close();

    struct Case
    {
        QStringList arguments;
        const char *message;
        int status; // 2 usage, 3 file
    };
    const Case cases[] = {
        {{"--bundle", dir.filePath("Nowhere.plugin"), "--ppd", kTestPPD, "--batch"},
         "no plug-in bundle at",
         3},
        {{"--bundle", kTestBundle, "--ppd", badPPD.fileName(), "--batch"}, "cannot open PPD", 3},
        {{"--bundle", kTestBundle, "--ppd", dir.filePath("Missing.ppd"), "--batch"},
         "No such file or directory",
         3},
        {{"--bundle", kTestBundle, "--colour", "red"}, "unknown option --colour", 2},
        {{"--bundle"}, "needs a value", 2},
        {{"-n", "0"}, "must be a number from 1 to 9999, not 0", 2},
        // Printing to CUPS: what can be checked is checked before a job exists.
        {{"--bundle", kTestBundle, "--ppd", kTestPPD, "--batch", "-d", "Office", "-o",
          "note=" + QString(256, 'x')},
         "the value of the option note is 256 bytes; CUPS takes at most 255; nothing is printed",
         3},
        {{"--bundle", kTestBundle, "--ppd", kTestPPD, "--batch", "-d", "Office",
          dir.filePath("Missing.txt")},
         "Missing.txt: No such file or directory; nothing is printed",
         3},
        {{"--bundle", kTestBundle, "--ppd", kTestPPD, "--batch", "-d", "Office", kTestPPD},
         "cannot reach the CUPS server 127.0.0.1",
         3},
        {{"--bundle", kTestBundle, "--batch", "-d", "Office"}, "Office has no PPD to open", 3},
    };
    for (const Case &c : cases) {
        // No CUPS server listens there.
        const ProgramRun r = run(c.arguments, with("CUPS_SERVER", "127.0.0.1:1"));
        EXPECT_EQ(r.exitCode, c.status) << c.arguments.join(' ').toStdString() << "\n" << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos)
            << c.arguments.join(' ').toStdString() << "\n"
            << r.err;
        EXPECT_EQ(r.out, "");
    }
}

TEST(VeltraPrint, HelpShowsTheUsage)
{
    const ProgramRun r = run({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("--ticket-out FILE"), std::string::npos) << r.out;
}

} // namespace
