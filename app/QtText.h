#pragma once

#include <string>

#include <QString>

// Conversions at the edge between the core's byte strings and Qt's text. Record text is
// single-byte Latin-1; file names are the file system's own bytes (UTF-8 on Linux); texts
// for the operator that may hold a file name are shown as UTF-8 when they are valid UTF-8.
namespace QtText
{

QString Latin1(const std::string& bytes);
std::string ToLatin1(const QString& text);

QString Path(const std::string& bytes);
std::string PathBytes(const QString& path);

// A caption, panel or message: UTF-8 when valid (it names a file), else Latin-1.
QString Display(const std::string& bytes);

} // namespace QtText
