#pragma once
// Shows a paused run in the editor: the line about to run and the ticked
// breakpoints are marked while the debugger window is open, and the marks go
// when the run goes on, is aborted or ends. The breakpoints are those ticked
// when the pause began.
#include "interp/PauseWatcher.h"

namespace tarnik {

class RunController;
class SourceEditor;

class EditorPauseMarks : public PauseWatcher {
public:
    EditorPauseMarks(SourceEditor& editor, const RunController& controller);

    void paused(std::int32_t line) override;
    void resumed() override;

private:
    SourceEditor& m_editor;
    const RunController& m_controller;
};

}  // namespace tarnik
