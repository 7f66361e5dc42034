// The interactive dialog printing to a CUPS queue that cannot be reached: the user is told
// why, the dialog stays open, and Print or Cancel can still be pressed.
#include "fixture/TestPDEControl.h"

#include <HostOptions.h>
#include <PrintApplication.h>
#include <PrintDialog.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cups/cups.h>

#include <gtest/gtest.h>

namespace {

TEST(InteractivePrint, ARefusedJobIsExplainedAndTheDialogStaysOpen)
{
    QTemporaryDir prefs;
    veltra::HostOptions options;
    options.bundleDir = testpde::kBundleDir;
    options.ppdFile = VELTRA_TEST_DATA_DIR "/Veltra-Test.ppd";
    options.destination = "Office";
    options.prefsDir = prefs.path().toStdString();
    // Nothing listens on the discard port.
    cupsSetServer("127.0.0.1:9");

    // Plays the user: Print, read the message and confirm it, then Cancel in the dialog that
    // is still open.
    int presses = 0;
    QString message;
    bool openAfterMessage = false;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            message = box->text();
            QTimer::singleShot(0, box->button(QMessageBox::Ok), &QPushButton::click);
        } else if (auto *dialog = dynamic_cast<veltra::PrintDialog *>(modal)) {
            if (presses++ == 0) {
                // Later, not from inside this tick: the message box runs its own loop.
                QTimer::singleShot(0, dialog->printButton(), &QPushButton::click);
            } else {
                openAfterMessage = dialog->isVisible() && !message.isEmpty();
                QTimer::singleShot(0, dialog->cancelButton(), &QPushButton::click);
            }
        }
    });
    user.start(20);
    const int status = veltra::RunPrintApplication(options);
    cupsSetServer(nullptr);

    EXPECT_TRUE(message.startsWith("The job was not printed: cannot reach the CUPS server"))
        << message.toStdString();
    EXPECT_TRUE(openAfterMessage);
    EXPECT_EQ(status, veltra::kHostRefused);
}

} // namespace
