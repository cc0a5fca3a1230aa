#pragma once
// What the translator knows about a block left open beyond the line its error
// names (the last statement's): where the block begins, and for a FOR, a NEXT
// that carries a name and so did not close it.
#include <cstdint>

namespace tarnik {

struct UnclosedBlock {
    std::int32_t openingLine = 0;    // editor line of the FOR, IF, DO, WHILE or SELECT CASE; 0: none
    std::int32_t namedNextLine = 0;  // editor line of the first "next NAME" after that FOR; 0: none
};

}  // namespace tarnik
