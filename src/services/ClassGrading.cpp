#include "services/ClassGrading.h"

#include <algorithm>
#include <atomic>
#include <thread>

#include "expr/TextHelpers.h"
#include "services/LineFormatter.h"
#include "services/OjCases.h"
#include "services/RegularFile.h"
#include "services/SourceText.h"

namespace tarnik {
namespace {

// A program larger than this is no beginner's program.
constexpr std::size_t kProgramFileBytes = 4 << 20;

std::u16string pathText(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return fromUtf8(std::string(text.begin(), text.end()));
}

std::u16string lowered(std::u16string text)
{
    for (char16_t& c : text) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return text;
}

bool isProgramFile(const std::filesystem::path& path)
{
    const std::u16string extension = lowered(pathText(path.extension()));
    return extension == u".tnk" || extension == u".bas";
}

std::filesystem::file_type typeOf(const std::filesystem::directory_entry& entry)
{
    std::error_code error;
    return entry.status(error).type();
}

// The entries of a folder, or nothing when it cannot be listed.
std::optional<std::vector<std::filesystem::directory_entry>> entriesOf(const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error) return std::nullopt;
    std::vector<std::filesystem::directory_entry> found;
    for (; entries != std::filesystem::directory_iterator(); entries.increment(error)) found.push_back(*entries);
    if (error) return std::nullopt;
    return found;
}

// The only program directly in the folder, or else the one named after the problem.
std::optional<std::filesystem::path> programIn(const std::filesystem::path& folder, std::u16string_view problem)
{
    const auto entries = entriesOf(folder);
    if (!entries) return std::nullopt;
    std::vector<std::filesystem::path> programs;
    for (const auto& entry : *entries) {
        if (typeOf(entry) == std::filesystem::file_type::regular && isProgramFile(entry.path())) {
            programs.push_back(entry.path());
        }
    }
    if (programs.size() == 1) return programs.front();
    const std::u16string wanted = lowered(std::u16string(problem));
    for (const auto& program : programs) {
        if (lowered(pathText(program.stem())) == wanted) return program;
    }
    return std::nullopt;
}

// A comment starts at the first ' outside a literal.
std::u16string_view withoutComment(std::u16string_view line)
{
    bool inLiteral = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == u'"') inLiteral = !inLiteral;
        if (line[i] == u'\'' && !inLiteral) return line.substr(0, i);
    }
    return line;
}

// A student's program read and translated once, before its cases run.
struct PreparedProgram {
    std::u16string source;
    std::optional<RunOutcome> translationError;
};

std::optional<PreparedProgram> prepareStudent(StudentGrade& grade, std::size_t cases)
{
    if (!grade.student.program) {
        grade.missing = u"找不到程序";
        return std::nullopt;
    }
    const FileBytes file = readRegularFile(*grade.student.program, kProgramFileBytes, Links::Follow);
    if (!file.read() || file.cut) {
        grade.missing = u"无法读取程序 " + pathText(grade.student.program->filename()) + u"：" +
                        (file.cut ? std::u16string(u"文件太大") : refusalReason(file));
        return std::nullopt;
    }
    PreparedProgram prepared{decodeSource(file.bytes).text, std::nullopt};
    grade.sameness = samenessKey(prepared.source);
    prepared.translationError = compileError(prepared.source);
    grade.results.resize(cases);
    return prepared;
}

}  // namespace

std::u16string problemName(const std::filesystem::path& cases)
{
    std::u16string name = pathText(cases.lexically_normal().filename());
    if (name.empty()) name = pathText(cases.lexically_normal().parent_path().filename());
    for (std::u16string_view suffix : {u".tests", u".zip", u".xml"}) {
        if (lowered(name).ends_with(suffix)) return name.substr(0, name.size() - suffix.size());
    }
    return name;
}

std::variant<std::vector<Student>, std::u16string> findStudents(const std::filesystem::path& programs,
                                                                std::u16string_view problem)
{
    const auto entries = entriesOf(programs);
    if (!entries) return u"无法读取学生程序文件夹 " + pathText(programs) + u"，没有评测任何程序。";
    std::vector<Student> students;
    for (const auto& entry : *entries) {
        const std::filesystem::file_type type = typeOf(entry);
        if (type == std::filesystem::file_type::directory) {
            students.push_back({pathText(entry.path().filename()), programIn(entry.path(), problem)});
        } else if (type == std::filesystem::file_type::regular && isProgramFile(entry.path())) {
            students.push_back({pathText(entry.path().stem()), entry.path()});
        }
    }
    std::sort(students.begin(), students.end(),
              [](const Student& a, const Student& b) { return naturalLess(a.name, b.name); });
    return students;
}

ClassGrade gradeClass(const std::vector<Student>& students, const std::vector<JudgeCase>& cases,
                      std::int64_t maxStatements, unsigned jobs)
{
    ClassGrade grade;
    for (const JudgeCase& judged : cases) grade.caseNames.push_back(judged.name);
    std::vector<std::optional<PreparedProgram>> programs;
    // One run is one piece of work: an endless program's cases spread over
    // the threads like everyone else's.
    std::vector<std::pair<std::size_t, std::size_t>> runs;  // student, case
    for (const Student& student : students) {
        StudentGrade& studentGrade = grade.students.emplace_back(StudentGrade{student, std::nullopt, {}, {}});
        programs.push_back(prepareStudent(studentGrade, cases.size()));
        for (std::size_t c = 0; programs.back() && c < cases.size(); ++c) runs.emplace_back(programs.size() - 1, c);
    }
    // Each thread takes the next run; each result has its own place.
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < runs.size(); i = next++) {
            const auto [s, c] = runs[i];
            const PreparedProgram& program = *programs[s];
            grade.students[s].results[c] = program.translationError
                                               ? compileErrorResult(cases[c], *program.translationError)
                                               : judgeCase(program.source, cases[c], maxStatements);
        }
    };
    const std::size_t helpers = std::min<std::size_t>(std::max(jobs, 1U), std::max<std::size_t>(runs.size(), 1)) - 1;
    {
        std::vector<std::jthread> threads;  // joined before the results are handed on
        for (std::size_t i = 0; i < helpers; ++i) threads.emplace_back(work);
        work();
    }
    return grade;
}

std::u16string samenessKey(std::u16string_view editorText)
{
    const std::u16string crLf = withCrLfLineEnds(editorText);
    std::u16string key;
    for (std::u16string_view line : splitLines(crLf)) {
        const std::u16string formatted = formatFinishedLine(trimBlanks(line));
        const std::u16string_view code = trimBlanks(withoutComment(formatted));
        if (code.empty()) continue;
        key += code;
        key += u'\n';
    }
    return key;
}

}  // namespace tarnik
