// The window hands the model byte strings. Texts a person reads or types are
// UTF-8 (the model converts them to and from the file's 8-bit encoding);
// file names use the system's file-name encoding, so that every path typed
// or chosen opens.
#pragma once

#include <QFile>
#include <QString>
#include <string>

namespace pellimar {

inline QString TextFromUtf8(const std::string& bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string Utf8FromText(const QString& text)
{
    return text.toUtf8().toStdString();
}

inline QString PathFromBytes(const std::string& bytes)
{
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

inline std::string BytesFromPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

}  // namespace pellimar
