#include "ui/editor/EditorPauseMarks.h"

#include <vector>

#include "interp/RunController.h"
#include "ui/editor/SourceEditor.h"

namespace tarnik {

EditorPauseMarks::EditorPauseMarks(SourceEditor& editor, const RunController& controller)
    : m_editor(editor), m_controller(controller)
{
}

std::vector<int> EditorPauseMarks::tickedBreakpoints() const
{
    std::vector<int> breakpoints;
    for (int editorLine = 1; editorLine <= m_editor.blockCount(); ++editorLine) {
        if (m_controller.isBreakpoint(editorLine)) breakpoints.push_back(editorLine);
    }
    return breakpoints;
}

void EditorPauseMarks::paused(std::int32_t line) { m_editor.showPausedRun(line, tickedBreakpoints()); }

void EditorPauseMarks::resumed() { m_editor.clearPausedRun(); }

void EditorPauseMarks::breakpointsChanged() { m_editor.showBreakpoints(tickedBreakpoints()); }

}  // namespace tarnik
