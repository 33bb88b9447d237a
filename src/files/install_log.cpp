#include "files/install_log.h"

#include "lexical/install_log_lines.h"

namespace kestrel::files {

bool InstallLog::write(std::string_view text) {
    if (!logging_)
        return false;
    if (!path_.empty()) {
        if (std::unique_ptr<os::OutputFile> file = files_.openForAppend(path_)) {
            std::string bytes = pending_;
            bytes += text;
            bytes += '\n';
            if (file->write(bytes.data(), static_cast<uint32_t>(bytes.size())) ==
                static_cast<int32_t>(bytes.size())) {
                pending_.clear();
                return true;
            }
        }
    }
    pending_ += text;
    return false;
}

bool InstallLog::writeDirectories(const std::vector<std::string>& created) {
    if (created.empty())
        return false;
    std::string piece;
    for (const std::string& directory : created) {
        piece += lexical::logline::directory(directory);
        piece += '\n';
    }
    return write(piece);
}

} // namespace kestrel::files
