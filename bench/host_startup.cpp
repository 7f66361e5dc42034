// From process start to the print dialog shown: veltra-print's dialog with both panes
// initialised for the sample printer, against Qt's own QPrintDialog opened for a CUPS queue with
// the same PPD (a cupsd of the benchmark's own, in a temporary directory, on a local socket).
// Each iteration starts a fresh process; peak_MiB is the largest resident size a child reached.
#include <PDEHost.h>

#include <PrintCore/PrintHost.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include <cstring>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

namespace {

int showVeltraDialog(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir prefs;
    VeltraPreferencesSetStoreFiles(prefs.filePath("user").toUtf8().constData(),
                                   prefs.filePath("any").toUtf8().constData());
    std::string error;
    veltra::PrintSession session("Veltra", veltra::OpenPPD(VELTRA_SAMPLE_PPD, &error));
    veltra::PDEHost host;
    if (!host.load(VELTRA_TEST_BUNDLE_DIR, &error) || !host.openDialog(session, &error))
        return 1;
    host.dialog()->show();
    QApplication::processEvents();
    return host.paneCount() == 2 ? 0 : 1;
}

int showQtDialog(int argc, char **argv, const char *queue)
{
    QApplication app(argc, argv);
    QPrinter printer;
    printer.setPrinterName(QString::fromUtf8(queue));
    QPrintDialog dialog(&printer);
    dialog.show();
    QApplication::processEvents();
    return printer.printerName() == QString::fromUtf8(queue) ? 0 : 1;
}

// The benchmark's own cupsd with the queue "Veltra" on the sample PPD.
struct Scheduler
{
    QTemporaryDir dir;
    QProcess cupsd;
    bool running = false;
    Scheduler()
    {
        if (geteuid() != 0 || !QFile::exists("/usr/sbin/cupsd"))
            return;
        const QString d = dir.path();
        for (const char *sub : {"conf", "spool", "cache", "state", "bin"})
            QDir().mkpath(d + "/" + sub);
        QFile::link("/usr/lib/cups/daemon", d + "/bin/daemon");
        QFile::link("/usr/lib/cups/backend", d + "/bin/backend");
        write(d + "/conf/cupsd.conf",
              "Listen " + d +
                  "/cups.sock\nBrowsing Off\nLogLevel warn\n<Policy default>\n  <Limit All>\n"
                  "    Order deny,allow\n  </Limit>\n</Policy>\n");
        write(d + "/conf/cups-files.conf",
              "ServerRoot " + d + "/conf\nRequestRoot " + d + "/spool\nCacheDir " + d +
                  "/cache\nStateDir " + d + "/state\nServerBin " + d + "/bin\nTempDir " + d +
                  "/spool\nErrorLog " + d + "/error_log\nFileDevice Yes\n");
        cupsd.start("/usr/sbin/cupsd",
                    {"-f", "-c", d + "/conf/cupsd.conf", "-s", d + "/conf/cups-files.conf"});
        qputenv("CUPS_SERVER", (d + "/cups.sock").toUtf8());
        for (int i = 0; i < 50 && !QFile::exists(d + "/cups.sock"); ++i)
            usleep(100000);
        running =
            QProcess::execute("/usr/sbin/lpadmin", {"-p", "Veltra", "-E", "-v", "file:///dev/null",
                                                    "-P", VELTRA_SAMPLE_PPD}) == 0;
    }
    ~Scheduler()
    {
        cupsd.terminate();
        cupsd.waitForFinished();
    }
    static void write(const QString &path, const QString &text)
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(text.toUtf8());
    }
};

void runChild(benchmark::State &state, const char *mode)
{
    static Scheduler scheduler;
    if (!scheduler.running) {
        state.SkipWithError("needs root and cupsd for the CUPS queue");
        return;
    }
    long peakKiB = 0;
    for (auto _ : state) {
        const pid_t child = fork();
        if (child == 0) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            execl("/proc/self/exe", "bench_host_startup", mode, "Veltra", nullptr);
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the dialog did not open");
            return;
        }
        peakKiB = std::max(peakKiB, usage.ru_maxrss);
    }
    state.counters["peak_MiB"] = double(peakKiB) / 1024.0;
}

void BM_VeltraPrintDialogShown(benchmark::State &state)
{
    runChild(state, "--child-veltra");
}
BENCHMARK(BM_VeltraPrintDialogShown)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(15);

void BM_QPrintDialogShown(benchmark::State &state)
{
    runChild(state, "--child-qt");
}
BENCHMARK(BM_QPrintDialogShown)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(15);

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "--child-veltra") == 0)
        return showVeltraDialog(1, argv);
    if (argc >= 3 && std::strcmp(argv[1], "--child-qt") == 0)
        return showQtDialog(1, argv, argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
