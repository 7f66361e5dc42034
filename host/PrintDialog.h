// The print dialog of the host: a pane pop-up, one page per dialog extension, and the Print
// and Cancel buttons. Each page is a user pane that spans the dialog's full width with its
// left edge at x = 0, as the panes centre their contents on that width.
#pragma once

#include <QDialog>

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

    // A new, empty page for a pane; answers its user pane widget.
    QWidget *addPane(const QString &title);
    int paneCount() const { return int(m_panes.size()); }
    QWidget *pane(int index) const;
    // Shows the page of pane index (as choosing it in the pane pop-up does).
    void showPane(int index);
    int currentPane() const;
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

    QComboBox *m_panePopup = nullptr;
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
