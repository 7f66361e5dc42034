// The printer chooser: what it lists when CUPS cannot be asked, the descriptions behind its
// entries, and a printer that cannot be used leaving the chooser where it was.
#include <PrintDialog.h>
#include <PrinterList.h>

#include <QComboBox>
#include <QTest>

#include <cups/cups.h>

#include <gtest/gtest.h>

namespace {

const std::string kSampleDir = VELTRA_SAMPLE_PPD_DIR;

TEST(PrinterChoice, WithoutCupsTheSamplePrintersAreOfferedAndAQueueCannotBeOpened)
{
    // A server socket nobody listens on.
    cupsSetServer("/nonexistent/veltra-test/cups.sock");
    std::string message;
    const std::vector<veltra::PrinterChoice> printers = veltra::ListPrinters(kSampleDir, &message);
    EXPECT_NE(message.find("the CUPS printers cannot be listed"), std::string::npos) << message;
    std::vector<std::string> ids, labels;
    for (const veltra::PrinterChoice &printer : printers) {
        ids.push_back(printer.id);
        labels.push_back(printer.label);
        EXPECT_TRUE(printer.destination.empty());
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"Veltra_LX3100", "Veltra_LX4200", "Veltra_LX5300",
                                             "Veltra_Sample"}));
    EXPECT_EQ(labels.back(), "Veltra Sample (sample)");

    std::string error;
    EXPECT_NE(veltra::OpenPrinterPPD(printers.back(), &error), nullptr) << error;
    veltra::PrinterChoice queue;
    queue.id = queue.destination = "Office";
    EXPECT_EQ(veltra::OpenPrinterPPD(queue, &error), nullptr);
    EXPECT_NE(error.find("the CUPS destination Office has no PPD"), std::string::npos) << error;
    veltra::PrinterChoice broken = veltra::SamplePrinter(VELTRA_TEST_DATA_DIR "/missing.ppd");
    EXPECT_EQ(veltra::OpenPrinterPPD(broken, &error), nullptr);
    EXPECT_FALSE(error.empty());
    cupsSetServer(nullptr);
}

TEST(PrinterChoice, ARefusedPrinterPutsTheChooserBack)
{
    veltra::PrintDialog dialog(QStringLiteral("First"));
    dialog.setPrinters({QStringLiteral("First"), QStringLiteral("Second"), QStringLiteral("Third")},
                       0);
    std::vector<int> asked;
    dialog.setPrinterHandler([&](int row) {
        asked.push_back(row);
        return row != 1; // the second printer cannot be opened
    });
    dialog.show();
    QComboBox *chooser = dialog.printerPopup();
    chooser->setFocus();
    QTest::keyClick(chooser, Qt::Key_Down);
    EXPECT_EQ(chooser->currentIndex(), 0);
    chooser->setCurrentIndex(2);
    EXPECT_EQ(chooser->currentIndex(), 2);
    EXPECT_EQ(asked, (std::vector<int>{1, 2}));
}

} // namespace
