// The print dialog's widgets: printer chooser, pane pop-up, pages, summary, buttons.
#include "PrintDialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace veltra {

namespace {

// The page size every pane starts with; a pane that needs more grows its user pane.
constexpr int kInitialPaneWidth = 560;
constexpr int kInitialPaneHeight = 240;

} // namespace

PrintDialog::PrintDialog(const QString &printerName, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Print"));
    setObjectName(QStringLiteral("PrintDialog"));

    auto *layout = new QVBoxLayout(this);
    // No side margins: the page area starts at the window's left edge.
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The dialog keeps the size its pages need: the panes centre their contents on the page
    // width once, so pages do not follow later resizing.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto *header = new QWidget(this);
    auto *headerLayout = new QHBoxLayout(header);
    auto *printerLabel = new QLabel(tr("&Printer:"), header);
    m_printerPopup = new QComboBox(header);
    m_printerPopup->setObjectName(QStringLiteral("printerPopup"));
    m_printerPopup->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_printerPopup->addItem(printerName);
    printerLabel->setBuddy(m_printerPopup);
    headerLayout->addWidget(printerLabel);
    headerLayout->addWidget(m_printerPopup);
    headerLayout->addStretch(1);
    m_panePopup = new QComboBox(header);
    m_panePopup->setObjectName(QStringLiteral("panePopup"));
    headerLayout->addWidget(m_panePopup);
    layout->addWidget(header);

    m_paneArea = new QWidget(this);
    m_paneArea->setObjectName(QStringLiteral("paneArea"));
    m_paneArea->setMinimumSize(kInitialPaneWidth, kInitialPaneHeight);
    layout->addWidget(m_paneArea, 1);

    auto *buttons = new QWidget(this);
    auto *buttonLayout = new QHBoxLayout(buttons);
    buttonLayout->addWidget(new QLabel(tr("Copies:"), buttons));
    m_copies = new QSpinBox(buttons);
    m_copies->setObjectName(QStringLiteral("copies"));
    m_copies->setRange(1, 9999);
    buttonLayout->addWidget(m_copies);
    buttonLayout->addWidget(new QLabel(tr("Pages:"), buttons));
    m_pageRange = new QLineEdit(buttons);
    m_pageRange->setObjectName(QStringLiteral("pageRange"));
    m_pageRange->setPlaceholderText(tr("All, or e.g. 1-3,5"));
    // What CUPS takes as page-ranges.
    m_pageRange->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^(\\d+(-\\d+)?)(,\\d+(-\\d+)?)*,?$|^$")), m_pageRange));
    buttonLayout->addWidget(m_pageRange);
    buttonLayout->addStretch(1);
    m_cancelButton = new QPushButton(tr("Cancel"), buttons);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_printButton = new QPushButton(tr("Print"), buttons);
    m_printButton->setObjectName(QStringLiteral("printButton"));
    m_printButton->setDefault(true);
    buttonLayout->addWidget(m_cancelButton);
    buttonLayout->addWidget(m_printButton);
    layout->addWidget(buttons);

    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_printButton, &QPushButton::clicked, this, &PrintDialog::onPrintClicked);
    connect(m_panePopup, &QComboBox::currentIndexChanged, this, &PrintDialog::onPaneChosen);
    connect(m_printerPopup, &QComboBox::currentIndexChanged, this, &PrintDialog::onPrinterChosen);

    adjustSize();
}

PrintDialog::~PrintDialog() = default;

void PrintDialog::setPrinters(const QStringList &names, int current)
{
    const QSignalBlocker blocker(m_printerPopup);
    m_printerPopup->clear();
    m_printerPopup->addItems(names);
    m_printer = current;
    m_printerPopup->setCurrentIndex(current);
}

void PrintDialog::onPrinterChosen(int row)
{
    if (row < 0 || row == m_printer)
        return;
    const int before = m_printer;
    m_printer = row;
    if (m_printerHandler && !m_printerHandler(row)) {
        m_printer = before;
        const QSignalBlocker blocker(m_printerPopup);
        m_printerPopup->setCurrentIndex(before);
    }
}

QWidget *PrintDialog::addPane(const QString &title)
{
    const int index = paneCount();
    auto *pane = new QWidget(m_paneArea);
    pane->setObjectName(QStringLiteral("userPane%1").arg(index));
    // Pages are not laid out: the panes place and grow them through the toolkit.
    pane->setGeometry(0, 0, m_paneArea->minimumWidth(), m_paneArea->minimumHeight());
    pane->hide();
    m_panes.push_back(pane);
    // Before the summary, which stays the last entry.
    const int row = m_summary ? int(m_rows.size()) - 1 : int(m_rows.size());
    m_rows.insert(m_rows.begin() + row, index);
    const QSignalBlocker blocker(m_panePopup);
    m_panePopup->insertItem(row, title);
    return pane;
}

int PrintDialog::rowOf(int page) const
{
    const int wanted = page == paneCount() ? -1 : page;
    for (size_t row = 0; row < m_rows.size(); ++row) {
        if (m_rows[row] == wanted)
            return int(row);
    }
    return -1;
}

bool PrintDialog::isPaneOffered(int index) const
{
    return index >= 0 && index < paneCount() && rowOf(index) >= 0;
}

void PrintDialog::withdrawPane(int index)
{
    const int row = isPaneOffered(index) ? rowOf(index) : -1;
    if (row < 0)
        return;
    m_rows.erase(m_rows.begin() + row);
    {
        const QSignalBlocker blocker(m_panePopup);
        m_panePopup->removeItem(row);
    }
    m_panes[size_t(index)]->hide();
    if (m_shown == index)
        m_shown = -1;
}

void PrintDialog::clearPanes()
{
    for (int index = paneCount() - 1; index >= 0; --index)
        withdrawPane(index);
    // At once: controls of the old pages must not be found by the panes that come next.
    qDeleteAll(m_panes);
    m_panes.clear();
    m_shown = -1;
}

QWidget *PrintDialog::pane(int index) const
{
    if (index < 0 || index >= paneCount())
        return nullptr;
    return m_panes[size_t(index)];
}

void PrintDialog::addSummaryPage(std::function<std::vector<SummaryLine>()> provider)
{
    m_summaryProvider = std::move(provider);
    m_summary = new QTableWidget(0, 2, m_paneArea);
    m_summary->setObjectName(QStringLiteral("summary"));
    m_summary->setHorizontalHeaderLabels({tr("Setting"), tr("Value")});
    m_summary->horizontalHeader()->setStretchLastSection(true);
    m_summary->verticalHeader()->hide();
    m_summary->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_summary->setGeometry(0, 0, m_paneArea->minimumWidth(), m_paneArea->minimumHeight());
    m_summary->hide();
    m_rows.push_back(-1);
    const QSignalBlocker blocker(m_panePopup);
    m_panePopup->addItem(tr("Summary"));
}

void PrintDialog::onPaneChosen(int row)
{
    if (row >= 0 && row < int(m_rows.size()))
        showPane(m_rows[size_t(row)] < 0 ? paneCount() : m_rows[size_t(row)]);
}

void PrintDialog::showPane(int index)
{
    const int row = rowOf(index);
    if (row < 0 || (index == paneCount() && !m_summary))
        return;
    const bool summary = index == paneCount();
    for (int i = 0; i < paneCount(); ++i)
        m_panes[size_t(i)]->setVisible(i == index);
    if (m_summary) {
        m_summary->setVisible(summary);
        if (summary)
            fillSummary();
    }
    if (m_panePopup->currentIndex() != row) {
        const QSignalBlocker blocker(m_panePopup);
        m_panePopup->setCurrentIndex(row);
    }
    if (m_shown != index) {
        m_shown = index;
        if (m_paneShownHandler)
            m_paneShownHandler(index);
    }
}

void PrintDialog::fillSummary()
{
    m_summary->setRowCount(0);
    QString pane;
    for (const SummaryLine &line : m_summaryProvider()) {
        if (line.pane != pane) {
            // A heading row per pane.
            pane = line.pane;
            const int row = m_summary->rowCount();
            m_summary->insertRow(row);
            auto *heading = new QTableWidgetItem(pane);
            QFont bold = heading->font();
            bold.setBold(true);
            heading->setFont(bold);
            m_summary->setItem(row, 0, heading);
            m_summary->setSpan(row, 0, 1, 2);
        }
        const int row = m_summary->rowCount();
        m_summary->insertRow(row);
        m_summary->setItem(row, 0, new QTableWidgetItem(line.title));
        m_summary->setItem(row, 1, new QTableWidgetItem(line.value));
    }
    m_summary->resizeColumnToContents(0);
    m_summary->setGeometry(0, 0, m_paneArea->minimumWidth(), m_paneArea->minimumHeight());
}

void PrintDialog::fitPanes()
{
    int width = kInitialPaneWidth;
    int height = kInitialPaneHeight;
    for (const QWidget *pane : m_panes) {
        width = std::max(width, pane->geometry().right() + 1);
        height = std::max(height, pane->geometry().bottom() + 1);
    }
    m_paneArea->setMinimumSize(width, height);
    adjustSize();
}

void PrintDialog::onPrintClicked()
{
    if (!m_printHandler || m_printHandler())
        accept();
}

} // namespace veltra
