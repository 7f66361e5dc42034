// Print sessions, printers and tickets, as the panes see them.
#pragma once

#include "../CoreFoundation/CoreFoundation.h"

#include <cups/ppd.h>

typedef struct OpaquePMPrintSession *PMPrintSession;
typedef struct OpaquePMPrinter *PMPrinter;
// A ticket is named by a small integer handle (it travels in the session as a 32-bit number).
typedef struct OpaquePMTicketRef *PMTicketRef;

constexpr OSStatus kPMInvalidParameter = paramErr;
constexpr OSStatus kPMKeyNotFound = -30895;
constexpr OSStatus kPMInvalidTicket = -30891;
constexpr OSStatus kPMInvalidPrinter = -30879;
constexpr OSStatus kPMLockIgnored = -30878;
constexpr UInt32 kPMTopLevel = 0;

// Session data keys.
extern const CFStringRef
    kPMPrintSettingsTicketKey;               // "PMPrintSettingsTicket": CFNumber (SInt32 handle)
extern const CFStringRef kPMPPDReferenceKey; // "kPMPPDReference": CFData holding a ppd_file_t*

// *data is not retained for the caller; kPMKeyNotFound when the session holds nothing there.
OSStatus PMSessionGetDataFromSession(PMPrintSession session, CFStringRef key, CFTypeRef *data);
OSStatus PMSessionGetCurrentPrinter(PMPrintSession session, PMPrinter *printer);
// The printer's identifier (not retained for the caller), the same in every dialog; null when
// it has none.
CFStringRef PMPrinterGetID(PMPrinter printer);

// Stores a NUL-terminated UTF-8 value under (clientID, key). A locked entry cannot be
// replaced (kPMLockIgnored); kPMInvalidTicket for a handle the print system does not hold;
// kPMInvalidParameter for invalid UTF-8 or a null argument.
OSStatus PMTicketSetCString(PMTicketRef ticket, CFStringRef clientID, CFStringRef key,
                            const char *value, Boolean locked);
// Copies the value stored under key (any client) into buffer with its NUL, converted to
// encoding; kPMKeyNotFound when absent, paramErr when it does not fit.
OSStatus PMTicketGetCString(PMTicketRef ticket, UInt32 nodeType1, UInt32 nodeType2, CFStringRef key,
                            UInt32 bufferSize, CFStringEncoding encoding, char *buffer);
