#include "rules/program_folder.h"

std::string FolderOfProgramFile(std::string_view programFile) {
    std::size_t slash = programFile.find_last_of("\\/");
    std::string folder(slash == std::string_view::npos ? std::string_view{}
                                                       : programFile.substr(0, slash + 1));
    if (folder.empty() || folder.back() != '\\') {
        folder += '\\';
    }
    return folder;
}
