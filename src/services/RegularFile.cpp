#include "services/RegularFile.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <fstream>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "services/SourceText.h"

namespace tarnik {
namespace {

FileBytes refused(FileRefusal refusal, int error = 0)
{
    FileBytes file;
    file.refusal = refusal;
    file.error = error;
    return file;
}

#ifdef _WIN32

FileBytes kindOf(const std::filesystem::file_status& status)
{
    if (std::filesystem::is_symlink(status)) return refused(FileRefusal::Link);
    if (std::filesystem::is_directory(status)) return refused(FileRefusal::Folder);
    if (!std::filesystem::is_regular_file(status)) return refused(FileRefusal::Special);
    return {};
}

#else

FileBytes kindOf(const struct stat& status)
{
    if (S_ISLNK(status.st_mode)) return refused(FileRefusal::Link);
    if (S_ISDIR(status.st_mode)) return refused(FileRefusal::Folder);
    if (!S_ISREG(status.st_mode)) return refused(FileRefusal::Special);
    return {};
}

FileBytes openFailure(int error, Links links)
{
    if (error == ENOENT || error == ENOTDIR) return refused(FileRefusal::Missing);
    if (error == ELOOP && links == Links::Refuse) return refused(FileRefusal::Link);
    return refused(FileRefusal::Unreadable, error);
}

// One more byte than asked for tells whether the file goes on.
FileBytes readOpened(int descriptor, std::size_t maxBytes)
{
    FileBytes file;
    char buffer[1 << 16];
    for (;;) {
        const std::size_t room = maxBytes - file.bytes.size();
        const std::size_t wanted = room < sizeof buffer ? room + 1 : sizeof buffer;
        const ssize_t count = ::read(descriptor, buffer, wanted);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return refused(FileRefusal::Unreadable, errno);
        if (count == 0) return file;
        file.bytes.append(buffer, static_cast<std::size_t>(count));
        if (file.bytes.size() > maxBytes) {
            file.bytes.resize(maxBytes);
            file.cut = true;
            return file;
        }
    }
}

#endif

}  // namespace

#ifdef _WIN32

FileBytes checkRegularFile(const std::filesystem::path& path, Links links)
{
    std::error_code error;
    const std::filesystem::file_status status =
        links == Links::Refuse ? std::filesystem::symlink_status(path, error) : std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) return refused(FileRefusal::Missing);
    if (error) return refused(FileRefusal::Unreadable, error.default_error_condition().value());
    return kindOf(status);
}

FileBytes readRegularFile(const std::filesystem::path& path, std::size_t maxBytes, Links links)
{
    FileBytes file = checkRegularFile(path, links);
    if (!file.read()) return file;
    std::ifstream stream(path, std::ios::binary);
    if (!stream) return refused(FileRefusal::Unreadable, errno != 0 ? errno : EACCES);
    char buffer[1 << 16];
    while (file.bytes.size() <= maxBytes && stream.read(buffer, sizeof buffer).gcount() > 0) {
        file.bytes.append(buffer, static_cast<std::size_t>(stream.gcount()));
    }
    if (stream.bad()) return refused(FileRefusal::Unreadable, EIO);
    file.cut = file.bytes.size() > maxBytes;
    if (file.cut) file.bytes.resize(maxBytes);
    return file;
}

#else

FileBytes checkRegularFile(const std::filesystem::path& path, Links links)
{
    struct stat status {};
    const int checked = links == Links::Refuse ? ::lstat(path.c_str(), &status) : ::stat(path.c_str(), &status);
    if (checked != 0) return openFailure(errno, links);
    return kindOf(status);
}

// Checked before opening, so that a device is never opened; checked again on
// what was opened, in case the name was given to something else meanwhile.
FileBytes readRegularFile(const std::filesystem::path& path, std::size_t maxBytes, Links links)
{
    FileBytes file = checkRegularFile(path, links);
    if (!file.read()) return file;
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (links == Links::Refuse ? O_NOFOLLOW : 0);
    const int descriptor = ::open(path.c_str(), flags);
    if (descriptor < 0) return openFailure(errno, links);
    struct stat status {};
    file = ::fstat(descriptor, &status) != 0 ? refused(FileRefusal::Unreadable, errno) : kindOf(status);
    if (file.read()) file = readOpened(descriptor, maxBytes);
    ::close(descriptor);
    return file;
}

#endif

std::u16string refusalReason(const FileBytes& file)
{
    switch (file.refusal) {
    case FileRefusal::None: return {};
    case FileRefusal::Missing: return u"文件不存在";
    case FileRefusal::Folder: return u"这是一个文件夹，不是文件";
    case FileRefusal::Link: return u"这是一个链接，这里只读取普通文件，不跟随链接";
    case FileRefusal::Special: return u"它不是普通文件（而是设备或管道），读取它可能永远不会结束";
    case FileRefusal::Unreadable:
        if (file.error == EACCES) return u"没有读取这个文件的权限";
        return fromUtf8(std::strerror(file.error));
    }
    return {};
}

}  // namespace tarnik
