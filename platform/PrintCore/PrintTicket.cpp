// Print tickets: string stores keyed by (client, key), named by small integer handles so that
// the handle can travel through the session as a 32-bit number.
#include "PrintHost.h"

#include "CoreFoundation/CFQt.h"
#include "CoreFoundation/UTF8Text.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>
#include <vector>

namespace veltra {

namespace {

struct TicketRegistry
{
    std::mutex lock;
    std::map<SInt32, PrintTicket *> tickets;
    SInt32 next = 1;

    SInt32 add(PrintTicket *ticket)
    {
        std::lock_guard guard(lock);
        // Handles are not reused while the counter lasts, so a stale handle names nothing.
        while (tickets.count(next) != 0 || next <= 0) {
            next = next == std::numeric_limits<SInt32>::max() ? 1 : next + 1;
        }
        const SInt32 handle = next;
        next = next == std::numeric_limits<SInt32>::max() ? 1 : next + 1;
        tickets.emplace(handle, ticket);
        return handle;
    }
    void remove(SInt32 handle)
    {
        std::lock_guard guard(lock);
        tickets.erase(handle);
    }
    PrintTicket *find(std::intptr_t handle)
    {
        if (handle <= 0 || handle > std::numeric_limits<SInt32>::max())
            return nullptr;
        std::lock_guard guard(lock);
        const auto found = tickets.find(SInt32(handle));
        return found == tickets.end() ? nullptr : found->second;
    }
};

TicketRegistry &registry()
{
    static TicketRegistry r;
    return r;
}

// A CUPS option name: printable ASCII without white space, '=' or quotes.
bool isOptionName(const std::string &key)
{
    if (key.empty())
        return false;
    for (const unsigned char c : key) {
        if (c <= ' ' || c >= 0x7F || c == '=' || c == '"' || c == '\'' || c == '\\')
            return false;
    }
    return true;
}

// The value as one word of a CUPS option string: plain when nothing in it is special to
// cupsParseOptions, else in double quotes with '"' and '\' escaped.
std::string quoteOptionValue(const std::string &value)
{
    bool plain = !value.empty();
    for (const unsigned char c : value) {
        if (c <= ' ' || c == '"' || c == '\'' || c == '\\' || c == '{' || c == '}' || c == 0x7F)
            plain = false;
    }
    if (plain)
        return value;
    std::string quoted = "\"";
    for (const char c : value) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

} // namespace

PrintTicket::PrintTicket() : m_handle(registry().add(this)) {}

PrintTicket::~PrintTicket()
{
    registry().remove(m_handle);
}

PMTicketRef PrintTicket::ref() const
{
    return reinterpret_cast<PMTicketRef>(static_cast<std::intptr_t>(m_handle));
}

PrintTicket *PrintTicket::fromRef(PMTicketRef ref)
{
    return registry().find(reinterpret_cast<std::intptr_t>(ref));
}

const std::string *PrintTicket::value(const std::string &key) const
{
    for (const Entry &entry : m_entries) {
        if (entry.key == key)
            return &entry.value;
    }
    return nullptr;
}

OSStatus PrintTicket::set(const std::string &client, const std::string &key,
                          const std::string &value, bool locked)
{
    if (client.empty() || !isOptionName(key) || !IsValidUTF8(client.data(), client.size()) ||
        !IsValidUTF8(value.data(), value.size()) || value.find('\0') != std::string::npos)
        return kPMInvalidParameter;
    for (Entry &entry : m_entries) {
        if (entry.client == client && entry.key == key) {
            if (entry.locked)
                return kPMLockIgnored;
            entry.value = value;
            entry.locked = locked;
            return noErr;
        }
    }
    m_entries.push_back(Entry{client, key, value, locked});
    return noErr;
}

int PrintTicket::toCupsOptions(cups_option_t **options) const
{
    if (!options)
        return 0;
    int count = 0;
    *options = nullptr;
    for (const Entry &entry : m_entries)
        count = cupsAddOption(entry.key.c_str(), entry.value.c_str(), count, options);
    return count;
}

std::string PrintTicket::toOptionString() const
{
    std::string words;
    for (const Entry &entry : m_entries) {
        if (!words.empty())
            words += ' ';
        words += entry.key + '=' + quoteOptionValue(entry.value);
    }
    return words;
}

} // namespace veltra

using veltra::PrintTicket;

OSStatus PMTicketSetCString(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                            const char *value, Boolean locked)
{
    PrintTicket *t = PrintTicket::fromRef(ticket);
    if (!t)
        return kPMInvalidTicket;
    if (!clientID || !key || !value)
        return kPMInvalidParameter;
    const std::size_t length = std::strlen(value);
    if (!veltra::IsValidUTF8(value, length))
        return kPMInvalidParameter;
    return t->set(QStringFromCF(clientID).toStdString(), QStringFromCF(key).toStdString(),
                  std::string(value, length), locked);
}

OSStatus PMTicketGetCString(PMTicketRef ticket, UInt32, UInt32, CFStringRef key, UInt32 bufferSize,
                            CFStringEncoding encoding, char *buffer)
{
    const PrintTicket *t = PrintTicket::fromRef(ticket);
    if (!t)
        return kPMInvalidTicket;
    if (!key || !buffer || bufferSize == 0)
        return kPMInvalidParameter;
    const std::string *stored = t->value(QStringFromCF(key).toStdString());
    if (!stored)
        return kPMKeyNotFound;

    std::string converted;
    if (encoding == kCFStringEncodingUTF8) {
        converted = *stored;
    } else {
        // Through a CF string so that every encoding the layer knows is available here.
        CFRef<CFStringRef> text(
            CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8 *>(stored->data()),
                                    CFIndex(stored->size()), kCFStringEncodingUTF8, false));
        if (!text)
            return kPMInvalidParameter;
        const CFIndex room =
            CFStringGetMaximumSizeForEncoding(CFStringGetLength(text), encoding) + 1;
        if (room <= 0)
            return kPMInvalidParameter;
        std::vector<char> bytes(static_cast<std::size_t>(room));
        if (!CFStringGetCString(text, bytes.data(), room, encoding))
            return kPMInvalidParameter;
        converted = bytes.data();
    }
    // Nothing is written unless the whole value and its NUL fit.
    if (converted.size() + 1 > bufferSize)
        return kPMInvalidParameter;
    std::memcpy(buffer, converted.c_str(), converted.size() + 1);
    return noErr;
}
