#include "interp/clsCode.h"

#include "expr/clsExpPlus.h"
#include "expr/TextHelpers.h"
#include "interp/Executor.h"
#include "interp/RunHost.h"

namespace tarnik {

clsCode::clsCode() = default;
clsCode::~clsCode() = default;

void clsCode::Init(std::u16string_view sCode)
{
    strCode = LowerOutsideQuotes(sCode);
}

void clsCode::Translate()
{
    program.Variables.Clear();
    LineCount = 0;
    m_unclosed = {};
    splitPhysicalLines();
    rewriteSelectCase();
    flattenElseIf();
    linkBlocks();
    checkUnclosedBlocks();
}

void clsCode::Run(RunHost& host)
{
    program.Err.clear();
    if (!program.Err.resumeNext([&] { Translate(); })) return;
    host.translated(*this);
    Executor(*this, host).run();
}

}  // namespace tarnik
