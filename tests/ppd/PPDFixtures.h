// Printer descriptions for the PPD and constraint tests (both include this header): small ones
// written inline, and real Kyocera, Sharp, Ricoh and Lexmark ones from openprinting-ppds.
#pragma once

#include <CoreFoundation/CFQt.h>
#include <CoreFoundation/CoreFoundation.h>
#include <PrintCore/PrintHost.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace ppdtest {

// A minimal description around the given lines (options, attributes, header keywords).
inline std::string MinimalPPD(const std::string &body)
{
    return "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
           "*LanguageVersion: English\n*PCFileName: \"VELTRA.PPD\"\n*Manufacturer: \"Veltra\"\n"
           "*Product: \"(Veltra Test)\"\n*ShortNickName: \"Veltra Test\"\n"
           "*NickName: \"Veltra Test\"\n" +
           body;
}

// Writes text to a file of the test program's temporary directory and answers its path.
inline std::string WritePPD(const std::string &text, const std::string &name = "inline.ppd")
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromStdString(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), qint64(text.size())) < 0)
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path.toStdString();
}

// Opens path with libcups; fails the test and answers null when libcups refuses it.
inline veltra::PPDFile OpenTestedPPD(const std::string &path)
{
    std::string error;
    veltra::PPDFile ppd = path.empty() ? nullptr : veltra::OpenPPD(path, &error);
    if (!ppd)
        ADD_FAILURE() << path << ": " << error;
    return ppd;
}

inline veltra::PPDFile OpenInlinePPD(const std::string &body)
{
    return OpenTestedPPD(WritePPD(MinimalPPD(body)));
}

struct RealPPD
{
    const char *name; // short name used in test output
    const char *file; // its path in the driver's collection
};
// All declare LanguageEncoding ISOLatin1. The last four are among the largest descriptions the
// driver has, with hundreds of constraints.
constexpr int kKyoceraFrench = 0, kSharp = 1, kFirstLargePPD = 2, kRealPPDCount = 6;
inline constexpr RealPPD kRealPPDs[kRealPPDCount] = {
    {"Kyocera FS-3700+ (fr)", "Kyocera/fr/Kyocera_FS-3700+_fr.ppd"},
    {"Sharp MX-2300N", "Sharp/Sharp-MX-2300N-ps.ppd"},
    {"Ricoh Pro C7200S", "Ricoh/PS/Ricoh-Pro_C7200S_PS.ppd"},
    {"Kyocera CS-C2525E", "Kyocera/en/Kyocera_CS-C2525E_en.ppd"},
    {"Lexmark CX920", "Lexmark/Lexmark_CX920_Series.ppd"},
    {"Sharp MX-M455N", "Sharp/sham455n.ppd"},
};

// The path of the real description, extracted from the driver into the build tree on first
// use; empty (with a test failure naming the cause) when the driver cannot supply it.
inline std::string RealPPDPath(const RealPPD &ppd)
{
    const char driverPath[] = "/usr/lib/cups/driver/openprinting-ppds";
    const QString uri = QStringLiteral("openprinting-ppds:0/ppd/openprinting/") + ppd.file;
    const QString dir = QStringLiteral(VELTRA_TEST_BINARY_DIR "/ppd-fixtures");
    const QString path = dir + QLatin1Char('/') + uri.section(QLatin1Char('/'), -1);
    if (QFileInfo(path).size() > 0)
        return path.toStdString();
    QProcess driver;
    driver.start(QString::fromUtf8(driverPath), {QStringLiteral("cat"), uri});
    const bool ran = driver.waitForFinished(120000) &&
                     driver.exitStatus() == QProcess::NormalExit && driver.exitCode() == 0;
    const QByteArray text = driver.readAllStandardOutput();
    QDir().mkpath(dir);
    QSaveFile file(path); // renamed into place: a cut-short extraction is never reused
    if (!ran || !text.startsWith("*PPD-Adobe") || !file.open(QIODevice::WriteOnly) ||
        file.write(text) != text.size() || !file.commit()) {
        ADD_FAILURE() << driverPath << " could not extract " << uri.toStdString()
                      << " (is Debian's openprinting-ppds installed?) "
                      << driver.readAllStandardError().toStdString();
        return {};
    }
    return path.toStdString();
}

inline veltra::PPDFile OpenRealPPD(const RealPPD &ppd)
{
    return OpenTestedPPD(RealPPDPath(ppd));
}

// Takes over a Create/Copy result and answers its UTF-8 text; "<null>" for a null string.
inline std::string Utf8Owned(CFStringRef str)
{
    CFRef<CFStringRef> holder(str);
    return str ? QStringFromCF(str).toStdString() : "<null>";
}

} // namespace ppdtest
