// The window shows byte strings. Patterns and level names are 8-bit text and
// map byte for byte to the first 256 code points; file names use the
// system's file-name encoding, so that every path typed or chosen opens.
#pragma once

#include <QFile>
#include <QString>
#include <string>

namespace pellimar {

inline QString TextFromBytes(const std::string& bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string BytesFromText(const QString& text)
{
    return text.toLatin1().toStdString();
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
