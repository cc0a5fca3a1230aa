// The evaluator on arbitrary texts, against the plain reference evaluator of
// the tests: exp, logic and exp again on one evaluator (the second exp takes
// the compiled form from the cache) must give, after every call, the same
// value to the bit, the same error raised or recorded, and the same variables
// in the same order with the same values. Anything but a BasicError escaping
// is a fault too, and stops the fuzzer.
#include <bit>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "expr/BasicError.h"
#include "expr/NumberText.h"
#include "interp/ProgramState.h"
#include "expr/clsExpPlus.h"
#include "services/SourceText.h"
#include "support/ReferenceEvaluator.h"

namespace tarnik {
namespace {

// The state the evaluations run in, as a run's program object holds one.
ProgramState program;

// A number as its text and its bits, so that the texts differ when the bits do.
std::u16string numberAndBits(double number)
{
    char bits[32];
    std::snprintf(bits, sizeof bits, " [%016llx]", static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(number)));
    return numberText(number) + fromUtf8(bits);
}

// Everything a caller can see after one call, as text.
std::u16string observe(std::optional<double> value, const BasicError& error, bool raised)
{
    std::u16string seen = value ? u"value " + numberAndBits(*value) : u"no value";
    seen += raised ? u"; raised " : u"; error state ";
    seen += numberText(error.number) + u" " + error.description + u"; variables:";
    for (const std::u16string& name : program.Variables.VarNames()) {
        std::optional<double> stored = program.Variables.getVar(name);
        seen += u" " + name + u"=" + (stored ? numberAndBits(*stored) : u"none");
    }
    program.Err.clear();  // getVar cleared it already; the next call starts clean either way
    return seen + u"\n";
}

template <class Evaluator>
std::u16string observeCall(Evaluator& evaluator, bool logic, std::u16string_view text)
{
    std::optional<double> value;
    try {
        value = logic ? std::optional<double>(evaluator.logic(text) ? 1.0 : 0.0) : evaluator.exp(text);
    } catch (const BasicError& raised) {
        return observe(std::nullopt, raised, true);
    }
    return observe(value, program.Err.error(), false);
}

// Variables present before the calls, so that arithmetic meets more than zeros.
void seedVariables()
{
    program.reset();
    program.Variables.setVar(u"x", 3);
    program.Variables.setVar(u"y", -2.5);
    program.Variables.setVar(u"big", 1e300);
    program.Variables.setVar(u"third", 0.1 + 0.2);
    program.Variables.setVar(u"intmin", -2147483648.0);
}

template <class Evaluator>
std::u16string observeSequence(std::u16string_view text)
{
    seedVariables();
    Evaluator evaluator{program.Variables};
    std::u16string seen = observeCall(evaluator, false, text);
    seen += observeCall(evaluator, true, text);
    seen += observeCall(evaluator, false, text);
    return seen;
}

}  // namespace
}  // namespace tarnik

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace tarnik;
    const std::u16string text = fromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::u16string expected = observeSequence<test::ReferenceEvaluator>(text);
    const std::u16string seen = observeSequence<clsExpPlus>(text);
    if (seen != expected) {
        fuzz::fail("clsExpPlus agrees with the reference evaluator",
                   u"text «" + text + u"»\nreference:\n" + expected + u"clsExpPlus:\n" + seen);
    }
    return 0;
}
