// Where the job information comes from: the computer's name, the host name, the resolution of
// the host name and the clock. The system's own sources are used unless a test replaces them.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <sys/socket.h>

#include <cstddef>
#include <vector>

struct JobInformationSources
{
    // The computer's name as the user knows it (a new string), or null when none is set.
    CFStringRef (*copyMachineName)();
    // gethostname's contract: 0 and the NUL-terminated name, or -1.
    int (*getHostName)(char *name, size_t size);
    // The addresses of name, in the resolver's order; false when it cannot be resolved. May
    // block: the caller bounds how long it waits.
    bool (*resolve)(const char *name, std::vector<sockaddr_storage> *addresses);
    // The current time in seconds since 1970-01-01 UTC, with its fraction.
    double (*now)();
};

// Replaces the sources; null members keep the system's. Null restores all of them.
void SetJobInformationSources(const JobInformationSources *sources);
const JobInformationSources &GetJobInformationSources();

// The system's computer name: the pretty host name set through systemd's hostnamed (kept in
// /etc/machine-info), else the host name. Null when neither is known.
CFStringRef CopyMachineName();
