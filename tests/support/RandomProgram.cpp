#include "support/RandomProgram.h"

#include <cctype>

namespace tarnik::test {
namespace {

const std::string kNames[] = {"a", "b", "total", "x1", "总", "和", "cnt", "score"};
const std::string kNumbers[] = {"0", "1", "2", "3", "7", "10", "12", "1.5", "0.25", "2.5", "100", "(-3)", "(-0.5)"};
const std::string kLiterals[] = {"\"结果：\"", "\"a, b\"", "\"it's\"", "\"\"", "\" \"", "\"x=\"",
                                 "\"Mixed Case If Then\"", "\"第\"", "\"; \"", "\"  两个  空格\"", "\"'\""};
const std::string kComments[] = {"' 说明 Print \"q", "'Note: It's Fine", "' 求和", "'", "'  FOR i = 1 TO 3",
                                 "' 屏幕是 15\" 的"};
const std::string kRelations[] = {"<", ">", "=", "<>", "<=", ">="};
const std::string kOperators[] = {"+", "-", "*", "/", "^", "mod"};
// Divisors and powers that keep a run away from 0, overflow and roots of negatives.
const std::string kDivisors[] = {"2", "3", "7", "1.5", "10"};
const std::string kPowers[] = {"2", "3"};

}  // namespace

int RandomProgram::below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(m_random); }

// A word of the language as a beginner may type it: lower, upper, capitalised or mixed.
std::string RandomProgram::keyword(const std::string& word)
{
    std::string typed = word;
    const int style = below(4);
    for (std::size_t i = 0; i < typed.size(); ++i) {
        const bool upper = style == 1 || (style == 2 && (i == 0 || typed[i - 1] == ' ')) || (style == 3 && chance(50));
        if (upper) typed[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(typed[i])));
    }
    return typed;
}

std::string RandomProgram::name() { return keyword(pick(kNames)); }

std::string RandomProgram::blank() { return std::string(static_cast<std::size_t>(below(3)), ' '); }

std::string RandomProgram::gap() { return chance(80) ? " " : "   "; }

std::string RandomProgram::operand(int depth)
{
    const int kind = depth > 0 ? below(6) : below(2);
    switch (kind) {
    case 0: return pick(kNumbers);
    case 1: return name();
    case 2: return std::string("(").append(blank()).append(expression(depth - 1)).append(blank()) + ")";
    case 3: return keyword("abs") + blank() + "(" + expression(depth - 1) + ")";
    case 4: return keyword("sqr") + "(" + keyword("abs") + "(" + expression(depth - 1) + "))";
    default: return name();
    }
}

std::string RandomProgram::expression(int depth)
{
    std::string text = operand(depth);
    for (int more = below(3); more > 0; --more) {
        const std::string& op = pick(kOperators);
        const bool constantRight = op == "^" || op == "/" || op == "mod";
        const std::string right = !constantRight ? operand(depth) : op == "^" ? pick(kPowers) : pick(kDivisors);
        text += op == "mod" ? gap() + keyword(op) + gap() : blank() + op + blank();
        text += right;
    }
    return text;
}

// Comparisons stand only where a condition is read (exp takes "=" for an assignment).
std::string RandomProgram::condition()
{
    std::string text = expression(1) + blank() + pick(kRelations) + blank() + expression(1);
    if (chance(25)) text = keyword("not") + gap() + text;
    if (chance(25)) text += gap() + keyword(chance(50) ? "and" : "or") + gap() + name() + blank() + ">" + blank() + "1";
    return text;
}

std::string RandomProgram::printStatement()
{
    std::string text = keyword("print");
    const int items = below(4);
    for (int i = 0; i < items; ++i) {
        text += i == 0 ? gap() : blank() + (chance(60) ? ";" : ",") + blank();
        const int kind = below(10);
        if (kind < 5) {
            text += expression(1);
        } else if (kind < 9) {
            text += pick(kLiterals);
        } else {
            text += pick(kLiterals) + blank() + pick(kLiterals);  // side by side: one text to PRINT
        }
    }
    if (items > 0 && chance(15)) text += blank() + (chance(50) ? ";" : ",");
    return text;
}

std::string RandomProgram::simpleStatement()
{
    switch (below(4)) {
    case 0: return printStatement();
    case 1:
        return keyword("input") + gap() + (chance(50) ? pick(kLiterals) + blank() + ";" + blank() : "") + name();
    default: return name() + blank() + "=" + blank() + expression(2);
    }
}

std::string RandomProgram::withComment(std::string line)
{
    if (chance(15)) line += blank() + pick(kComments);
    return line;
}

// Indented by depth, or by hand: a few blanks or a tab.
void RandomProgram::line(int depth, const std::string& statement)
{
    std::string indentation(static_cast<std::size_t>(4 * depth), ' ');
    if (chance(10)) indentation = chance(50) ? "\t" : std::string(static_cast<std::size_t>(below(4)), ' ');
    m_text += indentation + withComment(statement) + "\n";
}

void RandomProgram::countedLoop(int depth)
{
    const std::string counter = std::string("w").append(std::to_string(++m_counters));
    const std::string bound = std::to_string(1 + below(3));
    if (chance(50)) {
        line(depth, counter + blank() + "=" + blank() + "0");
        line(depth, keyword("do while") + gap() + counter + blank() + "<" + blank() + bound);
        block(depth + 1, 1 + below(3));
        line(depth + 1, counter + blank() + "=" + blank() + counter + blank() + "+" + blank() + "1");
        line(depth, keyword("loop"));
    } else {
        line(depth, keyword("for") + gap() + counter + blank() + "=" + blank() + "1" + gap() + keyword("to") + gap() +
                        bound + (chance(30) ? gap() + keyword("step") + gap() + "2" : ""));
        block(depth + 1, 1 + below(3));
        line(depth, keyword("next"));
    }
}

void RandomProgram::statement(int depth)
{
    const int kind = depth >= 2 ? below(4) : below(11);
    switch (kind) {
    case 4:
        line(depth, keyword("if") + gap() + condition() + gap() + keyword("then") + gap() + simpleStatement() +
                        (chance(50) ? gap() + keyword("else") + gap() + simpleStatement() : ""));
        return;
    case 5:
        line(depth, keyword("if") + gap() + condition() + gap() + keyword("then"));
        block(depth + 1, 1 + below(3));
        if (chance(50)) {
            line(depth, keyword("else"));
            block(depth + 1, 1 + below(2));
        }
        line(depth, keyword("end if"));
        return;
    case 6: countedLoop(depth); return;
    case 7: {
        line(depth, keyword("select case") + gap() + expression(1));
        line(depth, keyword("case") + gap() + "1" + blank() + "," + blank() + "2");
        block(depth + 1, 1);
        line(depth, keyword("case") + gap() + "3" + gap() + keyword("to") + gap() + "10");
        block(depth + 1, 1);
        line(depth, keyword("case else"));
        block(depth + 1, 1);
        line(depth, keyword("end select"));
        return;
    }
    case 8: {
        std::string label = std::to_string(m_nextLabel++);
        if (chance(20)) label.insert(0, 1, '-');
        line(depth, keyword("goto") + gap() + label);
        line(depth, simpleStatement());
        line(depth, label + gap() + simpleStatement());
        return;
    }
    case 9: {
        m_subroutineLabels.push_back(m_nextLabel++);
        line(depth, keyword("gosub") + gap() + std::to_string(m_subroutineLabels.back()));
        return;
    }
    case 10:
        m_text += chance(50) ? "\n" : std::string(static_cast<std::size_t>(below(3)), ' ') + pick(kComments) + "\n";
        return;
    default: line(depth, simpleStatement()); return;
    }
}

void RandomProgram::block(int depth, int statements)
{
    for (int i = 0; i < statements; ++i) statement(depth);
}

void RandomProgram::subroutines()
{
    if (m_subroutineLabels.empty()) return;
    line(0, keyword("end"));
    for (int label : m_subroutineLabels) {
        line(0, std::to_string(label) + gap() + printStatement());
        line(1, simpleStatement());
        line(1, keyword("return"));
    }
}

std::string RandomProgram::text()
{
    m_text.clear();
    m_subroutineLabels.clear();
    for (const std::string& variable : kNames) line(0, keyword(variable) + blank() + "=" + blank() + "1");
    block(0, 6 + below(15));
    subroutines();
    return m_text;
}

}  // namespace tarnik::test
