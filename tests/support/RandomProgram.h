#pragma once
// Random programs of the dialect, written the ways beginners write them:
// keywords and names in any letter case, blanks or none around operators,
// any indentation, comments holding quotes, apostrophes and Chinese text,
// literals with commas, semicolons and Chinese text, Chinese variable names,
// labels, GOTO, GOSUB, every kind of block and loop. Loops count to small
// bounds, so nearly every program ends; a few stop on an error. For
// properties that must hold for every program, such as "formatting a program
// does not change what it prints".
#include <random>
#include <string>

namespace tarnik::test {

class RandomProgram {
public:
    explicit RandomProgram(unsigned seed) : m_random(seed) {}

    // One program, lines ending in LF, UTF-8. INPUT reads numbers.
    [[nodiscard]] std::string text();

private:
    [[nodiscard]] int below(int bound);
    [[nodiscard]] bool chance(int percent) { return below(100) < percent; }
    template <typename T, std::size_t N>
    [[nodiscard]] const T& pick(const T (&choices)[N])
    {
        return choices[below(static_cast<int>(N))];
    }

    [[nodiscard]] std::string keyword(const std::string& word);
    [[nodiscard]] std::string name();
    [[nodiscard]] std::string blank();
    [[nodiscard]] std::string gap();
    [[nodiscard]] std::string operand(int depth);
    [[nodiscard]] std::string expression(int depth);
    [[nodiscard]] std::string condition();
    [[nodiscard]] std::string printStatement();
    [[nodiscard]] std::string simpleStatement();
    [[nodiscard]] std::string withComment(std::string line);

    void line(int depth, const std::string& statement);
    void block(int depth, int statements);
    void statement(int depth);
    void countedLoop(int depth);
    void subroutines();

    std::mt19937 m_random;
    std::string m_text;
    int m_nextLabel = 10;
    int m_counters = 0;                  // loop counters made so far, each a name of its own
    std::vector<int> m_subroutineLabels;  // GOSUB targets, written after END
};

}  // namespace tarnik::test
