// veltra-print's run: the printer, the panes, the dialog or the batch run, the job.
#include "PrintApplication.h"

#include "HelpBrowser.h"
#include "JobSubmission.h"
#include "PDEHost.h"
#include "PrinterList.h"

#include <CoreFoundation/CFQt.h>
#include <HIToolbox/HIToolbox.h>
#include <HIToolbox/QtBridge.h>
#include <Help/AppleHelp.h>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVariant>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <unistd.h>

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
        if (!driver || !driver->fill || host.paneInitializeResult(i) != noErr)
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

// The printer chooser of the interactive dialog: the CUPS queues and the sample printers,
// with the printer the dialog opened on chosen. Choosing another opens its description and
// starts the panes anew on it; one that cannot be opened is reported and the chooser goes back.
void offerPrinters(PDEHost &host, PrinterChoice *current, std::vector<PrinterChoice> *printers,
                   std::unique_ptr<PrintSession> *session)
{
    std::string cupsMessage;
    const std::string samples = QFileInfo(QString::fromStdString(installedOrBuilt(
                                              VELTRA_INSTALLED_SAMPLE_PPD, VELTRA_SAMPLE_PPD)))
                                    .absolutePath()
                                    .toStdString();
    *printers = ListPrinters(samples, &cupsMessage);
    if (!cupsMessage.empty()) {
        say(cupsMessage);
        host.dialog()->printerPopup()->setToolTip(QString::fromStdString(cupsMessage));
    }
    int chosen = -1;
    for (size_t i = 0; i < printers->size(); ++i) {
        const PrinterChoice &entry = (*printers)[i];
        if (entry.id == current->id && entry.destination == current->destination)
            chosen = int(i);
    }
    if (chosen < 0) {
        // A description named with --ppd, or a queue CUPS no longer lists.
        printers->insert(printers->begin(), *current);
        chosen = 0;
    }
    QStringList names;
    for (const PrinterChoice &entry : *printers)
        names << QString::fromStdString(entry.label);
    host.dialog()->setPrinters(names, chosen);
    host.dialog()->setPrinterHandler([&host, current, printers, session](int row) {
        const PrinterChoice &entry = (*printers)[size_t(row)];
        std::string error;
        PPDFile ppd = OpenPrinterPPD(entry, &error);
        if (!ppd) {
            say(error);
            QMessageBox::warning(
                host.dialog(), QObject::tr("Print"),
                QObject::tr("The printer %1 cannot be used: %2")
                    .arg(QString::fromStdString(entry.label), QString::fromStdString(error)));
            return false;
        }
        auto next = std::make_unique<PrintSession>(entry.id, std::move(ppd));
        if (!host.changePrinter(*next, &error))
            say(error);
        // The panes of the printer before are gone: its session can go too.
        *session = std::move(next);
        *current = entry;
        return true;
    });
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

    // Documents that cannot be read are reported before anything is set or printed.
    for (const std::string &file : options.files) {
        if (::access(file.c_str(), R_OK) != 0) {
            say("cannot read the document " + file + ": " + std::strerror(errno) +
                "; nothing is printed");
            return kHostFailed;
        }
    }

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
    PrinterChoice printer = SamplePrinter(ppdPath);
    printer.id = printerID;
    if (!options.destination.empty()) {
        printer.destination = options.destination;
        printer.id = options.printerID.empty() ? options.destination : options.printerID;
        // A description given with --ppd stands in for the queue's.
        printer.ppdFile = options.ppdFile;
    }
    PPDFile ppd = printer.ppdFile.empty() ? OpenPrinterPPD(printer, &error)
                                          : OpenPPD(printer.ppdFile, &error);
    if (!ppd) {
        say(error);
        return kHostFailed;
    }
    auto session = std::make_unique<PrintSession>(printer.id, std::move(ppd));

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

    if (!host.openDialog(*session, &error)) {
        say(error);
        return kHostFailed;
    }
    std::vector<PrinterChoice> printers;
    if (!options.batch)
        offerPrinters(host, &printer, &printers, &session);

    // The job as the dialog's own fields and the command line give it; 0 with *why set when
    // CUPS refuses it or a document cannot be read (nothing is then submitted).
    auto submit = [&](std::string *why) {
        JobRequest request;
        request.destination = printer.destination;
        request.copies = options.copies;
        request.extra = options.jobOptions;
        request.files = options.files;
        // What the user set in the dialog itself, unless the command line said it.
        if (request.copies == 1)
            request.copies = host.dialog()->copiesBox()->value();
        const QString pages = host.dialog()->pageRangeField()->text();
        if (!pages.isEmpty())
            request.extra.emplace_back("page-ranges", pages.toStdString());
        return SubmitJob(request, session->ticket(), why);
    };

    bool printed = false;
    int job = 0;
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
        if (printed && !printer.destination.empty())
            job = submit(&error);
    } else {
        // The job goes to CUPS while the dialog is open: when it is refused, the user reads
        // why and may change the settings or the printer and press Print again.
        host.dialog()->setPrintHandler([&] {
            if (!host.pressPrint())
                return false;
            if (printer.destination.empty())
                return true;
            std::string why;
            job = submit(&why);
            if (job)
                return true;
            say(why);
            QMessageBox::warning(
                host.dialog(), QObject::tr("Print"),
                QObject::tr("The job was not printed: %1").arg(QString::fromStdString(why)));
            host.allowPrintAgain();
            return false;
        });
        host.dialog()->exec();
        printed = host.printed();
    }
    host.close();
    if (options.batch) {
        VeltraSetModalLoopObserver(nullptr, nullptr);
        VeltraSetHelpViewer(nullptr, nullptr);
    }

    if (!printed)
        return kHostRefused;
    if (!printer.destination.empty()) {
        if (!job) {
            say(error);
            return kHostFailed;
        }
        std::printf("request id is %s-%d\n", printer.destination.c_str(), job);
        std::fflush(stdout);
        // An explicit --ticket-out keeps a copy of what went to the queue.
        if (!options.ticketOut.empty() && !writeTicket(session->ticket(), options.ticketOut))
            return kHostFailed;
        return kHostPrinted;
    }
    return writeTicket(session->ticket(), options.ticketOut) ? kHostPrinted : kHostFailed;
}

} // namespace veltra
