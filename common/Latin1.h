#pragma once

#include <string>
#include <string_view>

// Data files hold single-byte text (Latin-1); exports and logs are written in UTF-8.
namespace Latin1
{

// Appends bytes as UTF-8 to out.
void AppendUtf8(std::string_view bytes, std::string& out);
// Appends bytes as one CSV field in UTF-8, quoted (RFC 4180) when it holds a comma, a quote
// or a line end.
void AppendCsv(std::string_view bytes, std::string& out);
// A stored text for a report line: in quotes, control characters as \xNN.
std::string Quoted(std::string_view bytes);

} // namespace Latin1
