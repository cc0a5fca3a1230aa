#pragma once
// 监视 in the debugger: expressions the user adds, each shown with its value
// at the moment the debugger shows, evaluated on a copy of the variables so
// that looking never changes the run. A value that cannot be had shows why
// in its place; the run goes on as before. The expressions are the
// controller's, so they stay from pause to pause and from run to run.
#include <QWidget>

class QLineEdit;
class QTreeWidget;

namespace tarnik {

class RunController;

class WatchPanel : public QWidget {
    Q_OBJECT

public:
    WatchPanel(RunController& controller, QWidget* parent);

    // The values again, for the moment shown now.
    void refresh();

private:
    void addWatch();
    void removeSelected();

    RunController& m_controller;
    QTreeWidget* m_list;
    QLineEdit* m_expression;
};

}  // namespace tarnik
