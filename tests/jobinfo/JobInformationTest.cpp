// The job information the printer driver reads beside the accounting values: computer name, host
// name, compact IPv4 address, date and time, in that order, from injected sources and the system.
#include "JobInformation.h"
#include "JobInformationSources.h"

#include <PrintCore/PrintHost.h>

#include <arpa/inet.h>
#include <netdb.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <future>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::string kPrefix = "com.veltra.kzu.printsettings.";
const std::string kKeys[] = {
    kPrefix + "JBAMacHostNameStringTicket", kPrefix + "JBAHostNameStringTicket",
    kPrefix + "JBAIPAddressStringTicket", kPrefix + "JBAHkgnPrintDateTicketKey",
    kPrefix + "JBAHkgnPrintTimeTicketKey"};
constexpr int Machine = 0, Host = 1, Address = 2, Date = 3, Time = 4;

struct Sources // what the injected sources answer
{
    std::optional<std::string> machine = "Office Mac"; // none: no computer name is set
    std::string host = "office-mac";
    std::vector<std::string> addresses = {"10.0.0.5"};
    bool resolves = true;
    double now = 1236244023.0; // 5 March 2009, 09:07:03 UTC
} given;

const JobInformationSources kInjected = {
    [] {
        return given.machine ? CFStringCreateWithCString(nullptr, given.machine->c_str(),
                                                         kCFStringEncodingUTF8)
                             : nullptr;
    },
    [](char *to, size_t size) { return std::min(0, snprintf(to, size, "%s", given.host.c_str())); },
    [](const char *, std::vector<sockaddr_storage> *out) {
        for (const std::string &text : given.addresses) {
            sockaddr_storage address = {};
            auto *six = reinterpret_cast<sockaddr_in6 *>(&address);
            auto *four = reinterpret_cast<sockaddr_in *>(&address);
            address.ss_family = text.find(':') != std::string::npos ? AF_INET6 : AF_INET;
            inet_pton(address.ss_family, text.c_str(),
                      address.ss_family == AF_INET6 ? (void *)&six->sin6_addr : &four->sin_addr);
            out->push_back(address);
        }
        return given.resolves;
    },
    [] { return given.now; }};

class JobInformationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "UTC", 1);
        tzset();
        given = Sources();
        SetJobInformationSources(&kInjected);
    }
    void TearDown() override { SetJobInformationSources(nullptr); }
    std::string stamped(int key)
    {
        const std::string *value = ticket.value(kKeys[key]);
        return value ? *value : "<absent>";
    }
    veltra::PrintTicket ticket;
};

TEST_F(JobInformationTest, WritesTheFiveKeysInOrderFromWhatTheSourcesAnswer)
{
    ASSERT_TRUE(SetInformationToTicket(ticket.ref(), false));
    ASSERT_EQ(ticket.entries().size(), 5u);
    const char *expected[] = {"Office Mac", "office-mac", "I0A000005", "03/05/2009", "09:07:03"};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(ticket.entries()[i].key, kKeys[i]);
        EXPECT_EQ(ticket.entries()[i].value, expected[i]);
        EXPECT_FALSE(ticket.entries()[i].locked);
    }
    const struct
    {
        const char *name;
        Sources in;
        int key;
        std::string written;
    } rows[] = {
        // The computer name: "_" for control bytes and U+2019, cut to 32 bytes, none past 64.
        {"apostrophe", {.machine = "Anna\xE2\x80\x99s Mac"}, Machine, "Anna___s Mac"},
        {"long", {.machine = std::string(40, 'a')}, Machine, std::string(32, 'a')},
        {"spaces", {.machine = "    "}, Machine, ""},
        {"tab", {.machine = "Desk\tTop"}, Machine, "Desk_Top"},
        {"three-byte", {.machine = "経理部経理部経理部経理"}, Machine, "経理部経理部経理部経"},
        {"past 64", {.machine = std::string(70, '0')}, Machine, ""},
        {"no name", {.machine = std::nullopt}, Machine, ""},
        {"host name", {.host = std::string(70, 'h')}, Host, std::string(64, 'h')},
        // The compact form of the last address, empty when that one is not IPv4.
        {"private", {.addresses = {"192.168.0.1"}}, Address, "IC0A80001"},
        {"all ones", {.addresses = {"255.255.255.255"}}, Address, "IFFFFFFFF"},
        {"IPv6", {.addresses = {"2001:db8::8a2e:370:7334"}}, Address, ""},
        {"IPv6 then IPv4", {.addresses = {"2001:db8::1", "172.16.4.20"}}, Address, "IAC100414"},
        {"IPv4 then IPv6", {.addresses = {"172.16.4.20", "2001:db8::1"}}, Address, ""},
        {"unresolved", {.addresses = {}, .resolves = false}, Address, ""},
        // Fixed width, the seconds rounded (half a second up, even to 60).
        {"round up", {.now = 1236244019.5}, Time, "09:06:60"},
        {"round down", {.now = 1236244019.4}, Time, "09:06:59"},
        {"end of year", {.now = 1703980799.0}, Date, "12/30/2023"},
        {"end of day", {.now = 1703980799.0}, Time, "23:59:59"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        given = row.in;
        ticket.clear();
        ASSERT_TRUE(SetInformationToTicket(ticket.ref(), false));
        EXPECT_EQ(stamped(row.key), row.written);
        EXPECT_EQ(ticket.entries().size(), 5u) << "the other keys are written whatever the value";
    }
}

TEST_F(JobInformationTest, StopsAtTheFirstRefusedWrite)
{
    // A locked address entry cannot be replaced: date and time are then not written.
    ASSERT_EQ(ticket.set("com.veltra.kzu.AccountKind", kKeys[Address], "kept", true), noErr);
    EXPECT_FALSE(SetInformationToTicket(ticket.ref(), false));
    EXPECT_EQ(stamped(Host), "office-mac");
    EXPECT_EQ(stamped(Address), "kept");
    EXPECT_EQ(stamped(Date) + stamped(Time), "<absent><absent>");
}

std::promise<void> release;
std::shared_future<void> released = release.get_future().share();

TEST_F(JobInformationTest, ResolverThatNeverAnswersLeavesTheAddressEmptyAndTheRestWritten)
{
    // How long the wait lasts is the benchmark's business; here: it ends, and nothing is lost.
    JobInformationSources stalled = kInjected;
    stalled.resolve = [](const char *, std::vector<sockaddr_storage> *) {
        released.wait();
        return false;
    };
    SetJobInformationSources(&stalled);
    ASSERT_TRUE(SetInformationToTicket(ticket.ref(), false));
    release.set_value();
    EXPECT_EQ(stamped(Address), "");
    EXPECT_EQ(stamped(Date), "03/05/2009");
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
    hints.ai_socktype = SOCK_STREAM; // any family
    addrinfo *found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) == 0) {
        const addrinfo *last = found;
        while (last->ai_next)
            last = last->ai_next;
        if (last->ai_family == AF_INET) {
            char compact[16] = {};
            snprintf(compact, sizeof compact, "I%08X",
                     ntohl(reinterpret_cast<const sockaddr_in *>(last->ai_addr)->sin_addr.s_addr));
            expected = compact;
        }
        freeaddrinfo(found);
    }
    veltra::PrintTicket ticket;
    ASSERT_TRUE(SetInformationToTicket(ticket.ref(), false));
    EXPECT_EQ(*ticket.value(kKeys[Host]), std::string(name).substr(0, 64));
    EXPECT_EQ(*ticket.value(kKeys[Address]), expected) << "host " << name;
}

} // namespace
