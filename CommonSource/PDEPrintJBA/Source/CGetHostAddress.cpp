// The host name and its IPv4 address, with a bounded lookup.
#include "CGetHostAddress.h"

#include "JobInformationSources.h"

#include <netdb.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

// A failed step of a lookup is reported with the unit and line that gave up.
#define HOST_LOOKUP_REQUIRE(condition)                                                             \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            fprintf(stderr, "%s:%d: %s\n", __FILE_NAME__, __LINE__, #condition);                   \
            return false;                                                                          \
        }                                                                                          \
    } while (0)

namespace {

constexpr size_t kHostNameBufferSize = 256;
constexpr size_t kHostNameLength = 64;
constexpr size_t kAddressBufferSize = 40;
constexpr size_t kNumericHostSize = 46;
constexpr size_t kLongestDottedAddress = 15;

// What a lookup hands from the resolution to its caller. One lookup at a time.
bool result = false;
char *outString = nullptr;
int outStringLen = 0;

// Shared by the caller and the resolving thread; a thread still resolving when its caller
// has given up keeps it alive on its own.
struct HostLookup
{
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool resolved = false;
    std::vector<sockaddr_storage> addresses;
};

socklen_t AddressLength(const sockaddr_storage &address)
{
    return address.ss_family == AF_INET6 ? socklen_t(sizeof(sockaddr_in6))
                                         : socklen_t(sizeof(sockaddr_in));
}

// Every address in order becomes the numeric text in outString; the last one decides the text
// and the result.
bool TakeResolvedAddresses(const std::vector<sockaddr_storage> &addresses)
{
    HOST_LOOKUP_REQUIRE(!addresses.empty());
    for (const sockaddr_storage &address : addresses) {
        char name[kNumericHostSize] = {};
        if (getnameinfo(reinterpret_cast<const sockaddr *>(&address), AddressLength(address), name,
                        sizeof name, nullptr, 0, NI_NUMERICHOST) == 0) {
            memset(outString, 0, size_t(outStringLen));
            if (outStringLen > 0)
                strncpy(outString, name, size_t(outStringLen - 1));
            result = true;
        } else {
            result = false;
        }
    }
    return result;
}

// "I" and two hexadecimal digits per part of a dotted address; empty for anything else.
void FormatCompactAddress(const char *text, char *address)
{
    const size_t length = strlen(text);
    if (length > kLongestDottedAddress)
        return;
    char compact[kAddressBufferSize] = "I";
    size_t position = 0;
    for (int part = 0; part < 4 && position <= kLongestDottedAddress; ++part) {
        char digits[4] = {};
        size_t count = 0;
        while (position < length && text[position] != '.') {
            if (count == 3)
                return; // a part longer than three digits
            digits[count++] = text[position++];
        }
        if (position < length)
            ++position;
        const int value = atoi(digits);
        if (value > 255)
            return;
        char hex[3] = {};
        snprintf(hex, sizeof hex, "%2X", value);
        if (hex[0] == ' ')
            hex[0] = '0';
        strcat(compact, hex);
    }
    memcpy(address, compact, kAddressBufferSize);
}

} // namespace

bool getHostAddress(char *hostName, char *out, int outLength)
{
    result = false;
    if (!hostName || !out || outLength < 0)
        return false;
    outString = out;
    outStringLen = outLength;
    memset(out, 0, size_t(outLength));

    auto lookup = std::make_shared<HostLookup>();
    auto resolve = GetJobInformationSources().resolve;
    try {
        std::thread([lookup, resolve, name = std::string(hostName)] {
            std::vector<sockaddr_storage> addresses;
            const bool resolved = resolve(name.c_str(), &addresses);
            std::lock_guard<std::mutex> lock(lookup->mutex);
            lookup->resolved = resolved;
            lookup->addresses = std::move(addresses);
            lookup->done = true;
            lookup->finished.notify_one();
        }).detach();
    } catch (const std::system_error &) {
        HOST_LOOKUP_REQUIRE(!"the lookup thread could not start");
    }

    std::unique_lock<std::mutex> lock(lookup->mutex);
    const bool answered =
        lookup->finished.wait_for(lock, kHostLookupBound, [&lookup] { return lookup->done; });
    HOST_LOOKUP_REQUIRE(answered);
    HOST_LOOKUP_REQUIRE(lookup->resolved);
    return TakeResolvedAddresses(lookup->addresses);
}

void GetClientIPAddress(char *hostName, char *address)
{
    if (!hostName || !address)
        return;
    memset(hostName, 0, kHostNameLength + 1);
    memset(address, 0, kAddressBufferSize);

    char name[kHostNameBufferSize] = {};
    if (GetJobInformationSources().getHostName(name, kHostNameBufferSize - 1) != 0)
        return;
    name[kHostNameBufferSize - 1] = 0;
    memcpy(hostName, name, strnlen(name, kHostNameLength));

    char resolved[kAddressBufferSize] = {};
    if (!getHostAddress(hostName, resolved, int(sizeof resolved)))
        return;
    FormatCompactAddress(resolved, address);
}
