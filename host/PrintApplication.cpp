#include "PrintApplication.h"

#include "HelpBrowser.h"
#include "JobSubmission.h"
#include "PDEHost.h"

#include <CoreFoundation/CFQt.h>
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/QtBridge.h>
#include <Help/AppleHelp.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVariant>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#ifndef VELTRA_BUILD_BUNDLE_DIR
#define VELTRA_BUILD_BUNDLE_DIR ""
#endif
#ifndef VELTRA_SAMPLE_PPD
#define VELTRA_SAMPLE_PPD ""
#endif
#ifndef VELTRA_INSTALLED_BUNDLE_DIR
#define VELTRA_INSTALLED_BUNDLE_DIR ""
#endif
#ifndef VELTRA_INSTALLED_SAMPLE_PPD
#define VELTRA_INSTALLED_SAMPLE_PPD ""
#endif

namespace veltra {

namespace {

constexpr const char *kSamplePrinterID = "Veltra_Sample";

// An installed veltra-print finds its files beside it (<prefix>/bin/..); one in the build tree
// finds the build tree's.
std::string installedOrBuilt(const char *installed, const char *built)
{
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/../") +
                         QString::fromUtf8(installed);
    if (*installed && QFileInfo::exists(path))
        return QFileInfo(path).absoluteFilePath().toStdString();
    return built;
}

void say(const std::string &message)
{
    std::fprintf(stderr, "veltra-print: %s\n", message.c_str());
}

bool isSet(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

// The name a window is known by: its window name in the interface file, or its object name.
QString windowName(WindowRef window)
{
    const QWidget *widget = VeltraWindowWidget(window);
    if (!widget)
        return QString();
    const QVariant name = widget->property("nibWindowName");
    return name.isValid() ? name.toString() : widget->objectName();
}

// The message text of a one-message alert (its static text 'mste' 600).
std::string alertMessage(WindowRef window)
{
    const ControlID messageID{'mste', 600};
    ControlRef message = nullptr;
    CFStringRef text = nullptr;
    if (GetControlByID(window, &messageID, &message) != noErr ||
        GetControlData(message, kControlEditTextPart, kControlEditTextCFStringTag, sizeof text,
                       &text, nullptr) != noErr ||
        !text)
        return {};
    CFRef<CFStringRef> owned(text);
    return QStringFromCF(text).toStdString();
}

// Clicks the window's OK button (command 'ok  '); answers false when it has none.
bool clickOK(WindowRef window)
{
    QWidget *top = VeltraWindowWidget(window);
    if (!top)
        return false;
    for (QPushButton *button : top->findChildren<QPushButton *>()) {
        if (button->property("command").toString().trimmed() == QLatin1String("ok") &&
            button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return false;
}

// With --batch nobody sits at the screen: the panes' drivers answer their windows; an alert
// nobody answers is reported and confirmed; any other window is closed unanswered.
struct BatchRun
{
    const PaneBatchDriver *const *drivers = nullptr;
    const HostOptions *options = nullptr;
};

void saveScreenshot(const HostOptions &options, QWidget *widget, const QString &name)
{
    if (options.screenshotDir.empty() || !widget)
        return;
    const QString path =
        QDir(QString::fromStdString(options.screenshotDir)).filePath(name + ".png");
    QDir().mkpath(QString::fromStdString(options.screenshotDir));
    if (!widget->grab().save(path))
        say("cannot save the picture " + path.toStdString());
}

void answerModalWindowInBatch(WindowRef window, void *data)
{
    const auto *run = static_cast<const BatchRun *>(data);
    const QString name = windowName(window);
    QApplication::processEvents();
    saveScreenshot(*run->options, VeltraWindowWidget(window), "window-" + name);
    for (const PaneBatchDriver *const *driver = run->drivers; driver && *driver; ++driver) {
        if ((*driver)->answer &&
            (*driver)->answer(window, name, DriverValues(**driver, *run->options)))
            return;
    }
    if (name == QLatin1String("About")) {
        const std::string message = alertMessage(window);
        say(message.empty() ? std::string("a pane showed an alert without a message") : message);
        if (!clickOK(window))
            QuitAppModalLoopForWindow(window);
        return;
    }
    CFStringRef title = nullptr;
    CopyWindowTitleAsCFString(window, &title);
    CFRef<CFStringRef> ownedTitle(title);
    say("a pane opened the window \"" + QStringFromCF(title).toStdString() +
        "\" in batch mode; it is closed unanswered");
    QuitAppModalLoopForWindow(window);
}

// Works each pane that has a driver, as a user would before pressing Print.
bool fillPanes(PDEHost &host, const BatchRun &run)
{
    for (int i = 0; i < host.paneCount(); ++i) {
        const PaneBatchDriver *driver = nullptr;
        for (const PaneBatchDriver *const *d = run.drivers; d && *d; ++d) {
            if (host.paneKind(i) == (*d)->paneKind)
                driver = *d;
        }
        if (!driver || !driver->fill)
            continue;
        host.showPane(i);
        std::string error;
        if (!driver->fill(host.dialogWindow(), host.userPaneWidget(i),
                          DriverValues(*driver, *run.options), &error)) {
            say(error.empty() ? "the pane " + host.paneTitle(i) + " refused a value" : error);
            return false;
        }
    }
    return true;
}

void reportHelpPageInBatch(const char *pagePath, const char *, void *)
{
    say(std::string("help page requested (not shown in batch mode): ") + pagePath);
}

bool writeTicket(const PrintTicket &ticket, const std::string &path)
{
    const std::string text = FormatTicketOptions(ticket);
    if (path.empty()) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fflush(stdout);
        return true;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        say("cannot write the ticket to " + path);
        return false;
    }
    return true;
}

} // namespace

std::string FormatTicketOptions(const PrintTicket &ticket)
{
    // What the driver receives: one option per key, the last value written winning.
    cups_option_t *options = nullptr;
    const int count = ticket.toCupsOptions(&options);
    std::string text;
    for (int i = 0; i < count; ++i) {
        PrintTicket single;
        single.set("veltra-print", options[i].name, options[i].value, false);
        text += single.toOptionString() + '\n';
    }
    cupsFreeOptions(count, options);
    return text;
}

std::string ChooseDisplayMode(HostOptions *options)
{
    const bool platformChosen = isSet("QT_QPA_PLATFORM");
    if (!options->batch && !platformChosen && !isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) {
        options->batch = true;
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return "no display (DISPLAY and WAYLAND_DISPLAY are unset): running off-screen in batch "
               "mode";
    }
    if (options->batch && !platformChosen) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return {};
    }
    return {};
}

int RunPrintApplication(const HostOptions &options, const PaneBatchDriver *const *drivers)
{
    if (!options.prefsDir.empty()) {
        const QString dir = QString::fromStdString(options.prefsDir);
        if (!QDir().mkpath(dir)) {
            say("cannot create the preferences directory " + options.prefsDir);
            return kHostFailed;
        }
        const QByteArray user = QDir(dir).filePath(QStringLiteral("current-user.prefs")).toUtf8();
        const QByteArray anyUser = QDir(dir).filePath(QStringLiteral("any-user.prefs")).toUtf8();
        VeltraPreferencesSetStoreFiles(user.constData(), anyUser.constData());
    }
    if (!options.language.empty())
        VeltraBundleSetLanguage(options.language.c_str());

    // The printer.
    std::string ppdPath = options.ppdFile;
    std::string printerID = options.printerID;
    if (ppdPath.empty() && options.destination.empty()) {
        ppdPath = installedOrBuilt(VELTRA_INSTALLED_SAMPLE_PPD, VELTRA_SAMPLE_PPD);
        if (ppdPath.empty() || !QFileInfo::exists(QString::fromStdString(ppdPath))) {
            say("the sample printer's PPD " + (ppdPath.empty() ? "" : ppdPath + " ") +
                "is missing; name a printer description with --ppd FILE");
            return kHostFailed;
        }
        if (printerID.empty())
            printerID = kSamplePrinterID;
    }
    if (printerID.empty() && options.destination.empty()) {
        printerID = QFileInfo(QString::fromStdString(ppdPath)).completeBaseName().toStdString();
        if (printerID.empty())
            printerID = kSamplePrinterID;
    }
    std::string error;
    std::string destinationPPD; // a temporary copy of the destination's PPD
    if (!options.destination.empty() && options.ppdFile.empty()) {
        char path[1024] = "";
        time_t modified = 0;
        const http_status_t got = cupsGetPPD3(CUPS_HTTP_DEFAULT, options.destination.c_str(),
                                              &modified, path, sizeof path);
        if (got != HTTP_STATUS_OK) {
            say("the CUPS destination " + options.destination + " has no PPD to open (" +
                cupsLastErrorString() + ")");
            return kHostFailed;
        }
        destinationPPD = path;
        ppdPath = path;
        printerID = options.printerID.empty() ? options.destination : options.printerID;
    }
    if (printerID.empty())
        printerID = options.destination;
    PPDFile ppd = OpenPPD(ppdPath, &error);
    if (!destinationPPD.empty())
        std::remove(destinationPPD.c_str());
    if (!ppd) {
        say(error);
        return kHostFailed;
    }
    PrintSession session(printerID, std::move(ppd));

    // The panes.
    std::string bundleDir =
        options.bundleDir.empty()
            ? installedOrBuilt(VELTRA_INSTALLED_BUNDLE_DIR, VELTRA_BUILD_BUNDLE_DIR)
            : options.bundleDir;
    if (bundleDir.empty()) {
        say("no plug-in bundle given; name one with --bundle DIR");
        return kHostFailed;
    }
    PDEHost host;
    host.setCallObserver([](const PDECallRecord &record) { say(DescribeCall(record)); });
    if (!host.load(bundleDir, &error)) {
        say(error);
        return kHostFailed;
    }

    HelpBrowser help;
    BatchRun batchRun{drivers, &options};
    if (options.batch) {
        VeltraSetHelpViewer(&reportHelpPageInBatch, nullptr);
        VeltraSetModalLoopObserver(&answerModalWindowInBatch, &batchRun);
    } else {
        help.install();
    }

    if (!host.openDialog(session, &error)) {
        say(error);
        return kHostFailed;
    }

    bool printed = false;
    if (options.batch)
        host.dialog()->show();
    if (options.batch && !fillPanes(host, batchRun)) {
        // The pane's message is out; nothing is printed.
    } else if (options.batch) {
        if (!options.screenshotDir.empty()) {
            // Every page as the user sees it, the summary last.
            for (int i = 0; i <= host.paneCount(); ++i) {
                host.showPane(i);
                QApplication::processEvents();
                saveScreenshot(options, host.dialog(),
                               i < host.paneCount()
                                   ? QString::fromStdString("pane-" + host.paneKind(i))
                                   : QStringLiteral("summary"));
            }
            host.showPane(0);
        }
        for (const PDESummaryLine &line : host.summary())
            say("summary: " + line.pane + ": " + line.title + ": " + line.value);
        printed = host.pressPrint();
        if (!printed)
            say("the Print command was held back by a pane; nothing is printed");
    } else {
        host.dialog()->exec();
        printed = host.printed();
    }
    int copies = options.copies;
    std::vector<std::pair<std::string, std::string>> jobOptions = options.jobOptions;
    if (host.dialog()) {
        // What the user set in the dialog itself, unless the command line said it.
        if (copies == 1)
            copies = host.dialog()->copiesBox()->value();
        const QString pages = host.dialog()->pageRangeField()->text();
        if (!pages.isEmpty())
            jobOptions.emplace_back("page-ranges", pages.toStdString());
    }
    host.close();
    if (options.batch) {
        VeltraSetModalLoopObserver(nullptr, nullptr);
        VeltraSetHelpViewer(nullptr, nullptr);
    }

    if (!printed)
        return kHostRefused;
    if (!options.destination.empty()) {
        JobRequest request;
        request.destination = options.destination;
        request.copies = copies;
        request.extra = jobOptions;
        request.files = options.files;
        const int job = SubmitJob(request, session.ticket(), &error);
        if (!job) {
            say(error);
            return kHostFailed;
        }
        std::printf("request id is %s-%d\n", options.destination.c_str(), job);
        std::fflush(stdout);
        // An explicit --ticket-out keeps a copy of what went to the queue.
        if (!options.ticketOut.empty() && !writeTicket(session.ticket(), options.ticketOut))
            return kHostFailed;
        return kHostPrinted;
    }
    return writeTicket(session.ticket(), options.ticketOut) ? kHostPrinted : kHostFailed;
}

} // namespace veltra
