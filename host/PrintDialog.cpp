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
    headerLayout->addWidget(new QLabel(tr("Printer: %1").arg(printerName), header));
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
    connect(m_panePopup, &QComboBox::currentIndexChanged, this, &PrintDialog::showPane);

    adjustSize();
}

PrintDialog::~PrintDialog() = default;

QWidget *PrintDialog::addPane(const QString &title)
{
    auto *pane = new QWidget(m_paneArea);
    pane->setObjectName(QStringLiteral("userPane%1").arg(m_panes.size()));
    // Pages are not laid out: the panes place and grow them through the toolkit.
    pane->setGeometry(0, 0, m_paneArea->minimumWidth(), m_paneArea->minimumHeight());
    m_panes.push_back(pane);
    {
        const QSignalBlocker blocker(m_panePopup);
        m_panePopup->addItem(title);
    }
    showPane(m_panePopup->currentIndex() < 0 ? 0 : m_panePopup->currentIndex());
    return pane;
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
    const QSignalBlocker blocker(m_panePopup);
    m_panePopup->addItem(tr("Summary"));
}

void PrintDialog::showPane(int index)
{
    const bool summary = m_summary && index == paneCount();
    if (index < 0 || (index >= paneCount() && !summary))
        return;
    for (int i = 0; i < paneCount(); ++i)
        m_panes[size_t(i)]->setVisible(i == index);
    if (m_summary) {
        m_summary->setVisible(summary);
        if (summary) {
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
    }
    if (m_panePopup->currentIndex() != index) {
        const QSignalBlocker blocker(m_panePopup);
        m_panePopup->setCurrentIndex(index);
    }
}

int PrintDialog::currentPane() const
{
    return m_panePopup->currentIndex();
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
