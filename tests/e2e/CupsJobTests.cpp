// veltra-print against a real cupsd: the test starts its own scheduler in a temporary
// directory (listening on a local socket only) with a queue whose PPD is the sample Veltra
// PPD and whose backend records the job options it receives.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cups/cups.h>

#include <map>
#include <memory>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

const char kPasscodeKey[] = "com.veltra.kzu.printsettings.PrintTypePasswordTicketKey";
const char kInputPasswordKey[] = "com.veltra.kzu.printsettings.JBAInputUserPasswordTextEditTicket";
// Every key that carries a password or passcode: private to the job's owner.
const char kPrivateKeys[] = "com.veltra.kzu.printsettings.PrintTypePasswordTicketKey "
                            "com.veltra.kzu.printsettings.JBAUserPasswordTextEditTicket "
                            "com.veltra.kzu.printsettings.JBAAdminUserPasswordTextEditTicket "
                            "com.veltra.kzu.printsettings.JBAInputUserPasswordTextEditTicket";

std::map<std::string, std::string> parse(const QByteArray &text)
{
    cups_option_t *options = nullptr;
    const int count = cupsParseOptions(text.constData(), 0, &options);
    std::map<std::string, std::string> result;
    for (int i = 0; i < count; ++i)
        result[options[i].name] = options[i].value;
    cupsFreeOptions(count, options);
    return result;
}

class CupsJob : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (geteuid() != 0 || !QFile::exists("/usr/sbin/cupsd"))
            return;
        dir = std::make_unique<QTemporaryDir>();
        const QString d = dir->path();
        QFile(d).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup |
                                QFile::ExeGroup);
        for (const char *sub : {"conf", "spool", "cache", "state", "bin/backend", "out"})
            QDir().mkpath(d + "/" + sub);
        QFile::link("/usr/lib/cups/daemon", d + "/bin/daemon");
        write(d + "/bin/backend/record",
              "#!/bin/sh\n[ $# -eq 0 ] && { echo 'direct record \"Unknown\" \"Recorder\"'; exit 0; "
              "}\nprintf '%s' \"$5\" > " +
                  d + "/out/job-$1.options\ncat ${6:--} > " + d + "/out/job-$1.data\n");
        QFile(d + "/bin/backend/record")
            .setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        write(d + "/conf/cupsd.conf",
              "Listen " + d +
                  "/cups.sock\nBrowsing Off\nLogLevel warn\n"
                  "<Policy default>\n  JobPrivateAccess default\n  JobPrivateValues " +
                  kPrivateKeys +
                  "\n"
                  "  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n");
        write(d + "/conf/cups-files.conf",
              "ServerRoot " + d + "/conf\nRequestRoot " + d + "/spool\nCacheDir " + d +
                  "/cache\nStateDir " + d + "/state\nServerBin " + d + "/bin\nTempDir " + d +
                  "/spool\nErrorLog " + d + "/error_log\nAccessLog " + d + "/access_log\n");
        cupsd = std::make_unique<QProcess>();
        cupsd->start("/usr/sbin/cupsd",
                     {"-f", "-c", d + "/conf/cupsd.conf", "-s", d + "/conf/cups-files.conf"});
        qputenv("CUPS_SERVER", (d + "/cups.sock").toUtf8());
        for (int i = 0; i < 50 && !QFile::exists(d + "/cups.sock"); ++i)
            usleep(100000);
        QProcess::execute("/usr/sbin/lpadmin",
                          {"-p", "Veltra", "-E", "-v", "record:/", "-P", VELTRA_SAMPLE_PPD});
    }
    static void TearDownTestSuite()
    {
        if (cupsd) {
            cupsd->terminate();
            cupsd->waitForFinished();
        }
        cupsd.reset();
        dir.reset();
    }
    void SetUp() override
    {
        if (!cupsd)
            GTEST_SKIP() << "needs root and cupsd to start a scheduler of its own";
    }
    static void write(const QString &path, const QString &text)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        ASSERT_EQ(file.write(text.toUtf8()), text.toUtf8().size());
    }

    // Runs veltra-print on the queue; answers the job id (0 when none) and fills what the
    // backend received and what the panes wrote.
    int print(const QStringList &paneOptions, std::map<std::string, std::string> *received,
              std::map<std::string, std::string> *written)
    {
        QProcess run;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        run.setProcessEnvironment(environment);
        const QString ticket = dir->filePath("ticket");
        QFile::remove(ticket);
        run.start(VELTRA_HOST_EXECUTABLE,
                  QStringList{"--batch", "-d", "Veltra", "-o", "raw", "--prefs-dir",
                              dir->filePath("prefs"), "--ticket-out", ticket} +
                      paneOptions + QStringList{VELTRA_SAMPLE_PPD});
        run.waitForFinished(60000);
        const QByteArray out = run.readAllStandardOutput();
        EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
        const int job = out.startsWith("request id is Veltra-") ? out.mid(21).trimmed().toInt() : 0;
        QFile options(dir->filePath(QString("out/job-%1.options").arg(job)));
        for (int i = 0; i < 100 && !options.exists(); ++i)
            usleep(100000);
        usleep(200000);
        EXPECT_TRUE(options.open(QIODevice::ReadOnly)) << "the backend recorded no options";
        *received = parse(options.readAll());
        QFile writtenFile(ticket);
        EXPECT_TRUE(writtenFile.open(QIODevice::ReadOnly)) << "no ticket written";
        *written = parse(writtenFile.readAll().replace('\n', ' '));
        return job;
    }

    static std::unique_ptr<QTemporaryDir> dir;
    static std::unique_ptr<QProcess> cupsd;
};

std::unique_ptr<QTemporaryDir> CupsJob::dir;
std::unique_ptr<QProcess> CupsJob::cupsd;

TEST_F(CupsJob, BackendReceivesExactlyWhatThePanesWrote)
{
    struct Case
    {
        QStringList options;
        const char *printType;
        const char *userName; // null: not written
    };
    const Case cases[] = {
        {{"--print-type", "secure", "--user-name", "bob", "--passcode", "12345678"}, "2", "bob"},
        {{"--print-type", "sample", "--user-name", "ann"}, "3", "ann"},
        {{"--print-type", "none"}, "1", nullptr},
    };
    for (const Case &c : cases) {
        std::map<std::string, std::string> received, written;
        ASSERT_GT(print(c.options, &received, &written), 0) << c.printType;
        ASSERT_FALSE(written.empty());
        for (const auto &[key, value] : written)
            EXPECT_EQ(received[key], value) << key;
        EXPECT_EQ(received["com.veltra.kzu.printsettings.PrintTypeTicketKey"], c.printType);
        if (c.userName) {
            EXPECT_EQ(received["com.veltra.kzu.printsettings.PrintTypeUserNameTicketKey"],
                      c.userName);
        }
    }
}

TEST_F(CupsJob, JobAccountingWithInputAtPrintReachesTheBackend)
{
    std::map<std::string, std::string> received, written;
    ASSERT_GT(print({"--account-ask-at-print", "yes", "--input-user-id", "carol",
                     "--input-password", "word"},
                    &received, &written),
              0);
    for (const auto &[key, value] : written)
        EXPECT_EQ(received[key], value) << key;
    EXPECT_EQ(received["com.veltra.kzu.printsettings.JBAInputUserIDTextEditTicket"], "carol");
    // The password goes scrambled, never as typed.
    EXPECT_FALSE(received[kInputPasswordKey].empty());
    EXPECT_NE(received[kInputPasswordKey], "word");
    // Where and when the job was made.
    EXPECT_FALSE(received["com.veltra.kzu.printsettings.JBAHkgnPrintDateTicketKey"].empty());
}

TEST_F(CupsJob, AnotherUserCannotReadThePasswordsBack)
{
    std::map<std::string, std::string> received, written;
    const int job = print({"--print-type", "secure", "--user-name", "bob", "--passcode", "12345678",
                           "--account-ask-at-print", "yes", "--input-user-id", "carol",
                           "--input-password", "word"},
                          &received, &written);
    ASSERT_GT(job, 0);
    ASSERT_FALSE(received[kPasscodeKey].empty());
    ASSERT_FALSE(received[kInputPasswordKey].empty());

    // As nobody: the job's other options are there, the passcode is not.
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(10);
        ipp_t *request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                     "ipp://localhost/printers/Veltra");
        ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", job);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                     "all");
        ipp_t *response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
        const bool typeSeen = ippFindAttribute(
            response, "com.veltra.kzu.printsettings.PrintTypeTicketKey", IPP_TAG_ZERO);
        const bool passcodeSeen = ippFindAttribute(response, kPasscodeKey, IPP_TAG_ZERO) ||
                                  ippFindAttribute(response, kInputPasswordKey, IPP_TAG_ZERO);
        ippDelete(response);
        _exit(typeSeen ? (passcodeSeen ? 2 : 0) : 3);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: the passcode was readable, 3: the job was not";
}

} // namespace
