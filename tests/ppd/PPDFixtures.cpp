#include "PPDFixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ppdtest {

const RealPPD kRealPPDs[kRealPPDCount] = {
    {"Kyocera FS-3700+ (fr)",
     "openprinting-ppds:0/ppd/openprinting/Kyocera/fr/Kyocera_FS-3700+_fr.ppd"},
    {"Sharp MX-2300N", "openprinting-ppds:0/ppd/openprinting/Sharp/Sharp-MX-2300N-ps.ppd"},
    {"Ricoh Pro C7200S", "openprinting-ppds:0/ppd/openprinting/Ricoh/PS/Ricoh-Pro_C7200S_PS.ppd"},
    {"Kyocera CS-C2525E",
     "openprinting-ppds:0/ppd/openprinting/Kyocera/en/Kyocera_CS-C2525E_en.ppd"},
    {"Lexmark CX920", "openprinting-ppds:0/ppd/openprinting/Lexmark/Lexmark_CX920_Series.ppd"},
    {"Sharp MX-M455N", "openprinting-ppds:0/ppd/openprinting/Sharp/sham455n.ppd"},
};

std::string MinimalPPD(const std::string &body)
{
    return "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
           "*LanguageVersion: English\n*PCFileName: \"VELTRA.PPD\"\n*Manufacturer: \"Veltra\"\n"
           "*Product: \"(Veltra Test)\"\n*ShortNickName: \"Veltra Test\"\n"
           "*NickName: \"Veltra Test\"\n" +
           body;
}

std::string WritePPD(const std::string &text, const std::string &name)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromStdString(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) < 0)
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path.toStdString();
}

veltra::PPDFile OpenInlinePPD(const std::string &body)
{
    std::string error;
    veltra::PPDFile ppd = veltra::OpenPPD(WritePPD(MinimalPPD(body)), &error);
    if (!ppd)
        ADD_FAILURE() << error;
    return ppd;
}

std::string RealPPDPath(const RealPPD &ppd)
{
    const char driverPath[] = "/usr/lib/cups/driver/openprinting-ppds";
    const QString uri = QString::fromUtf8(ppd.uri);
    const QString dir = QStringLiteral(VELTRA_TEST_BINARY_DIR "/ppd-fixtures");
    const QString path = dir + QLatin1Char('/') + uri.section(QLatin1Char('/'), -1);
    if (QFileInfo(path).size() > 0)
        return path.toStdString();
    QProcess driver;
    driver.start(QString::fromUtf8(driverPath), {QStringLiteral("cat"), uri});
    if (!driver.waitForFinished(120000) || driver.exitStatus() != QProcess::NormalExit ||
        driver.exitCode() != 0) {
        ADD_FAILURE() << driverPath << " could not extract " << ppd.uri
                      << " (is Debian's openprinting-ppds installed?) "
                      << driver.readAllStandardError().toStdString();
        return {};
    }
    const QByteArray text = driver.readAllStandardOutput();
    QDir().mkpath(dir);
    // Written to a temporary file and renamed: a cut-short extraction is never reused, and test
    // programs extracting at the same time do not mix their writes.
    QSaveFile file(path);
    if (!text.startsWith("*PPD-Adobe") || !file.open(QIODevice::WriteOnly) ||
        file.write(text) != text.size() || !file.commit()) {
        ADD_FAILURE() << "no PPD extracted for " << ppd.uri;
        return {};
    }
    return path.toStdString();
}

veltra::PPDFile OpenRealPPD(const RealPPD &ppd)
{
    const std::string path = RealPPDPath(ppd);
    std::string error;
    veltra::PPDFile file = path.empty() ? nullptr : veltra::OpenPPD(path, &error);
    if (!file && !path.empty())
        ADD_FAILURE() << ppd.name << ": " << error;
    return file;
}

std::string Utf8Owned(CFStringRef str)
{
    CFRef<CFStringRef> holder(str);
    char buffer[1024];
    if (!str)
        return "<null>";
    return CFStringGetCString(str, buffer, sizeof buffer, kCFStringEncodingUTF8)
               ? buffer
               : "<not convertible>";
}

} // namespace ppdtest
