#include "cli/cli_paths.h"

#include "jar/jar_contents.h"

namespace fs = std::filesystem;

std::string ResolveTemplate(const std::optional<std::string>& given, const std::string& executablePath)
{
    if (given)
        return *given;
    std::error_code ec;
    if (fs::is_regular_file(U8Path(kTemplateFileName), ec) || executablePath.empty())
        return kTemplateFileName;
    const fs::path beside = U8Path(executablePath).parent_path() / kTemplateFileName;
    if (fs::is_regular_file(beside, ec))
        return Utf8Path(beside);
    return kTemplateFileName;
}

std::string ResolveOutput(const std::optional<std::string>& given, const std::string& bookName)
{
    const fs::path file = U8Path(bookName + ".jar");
    if (!given)
        return Utf8Path(file);
    std::error_code ec;
    if (fs::is_directory(U8Path(*given), ec))
        return Utf8Path(U8Path(*given) / file);
    return *given;
}
