#pragma once
// The 输入数据 panel beside the editor: answers for the program's INPUT, one
// a line, so that a program can be run again and again without typing them.
// While the panel is shown, a run takes its answers from here first.
//
// The text belongs to the program: it is kept in the settings (group
// InputData) under the program file's absolute path, and follows the editor
// from file to file. An unsaved program's text goes with it when it is
// first saved. When the settings cannot be written, the panel says so.
#include <QDockWidget>
#include <QString>
#include <deque>

class QLabel;
class QPlainTextEdit;

namespace tarnik {

class TextZoom;

class InputDataPanel : public QDockWidget {
    Q_OBJECT

public:
    // The answers are in the editor's font, zoomed with it.
    InputDataPanel(QWidget* parent, TextZoom& zoom);

    // The non-empty lines, in order (INPUT asks again on an empty answer).
    [[nodiscard]] std::deque<QString> answers() const;
    // The editor now holds `programPath` (empty: a program never saved).
    void followProgram(const QString& programPath);
    // Replaces the answers (kept for the program like typed ones).
    void setAnswers(const QString& lines);

private:
    void keepText();
    [[nodiscard]] static QString settingsKey(const QString& programPath);

    QPlainTextEdit* m_text;
    QLabel* m_notKept;  // shown while the answers could not be stored
    QString m_programPath;
    bool m_loading = false;
};

}  // namespace tarnik
