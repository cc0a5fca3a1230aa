#include <zip.h>

#include <memory>

#include "services/CaseArchive.h"
#include "services/SourceText.h"

namespace tarnik {
namespace {

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct EntryCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

std::u16string damaged(std::u16string_view what)
{
    return u"压缩文件已损坏或不是 zip 文件（" + std::u16string(what) + u"）";
}

// An entry read to its end, or the reason it could not be.
std::optional<std::u16string> readEntry(zip_t* archive, zip_uint64_t index, std::size_t maxBytes, std::string& bytes)
{
    std::unique_ptr<zip_file_t, EntryCloser> entry(zip_fopen_index(archive, index, 0));
    if (!entry) return damaged(fromUtf8(zip_strerror(archive)));
    char buffer[1 << 15];
    for (;;) {
        const zip_int64_t got = zip_fread(entry.get(), buffer, sizeof buffer);
        if (got < 0) return damaged(fromUtf8(zip_file_strerror(entry.get())));
        if (got == 0) return std::nullopt;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > maxBytes) return u"其中的文件太大";
    }
}

}  // namespace

ArchiveContents readArchive(std::string_view zipBytes, std::size_t maxFileBytes, bool (*wanted)(std::u16string_view name))
{
    ArchiveContents contents;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(zipBytes.data(), zipBytes.size(), 0, &error);
    if (source == nullptr) {
        contents.problem = damaged(fromUtf8(zip_error_strerror(&error)));
        zip_error_fini(&error);
        return contents;
    }
    std::unique_ptr<zip_t, ArchiveCloser> archive(zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!archive) {
        contents.problem = damaged(fromUtf8(zip_error_strerror(&error)));
        zip_source_free(source);
        zip_error_fini(&error);
        return contents;
    }
    zip_error_fini(&error);
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* rawName = zip_get_name(archive.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (rawName == nullptr) continue;
        const std::string_view raw(rawName);
        if (raw.find('/') != std::string_view::npos || raw.find('\\') != std::string_view::npos) continue;
        ArchiveFile file{decodeSource(raw).text, {}};
        if (!wanted(file.name)) continue;
        if (std::optional<std::u16string> failed =
                readEntry(archive.get(), static_cast<zip_uint64_t>(i), maxFileBytes, file.bytes)) {
            contents.problem = std::move(*failed);
            contents.files.clear();
            return contents;
        }
        contents.files.push_back(std::move(file));
    }
    return contents;
}

}  // namespace tarnik
