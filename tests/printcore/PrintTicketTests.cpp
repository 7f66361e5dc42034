// Tickets as the panes write them and as the printer driver receives them: values by key,
// locked entries, refused bad input, buffers that must not overflow, handles that travel as
// numbers, and the CUPS job options made of them.
#include <PrintCore/PrintHost.h>

#include <cstring>
#include <map>
#include <memory>

#include <gtest/gtest.h>

namespace {

using veltra::PrintTicket;

const CFStringRef kClient = CFSTR("com.veltra.kzu.AccountKind");

CFRef<CFStringRef> cfText(const char *utf8)
{
    return CFRef<CFStringRef>(CFStringCreateWithCString(nullptr, utf8, kCFStringEncodingUTF8));
}

OSStatus setValue(PMTicketRef ticket, const char *key, const char *value, bool locked = false)
{
    return PMTicketSetCString(ticket, kClient, cfText(key), value, locked);
}

std::string getValue(PMTicketRef ticket, const char *key, OSStatus *status = nullptr)
{
    char buffer[256] = {};
    const OSStatus result = PMTicketGetCString(ticket, kPMTopLevel, kPMTopLevel, cfText(key),
                                               sizeof buffer, kCFStringEncodingUTF8, buffer);
    if (status)
        *status = result;
    return result == noErr ? std::string(buffer) : std::string("<") + std::to_string(result) + ">";
}

TEST(PrintTicket, ValuesWrittenUnderAKeyReadBackUnlessLocked)
{
    PrintTicket ticket;
    EXPECT_EQ(setValue(ticket.ref(), "com.veltra.kzu.printsettings.PrintTypeTicketKey", "2"),
              noErr);
    EXPECT_EQ(setValue(ticket.ref(), "com.veltra.kzu.printsettings.UserName", "山田 太郎"), noErr);
    EXPECT_EQ(getValue(ticket.ref(), "com.veltra.kzu.printsettings.PrintTypeTicketKey"), "2");
    EXPECT_EQ(getValue(ticket.ref(), "com.veltra.kzu.printsettings.UserName"), "山田 太郎");

    // A second write replaces the value and keeps its place.
    EXPECT_EQ(setValue(ticket.ref(), "com.veltra.kzu.printsettings.PrintTypeTicketKey", "0"),
              noErr);
    ASSERT_EQ(ticket.entries().size(), 2u);
    EXPECT_EQ(ticket.entries()[0].value, "0");
    EXPECT_EQ(ticket.entries()[0].client, "com.veltra.kzu.AccountKind");

    OSStatus status = noErr;
    getValue(ticket.ref(), "com.veltra.kzu.printsettings.Absent", &status);
    EXPECT_EQ(status, kPMKeyNotFound);

    // A locked entry is not replaced; another client's entry under the same key is its own.
    ASSERT_EQ(setValue(ticket.ref(), "job.Key", "first", true), noErr);
    EXPECT_EQ(setValue(ticket.ref(), "job.Key", "second"), kPMLockIgnored);
    EXPECT_EQ(getValue(ticket.ref(), "job.Key"), "first");
    EXPECT_TRUE(ticket.entries()[2].locked);
    EXPECT_EQ(PMTicketSetCString(ticket.ref(), CFSTR("other.client"), CFSTR("job.Key"), "x", false),
              noErr);
}

TEST(PrintTicket, BadInputIsRefusedAndChangesNothing)
{
    PrintTicket ticket;
    ASSERT_EQ(setValue(ticket.ref(), "job.Key", "kept"), noErr);
    struct Case
    {
        const char *what;
        OSStatus (*write)(PMTicketRef);
        OSStatus expected;
    };
    const Case cases[] = {
        {"invalid UTF-8", [](PMTicketRef t) { return setValue(t, "job.Key", "ab\xC3\x28"); },
         kPMInvalidParameter},
        {"overlong UTF-8", [](PMTicketRef t) { return setValue(t, "job.Key", "\xC0\xAF"); },
         kPMInvalidParameter},
        {"UTF-16 surrogate", [](PMTicketRef t) { return setValue(t, "job.Key", "\xED\xA0\x80"); },
         kPMInvalidParameter},
        {"null value", [](PMTicketRef t) { return setValue(t, "job.Key", nullptr); },
         kPMInvalidParameter},
        {"null key",
         [](PMTicketRef t) { return PMTicketSetCString(t, kClient, nullptr, "v", false); },
         kPMInvalidParameter},
        {"null client",
         [](PMTicketRef t) { return PMTicketSetCString(t, nullptr, CFSTR("job.Key"), "v", false); },
         kPMInvalidParameter},
        {"empty key", [](PMTicketRef t) { return setValue(t, "", "v"); }, kPMInvalidParameter},
        {"key with a space", [](PMTicketRef t) { return setValue(t, "job Key", "v"); },
         kPMInvalidParameter},
        {"key with '='", [](PMTicketRef t) { return setValue(t, "job=Key", "v"); },
         kPMInvalidParameter},
        {"null ticket", [](PMTicketRef) { return setValue(nullptr, "job.Key", "v"); },
         kPMInvalidTicket},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.write(ticket.ref()), c.expected) << c.what;
        EXPECT_EQ(getValue(ticket.ref(), "job.Key"), "kept") << c.what;
        EXPECT_EQ(ticket.entries().size(), 1u) << c.what;
    }
}

TEST(PrintTicket, ReadIntoASmallBufferOrAnotherEncodingNeverWritesPastIt)
{
    PrintTicket ticket;
    const std::string value(300, 'x');
    ASSERT_EQ(setValue(ticket.ref(), "job.Long", value.c_str()), noErr);
    ASSERT_EQ(setValue(ticket.ref(), "job.Short", "abc"), noErr);

    struct Case
    {
        const char *key;
        UInt32 size;
        OSStatus expected;
    };
    const Case cases[] = {
        {"job.Long", 256, kPMInvalidParameter}, {"job.Long", 301, noErr},
        {"job.Short", 3, kPMInvalidParameter},  {"job.Short", 4, noErr},
        {"job.Short", 0, kPMInvalidParameter},
    };
    for (const Case &c : cases) {
        // Guard bytes after the buffer the caller owns.
        std::vector<char> memory(c.size + 16, '#');
        const OSStatus status =
            PMTicketGetCString(ticket.ref(), kPMTopLevel, kPMTopLevel, cfText(c.key), c.size,
                               kCFStringEncodingUTF8, memory.data());
        EXPECT_EQ(status, c.expected) << c.key << " into " << c.size;
        for (size_t i = c.size; i < memory.size(); ++i)
            ASSERT_EQ(memory[i], '#') << "written past the buffer at " << i;
        if (status == noErr) {
            EXPECT_EQ(std::strlen(memory.data()), c.size - 1);
        }
    }

    // The value is converted to the encoding asked for, or refused when it has no form there.
    ASSERT_EQ(setValue(ticket.ref(), "job.Name", "Caf\xC3\xA9"), noErr);
    ASSERT_EQ(setValue(ticket.ref(), "job.Kanji", "日本"), noErr);
    char buffer[16] = {};
    ASSERT_EQ(PMTicketGetCString(ticket.ref(), kPMTopLevel, kPMTopLevel, CFSTR("job.Name"),
                                 sizeof buffer, kCFStringEncodingISOLatin1, buffer),
              noErr);
    EXPECT_STREQ(buffer, "Caf\xE9");
    EXPECT_NE(PMTicketGetCString(ticket.ref(), kPMTopLevel, kPMTopLevel, CFSTR("job.Kanji"),
                                 sizeof buffer, kCFStringEncodingISOLatin1, buffer),
              noErr);
}

TEST(PrintTicket, HandlesNameLiveTicketsOnly)
{
    auto first = std::make_unique<PrintTicket>();
    PrintTicket second;
    const auto firstHandle = reinterpret_cast<intptr_t>(first->ref());
    const auto secondHandle = reinterpret_cast<intptr_t>(second.ref());
    EXPECT_GT(firstHandle, 0);
    EXPECT_LE(firstHandle, INT32_MAX);
    EXPECT_NE(firstHandle, secondHandle);
    EXPECT_EQ(PrintTicket::fromRef(first->ref()), first.get());
    EXPECT_EQ(PrintTicket::fromRef(second.ref()), &second);

    const PMTicketRef stale = first->ref();
    first.reset();
    EXPECT_EQ(PrintTicket::fromRef(stale), nullptr);
    EXPECT_EQ(setValue(stale, "job.Key", "v"), kPMInvalidTicket);
    OSStatus status = noErr;
    getValue(stale, "job.Key", &status);
    EXPECT_EQ(status, kPMInvalidTicket);

    // A new ticket does not take over the handle of the one that went away.
    PrintTicket third;
    EXPECT_NE(reinterpret_cast<intptr_t>(third.ref()), firstHandle);

    for (const intptr_t bogus : {intptr_t(0), intptr_t(-1), intptr_t(INT32_MAX) + 1})
        EXPECT_EQ(PrintTicket::fromRef(reinterpret_cast<PMTicketRef>(bogus)), nullptr) << bogus;
}

// The option string as the driver side reads it back with libcups.
std::map<std::string, std::string> parseOptions(const std::string &text)
{
    cups_option_t *options = nullptr;
    const int count = cupsParseOptions(text.c_str(), 0, &options);
    std::map<std::string, std::string> result;
    for (int i = 0; i < count; ++i)
        result.emplace(options[i].name, options[i].value);
    cupsFreeOptions(count, options);
    return result;
}

TEST(PrintTicket, OptionStringReadsBackExactlyThroughLibcups)
{
    const char *values[] = {
        "plain",
        "two words",
        "it's",
        "say \"hi\"",
        "C:\\path\\x",
        "/97/44/98",
        "a,b",
        "{braced}",
        "tab\there",
        "ends with backslash\\",
        "\"'mixed' \\ quotes\"",
        "パスワード",
        "",
    };
    PrintTicket ticket;
    int n = 0;
    for (const char *value : values) {
        const std::string key = "com.veltra.kzu.printsettings.Value" + std::to_string(n++);
        ASSERT_EQ(ticket.set("com.veltra.kzu.AccountKind", key, value, false), noErr) << value;
    }
    const auto parsed = parseOptions(ticket.toOptionString());
    ASSERT_EQ(parsed.size(), std::size(values)) << ticket.toOptionString();
    for (size_t i = 0; i < std::size(values); ++i) {
        const std::string key = "com.veltra.kzu.printsettings.Value" + std::to_string(i);
        ASSERT_EQ(parsed.count(key), 1u) << key;
        EXPECT_EQ(parsed.at(key), values[i]) << "option string: " << ticket.toOptionString();
    }
}

TEST(PrintTicket, CupsOptionsHoldEveryEntryByKey)
{
    PrintTicket ticket;
    ticket.set("com.veltra.kzu.AccountKind", "com.veltra.kzu.printsettings.UserName", "a b", false);
    ticket.set("com.veltra.kzu.AccountKind", "com.veltra.kzu.printsettings.Type", "1", false);
    cups_option_t *options = nullptr;
    const int count = ticket.toCupsOptions(&options);
    ASSERT_EQ(count, 2);
    EXPECT_STREQ(cupsGetOption("com.veltra.kzu.printsettings.UserName", count, options), "a b");
    EXPECT_STREQ(cupsGetOption("com.veltra.kzu.printsettings.Type", count, options), "1");
    cupsFreeOptions(count, options);

    PrintTicket empty;
    cups_option_t *none = nullptr;
    EXPECT_EQ(empty.toCupsOptions(&none), 0);
    EXPECT_EQ(empty.toOptionString(), "");
    EXPECT_EQ(empty.toCupsOptions(nullptr), 0);
}

} // namespace
