// veltra-print: the print dialog host. See PrintApplication.h.
#include "PrintApplication.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    veltra::HostOptions options;
    std::string error;
    if (!veltra::ParseHostOptions(arguments, &options, &error)) {
        std::fprintf(stderr, "veltra-print: %s\n%s", error.c_str(),
                     veltra::HostUsage("veltra-print").c_str());
        return veltra::kHostUsage;
    }
    if (options.help) {
        std::fputs(veltra::HostUsage("veltra-print").c_str(), stdout);
        return veltra::kHostPrinted;
    }
    const std::string displayNote = veltra::ChooseDisplayMode(&options);
    if (!displayNote.empty())
        std::fprintf(stderr, "veltra-print: %s\n", displayNote.c_str());

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veltra-print"));
    return veltra::RunPrintApplication(options);
}
