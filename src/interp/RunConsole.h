#pragma once
// The console as a run sees it: a RunHost that can also be emptied, shown and
// given a caption. The IDE's console window, the command line and the tests
// each implement it.
#include <string_view>

#include "interp/RunHost.h"

namespace tarnik {

class RunConsole : public RunHost {
public:
    virtual void Clear() = 0;
    virtual void showConsole() = 0;
    virtual void setCaption(std::u16string_view caption) = 0;
};

inline constexpr std::u16string_view kRunningCaption = u"程序运行中 - 控制台";
inline constexpr std::u16string_view kEndedCaption = u"程序中止 - 控制台";

}  // namespace tarnik
