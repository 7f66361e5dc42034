// veltra-ppdtool as an administrator runs it: its output, exit status and messages.
#include "ConstraintFixtures.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <string>

namespace {

const char kToolPath[] = VELTRA_TEST_BINARY_DIR "/../tools/ppdtool/veltra-ppdtool";

const char kBody[] = R"(*OpenUI *InputSlot/Paper Source: PickOne
*DefaultInputSlot: Tray1
*InputSlot Tray1/Bac sup)"
                     "\xe9"
                     R"(rieur: ""
*InputSlot Manual/Manual Feed: ""
*CloseUI: *InputSlot
*OpenUI *PageSize/Page Size: PickOne
*DefaultPageSize: Letter
*PageSize Letter/Letter: ""
*PageSize A4/A4: ""
*CloseUI: *PageSize
*UIConstraints: *InputSlot Manual *PageSize A4
)";

struct ToolRun
{
    int status;
    std::string out;
    std::string err;
};

ToolRun RunTool(const QStringList &args)
{
    QProcess tool;
    tool.start(QString::fromUtf8(kToolPath), args);
    if (!tool.waitForFinished(30000))
        ADD_FAILURE() << "veltra-ppdtool did not finish: " << tool.errorString().toStdString();
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1,
            tool.readAllStandardOutput().toStdString(), tool.readAllStandardError().toStdString()};
}

QString Path(const std::string &text, const std::string &name)
{
    return QString::fromStdString(ctest::WritePPD(text, name));
}

TEST(PPDTool, ListsEveryChoiceAfterTheGivenMarks)
{
    const ToolRun run =
        RunTool({"list", Path(ctest::PPDText(kBody), "list.ppd"), "inputslot=manual"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "InputSlot\tTray1\tBac sup\xc3\xa9rieur\tConflictFalse\n"
                       "InputSlot\tManual\tManual Feed\tConflictFalse\n"
                       "PageSize\tLetter\tLetter\tConflictFalse\n"
                       "PageSize\tA4\tA4\tConflictTrue\n");
    EXPECT_EQ(run.err, "");
}

struct ToolCase
{
    QStringList args; // FILE stands for the test PPD, GZ for it compressed, BAD for a broken one
    int status;
    const char *out; // expected at the start of standard output
    const char *err; // expected inside standard error
};

// Names the case in test output and in the test's name: the command line.
void PrintTo(const ToolCase &c, std::ostream *out)
{
    *out << (c.args.isEmpty() ? QStringLiteral("(no arguments)") : c.args.join(QLatin1Char(' ')))
                .toStdString();
}

class PPDToolRuns : public testing::TestWithParam<ToolCase>
{
};

TEST_P(PPDToolRuns, AnswersWithItsExitStatusAndMessage)
{
    const QString file = Path(ctest::PPDText(kBody), "tool.ppd");
    QProcess::execute("gzip", {"-kf", file});
    QStringList args = GetParam().args;
    args.replaceInStrings("FILE", file);
    args.replaceInStrings("GZ", file + ".gz");
    args.replaceInStrings("BAD", Path("*OpenUI *PageSize: PickOne\n", "bad.ppd"));
    const ToolRun run = RunTool(args);
    EXPECT_EQ(run.status, GetParam().status) << run.err;
    EXPECT_EQ(run.out.rfind(GetParam().out, 0), 0u) << run.out;
    EXPECT_NE(run.err.find(GetParam().err), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, PPDToolRuns,
    testing::Values(
        ToolCase{
            {"conflict", "FILE", "PageSize", "A4", "InputSlot=Manual"}, 1, "ConflictTrue\n", ""},
        ToolCase{{"conflict", "FILE", "PageSize", "Letter", "InputSlot=Manual", "PageSize=A4"},
                 0,
                 "ConflictFalse\n",
                 "PageSize=A4 conflicts with a marked choice"},
        ToolCase{{"conflict", "GZ", "pagesize", "a4", "InputSlot=Manual"}, 1, "ConflictTrue\n", ""},
        ToolCase{{"conflict", "FILE", "PageSize", "A4"}, 0, "ConflictFalse\n", ""},
        ToolCase{{"stats", "FILE"}, 0, "constraints\t1\nentries\t1\nbuckets\t", ""},
        ToolCase{{"--help"}, 0, "Usage: veltra-ppdtool list", ""},
        ToolCase{{"list", "/nonexistent/x.ppd"}, 3, "", "cannot open PPD /nonexistent/x.ppd"},
        ToolCase{{"stats", "BAD"}, 3, "", "on line 1"}, ToolCase{{}, 2, "", "no command given"},
        ToolCase{{"frobnicate", "FILE"}, 2, "", "unknown command"},
        ToolCase{{"conflict", "FILE", "PageSize"}, 2, "", "needs the PPD file"},
        ToolCase{{"list", "FILE", "InputSlot"}, 2, "", "expected OPTION=CHOICE"},
        ToolCase{{"list", "FILE", "Duplex=None"}, 2, "", "no option \"Duplex\""},
        ToolCase{{"conflict", "FILE", "PageSize", "Folio"}, 2, "", "no choice \"Folio\""}));

} // namespace
