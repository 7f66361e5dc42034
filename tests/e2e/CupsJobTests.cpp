// veltra-print against a real cupsd: the test starts its own scheduler in a temporary
// directory (listening on a local socket only) with a queue whose PPD is the sample Veltra
// PPD and whose backend records the job options it receives.
#include "CupsOptionText.h"
#include "PaneFixture.h"

#include <QProcess>

#include <cups/cups.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using Options = CupsOptionMap;

const std::string kKeys = "com.veltra.kzu.printsettings.";

class CupsJob : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (geteuid() != 0 || !QFile::exists("/usr/sbin/cupsd"))
            return;
        dir = std::make_unique<QTemporaryDir>();
        const QString d = dir->path();
        QFile(d).setPermissions(QFile::permissions(d) | QFile::ReadOther | QFile::ExeOther |
                                QFile::ReadGroup | QFile::ExeGroup);
        for (const char *sub : {"conf", "spool", "cache", "state", "bin/backend", "out"})
            QDir().mkpath(d + "/" + sub);
        QFile::link("/usr/lib/cups/daemon", d + "/bin/daemon");
        write(d + "/bin/backend/record",
              QString("#!/bin/sh\n[ $# -eq 0 ] && { echo 'direct record \"Unknown\" \"Recorder\"'; "
                      "exit 0; }\nprintf '%s' \"$5\" > %1/out/job-$1.options\n"
                      "cat ${6:--} > %1/out/job-$1.data\n")
                  .arg(d));
        QFile(d + "/bin/backend/record").setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        // Every key that carries a password or passcode is private to the job's owner.
        write(d + "/conf/cupsd.conf",
              QString("Listen %1/cups.sock\nBrowsing Off\nLogLevel warn\n<Policy default>\n"
                      "  JobPrivateAccess default\n  JobPrivateValues %2PrintTypePasswordTicketKey "
                      "%2JBAUserPasswordTextEditTicket %2JBAAdminUserPasswordTextEditTicket "
                      "%2JBAInputUserPasswordTextEditTicket\n"
                      "  <Limit All>\n    Order deny,allow\n  </Limit>\n</Policy>\n")
                  .arg(d, QString::fromStdString(kKeys)));
        write(d + "/conf/cups-files.conf",
              QString("ServerRoot %1/conf\nRequestRoot %1/spool\nCacheDir %1/cache\nStateDir "
                      "%1/state\nServerBin %1/bin\nTempDir %1/spool\nErrorLog %1/error_log\n"
                      "AccessLog %1/access_log\n")
                  .arg(d));
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
        cupsd.reset(), dir.reset();
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

    // Prints on the queue: the job id (0: none), what the backend received and the panes wrote.
    static int print(const QStringList &paneOptions, Options *received, Options *written)
    {
        QProcess run;
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
        *received = ParseCupsOptions(options.readAll().toStdString());
        QFile writtenFile(ticket);
        EXPECT_TRUE(writtenFile.open(QIODevice::ReadOnly)) << "no ticket written";
        *written = ParseCupsOptions(writtenFile.readAll().replace('\n', ' ').toStdString());
        return job;
    }

    static inline std::unique_ptr<QTemporaryDir> dir;
    static inline std::unique_ptr<QProcess> cupsd;
};

TEST_F(CupsJob, BackendReceivesExactlyWhatThePanesWroteAndOthersCannotReadThePasswords)
{
    const struct
    {
        QStringList options;
        Options expected; // "*": any value but none
    } rows[] = {
        {{"--print-type", "secure", "--user-name", "bob", "--passcode", "12345678"},
         {{"PrintTypeTicketKey", "2"}, {"PrintTypeUserNameTicketKey", "bob"}}},
        {{"--print-type", "sample", "--user-name", "ann"},
         {{"PrintTypeTicketKey", "3"}, {"PrintTypeUserNameTicketKey", "ann"}}},
        {{"--print-type", "none"}, {{"PrintTypeTicketKey", "1"}}},
        // Input at print: the password goes scrambled, never as typed; when the job was made.
        {{"--account-ask-at-print", "yes", "--input-user-id", "carol", "--input-password", "word"},
         {{"JBAInputUserIDTextEditTicket", "carol"},
          {"JBAInputUserPasswordTextEditTicket", Scrambled("word")},
          {"JBAHkgnPrintDateTicketKey", "*"}}},
        {{"--print-type", "secure", "--user-name", "bob", "--passcode", "12345678",
          "--account-ask-at-print", "yes", "--input-user-id", "carol", "--input-password", "word"},
         {{"PrintTypePasswordTicketKey", "*"}, {"JBAInputUserPasswordTextEditTicket", "*"}}},
    };
    int job = 0;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.options.join(' ').toStdString());
        Options received, written;
        ASSERT_GT(job = print(row.options, &received, &written), 0);
        ASSERT_FALSE(written.empty());
        for (const auto &[key, value] : written)
            EXPECT_EQ(received[key], value) << key;
        for (const auto &[key, value] : row.expected)
            EXPECT_EQ(value == "*" && !received[kKeys + key].empty() ? "*" : received[kKeys + key],
                      value)
                << key;
    }

    // As nobody, of the last job: its other options are there, the passwords are not.
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
        auto seen = [response](const char *key) {
            return ippFindAttribute(response, (kKeys + key).c_str(), IPP_TAG_ZERO) != nullptr;
        };
        _exit(!seen("PrintTypeTicketKey") ? 3
              : seen("PrintTypePasswordTicketKey") || seen("JBAInputUserPasswordTextEditTicket")
                  ? 2
                  : 0);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: the passcode was readable, 3: the job was not";
}

} // namespace
