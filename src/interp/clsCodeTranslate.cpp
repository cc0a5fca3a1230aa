// Line pass and SELECT CASE pass: not written yet.
#include "interp/clsCode.h"

namespace tarnik {
void clsCode::splitPhysicalLines() {}
void clsCode::rewriteSelectCase() {}
void clsCode::flattenElseIf() {}
void clsCode::linkBlocks() {}
void clsCode::checkUnclosedBlocks() {}
}  // namespace tarnik
