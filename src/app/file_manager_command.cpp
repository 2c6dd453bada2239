#include "app/file_manager_command.h"

std::string SelectInFileManagerCommand(const std::string& path)
{
    return "explorer.exe /select,\"" + path + "\"";
}
