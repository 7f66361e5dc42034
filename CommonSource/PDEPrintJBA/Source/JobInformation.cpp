// Writing the job information keys into the ticket.
#include "JobInformation.h"

#include "AppResources.h"
#include "CGetHostAddress.h"
#include "JobInformationSources.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

constexpr size_t kTicketBufferSize = 256;
constexpr size_t kMachineNameBytes = 32;
constexpr int kMachineNameLimit = 64;
constexpr size_t kHostNameBufferSize = 65;
constexpr size_t kAddressBufferSize = 40;
constexpr size_t kDateTimeBufferSize = 17;

const CFStringRef kMachineNameKey =
    CFSTR("com.veltra.kzu.printsettings.JBAMacHostNameStringTicket");
const CFStringRef kHostNameKey = CFSTR("com.veltra.kzu.printsettings.JBAHostNameStringTicket");
const CFStringRef kIPAddressKey = CFSTR("com.veltra.kzu.printsettings.JBAIPAddressStringTicket");
const CFStringRef kPrintDateKey = CFSTR("com.veltra.kzu.printsettings.JBAHkgnPrintDateTicketKey");
const CFStringRef kPrintTimeKey = CFSTR("com.veltra.kzu.printsettings.JBAHkgnPrintTimeTicketKey");

bool WriteTicket(PMTicketRef ticket, CFStringRef key, const char *value, bool locked)
{
    return PMTicketSetCString(ticket, GetAppClientID(), key, value, locked) == noErr;
}

// The driver reads fixed-width fields: the blanks "%2d" leaves in front become zeros.
void ZeroFillBlanks(char *text)
{
    for (; *text; ++text) {
        if (*text == ' ')
            *text = '0';
    }
}

// The length of the longest start of text within limit bytes that ends on a whole character.
size_t WholeCharactersWithin(const unsigned char *text, size_t length, size_t limit)
{
    if (length <= limit)
        return length;
    size_t cut = limit;
    while (cut > 0 && (text[cut] & 0xC0) == 0x80)
        --cut;
    return cut;
}

} // namespace

bool SetCStringToTicket(PMTicketRef ticket, char *text, CFStringRef key, bool locked)
{
    char buffer[kTicketBufferSize] = {};
    if (text) {
        CFRef<CFStringRef> string(
            CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8));
        if (!string ||
            !CFStringGetCString(string, buffer, CFIndex(sizeof buffer), kCFStringEncodingUTF8))
            memset(buffer, 0, sizeof buffer);
    }
    return WriteTicket(ticket, key, buffer, locked);
}

bool SetCFStringToTicketWithByteFilter(PMTicketRef ticket, CFStringRef text, CFStringRef key,
                                       bool locked, unsigned char *lowest, unsigned char *highest,
                                       int limit)
{
    if (limit < 1 || limit > int(kTicketBufferSize))
        limit = int(kTicketBufferSize);
    unsigned char buffer[kTicketBufferSize] = {};
    if (!text || !CFStringGetCString(text, reinterpret_cast<char *>(buffer), CFIndex(limit),
                                     kCFStringEncodingUTF8))
        return WriteTicket(ticket, key, "", locked);

    // The driver keeps 32 bytes; the cut never splits a character.
    const size_t converted = strlen(reinterpret_cast<char *>(buffer));
    size_t length = converted < size_t(limit) ? converted : size_t(limit);
    length = WholeCharactersWithin(buffer, length, kMachineNameBytes);
    memset(buffer + length, 0, sizeof buffer - length);

    if (strspn(reinterpret_cast<char *>(buffer), " ") == length)
        return WriteTicket(ticket, key, "", locked);

    for (size_t i = 0; i < length;) {
        if ((lowest && buffer[i] < *lowest) || (highest && buffer[i] > *highest))
            buffer[i] = '_';
        // The typographic apostrophe (U+2019) would end the driver's quoted value.
        if (i + 2 < length && buffer[i] == 0xE2 && buffer[i + 1] == 0x80 && buffer[i + 2] == 0x99) {
            buffer[i] = buffer[i + 1] = buffer[i + 2] = '_';
            i += 3;
            continue;
        }
        ++i;
    }
    return WriteTicket(ticket, key, reinterpret_cast<char *>(buffer), locked);
}

void GetCurrentDateAndTime(char *date, char *time)
{
    if (!date || !time)
        return;
    memset(date, 0, kDateTimeBufferSize);
    memset(time, 0, kDateTimeBufferSize);
    const double now = GetJobInformationSources().now();
    const double whole = std::floor(now);
    const time_t seconds = time_t(whole);
    tm local = {};
    if (!localtime_r(&seconds, &local))
        return;
    // Wide enough for any field value, so nothing is cut silently; the forms fit in 16.
    char text[64] = {};
    snprintf(text, sizeof text, "%2d/%2d/%4ld", local.tm_mon + 1, local.tm_mday,
             long(local.tm_year) + 1900);
    memcpy(date, text, strnlen(text, kDateTimeBufferSize - 1));
    snprintf(text, sizeof text, "%2d:%2d:%2.0f", local.tm_hour, local.tm_min,
             double(local.tm_sec) + (now - whole));
    memcpy(time, text, strnlen(text, kDateTimeBufferSize - 1));
    ZeroFillBlanks(date);
    ZeroFillBlanks(time);
}

bool SetInformationToTicket(PMTicketRef ticket, bool locked)
{
    CFRef<CFStringRef> machineName(GetJobInformationSources().copyMachineName());
    unsigned char lowest = 0x20;
    unsigned char highest = 0xFE;
    if (!SetCFStringToTicketWithByteFilter(ticket, machineName, kMachineNameKey, locked, &lowest,
                                           &highest, kMachineNameLimit))
        return false;

    char hostName[kHostNameBufferSize] = {};
    char address[kAddressBufferSize] = {};
    GetClientIPAddress(hostName, address);
    if (!SetCStringToTicket(ticket, hostName, kHostNameKey, locked) ||
        !SetCStringToTicket(ticket, address, kIPAddressKey, locked))
        return false;

    char date[kDateTimeBufferSize] = {};
    char time[kDateTimeBufferSize] = {};
    GetCurrentDateAndTime(date, time);
    if (!SetCStringToTicket(ticket, date, kPrintDateKey, locked))
        return false;
    return SetCStringToTicket(ticket, time, kPrintTimeKey, locked);
}
