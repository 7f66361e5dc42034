// The help viewer service: a bundle registers its help book under its localized name, and
// pages of a registered book are opened through the host's viewer.
#include <CoreFoundation/CFQt.h>
#include <Help/AppleHelp.h>

#include <QDir>

#include <cstdio>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

const std::string kTestBundleDir = VELTRA_TEST_BINARY_DIR "/TestPDE.plugin";

FSRef testBundleRef()
{
    CFRef<CFStringRef> path(CFStringCreateWithQString(QString::fromStdString(kTestBundleDir)));
    CFRef<CFURLRef> url(CFURLCreateWithFileSystemPath(nullptr, path, kCFURLPOSIXPathStyle, true));
    FSRef ref{};
    EXPECT_TRUE(CFURLGetFSRef(url, &ref));
    return ref;
}

struct Opened
{
    std::string page;
    std::string anchor;
};

class Help : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VeltraBundleSetLanguage("en");
        VeltraSetHelpViewer(
            [](const char *page, const char *anchor, void *data) {
                static_cast<std::vector<Opened> *>(data)->push_back(
                    Opened{page, anchor ? anchor : "<none>"});
            },
            &m_opened);
        const FSRef ref = testBundleRef();
        ASSERT_EQ(AHRegisterHelpBook(&ref), noErr);
    }
    void TearDown() override
    {
        VeltraSetHelpViewer(nullptr, nullptr);
        VeltraBundleSetLanguage("en");
    }

    std::string helpFolder() const
    {
        return QDir(QString::fromStdString(kTestBundleDir)).canonicalPath().toStdString() +
               "/Contents/Resources/Help/";
    }

    std::vector<Opened> m_opened;
};

TEST_F(Help, RegisteredBookOpensItsPagesInTheViewer)
{
    ASSERT_EQ(AHGotoPage(CFSTR("Test Help Book"), CFSTR("TestPage.htm"), nullptr), noErr);
    ASSERT_EQ(m_opened.size(), 1u);
    EXPECT_EQ(m_opened[0].page, helpFolder() + "TestPage.htm");
    EXPECT_EQ(m_opened[0].anchor, "<none>");
    EXPECT_EQ(std::string(VeltraLastHelpPage()), helpFolder() + "TestPage.htm");

    ASSERT_EQ(AHGotoPage(CFSTR("Test Help Book"), CFSTR("TestPage.htm"), CFSTR("top")), noErr);
    EXPECT_EQ(m_opened.back().anchor, "top");
    // Without a page the book's first page opens.
    ASSERT_EQ(AHGotoPage(CFSTR("Test Help Book"), nullptr, nullptr), noErr);
    EXPECT_EQ(m_opened.back().page, helpFolder() + "index.htm");
}

TEST_F(Help, UnknownBooksAndMissingPagesAreNotFound)
{
    ASSERT_EQ(AHGotoPage(CFSTR("Test Help Book"), CFSTR("TestPage.htm"), nullptr), noErr);
    const std::string before = VeltraLastHelpPage();
    struct Case
    {
        CFStringRef book;
        CFStringRef page;
        OSStatus expected;
    };
    const Case cases[] = {
        {CFSTR("No Such Book"), CFSTR("TestPage.htm"), fnfErr},
        {CFSTR("Test Help Book"), CFSTR("Missing.htm"), fnfErr},
        {CFSTR("Test Help Book"), CFSTR("../Data/sample.txt"), fnfErr}, // outside the book
        {CFSTR("Test Help Book"), CFSTR("../../Info.plist"), fnfErr},
        {CFSTR("test help book"), CFSTR("TestPage.htm"), fnfErr}, // names match exactly
        {nullptr, CFSTR("TestPage.htm"), paramErr},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AHGotoPage(c.book, c.page, nullptr), c.expected)
            << QStringFromCF(c.page).toStdString();
    EXPECT_EQ(m_opened.size(), 1u);
    EXPECT_EQ(std::string(VeltraLastHelpPage()), before);
}

TEST_F(Help, BookNameIsTheLocalizedHelpBookName)
{
    VeltraBundleSetLanguage("ja");
    const FSRef ref = testBundleRef();
    ASSERT_EQ(AHRegisterHelpBook(&ref), noErr);
    const std::string books = VeltraRegisteredHelpBooks();
    EXPECT_NE(books.find("Test Help Book"), std::string::npos) << books;
    EXPECT_NE(books.find("テストヘルプ"), std::string::npos) << books;
    EXPECT_EQ(AHGotoPage(CFSTR("テストヘルプ"), CFSTR("TestPage.htm"), nullptr), noErr);
}

TEST(HelpRegistration, FileReferencesAndRegistrationRefuseMissingBundles)
{
    FSRef ref{};
    CFRef<CFURLRef> missing(CFURLCreateWithFileSystemPath(
        nullptr, CFSTR("/nonexistent/Bundle.plugin"), kCFURLPOSIXPathStyle, true));
    EXPECT_FALSE(CFURLGetFSRef(missing, &ref));
    EXPECT_FALSE(CFURLGetFSRef(nullptr, &ref));

    FSRef bogus{};
    std::snprintf(bogus.path, sizeof bogus.path, "%s", "/nonexistent/Bundle.plugin");
    EXPECT_EQ(AHRegisterHelpBook(&bogus), fnfErr);
    EXPECT_EQ(AHRegisterHelpBook(nullptr), paramErr);

    // A bundle without a help folder has no book.
    FSRef noHelp{};
    std::snprintf(noHelp.path, sizeof noHelp.path, "%s",
                  VELTRA_TEST_DATA_DIR "/bundles/NoFactories.plugin");
    EXPECT_EQ(AHRegisterHelpBook(&noHelp), fnfErr);
}

} // namespace
