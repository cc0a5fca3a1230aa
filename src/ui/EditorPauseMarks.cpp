#include "ui/EditorPauseMarks.h"

#include <vector>

#include "interp/RunController.h"
#include "ui/SourceEditor.h"

namespace tarnik {

EditorPauseMarks::EditorPauseMarks(SourceEditor& editor, const RunController& controller)
    : m_editor(editor), m_controller(controller)
{
}

void EditorPauseMarks::paused(std::int32_t line)
{
    std::vector<int> breakpoints;
    for (int editorLine = 1; editorLine <= m_editor.blockCount(); ++editorLine) {
        if (m_controller.isBreakpoint(editorLine)) breakpoints.push_back(editorLine);
    }
    m_editor.showPausedRun(line, std::move(breakpoints));
}

void EditorPauseMarks::resumed()
{
    m_editor.clearPausedRun();
}

}  // namespace tarnik
