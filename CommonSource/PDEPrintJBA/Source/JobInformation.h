// Stamps the print-settings ticket with where and when the job was made: the computer's name,
// its host name, its IPv4 address, and the local date and time.
#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <PrintCore/PMCore.h>

// Writes the five job information keys in order and stops at the first write the ticket
// refuses (the keys written before it stay). True when all five were written.
bool SetInformationToTicket(PMTicketRef ticket, bool locked);

// Writes text (UTF-8, at most 255 bytes of it) under key; a text that is not valid UTF-8 is
// written empty. True when the ticket took it.
bool SetCStringToTicket(PMTicketRef ticket, char *text, CFStringRef key, bool locked);

// Writes text under key after converting it to UTF-8 within limit bytes (below 1: 256), cut to
// 32 bytes, with every byte outside lowest..highest and every U+2019 (three bytes) replaced by
// "_". Text that does not fit the limit, and text of spaces only, is written empty. True when
// the ticket took it.
bool SetCFStringToTicketWithByteFilter(PMTicketRef ticket, CFStringRef text, CFStringRef key,
                                       bool locked, unsigned char *lowest, unsigned char *highest,
                                       int limit);

// The local date as MM/DD/YYYY and time as HH:MM:SS (seconds rounded to the nearest whole
// one) into two 17-byte buffers.
void GetCurrentDateAndTime(char *date, char *time);
