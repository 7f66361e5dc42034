#include "ConstraintFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ctest {

namespace {

constexpr char kDriver[] = "/usr/lib/cups/driver/openprinting-ppds";

QTemporaryDir &TemporaryDir()
{
    static QTemporaryDir dir;
    return dir;
}

} // namespace

const RealPPD kRealPPDs[4] = {
    {"Ricoh Pro C7200S", "openprinting-ppds:0/ppd/openprinting/Ricoh/PS/Ricoh-Pro_C7200S_PS.ppd"},
    {"Kyocera CS-C2525E",
     "openprinting-ppds:0/ppd/openprinting/Kyocera/en/Kyocera_CS-C2525E_en.ppd"},
    {"Lexmark CX920", "openprinting-ppds:0/ppd/openprinting/Lexmark/Lexmark_CX920_Series.ppd"},
    {"Sharp MX-M455N", "openprinting-ppds:0/ppd/openprinting/Sharp/sham455n.ppd"},
};

std::string PPDText(const std::string &body)
{
    return "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
           "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
           "*PCFileName: \"TEST.PPD\"\n*Manufacturer: \"Veltra\"\n*Product: \"(Test)\"\n"
           "*ModelName: \"Veltra Test\"\n*ShortNickName: \"Veltra Test\"\n"
           "*NickName: \"Veltra Test\"\n" +
           body;
}

std::string WritePPD(const std::string &text, const std::string &name)
{
    const QString path = TemporaryDir().filePath(QString::fromStdString(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) < 0)
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path.toStdString();
}

veltra::PPDFile OpenPPDText(const std::string &body)
{
    std::string error;
    veltra::PPDFile ppd = veltra::OpenPPD(WritePPD(PPDText(body)), &error);
    if (!ppd)
        ADD_FAILURE() << error;
    return ppd;
}

std::string RealPPDPath(const RealPPD &ppd)
{
    const QString uri = QString::fromUtf8(ppd.uri);
    const QString dir = QStringLiteral(VELTRA_TEST_BINARY_DIR "/constraint-ppds");
    const QString path = dir + QLatin1Char('/') + uri.section(QLatin1Char('/'), -1);
    if (QFileInfo(path).size() > 0)
        return path.toStdString();
    QProcess driver;
    driver.start(QString::fromUtf8(kDriver), {QStringLiteral("cat"), uri});
    if (!driver.waitForFinished(120000) || driver.exitCode() != 0) {
        ADD_FAILURE() << kDriver << " could not extract " << ppd.uri
                      << " (is Debian's openprinting-ppds installed?)";
        return {};
    }
    const QByteArray text = driver.readAllStandardOutput();
    QDir().mkpath(dir);
    // Renamed into place: a cut-short extraction is never reused.
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

} // namespace ctest
