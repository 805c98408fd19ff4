#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tess::testing {

// A fresh folder of its own under the system's temporary folder (only the owner may enter it),
// removed with everything in it at the end. Before removing, it gives the owner back full rights
// on every entry, so a test that made a file or folder read-only still leaves nothing behind.
class TempFolder {
  public:
    // The folder is named "<prefix>-" and six random characters.
    explicit TempFolder(std::string_view prefix = "tess");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const;
    // The names directly inside the folder, sorted.
    std::vector<std::string> names() const;
    bool has(std::string_view name) const;
    // Writes `bytes` as the file `name` inside the folder and returns its path.
    std::string write(std::string_view name, std::string_view bytes) const;

  private:
    std::string path_;
};

// The whole file, byte for byte; empty when it cannot be read. Plain streams, not the project's
// own file functions, so the tests of those functions don't check them with themselves.
std::string readFileContents(const std::string& path);
// Creates or replaces the file with exactly `bytes`.
void writeFileContents(const std::string& path, std::string_view bytes);

}  // namespace tess::testing
