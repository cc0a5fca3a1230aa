#pragma once
// 批量评测: a class's programs judged on one problem's cases. The teacher
// chooses the class's folder and the cases (a folder, a .zip or an FPS
// file); the runs go on in a worker thread so that the window stays usable
// and 停止 ends the judging after the student being judged. The table shows
// each case's verdict as its code, a mark and a colour; the summaries and the
// reports are the ones tarnik-cli grade gives.
#include <QWidget>
#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

#include "services/ClassGrading.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace tarnik {

class Dialogs;

class GradingWindow : public QWidget {
    Q_OBJECT

public:
    explicit GradingWindow(Dialogs& dialogs, QWidget* parent = nullptr);
    ~GradingWindow() override;

    // 开始评测 with the folder and cases in the fields; false (after saying
    // why) when they cannot be read.
    bool startGrading();
    void stopGrading();
    [[nodiscard]] bool isGrading() const { return m_grading; }
    [[nodiscard]] const ClassGrade& grade() const { return m_grade; }

signals:
    void gradingFinished();
    // A cell was double-clicked: the student, the program as it is now (CR
    // LF line ends) and the case.
    void caseChosen(const QString& student, const QString& programText, const tarnik::JudgeCase& judgeCase);

private:
    void buildLayout();
    QPushButton* addButton(const QString& text, const QString& name);
    void chooseClassFolder();
    void chooseCasesFolder();
    void chooseCasesFile();
    void judgeInBackground(std::vector<Student> students, std::vector<JudgeCase> cases);
    void addStudent(const StudentGrade& student);
    void finishGrading();
    void showSummaries();
    void chooseCase(int row, int column);
    void exportReport(const QString& title, const QString& filter, const std::string& bytes);
    [[nodiscard]] bool insideTeachersFiles(const QString& reportPath) const;
    void complain(const QString& text);

    Dialogs& m_dialogs;
    QLineEdit* m_classFolder = nullptr;
    QLineEdit* m_cases = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_exportCsv = nullptr;
    QPushButton* m_exportHtml = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QTableWidget* m_table = nullptr;
    QPlainTextEdit* m_summary = nullptr;
    ClassGrade m_grade;
    std::vector<JudgeCase> m_judgeCases;
    std::size_t m_studentCount = 0;
    std::filesystem::path m_judgedClass;
    std::filesystem::path m_judgedCases;
    bool m_grading = false;
    std::atomic<bool> m_stopRequested{false};
    std::jthread m_worker;  // last: joined before the widgets go
};

}  // namespace tarnik
