#include "support/TempFolder.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>

namespace tarnik::test {

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tarnik-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
    m_path = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::filesystem::path TempFolder::write(std::string_view name, std::string_view bytes) const
{
    const std::filesystem::path file = m_path / std::filesystem::path(std::u8string(name.begin(), name.end()));
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

}  // namespace tarnik::test
