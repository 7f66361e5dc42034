#include "PPDFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ppdtest {

namespace {

constexpr char kDriver[] = "/usr/lib/cups/driver/openprinting-ppds";

QString FixtureDir()
{
    return QStringLiteral(VELTRA_TEST_BINARY_DIR "/ppd-fixtures");
}

} // namespace

const RealPPD kKyoceraFrench = {"Kyocera FS-3700+ (fr)",
                                "openprinting-ppds:0/ppd/openprinting/Kyocera/fr/"
                                "Kyocera_FS-3700+_fr.ppd"};
const RealPPD kRicoh = {
    "Ricoh Aficio MP C300",
    "openprinting-ppds:0/ppd/openprinting/Ricoh/PS/Ricoh-Aficio_MP_C300_PS.ppd"};
const RealPPD kLexmark = {"Lexmark C522",
                          "openprinting-ppds:0/ppd/openprinting/Lexmark/Lexmark_C522.ppd"};
const RealPPD kSharp = {"Sharp MX-2300N",
                        "openprinting-ppds:0/ppd/openprinting/Sharp/Sharp-MX-2300N-ps.ppd"};

std::string MinimalPPD(const std::string &body)
{
    return "*PPD-Adobe: \"4.3\"\n"
           "*FormatVersion: \"4.3\"\n"
           "*FileVersion: \"1.0\"\n"
           "*LanguageVersion: English\n"
           "*PCFileName: \"VELTRA.PPD\"\n"
           "*Manufacturer: \"Veltra\"\n"
           "*Product: \"(Veltra Test)\"\n"
           "*ShortNickName: \"Veltra Test\"\n"
           "*NickName: \"Veltra Test\"\n" +
           body;
}

veltra::PPDFile OpenInlinePPD(const std::string &text)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("inline.ppd"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        ADD_FAILURE() << "cannot write " << path.toStdString();
        return nullptr;
    }
    file.write(text.data(), qint64(text.size()));
    file.close();
    std::string error;
    veltra::PPDFile ppd = veltra::OpenPPD(path.toStdString(), &error);
    if (!ppd)
        ADD_FAILURE() << error;
    return ppd;
}

std::string RealPPDPath(const RealPPD &ppd)
{
    const QString uri = QString::fromUtf8(ppd.uri);
    const QString path = FixtureDir() + QLatin1Char('/') + uri.section(QLatin1Char('/'), -1);
    if (QFileInfo(path).size() > 0)
        return path.toStdString();

    if (!QFileInfo(QString::fromUtf8(kDriver)).isExecutable()) {
        ADD_FAILURE() << kDriver << " is missing: install Debian's openprinting-ppds package";
        return {};
    }
    QProcess driver;
    driver.start(QString::fromUtf8(kDriver), {QStringLiteral("cat"), uri});
    if (!driver.waitForFinished(60000) || driver.exitStatus() != QProcess::NormalExit ||
        driver.exitCode() != 0) {
        ADD_FAILURE() << "the driver could not extract " << ppd.uri << ": "
                      << driver.readAllStandardError().toStdString();
        return {};
    }
    const QByteArray text = driver.readAllStandardOutput();
    if (!text.startsWith("*PPD-Adobe")) {
        ADD_FAILURE() << "the driver gave no PPD for " << ppd.uri;
        return {};
    }
    QDir().mkpath(FixtureDir());
    // Written to a temporary file and renamed: a cut-short extraction is never reused, and test
    // programs extracting at the same time do not mix their writes.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        ADD_FAILURE() << "cannot write " << path.toStdString();
        return {};
    }
    return path.toStdString();
}

veltra::PPDFile OpenRealPPD(const RealPPD &ppd)
{
    const std::string path = RealPPDPath(ppd);
    if (path.empty())
        return nullptr;
    std::string error;
    veltra::PPDFile file = veltra::OpenPPD(path, &error);
    if (!file)
        ADD_FAILURE() << ppd.name << ": " << error;
    return file;
}

} // namespace ppdtest
