// The print dialog of the host: a printer chooser, a pane pop-up, one page per dialog
// extension, and the Print and Cancel buttons. Each page is a user pane that spans the dialog's
// full width with its left edge at x = 0, as the panes centre their contents on that width.
#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace veltra {

class PrintDialog : public QDialog
{
public:
    explicit PrintDialog(const QString &printerName, QWidget *parent = nullptr);
    ~PrintDialog() override;

    // The printer chooser holds names with current chosen; handler is called when the user
    // chooses another printer, and when it answers false the chooser goes back.
    void setPrinters(const QStringList &names, int current);
    void setPrinterHandler(std::function<bool(int)> handler)
    {
        m_printerHandler = std::move(handler);
    }
    QComboBox *printerPopup() const { return m_printerPopup; }

    // A new, empty page for a pane, listed in the pane pop-up before the summary; answers its
    // user pane widget.
    QWidget *addPane(const QString &title);
    // Takes the pane out of the pane pop-up; its page stays, hidden.
    void withdrawPane(int index);
    bool isPaneOffered(int index) const;
    // Every pane's page goes (the summary stays).
    void clearPanes();
    int paneCount() const { return int(m_panes.size()); }
    QWidget *pane(int index) const;
    // Shows the page of pane index, paneCount() for the summary (as choosing it in the pane
    // pop-up does); a withdrawn pane is not shown.
    void showPane(int index);
    // The page shown: a pane index, paneCount() for the summary, -1 before any.
    int currentPane() const { return m_shown; }
    // Called with the page's index each time another page is shown.
    void setPaneShownHandler(std::function<void(int)> handler)
    {
        m_paneShownHandler = std::move(handler);
    }
    // After a pane has grown its user pane: the dialog grows to hold every page.
    void fitPanes();

    // The last entry of the pane pop-up: every pane's summary as a heading and value table,
    // filled from provider each time it is chosen.
    struct SummaryLine
    {
        QString pane, title, value;
    };
    void addSummaryPage(std::function<std::vector<SummaryLine>()> provider);
    QTableWidget *summaryTable() const { return m_summary; }

    QSpinBox *copiesBox() const { return m_copies; }
    QLineEdit *pageRangeField() const { return m_pageRange; }

    QComboBox *panePopup() const { return m_panePopup; }
    QPushButton *printButton() const { return m_printButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }

    // What the Print button does; answers whether the job went to print (the dialog then
    // closes) or was held back by a pane (the dialog stays open).
    void setPrintHandler(std::function<bool()> handler) { m_printHandler = std::move(handler); }

private:
    void onPrintClicked();
    void onPrinterChosen(int row);
    void onPaneChosen(int row);
    // The pane pop-up's row of a page (the summary: paneCount()), or -1.
    int rowOf(int page) const;
    void fillSummary();

    QComboBox *m_printerPopup = nullptr;
    int m_printer = 0;
    std::function<bool(int)> m_printerHandler;
    QComboBox *m_panePopup = nullptr;
    std::vector<int> m_rows; // the page of each pane pop-up row; -1 for the summary
    int m_shown = -1;
    std::function<void(int)> m_paneShownHandler;
    QWidget *m_paneArea = nullptr;
    QPushButton *m_printButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    std::vector<QWidget *> m_panes; // children of m_paneArea
    QTableWidget *m_summary = nullptr;
    std::function<std::vector<SummaryLine>()> m_summaryProvider;
    QSpinBox *m_copies = nullptr;
    QLineEdit *m_pageRange = nullptr;
    std::function<bool()> m_printHandler;
};

} // namespace veltra
