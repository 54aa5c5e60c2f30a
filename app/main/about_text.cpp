#include "main/about_text.h"

#include <QDir>
#include <QFile>
#include <QTextStream>

#include <stdexcept>

QStringList aboutTextFolders(const QString& programFolder)
{
    const QDir program(programFolder);
    return {QDir::currentPath(), program.absolutePath(),
            QDir::cleanPath(program.absoluteFilePath(QStringLiteral("../share/rostradb")))};
}

QStringList readAboutText(const QStringList& folders)
{
    for (const QString& folder : folders) {
        QFile file(QDir(folder).filePath(QLatin1String(kAboutTextFile)));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        QStringList lines;
        QTextStream in(&file);
        while (!in.atEnd())
            lines.append(in.readLine());
        return lines;
    }
    throw std::runtime_error(std::string("Cannot open file ") + kAboutTextFile);
}
