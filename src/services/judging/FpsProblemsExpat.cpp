#include <expat.h>

#include <memory>

#include "services/FpsProblems.h"
#include "services/SourceText.h"

namespace tarnik {
namespace {

enum class Field { None, Title, SampleInput, SampleOutput, TestInput, TestOutput };

Field fieldNamed(std::string_view name)
{
    if (name == "title") return Field::Title;
    if (name == "sample_input") return Field::SampleInput;
    if (name == "sample_output") return Field::SampleOutput;
    if (name == "test_input") return Field::TestInput;
    if (name == "test_output") return Field::TestOutput;
    return Field::None;
}

// Inputs and outputs pair in document order; an output whose input is
// missing gets an empty one.
struct CaseList {
    std::vector<FpsCase>* cases;
    bool awaitingOutput = false;  // the last case has its input only

    void addInput(std::u16string text)
    {
        cases->push_back({std::move(text), {}});
        awaitingOutput = true;
    }
    void addOutput(std::u16string text)
    {
        if (awaitingOutput) cases->back().output = std::move(text);
        else cases->push_back({{}, std::move(text)});
        awaitingOutput = false;
    }
};

struct Reader {
    FpsFile file;
    bool inItem = false;
    Field field = Field::None;
    std::string text;
    CaseList samples{nullptr};
    CaseList tests{nullptr};

    void start(std::string_view name)
    {
        if (name == "item") {
            inItem = true;
            FpsProblem& problem = file.problems.emplace_back();
            samples = {&problem.samples};
            tests = {&problem.tests};
        } else if (inItem && field == Field::None) {
            field = fieldNamed(name);
            text.clear();
        }
    }

    void end(std::string_view name)
    {
        if (name == "item") {
            inItem = false;
            return;
        }
        if (!inItem || field == Field::None || fieldNamed(name) != field) return;
        FpsProblem& problem = file.problems.back();
        std::u16string value = fromUtf8(text);
        switch (field) {
        case Field::Title: problem.title = std::move(value); break;
        case Field::SampleInput: samples.addInput(std::move(value)); break;
        case Field::SampleOutput: samples.addOutput(std::move(value)); break;
        case Field::TestInput: tests.addInput(std::move(value)); break;
        case Field::TestOutput: tests.addOutput(std::move(value)); break;
        case Field::None: break;
        }
        field = Field::None;
    }
};

void XMLCALL onStart(void* data, const XML_Char* name, const XML_Char**)
{
    static_cast<Reader*>(data)->start(name);
}

void XMLCALL onEnd(void* data, const XML_Char* name)
{
    static_cast<Reader*>(data)->end(name);
}

void XMLCALL onText(void* data, const XML_Char* text, int length)
{
    auto* reader = static_cast<Reader*>(data);
    if (reader->field != Field::None) reader->text.append(text, static_cast<std::size_t>(length));
}

struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

}  // namespace

FpsFile readFpsProblems(std::string_view xmlBytes)
{
    std::unique_ptr<std::remove_pointer_t<XML_Parser>, ParserFree> parser(XML_ParserCreate(nullptr));
    Reader reader;
    XML_SetUserData(parser.get(), &reader);
    XML_SetElementHandler(parser.get(), onStart, onEnd);
    XML_SetCharacterDataHandler(parser.get(), onText);
    if (XML_Parse(parser.get(), xmlBytes.data(), static_cast<int>(xmlBytes.size()), XML_TRUE) == XML_STATUS_ERROR) {
        reader.file.problem = u"不是正确的 XML（第" + fromUtf8(std::to_string(XML_GetCurrentLineNumber(parser.get()))) +
                              u"行：" + fromUtf8(XML_ErrorString(XML_GetErrorCode(parser.get()))) + u"）";
        reader.file.problems.clear();
    }
    return std::move(reader.file);
}

}  // namespace tarnik
