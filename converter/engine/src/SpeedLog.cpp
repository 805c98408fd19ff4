#include "engine/SpeedLog.h"

#include <filesystem>

#include "platform/OwnFiles.h"
#include "platform/Text.h"

namespace tess {

namespace {
// A file below this size is taken as damaged or foreign and replaced.
constexpr std::uintmax_t kSmallestLog = 66;
}  // namespace

std::string SpeedLogRecord::line() const {
    std::string text;
    for (const std::string& field :
         {startTime, startDate, endTime, endDate, std::to_string(elapsedMs), std::to_string(width),
          std::to_string(height), mode, priority}) {
        text += field;
        text += ',';
    }
    text += status;
    return text;
}

SpeedLog::SpeedLog(std::string folder, bool enabled)
    : folder_(std::move(folder)), enabled_(enabled) {}

std::string SpeedLog::path() const {
    return joinPath(folder_, kFileName);
}

Status SpeedLog::WriteSpeedFile(const std::string& sLogLine) const {
    if (!enabled_) {
        return {};
    }
    const std::string file = path();
    // The log is looked at by its own name, never through a link (the writers refuse one).
    std::error_code error;
    const bool isFile =
        std::filesystem::is_regular_file(std::filesystem::symlink_status(file, error));
    const std::uintmax_t size = isFile ? std::filesystem::file_size(file, error) : 0;
    const std::string record = cp1252::fromUtf8(sLogLine) + "\r\n";
    if (!isFile || error || size < kSmallestLog) {
        return writeOwnFile(file, std::string(kHeader) + "\r\n" + record);
    }
    return appendOwnFile(file, record);
}

}  // namespace tess
