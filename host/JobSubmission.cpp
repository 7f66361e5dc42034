// Job submission through libcups: every check first, then the job and its documents.
#include "JobSubmission.h"

#include "CupsHolders.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace veltra {

namespace {

struct FileCloser
{
    void operator()(std::FILE *file) const
    {
        if (file && file != stdin)
            std::fclose(file);
    }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

struct HttpCloser
{
    void operator()(http_t *http) const { httpClose(http); }
};

bool fail(std::string *error, std::string message)
{
    if (error)
        *error = std::move(message);
    return false;
}

} // namespace

int SubmitJob(const JobRequest &request, const PrintTicket &ticket, std::string *error)
{
    CupsOptions options;
    options.count = ticket.toCupsOptions(&options.options);
    for (const auto &[name, value] : request.extra)
        options.count = cupsAddOption(name.c_str(), value.c_str(), options.count, &options.options);
    if (request.copies != 1)
        options.count =
            cupsAddIntegerOption("copies", request.copies, options.count, &options.options);
    for (int i = 0; i < options.count; ++i) {
        const size_t length = std::strlen(options.options[i].value);
        if (length > kMaxCupsOptionValue) {
            fail(error, std::string("the value of the option ") + options.options[i].name + " is " +
                            std::to_string(length) + " bytes; CUPS takes at most " +
                            std::to_string(kMaxCupsOptionValue) + "; nothing is printed");
            return 0;
        }
    }

    // Every document opens before the job exists.
    std::vector<File> documents;
    if (request.files.empty())
        documents.emplace_back(stdin);
    for (const std::string &path : request.files) {
        File file(std::fopen(path.c_str(), "rb"));
        if (!file) {
            fail(error,
                 "cannot read " + path + ": " + std::strerror(errno) + "; nothing is printed");
            return 0;
        }
        documents.push_back(std::move(file));
    }

    std::unique_ptr<http_t, HttpCloser> http(httpConnect2(
        cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 30000, nullptr));
    if (!http) {
        fail(error, std::string("cannot reach the CUPS server ") + cupsServer() + ": " +
                        cupsLastErrorString());
        return 0;
    }
    CupsDests dest;
    dest.list = cupsGetNamedDest(http.get(), request.destination.c_str(), nullptr);
    dest.count = dest.list ? 1 : 0;
    if (!dest.list) {
        fail(error, "no CUPS destination " + request.destination + ": " + cupsLastErrorString());
        return 0;
    }
    const std::string title =
        !request.title.empty()
            ? request.title
            : (request.files.empty() ? std::string("(stdin)") : request.files.front());
    const char *format =
        cupsGetOption("raw", options.count, options.options) ? CUPS_FORMAT_RAW : CUPS_FORMAT_AUTO;
    const int job = cupsCreateJob(http.get(), request.destination.c_str(), title.c_str(),
                                  options.count, options.options);
    if (job <= 0) {
        fail(error,
             "CUPS refused the job for " + request.destination + ": " + cupsLastErrorString());
        return 0;
    }
    auto abandon = [&](std::string message) {
        cupsCancelJob2(http.get(), request.destination.c_str(), job, 0);
        fail(error, std::move(message) + "; the job is cancelled");
        return 0;
    };
    for (size_t i = 0; i < documents.size(); ++i) {
        const std::string name = request.files.empty() ? title : request.files[i];
        if (cupsStartDocument(http.get(), request.destination.c_str(), job, name.c_str(), format,
                              i + 1 == documents.size()) != HTTP_STATUS_CONTINUE)
            return abandon("CUPS refused the document " + name + ": " + cupsLastErrorString());
        char buffer[32768];
        size_t bytes = 0;
        while ((bytes = std::fread(buffer, 1, sizeof buffer, documents[i].get())) > 0) {
            if (cupsWriteRequestData(http.get(), buffer, bytes) != HTTP_STATUS_CONTINUE)
                return abandon("sending " + name + " failed: " + cupsLastErrorString());
        }
        if (std::ferror(documents[i].get())) {
            cupsFinishDocument(http.get(), request.destination.c_str());
            return abandon("cannot read " + name);
        }
        if (cupsFinishDocument(http.get(), request.destination.c_str()) != IPP_STATUS_OK)
            return abandon("CUPS refused the document " + name + ": " + cupsLastErrorString());
    }
    return job;
}

} // namespace veltra
