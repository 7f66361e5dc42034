// Print sessions: the current printer, its PPD and the print settings ticket, handed to the
// panes as session data.
#include "PrintHost.h"

#include "CoreFoundation/CFQt.h"

#include <map>
#include <mutex>

const CFStringRef kPMPrintSettingsTicketKey = CFSTR("PMPrintSettingsTicket");
const CFStringRef kPMPPDReferenceKey = CFSTR("kPMPPDReference");

namespace veltra {

namespace {

// Live sessions, so that a stale or foreign session reference is refused, not followed; each
// with the identifier string of its current printer (null when it has none).
struct SessionRegistry
{
    std::mutex lock;
    std::map<const PrintSession *, CFStringRef> sessions;
};

SessionRegistry &sessions()
{
    static SessionRegistry r;
    return r;
}

PrintSession *liveSession(PMPrintSession ref)
{
    PrintSession *session = PrintSession::fromRef(ref);
    SessionRegistry &r = sessions();
    std::lock_guard guard(r.lock);
    return r.sessions.count(session) != 0 ? session : nullptr;
}

CFStringRef printerIDOf(PMPrintSession ref)
{
    SessionRegistry &r = sessions();
    std::lock_guard guard(r.lock);
    const auto found = r.sessions.find(PrintSession::fromRef(ref));
    return found == r.sessions.end() ? nullptr : found->second;
}

} // namespace

PrintSession::PrintSession(std::string printerID, PPDFile ppd)
    : m_printerID(std::move(printerID)), m_ppd(std::move(ppd))
{
    const SInt32 handle = SInt32(reinterpret_cast<std::intptr_t>(m_ticket.ref()));
    m_ticketNumber.reset(CFNumberCreate(nullptr, kCFNumberSInt32Type, &handle));
    if (m_ppd) {
        // The session data holds the pointer itself, as the panes read it back.
        const ppd_file_t *pointer = m_ppd.get();
        m_ppdData.reset(
            CFDataCreate(nullptr, reinterpret_cast<const UInt8 *>(&pointer), sizeof pointer));
    }
    if (!m_printerID.empty())
        m_printerIDString.reset(CFStringCreateWithQString(QString::fromStdString(m_printerID)));
    SessionRegistry &r = sessions();
    std::lock_guard guard(r.lock);
    r.sessions.emplace(this, m_printerIDString.get());
}

PrintSession::~PrintSession()
{
    SessionRegistry &r = sessions();
    std::lock_guard guard(r.lock);
    r.sessions.erase(this);
}

OSStatus PrintSession::getData(CFStringRef key, CFTypeRef *data)
{
    if (!data)
        return kPMInvalidParameter;
    *data = nullptr;
    if (!key)
        return kPMInvalidParameter;
    if (CFEqual(key, kPMPrintSettingsTicketKey)) {
        if (!m_ticketAvailable || !m_ticketNumber)
            return kPMKeyNotFound;
        *data = m_ticketNumber.get();
        return noErr;
    }
    if (CFEqual(key, kPMPPDReferenceKey)) {
        if (!m_ppdAvailable || !m_ppdData)
            return kPMKeyNotFound;
        *data = m_ppdData.get();
        return noErr;
    }
    return kPMKeyNotFound;
}

OSStatus PrintSession::currentPrinter(PMPrinter *printer)
{
    if (!printer)
        return kPMInvalidParameter;
    *printer = nullptr;
    if (!m_printerIDString)
        return kPMInvalidPrinter;
    // A printer reference names the session whose current printer it is.
    *printer = reinterpret_cast<PMPrinter>(this);
    return noErr;
}

} // namespace veltra

using veltra::PrintSession;

OSStatus PMSessionGetDataFromSession(PMPrintSession session, CFStringRef key, CFTypeRef *data)
{
    if (data)
        *data = nullptr;
    PrintSession *s = veltra::liveSession(session);
    if (!s)
        return kPMInvalidParameter;
    return s->getData(key, data);
}

OSStatus PMSessionGetCurrentPrinter(PMPrintSession session, PMPrinter *printer)
{
    if (printer)
        *printer = nullptr;
    PrintSession *s = veltra::liveSession(session);
    if (!s)
        return kPMInvalidParameter;
    return s->currentPrinter(printer);
}

CFStringRef PMPrinterGetID(PMPrinter printer)
{
    return veltra::printerIDOf(reinterpret_cast<PMPrintSession>(printer));
}
