#include "app/QtText.h"

#include <QFile>
#include <QStringDecoder>

namespace QtText
{

QString Latin1(const std::string& bytes)
{
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToLatin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

QString Path(const std::string& bytes)
{
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string PathBytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString Display(const std::string& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return utf8.hasError() ? Latin1(bytes) : text;
}

} // namespace QtText
