// Builds without the XML library (the Windows runner) read no FPS files.
#include "services/FpsProblems.h"

namespace tarnik {

FpsFile readFpsProblems(std::string_view)
{
    return {{}, u"这个版本不能读取 FPS 文件"};
}

}  // namespace tarnik
