// Writes the installed desktop integration into a data folder (share): the desktop entry and
// MIME package, by the same code that writes a user's own copies when the program is not
// installed, and the icon as SVG and as PNG in each size given.
// Usage: qor_desktop_files DATA_FOLDER ICON.svg SIZE...

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/services/file_association.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: qor_desktop_files DATA_FOLDER ICON.svg SIZE...\n", stderr);
        return 2;
    }
    const std::string data = argv[1];
    const QString iconPath = QString::fromLocal8Bit(argv[2]);
    QFile iconFile(iconPath);
    if (!iconFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "qor_desktop_files: cannot read %s\n", argv[2]);
        return 1;
    }
    const std::string svg = iconFile.readAll().toStdString();

    // Installed programs are found on the search path, so the entry names the bare program.
    const auto& type = qor::services::kQorDocuments;
    const auto report = qor::services::createFileAssociation(type, "qorreader", svg, data,
                                                             qor::services::RefreshDatabases::No);
    for (const std::string& failed : report.failed) {
        std::fprintf(stderr, "qor_desktop_files: cannot write %s\n", failed.c_str());
    }
    bool ok = report.failed.empty();

    const QString id = QString::fromUtf8(type.applicationId);
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        QImageReader reader(iconPath);
        reader.setScaledSize(QSize(size, size));
        const QImage image = reader.read();
        const QString png = QStringLiteral("%1/icons/hicolor/%2x%2/apps/%3.png")
                                .arg(QString::fromStdString(data))
                                .arg(size)
                                .arg(id);
        if (size <= 0 || image.isNull() || !QDir().mkpath(QFileInfo(png).absolutePath()) ||
            !image.save(png)) {
            std::fprintf(stderr, "qor_desktop_files: cannot render the %s icon: %s\n", argv[i],
                         qPrintable(reader.errorString()));
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
