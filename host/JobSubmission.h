// Sends a job to a CUPS destination: the ticket's entries and the user's options as job
// options, the documents streamed after them. Everything that can be checked is checked before
// the job is created, and a job that fails on the way is cancelled, so nothing prints half.
#pragma once

#include <PrintCore/PrintHost.h>

#include <string>
#include <utility>
#include <vector>

namespace veltra {

struct JobRequest
{
    std::string destination;                                // the CUPS queue
    std::string title;                                      // default: the first file's name
    int copies = 1;                                         // -n
    std::vector<std::pair<std::string, std::string>> extra; // -o NAME=VALUE, in order
    std::vector<std::string> files;                         // empty: standard input
};

// The longest option value CUPS takes (an IPP name value).
constexpr size_t kMaxCupsOptionValue = 255;

// Submits the job; answers its id, or 0 with *error set to what went wrong ("the value of
// the option NAME is N bytes; CUPS takes at most 255", "cannot read FILE: ...", CUPS' own
// reason for a refused job or an unreachable server).
int SubmitJob(const JobRequest &request, const PrintTicket &ticket, std::string *error);

} // namespace veltra
