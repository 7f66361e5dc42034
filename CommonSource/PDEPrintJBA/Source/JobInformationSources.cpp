// The computer name, host name, address and clock behind the job information.
#include "JobInformationSources.h"

#include <netdb.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char kMachineInfoFile[] = "/etc/machine-info";

// A value of an environment-style file: the text after "=", unquoted as a shell reads it.
std::string UnquoteMachineInfoValue(const std::string &raw)
{
    std::string value;
    char quote = 0;
    for (size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (quote == '\'') {
            if (c == '\'')
                quote = 0;
            else
                value += c;
        } else if (c == '\\' && i + 1 < raw.size()) {
            value += raw[++i];
        } else if (c == '"') {
            quote = quote == '"' ? 0 : '"';
        } else if (c == '\'' && !quote) {
            quote = '\'';
        } else {
            value += c;
        }
    }
    return value;
}

std::string ReadPrettyHostName()
{
    FILE *file = fopen(kMachineInfoFile, "re");
    if (!file)
        return {};
    std::string pretty;
    char line[1024];
    while (fgets(line, sizeof line, file)) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
            text.pop_back();
        static const char kKey[] = "PRETTY_HOSTNAME=";
        if (text.compare(0, sizeof kKey - 1, kKey) == 0)
            pretty = UnquoteMachineInfoValue(text.substr(sizeof kKey - 1));
    }
    fclose(file);
    return pretty;
}

int SystemHostName(char *name, size_t size)
{
    return gethostname(name, size);
}

bool SystemResolve(const char *name, std::vector<sockaddr_storage> *addresses)
{
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM; // one entry per address, not one per socket type
    addrinfo *found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0)
        return false;
    for (addrinfo *entry = found; entry; entry = entry->ai_next) {
        if (!entry->ai_addr || entry->ai_addrlen > sizeof(sockaddr_storage))
            continue;
        sockaddr_storage address = {};
        memcpy(&address, entry->ai_addr, entry->ai_addrlen);
        addresses->push_back(address);
    }
    freeaddrinfo(found);
    return true;
}

double SystemNow()
{
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

const JobInformationSources kSystemSources = {CopyMachineName, SystemHostName, SystemResolve,
                                              SystemNow};
JobInformationSources currentSources = kSystemSources;

} // namespace

CFStringRef CopyMachineName()
{
    const std::string pretty = ReadPrettyHostName();
    if (!pretty.empty())
        return CFStringCreateWithCString(kCFAllocatorDefault, pretty.c_str(),
                                         kCFStringEncodingUTF8);
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) != 0 || !host[0])
        return nullptr;
    return CFStringCreateWithCString(kCFAllocatorDefault, host, kCFStringEncodingUTF8);
}

void SetJobInformationSources(const JobInformationSources *sources)
{
    currentSources = kSystemSources;
    if (!sources)
        return;
    if (sources->copyMachineName)
        currentSources.copyMachineName = sources->copyMachineName;
    if (sources->getHostName)
        currentSources.getHostName = sources->getHostName;
    if (sources->resolve)
        currentSources.resolve = sources->resolve;
    if (sources->now)
        currentSources.now = sources->now;
}

const JobInformationSources &GetJobInformationSources()
{
    return currentSources;
}
