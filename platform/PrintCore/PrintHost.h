// Host side of the print system: sessions, printers and tickets the host creates, and the
// conversion of a ticket into CUPS job options.
#pragma once

#include "PMCore.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <cups/cups.h>

namespace veltra {

// One ticket: string values keyed by (client identifier, key), in insertion order.
class PrintTicket
{
public:
    PrintTicket();
    ~PrintTicket();
    PrintTicket(const PrintTicket &) = delete;
    PrintTicket &operator=(const PrintTicket &) = delete;

    // The handle that travels through the session and the ticket calls.
    PMTicketRef ref() const;
    // Resolves a handle; null for one that names no live ticket.
    static PrintTicket *fromRef(PMTicketRef ref);

    struct Entry
    {
        std::string client;
        std::string key;
        std::string value; // UTF-8
        bool locked = false;
    };
    const std::vector<Entry> &entries() const { return m_entries; }
    // The value under key from any client, or null.
    const std::string *value(const std::string &key) const;
    OSStatus set(const std::string &client, const std::string &key, const std::string &value,
                 bool locked);
    void clear() { m_entries.clear(); }

    // Every entry as a CUPS job option named by its key (cupsAddOption); answers the count.
    int toCupsOptions(cups_option_t **options) const;
    // "key=value" words for a CUPS command line, values quoted where needed.
    std::string toOptionString() const;

private:
    std::vector<Entry> m_entries;
    SInt32 m_handle;
};

// A ppd_file_t* owned by the holder (ppdClose on destruction).
struct PPDCloser
{
    void operator()(ppd_file_t *ppd) const
    {
        if (ppd)
            ppdClose(ppd);
    }
};
using PPDFile = std::unique_ptr<ppd_file_t, PPDCloser>;

// Opens a PPD with libcups; on failure answers null and sets error to a clear message
// ("cannot open PPD FILE: <libcups' reason> on line N").
PPDFile OpenPPD(const std::string &path, std::string *error);

// A print session: the current printer (its identifier), its PPD (owned) and the print
// settings ticket (owned).
class PrintSession
{
public:
    // printerID may be empty: the session then has no current printer.
    PrintSession(std::string printerID, PPDFile ppd);
    ~PrintSession();
    PrintSession(const PrintSession &) = delete;
    PrintSession &operator=(const PrintSession &) = delete;

    PMPrintSession ref() { return reinterpret_cast<PMPrintSession>(this); }
    static PrintSession *fromRef(PMPrintSession ref)
    {
        return reinterpret_cast<PrintSession *>(ref);
    }

    PrintTicket &ticket() { return m_ticket; }
    ppd_file_t *ppd() const { return m_ppd.get(); }
    const std::string &printerID() const { return m_printerID; }

    // Tests: take the ticket or the PPD out of the session data, or put them back.
    void setTicketAvailable(bool available) { m_ticketAvailable = available; }
    void setPPDAvailable(bool available) { m_ppdAvailable = available; }

    // Session data as PMSessionGetDataFromSession hands it out.
    OSStatus getData(CFStringRef key, CFTypeRef *data);
    OSStatus currentPrinter(PMPrinter *printer);

private:
    std::string m_printerID;
    PPDFile m_ppd;
    PrintTicket m_ticket;
    bool m_ticketAvailable = true;
    bool m_ppdAvailable = true;
    CFRef<CFNumberRef> m_ticketNumber;
    CFRef<CFDataRef> m_ppdData;
    CFRef<CFStringRef> m_printerIDString;
};

} // namespace veltra
