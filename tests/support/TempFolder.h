#pragma once
// A fresh folder in the temporary directory, removed with everything in it
// when the object goes.
#include <filesystem>
#include <string>
#include <string_view>

namespace tarnik::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Writes `bytes` to the file `name` in the folder and returns its path.
    std::filesystem::path write(std::string_view name, std::string_view bytes) const;
    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

}  // namespace tarnik::test
