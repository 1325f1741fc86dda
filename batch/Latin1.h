#pragma once

#include <string>
#include <string_view>

// Data files hold single-byte text (Latin-1); the batch commands write UTF-8.
namespace Latin1
{

// Appends bytes as UTF-8 to out.
void AppendUtf8(std::string_view bytes, std::string& out);
// A stored text for a report line: in quotes, control characters as \xNN.
std::string Quoted(std::string_view bytes);

} // namespace Latin1
