// Print sessions as the panes reach them: the ticket and the PPD under their data keys, the
// current printer's identifier, and PPDs that libcups cannot open.
#include <CoreFoundation/CFQt.h>
#include <PrintCore/PrintHost.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstring>
#include <memory>

#include <gtest/gtest.h>

namespace {

using veltra::OpenPPD;
using veltra::PPDFile;
using veltra::PrintSession;
using veltra::PrintTicket;

const std::string kTestPPD = VELTRA_TEST_DATA_DIR "/Veltra-Test.ppd";

PPDFile openTestPPD()
{
    std::string error;
    PPDFile ppd = OpenPPD(kTestPPD, &error);
    EXPECT_TRUE(ppd) << error;
    return ppd;
}

TEST(PrintSession, TicketTravelsAsA32BitNumberThatNamesTheSessionsTicket)
{
    PrintSession session("Office_Printer", openTestPPD());
    CFTypeRef data = nullptr;
    ASSERT_EQ(PMSessionGetDataFromSession(session.ref(), kPMPrintSettingsTicketKey, &data), noErr);
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(CFGetTypeID(data), CFNumberGetTypeID());
    SInt32 handle = 0;
    ASSERT_TRUE(CFNumberGetValue(static_cast<CFNumberRef>(data), kCFNumberSInt32Type, &handle));
    const auto ticket = reinterpret_cast<PMTicketRef>(static_cast<intptr_t>(handle));
    EXPECT_EQ(PrintTicket::fromRef(ticket), &session.ticket());

    // What a pane writes through the handle is in the session's ticket.
    ASSERT_EQ(PMTicketSetCString(ticket, CFSTR("com.veltra.kzu.AccountKind"),
                                 CFSTR("com.veltra.kzu.printsettings.X"), "1", false),
              noErr);
    ASSERT_NE(session.ticket().value("com.veltra.kzu.printsettings.X"), nullptr);
    EXPECT_EQ(*session.ticket().value("com.veltra.kzu.printsettings.X"), "1");

    // The key is the one the panes spell out.
    CFTypeRef byName = nullptr;
    EXPECT_EQ(PMSessionGetDataFromSession(session.ref(), CFSTR("PMPrintSettingsTicket"), &byName),
              noErr);
    EXPECT_EQ(byName, data);
}

TEST(PrintSession, PPDTravelsAsDataHoldingThePointer)
{
    PrintSession session("Office_Printer", openTestPPD());
    CFTypeRef data = nullptr;
    ASSERT_EQ(PMSessionGetDataFromSession(session.ref(), CFSTR("kPMPPDReference"), &data), noErr);
    ASSERT_EQ(CFGetTypeID(data), CFDataGetTypeID());
    ASSERT_EQ(CFDataGetLength(static_cast<CFDataRef>(data)), CFIndex(sizeof(ppd_file_t *)));
    ppd_file_t *ppd = nullptr;
    std::memcpy(&ppd, CFDataGetBytePtr(static_cast<CFDataRef>(data)), sizeof ppd);
    EXPECT_EQ(ppd, session.ppd());
    ASSERT_NE(ppdFindAttr(ppd, "VZXAccountingSettings", nullptr), nullptr);
    EXPECT_STREQ(ppdFindAttr(ppd, "VZXAccountingSettings", nullptr)->value, "Printer01-Printer01");
}

TEST(PrintSession, DataTakenOutOfTheSessionIsNotFound)
{
    PrintSession session("Office_Printer", openTestPPD());
    struct Case
    {
        bool ticket;
        bool ppd;
    };
    for (const Case c : {Case{false, true}, Case{true, false}, Case{false, false}}) {
        session.setTicketAvailable(c.ticket);
        session.setPPDAvailable(c.ppd);
        CFTypeRef data = reinterpret_cast<CFTypeRef>(0x1);
        EXPECT_EQ(PMSessionGetDataFromSession(session.ref(), kPMPrintSettingsTicketKey, &data),
                  c.ticket ? noErr : kPMKeyNotFound);
        EXPECT_EQ(data != nullptr, c.ticket);
        EXPECT_EQ(PMSessionGetDataFromSession(session.ref(), kPMPPDReferenceKey, &data),
                  c.ppd ? noErr : kPMKeyNotFound);
        EXPECT_EQ(data != nullptr, c.ppd);
    }

    PrintSession withoutPPD("Office_Printer", nullptr);
    CFTypeRef data = nullptr;
    EXPECT_EQ(PMSessionGetDataFromSession(withoutPPD.ref(), kPMPPDReferenceKey, &data),
              kPMKeyNotFound);
    EXPECT_EQ(PMSessionGetDataFromSession(withoutPPD.ref(), CFSTR("SomethingElse"), &data),
              kPMKeyNotFound);
    EXPECT_EQ(PMSessionGetDataFromSession(withoutPPD.ref(), kPMPPDReferenceKey, nullptr),
              kPMInvalidParameter);
    EXPECT_EQ(PMSessionGetDataFromSession(withoutPPD.ref(), nullptr, &data), kPMInvalidParameter);
}

TEST(PrintSession, CurrentPrinterHasTheSessionsIdentifierWhileTheSessionLives)
{
    PrintSession session("Veltra_Sample", openTestPPD());
    PMPrinter printer = nullptr;
    ASSERT_EQ(PMSessionGetCurrentPrinter(session.ref(), &printer), noErr);
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(QStringFromCF(PMPrinterGetID(printer)), "Veltra_Sample");
    // The same identifier each time.
    EXPECT_EQ(PMPrinterGetID(printer), PMPrinterGetID(printer));

    PrintSession noPrinter("", openTestPPD());
    printer = reinterpret_cast<PMPrinter>(0x1);
    EXPECT_EQ(PMSessionGetCurrentPrinter(noPrinter.ref(), &printer), kPMInvalidPrinter);
    EXPECT_EQ(printer, nullptr);
    EXPECT_EQ(PMPrinterGetID(reinterpret_cast<PMPrinter>(noPrinter.ref())), nullptr);

    // A session that is gone or unknown is refused.
    auto gone = std::make_unique<PrintSession>("Gone", nullptr);
    // The handle of a session that is gone is only ever looked up, never dereferenced; read
    // through a volatile number, the compiler does not take it for a pointer to freed memory.
    const volatile auto staleHandle = reinterpret_cast<std::uintptr_t>(gone->ref());
    const auto stale = reinterpret_cast<PMPrintSession>(staleHandle);
    ASSERT_EQ(PMSessionGetCurrentPrinter(stale, &printer), noErr);
    gone.reset();

    CFTypeRef data = nullptr;
    EXPECT_EQ(PMSessionGetDataFromSession(stale, kPMPrintSettingsTicketKey, &data),
              kPMInvalidParameter);
    EXPECT_EQ(PMSessionGetCurrentPrinter(stale, &printer), kPMInvalidParameter);
    EXPECT_EQ(PMPrinterGetID(printer), nullptr);
    EXPECT_EQ(PMSessionGetDataFromSession(nullptr, kPMPrintSettingsTicketKey, &data),
              kPMInvalidParameter);
    EXPECT_EQ(PMPrinterGetID(nullptr), nullptr);
}

TEST(OpenPPD, PPDThatLibcupsCannotOpenGetsAClearMessage)
{
    QTemporaryDir dir;
    struct Case
    {
        const char *name;
        const char *text; // null: the file is not created
        const char *message;
    };
    const Case cases[] = {
        {"NoHeader.ppd", "*FormatVersion: \"4.3\"\n*ModelName: \"X\"\n", "on line 1"},
        {"NestedGroup.ppd",
         R"(*PPD-Adobe: "4.3"
*ModelName: "Broken"
*OpenGroup: General
*OpenGroup: Finishing
)",
         "OpenGroup without a CloseGroup first on line 4"},
        {"Empty.ppd", "", "cannot open PPD"},
        {"Missing.ppd", nullptr, "No such file or directory"},
    };
    for (const Case &c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        if (c.text) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.text);
        }
        std::string error;
        PPDFile ppd = OpenPPD(path.toStdString(), &error);
        EXPECT_FALSE(ppd) << c.name;
        EXPECT_EQ(error.rfind("cannot open PPD " + path.toStdString() + ": ", 0), 0u) << error;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.name << ": " << error;
    }
    std::string error;
    EXPECT_FALSE(OpenPPD("", &error));
    EXPECT_FALSE(error.empty());
}

TEST(OpenPPD, ValidPPDOpensAndIsOwnedByItsHolder)
{
    std::string error = "untouched";
    PPDFile ppd = OpenPPD(kTestPPD, &error);
    ASSERT_TRUE(ppd);
    EXPECT_EQ(error, "untouched");
    EXPECT_STREQ(ppd->modelname, "Veltra Test Printer");
    EXPECT_NE(ppdFindOption(ppd.get(), "VZHardDisk"), nullptr);
}

} // namespace
