#include "common/FindFile.h"

#include "common/TextUtil.h"

namespace FindFile
{

std::filesystem::path AnyCase(const std::filesystem::path& dir, std::string_view name)
{
    namespace fs = std::filesystem;
    const fs::path exact = dir / name;
    std::error_code ec;
    if (fs::exists(exact, ec))
        return exact;
    const std::string wanted = text::Upper(name);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (text::Upper(it->path().filename().string()) == wanted)
            return it->path();
    }
    return exact;
}

} // namespace FindFile
