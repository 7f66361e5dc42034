// The print system as panes and printer driver meet it: tickets, the job options made of them,
// print sessions, PPDs libcups cannot open, and help books opened through the host's viewer.
#include "CupsOptionText.h"

#include <CoreFoundation/CFQt.h>
#include <Help/AppleHelp.h>
#include <PrintCore/PrintHost.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

using veltra::PrintSession;
using veltra::PrintTicket;

const CFStringRef kClient = CFSTR("com.veltra.kzu.AccountKind");
const std::string kTestPPD = VELTRA_TEST_DATA_DIR "/Veltra-Test.ppd";

CFRef<CFStringRef> Str(const char *utf8)
{
    return CFRef<CFStringRef>(utf8 ? CFStringCreateWithCString(nullptr, utf8, kCFStringEncodingUTF8)
                                   : nullptr);
}

OSStatus Set(PMTicketRef ticket, const char *key, const char *value, bool locked = false)
{
    return PMTicketSetCString(ticket, kClient, Str(key), value, locked);
}

OSStatus GetInto(PMTicketRef ticket, const char *key, UInt32 size, char *buffer,
                 CFStringEncoding encoding = kCFStringEncodingUTF8)
{
    return PMTicketGetCString(ticket, kPMTopLevel, kPMTopLevel, Str(key), size, encoding, buffer);
}

// The value read back in UTF-8, or "<status>" when the read fails.
std::string Get(PMTicketRef ticket, const char *key)
{
    char buffer[256] = {};
    const OSStatus status = GetInto(ticket, key, sizeof buffer, buffer);
    return status == noErr ? buffer : "<" + std::to_string(status) + ">";
}

TEST(PrintTicket, ValuesReadBackUnlessLockedAndBadInputIsRefusedChangingNothing)
{
    PrintTicket ticket;
    EXPECT_EQ(Set(ticket.ref(), "com.veltra.kzu.printsettings.Type", "2"), noErr);
    EXPECT_EQ(Set(ticket.ref(), "com.veltra.kzu.printsettings.UserName", "山田 太郎"), noErr);
    EXPECT_EQ(Get(ticket.ref(), "com.veltra.kzu.printsettings.UserName"), "山田 太郎");
    // A second write replaces the value and keeps its place.
    EXPECT_EQ(Set(ticket.ref(), "com.veltra.kzu.printsettings.Type", "0"), noErr);
    EXPECT_EQ(Get(ticket.ref(), "com.veltra.kzu.printsettings.Type"), "0");
    ASSERT_EQ(ticket.entries().size(), 2u);
    EXPECT_EQ(ticket.entries()[0].value, "0");
    EXPECT_EQ(Get(ticket.ref(), "com.veltra.kzu.printsettings.Absent"),
              "<" + std::to_string(kPMKeyNotFound) + ">");
    // A locked entry is not replaced; another client's entry under the same key is its own.
    ASSERT_EQ(Set(ticket.ref(), "job.Key", "kept", true), noErr);
    EXPECT_EQ(Set(ticket.ref(), "job.Key", "second"), kPMLockIgnored);
    EXPECT_EQ(PMTicketSetCString(ticket.ref(), CFSTR("other.client"), CFSTR("job.Key"), "x", false),
              noErr);
    PrintTicket fresh;
    ASSERT_EQ(Set(fresh.ref(), "job.Key", "kept"), noErr);
    auto refused = [&](OSStatus status, OSStatus expected = kPMInvalidParameter) {
        EXPECT_EQ(status, expected);
        EXPECT_EQ(Get(fresh.ref(), "job.Key"), "kept");
        EXPECT_EQ(fresh.entries().size(), 1u);
    };
    // Invalid, overlong and surrogate UTF-8; keys the driver's option string cannot carry.
    for (const char *value : {"ab\xC3\x28", "\xC0\xAF", "\xED\xA0\x80", (const char *)nullptr})
        refused(Set(fresh.ref(), "job.Key", value));
    for (const char *key : {(const char *)nullptr, "", "job Key", "job=Key"})
        refused(Set(fresh.ref(), key, "v"));
    refused(PMTicketSetCString(fresh.ref(), nullptr, CFSTR("job.Key"), "v", false));
    refused(Set(nullptr, "job.Key", "v"), kPMInvalidTicket);
}

TEST(PrintTicket, ReadIntoASmallBufferOrAnotherEncodingNeverWritesPastIt)
{
    PrintTicket ticket;
    ASSERT_EQ(Set(ticket.ref(), "job.Long", std::string(300, 'x').c_str()), noErr);
    ASSERT_EQ(Set(ticket.ref(), "job.Short", "abc"), noErr);
    const std::tuple<const char *, UInt32, OSStatus> cases[] = {
        {"job.Long", 256, kPMInvalidParameter},
        {"job.Long", 301, noErr},
        {"job.Short", 3, kPMInvalidParameter},
        {"job.Short", 4, noErr},
        {"job.Short", 0, kPMInvalidParameter}};
    for (const auto &[key, size, expected] : cases) {
        std::vector<char> memory(size + 16, '#'); // guard bytes after the caller's buffer
        EXPECT_EQ(GetInto(ticket.ref(), key, size, memory.data()), expected) << key << " " << size;
        EXPECT_EQ(std::string(memory.begin() + size, memory.end()), std::string(16, '#'));
        EXPECT_EQ(expected == noErr ? std::strlen(memory.data()) : size - 1, size - 1);
    }
    // The value is converted to the encoding asked for, or refused when it has no form there.
    ASSERT_EQ(Set(ticket.ref(), "job.Name", "Caf\xC3\xA9"), noErr);
    ASSERT_EQ(Set(ticket.ref(), "job.Kanji", "日本"), noErr);
    char buffer[16] = {};
    ASSERT_EQ(GetInto(ticket.ref(), "job.Name", 16, buffer, kCFStringEncodingISOLatin1), noErr);
    EXPECT_STREQ(buffer, "Caf\xE9");
    EXPECT_NE(GetInto(ticket.ref(), "job.Kanji", 16, buffer, kCFStringEncodingISOLatin1), noErr);
}

TEST(PrintTicket, HandlesNameLiveTicketsOnlyAndTheJobOptionsReadBackThroughLibcups)
{
    auto first = std::make_unique<PrintTicket>();
    PrintTicket second;
    const auto firstHandle = reinterpret_cast<intptr_t>(first->ref());
    EXPECT_GT(firstHandle, 0);
    EXPECT_LE(firstHandle, INT32_MAX);
    EXPECT_NE(firstHandle, reinterpret_cast<intptr_t>(second.ref()));
    EXPECT_EQ(PrintTicket::fromRef(first->ref()), first.get());
    EXPECT_EQ(PrintTicket::fromRef(second.ref()), &second);
    const PMTicketRef stale = first->ref();
    first.reset();
    EXPECT_EQ(PrintTicket::fromRef(stale), nullptr);
    EXPECT_EQ(Set(stale, "job.Key", "v"), kPMInvalidTicket);
    EXPECT_EQ(Get(stale, "job.Key"), "<" + std::to_string(kPMInvalidTicket) + ">");
    PrintTicket third;
    EXPECT_NE(reinterpret_cast<intptr_t>(third.ref()), firstHandle) << "a handle is not reused";
    for (const intptr_t bogus : {intptr_t(0), intptr_t(-1), intptr_t(INT32_MAX) + 1})
        EXPECT_EQ(PrintTicket::fromRef(reinterpret_cast<PMTicketRef>(bogus)), nullptr) << bogus;

    // Quotes, backslashes, separators, white space, Japanese, and an empty value last.
    const QStringList values = QString::fromUtf8("plain|two words|it's|say \"hi\"|C:\\path\\x|"
                                                 "/97/44/98|a,b|{braced}|tab\there|ends with \\|"
                                                 "\"'mixed' \\ quotes\"|パスワード|")
                                   .split(u'|');
    PrintTicket ticket;
    for (qsizetype i = 0; i < values.size(); ++i)
        ASSERT_EQ(ticket.set("c", "k" + std::to_string(i), values[i].toStdString(), false), noErr);
    const CupsOptionMap parsed = ParseCupsOptions(ticket.toOptionString());
    veltra::CupsOptions direct;
    direct.count = ticket.toCupsOptions(&direct.options);
    ASSERT_EQ(qsizetype(parsed.size()), values.size()) << ticket.toOptionString();
    ASSERT_EQ(direct.count, values.size());
    for (qsizetype i = 0; i < values.size(); ++i) {
        const std::string key = "k" + std::to_string(i), value = values[i].toStdString();
        EXPECT_EQ(parsed.count(key) ? parsed.at(key) : "<missing>", value) << key;
        EXPECT_STREQ(cupsGetOption(key.c_str(), direct.count, direct.options), value.c_str())
            << key;
    }
    PrintTicket empty;
    veltra::CupsOptions none;
    EXPECT_EQ(none.count = empty.toCupsOptions(&none.options), 0);
    EXPECT_EQ(empty.toOptionString(), "");
    EXPECT_EQ(empty.toCupsOptions(nullptr), 0);
}

TEST(PrintSession, TicketTravelsAsA32BitNumberAndThePPDAsDataHoldingThePointer)
{
    PrintSession s("Office_Printer", veltra::OpenPPD(kTestPPD, nullptr));
    CFTypeRef data = nullptr, byName = nullptr;
    ASSERT_EQ(PMSessionGetDataFromSession(s.ref(), kPMPrintSettingsTicketKey, &data), noErr);
    ASSERT_EQ(CFGetTypeID(data), CFNumberGetTypeID());
    SInt32 handle = 0;
    ASSERT_TRUE(CFNumberGetValue(static_cast<CFNumberRef>(data), kCFNumberSInt32Type, &handle));
    ASSERT_EQ(Set(reinterpret_cast<PMTicketRef>(intptr_t(handle)), "job.X", "1"), noErr);
    EXPECT_EQ(Get(s.ticket().ref(), "job.X"), "1");
    // The key is the one the panes spell out.
    EXPECT_EQ(PMSessionGetDataFromSession(s.ref(), CFSTR("PMPrintSettingsTicket"), &byName), noErr);
    EXPECT_EQ(byName, data);
    ASSERT_EQ(PMSessionGetDataFromSession(s.ref(), CFSTR("kPMPPDReference"), &data), noErr);
    ASSERT_EQ(CFGetTypeID(data), CFDataGetTypeID());
    ASSERT_EQ(CFDataGetLength(static_cast<CFDataRef>(data)), CFIndex(sizeof(ppd_file_t *)));
    ppd_file_t *ppd = nullptr;
    std::memcpy(&ppd, CFDataGetBytePtr(static_cast<CFDataRef>(data)), sizeof ppd);
    ASSERT_EQ(ppd, s.ppd());
    EXPECT_STREQ(ppd->modelname, "Veltra Test Printer");
}

TEST(PrintSession, DataTakenOutIsNotFoundAndTheCurrentPrinterLivesWithTheSession)
{
    PrintSession session("Office_Printer", veltra::OpenPPD(kTestPPD, nullptr));
    for (const auto &[ticket, ppd] : {std::pair(false, true), {true, false}, {false, false}}) {
        session.setTicketAvailable(ticket);
        session.setPPDAvailable(ppd);
        CFTypeRef data = reinterpret_cast<CFTypeRef>(0x1);
        EXPECT_EQ(PMSessionGetDataFromSession(session.ref(), kPMPrintSettingsTicketKey, &data),
                  ticket ? noErr : kPMKeyNotFound);
        EXPECT_EQ(data != nullptr, ticket);
        EXPECT_EQ(PMSessionGetDataFromSession(session.ref(), kPMPPDReferenceKey, &data),
                  ppd ? noErr : kPMKeyNotFound);
        EXPECT_EQ(data != nullptr, ppd);
    }
    PrintSession withoutPPD("Office_Printer", nullptr);
    const PMPrintSession ref = withoutPPD.ref();
    CFTypeRef data = nullptr;
    PMPrinter printer = nullptr;
    EXPECT_EQ(PMSessionGetDataFromSession(ref, kPMPPDReferenceKey, &data), kPMKeyNotFound);
    EXPECT_EQ(PMSessionGetDataFromSession(ref, CFSTR("SomethingElse"), &data), kPMKeyNotFound);
    EXPECT_EQ(PMSessionGetDataFromSession(ref, kPMPPDReferenceKey, nullptr), kPMInvalidParameter);
    EXPECT_EQ(PMSessionGetDataFromSession(ref, nullptr, &data), kPMInvalidParameter);

    PrintSession named("Veltra_Sample", nullptr);
    ASSERT_EQ(PMSessionGetCurrentPrinter(named.ref(), &printer), noErr);
    EXPECT_EQ(QStringFromCF(PMPrinterGetID(printer)), "Veltra_Sample");
    EXPECT_EQ(PMPrinterGetID(printer), PMPrinterGetID(printer)) << "the same identifier each time";
    PrintSession noPrinter("", nullptr);
    printer = reinterpret_cast<PMPrinter>(0x1);
    EXPECT_EQ(PMSessionGetCurrentPrinter(noPrinter.ref(), &printer), kPMInvalidPrinter);
    EXPECT_EQ(printer, nullptr);
    EXPECT_EQ(PMPrinterGetID(reinterpret_cast<PMPrinter>(noPrinter.ref())), nullptr);
    // A session that is gone is refused. Its handle is only ever looked up, never dereferenced;
    // read through a volatile number, the compiler does not take it for a pointer to freed memory.
    auto gone = std::make_unique<PrintSession>("Gone", nullptr);
    const volatile auto staleHandle = reinterpret_cast<std::uintptr_t>(gone->ref());
    const auto stale = reinterpret_cast<PMPrintSession>(staleHandle);
    ASSERT_EQ(PMSessionGetCurrentPrinter(stale, &printer), noErr);
    gone.reset();
    EXPECT_EQ(PMSessionGetDataFromSession(stale, kPMPPDReferenceKey, &data), kPMInvalidParameter);
    EXPECT_EQ(PMSessionGetCurrentPrinter(stale, &printer), kPMInvalidParameter);
    EXPECT_EQ(PMPrinterGetID(printer), nullptr);
    EXPECT_EQ(PMSessionGetDataFromSession(nullptr, kPMPPDReferenceKey, &data), kPMInvalidParameter);
    EXPECT_EQ(PMPrinterGetID(nullptr), nullptr);
}

TEST(OpenPPD, PPDThatLibcupsCannotOpenGetsAClearMessage)
{
    QTemporaryDir dir;
    const std::tuple<const char *, const char *, const char *> cases[] = {
        {"NoHeader.ppd", "*FormatVersion: \"4.3\"\n*ModelName: \"X\"\n", "on line 1"},
        {"Nested.ppd", "*PPD-Adobe: \"4.3\"\n*OpenGroup: General\n*OpenGroup: Finishing\n",
         "OpenGroup without a CloseGroup first on line 3"},
        {"Empty.ppd", "", "cannot open PPD"},
        {"Missing.ppd", nullptr, "No such file or directory"}}; // the file is not created
    for (const auto &[name, text, message] : cases) {
        const std::string path = dir.filePath(QString::fromLatin1(name)).toStdString();
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(!text ||
                    (file.open(QIODevice::WriteOnly) && file.write(text) >= 0 && file.flush()));
        std::string error;
        EXPECT_FALSE(veltra::OpenPPD(path, &error)) << name;
        EXPECT_EQ(error.rfind("cannot open PPD " + path + ": ", 0), 0u) << error;
        EXPECT_NE(error.find(message), std::string::npos) << name << ": " << error;
    }
    std::string error = "untouched";
    ASSERT_TRUE(veltra::OpenPPD(kTestPPD, &error));
    EXPECT_EQ(error, "untouched");
    EXPECT_FALSE(veltra::OpenPPD("", &error));
    EXPECT_NE(error, "untouched");
}

const std::string kTestBundleDir = VELTRA_TEST_BINARY_DIR "/TestPDE.plugin";

FSRef BundleRef(const std::string &path)
{
    FSRef ref{};
    std::snprintf(ref.path, sizeof ref.path, "%s", path.c_str());
    return ref;
}

// Records every page the viewer is asked to open, as "path#anchor".
class Help : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VeltraBundleSetLanguage("en");
        VeltraSetHelpViewer(
            [](const char *page, const char *anchor, void *data) {
                static_cast<std::vector<std::string> *>(data)->push_back(
                    std::string(page) + "#" + (anchor ? anchor : "<none>"));
            },
            &opened);
        ASSERT_EQ(AHRegisterHelpBook(&bundle), noErr);
    }
    void TearDown() override { VeltraSetHelpViewer(nullptr, nullptr); }

    const std::string folder =
        QDir(QString::fromStdString(kTestBundleDir)).canonicalPath().toStdString() +
        "/Contents/Resources/Help/";
    FSRef bundle = BundleRef(kTestBundleDir);
    std::vector<std::string> opened;
};

TEST_F(Help, RegisteredBookOpensItsPagesInTheViewerAndNothingElse)
{
    ASSERT_EQ(AHGotoPage(CFSTR("Test Help Book"), CFSTR("TestPage.htm"), nullptr), noErr);
    ASSERT_EQ(AHGotoPage(CFSTR("Test Help Book"), CFSTR("TestPage.htm"), CFSTR("top")), noErr);
    // Without a page the book's first page opens.
    ASSERT_EQ(AHGotoPage(CFSTR("Test Help Book"), nullptr, nullptr), noErr);
    // Pages outside the book, and book names that do not match exactly, are not found.
    for (const char *page : {"Missing.htm", "../Data/sample.txt", "../../Info.plist"})
        EXPECT_EQ(AHGotoPage(CFSTR("Test Help Book"), Str(page), nullptr), fnfErr) << page;
    for (const char *book : {"No Such Book", "test help book"})
        EXPECT_EQ(AHGotoPage(Str(book), CFSTR("TestPage.htm"), nullptr), fnfErr) << book;
    EXPECT_EQ(AHGotoPage(nullptr, CFSTR("TestPage.htm"), nullptr), paramErr);
    EXPECT_EQ(opened,
              (std::vector<std::string>{folder + "TestPage.htm#<none>", folder + "TestPage.htm#top",
                                        folder + "index.htm#<none>"}));
    EXPECT_EQ(std::string(VeltraLastHelpPage()), folder + "index.htm");
}

TEST_F(Help, BookNameIsTheLocalizedNameAndBundlesWithoutHelpHaveNone)
{
    VeltraBundleSetLanguage("ja");
    ASSERT_EQ(AHRegisterHelpBook(&bundle), noErr);
    const std::string books = VeltraRegisteredHelpBooks();
    VeltraBundleSetLanguage("en");
    EXPECT_NE(books.find("Test Help Book"), std::string::npos) << books;
    EXPECT_NE(books.find("テストヘルプ"), std::string::npos) << books;
    EXPECT_EQ(AHGotoPage(CFSTR("テストヘルプ"), CFSTR("TestPage.htm"), nullptr), noErr);
    FSRef ref{};
    for (const char *path : {"/nonexistent/Bundle.plugin", kTestBundleDir.c_str()}) {
        CFRef<CFURLRef> url(
            CFURLCreateWithFileSystemPath(nullptr, Str(path), kCFURLPOSIXPathStyle, true));
        EXPECT_EQ(CFURLGetFSRef(url, &ref), path == kTestBundleDir) << path;
    }
    EXPECT_FALSE(CFURLGetFSRef(nullptr, &ref));
    EXPECT_EQ(AHRegisterHelpBook(&ref), noErr);
    ref = BundleRef("/nonexistent/Bundle.plugin");
    EXPECT_EQ(AHRegisterHelpBook(&ref), fnfErr);
    EXPECT_EQ(AHRegisterHelpBook(nullptr), paramErr);
    ref = BundleRef(VELTRA_TEST_DATA_DIR "/bundles/NoFactories.plugin"); // no help folder
    EXPECT_EQ(AHRegisterHelpBook(&ref), fnfErr);
}

} // namespace
