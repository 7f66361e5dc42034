// The print system's side of printing dialog extensions: loads a plug-in bundle through its
// property list, creates one instance per extension factory and drives each pane through the
// callback sequence inside a print dialog:
//
//   factory, QueryInterface, GetAPIVersion, Prologue, Initialize, Sync(true), GetSummaryText,
//   Open and Close as its page is shown and left, ... the user works ..., the Print command
//   (the panes may veto it), Sync(false) for each pane, Close, Terminate, Release,
//   IUnknownRelease. Choosing another printer runs Close to IUnknownRelease and starts again.
//
// Every callback's result is recorded (and passed to an observer), so a host can report them
// and tests can check the order. The title and kind strings a pane hands out in Prologue
// become the host's (released when the dialog closes); the arrays of GetSummaryText too.
#pragma once

#include "PrintDialog.h"

#include <CoreFoundation/CoreFoundation.h>
#include <HIToolbox/MacWindows.h>
#include <PrintCore/PMPrintingDialogExtensions.h>
#include <PrintCore/PrintHost.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace veltra {

struct PDECallRecord
{
    int pane = -1;       // index among the dialog's panes; -1 when no pane came of it
    std::string label;   // the pane's kind, or its factory identifier before Prologue
    std::string call;    // "Factory", "QueryInterface", "GetAPIVersion", "Prologue", ...,
                         // "Print" (the dialog's OK command)
    OSStatus result = 0; // the callback's answer (QueryInterface: its HRESULT)
    std::string detail;  // what a failure means, for the report
};

struct PDESummaryLine
{
    std::string pane; // the pane's title
    std::string title;
    std::string value;
};

class PDEHost
{
public:
    PDEHost();
    // Closes an open dialog as cancelled.
    ~PDEHost();
    PDEHost(const PDEHost &) = delete;
    PDEHost &operator=(const PDEHost &) = delete;

    // Opens the plug-in bundle at bundleDir and finds its printing dialog extension factories
    // (in the order its property list gives them). False with *error set when the bundle is
    // missing or unreadable, names no factories, or none for dialog extensions.
    bool load(const std::string &bundleDir, std::string *error = nullptr);
    CFBundleRef bundle() const { return m_bundle; }
    int factoryCount() const { return int(m_factories.size()); }

    // Builds the print dialog on session (which must outlive the dialog) and runs each
    // extension up to Open. False with *error set when no pane could be created.
    bool openDialog(PrintSession &session, std::string *error = nullptr);
    bool isOpen() const { return m_dialog != nullptr; }
    PrintDialog *dialog() const { return m_dialog.get(); }
    WindowRef dialogWindow() const { return m_window; }

    int paneCount() const { return int(m_panes.size()); }
    // The pane's user pane (the parentUserPane it was initialized with), or null.
    ControlRef userPane(int index) const;
    QWidget *userPaneWidget(int index) const;
    std::string paneKind(int index) const;
    std::string paneTitle(int index) const;
    // The Initialize answer of the pane (a pane that failed it is not offered in the dialog).
    OSStatus paneInitializeResult(int index) const;
    // Shows the pane's page (paneCount(): the summary). Only the pane shown is open: the one
    // shown before gets Close, this one Open.
    void showPane(int index);

    // Another printer chosen in the open dialog: every pane ends (Close, Terminate as
    // cancelled, Release) and starts anew on session (Prologue, Initialize, ...), which must
    // outlive the dialog. False with *error set when no pane could be created; the dialog
    // stays open with its summary.
    bool changePrinter(PrintSession &session, std::string *error = nullptr);

    // The Print button: sends the OK command to the dialog window. Answers false when a
    // pane consumed it (the dialog stays open, nothing is written); otherwise each pane
    // writes the ticket (Sync towards the job) and the dialog is finished.
    bool pressPrint();
    bool printed() const { return m_printed; }
    // After a job the print system did not take: the dialog stays open and Print may be
    // pressed again (the panes then write the ticket anew).
    void allowPrintAgain() { m_printed = false; }
    // Every pane's summary (GetSummaryText), in pane order.
    std::vector<PDESummaryLine> summary();
    // Close, Terminate, Release and IUnknownRelease for every pane, then the dialog goes.
    void close();

    const std::vector<PDECallRecord> &calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    // Called with each record as it is made.
    void setCallObserver(std::function<void(const PDECallRecord &)> observer)
    {
        m_observer = std::move(observer);
    }

private:
    struct Pane;
    void record(int pane, const std::string &label, const char *call, OSStatus result,
                std::string detail = {});
    std::unique_ptr<Pane> createPane(CFUUIDRef factory);
    void startPanes();
    void startPane(Pane &pane, int index);
    void showFirstPane();
    void paneShown(int index);
    void endPanes(OSStatus status);
    void releasePane(Pane &pane, int index);

    CFBundleRef m_bundle = nullptr;
    std::vector<CFRef<CFUUIDRef>> m_factories;
    PrintSession *m_session = nullptr;
    std::unique_ptr<PrintDialog> m_dialog;
    WindowRef m_window = nullptr;
    std::vector<std::unique_ptr<Pane>> m_panes;
    bool m_printed = false;
    std::vector<PDECallRecord> m_calls;
    std::function<void(const PDECallRecord &)> m_observer;
};

// A record as one line of a report: "pane 1 (com.veltra.kzu.pde.JBAKind): Initialize -> -9530".
std::string DescribeCall(const PDECallRecord &record);

} // namespace veltra
