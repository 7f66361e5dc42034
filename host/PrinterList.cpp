// The printer chooser's list, and the printer descriptions behind it.
#include "PrinterList.h"

#include "CupsHolders.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace veltra {

namespace {

// Removes the temporary copy of a queue's PPD that CUPS hands out.
struct RemoveFile
{
    void operator()(const char *path) const { std::remove(path); }
};

} // namespace

PrinterChoice SamplePrinter(const std::string &ppdFile)
{
    const QString base = QFileInfo(QString::fromStdString(ppdFile)).completeBaseName();
    PrinterChoice printer;
    // "Veltra-Sample.ppd" is the printer "Veltra_Sample": identifiers keep to the characters
    // a CUPS queue name may have.
    printer.id = QString(base).replace(u'-', u'_').replace(u' ', u'_').toStdString();
    printer.label = QString(base).replace(u'-', u' ').toStdString() + " (sample)";
    printer.ppdFile = ppdFile;
    return printer;
}

std::vector<PrinterChoice> ListPrinters(const std::string &sampleDir, std::string *cupsMessage)
{
    std::vector<PrinterChoice> printers;
    CupsDests dests;
    dests.count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests.list);
    if (dests.count == 0 && cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE && cupsMessage)
        *cupsMessage = std::string("the CUPS printers cannot be listed (") + cupsLastErrorString() +
                       "); only the sample printers are offered";
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < dests.count; ++i) {
            const cups_dest_t &dest = dests.list[i];
            // Queues only (no instances), the default one first.
            if (dest.instance || bool(dest.is_default) != (pass == 0))
                continue;
            PrinterChoice printer;
            printer.id = printer.destination = dest.name;
            const char *info = cupsGetOption("printer-info", dest.num_options, dest.options);
            printer.label = info && *info && std::string(info) != dest.name
                                ? std::string(info) + " (" + dest.name + ")"
                                : std::string(dest.name);
            printers.push_back(std::move(printer));
        }
    }
    const QDir samples(QString::fromStdString(sampleDir));
    for (const QFileInfo &file :
         samples.entryInfoList({QStringLiteral("*.ppd")}, QDir::Files, QDir::Name))
        printers.push_back(SamplePrinter(file.absoluteFilePath().toStdString()));
    return printers;
}

PPDFile OpenPrinterPPD(const PrinterChoice &printer, std::string *error)
{
    if (printer.destination.empty())
        return OpenPPD(printer.ppdFile, error);
    char path[1024] = "";
    time_t modified = 0;
    const http_status_t got =
        cupsGetPPD3(CUPS_HTTP_DEFAULT, printer.destination.c_str(), &modified, path, sizeof path);
    if (got != HTTP_STATUS_OK) {
        if (error)
            *error = "the CUPS destination " + printer.destination + " has no PPD to open (" +
                     cupsLastErrorString() + ")";
        return nullptr;
    }
    std::unique_ptr<const char, RemoveFile> copy(path);
    return OpenPPD(path, error);
}

} // namespace veltra
