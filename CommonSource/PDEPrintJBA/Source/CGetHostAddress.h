// The computer's host name and its IPv4 address in the compact form the printer driver reads:
// "I" followed by two upper-case hexadecimal digits per byte (192.168.0.1 gives IC0A80001).
#pragma once

#include <chrono>

// No lookup holds up the print dialog longer than this; a name that does not resolve in time
// counts as not resolvable.
inline constexpr std::chrono::milliseconds kHostLookupBound{2000};

// Fills hostName (65 bytes: at most 64 of the host name) and address (40 bytes: the compact
// IPv4 form, or empty when the name does not resolve, or its last address is not IPv4).
void GetClientIPAddress(char *hostName, char *address);

// Resolves hostName and leaves the numeric text of its last address in out (outLength bytes
// with the NUL). False, with out empty, when the name does not resolve within the bound or the
// arguments are missing. One lookup runs at a time, on the caller's thread.
bool getHostAddress(char *hostName, char *out, int outLength);
