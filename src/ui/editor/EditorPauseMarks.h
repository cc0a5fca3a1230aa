#pragma once
// Shows a paused run in the editor: the line about to run and the ticked
// breakpoints are marked while the debugger window is open (a tick in the
// debugger shows at once), and the marks go when the run goes on, is aborted
// or ends.
#include <vector>

#include "interp/PauseWatcher.h"

namespace tarnik {

class RunController;
class SourceEditor;

class EditorPauseMarks : public PauseWatcher {
public:
    EditorPauseMarks(SourceEditor& editor, const RunController& controller);

    void paused(std::int32_t line) override;
    void resumed() override;
    void breakpointsChanged() override;

private:
    [[nodiscard]] std::vector<int> tickedBreakpoints() const;

    SourceEditor& m_editor;
    const RunController& m_controller;
};

}  // namespace tarnik
