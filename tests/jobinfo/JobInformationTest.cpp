// The job information the printer driver reads beside the accounting values: computer name,
// host name, compact IPv4 address, date and time, in that order, from injected sources and
// from the machine's own.
#include "JobInformation.h"
#include "CGetHostAddress.h"
#include "JobInformationSources.h"

#include <PrintCore/PrintHost.h>

#include <arpa/inet.h>
#include <netdb.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace {

const std::string kPrefix = "com.veltra.kzu.printsettings.";
const std::vector<std::string> kKeys = {
    kPrefix + "JBAMacHostNameStringTicket", kPrefix + "JBAHostNameStringTicket",
    kPrefix + "JBAIPAddressStringTicket", kPrefix + "JBAHkgnPrintDateTicketKey",
    kPrefix + "JBAHkgnPrintTimeTicketKey"};

// What the injected sources answer.
std::string machineName = "Office Mac";
bool hasMachineName = true;
std::string hostName = "office-mac";
std::vector<std::string> addresses = {"10.0.0.5"};
bool resolves = true;
double clockNow = 1236244023.0; // 5 March 2009, 09:07:03 UTC

std::mutex stalledMutex;
std::condition_variable stalledRelease;
bool releaseStalled = false;

CFStringRef InjectedMachineName()
{
    return hasMachineName
               ? CFStringCreateWithCString(nullptr, machineName.c_str(), kCFStringEncodingUTF8)
               : nullptr;
}

int InjectedHostName(char *name, size_t size)
{
    snprintf(name, size, "%s", hostName.c_str());
    return 0;
}

bool InjectedResolve(const char *, std::vector<sockaddr_storage> *out)
{
    for (const std::string &text : addresses) {
        sockaddr_storage address = {};
        if (text.find(':') != std::string::npos) {
            auto *six = reinterpret_cast<sockaddr_in6 *>(&address);
            six->sin6_family = AF_INET6;
            inet_pton(AF_INET6, text.c_str(), &six->sin6_addr);
        } else {
            auto *four = reinterpret_cast<sockaddr_in *>(&address);
            four->sin_family = AF_INET;
            inet_pton(AF_INET, text.c_str(), &four->sin_addr);
        }
        out->push_back(address);
    }
    return resolves;
}

bool StalledResolve(const char *, std::vector<sockaddr_storage> *)
{
    std::unique_lock<std::mutex> lock(stalledMutex);
    stalledRelease.wait(lock, [] { return releaseStalled; });
    return false;
}

double InjectedNow()
{
    return clockNow;
}

class JobInformationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "UTC", 1);
        tzset();
        machineName = "Office Mac";
        hasMachineName = true;
        hostName = "office-mac";
        addresses = {"10.0.0.5"};
        resolves = true;
        clockNow = 1236244023.0;
        const JobInformationSources injected = {InjectedMachineName, InjectedHostName,
                                                InjectedResolve, InjectedNow};
        SetJobInformationSources(&injected);
    }
    void TearDown() override { SetJobInformationSources(nullptr); }

    std::string stamped(size_t index)
    {
        const std::string *value = ticket.value(kKeys[index]);
        return value ? *value : "<absent>";
    }

    veltra::PrintTicket ticket;
};

TEST_F(JobInformationTest, WritesTheFiveKeysInOrder)
{
    ASSERT_TRUE(SetInformationToTicket(ticket.ref(), false));
    ASSERT_EQ(ticket.entries().size(), kKeys.size());
    for (size_t i = 0; i < kKeys.size(); ++i) {
        EXPECT_EQ(ticket.entries()[i].key, kKeys[i]);
        EXPECT_EQ(ticket.entries()[i].client, "com.veltra.kzu.AccountKind");
        EXPECT_FALSE(ticket.entries()[i].locked);
    }
    EXPECT_EQ(stamped(0), "Office Mac");
    EXPECT_EQ(stamped(1), "office-mac");
    EXPECT_EQ(stamped(2), "I0A000005");
    EXPECT_EQ(stamped(3), "03/05/2009");
    EXPECT_EQ(stamped(4), "09:07:03");

    // The host name keeps its first 64 bytes.
    hostName = std::string(70, 'h');
    ASSERT_TRUE(SetInformationToTicket(ticket.ref(), false));
    EXPECT_EQ(stamped(1), std::string(64, 'h'));
}

TEST_F(JobInformationTest, ComputerNameIsFilteredAndCut)
{
    const struct
    {
        const char *name;
        const char *written;
    } cases[] = {
        {"Anna\xE2\x80\x99s Mac", "Anna___s Mac"},
        {"aaaaaaaaaabbbbbbbbbbccccccccccdddddddddd", "aaaaaaaaaabbbbbbbbbbccccccccccdd"},
        {"    ", ""},
        {"Desk\tTop", "Desk_Top"},
        // Eleven three-byte characters: the cut keeps whole characters only.
        {"経理部経理部経理部経理", "経理部経理部経理部経"},
        // More than the conversion's 64 bytes: nothing fits, so nothing is written.
        {"0123456789012345678901234567890123456789012345678901234567890123456789", ""},
    };
    for (const auto &c : cases) {
        machineName = c.name;
        ticket.clear();
        ASSERT_TRUE(SetInformationToTicket(ticket.ref(), false)) << c.name;
        EXPECT_EQ(stamped(0), c.written) << c.name;
    }
    hasMachineName = false;
    ticket.clear();
    ASSERT_TRUE(SetInformationToTicket(ticket.ref(), false));
    EXPECT_EQ(stamped(0), "");
}

TEST_F(JobInformationTest, AddressTakesTheCompactFormOfTheLastAddress)
{
    const struct
    {
        std::vector<std::string> resolved;
        bool resolves;
        const char *written;
    } cases[] = {
        {{"10.0.0.5"}, true, "I0A000005"},
        {{"192.168.0.1"}, true, "IC0A80001"},
        {{"255.255.255.255"}, true, "IFFFFFFFF"},
        {{"2001:db8::8a2e:370:7334"}, true, ""},
        {{"2001:db8::8a2e:370:7334", "172.16.4.20"}, true, "IAC100414"},
        {{"172.16.4.20", "2001:db8::8a2e:370:7334"}, true, ""},
        {{}, false, ""},
    };
    for (const auto &c : cases) {
        addresses = c.resolved;
        resolves = c.resolves;
        ticket.clear();
        ASSERT_TRUE(SetInformationToTicket(ticket.ref(), false));
        EXPECT_EQ(stamped(2), c.written) << (c.resolved.empty() ? "none" : c.resolved.back());
        // The other keys are written whatever the address.
        EXPECT_EQ(stamped(1), "office-mac");
        EXPECT_EQ(stamped(4), "09:07:03");
    }
}

TEST_F(JobInformationTest, DateAndTimeAreFixedWidthWithRoundedSeconds)
{
    const struct
    {
        double now;
        const char *date;
        const char *time;
    } cases[] = {
        {1236244023.0, "03/05/2009", "09:07:03"},
        {1236244019.5, "03/05/2009", "09:06:60"},
        {1236244019.4, "03/05/2009", "09:06:59"},
        {1703980799.0, "12/30/2023", "23:59:59"},
    };
    for (const auto &c : cases) {
        clockNow = c.now;
        char date[17] = {};
        char time[17] = {};
        GetCurrentDateAndTime(date, time);
        EXPECT_STREQ(date, c.date) << c.now;
        EXPECT_STREQ(time, c.time) << c.now;
    }
}

TEST_F(JobInformationTest, StopsAtTheFirstRefusedWrite)
{
    // A locked address entry cannot be replaced: date and time are then not written.
    ASSERT_EQ(ticket.set("com.veltra.kzu.AccountKind", kKeys[2], "kept", true), noErr);
    EXPECT_FALSE(SetInformationToTicket(ticket.ref(), false));
    EXPECT_EQ(stamped(0), "Office Mac");
    EXPECT_EQ(stamped(1), "office-mac");
    EXPECT_EQ(stamped(2), "kept");
    EXPECT_EQ(stamped(3), "<absent>");
    EXPECT_EQ(stamped(4), "<absent>");
}

TEST_F(JobInformationTest, ResolverThatNeverAnswersLeavesTheAddressEmptyAndTheRestWritten)
{
    // How long the wait lasts is the benchmark's business; here: it ends, and nothing is lost.
    const JobInformationSources stalled = {InjectedMachineName, InjectedHostName, StalledResolve,
                                           InjectedNow};
    SetJobInformationSources(&stalled);
    ASSERT_TRUE(SetInformationToTicket(ticket.ref(), false));
    {
        std::lock_guard<std::mutex> lock(stalledMutex);
        releaseStalled = true;
    }
    stalledRelease.notify_all();
    EXPECT_EQ(stamped(1), "office-mac");
    EXPECT_EQ(stamped(2), "");
    EXPECT_EQ(stamped(3), "03/05/2009");
    EXPECT_EQ(stamped(4), "09:07:03");
}

// The machine's own host name, resolved through the system: the address written is the compact
// form of the last address getaddrinfo gives, or empty when that one is not IPv4.
TEST(JobInformationSystem, ResolvesTheMachinesHostName)
{
    SetJobInformationSources(nullptr);
    char name[256] = {};
    ASSERT_EQ(gethostname(name, sizeof name - 1), 0);
    std::string expected;
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) == 0) {
        const addrinfo *last = found;
        while (last && last->ai_next)
            last = last->ai_next;
        if (last && last->ai_family == AF_INET) {
            const auto *four = reinterpret_cast<const sockaddr_in *>(last->ai_addr);
            const uint32_t value = ntohl(four->sin_addr.s_addr);
            char compact[16] = {};
            snprintf(compact, sizeof compact, "I%08X", value);
            expected = compact;
        }
        freeaddrinfo(found);
    }
    veltra::PrintTicket ticket;
    ASSERT_TRUE(SetInformationToTicket(ticket.ref(), false));
    EXPECT_EQ(*ticket.value(kKeys[1]), std::string(name).substr(0, 64));
    EXPECT_EQ(*ticket.value(kKeys[2]), expected) << "host " << name;
    EXPECT_EQ(ticket.value(kKeys[3])->size(), 10u);
    EXPECT_EQ(ticket.value(kKeys[4])->size(), 8u);
}

} // namespace
