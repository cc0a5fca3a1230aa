#pragma once
// One record of the line table: a statement, where it came from, and the jump
// links the block linker fills. The statement kind is not stored; Head derives
// it from the text on demand.
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnik {

struct clsLine {
    std::u16string strText;           // statement, trimmed; keywords lower case
    std::int16_t if_else_id = 0;      // IF: its ELSE line
    std::int16_t if_endif_id = 0;     // IF: its END IF line
    std::int16_t else_if_id = 0;      // ELSE: its IF line
    std::int16_t for_next_id = 0;     // FOR: its NEXT line
    std::int16_t for_min = 0;         // FOR: start, written when the FOR runs
    std::int16_t for_max = 0;         // FOR: limit, written when the FOR runs
    std::int16_t for_step = 0;        // FOR: step, written when the FOR runs
    std::u16string for_var_name;      // FOR: loop variable, written when the FOR runs
    std::int16_t exitfor_for_id = 0;  // EXIT FOR: innermost open FOR
    std::int16_t next_for_id = 0;     // NEXT: its FOR line
    std::u16string dowhile_loop;      // DO WHILE: its LOOP line (decimal text)
    std::u16string loop_dowhile;      // LOOP: its DO WHILE line
    std::u16string do_loopuntil_id;   // DO: its LOOP UNTIL line
    std::u16string loopuntile_do_id;  // LOOP UNTIL: its DO line
    std::u16string exitdo_dowhile;    // EXIT DO: the DO WHILE line it leaves
    std::u16string exitdo_do;         // EXIT DO: the DO line it leaves
    std::int16_t vLine = 0;           // the label written in front of the line, 0 for none
    std::int16_t phLine = 0;          // 1-based editor line

    // The statement keyword the text begins with ("" for an assignment).
    [[nodiscard]] std::u16string_view Head() const { return headOf(strText); }
    // The text after the keyword, trimmed.
    [[nodiscard]] std::u16string Body() const;

    [[nodiscard]] static std::u16string_view headOf(std::u16string_view text);
};

}  // namespace tarnik
