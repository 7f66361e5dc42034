// How the panes reach the print session (ticket, current printer, printer description), the
// help viewer and the print dialog's pane. These functions hold no state.
#pragma once

#include "ControlRecords.h"

#include <PrintCore/PMCore.h>

constexpr OSStatus kNoPrintSettingsTicket = kPMInvalidTicket; // -30891

// The ticket stored under name ("PMPrintSettingsTicket"): the session holds it as a 32-bit
// number, stored into *(PMTicketRef *)out. 0, or -30891 when the session yields nothing.
OSStatus GetTicketFromSession(PMPrintSession session, CFStringRef name, void *out);
// The session's printer description (owned by the print system, never closed here).
// *ppd = null first; a session error is answered unchanged; no data answers 0 with null.
OSStatus GetPPDRefFromSession(PMPrintSession session, ppd_file_t **ppd);
// Appends the current printer's identifier to out: 0, or 1 without out or current printer.
OSStatus SetPrinterString(PMPrintSession session, CFMutableStringRef out);
void ReleasePrinterString(CFStringRef printer);
// key += printer + preferenceKey; false (appending nothing) when any of the three is null.
bool CreateKeyWithCurrentPrinter(CFStringRef preferenceKey, CFStringRef printer,
                                 CFMutableStringRef key);
// Registers the bundle's help book: AHRegisterHelpBook's result, or -43 without the bundle.
OSStatus RegisterMyHelpBook();
// Opens a help page of the book named by the localised bookKey (the key is its own default):
// AHGotoPage's result, -43 without bundle or string, -50 when the value is not a string.
OSStatus GotoHelpPage(CFStringRef path, CFStringRef anchor, CFStringRef bookKey);
// Embeds control in container and makes it visible without redrawing: the first error or 0.
OSStatus EmbedAndShowControl(ControlRef control, ControlRef container);
// Moves control down by frame->top and centres it on frame's width (frame->left not added).
void AdjustControlBoundsCenter(ControlRef control, Rect *frame);
void ReleaseCFString(CFStringRef *str);
